// lorvex-host mail [--zip] [--resize WxH] [--send] PICTURES...: the "E-mail
// pictures" dialog with the pictures listed, as the viewer shows it. The
// options are chosen as a user chooses them (clicks, and for --resize the
// "Batch Resize" dialog filled in); --send presses "&Send E-mail" at once,
// otherwise the dialog stays until it is sent, postponed or cancelled.
#include "host.h"

#include <lorvexops/lorvexops.h>

#include "../resources/mail_ids.h"
#include "../resources/resize_ids.h"

#include <shlwapi.h>

#include <cstdio>

namespace {

SIZE gBound = {0, 0};

// Fills in the "Batch Resize" dialog once it is up: shrink larger pictures
// into the bound, then OK.
void CALLBACK FillBatchResize(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = FindWindowW(L"#32770", L"Batch Resize");
    if (!dialog || !IsWindowVisible(dialog))
        return;
    KillTimer(nullptr, timer);
    SendDlgItemMessageW(dialog, IDX_BATCH_SHRINK, BM_CLICK, 0, 0);
    SetDlgItemInt(dialog, IDE_RESIZE_WIDTH, static_cast<UINT>(gBound.cx), FALSE);
    SetDlgItemInt(dialog, IDE_RESIZE_HEIGHT, static_cast<UINT>(gBound.cy), FALSE);
    SendDlgItemMessageW(dialog, IDOK, BM_CLICK, 0, 0);
}

void Click(HWND dialog, int id) { SendDlgItemMessageW(dialog, id, BM_CLICK, 0, 0); }

int Mail(const HostContext& context)
{
    bool zip = false, send = false;
    std::vector<const WCHAR*> pictures;
    for (size_t i = 0; i < context.args.size(); ++i) {
        const std::string arg = Utf8(context.args[i]);
        if (arg == "--zip")
            zip = true;
        else if (arg == "--send")
            send = true;
        else if (arg == "--resize" && i + 1 < context.args.size())
            std::sscanf(Utf8(context.args[++i]).c_str(), "%ldx%ld", &gBound.cx, &gBound.cy);
        else
            pictures.push_back(context.args[i]);
    }
    if (pictures.empty()) {
        Out("usage: lorvex-host mail [--zip] [--resize WxH] [--send] PICTURES...\n");
        return 2;
    }
    CDlgMail mail(nullptr);
    HWND dialog = mail.DoModeless();
    if (!dialog) {
        Out("the dialog cannot be shown\n");
        return 1;
    }
    for (const WCHAR* picture : pictures)
        mail.AddAttachement(picture);
    WCHAR total[64] = {};
    GetDlgItemTextW(dialog, IDE_MAIL_TOTAL_SIZE, total, 64);
    Out("listed: %d picture(s), ", mail.list.GetItemCount());
    OutW(total);
    Out("\n");
    if (zip)
        Click(dialog, IDX_MAIL_ZIP);
    if (gBound.cx > 0 && gBound.cy > 0) {
        SetTimer(nullptr, 0, 50, FillBatchResize);
        Click(dialog, IDX_MAIL_RESIZE);
    }
    if (send) {
        Click(dialog, IDOK);
        Out(mail.IsFileListEmpty() ? "sent: the list is empty again\n" : "not sent\n");
        DestroyWindow(dialog);
        return 0;
    }
    // Until sent and closed, cancelled, or put aside.
    MSG message;
    while (IsWindow(dialog) && IsWindowVisible(dialog) && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return 0;
}

// Sends the samples zipped through the stand-in mail library the tests use
// (built beside them), when this run loads it, and prints what it received.
void MailDemo(const WCHAR* samples, const WCHAR* output)
{
    Heading("lorvex-host mail --send --zip SAMPLES\\*");
    WCHAR folder[MAX_PATH];
    GetModuleFileNameW(nullptr, folder, MAX_PATH);
    *(StrRChrW(folder, nullptr, L'\\') + 1) = 0;
    lstrcatW(folder, L"..\\tests");
    SetDllDirectoryW(folder);
    HMODULE library = LoadLibraryW(L"mapi32.dll");
    const bool standIn = library && GetProcAddress(library, "LorvexMailStandIn");
    if (!standIn) {
        if (library)
            FreeLibrary(library);
        Out("(skipped: needs the tests' stand-in mapi32.dll and WINEDLLOVERRIDES=mapi32=n,b)\n");
        return;
    }
    const lorvex::WString record = JoinPath(output, L"mail-record.txt");
    DeleteFileW(record.c_str());
    SetEnvironmentVariableW(L"LORVEX_MAIL_RECORD", record.c_str());
    std::vector<lorvex::WString> files = ListFiles(samples);
    std::vector<const WCHAR*> args = {L"--send", L"--zip"};
    for (const lorvex::WString& file : files)
        args.push_back(file.c_str());
    RunCommand("mail", args);
    FreeLibrary(library);
    Out("the mail client received:\n");
    std::string text;
    HANDLE file = CreateFileW(record.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    char block[4096];
    DWORD read = 0;
    while (file != INVALID_HANDLE_VALUE && ReadFile(file, block, sizeof block, &read, nullptr) && read)
        text.append(block, read);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    Out("%s", text.c_str());
}

HostCommand mail("mail", "[--zip] [--resize WxH] [--send] PICTURES...  the e-mail dialog with the pictures",
                 Mail, MailDemo, 90);

}  // namespace
