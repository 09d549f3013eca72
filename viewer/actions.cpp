// The viewer's commands: each one a library call with the user told why when
// it cannot be done.
#include "viewer.h"

#include <shlwapi.h>

namespace viewer {
namespace {

// The viewer's own small dialogs, run through the library's dialog class on
// templates of this program.
class TextDialog : public CDialog {
public:
    TextDialog(WORD templateId, HWND parent, WString first, WString second = WString())
        : CDialog(templateId, parent), m_first(std::move(first)), m_second(std::move(second))
    {
        m_hInstance = GetModuleHandleW(nullptr);
    }
    int OnInitDialog() override
    {
        SetDlgItemTextW(m_hWnd, m_nTemplateId == IDD_RENAME ? IDC_NAME : IDC_BASE, m_first.c_str());
        SetDlgItemTextW(m_hWnd, IDC_FIRST, m_second.c_str());
        return 1;
    }
    int OnOK() override
    {
        m_first = Text(m_nTemplateId == IDD_RENAME ? IDC_NAME : IDC_BASE);
        m_second = Text(IDC_FIRST);
        return !m_first.empty();
    }
    WString m_first, m_second;

private:
    WString Text(int id)
    {
        WCHAR text[MAX_PATH] = {};
        GetDlgItemTextW(m_hWnd, id, text, MAX_PATH);
        return text;
    }
};

// A progress window with a Cancel button, for the batch.
class Progress {
public:
    Progress(HWND owner, int count) : m_owner(owner)
    {
        WNDCLASSW type = {};
        type.lpfnWndProc = Proc;
        type.hInstance = GetModuleHandleW(nullptr);
        type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        type.lpszClassName = L"LorvexViewerProgress";
        RegisterClassW(&type);   // fails harmlessly when already registered
        m_window.reset(CreateWindowExW(WS_EX_DLGMODALFRAME, type.lpszClassName, L"Batch Resize",
                                       WS_POPUP | WS_CAPTION | WS_VISIBLE, 200, 200, 360, 120, owner, nullptr,
                                       nullptr, nullptr));
        m_bar = CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD | WS_VISIBLE, 12, 12, 330, 20,
                                m_window.get(), nullptr, nullptr, nullptr);
        CreateWindowExW(0, L"BUTTON", L"Cancel", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 262, 48, 80, 24,
                        m_window.get(), HMENU(IDCANCEL), nullptr, nullptr);
        SendMessageW(m_bar, PBM_SETRANGE32, 0, count);
        EnableWindow(owner, FALSE);
        s_cancelled = false;
    }
    ~Progress() { EnableWindow(m_owner, TRUE); }
    // Advances; false once the user pressed Cancel.
    bool Advance(int done)
    {
        SendMessageW(m_bar, PBM_SETPOS, done, 0);
        FlushWindowsMessages(m_window.get());
        return !s_cancelled;
    }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        return Guarded<LRESULT>(0, [&]() -> LRESULT {
            if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL)
                s_cancelled = true;
            if (message == WM_CLOSE)
                return s_cancelled = true, 0;
            return DefWindowProcW(hwnd, message, wParam, lParam);
        });
    }
    static bool s_cancelled;
    HWND m_owner;
    Window m_window;
    HWND m_bar = nullptr;
};
bool Progress::s_cancelled = false;

}  // namespace

void Viewer::Command(int id)
{
    if (m_busy)
        return;
    m_busy = true;
    struct Idle { bool& busy; ~Idle() { busy = false; } } idle{m_busy};
    switch (id) {
    case ID_OPEN: OnOpen(); break;
    case ID_SAVEAS: OnSaveAs(); break;
    case ID_SAVEOPTIONS: OnSaveOptions(); break;
    case ID_MAIL: OnMail(); break;
    case ID_SCAN: OnScan(); break;
    case ID_ASSOCIATIONS: OnAssociations(); break;
    case ID_EXIT: DestroyWindow(m_hwnd); break;
    case ID_NEXT: Step(1); break;
    case ID_PREVIOUS: Step(-1); break;
    case ID_FIRST: Show(0); break;
    case ID_LAST: Show(Count() - 1); break;
    case ID_SORT_NAME: Sort(SORT_BY_NAME, bSortAscending); break;
    case ID_SORT_EXTENSION: Sort(SORT_BY_EXTENSION, bSortAscending); break;
    case ID_SORT_SIZE: Sort(SORT_BY_SIZE, bSortAscending); break;
    case ID_SORT_DATE: Sort(SORT_BY_DATE, bSortAscending); break;
    case ID_SORT_ASCENDING: Sort(gdwSortingMode, TRUE); break;
    case ID_SORT_DESCENDING: Sort(gdwSortingMode, FALSE); break;
    case ID_RENAME: OnRename(); break;
    case ID_RENUMBER: OnRenumber(); break;
    case ID_FLIP:
        if (EnsureFullPicture()) {
            m_image.tFlipH();
            m_record.changed = 1;
            InvalidateRect(m_view, nullptr, FALSE);
        }
        break;
    case ID_CROP: OnCrop(); break;
    case ID_RESIZE: OnResize(); break;
    case ID_BATCHRESIZE: OnBatchResize(); break;
    }
}

