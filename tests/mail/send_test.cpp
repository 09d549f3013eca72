// "&Send E-mail" through the stand-in mail library: what the mail client is
// handed, the desktop fallback, and nothing temporary left on any path.
#include <lorvexops/lorvexops.h>
#include "mailtest.h"
#include "modaldriver.h"

#include "../../resources/mail_ids.h"
#include "../../resources/resize_ids.h"

#include <Magick++.h>
#include <mapi.h>
#include <xcmc.h>

#include <map>
#include <shlobj.h>
#include <shlwapi.h>

using lvtest::WString;
using mailtest::MakePicture;

namespace {

struct Picture {
    const char* folder;
    const char* name;   // "" : listed, then deleted before the send
    int width, height;
};

struct SendCase {
    const char* label;
    std::vector<Picture> pictures;   // in list order
    bool zip;
    SIZE bound;                      // {0, 0}: no resizing
    unsigned long mapi, cmc;         // the stand-in's answers
    std::vector<std::string> calls;  // the stand-in's calls, first word each
    std::vector<std::string> sent;   // "name WxH" per attachment (or archive entry)
    std::vector<std::string> boxes;  // "caption|text", #i for picture i's path
    bool onDesktop;                  // the archive left on the desktop
};

std::string Dimensions(const std::string& bytes)
{
    Magick::Image image;
    image.ping(Magick::Blob(bytes.data(), bytes.size()));
    return std::to_string(image.columns()) + "x" + std::to_string(image.rows());
}

std::string FileName(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

// A message box whose text is picture i's path reads "#i"; one that names
// it among other text, "lists #i".
std::string Anonymous(const std::string& box, const std::vector<WString>& listed)
{
    const size_t bar = box.find('|');
    for (size_t i = 0; i < listed.size(); ++i) {
        const std::string path = lvtest::Utf8(listed[i].c_str());
        if (box.find(path, bar) != std::string::npos)
            return box.substr(0, bar + 1) + (box.substr(bar + 1) == path ? "#" : "lists #") + std::to_string(i);
    }
    return box;
}

// Where a send keeps its files: beside the program, and the desktop.
struct Places {
    WString archive, resizeFolder, desktopArchive;
};
Places FindPlaces()
{
    WCHAR folder[MAX_PATH], desktop[MAX_PATH];
    GetModuleFileNameW(nullptr, folder, MAX_PATH);
    *StrRChrW(folder, nullptr, L'\\') = 0;
    SHGetSpecialFolderPathW(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE);
    return {WString(folder) + L"\\lorvex_attachement.zip", WString(folder) + L"\\EmailResizeTempDir",
            WString(desktop) + L"\\lorvex_attachement.zip"};
}
const Places kPlaces = FindPlaces();

const char kNoClient[] =
    "Lorvex: Send E-mail|Lorvex cannot detect your email client.\nA zip file is saved to your desktop.";

// "Resize before emailing" with the batch dialog filled in as a user does:
// shrink larger pictures into bound.
void ChooseShrinkBound(HWND mail, SIZE bound)
{
    lvtest::ModalDriver driver;
    driver.Then([bound] {
        HWND batch = lvtest::DialogWithCaption(L"Batch Resize");
        if (!batch)
            return false;
        mailtest::Click(GetDlgItem(batch, IDX_BATCH_SHRINK));
        for (auto [id, value] : {std::pair{IDE_RESIZE_WIDTH, bound.cx}, {IDE_RESIZE_HEIGHT, bound.cy}}) {
            HWND edit = GetDlgItem(batch, id);
            SetFocus(edit);
            lvtest::SendTyping(edit, lvtest::Wide(std::to_string(value).c_str()).c_str());
        }
        mailtest::Click(GetDlgItem(batch, IDOK));
        return true;
    }).Start();
    mailtest::Click(GetDlgItem(mail, IDX_MAIL_RESIZE));
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(mail, IDX_MAIL_RESIZE));
}

// A resized copy as "name WxH"; otherwise "#i WxH" when bytes are listed
// picture i unchanged.
std::string Identify(const std::vector<WString>& listed, const std::string& bytes, const std::string& name,
                     bool resized)
{
    for (size_t i = 0; i < listed.size() && !resized; ++i)
        if (mailtest::Bytes(listed[i]) == bytes)
            return "#" + std::to_string(i) + " " + Dimensions(bytes);
    return name + " " + Dimensions(bytes);
}

// What each call of the stand-in must have been handed.
const std::map<std::string, std::string> kArguments = {
    {"MAPISendMail", "session=0 ui=0 flags=8 subject=[] note=[] recips=0"},
    {"file", "position=-1 flags=0 readable=1 name=[] type=(null) copy="},
    {"cmc_query_configuration", "session=0 item=8"},
    {"cmc_logon", "version=100 flags=0x3000000"},
    {"cmc_send", "session=7 flags=0 subject=[] note=[]"},
    {"attachment", "flags=0x80000000 readable=1 title=[] type=(null) copy="},
    {"cmc_logoff", "session=7 flags=0x2000000"},
};

}  // namespace

