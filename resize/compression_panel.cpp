// The save dialog's "Advanced options" panel: the compression list of the
// chosen type, kept in step with the type list and the typed file name, and
// the refusal of names that are not a save type.
#include "win/guard.h"
#include "resize/compression_internal.h"

#include <Magick++.h>
#include <commctrl.h>
#include <dlgs.h>
#include <shlwapi.h>
#include <memory>
#include <string>

#include "lorvexops/filetypes.h"
#include "lorvexops/hostrecords.h"
#include "resources/compression_ids.h"

// "Do not show filter dialog", as the user last left it in the panel; it
// survives between runs for the life of the process.
extern "C" BOOL gbNoFilterDialog = FALSE;

namespace {

// One save dialog at a time: the panel of the current run, its picture and
// record, and the file-name control's own procedure.
struct PanelState {
    HWND panel = nullptr;
    OPENFILENAMEW* record = nullptr;
    Magick::Image* image = nullptr;
    HWND nameControl = nullptr;
    WNDPROC previousNameProc = nullptr;
};
PanelState gPanel;


Magick::Image* PictureOf(const OPENFILENAMEW* record)
{
    if (!record || !record->lCustData)
        return nullptr;
    HostPictureRecord* picture = lorvex::PictureRecordOf(*reinterpret_cast<const HWND*>(record->lCustData));
    return picture ? &picture->picture : nullptr;
}

HWND SaveDialogOf(HWND panel)
{
    return GetParent(panel);
}

HWND FileNameControl(HWND saveDialog)
{
    HWND control = GetDlgItem(saveDialog, edt1);
    return control ? control : GetDlgItem(saveDialog, cmb13);
}

// The window that receives the typing: the file-name control itself when it
// is an edit, the edit inside it when it is a combo box (the dialog's usual
// name box), since key releases go to the focused edit only.
HWND TypingWindow(HWND nameControl)
{
    WCHAR className[32] = {};
    GetClassNameW(nameControl, className, 32);
    if (lstrcmpiW(className, WC_COMBOBOXEXW) == 0) {
        HWND edit = reinterpret_cast<HWND>(SendMessageW(nameControl, CBEM_GETEDITCONTROL, 0, 0));
        return edit ? edit : nameControl;
    }
    if (lstrcmpiW(className, WC_COMBOBOXW) == 0) {
        HWND edit = FindWindowExW(nameControl, nullptr, WC_EDITW, nullptr);
        return edit ? edit : nameControl;
    }
    return nameControl;
}

std::string Narrow(const WCHAR* text)
{
    std::unique_ptr<char[]> narrow(CStrAW::w_toA(text));
    return narrow ? std::string(narrow.get()) : std::string();
}

// The compression list for format with the given picture (null: no picture).
void RefillList(Magick::Image* image, const char* format)
{
    CCompressInfo info;
    CImageFormatOptions().GetSupportedCompression(image, format, info);
    lorvex::FillCompressionList(GetDlgItem(gPanel.panel, IDC_COMPRESSION_TYPE), info);
}

void SelectSaveType(int index)
{
    SendDlgItemMessageW(SaveDialogOf(gPanel.panel), cmb1, CB_SETCURSEL, index, 0);
}

LRESULT CALLBACK FileNameProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC previous = gPanel.previousNameProc;
    lorvex::Guarded([&] {
        if (message == WM_KEYUP && gPanel.panel) {
            const lorvex::WString text = lorvex::WindowText(control);
            if (text.find(L'.') != lorvex::WString::npos) {
                const int index = lorvex::SaveTypeOfName(text.c_str());
                if (index >= 0) {
                    const std::string format = Narrow(szSaveFilter2[index]);
                    SelectSaveType(index);
                    RefillList(nullptr, format.c_str());
                    if (gPanel.image)
                        gPanel.image->magick(format);
                }
            }
        }
        if (message == WM_NCDESTROY && control == gPanel.nameControl) {
            SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
            gPanel.nameControl = nullptr;
            gPanel.previousNameProc = nullptr;
        }
    });
    return previous ? CallWindowProcW(previous, control, message, wParam, lParam)
                    : DefWindowProcW(control, message, wParam, lParam);
}

void OnInit(HWND panel, OPENFILENAMEW* record)
{
    gPanel = PanelState();
    gPanel.panel = panel;
    gPanel.record = record;
    gPanel.image = PictureOf(record);

    const std::string ownFormat = gPanel.image ? gPanel.image->magick() : std::string();
    RefillList(gPanel.image, ownFormat.c_str());

    MyString wanted = lorvex::TrimmedExtension(record ? record->lpstrFile : nullptr).c_str();
    if (wanted.empty() && !ownFormat.empty())
        wanted = CStrAW::a_toW(ownFormat);
    int index = lorvex::FindSaveTypeIgnoringCase(wanted.c_str());
    if (index >= 0) {
        SelectSaveType(index);
        if (record) {
            record->lpstrDefExt = szSaveFilter2[index];
            record->nFilterIndex = index + 1;
        }
    }

    CheckDlgButton(panel, IDX_NO_FILTER_DIALOG, gbNoFilterDialog ? BST_CHECKED : BST_UNCHECKED);

    HWND nameControl = FileNameControl(SaveDialogOf(panel));
    if (nameControl) {
        nameControl = TypingWindow(nameControl);
        gPanel.nameControl = nameControl;
        gPanel.previousNameProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(nameControl, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FileNameProc)));
    }
}

