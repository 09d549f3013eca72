// Shared by the mail suite: pictures to send, archives read back, and the
// stand-in mail library's record.
#pragma once
#include <windows.h>
#include "testsupport.h"
#include <lorvexops/lorvexops.h>

#include <string>
#include <vector>

namespace mailtest {

using lvtest::WString;

// A width x height picture in the format its extension names, in colours
// that depend on seed (so two pictures of one size differ).
WString MakePicture(const WString& path, int width, int height, int seed = 0);

struct ZipEntry {
    std::string name;    // as stored (UTF-8)
    int method;          // 0 stored, 8 deflated
    unsigned flags;      // general-purpose bits
    std::string bytes;   // unpacked, checksum verified
};
// The entries of an archive in order; an empty list plus a failure when it
// is not a sound zip file.
std::vector<ZipEntry> ReadZip(const WCHAR* path);

std::string Bytes(const WString& path);   // whole file, empty when missing

// The stand-in mail library (tests/mail/standin): what it answers and what
// it was handed. Each object gives the stand-in a fresh record.
class MailClient {
public:
    explicit MailClient(unsigned long mapiResult = 0, unsigned long cmcResult = 0);
    ~MailClient();
    // Every call the stand-in took, one line each, in order.
    std::vector<std::string> Calls() const;
    // The n-th attachment as the stand-in read it during the call.
    WString AttachmentPath(int n) const;
    // True when the stand-in is the mail library this process loads.
    static bool Present();

private:
    lvtest::TempDir m_folder;
    WString m_record;
};

// Text between "key=[" and "]" in a record line ("" when absent).
std::string Field(const std::string& line, const char* key);

// One modeless "E-mail pictures" dialog for the whole suite (showing a
// window costs seconds under Xvfb); every test leaves its list empty.
CDlgMail& SharedDialog();
// A click as the mouse gives it (an auto check box changes its state).
void Click(HWND button);

}  // namespace mailtest

namespace mailtest {

// Answers every message box of the send ("Lorvex: Send E-mail", "File cannot
// be resized ...") that this thread shows while the object lives, and keeps
// "caption|text" of each (UTF-8).
class MessageBoxes {
public:
    MessageBoxes();
    ~MessageBoxes();
    MessageBoxes(const MessageBoxes&) = delete;
    MessageBoxes& operator=(const MessageBoxes&) = delete;
    std::vector<std::string> seen;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    UINT_PTR m_timer;
};

}  // namespace mailtest
