// Native transfers from the stand-in source into the host's picture record.
#include "standin_driver.h"
#include "modaldriver.h"

#include <cstring>

using namespace twaintest;

namespace {

RGBQUAD Rgb(BYTE red, BYTE green, BYTE blue) { return {blue, green, red, 0}; }

// count entries, greys from black to white or assorted colours.
std::vector<RGBQUAD> Table(int count, bool grey)
{
    std::vector<RGBQUAD> table;
    for (int i = 0; i < count; ++i) {
        const BYTE level = BYTE(i * 255 / (count - 1));
        table.push_back(grey ? Rgb(level, level, level) : Rgb(BYTE(i * 37 + 5), BYTE(255 - i * 11), BYTE(i * 101)));
    }
    return table;
}

}  // namespace

// The pending images in turn: the record ends with the last one handed over,
// and the loop leaves the source enabled, back in state 5.
TEST(TwainTransfer, LoopFollowsEachAnswerOfTheSource)
{
    const Bytes a = MakePage({24, 40, {}, false, 5, 3}), b = MakePage({24, 40, {}, false, 6, 3}),
                c = MakePage({24, 40, {}, false, 7, 3});
    Bytes core = a;   // a 12-byte header: nothing to convert
    std::memcpy(core.data(), "\x0c\0\0\0", 4);
    const Lines done3 = {"IMAGEINFO GET", "IMAGENATIVEXFER GET xferdone", "STATUS GET"};
    auto transferred = [&](const char* rest) {
        Lines lines = done3;
        lines.push_back(std::string("PENDINGXFERS ENDXFER ") + rest);
        return lines;
    };
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, Bytes>> pages;
        const char* script;
        std::vector<int> answers;
        std::vector<Lines> triplets;   // after MSG_XFERREADY, up to the teardown
        int recordWidth;               // 0: the record is left as it was
    } cases[] = {
        {"three pages", {{"done", a}, {"done", b}, {"done", c}}, "", {},
         {transferred("2"), transferred("1"), transferred("0")}, 7},
        {"cancelled page is skipped", {{"done", a}, {"cancel", b}}, "", {},
         {transferred("1"), {"IMAGEINFO GET", "IMAGENATIVEXFER GET cancel", "STATUS GET", "PENDINGXFERS ENDXFER 0"}}, 5},
        {"skip answer", {{"done", a}, {"done", b}}, "", {1}, {{"IMAGEINFO GET", "PENDINGXFERS ENDXFER 1"}, transferred("0")},
         6},
        {"cancel-all answer", {{"done", a}, {"done", b}}, "", {2}, {{"IMAGEINFO GET", "PENDINGXFERS RESET"}}, 0},
        {"unknown answer", {{"done", a}, {"done", b}}, "", {7}, {{"IMAGEINFO GET", "PENDINGXFERS RESET"}}, 0},
        {"failed transfer", {{"fail", a}, {"done", b}}, "", {},
         {{"IMAGEINFO GET", "IMAGENATIVEXFER GET fail", "STATUS GET", "PENDINGXFERS RESET"}}, 0},
        {"no image information", {{"done", a}}, "imageinfo fail\n", {},
         {{"IMAGEINFO GET fail", "STATUS GET", "PENDINGXFERS RESET"}}, 0},
        {"fault in the transfer", {{"done", a}, {"done", b}}, "fault IMAGENATIVEXFER GET\n", {},
         {{"IMAGEINFO GET", "IMAGENATIVEXFER GET fault", "PENDINGXFERS RESET"}}, 0},
        {"page that cannot be converted", {{"done", core}}, "", {}, {transferred("0")}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Host host;
        Standin standin;
        std::string script = c.script;
        for (const auto& page : c.pages)
            script += std::string("image ") + page.first + " " + standin.Page(page.second) + "\n";
        standin.Script(script);
        const int count = int(c.pages.size());
        const Lines log = standin.Run(host, [&](TestTwain& twain) {
            twain.answers = c.answers;
            ASSERT_EQ(twain.Acquire(count, &host.params), 1);
            Pump(twain);
            EXPECT_EQ(twain.SourceEnabled(), 1);
        });
        Lines expected = Joined({kOpenedDefault,
                                 {"CAPABILITY SET XFERCOUNT INT16 " + std::to_string(count), "USERINTERFACE ENABLEDS",
                                  "EVENT PROCESSEVENT XFERREADY", "STATUS GET"}});
        for (const Lines& part : c.triplets)
            expected = Joined({expected, part});
        EXPECT_EQ(log, Joined({expected, kTeardown}));

        EXPECT_EQ(host.record.width, c.recordWidth);
        EXPECT_EQ(host.params.acquired, c.recordWidth ? 1 : 0);
        EXPECT_WEQ(c.recordWidth ? L"Acquired Image.PNG" : L"", host.record.currentFileName);
        EXPECT_WEQ(c.recordWidth ? L"Acquired Image" : L"untitled", lvtest::TextOf(host.params.title).c_str());
        if (c.recordWidth) {
            EXPECT_WEQ(L"Acquired Image", host.record.nameBuffer);
            EXPECT_EQ(host.record.picture.magick(), "PNG");
            EXPECT_EQ(host.record.height, 3);
            EXPECT_EQ(host.record.changed, 1);
        }
    }
}

