#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A 24-bit picture, three bytes per pixel in blue, green, red order, rows
// `Stride()` bytes apart (top row first). It either owns its pixels or views
// memory owned by the engine (a frame handed to a hook).
class Bitmap24 {
public:
    Bitmap24() = default;
    Bitmap24(int width, int height);
    // A view of foreign pixels; the memory must outlive the bitmap.
    Bitmap24(uint8_t* bits, int width, int height, int stride);

    Bitmap24(const Bitmap24& other);            // always a deep copy
    Bitmap24& operator=(const Bitmap24& other); // always a deep copy
    Bitmap24(Bitmap24&&) noexcept = default;
    Bitmap24& operator=(Bitmap24&&) noexcept = default;

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Stride() const { return stride_; }
    bool Empty() const { return width_ <= 0 || height_ <= 0; }
    uint8_t* Bits() { return bits_; }
    const uint8_t* Bits() const { return bits_; }
    uint8_t* ScanLine(int y) { return bits_ + static_cast<ptrdiff_t>(y) * stride_; }
    const uint8_t* ScanLine(int y) const { return bits_ + static_cast<ptrdiff_t>(y) * stride_; }

    // 0x00BBGGRR, the colour convention of the rest of the program.
    uint32_t Pixel(int x, int y) const;
    void SetPixel(int x, int y, uint32_t color);
    void FillRect(int x, int y, int w, int h, uint32_t color);

private:
    std::vector<uint8_t> owned_;
    uint8_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int stride_ = 0;
};
