// CDialog: the dialog base class. One static procedure keeps `this` in the
// dialog's DWLP_USER slot and forwards messages to the virtual handlers.
#include <lorvexops/companions.h>

#include "win/guard.h"
#include "win/scoped.h"

#include "resources/module.h"

#include <commctrl.h>

CDialog::CDialog(WORD templateId, HWND parent)
    : m_hWndParent(parent), m_nTemplateId(templateId), m_hInstance(lorvex::ModuleInstance())
{
}

CDialog::~CDialog()
{
    // A window that outlives its object must not call into freed memory.
    if (m_hWnd && IsWindow(m_hWnd) &&
        GetWindowLongPtrW(m_hWnd, DWLP_USER) == reinterpret_cast<LONG_PTR>(this)) {
        SetWindowLongPtrW(m_hWnd, DWLP_USER, 0);
        if (m_modeless)
            DestroyWindow(m_hWnd);
    }
}

INT_PTR CDialog::DoModal()
{
    m_modeless = false;
    return DialogBoxParamW(m_hInstance, MAKEINTRESOURCEW(m_nTemplateId), m_hWndParent, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

HWND CDialog::DoModeless()
{
    m_modeless = true;
    return CreateDialogParamW(m_hInstance, MAKEINTRESOURCEW(m_nTemplateId), m_hWndParent, DialogProc,
                              reinterpret_cast<LPARAM>(this));
}

int CDialog::OnInitDialog() { return TRUE; }

void CDialog::OnDestroy() {}

int CDialog::OnPaint(HDC) { return 0; }

int CDialog::OnCommand(int id, int)
{
    if (id == IDOK) {
        if (OnOK())
            Close(IDOK);
        return 1;
    }
    if (id == IDCANCEL) {
        if (OnCancel())
            Close(IDCANCEL);
        return 1;
    }
    return 0;
}

int CDialog::OnOK() { return 1; }

int CDialog::OnCancel() { return 1; }

int CDialog::OnDlgButtonMessage(int) { return 0; }

int CDialog::OnNotify(int, NMHDR*) { return 0; }

int CDialog::OnCustomDraw(NMHDR*, LRESULT*) { return 0; }

int CDialog::OnDrawItem(int, DRAWITEMSTRUCT*) { return 0; }

void CDialog::Close(INT_PTR code)
{
    if (!m_hWnd)
        return;
    if (m_modeless)
        DestroyWindow(m_hWnd);
    else
        EndDialog(m_hWnd, code);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Nothing may unwind through the window manager's frames.
    return lorvex::Guarded<INT_PTR>(FALSE, [&]() -> INT_PTR {
        if (message == WM_INITDIALOG) {
            CDialog* self = reinterpret_cast<CDialog*>(lParam);
            SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
            if (!self)
                return TRUE;
            self->m_hWnd = hwnd;
        }
        CDialog* self = reinterpret_cast<CDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
        if (!self)
            return FALSE;
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, DWLP_USER, 0);
            self->m_hWnd = nullptr;
            return FALSE;
        }
        return self->HandleMessage(message, wParam, lParam);
    });
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND: {
        int id = LOWORD(wParam);
        int code = HIWORD(wParam);
        if (code == BN_CLICKED && id != IDOK && id != IDCANCEL)
            OnDlgButtonMessage(id);
        // The handlers may have closed a modeless dialog.
        if (m_hWnd)
            OnCommand(id, code);
        return TRUE;
    }
    case WM_NOTIFY: {
        NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
        if (!header)
            return FALSE;
        LRESULT result = 0;
        if (header->code == static_cast<UINT>(NM_CUSTOMDRAW)) {
            if (OnCustomDraw(header, &result)) {
                SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
                return TRUE;
            }
        }
        result = OnNotify(static_cast<int>(wParam), header);
        if (m_hWnd)
            SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
    case WM_PAINT: {
        lorvex::ScopedPaint paint(m_hWnd);
        if (!paint.get())
            return FALSE;
        OnPaint(paint.get());
        return TRUE;
    }
    case WM_DRAWITEM:
        return OnDrawItem(static_cast<int>(wParam), reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
    case WM_DESTROY:
        OnDestroy();
        return FALSE;
    default:
        return FALSE;
    }
}