TEST(TwainTransfer, PagesArriveWithTheirExactColours)
{
    const PageRecipe pages[] = {
        {1, 40, {Rgb(0, 0, 0), Rgb(255, 255, 255)}},
        {1, 40, {Rgb(255, 255, 255), Rgb(0, 0, 0)}},
        {4, 40, Table(16, false)},
        {8, 40, Table(256, true)},
        {8, 40, Table(5, false)},
        {8, 108, Table(256, false)},
        {8, 124, Table(256, true), true},
        {24, 40, {}},
        {24, 108, {}, false, 1, 1},
        {24, 124, {}, true, 64, 3},
    };
    for (const PageRecipe& recipe : pages) {
        SCOPED_TRACE(std::to_string(recipe.bits) + " bits, header " + std::to_string(recipe.headerSize) + ", " +
                     std::to_string(recipe.table.size()) + " colours" + (recipe.topDown ? ", top-down" : ""));
        Host host;
        Standin standin;
        Bytes expected;
        standin.Script("image done " + standin.Page(MakePage(recipe, &expected)) + "\n");
        standin.Run(host, [&](TestTwain& twain) {
            ASSERT_EQ(twain.Acquire(1, &host.params), 1);
            Pump(twain);
        });
        ASSERT_EQ(host.record.width, recipe.width);
        ASSERT_EQ(host.record.height, recipe.height);
        Bytes rgb(expected.size());
        host.record.picture.write(0, 0, recipe.width, recipe.height, "RGB", Magick::CharPixel, rgb.data());
        EXPECT_TRUE(rgb == expected);
    }
}

TEST(TwainTransfer, ConversionPaletteFollowsTheHeader)
{
    // Entries: the header's own table (as many as are used), a colour cube
    // for 24 bits (entry 9: red 32, green 32), none otherwise.
    struct Case { const char* name; DWORD headerSize; WORD bits; DWORD clrUsed; int entries, probe; } cases[] = {
        {"24 bits: colour cube", 40, 24, 0, 256, 9}, {"8 bits, three colours used", 40, 8, 3, 3, 2},
        {"4 bits, full table", 40, 4, 0, 16, 15}, {"32 bits", 40, 32, 0, 0, 0}, {"header of 108 bytes", 108, 8, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes block(124 + 256 * 4, 0);
        auto* header = reinterpret_cast<BITMAPINFOHEADER*>(block.data());
        *header = {c.headerSize, 4, 4, 1, c.bits, BI_RGB, 0, 0, 0, c.clrUsed, 0};
        auto* table = reinterpret_cast<RGBQUAD*>(block.data() + c.headerSize);
        for (int i = 0; i < 256; ++i)
            table[i] = Rgb(BYTE(i), BYTE(255 - i), BYTE(i * 3));
        HPALETTE palette = CreateDibPalette(header);
        ASSERT_EQ(palette != nullptr, c.entries != 0);
        if (!palette)
            continue;
        PALETTEENTRY entries[256] = {};
        EXPECT_EQ(GetPaletteEntries(palette, 0, 256, entries), UINT(c.entries));
        const PALETTEENTRY& e = entries[c.probe];
        const COLORREF want = c.bits == 24 ? RGB(32, 32, 0) : RGB(c.probe, 255 - c.probe, c.probe * 3);
        EXPECT_EQ(want, RGB(e.peRed, e.peGreen, e.peBlue));
        DeleteObject(palette);
    }
    EXPECT_EQ(CreateDibPalette(nullptr), nullptr);
}

// Packed DIBs whose parts do not all lie inside the block give no bitmap.
TEST(TwainTransfer, MalformedPackedDibsGiveNoBitmap)
{
    const Bytes good = MakePage({8, 40, Table(256, true)});
    auto with = [&](size_t offset, DWORD value, size_t size = 0) {
        Bytes bytes = good;
        std::memcpy(bytes.data() + offset, &value, 4);
        bytes.resize(size ? size : bytes.size());
        return bytes;
    };
    const struct {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"bits cut short by a row", with(0, 40, good.size() - 16)},
        {"header larger than the block", with(0, 0x10000)},
        {"colour count beyond the block", with(32, 0x4000)},
        {"negative width", with(4, DWORD(-13))},
        {"JPEG compression", with(16, BI_JPEG)},
        {"header only", with(0, 40, 40)},
    };
    EXPECT_EQ(PackedDibToDdb(nullptr), nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, c.bytes.size());
        std::memcpy(GlobalLock(block), c.bytes.data(), c.bytes.size());
        GlobalUnlock(block);
        HBITMAP bitmap = PackedDibToDdb(block);
        EXPECT_EQ(bitmap, nullptr);
        if (bitmap)
            DeleteObject(bitmap);
        GlobalFree(block);
    }
}
