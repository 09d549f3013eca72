// MyDImage: ownership, colour replacement, crop and mirroring.
#include "dibtest.h"

#include <climits>
#include <cstring>

using namespace dibtest;

namespace {

Bytes PixelBytes(HDIB dib)
{
    const BYTE* bits = static_cast<const BYTE*>(DibBitsPtr(dib));
    return Bytes(bits, bits + DibBitsSize(dib));
}

}  // namespace

TEST(MyDImage, ConstructionAndOwnership)
{
    LeakCheck leaks("image ownership");
    {
        MyDImage empty;
        EXPECT_EQ(nullptr, empty.GetDib());
        EXPECT_EQ(0, empty.GetWidth());
        MyDImage copyOfEmpty(empty);
        EXPECT_EQ(nullptr, copyOfEmpty.GetDib());
        EXPECT_EQ(0, copyOfEmpty.GetHeight());
        POINT a = {0, 0}, b = {1, 1};
        EXPECT_EQ(nullptr, empty.Crop(&a, &b));
        empty.tFlipH().tChangeColor(0, 1);
        EXPECT_EQ(nullptr, empty.GetDib());
    }
    {
        DibHolder source(MakePatternDib(6, 4, 24, true));
        MyDImage image(source.get());
        ASSERT_TRUE(image.GetDib());
        EXPECT_NE(source.get(), image.GetDib());
        EXPECT_TRUE(SameDib(source.get(), image.GetDib()));
        MyDImage copy(image);
        EXPECT_NE(image.GetDib(), copy.GetDib());
        EXPECT_TRUE(SameDib(image.GetDib(), copy.GetDib()));
        BYTE junk[256] = {};
        MyDImage fromJunk(static_cast<HDIB>(junk));
        EXPECT_EQ(nullptr, fromJunk.GetDib());
    }
    {
        MyDImage made(10, 8, 4, 0);
        EXPECT_EQ(10, made.GetWidth());
        EXPECT_EQ(8, made.GetHeight());
        EXPECT_EQ(4, made.GetDepth());
        MyDImage refused(10, 8, 2, 0);
        EXPECT_EQ(nullptr, refused.GetDib());
        made.DeleteMyDImage();
        EXPECT_EQ(nullptr, made.GetDib());
        made.DeleteMyDImage();   // nothing released a second time
        HDIB adopted = DibCreate(3, 3, 8, 0);
        EXPECT_EQ(adopted, made.tSetDib(adopted).GetDib());
        EXPECT_EQ(3, made.GetWidth());
    }
    {
        // tSetDib leaves the previous DIB to whoever fetched it.
        MyDImage image(4, 4, 24, 0);
        HDIB previous = image.GetDib();
        image.tSetDib(DibCreate(2, 2, 24, 0));
        EXPECT_EQ(1, DibIsValid(previous));
        EXPECT_EQ(1, DibDelete(previous));
    }
}

TEST(MyDImage, ChangeColorIsExactAndOnlyAt24Bits)
{
    MyDImage image(5, 3, 24, 0);
    HDIB dib = image.GetDib();
    const DWORD red = 0x0000FF;   // COLORREF: red in the low byte
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            DibSetPixel(dib, x, y, 0xFF0000);   // raw: red in the third byte
    DibSetPixel(dib, 1, 1, 0xFE0000);           // one step off in red
    DibSetPixel(dib, 2, 1, 0xFF0001);           // one step off in blue
    DibSetPixel(dib, 3, 1, 0x000000);
    EXPECT_EQ(&image, &image.tChangeColor(red | 0xAB000000, 0x0000FF00));
    EXPECT_EQ(0x00FF00u, DibGetPixel(dib, 0, 0));
    EXPECT_EQ(0x00FF00u, DibGetPixel(dib, 4, 2));
    EXPECT_EQ(0xFE0000u, DibGetPixel(dib, 1, 1));
    EXPECT_EQ(0xFF0001u, DibGetPixel(dib, 2, 1));
    EXPECT_EQ(0x000000u, DibGetPixel(dib, 3, 1));

    MyDImage palette(4, 4, 8, 0);
    DibSetPixel(palette.GetDib(), 0, 0, 0xFF);
    Bytes before = PixelBytes(palette.GetDib());
    palette.tChangeColor(0, 0xFFFFFF);
    palette.tChangeColor(0xFF, 0);
    EXPECT_EQ(before, PixelBytes(palette.GetDib()));
}

