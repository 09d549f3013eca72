// CDlgMail: the attachment list, its total and preview, the resize options,
// and the send.
#include <lorvexops/mail.h>

#include <lorvexops/filetypes.h>
#include <lorvexops/resize.h>

#include "mail/sendjob.h"
#include "resources/mail_ids.h"
#include "win/guard.h"
#include "win/scoped.h"
#include "win/text.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <cstdio>
#include <vector>

namespace {

const COLORREF kOddRowBackground = RGB(239, 245, 255);
const DWORD kNameBufferChars = 26000;

void DeleteRecord(void* record)
{
    delete static_cast<CDlgMail::AttachmentRecord*>(record);
}

}  // namespace

CDlgMail::CDlgMail(HWND parent) : CDialog(IDD_EMAIL_PICTURES, parent)
{
    // The dialog removes rows itself, so the total stays right.
    list.bDeleteDisabled = 1;
}

CDlgMail::CDlgMail(const CDlgMail& other)
    : CDialog(other), list(other.list), hBoldFont(other.hBoldFont), hList(other.hList), hPreview(other.hPreview),
      totalSize(other.totalSize),
      pResizeOptions(other.pResizeOptions ? new CDlgBatchResize(*other.pResizeOptions) : nullptr)
{
}

CDlgMail& CDlgMail::operator=(const CDlgMail& other)
{
    if (this == &other)
        return *this;
    CDlgBatchResize* options = other.pResizeOptions ? new CDlgBatchResize(*other.pResizeOptions) : nullptr;
    CDialog::operator=(other);
    list = other.list;
    hBoldFont = other.hBoldFont;
    hList = other.hList;
    hPreview = other.hPreview;
    totalSize = other.totalSize;
    delete pResizeOptions;
    pResizeOptions = options;
    return *this;
}

CDlgMail::~CDlgMail()
{
    // The window goes first, while the list and the font it uses still exist.
    if (m_hWnd && IsWindow(m_hWnd))
        lorvex::Guarded([&] { DestroyWindow(m_hWnd); });
    delete pResizeOptions;
}

int CDlgMail::AddAttachement(const WCHAR* path)
{
    return lorvex::Guarded(1, [&] {
        if (m_hWnd)
            ShowWindow(m_hWnd, SW_SHOW);
        AddListControlFile(path);
        list.Resort();
        return 1;
    });
}

BOOL CDlgMail::IsFileListEmpty()
{
    return lorvex::Guarded(TRUE, [&] { return !hList || list.GetItemCount() == 0 ? TRUE : FALSE; });
}

int CDlgMail::OnInitDialog()
{
    CDialog::OnInitDialog();
    HWND hint = GetDlgItem(m_hWnd, IDT_MAIL_ADD_HINT);
    LOGFONTW font = {};
    HFONT current = reinterpret_cast<HFONT>(SendMessageW(hint, WM_GETFONT, 0, 0));
    if (current && GetObjectW(current, sizeof font, &font)) {
        font.lfWeight = FW_BOLD;
        if ((hBoldFont = CreateFontIndirectW(&font)))
            SendMessageW(hint, WM_SETFONT, reinterpret_cast<WPARAM>(hBoldFont), FALSE);
    }
    hList = GetDlgItem(m_hWnd, IDL_MAIL_PICTURES);
    hPreview = GetDlgItem(m_hWnd, IDS_MAIL_PREVIEW);
    InitListAttachement();
    // Options kept from an earlier run of the window show as chosen.
    CheckDlgButton(m_hWnd, IDX_MAIL_RESIZE, pResizeOptions ? BST_CHECKED : BST_UNCHECKED);
    EnableWindow(GetDlgItem(m_hWnd, IDB_MAIL_RESIZE_OPTIONS), pResizeOptions != nullptr);
    totalSize = 0;
    SetEditSize();
    return 1;
}

void CDlgMail::OnDestroy()
{
    if (hBoldFont) {
        DeleteObject(hBoldFont);
        hBoldFont = nullptr;
    }
    // The list's rows go with its window.
    totalSize = 0;
}

void CDlgMail::InitListAttachement()
{
    list.Create(hList);
    RECT client = {};
    GetClientRect(hList, &client);
    const int width = client.right / 4;
    list.InsertColumn(L"Name", width, COLUMN_TEXT, LVCFMT_LEFT, 0);
    list.InsertColumn(L"Size", width, COLUMN_FILESIZE, LVCFMT_RIGHT, 0);
    list.InsertColumn(L"Type", width, COLUMN_TEXT, LVCFMT_LEFT, 0);
    list.InsertColumn(L"Last modified", width, COLUMN_FILETIME, LVCFMT_LEFT, 0);
}

