// The resize arithmetic, bit for bit: percent conversions with the
// single-precision factor, the limits of a typed side, the memory estimate,
// and the bound steps in both their forms.
#include <lorvexops/lorvexops.h>
#include "testsupport.h"
#include "../../resize/resize_internal.h"

#include <Magick++.h>

namespace {

using lorvex::BoundStep;

TEST(ResizeArithmetic, PercentPixelsAndTypedLimits)
{
    struct Conversion { UINT value, source, pixels, percent; };
    const Conversion conversions[] = {
        {50, 201, 100, 25},          // 0.01f: 100.99999776, not 101
        {20000, 200, 40000, 10000},
        {400, 800, 3200, 50},
        {2, 3, 0, 67},
        {5, 0, 0, 5},                // no source side: percent leaves the value
    };
    for (const Conversion& c : conversions) {
        EXPECT_EQ(c.pixels, lorvex::PercentToPixels(c.value, c.source)) << c.value << " % of " << c.source;
        EXPECT_EQ(c.percent, lorvex::PixelsToPercent(c.value, c.source)) << c.value << " px of " << c.source;
    }

    struct Typed { UINT value; bool percent; UINT source, shown; };
    const Typed typed[] = {
        {0, false, 800, 1},        {32768, false, 800, 32768}, {40000, false, 800, 32768},
        {0, true, 800, 1},         {20000, true, 200, 16384},  {16384, true, 200, 16384},
        {40000, true, 3, 32768},   {4096, true, 800, 4096},    {4097, true, 800, 4096},
        {1, true, 4000000000u, 1},  // even 1 % is too big: kept, or the edit bounces
    };
    for (const Typed& t : typed)
        EXPECT_EQ(t.shown, lorvex::AdmittedSide(t.value, t.percent, t.source))
            << t.value << (t.percent ? " % of " : " px of ") << t.source;
}

TEST(ResizeArithmetic, MemoryEstimate)
{
    struct Row { UINT width, height; const WCHAR* text; };
    const Row rows[] = {
        {1, 341, L"1023.00 bytes"},   {1, 342, L"1.00 Kb"},       {400, 300, L"351.56 Kb"},
        {640, 480, L"900.00 Kb"},     {800, 600, L"1.37 MB"},     {32768, 32768, L"3072.00 MB"},
        {32768, 65536, L"2048.00 MB"},   // the byte count is an unsigned 32-bit product
        {0, 0, L"0.00 bytes"},
    };
    for (const Row& r : rows)
        EXPECT_WEQ(r.text, lorvex::MemoryEstimate(r.width, r.height).c_str()) << r.width << " x " << r.height;
}

// A batch object set up as its dialog would leave it.
struct Batch : CDlgBatchResize {
    Batch(bool enlarge, bool shrink, bool constrain, UINT boundWidth, UINT boundHeight, int filter = 0)
        : CDlgBatchResize(nullptr)
    {
        m_bEnlarge = enlarge;
        m_bShrink = shrink;
        m_bConstrain = constrain;
        m_dwWidth = boundWidth;
        m_dwHeight = boundHeight;
        m_imageProp.filter = filter;
    }
};

TEST(ResizeArithmetic, BoundStepsInBothForms)
{
    // Each row runs the step alone and then through BatchResizing on a SIZE
    // with only that step's flag set; a 0 row leaves the SIZE as it was.
    struct Row {
        BoundStep step; bool constrain; UINT w, h, bw, bh;
        int result; float tw, th; LONG cx, cy;
    };
    const Row rows[] = {
        {BoundStep::Enlarge, true, 400, 200, 800, 600, 1, 800, 400, 800, 400},
        {BoundStep::Shrink, true, 1600, 1600, 800, 600, 1, 600, 600, 600, 600},
        {BoundStep::Shrink, true, 1000, 500, 1000, 1000, 0, 0, 0, 1000, 500},
        {BoundStep::Enlarge, true, 900, 300, 800, 600, 1, 900, 300, 900, 300},   // a zoom to the same size
        {BoundStep::Shrink, false, 1000, 500, 800, 600, 1, 800, 500, 800, 500},
        {BoundStep::Enlarge, false, 100, 700, 800, 600, 1, 800, 700, 800, 700},
        {BoundStep::Shrink, true, 1600, 1200, 800, 600, 1, 800, 600, 800, 600},   // tie: width recomputed
        {BoundStep::Enlarge, true, 3, 7, 10, 10, 1, 3 * (10.0f / 7), 10, 4, 10},
        {BoundStep::Shrink, true, 1001, 1, 1000, 1, 1, 1000, 1000.0f / 1001, 1000, 1},
        {BoundStep::Shrink, true, 640, 480, 0, 0, 1, 0, 0, 0, 0},   // a bound of 0 is taken as typed
        {BoundStep::Enlarge, true, 640, 480, 0, 0, 0, 0, 0, 640, 480},
    };
    int index = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "row " << index++);
        lorvex::BoundTarget target = {0, 0, 0, 0};
        EXPECT_EQ(r.result, lorvex::FitToBound(r.step, r.w, r.h, r.bw, r.bh, r.constrain, target));
        EXPECT_FLOAT_EQ(r.tw, target.width);
        EXPECT_FLOAT_EQ(r.th, target.height);

