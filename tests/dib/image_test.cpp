// MyDImage: ownership, colour replacement, crop and mirroring.
#include "dibtest.h"

#include <climits>
#include <cstring>

using namespace dibtest;

TEST(MyDImage, ConstructionAndOwnership)
{
    LeakCheck leaks("image ownership");
    MyDImage empty, copyOfEmpty(empty);
    EXPECT_EQ(0, copyOfEmpty.GetWidth() | copyOfEmpty.GetHeight());
    const POINT corners[] = {{0, 0}, {1, 1}};
    EXPECT_EQ(nullptr, empty.Crop(&corners[0], &corners[1]));
    EXPECT_EQ(nullptr, empty.tFlipH().tChangeColor(0, 1).GetDib());

    DibHolder source(MakePatternDib(6, 4, 24, true));
    MyDImage image(source.get());
    MyDImage copy(image);
    EXPECT_NE(source.get(), image.GetDib());
    EXPECT_NE(image.GetDib(), copy.GetDib());
    EXPECT_TRUE(SameDib(source.get(), copy.GetDib()));
    BYTE junk[256] = {};
    EXPECT_EQ(nullptr, MyDImage(static_cast<HDIB>(junk)).GetDib());

    MyDImage made(10, 8, 4, 0);
    EXPECT_EQ(4, made.GetDepth());
    EXPECT_EQ(nullptr, MyDImage(10, 8, 2, 0).GetDib());
    made.DeleteMyDImage();
    EXPECT_EQ(nullptr, made.GetDib());
    made.DeleteMyDImage();   // nothing released a second time
    HDIB adopted = DibCreate(3, 3, 8, 0);
    EXPECT_EQ(adopted, made.tSetDib(adopted).GetDib());
    // tSetDib leaves the previous DIB to whoever fetched it.
    made.tSetDib(DibCreate(2, 2, 24, 0));
    EXPECT_EQ(1, DibDelete(adopted));
}

TEST(MyDImage, ChangeColorIsExactAtEveryColumnAndOnlyAt24Bits)
{
    // Matches and one-bit misses at every column of rows narrower and wider
    // than the blocks the replacement compares at once, and in the columns
    // left over. The top byte of a COLORREF is not part of the colour.
    const BYTE from[3] = {0x10, 0x20, 0x30};   // blue, green, red of COLORREF 0x102030
    for (int width : {1, 15, 16, 17, 37}) {
        SCOPED_TRACE(::testing::Message() << "width " << width);
        MyDImage image(width, 3, 24, 0);
        HDIB dib = image.GetDib();
        Bytes expected;
        unsigned state = unsigned(width);
        for (int y = 0; y < 3; ++y) {
            BYTE* p = DibPixelPtr(dib, 0, y);
            for (int x = 0; x < width; ++x, p += 3) {
                state = state * 1103515245u + 12345u;
                memcpy(p, from, 3);
                const int kind = (state >> 16) % 4;   // 0: match; 1..3: one byte off
                if (kind)
                    p[kind - 1] ^= BYTE(1 << (state >> 24) % 8);
                expected.insert(expected.end(), p, p + 3);
                if (!kind)
                    memcpy(&expected[expected.size() - 3], "\x0C\x0B\x0A", 3);
            }
        }
        EXPECT_EQ(&image, &image.tChangeColor(0xAB102030, 0x0C0B0A));
        Bytes after;
        for (int y = 0; y < 3; ++y)
            after.insert(after.end(), DibPixelPtr(dib, 0, y), DibPixelPtr(dib, 0, y) + 3 * width);
        EXPECT_EQ(expected, after);
    }
    MyDImage palette(4, 4, 8, 0);
    DibSetPixel(palette.GetDib(), 0, 0, 0xFF);
    Bytes before = PixelBytes(palette.GetDib());
    palette.tChangeColor(0, 0xFFFFFF).tChangeColor(0xFF, 0);
    EXPECT_EQ(before, PixelBytes(palette.GetDib()));
}