void CDlgMail::AddListControlFile(const WCHAR* path)
{
    // Wide throughout: a picture whose name has no ANSI form is listed too.
    WIN32_FILE_ATTRIBUTE_DATA about = {};
    if (!path || !*path || !hList || !GetFileAttributesExW(path, GetFileExInfoStandard, &about) ||
        (about.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    for (int row = 0, rows = list.GetItemCount(); row < rows; ++row) {
        auto* record = static_cast<AttachmentRecord*>(list.GetItemData(row));
        if (record && lorvex::EqualNoCase(record->path.c_str(), path))
            return;
    }
    SHFILEINFOW shell = {};
    if (!SHGetFileInfoW(path, 0, &shell, sizeof shell, SHGFI_TYPENAME))
        shell.szTypeName[0] = 0;
    const LONGLONG size = (LONGLONG(about.nFileSizeHigh) << 32) | about.nFileSizeLow;
    const int row = list.AddItem(path, size, shell.szTypeName, &about.ftLastWriteTime);
    if (row < 0)
        return;
    list.SetItemData(row, new AttachmentRecord{path, size}, DeleteRecord);
    totalSize += size;
    SetEditSize();
}

void CDlgMail::SetEditSize()
{
    if (!totalSize) {
        SetDlgItemInt(m_hWnd, IDE_MAIL_TOTAL_SIZE, 0, FALSE);
        return;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.2f KB", static_cast<double>(totalSize) * 0.0009765625);
    SetDlgItemTextA(m_hWnd, IDE_MAIL_TOTAL_SIZE, text);
}

void CDlgMail::DeleteFileW()
{
    for (int row; (row = list.GetFirstSelItem()) != -1;) {
        if (auto* record = static_cast<AttachmentRecord*>(list.GetItemData(row))) {
            totalSize -= record->size;
            SetEditSize();
        }
        list.DeleteItem(row);
    }
    RedrawWindow(hPreview, nullptr, nullptr, RDW_INVALIDATE);
}

void CDlgMail::DeleteAllFiles()
{
    list.DeleteAllItems();
    InvalidateRect(hPreview, nullptr, TRUE);
    totalSize = 0;
    SetEditSize();
}

void CDlgMail::AddNewPictures()
{
    std::vector<WCHAR> names(kNameBufferChars, 0);
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;   // Wine refuses the older, shorter record here
    dialog.hwndOwner = m_hWnd;
    dialog.hInstance = m_hInstance;
    dialog.lpstrFilter = GetOpenFilterWithoutLVX();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = names.data();
    dialog.nMaxFile = kNameBufferChars;
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ALLOWMULTISELECT |
                   OFN_OVERWRITEPROMPT;
    if (!GetOpenFileNameW(&dialog))
        return;
    // One file: its full path. Several: the folder, then each name, each
    // ended by a zero, the list by an empty name.
    const WCHAR* folder = names.data();
    const WCHAR* name = folder + lstrlenW(folder) + 1;
    if (!*name) {
        AddListControlFile(folder);
    } else {
        lorvex::WString base(folder);
        if (base.empty() || base.back() != L'\\')
            base += L'\\';
        for (; *name; name += lstrlenW(name) + 1)
            AddListControlFile((base + name).c_str());
    }
    list.Resort();
}

void CDlgMail::ResizeChosen()
{
    const bool on = IsDlgButtonChecked(m_hWnd, IDX_MAIL_RESIZE) == BST_CHECKED;
    if (on && !pResizeOptions) {
        // Each time from the batch dialog's defaults.
        pResizeOptions = new CDlgBatchResize(m_hWnd);
        if (pResizeOptions->DoModal() == IDCANCEL) {
            delete pResizeOptions;
            pResizeOptions = nullptr;
        }
    } else if (!on) {
        delete pResizeOptions;
        pResizeOptions = nullptr;
    }
    CheckDlgButton(m_hWnd, IDX_MAIL_RESIZE, pResizeOptions ? BST_CHECKED : BST_UNCHECKED);
    EnableWindow(GetDlgItem(m_hWnd, IDB_MAIL_RESIZE_OPTIONS), pResizeOptions != nullptr);
}

int CDlgMail::OnDlgButtonMessage(int id)
{
    if (m_sending)
        return 0;
    switch (id) {
    case IDB_MAIL_ADD:
        AddNewPictures();
        break;
    case IDB_MAIL_REMOVE_SELECTED:
        DeleteFileW();
        break;
    case IDB_MAIL_REMOVE_ALL:
        DeleteAllFiles();
        break;
    case IDX_MAIL_RESIZE:
        ResizeChosen();
        break;
    case IDB_MAIL_RESIZE_OPTIONS:
        if (pResizeOptions)
            pResizeOptions->DoModal();   // bounds, flags and filter may change
        break;
    }
    return 0;
}

int CDlgMail::OnNotify(int id, NMHDR* notification)
{
    if (notification->hwndFrom == hList && notification->code == LVN_KEYDOWN) {
        if (reinterpret_cast<NMLVKEYDOWN*>(notification)->wVKey == VK_DELETE && !m_sending)
            DeleteFileW();
        return 0;
    }
    if (notification->hwndFrom == hList && notification->code == LVN_ITEMCHANGED) {
        const NMLISTVIEW* change = reinterpret_cast<NMLISTVIEW*>(notification);
        if ((change->uNewState | change->uOldState) & LVIS_SELECTED)
            RedrawWindow(hPreview, nullptr, nullptr, RDW_INVALIDATE);
    }
    return CDialog::OnNotify(id, notification);
}

int CDlgMail::OnCustomDraw(NMHDR* notification, LRESULT* result)
{
    if (notification->hwndFrom != hList)
        return 0;
    auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(notification);
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        *result = CDRF_NOTIFYITEMDRAW;
        return 1;
    case CDDS_ITEMPREPAINT:
        if (draw->nmcd.dwItemSpec & 1) {
            draw->clrTextBk = kOddRowBackground;
            *result = CDRF_NEWFONT;
        } else {
            *result = CDRF_DODEFAULT;
        }
        return 1;
    }
    return 0;
}

int CDlgMail::OnDrawItem(int id, DRAWITEMSTRUCT* item)
{
    if (!item || item->hwndItem != hPreview)
        return 0;
    const RECT area = item->rcItem;
    FillRect(item->hDC, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    const int row = list.GetFirstSelItem();
    auto* record = row < 0 ? nullptr : static_cast<AttachmentRecord*>(list.GetItemData(row));
    if (!record)
        return 1;
    const SIZE box = {area.right - area.left, area.bottom - area.top};
    SIZE size = {};
    lorvex::ScopedBitmap picture(CDll2LorvexMessage().ReadImage(record->path.c_str(), &size, box));
    BITMAP shape = {};
    if (!picture || !GetObjectW(picture.get(), sizeof shape, &shape))
        return 1;
    lorvex::ScopedMemDC memory(item->hDC);
    lorvex::ScopedSelect selected(memory.get(), picture.get());
    // The fitted picture in the middle of the box, black around it.
    BitBlt(item->hDC, area.left + (box.cx - shape.bmWidth) / 2, area.top + (box.cy - shape.bmHeight) / 2,
           shape.bmWidth, shape.bmHeight, memory.get(), 0, 0, SRCCOPY);
    return 1;
}

int CDlgMail::OnCommand(int id, int code)
{
    if (id == IDB_MAIL_POSTPONE && !m_sending)
        ShowWindow(m_hWnd, SW_HIDE);
    return CDialog::OnCommand(id, code);
}

int CDlgMail::OnCancel()
{
    if (m_sending)
        return 0;
    DeleteAllFiles();
    return 1;
}

void CDlgMail::ShowProgress(int shown)
{
    for (int id : {IDG_MAIL_RESIZING, IDP_MAIL_RESIZING}) {
        HWND control = GetDlgItem(m_hWnd, id);
        ShowWindow(control, shown);
        if (shown != SW_HIDE) {
            UpdateWindow(control);
            FlushWindowsMessages(control);
        }
    }
}

int CDlgMail::OnOK()
{
    const int count = list.GetItemCount();
    if (count <= 0 || m_sending)
        return 0;
    lorvex::MailJob job;
    for (int row = 0; row < count; ++row)
        if (auto* record = static_cast<AttachmentRecord*>(list.GetItemData(row)))
            job.pictures.push_back(record->path.c_str());
    job.zip = IsDlgButtonChecked(m_hWnd, IDX_MAIL_ZIP) == BST_CHECKED;
    job.owner = m_hWnd;
    HWND progress = GetDlgItem(m_hWnd, IDP_MAIL_RESIZING);
    if (pResizeOptions) {
        CDlgBatchResize* options = pResizeOptions;
        job.resize = true;
        job.filter = static_cast<WORD>(options->GetImageProp().filter);
        job.fitToBounds = [options](SIZE* size) {
            options->Enlarge2Bound(size);
            options->Shrink2Bound(size);
        };
        job.onResizeStart = [this, progress, count] {
            SendMessageW(progress, PBM_SETRANGE32, 0, count);
            SendMessageW(progress, PBM_SETPOS, 0, 0);
            ShowProgress(SW_SHOWNA);
        };
        job.onResized = [progress](int done) {
            SendMessageW(progress, PBM_SETPOS, done, 0);
            FlushWindowsMessages(progress);
        };
    }

    // The message boxes and the mail client's window run message loops:
    // the dialog's own buttons wait until the send is over.
    m_sending = true;
    struct Busy {
        bool& flag;
        ~Busy() { flag = false; }
    } busy{m_sending};
    const lorvex::MailOutcome outcome = lorvex::SendPictures(job, lorvex::ChooseMailPlaces());
    busy.flag = false;
    if (outcome == lorvex::MailOutcome::NotStarted)
        return 0;
    if (pResizeOptions) {
        // The options are used up by a send.
        delete pResizeOptions;
        pResizeOptions = nullptr;
        ShowProgress(SW_HIDE);
        EnableWindow(GetDlgItem(m_hWnd, IDB_MAIL_RESIZE_OPTIONS), FALSE);
        CheckDlgButton(m_hWnd, IDX_MAIL_RESIZE, BST_UNCHECKED);
    }
    DeleteAllFiles();
    if (m_hWndParent)
        SetActiveWindow(m_hWndParent);
    return 0;
}