TEST(MailSend, EveryPathHandsOverWhatWasListedAndCleansUp)
{
    ASSERT_TRUE(mailtest::MailClient::Present()) << "run with the stand-in mapi32.dll and mapi32=n,b";

    const std::vector<std::string> mapi = {"MAPISendMail", "file"};
    const std::vector<std::string> mapiThenCmc = {"MAPISendMail", "file", "cmc_query_configuration",
                                                  "cmc_logon", "cmc_send", "attachment", "cmc_logoff"};
    const SendCase cases[] = {
        {"zip, three pictures", {{"b", "фото.jpg", 40, 30}, {"a", "c.png", 30, 20}, {"a", "b.bmp", 20, 10}},
         true, {0, 0}, 0, 0, mapi, {"#0 40x30", "#1 30x20", "#2 20x10"}, {}, false},
        {"no zip: path order", {{"b", "фото.jpg", 40, 30}, {"a", "c.png", 30, 20}, {"a", "b.bmp", 20, 10}},
         false, {0, 0}, 0, 0, {"MAPISendMail", "file", "file", "file"},
         {"#2 20x10", "#1 30x20", "#0 40x30"}, {}, false},
        {"resize, bound applies or not", {{"a", "big.png", 80, 40}, {"a", "small.png", 10, 10}}, false, {20, 20},
         0, 0, {"MAPISendMail", "file", "file"}, {"big.png 20x10", "small.png 10x10"}, {}, false},
        {"same name, two folders, resized", {{"a", "x.png", 30, 30}, {"b", "X.png", 10, 10}}, false, {20, 20}, 0, 0,
         {"MAPISendMail", "file", "file"}, {"X (2).png 10x10", "x.png 20x20"}, {}, false},
        {"same name, two folders, zipped", {{"a", "x.png", 30, 30}, {"b", "x.png", 10, 10}}, true, {0, 0}, 0, 0,
         mapi, {"#0 30x30", "#1 10x10"}, {}, false},
        {"a listed picture is gone", {{"a", "p.png", 10, 10}, {"a", "", 10, 10}}, false, {0, 0}, 0, 0,
         {"MAPISendMail", "file"}, {"#0 10x10"}, {"Lorvex: Send E-mail|lists #1"}, false},
        {"a picture cannot be resized", {{"a", "p.png", 10, 10}, {"a", "bad.jpg", 0, 0}}, true, {5, 5}, 0, 0, mapi,
         {"p.png 5x5"}, {"File cannot be resized ...|#1"}, false},
        {"compose window cancelled, then CMC", {{"a", "p.png", 10, 10}}, true, {0, 0}, MAPI_USER_ABORT, 0,
         mapiThenCmc, {"#0 10x10"}, {}, false},
        {"no client takes it", {{"a", "p.png", 10, 10}}, false, {0, 0}, MAPI_E_FAILURE, CMC_E_FAILURE, mapiThenCmc,
         {"#0 10x10"}, {kNoClient}, true},
    };
    CDlgMail& mail = mailtest::SharedDialog();
    for (const SendCase& c : cases) {
        SCOPED_TRACE(c.label);
        lvtest::TempDir dir;
        std::vector<WString> listed;
        for (const Picture& p : c.pictures) {
            WString folder = dir.File(lvtest::Wide(p.folder).c_str());
            CreateDirectoryW(folder.c_str(), nullptr);
            listed.push_back(folder + L"\\" + (*p.name ? lvtest::Wide(p.name) : WString(L"gone.png")));
            if (p.width)
                MakePicture(listed.back(), p.width, p.height, static_cast<int>(listed.size()));
            else
                lvtest::WriteWholeFile(listed.back().c_str(), "not a picture", 13);
            mail.AddAttachement(listed.back().c_str());
            if (!*p.name)
                DeleteFileW(listed.back().c_str());
        }
        if ((IsDlgButtonChecked(mail.m_hWnd, IDX_MAIL_ZIP) == BST_CHECKED) != c.zip)
            mailtest::Click(GetDlgItem(mail.m_hWnd, IDX_MAIL_ZIP));
        if (c.bound.cx)
            ChooseShrinkBound(mail.m_hWnd, c.bound);
        lvtest::WriteWholeFile(kPlaces.desktopArchive.c_str(), "older", 5);

        mailtest::MailClient client(c.mapi, c.cmc);
        mailtest::MessageBoxes boxes;
        mailtest::Click(GetDlgItem(mail.m_hWnd, IDOK));

        std::vector<std::string> calls, sent, captions;
        int n = 0;
        for (const std::string& line : client.Calls()) {
            calls.push_back(line.substr(0, line.find(' ')));
            EXPECT_NE(std::string::npos, line.find(kArguments.at(calls.back()))) << line;
            if (calls.back() != "file")
                continue;
            const WString copy = client.AttachmentPath(n++);
            if (c.zip) {
                for (const mailtest::ZipEntry& entry : mailtest::ReadZip(copy.c_str()))
                    sent.push_back(Identify(listed, entry.bytes, entry.name, c.bound.cx));
            } else {
                const std::string path = mailtest::Field(line, "path");
                sent.push_back(Identify(listed, mailtest::Bytes(copy), FileName(path), c.bound.cx));
                EXPECT_EQ(c.bound.cx > 0, path.find("\\EmailResizeTempDir\\") != std::string::npos) << path;
            }
        }
        EXPECT_EQ(c.calls, calls);
        EXPECT_EQ(c.sent, sent);
        for (const std::string& box : boxes.seen)
            captions.push_back(Anonymous(box, listed));
        EXPECT_EQ(c.boxes, captions);
        EXPECT_TRUE(mail.IsFileListEmpty());
        EXPECT_EQ(L"0", lvtest::TextOf(GetDlgItem(mail.m_hWnd, IDE_MAIL_TOTAL_SIZE)));
        EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(mail.m_hWnd, IDX_MAIL_RESIZE));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(mail.m_hWnd, IDB_MAIL_RESIZE_OPTIONS)));
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(mail.m_hWnd, IDG_MAIL_RESIZING)));
        EXPECT_FALSE(lvtest::FileExists(kPlaces.archive.c_str()));
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(kPlaces.resizeFolder.c_str()));
        if (c.onDesktop)
            EXPECT_EQ(sent.size(), mailtest::ReadZip(kPlaces.desktopArchive.c_str()).size());
        else
            EXPECT_EQ("older", mailtest::Bytes(kPlaces.desktopArchive));
        DeleteFileW(kPlaces.desktopArchive.c_str());
    }
}