void Viewer::OnOpen()
{
    WCHAR file[MAX_PATH] = {}, title[MAX_PATH] = {};
    if (DibFileOpenDlg(m_hwnd, file, title))
        OpenFile(file);
}

void Viewer::OnRename()
{
    if (m_current < 0)
        return;
    TextDialog dialog(IDD_RENAME, m_hwnd, FileName(m_path.c_str()));
    if (dialog.DoModal() != IDOK)
        return;
    const WString newPath = JoinPath(FolderOf(m_path.c_str()).c_str(), dialog.m_first.c_str());
    if (m_folder.RenameFile(m_path.c_str(), newPath.c_str()) == 0) {
        Message(m_hwnd, (L"Cannot rename \"" + FileName(m_path.c_str()) + L"\": " + SystemReason(GetLastError()))
                            .c_str());
        return;
    }
    FillList();
    OpenFile(newPath.c_str());
}

void Viewer::OnRenumber()
{
    if (Count() == 0)
        return;
    TextDialog dialog(IDD_RENUMBER, m_hwnd, L"picture", L"1");
    if (dialog.DoModal() != IDOK)
        return;
    MyString base(dialog.m_first.c_str());
    const int first = StrToIntW(dialog.m_second.c_str());
    const bool renamed = m_folder.RenameImageList(base, first);
    if (!renamed)
        Message(m_hwnd, L"Not every picture could be renumbered; the names were put back as they were.");
    // The list names the renamed files but no longer knows their sizes and times.
    const int shown = std::max(0, m_current);
    ListFolder(m_folder.directory.c_str());
    Show(shown);
}

void Viewer::OnCrop()
{
    if (!m_hasCrop || !EnsureFullPicture()) {
        Message(m_hwnd, L"Drag a rectangle over the picture first.", MB_ICONINFORMATION);
        return;
    }
    const POINT topLeft = {m_crop.left, m_crop.top}, bottomRight = {m_crop.right, m_crop.bottom};
    HDIB cropped = m_image.Crop(&topLeft, &bottomRight);
    if (!cropped || cropped == m_image.GetDib()) {
        Message(m_hwnd, L"The selection does not lie inside the picture.");
        return;
    }
    SetPicture(cropped);
    m_record.changed = 1;
}

