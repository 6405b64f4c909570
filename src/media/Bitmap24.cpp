#include "media/Bitmap24.h"

#include <algorithm>
#include <cstring>

Bitmap24::Bitmap24(int width, int height)
{
    if (width <= 0 || height <= 0) return;
    width_ = width;
    height_ = height;
    stride_ = (width * 3 + 3) & ~3;
    owned_.assign(static_cast<size_t>(stride_) * height, 0);
    bits_ = owned_.data();
}

Bitmap24::Bitmap24(uint8_t* bits, int width, int height, int stride)
    : bits_(bits), width_(width), height_(height), stride_(stride)
{
}

Bitmap24::Bitmap24(const Bitmap24& other) : Bitmap24(other.width_, other.height_)
{
    for (int y = 0; y < height_; ++y) std::memcpy(ScanLine(y), other.ScanLine(y), static_cast<size_t>(width_) * 3);
}

Bitmap24& Bitmap24::operator=(const Bitmap24& other)
{
    if (this != &other) *this = Bitmap24(other);
    return *this;
}

uint32_t Bitmap24::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    const uint8_t* p = ScanLine(y) + x * 3;
    return uint32_t(p[2]) | uint32_t(p[1]) << 8 | uint32_t(p[0]) << 16;
}

void Bitmap24::SetPixel(int x, int y, uint32_t color)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    uint8_t* p = ScanLine(y) + x * 3;
    p[0] = uint8_t(color >> 16);
    p[1] = uint8_t(color >> 8);
    p[2] = uint8_t(color);
}

void Bitmap24::FillRect(int x, int y, int w, int h, uint32_t color)
{
    const int x0 = std::max(0, x), y0 = std::max(0, y);
    const int x1 = std::min(width_, x + w), y1 = std::min(height_, y + h);
    for (int row = y0; row < y1; ++row)
        for (int col = x0; col < x1; ++col) SetPixel(col, row, color);
}
