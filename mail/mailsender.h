// Hands files to the user's mail client through the system's mail library,
// loaded at run time: Simple MAPI first, CMC when that fails. Private to the
// mail dialog; one object per send.
#pragma once
#include <windows.h>
#include <mapi.h>
#include <xcmc.h>

#include "win/scoped.h"
#include "win/text.h"

#include <map>
#include <string>

class CMailSender {
public:
    CMailSender() = default;
    virtual ~CMailSender() = default;   // unloads the mail library
    CMailSender(const CMailSender&) = delete;
    CMailSender& operator=(const CMailSender&) = delete;

    // Records the file for the mail when the mail library is usable (loading
    // it first); a path given twice is attached once.
    void AddAttachment(const WCHAR* path, const WCHAR* displayName);
    // True when "mapi32.dll" loaded and offers all of Simple MAPI's or all of
    // CMC's calls this sender makes.
    BOOL LoadMailLibrary();
    // True when the mail client took the mail (its compose window closed
    // with the mail sent); false on any failure or a cancelled window.
    BOOL SendWithMapi();
    BOOL SendWithCmc();

    int AttachmentCount() const { return static_cast<int>(attachments.size()); }

private:
    // Path to display name, in code-unit order of the paths: the order in
    // which the files reach the mail.
    std::map<lorvex::WString, lorvex::WString> attachments;
    lorvex::WString subject, noteText;
    lorvex::ScopedModule hMailLibrary;
    decltype(&::cmc_query_configuration) pCmcQueryConfiguration = nullptr;
    decltype(&::cmc_logon) pCmcLogon = nullptr;
    decltype(&::cmc_send) pCmcSend = nullptr;
    decltype(&::cmc_logoff) pCmcLogoff = nullptr;
    LPMAPILOGON pMapiLogon = nullptr;
    LPMAPISENDMAIL pMapiSendMail = nullptr;
    LPMAPILOGOFF pMapiLogoff = nullptr;
    BOOL bLibraryUsable = FALSE;
};

namespace lorvex {

// The ANSI form the mail library takes for a path. A path with characters
// outside the ANSI code page is handed over by its short (8.3) form, which
// names the same file in plain characters; only when the volume has no short
// names does the lossy conversion remain.
std::string AnsiPath(const WCHAR* path);
// The ANSI form of text; usedDefault (may be null) tells whether a character
// had none.
std::string ToAnsi(const WCHAR* text, bool* usedDefault);

}  // namespace lorvex