// Run by its own test process with mapi32=d: a system without a mail library.
TEST(MailWithoutLibrary, TheArchiveReplacesAnOlderOneOnTheDesktop)
{
    if (HMODULE library = LoadLibraryW(L"mapi32.dll")) {
        FreeLibrary(library);
        GTEST_SKIP() << "a mail library is present: run with WINEDLLOVERRIDES=mapi32=d";
    }
    CDlgMail& mail = mailtest::SharedDialog();
    lvtest::TempDir dir;
    const WString pictures[] = {MakePicture(dir.File(L"a.png"), 12, 12), MakePicture(dir.File(L"b.jpg"), 9, 9)};
    for (const WString& picture : pictures)
        mail.AddAttachement(picture.c_str());
    lvtest::WriteWholeFile(kPlaces.desktopArchive.c_str(), "older", 5);
    mailtest::MessageBoxes boxes;
    mailtest::Click(GetDlgItem(mail.m_hWnd, IDOK));
    EXPECT_EQ(std::vector<std::string>{kNoClient}, boxes.seen);
    const auto entries = mailtest::ReadZip(kPlaces.desktopArchive.c_str());
    ASSERT_EQ(2u, entries.size());
    for (size_t i = 0; i < 2; ++i)
        EXPECT_TRUE(entries[i].bytes == mailtest::Bytes(pictures[i])) << i;
    EXPECT_TRUE(mail.IsFileListEmpty());
    EXPECT_FALSE(lvtest::FileExists(kPlaces.archive.c_str()));
    DeleteFileW(kPlaces.desktopArchive.c_str());
}