TEST(MyDImage, ChangeColorFindsEveryPositionInWideRows)
{
    // Matches and near misses at every column of rows wider than the blocks
    // the replacement compares at once, and in the columns left over.
    const BYTE from[3] = {0x10, 0x20, 0x30};   // blue, green, red of COLORREF 0x102030
    for (int width : {15, 16, 17, 37, 64}) {
        SCOPED_TRACE(::testing::Message() << "width " << width);
        MyDImage image(width, 3, 24, 0);
        HDIB dib = image.GetDib();
        std::vector<Bytes> expected(3);
        unsigned state = unsigned(width);
        for (int y = 0; y < 3; ++y) {
            BYTE* row = DibPixelPtr(dib, 0, y);
            for (int x = 0; x < width; ++x) {
                state = state * 1103515245u + 12345u;
                BYTE* p = row + 3 * x;
                memcpy(p, from, 3);
                const int kind = (state >> 16) % 4;   // 0: match; 1..3: one byte off
                if (kind)
                    p[kind - 1] ^= BYTE(1 << (state >> 24) % 8);
            }
            expected[y].assign(row, row + 3 * width);
            for (int x = 0; x < width; ++x)
                if (!memcmp(&expected[y][3 * x], from, 3))
                    memcpy(&expected[y][3 * x], "\x0C\x0B\x0A", 3);   // blue first
        }
        image.tChangeColor(0x102030, 0x0C0B0A);
        for (int y = 0; y < 3; ++y)
            EXPECT_EQ(expected[y], Bytes(DibPixelPtr(dib, 0, y), DibPixelPtr(dib, 0, y) + 3 * width)) << "row " << y;
    }
}

TEST(MyDImage, CropCopiesTheRectangle)
{
    LeakCheck leaks("crop");
    for (bool topDown : {false, true}) {
        for (int depth : {1, 4, 8, 16, 24, 32}) {
            SCOPED_TRACE(::testing::Message() << (topDown ? "top-down " : "bottom-up ") << depth);
            DibHolder source(MakePatternDib(21, 10, depth, topDown));
            MyDImage image(source.get());
            Bytes before = PixelBytes(image.GetDib());
            const POINT corners[][2] = {{{2, 3}, {5, 7}}, {{3, 0}, {21, 10}}, {{0, 0}, {1, 1}}, {{7, 9}, {20, 10}}};
            for (const auto& corner : corners) {
                DibHolder crop(image.Crop(&corner[0], &corner[1]));
                ASSERT_TRUE(crop.get());
                const int w = corner[1].x - corner[0].x, h = corner[1].y - corner[0].y;
                EXPECT_EQ(w, DibWidth(crop.get()));
                EXPECT_EQ(h, DibHeight(crop.get()));
                EXPECT_EQ(DibNumColors(image.GetDib()), DibNumColors(crop.get()));
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x)
                        ASSERT_EQ(DibGetPixel(image.GetDib(), x + corner[0].x, y + corner[0].y),
                                  DibGetPixel(crop.get(), x, y))
                            << "pixel " << x << "," << y << " of crop from " << corner[0].x << "," << corner[0].y;
                // Padding bits of the last byte stay clear.
                const int bitsUsed = w * depth;
                if (bitsUsed % 8)
                    for (int y = 0; y < h; ++y)
                        EXPECT_EQ(0, DibPixelPtr(crop.get(), 0, y)[bitsUsed / 8] & (0xFF >> (bitsUsed % 8)));
            }
            EXPECT_EQ(before, PixelBytes(image.GetDib())) << "the image is unchanged";
        }
    }
}

TEST(MyDImage, CropEdgeCases)
{
    MyDImage image(10, 10, 8, 0);
    RGBQUAD color = {9, 8, 7, 0};
    DibSetColor(image.GetDib(), 200, &color);
    DibSetPixel(image.GetDib(), 2, 3, 200);
    POINT a = {2, 3}, b = {5, 7};
    DibHolder crop(image.Crop(&a, &b));
    ASSERT_TRUE(crop.get());
    EXPECT_EQ(3, DibWidth(crop.get()));
    EXPECT_EQ(4, DibHeight(crop.get()));
    EXPECT_EQ(200u, DibGetPixel(crop.get(), 0, 0));
    RGBQUAD back = {};
    DibGetColor(crop.get(), 200, &back);
    EXPECT_EQ(0, memcmp(&color, &back, sizeof color));

    LeakCheck leaks("crop edge cases");
    struct Case { const char* name; POINT from, to; bool own; } cases[] = {
        {"right x left of left x", {5, 2}, {4, 6}, true},
        {"bottom y above top y", {2, 5}, {4, 1}, true},
        {"both corners equal", {4, 4}, {4, 4}, false},
        {"zero height", {1, 4}, {6, 4}, false},
        {"reaches right of the picture", {5, 5}, {11, 8}, false},
        {"reaches below the picture", {5, 5}, {8, 11}, false},
        {"starts left of the picture", {-1, 0}, {3, 3}, false},
        {"starts above the picture", {0, -2}, {3, 3}, false},
        {"far outside", {INT_MAX - 5, 0}, {INT_MAX, 3}, false},
    };
    for (const Case& c : cases) {
        HDIB result = image.Crop(&c.from, &c.to);
        if (c.own)
            EXPECT_EQ(image.GetDib(), result) << c.name;
        else
            EXPECT_EQ(nullptr, result) << c.name;
    }
    EXPECT_EQ(nullptr, image.Crop(nullptr, &b));
}