        const bool enlarge = r.step == BoundStep::Enlarge;
        SIZE size = {LONG(r.w), LONG(r.h)};
        Batch(enlarge, !enlarge, r.constrain, r.bw, r.bh).BatchResizing(&size);
        EXPECT_EQ(r.cx, size.cx);
        EXPECT_EQ(r.cy, size.cy);
    }

    // Enlarge runs first, so with Shrink set a picture always ends inside.
    SIZE size = {100, 20};
    Batch(true, true, true, 50, 50).BatchResizing(&size);
    EXPECT_EQ(50, size.cx);
    EXPECT_EQ(10, size.cy);
    size = {4000, 3000};
    Batch(false, false, true, 50, 50).BatchResizing(&size);
    EXPECT_EQ(4000, size.cx);
    Batch(true, true, true, 50, 50).BatchResizing(static_cast<SIZE*>(nullptr));
}

TEST(ResizeArithmetic, BatchResizingZoomsMagickImages)
{
    struct Row {
        bool enlarge, shrink, constrain; UINT bw, bh; size_t w, h; size_t columns, rows;
    };
    const Row rows[] = {
        {false, true, true, 32, 32, 64, 48, 32, 24},
        {true, false, false, 40, 40, 20, 10, 40, 40},    // sides bounded on their own, exactly
        {true, true, true, 50, 50, 100, 20, 50, 10},
        {true, true, true, 1000, 1000, 333, 100, 1000, 300},
        {false, true, false, 0, 40, 64, 48, 64, 48},     // a zoom to a zero side is refused
        {false, false, true, 8, 8, 64, 48, 64, 48},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.w << " x " << r.h << " into " << r.bw << " x " << r.bh);
        Magick::Image image(Magick::Geometry(r.w, r.h), Magick::Color("red"));
        Batch(r.enlarge, r.shrink, r.constrain, r.bw, r.bh, Magick::MitchellFilter).BatchResizing(&image);
        EXPECT_EQ(r.columns, image.columns());
        EXPECT_EQ(r.rows, image.rows());
        EXPECT_EQ(Magick::MitchellFilter, image.filterType());
        Magick::ColorRGB pixel = image.pixelColor(r.columns / 2, r.rows / 2);
        EXPECT_NEAR(1.0, pixel.red(), 0.01);
    }
    Batch(true, true, true, 10, 10).BatchResizing(static_cast<Magick::Image*>(nullptr));

    // Magick++ refuses to zoom a picture without pixels, and a zoom in place
    // would have reset it (filter 0) before throwing.
    Magick::Image empty;
    Batch(true, false, false, 10, 10, Magick::MitchellFilter).BatchResizing(&empty);
    EXPECT_EQ(0u, empty.columns());
    EXPECT_EQ(Magick::MitchellFilter, empty.filterType());
}

}  // namespace