// Crops copy exactly the rectangle and leave the image alone; a flip mirrors
// the rows, deletes the old DIB, and twice gives the picture back.
TEST(MyDImage, CropAndFlipAtEveryFormat)
{
    LeakCheck leaks("crop and flip");
    const POINT corners[][2] = {{{2, 3}, {5, 7}}, {{3, 0}, {21, 10}}, {{0, 0}, {1, 1}}, {{7, 9}, {20, 10}}};
    for (HDIB source : EveryFormat(21, 10)) {
        DibHolder sourceHolder(source);
        const int depth = DibBitCount(source), height = DibInfoHeaderPtr(source)->biHeight;
        SCOPED_TRACE(::testing::Message() << depth << " bits, biHeight " << height);
        MyDImage image(source);
        const HDIB dib = image.GetDib();
        const Bytes before = PixelBytes(dib);
        for (const auto& corner : corners) {
            DibHolder crop(image.Crop(&corner[0], &corner[1]));
            ASSERT_TRUE(crop.get());
            const int w = corner[1].x - corner[0].x, h = corner[1].y - corner[0].y;
            EXPECT_EQ(w, DibWidth(crop.get()));
            EXPECT_EQ(h, DibHeight(crop.get()));
            EXPECT_TRUE(SamePalette(dib, crop.get()));
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x)
                    ASSERT_EQ(DibGetPixel(dib, x + corner[0].x, y + corner[0].y), DibGetPixel(crop.get(), x, y))
                        << "pixel " << x << "," << y << " of crop from " << corner[0].x << "," << corner[0].y;
                if (w * depth % 8)   // padding bits of the last byte stay clear
                    EXPECT_EQ(0, DibPixelPtr(crop.get(), 0, y)[w * depth / 8] & (0xFF >> (w * depth % 8)));
            }
        }
        EXPECT_EQ(before, PixelBytes(dib)) << "the image is unchanged";
        // Flips of the picture and of a one-pixel column mirror the rows;
        // twice give the picture back.
        DibHolder column(MakePatternDib(1, 5, depth, height < 0, depth <= 8 ? 2 : 0));
        for (HDIB original : {source, column.get()}) {
            const int width = DibWidth(original), rows = DibHeight(original);
            MyDImage flipped(original);
            HDIB old = flipped.GetDib();
            EXPECT_EQ(&flipped, &flipped.tFlipH());
            EXPECT_EQ(0, DibIsValid(old)) << "the old DIB is deleted";
            EXPECT_EQ(DibInfoHeaderPtr(original)->biHeight, DibInfoHeaderPtr(flipped.GetDib())->biHeight);
            for (int y = 0; y < rows; ++y)
                for (int x = 0; x < width; ++x)
                    ASSERT_EQ(DibGetPixel(original, x, rows - 1 - y), DibGetPixel(flipped.GetDib(), x, y))
                        << "width " << width << ", flipped pixel " << x << "," << y;
            EXPECT_TRUE(SameDib(original, flipped.tFlipH().GetDib())) << "width " << width;
        }
    }
}

TEST(MyDImage, CropEdgeCases)
{
    MyDImage image(10, 10, 8, 0);
    LeakCheck leaks("crop edge cases");
    // Reversed corners give the image's own DIB; empty or outside ones nothing.
    struct Case { POINT from, to; bool own; } cases[] = {
        {{5, 2}, {4, 6}, true}, {{2, 5}, {4, 1}, true}, {{4, 4}, {4, 4}, false}, {{1, 4}, {6, 4}, false},
        {{5, 5}, {11, 8}, false}, {{5, 5}, {8, 11}, false}, {{-1, 0}, {3, 3}, false}, {{0, -2}, {3, 3}, false},
        {{INT_MAX - 5, 0}, {INT_MAX, 3}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.own ? image.GetDib() : nullptr, image.Crop(&c.from, &c.to))
            << c.from.x << "," << c.from.y << " to " << c.to.x << "," << c.to.y;
    EXPECT_EQ(nullptr, image.Crop(nullptr, &cases[0].to));
}

TEST(MyDImage, DeviceBitmapIsDuplicatedAndDropped)
{
    LeakCheck leaks("device bitmaps of images");
    DibHolder source(MakePatternDib(6, 6, 24));
    // The object only gets a device bitmap through the copy constructor, so
    // give the source one the way a host's object would hold it.
    struct Holder { void* vtable; HDIB dib; HBITMAP ddb; };
    static_assert(sizeof(MyDImage) == sizeof(Holder), "layout: vtable, DIB, device bitmap");
    MyDImage original(source.get());
    HBITMAP ddb = DibCopyToDdb(source.get(), nullptr, nullptr);
    reinterpret_cast<Holder*>(&original)->ddb = ddb;
    {
        MyDImage copy(original);
        HBITMAP copied = reinterpret_cast<Holder*>(&copy)->ddb;
        ASSERT_TRUE(copied);
        EXPECT_NE(ddb, copied);
        BITMAP a = {}, b = {};
        GetObjectW(ddb, sizeof a, &a);
        GetObjectW(copied, sizeof b, &b);
        EXPECT_TRUE(a.bmWidth == b.bmWidth && a.bmBitsPixel == b.bmBitsPixel);
        copy.tChangeColor(0, 0);
        EXPECT_EQ(nullptr, reinterpret_cast<Holder*>(&copy)->ddb);
        EXPECT_EQ(0, GetObjectType(copied));
    }
    original.tFlipH();
    EXPECT_EQ(nullptr, reinterpret_cast<Holder*>(&original)->ddb);
    EXPECT_EQ(0, GetObjectType(ddb));
}
