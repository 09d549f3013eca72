// The arithmetic of the resize dialogs, as plain functions so that every
// rounding rule can be checked on its own.
#pragma once
#include <windows.h>
#include "lorvexops/widestring.h"

namespace lorvex {

enum : UINT {
    kMaxResizeSide = 32768,
    kMaxResizePercentTimesSide = 3276800,   // 32768 pixels x 100 %
};

// trunc(x + 0.5) taken as unsigned 32-bit: the low 32 bits of the truncated
// value, 0 for NaN and negatives (never undefined behaviour).
UINT RoundToUnsigned(double x);
// percent % of source: trunc(percent x source x 0.01f + 0.5), where 0.01f is
// the single-precision factor widened to double.
UINT PercentToPixels(UINT percent, UINT source);
// pixels in percent of source: trunc(pixels x 100.0 / source + 0.5); pixels
// unchanged when source is 0.
UINT PixelsToPercent(UINT pixels, UINT source);
// What an edit holding value must show instead (value itself when accepted):
// 0 becomes 1, a percent giving more than 32768 pixels becomes the largest
// whole percent that does not (at least 1), anything above 32768 becomes
// 32768.
UINT AdmittedSide(UINT value, bool percent, UINT source);
// "%.2f %s" of width x height x 3 bytes (an unsigned 32-bit product, as a
// float) in bytes, Kb or MB.
WString MemoryEstimate(UINT width, UINT height);

// One bound step on a picture of width x height: Enlarge pushes sides below
// the bound up to it, Shrink pulls sides above it down. With constrain the
// smaller factor wins, so proportions are kept. Returns 0 when nothing
// changes (target untouched), else 1 and the target: single-precision sides
// for a zoom, and the double-precision ones a SIZE is rounded from.
enum class BoundStep { Enlarge, Shrink };
struct BoundTarget {
    float width, height;
    double exactWidth, exactHeight;
};
int FitToBound(BoundStep step, UINT width, UINT height, UINT boundWidth, UINT boundHeight, bool constrain,
               BoundTarget& target);

}  // namespace lorvex
