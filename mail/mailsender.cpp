#include "mail/mailsender.h"

#include <deque>
#include <string>
#include <type_traits>
#include <vector>

namespace lorvex {

// The ANSI form of text; usedDefault tells whether a character had none.
std::string ToAnsi(const WCHAR* text, bool* usedDefault)
{
    BOOL lossy = FALSE;
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, &lossy);
    std::string result(bytes > 1 ? static_cast<size_t>(bytes - 1) : 0, '\0');
    if (bytes > 1)
        WideCharToMultiByte(CP_ACP, 0, text, -1, &result[0], bytes, nullptr, &lossy);
    if (usedDefault)
        *usedDefault = lossy != FALSE;
    return result;
}

std::string AnsiPath(const WCHAR* path)
{
    if (!path)
        return std::string();
    bool lossy = false;
    std::string ansi = ToAnsi(path, &lossy);
    if (!lossy)
        return ansi;
    const DWORD length = GetShortPathNameW(path, nullptr, 0);
    if (!length)
        return ansi;
    WString shortPath(length, L'\0');
    const DWORD copied = GetShortPathNameW(path, &shortPath[0], length);
    if (!copied || copied >= length)
        return ansi;
    shortPath.resize(copied);
    std::string shortAnsi = ToAnsi(shortPath.c_str(), &lossy);
    return lossy ? ansi : shortAnsi;
}

}  // namespace lorvex

namespace {

// The converted strings of one message, alive until the call returns (a
// deque never moves its elements).
class AnsiTexts {
public:
    LPSTR Path(const WCHAR* path) { return Keep(lorvex::AnsiPath(path)); }
    LPSTR Text(const lorvex::WString& text) { return Keep(lorvex::ToAnsi(text.c_str(), nullptr)); }

private:
    LPSTR Keep(std::string text)
    {
        m_texts.push_back(std::move(text));
        return &m_texts.back()[0];   // "" for an empty text, never null
    }

    std::deque<std::string> m_texts;
};

}  // namespace

void CMailSender::AddAttachment(const WCHAR* path, const WCHAR* displayName)
{
    if (!bLibraryUsable)
        LoadMailLibrary();
    if (bLibraryUsable && path)
        attachments[path] = displayName ? displayName : L"";
}

BOOL CMailSender::LoadMailLibrary()
{
    hMailLibrary.reset(LoadLibraryW(L"mapi32.dll"));
    bLibraryUsable = FALSE;
    if (!hMailLibrary)
        return FALSE;
    const HMODULE library = hMailLibrary.get();
    auto find = [library](auto& entry, const char* name) {
        entry = reinterpret_cast<std::remove_reference_t<decltype(entry)>>(
            reinterpret_cast<void*>(GetProcAddress(library, name)));
    };
    find(pCmcQueryConfiguration, "cmc_query_configuration");
    find(pCmcLogon, "cmc_logon");
    find(pCmcSend, "cmc_send");
    find(pCmcLogoff, "cmc_logoff");
    find(pMapiLogon, "MAPILogon");
    find(pMapiSendMail, "MAPISendMail");
    find(pMapiLogoff, "MAPILogoff");
    bLibraryUsable = (pCmcLogon && pCmcSend && pCmcLogoff) || (pMapiLogon && pMapiSendMail && pMapiLogoff);
    return bLibraryUsable;
}

BOOL CMailSender::SendWithMapi()
{
    if (!bLibraryUsable)
        LoadMailLibrary();
    if (!bLibraryUsable || !pMapiSendMail)
        return FALSE;
    AnsiTexts texts;
    std::vector<MapiFileDesc> files;
    for (const auto& attachment : attachments) {
        MapiFileDesc file = {};
        file.nPosition = static_cast<ULONG>(-1);   // not placed in the text
        file.lpszPathName = texts.Path(attachment.first.c_str());
        file.lpszFileName = texts.Text(attachment.second);
        files.push_back(file);
    }
    MapiMessage message = {};
    message.lpszSubject = texts.Text(subject);
    message.lpszNoteText = texts.Text(noteText);
    message.nFileCount = static_cast<ULONG>(files.size());
    message.lpFiles = files.empty() ? nullptr : files.data();
    // No logon: the call's own session. MAPI_DIALOG shows the client's
    // compose window, where the user adds the recipients; the call returns
    // when that window is closed.
    return pMapiSendMail(0, 0, &message, MAPI_DIALOG, 0) == SUCCESS_SUCCESS;
}

BOOL CMailSender::SendWithCmc()
{
    if (!bLibraryUsable)
        LoadMailLibrary();
    if (!bLibraryUsable || !pCmcQueryConfiguration || !pCmcLogon || !pCmcSend || !pCmcLogoff)
        return FALSE;
    AnsiTexts texts;
    std::vector<CMC_attachment> files;
    for (const auto& attachment : attachments) {
        CMC_attachment file = {};
        file.attach_title = texts.Text(attachment.second);
        file.attach_filename = texts.Path(attachment.first.c_str());
        files.push_back(file);
    }
    if (!files.empty())
        files.back().attach_flags = CMC_ATT_LAST_ELEMENT;
    CMC_message message = {};
    message.subject = texts.Text(subject);
    message.text_note = texts.Text(noteText);
    message.attachments = files.empty() ? nullptr : files.data();

    CMC_boolean userInterface = CMC_FALSE;
    if (pCmcQueryConfiguration(0, CMC_CONFIG_UI_AVAIL, &userInterface, nullptr) != CMC_SUCCESS || !userInterface)
        return FALSE;
    CMC_session_id session = 0;
    if (pCmcLogon(nullptr, nullptr, nullptr, nullptr, 0, 100, CMC_LOGON_UI_ALLOWED | CMC_ERROR_UI_ALLOWED, &session,
                  nullptr) != CMC_SUCCESS)
        return FALSE;
    const CMC_return_code sent = pCmcSend(session, &message, 0, 0, nullptr);
    pCmcLogoff(session, 0, CMC_LOGON_UI_ALLOWED, nullptr);
    return sent == CMC_SUCCESS;
}
