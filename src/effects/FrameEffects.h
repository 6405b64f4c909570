#pragma once

class Bitmap24;

// Picture adjustments of a source file, done in place on 24-bit frames
// through lookup tables built afresh on every call (safe on any thread).
// The three bytes of a pixel are treated alike, so their order does not matter.

// Neutral values: the routines are skipped at these.
inline constexpr int kNeutralBrightness = 255;
inline constexpr int kNeutralContrast = 0;
inline constexpr int kNeutralSaturation = 255;
inline constexpr int kNeutralExposure = 0;

// One pass: saturation, then brightness, then contrast (pivot 170).
// brightness 0..512 (256 = unchanged), contrast -100..100, saturation 0..512.
void ApplyColorAdjust(Bitmap24& frame, int brightness, int contrast, int saturation);
// The second pass: exposure -255..512 (0 = unchanged).
void ApplyExposure(Bitmap24& frame, float exposure);
// Both passes in one: the same result as ApplyColorAdjust then ApplyExposure,
// for callers that run both, at the cost of one.
void ApplyColorAdjustAndExposure(Bitmap24& frame, int brightness, int contrast, int saturation, float exposure);

// True when any of the four values departs from its neutral value.
bool EffectsAreActive(int brightness, int contrast, int saturation, int exposure);
