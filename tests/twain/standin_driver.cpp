#include "standin_driver.h"

#include <cstring>

namespace twaintest {

namespace {

lvtest::WString StandinFolder()
{
    WCHAR exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    lvtest::WString folder(exe);
    folder.resize(folder.rfind(L'\\'));
    return folder + L"\\twain-standin";
}

}  // namespace

Lines Joined(std::initializer_list<Lines> parts)
{
    Lines all;
    for (const Lines& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Standin::Standin(const std::string& directives)
{
    // The library asks the system folder first: Wine's own manager must be off.
    if (HMODULE system = LoadLibraryExW(L"TWAIN_32.DLL", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        FreeLibrary(system);
        ADD_FAILURE() << "Wine's TWAIN_32.DLL answers first: run with WINEDLLOVERRIDES=twain_32=n (ctest sets it)";
    }
    SetDllDirectoryW(StandinFolder().c_str());
    Script(directives);
}

Standin::~Standin()
{
    SetEnvironmentVariableW(L"TWAIN_STANDIN_SCRIPT", nullptr);
    SetDllDirectoryW(nullptr);
}

void Standin::Script(const std::string& directives)
{
    const std::string text = "log " + lvtest::Utf8(m_dir.File(L"log.txt").c_str()) + "\n" + directives;
    lvtest::WString path = m_dir.Write(L"script.txt", text.data(), text.size());
    SetEnvironmentVariableW(L"TWAIN_STANDIN_SCRIPT", path.c_str());
}

std::string Standin::Page(const Bytes& packed)
{
    WCHAR name[32];
    wsprintfW(name, L"page%d.dib", ++m_pages);
    return lvtest::Utf8(m_dir.Write(name, packed.data(), packed.size()).c_str());
}

Lines Standin::Run(Host& host, const std::function<void(TestTwain&)>& body)
{
    {
        TestTwain twain(host.params.document);
        body(twain);
    }
    return lvtest::ReadLines(m_dir.File(L"log.txt").c_str());
}

Host::Host()
{
    HWND document = CreateWindowW(L"STATIC", L"document", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                  nullptr, nullptr);
    HWND title = CreateWindowW(L"STATIC", L"untitled", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                               nullptr, nullptr);
    SetWindowLongPtrW(document, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&record));
    params.document = document;
    params.title = title;
}

Host::~Host()
{
    DestroyWindow(params.document);
    DestroyWindow(params.title);
}

void Pump(CTwain& twain)
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!twain.ProcessMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

Bytes MakePage(const PageRecipe& recipe, Bytes* rgb)
{
    const size_t stride = (size_t(recipe.width) * recipe.bits + 31) / 32 * 4;
    const size_t bitsAt = recipe.headerSize + 4 * recipe.table.size();
    Bytes page(bitsAt + stride * recipe.height, 0);
    const DWORD used = recipe.bits <= 8 && recipe.table.size() < (1u << recipe.bits) ? DWORD(recipe.table.size()) : 0;
    const BITMAPINFOHEADER header = {recipe.headerSize, recipe.width, recipe.topDown ? -recipe.height : recipe.height,
                                     1, recipe.bits, BI_RGB, 0, 0, 0, used, 0};
    std::memcpy(page.data(), &header, sizeof(header));
    if (recipe.headerSize >= sizeof(BITMAPV4HEADER))   // the larger headers: plain sRGB
        reinterpret_cast<BITMAPV4HEADER*>(page.data())->bV4CSType = LCS_sRGB;
    std::memcpy(page.data() + recipe.headerSize, recipe.table.data(), 4 * recipe.table.size());
    for (int y = 0; y < recipe.height; ++y) {
        BYTE* row = page.data() + bitsAt + stride * size_t(recipe.topDown ? y : recipe.height - 1 - y);
        for (int x = 0; x < recipe.width; ++x) {
            const DWORD value = (DWORD(x) * 2654435761u) ^ (DWORD(y) * 40503u) ^ DWORD(x * y);
            RGBQUAD color;
            if (recipe.bits == 24) {
                color = {BYTE(value), BYTE(value >> 8), BYTE(value >> 16), 0};
                row[3 * x] = color.rgbBlue;
                row[3 * x + 1] = color.rgbGreen;
                row[3 * x + 2] = color.rgbRed;
            } else {
                const DWORD index = value % recipe.table.size();
                color = recipe.table[index];
                const int perByte = 8 / recipe.bits, shift = 8 - recipe.bits * (1 + x % perByte);
                row[x / perByte] |= BYTE(index << shift);
            }
            if (rgb)
                rgb->insert(rgb->end(), {color.rgbRed, color.rgbGreen, color.rgbBlue});
        }
    }
    return page;
}

}  // namespace twaintest