void OnCommand(HWND panel, int id, int code)
{
    if (id == IDC_COMPRESSION_TYPE && code == CBN_SELCHANGE) {
        HWND list = GetDlgItem(panel, IDC_COMPRESSION_TYPE);
        LRESULT selected = SendMessageW(list, CB_GETCURSEL, 0, 0);
        if (selected < 0 || !gPanel.image)
            return;
        LRESULT value = SendMessageW(list, CB_GETITEMDATA, selected, 0);
        gPanel.image->compressType(static_cast<Magick::CompressionType>(value));
    } else if (id == IDX_NO_FILTER_DIALOG && code == BN_CLICKED) {
        gbNoFilterDialog = IsDlgButtonChecked(panel, IDX_NO_FILTER_DIALOG) == BST_CHECKED;
    }
}

void OnTypeChange(HWND panel, OPENFILENAMEW* record)
{
    if (!record || record->nFilterIndex < 1 || record->nFilterIndex > lorvex::kSaveTypeCount)
        return;
    const WCHAR* extension = szSaveFilter2[record->nFilterIndex - 1];
    const std::string format = Narrow(extension);
    if (gPanel.image)
        gPanel.image->magick(format);
    record->lpstrDefExt = extension;
    RefillList(gPanel.image, format.c_str());

    HWND nameControl = FileNameControl(SaveDialogOf(panel));
    if (!nameControl)
        return;
    SetWindowTextW(nameControl, lorvex::ReplaceExtension(lorvex::WindowText(nameControl).c_str(), extension).c_str());
}

// Non-zero refuses the name and keeps the dialog open.
BOOL OnFileOk(HWND panel, OPENFILENAMEW* record)
{
    const WCHAR* path = record && record->lpstrFile ? record->lpstrFile : L"";
    if (lorvex::SaveTypeOfName(path) >= 0)
        return FALSE;
    MessageBoxW(SaveDialogOf(panel), L"Please select a valid file type !", L"File type error",
                MB_ICONEXCLAMATION);
    SetWindowLongPtrW(panel, DWLP_MSGRESULT, 1);
    return TRUE;
}

// Panel and group end where the dialog's Cancel button ends.
void AlignWithCancel(HWND panel)
{
    HWND group = GetDlgItem(panel, IDG_ADVANCED_OPTIONS);
    HWND cancel = GetDlgItem(SaveDialogOf(panel), IDCANCEL);
    RECT groupRect, cancelRect, panelRect;
    if (!group || !cancel || !GetWindowRect(group, &groupRect) || !GetWindowRect(cancel, &cancelRect) ||
        !GetWindowRect(panel, &panelRect))
        return;
    const UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOOWNERZORDER;
    SetWindowPos(panel, nullptr, 0, 0, cancelRect.right - panelRect.left, panelRect.bottom - panelRect.top,
                 flags);
    SetWindowPos(group, nullptr, 0, 0, cancelRect.right - groupRect.left, groupRect.bottom - groupRect.top,
                 flags);
}

}  // namespace

namespace lorvex {

UINT_PTR CALLBACK AdvancedOptionsHook(HWND panel, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Guarded<UINT_PTR>(FALSE, [&]() -> UINT_PTR {
        switch (message) {
        case WM_INITDIALOG:
            OnInit(panel, reinterpret_cast<OPENFILENAMEW*>(lParam));
            return TRUE;
        case WM_COMMAND:
            OnCommand(panel, LOWORD(wParam), HIWORD(wParam));
            return FALSE;
        case WM_SIZE:
            AlignWithCancel(panel);
            return FALSE;
        case WM_NOTIFY: {
            auto* notify = reinterpret_cast<OFNOTIFYW*>(lParam);
            if (!notify)
                return FALSE;
            OPENFILENAMEW* record = notify->lpOFN ? notify->lpOFN : gPanel.record;
            if (notify->hdr.code == CDN_TYPECHANGE)
                OnTypeChange(panel, record);
            else if (notify->hdr.code == CDN_FILEOK)
                return OnFileOk(panel, record);
            return FALSE;
        }
        case WM_DESTROY:
            if (panel == gPanel.panel)
                gPanel.panel = nullptr;
            return FALSE;
        }
        return FALSE;
    });
}

}  // namespace lorvex
