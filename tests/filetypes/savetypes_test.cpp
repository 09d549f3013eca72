// The rules that map names to save types: what the save dialog proposes, the
// type a typed name asks for, the extension rewrite on a type change.
#include "testsupport.h"
#include "filetypes/filetypes_internal.h"

TEST(SaveTypes, ProposedNameFilterAndDefaultExtension)
{
    struct Case {
        const WCHAR* name; const char* format; const WCHAR* lastExt; DWORD lastIndex;
        const WCHAR* file; DWORD index; const WCHAR* ext;
    } cases[] = {
        {L"photo.JPEG", "PNG", L"JPG", 2, L"photo.JPEG", 3, L"JPEG"},   // the name's type, in any case
        {L"фото 写真 🎞.gif", "GIF", L"JPG", 2, L"фото 写真 🎞.gif", 10, L"GIF"},
        {L"my.holiday.Hdf", "HDF", L"JPG", 2, L"my.holiday.Hdf", 11, L"HDF"},
        {L"photo", "PNG", L"JPG", 2, L"photo", 4, L"PNG"},   // no extension: the picture's format
        // A type that cannot be saved goes; the last saved type stays.
        {L"photo.tiff", "TIFF", L"JPEG", 9, L"photo", 3, L"JPEG"},
        {L"photo.averylongext", "PNG", L"JPG", 2, L"photo", 2, L"JPG"},   // too long to be a type
        {L"photo.psd", "PSD", L"XYZ", 5, L"photo", 5, L"XYZ"},
        {L"photo.psd", "PSD", nullptr, 0, L"photo", 0, nullptr},
        {nullptr, "PNG", L"JPG", 2, L"", 2, L"JPG"},
    };
    for (const Case& c : cases) {
        lorvex::SaveProposal p = lorvex::ProposeSaveName(c.name, c.format, c.lastExt, c.lastIndex);
        const std::string label = lvtest::Utf8(c.name) + " " + c.format;
        EXPECT_WEQ(c.file, p.file.c_str()) << label;
        EXPECT_EQ(c.index, p.filterIndex) << label;
        EXPECT_WEQ(c.ext, p.defaultExtension) << label;
    }
}

TEST(SaveTypes, LookupsByExtensionAndByTypedName)
{
    // Index of a save type ignoring case; a typed name upper-cases what
    // follows its last dot (a-z only) and compares a name without one whole.
    const std::pair<const WCHAR*, int> extensions[] = {
        {L"jpeg", 2}, {L"Jp2", 8}, {L"HDF", 10}, {L"tiff", -1}, {L".bmp", -1}, {L"", -1}, {nullptr, -1}};
    for (const auto& e : extensions)
        EXPECT_EQ(e.second, lorvex::FindSaveTypeIgnoringCase(e.first)) << lvtest::Utf8(e.first);
    const std::pair<const WCHAR*, int> names[] = {
        {L"name.png", 3}, {L"my.holiday.Gif", 9}, {L"фото.Bmp", 0}, {L"name.psd", -1}, {L"no extension", -1},
        {L"name.", -1}, {L"TIF", 7}, {L"tif", -1}, {L"name.j\x0440g", -1}, {nullptr, -1}};
    for (const auto& n : names)
        EXPECT_EQ(n.second, lorvex::SaveTypeOfName(n.first)) << lvtest::Utf8(n.first);
}

TEST(SaveTypes, ExtensionsTrimmedAndReplaced)
{
    const std::pair<const WCHAR*, const WCHAR*> trimmed[] = {
        {L"C:\\pics\\a.jpg", L"jpg"}, {L"a.abcdefgh", L"abcdefgh"}, {L"a.abcdefghi", L""},   // 9 characters
        {L"C:\\a.b\\file", L""}, {L"a", L""}, {L"a.", L""}, {nullptr, L""}};
    for (const auto& t : trimmed)
        EXPECT_WEQ(t.second, lorvex::TrimmedExtension(t.first).c_str()) << lvtest::Utf8(t.first);
    const struct { const WCHAR* name; const WCHAR* ext; const WCHAR* result; } replaced[] = {
        {L"photo.png", L"GIF", L"photo.GIF"}, {L"photo", L"BMP", L"photo.BMP"},
        {L"my.holiday.bmp", L"TIF", L"my.holiday.TIF"}, {L"фото", L"JPG", L"фото.JPG"},
        {nullptr, L"PNG", L".PNG"}};
    for (const auto& r : replaced)
        EXPECT_WEQ(r.result, lorvex::ReplaceExtension(r.name, r.ext).c_str()) << lvtest::Utf8(r.name);
    const std::pair<const WCHAR*, bool> portfolio[] = {{L"LVX", true}, {L"lvx", true}, {L".lvx", false}, {nullptr, false}};
    for (const auto& p : portfolio)
        EXPECT_EQ(p.second, lorvex::IsPortfolio(p.first)) << lvtest::Utf8(p.first);
}

// A path typed into the name box: the dot of a folder is no extension.
TEST(SaveTypes, ExtensionRewriteLeavesTheFolderAlone)
{
    EXPECT_WEQ(L"C:\\my.pics\\photo.PNG", lorvex::ReplaceExtension(L"C:\\my.pics\\photo", L"PNG").c_str());
    EXPECT_WEQ(L"C:\\my.pics\\photo.PNG", lorvex::ReplaceExtension(L"C:\\my.pics\\photo.jpg", L"PNG").c_str());
}