TEST(MyDImage, CropOfOneBitStartsAtItsOwnBitSeven)
{
    MyDImage image(16, 2, 1, 0);
    BYTE* row = DibPixelPtr(image.GetDib(), 0, 0);
    row[0] = 0x10;   // column 3 set
    row[1] = 0x00;
    POINT a = {3, 0}, b = {11, 1};
    DibHolder crop(image.Crop(&a, &b));
    ASSERT_TRUE(crop.get());
    EXPECT_EQ(0x80, *DibPixelPtr(crop.get(), 0, 0));
}

TEST(MyDImage, FlipMirrorsRowsAndTwiceRestores)
{
    LeakCheck leaks("flip");
    {
        MyDImage image(8, 2, 1, 0);
        *DibPixelPtr(image.GetDib(), 0, 0) = 0xFF;
        *DibPixelPtr(image.GetDib(), 0, 1) = 0x00;
        image.tFlipH();
        EXPECT_EQ(0x00, *DibPixelPtr(image.GetDib(), 0, 0));
        EXPECT_EQ(0xFF, *DibPixelPtr(image.GetDib(), 0, 1));
    }
    for (bool topDown : {false, true}) {
        for (int depth : {1, 4, 8, 16, 24, 32}) {
            for (int width : {1, 3, 13}) {
                SCOPED_TRACE(::testing::Message() << (topDown ? "top-down " : "bottom-up ") << depth << " bits, width " << width);
                DibHolder source(MakePatternDib(width, 5, depth, topDown, depth <= 8 ? 2 : 0));
                MyDImage image(source.get());
                HDIB before = image.GetDib();
                EXPECT_EQ(&image, &image.tFlipH());
                EXPECT_NE(before, image.GetDib());
                EXPECT_EQ(0, DibIsValid(before)) << "the old DIB is deleted";
                EXPECT_EQ(DibInfoHeaderPtr(source.get())->biHeight, DibInfoHeaderPtr(image.GetDib())->biHeight);
                EXPECT_EQ(DibNumColors(source.get()), DibNumColors(image.GetDib()));
                for (int y = 0; y < 5; ++y)
                    for (int x = 0; x < width; ++x)
                        ASSERT_EQ(DibGetPixel(source.get(), x, 4 - y), DibGetPixel(image.GetDib(), x, y)) << x << "," << y;
                image.tFlipH();
                EXPECT_EQ(PixelBytes(source.get()), PixelBytes(image.GetDib()));
                EXPECT_TRUE(SameDib(source.get(), image.GetDib()));
            }
        }
    }
}

TEST(MyDImage, DeviceBitmapIsDuplicatedAndDropped)
{
    LeakCheck leaks("device bitmaps of images");
    DibHolder source(MakePatternDib(6, 6, 24));
    // The object only gets a device bitmap through the copy constructor, so
    // give the source one the way a host's object would hold it.
    struct Holder { void* vtable; HDIB dib; HBITMAP ddb; };
    MyDImage original(source.get());
    static_assert(sizeof(MyDImage) == sizeof(Holder), "layout: vtable, DIB, device bitmap");
    HBITMAP ddb = DibCopyToDdb(source.get(), nullptr, nullptr);
    ASSERT_TRUE(ddb);
    reinterpret_cast<Holder*>(&original)->ddb = ddb;
    const GdiCounts before = CountGdiObjects();
    {
        MyDImage copy(original);
        HBITMAP copied = reinterpret_cast<Holder*>(&copy)->ddb;
        ASSERT_TRUE(copied);
        EXPECT_NE(ddb, copied);
        BITMAP a = {}, b = {};
        GetObjectW(ddb, sizeof a, &a);
        GetObjectW(copied, sizeof b, &b);
        EXPECT_EQ(a.bmWidth, b.bmWidth);
        EXPECT_EQ(a.bmBitsPixel, b.bmBitsPixel);
        copy.tChangeColor(0, 0);
        EXPECT_EQ(nullptr, reinterpret_cast<Holder*>(&copy)->ddb);
        EXPECT_EQ(0, GetObjectType(copied));
    }
    EXPECT_EQ(before.bitmaps, CountGdiObjects().bitmaps);
    original.tFlipH();
    EXPECT_EQ(nullptr, reinterpret_cast<Holder*>(&original)->ddb);
    EXPECT_EQ(0, GetObjectType(ddb));
}