void Viewer::OnResize()
{
    if (!EnsureFullPicture())
        return;
    CDlgResize dialog(m_hwnd, CDlgResize::IMAGEPROP{UINT(m_size.cx), UINT(m_size.cy), 0});
    if (dialog.DoModal() != IDOK)
        return;
    const CDlgResize::IMAGEPROP chosen = dialog.GetImageProp();
    // The image service resamples files: the picture goes through two
    // temporary BMPs, with the chosen filter.
    WCHAR folder[MAX_PATH], source[MAX_PATH], target[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    GetTempFileNameW(folder, L"lvr", 0, source);
    GetTempFileNameW(folder, L"lvr", 0, target);
    const WString in = WString(source) + L".bmp", out = WString(target) + L".bmp";
    HDIB resized = nullptr;
    if (DibFileSave(m_image.GetDib(), in.c_str()) &&
        CDll2LorvexMessage().WriteImage(in.c_str(), out.c_str(), SIZE{LONG(chosen.width), LONG(chosen.height)},
                                        WORD(chosen.filter)))
        resized = DibFileLoad(out.c_str());
    const WCHAR* temporary[] = {source, target, in.c_str(), out.c_str()};
    for (const WCHAR* path : temporary)
        DeleteFileW(path);
    if (!resized) {
        Message(m_hwnd, L"The picture could not be resized (not enough memory for that size?).");
        return;
    }
    SetPicture(resized);
    m_record.changed = 1;
}

void Viewer::OnBatchResize()
{
    std::vector<WString> paths = SelectedPaths();
    if (paths.empty()) {
        Message(m_hwnd, L"Select the pictures to resize in the list first.", MB_ICONINFORMATION);
        return;
    }
    CDlgBatchResize dialog(m_hwnd);
    if (dialog.DoModal() != IDOK)
        return;
    m_batchFolder = JoinPath(FolderOf(paths[0].c_str()).c_str(), L"Resized");
    CreateDirectoryW(m_batchFolder.c_str(), nullptr);
    const WORD filter = WORD(dialog.GetImageProp().filter);
    Progress progress(m_hwnd, int(paths.size()));
    int done = 0, failed = 0;
    for (const WString& path : paths) {
        if (!progress.Advance(done))
            break;
        SIZE size = {};
        CDll2LorvexMessage service;
        if (service.GetImageDim(path.c_str(), &size)) {
            dialog.BatchResizing(&size);
            failed += !service.WriteImage(path.c_str(), JoinPath(m_batchFolder.c_str(), FileName(path.c_str()).c_str()).c_str(),
                                          size, filter);
        } else {
            ++failed;
        }
        ++done;
    }
    WCHAR text[MAX_PATH + 100];
    wsprintfW(text, L"%d of %d pictures resized into \"%s\".", done - failed, int(paths.size()), m_batchFolder.c_str());
    SendMessageW(m_status, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    if (failed)
        Message(m_hwnd, text);
}

void Viewer::OnSaveAs()
{
    if (!EnsureFullPicture())
        return;
    SyncRecord();
    WCHAR file[MAX_PATH] = {}, title[MAX_PATH] = {};
    HostSaveContext context = {m_view};
    if (!DibFileSaveDlg(m_hwnd, file, title, &context))
        return;
    m_record.picture.magick(MagickFormat(file));
    // GIF goes through the export dialog, compressed JPEG through its options.
    if (CImageFormatOptions().ShowFilterDialog(&m_record.picture, m_hwnd) == IDCANCEL)
        return;
    Magick::Blob blob;
    WString reason;
    try {
        m_record.picture.write(&blob);
    } catch (const std::exception& error) {
        reason = Wide(error.what());
    }
    if (reason.empty() && WriteFileSafely(file, blob.data(), blob.length(), &reason)) {
        m_lastSaved = file;
        m_record.changed = 0;
        return;
    }
    Message(m_hwnd, (L"\"" + FileName(file) + L"\" was not saved (any earlier file of that name is kept): " + reason)
                        .c_str());
}

void Viewer::OnSaveOptions() { DlgDlgFileSaveOptions(m_hwnd); }

void Viewer::OnMail()
{
    std::vector<WString> paths = SelectedPaths();
    if (paths.empty() && !m_path.empty())
        paths.push_back(m_path);
    if (paths.empty()) {
        Message(m_hwnd, L"Select the pictures to send in the list first.", MB_ICONINFORMATION);
        return;
    }
    if (!m_mail)
        m_mail.reset(new CDlgMail(m_hwnd));
    if (!IsWindow(m_mail->m_hWnd) && !m_mail->DoModeless()) {
        Message(m_hwnd, L"The e-mail dialog cannot be shown.");
        return;
    }
    for (const WString& path : paths)
        m_mail->AddAttachement(path.c_str());
}

// The library serves one sorted list at a time: while the e-mail dialog's
// list is up it has the slot, and the pane takes it back afterwards.
void Viewer::MailClosed()
{
    if (m_mail && !IsWindow(m_mail->m_hWnd)) {
        m_mail.reset();
        m_list.Create(m_listWnd);
    }
}

void Viewer::OnScan()
{
    if (m_twain)
        return;
    m_twain.reset(new CTwain(m_hwnd));
    m_scan = PARAMS{m_view, m_hwnd, 0};
    if (!m_twain->IsValidDriver())
        Message(m_hwnd, L"No scanner software (TWAIN) is installed.");
    else if (!m_twain->DSMOpen() || !m_twain->SelectSource())
        ;   // no source chosen: nothing to say
    else if (!m_twain->Acquire(1, &m_scan))
        Message(m_hwnd, L"The scanner did not start.");
    else
        return;   // the loop hands the source its events (ScanMessage)
    m_twain.reset();
}

// After each event the source took: a picture that arrived is shown; a
// closed source ends the connection.
void Viewer::ScanMessage()
{
    if (m_scan.acquired) {
        m_scan.acquired = 0;
        HDIB dib = DibFromPicture(m_record.picture);
        if (dib) {
            SetPicture(dib);
            m_path = m_record.currentFileName;
            m_current = -1;
            UpdateStatus();
        }
    }
    if (m_twain && !m_twain->DSOpen())
        m_twain.reset();
}

void Viewer::OnAssociations()
{
    WString text = L"Picture types this viewer can be associated with:\n\n";
    for (const FILEASSOCIATIONS& row : gFA) {
        text += row.szExt ? row.szExt : L"";
        text += L"\t";
        text += row.szProgID ? row.szProgID : L"";
        text += L"\n";
    }
    Message(m_hwnd, text.c_str(), MB_ICONINFORMATION);
}

}  // namespace viewer
