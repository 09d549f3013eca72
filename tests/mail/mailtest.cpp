#include "mailtest.h"
#include "modaldriver.h"

#include <Magick++.h>
#include <minizip/unzip.h>

namespace mailtest {

WString MakePicture(const WString& path, int width, int height, int seed)
{
    static const char* colours[] = {"red", "green", "blue", "orange", "purple", "teal"};
    Magick::Image image(Magick::Geometry(width, height), Magick::Color(colours[seed % 6]));
    image.fillColor(Magick::Color(colours[(seed + 1) % 6]));
    image.draw(Magick::DrawableRectangle(0, 0, width / 2, height / 3));
    image.write(lvtest::UnixPath(path.c_str()));
    return path;
}

std::vector<ZipEntry> ReadZip(const WCHAR* path)
{
    std::vector<ZipEntry> entries;
    unzFile zip = unzOpen64(lvtest::UnixPath(path).c_str());
    if (!zip) {
        ADD_FAILURE() << "not a zip file: " << lvtest::Utf8(path);
        return entries;
    }
    for (int more = unzGoToFirstFile(zip); more == UNZ_OK; more = unzGoToNextFile(zip)) {
        unz_file_info64 info = {};
        char name[1024] = {};
        unzGetCurrentFileInfo64(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0);
        ZipEntry entry{name, static_cast<int>(info.compression_method), static_cast<unsigned>(info.flag), {}};
        if (unzOpenCurrentFile(zip) != UNZ_OK) {
            ADD_FAILURE() << "entry cannot be opened: " << name;
            break;
        }
        char block[65536];
        for (int n; (n = unzReadCurrentFile(zip, block, sizeof block)) > 0;)
            entry.bytes.append(block, static_cast<size_t>(n));
        if (unzCloseCurrentFile(zip) != UNZ_OK)   // checksum
            ADD_FAILURE() << "bad entry: " << name;
        entries.push_back(entry);
    }
    unzClose(zip);
    return entries;
}

std::string Bytes(const WString& path)
{
    std::string bytes;
    lvtest::ReadWholeFile(path.c_str(), &bytes);
    return bytes;
}

MailClient::MailClient(unsigned long mapiResult, unsigned long cmcResult) : m_record(m_folder.File(L"record.txt"))
{
    WCHAR number[16];
    SetEnvironmentVariableW(L"LORVEX_MAIL_RECORD", m_record.c_str());
    wsprintfW(number, L"%lu", mapiResult);
    SetEnvironmentVariableW(L"LORVEX_MAIL_MAPI", number);
    wsprintfW(number, L"%lu", cmcResult);
    SetEnvironmentVariableW(L"LORVEX_MAIL_CMC", number);
}

MailClient::~MailClient()
{
    SetEnvironmentVariableW(L"LORVEX_MAIL_RECORD", nullptr);
}

std::vector<std::string> MailClient::Calls() const
{
    return lvtest::ReadLines(m_record.c_str());
}

WString MailClient::AttachmentPath(int n) const
{
    WCHAR suffix[16];
    wsprintfW(suffix, L".%d", n);
    return m_record + suffix;
}

bool MailClient::Present()
{
    HMODULE library = LoadLibraryW(L"mapi32.dll");
    const bool present = library && GetProcAddress(library, "LorvexMailStandIn");
    if (library)
        FreeLibrary(library);
    return present;
}

std::string Field(const std::string& line, const char* key)
{
    const std::string open = std::string(key) + "=[";
    const size_t start = line.find(open);
    if (start == std::string::npos)
        return std::string();
    const size_t from = start + open.size();
    return line.substr(from, line.find(']', from) - from);
}

namespace {

MessageBoxes* gBoxes = nullptr;

BOOL CALLBACK AnswerBox(HWND window, LPARAM)
{
    const WString caption = lvtest::TextOf(window);
    if (!gBoxes || !IsWindowVisible(window) ||
        (caption != L"Lorvex: Send E-mail" && caption != L"File cannot be resized ..."))
        return TRUE;
    gBoxes->seen.push_back(lvtest::Utf8(caption.c_str()) + "|" +
                           lvtest::Utf8(lvtest::TextOf(GetDlgItem(window, 0xFFFF)).c_str()));
    ShowWindow(window, SW_HIDE);   // answered once, even before the click arrives
    lvtest::PostClick(window, IDOK);
    return TRUE;
}

}  // namespace

MessageBoxes::MessageBoxes() : m_timer(SetTimer(nullptr, 0, 30, Tick)) { gBoxes = this; }

MessageBoxes::~MessageBoxes()
{
    KillTimer(nullptr, m_timer);
    gBoxes = nullptr;
}

void CALLBACK MessageBoxes::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), AnswerBox, 0);
}

CDlgMail& SharedDialog()
{
    static CDlgMail* mail = [] {
        auto* dialog = new CDlgMail(nullptr);
        dialog->DoModeless();
        return dialog;
    }();
    return *mail;
}

void Click(HWND button)
{
    SendMessageW(button, BM_CLICK, 0, 0);
}

}  // namespace mailtest
