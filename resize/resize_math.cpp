// Rounding, clamping, the memory estimate and the bound steps of the resize
// dialogs, bit for bit as the dialogs have always computed them.
#include "resize/resize_internal.h"

#include "lorvexops/companions.h"

namespace lorvex {

namespace {
// The percent factor is the float nearest to 0.01, not the double: 50 % of
// 201 pixels is 100.99999776 before truncation, so 100.
const double kPercentFactor = static_cast<double>(0.01f);
}  // namespace

UINT RoundToUnsigned(double x)
{
    x += 0.5;
    if (!(x >= 0.0) || x >= 18446744073709551616.0)
        return 0;
    return static_cast<UINT>(static_cast<unsigned long long>(x));
}

UINT PercentToPixels(UINT percent, UINT source)
{
    return RoundToUnsigned(static_cast<double>(percent) * source * kPercentFactor);
}

UINT PixelsToPercent(UINT pixels, UINT source)
{
    if (source == 0)
        return pixels;
    return RoundToUnsigned(static_cast<double>(pixels) * 100.0 / source);
}

UINT AdmittedSide(UINT value, bool percent, UINT source)
{
    if (value == 0)
        return 1;
    if (percent && PercentToPixels(value, source) > kMaxResizeSide) {
        // A side so large that even 1 % exceeds the limit keeps 1, or the
        // edit would bounce between 0 and 1 for ever.
        UINT limit = kMaxResizePercentTimesSide / source;
        return limit ? limit : 1;
    }
    return value > kMaxResizeSide ? kMaxResizeSide : value;
}

WString MemoryEstimate(UINT width, UINT height)
{
    float size = static_cast<float>(width * height * 3u);
    const WCHAR* unit = L"bytes";
    const float perKilo = 1.0f / 1024.0f;
    if (size > 1024.0f) {
        size *= perKilo;
        unit = L"Kb";
        if (size > 1024.0f) {
            size *= perKilo;
            unit = L"MB";
        }
    }
    CStrAW text;
    return text.printf(L"%.2f %s", static_cast<double>(size), unit);
}

int FitToBound(BoundStep step, UINT width, UINT height, UINT boundWidth, UINT boundHeight, bool constrain,
               BoundTarget& target)
{
    const bool shrink = step == BoundStep::Shrink;
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    const float bw = (shrink ? width > boundWidth : width < boundWidth) ? static_cast<float>(boundWidth) : w;
    const float bh = (shrink ? height > boundHeight : height < boundHeight) ? static_cast<float>(boundHeight) : h;
    if (bw == w && bh == h)
        return 0;
    if (!constrain) {
        target = {bw, bh, bw, bh};
        return 1;
    }
    const double rw = static_cast<double>(bw) / w;
    const float rh = static_cast<float>(static_cast<double>(bh) / h);
    if (rw < rh) {
        const double exactHeight = h * rw;
        target = {bw, static_cast<float>(exactHeight), bw, exactHeight};
    } else {
        // Ties recompute the width.
        const double exactWidth = static_cast<double>(w) * rh;
        target = {static_cast<float>(exactWidth), bh, exactWidth, bh};
    }
    return 1;
}

}  // namespace lorvex
