#include "effects/BlendBitmap.h"

#include "media/Bitmap24.h"

#include <algorithm>
#include <cstdint>

void BlendBitmap(Bitmap24& frame, const Bitmap24& overlay, int x, int y, int alpha)
{
    if (frame.Empty() || overlay.Empty()) return;
    const uint32_t a = uint32_t(std::clamp(alpha, 0, 255));
    if (a == 0) return;
    const uint32_t rest = 256 - a;

    // In 64 bits: positions near the int limits must not wrap.
    const int c0 = int(std::max<int64_t>(0, -int64_t(x)));
    const int r0 = int(std::max<int64_t>(0, -int64_t(y)));
    const int c1 = int(std::min<int64_t>(overlay.Width(), int64_t(frame.Width()) - x));
    const int r1 = int(std::min<int64_t>(overlay.Height(), int64_t(frame.Height()) - y));
    if (c0 >= c1 || r0 >= r1) return;

    const int bytes = (c1 - c0) * 3;
    for (int r = r0; r < r1; ++r) {
        uint8_t* f = frame.ScanLine(y + r) + (x + c0) * 3;
        const uint8_t* o = overlay.ScanLine(r) + c0 * 3;
        for (int b = 0; b < bytes; ++b) f[b] = uint8_t((rest * f[b] + a * o[b]) >> 8);
    }
}
