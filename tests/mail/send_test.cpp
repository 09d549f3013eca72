// Sending through the stand-in mail library: what the mail client is handed,
// the desktop fallback, and nothing temporary left behind on any path.
#include "../../mail/sendjob.h"
#include "mailtest.h"

#include <Magick++.h>
#include <mapi.h>
#include <xcmc.h>

#include <map>

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
    std::vector<std::string> boxes;  // message boxes, caption only
    lorvex::MailOutcome outcome;
};

std::string Dimensions(const std::string& bytes)
{
    Magick::Image image;
    image.ping(Magick::Blob(bytes.data(), bytes.size()));
    return std::to_string(image.columns()) + "x" + std::to_string(image.rows());
}

std::string FileName(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

// "#i WxH" when bytes are listed picture i unchanged, else "name WxH".
std::string Identify(const std::vector<WString>& listed, const std::string& bytes, const std::string& name)
{
    for (size_t i = 0; i < listed.size(); ++i)
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
         true, {0, 0}, 0, 0, mapi, {"#0 40x30", "#1 30x20", "#2 20x10"}, {}, lorvex::MailOutcome::Mailed},
        {"no zip: path order", {{"b", "фото.jpg", 40, 30}, {"a", "c.png", 30, 20}, {"a", "b.bmp", 20, 10}},
         false, {0, 0}, 0, 0, {"MAPISendMail", "file", "file", "file"},
         {"#2 20x10", "#1 30x20", "#0 40x30"}, {}, lorvex::MailOutcome::Mailed},
        {"resize, bound applies or not", {{"a", "big.png", 80, 40}, {"a", "small.png", 10, 10}}, false, {20, 20},
         0, 0, {"MAPISendMail", "file", "file"}, {"big.png 20x10", "small.png 10x10"}, {},
         lorvex::MailOutcome::Mailed},
        {"same name, two folders, resized", {{"a", "x.png", 30, 30}, {"b", "X.png", 10, 10}}, false, {20, 20}, 0, 0,
         {"MAPISendMail", "file", "file"}, {"X (2).png 10x10", "x.png 20x20"}, {}, lorvex::MailOutcome::Mailed},
        {"same name, two folders, zipped", {{"a", "x.png", 30, 30}, {"b", "x.png", 10, 10}}, true, {0, 0}, 0, 0,
         mapi, {"#0 30x30", "#1 10x10"}, {}, lorvex::MailOutcome::Mailed},
        {"a listed picture is gone", {{"a", "p.png", 10, 10}, {"a", "", 10, 10}}, false, {0, 0}, 0, 0,
         {"MAPISendMail", "file"}, {"#0 10x10"}, {"Lorvex: Send E-mail"}, lorvex::MailOutcome::Mailed},
        {"a picture cannot be resized", {{"a", "p.png", 10, 10}, {"a", "bad.jpg", 0, 0}}, true, {5, 5}, 0, 0, mapi,
         {"p.png 5x5"}, {"File cannot be resized ..."}, lorvex::MailOutcome::Mailed},
        {"compose window cancelled, then CMC", {{"a", "p.png", 10, 10}}, true, {0, 0}, MAPI_USER_ABORT, 0,
         mapiThenCmc, {"#0 10x10"}, {}, lorvex::MailOutcome::Mailed},
        {"no client takes it", {{"a", "p.png", 10, 10}}, false, {0, 0}, MAPI_E_FAILURE, CMC_E_FAILURE, mapiThenCmc,
         {"#0 10x10"}, {"Lorvex: Send E-mail"}, lorvex::MailOutcome::OnDesktop},
    };
    const lorvex::MailPlaces places = lorvex::ChooseMailPlaces();
    for (const SendCase& c : cases) {
        SCOPED_TRACE(c.label);
        lvtest::TempDir dir;
        lorvex::MailJob job;
        for (const Picture& p : c.pictures) {
            WString folder = dir.File(lvtest::Wide(p.folder).c_str());
            CreateDirectoryW(folder.c_str(), nullptr);
            WString path = folder + L"\\" + (*p.name ? lvtest::Wide(p.name) : WString(L"gone.png"));
            if (!p.width)
                lvtest::WriteWholeFile(path.c_str(), "not a picture", 13);
            else if (*p.name)
                MakePicture(path, p.width, p.height, static_cast<int>(job.pictures.size()));
            job.pictures.push_back(path);
        }
        job.zip = c.zip;
        job.resize = c.bound.cx > 0;
        job.filter = 13;
        const SIZE bound = c.bound;
        job.fitToBounds = [bound](SIZE* size) {
            const double scale = std::min(1.0, std::min(double(bound.cx) / size->cx, double(bound.cy) / size->cy));
            size->cx = LONG(size->cx * scale + 0.5);
            size->cy = LONG(size->cy * scale + 0.5);
        };
        lvtest::WriteWholeFile(places.desktopArchive.c_str(), "older", 5);

        mailtest::MailClient client(c.mapi, c.cmc);
        mailtest::MessageBoxes boxes;
        EXPECT_EQ(c.outcome, lorvex::SendPictures(job, places));

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
                    sent.push_back(Identify(job.pictures, entry.bytes, entry.name));
            } else {
                sent.push_back(Identify(job.pictures, mailtest::Bytes(copy), FileName(mailtest::Field(line, "path"))));
            }
        }
        EXPECT_EQ(c.calls, calls);
        EXPECT_EQ(c.sent, sent);
        for (const std::string& box : boxes.seen)
            captions.push_back(box.substr(0, box.find('|')));
        EXPECT_EQ(c.boxes, captions);
        EXPECT_FALSE(lvtest::FileExists(places.archive.c_str()));
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(places.resizeFolder.c_str()));
        const std::string desktop = mailtest::Bytes(places.desktopArchive);
        EXPECT_EQ(c.outcome == lorvex::MailOutcome::OnDesktop, desktop != "older");
        DeleteFileW(places.desktopArchive.c_str());
    }
}
