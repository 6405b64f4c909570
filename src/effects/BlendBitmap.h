#pragma once

class Bitmap24;

// Blends a 24-bit overlay into a 24-bit frame with its top-left corner at
// frame pixel (x, y): out = ((256 - alpha) * frame + alpha * overlay) >> 8.
// Whatever falls outside the frame, on any side, is skipped. Alpha 0 leaves
// the frame as it is; where overlay and frame agree the frame is unchanged.
void BlendBitmap(Bitmap24& frame, const Bitmap24& overlay, int x, int y, int alpha);
