// The host utility library's types that lorvexops builds on: wide strings, a
// string list, ANSI/wide conversion, the dialog base class and the image
// service. Hosts link them from lorvexops; a host must also import at least
// one of the library's C exports (LorvexGetModuleInstance will do), or Wine's
// loader never initialises the library and its first Win32 call crashes.
#pragma once
#include <windows.h>
#include <string>

// A zero-terminated UTF-16 string that owns its buffer.
//  - operator== is an exact, case-sensitive match.
//  - operator|= is an equality test that ignores case the way the file system
//    does (whole-string, locale-independent upper-casing).
//  - Compare orders file names as people expect from the shell: case is
//    ignored and runs of decimal digits compare by numeric value (img2 <
//    img10, a08 < a9); digit runs of any length are compared without
//    conversion, so nothing overflows. Equal numbers with different leading
//    zeros, and names equal but for case, are then ordered by a plain
//    ordinal comparison so the order is total and stable.
class MyString {
public:
    MyString();
    MyString(const WCHAR* text);                 // null gives an empty string
    MyString(const WCHAR* text, int count);      // the first count characters
    MyString(const MyString& other);
    virtual ~MyString();

    MyString& operator=(const MyString& other);
    MyString& operator=(const WCHAR* text);
    MyString& operator+=(const MyString& other);
    MyString& operator+=(const WCHAR* text);
    MyString operator+(const MyString& other) const;
    MyString operator+(const WCHAR* text) const;

    void erase();                                // makes the string empty

    // One character by reference. An index outside [0, length()) refers to a
    // scratch character that reads as 0 (so a caller testing s[0] on an empty
    // string is safe) and whose writes change nothing. Writing 0 into the
    // string shortens it: the text always ends at its first zero.
    WCHAR& operator[](int index);
    const WCHAR& operator[](int index) const;

    int Compare(const MyString& other) const;    // < 0, 0, > 0
    int Compare(const WCHAR* other) const;
    int operator==(const MyString& other) const;
    int operator==(const WCHAR* other) const;   // null matches only ""
    int operator|=(const MyString& other) const;
    int operator|=(const WCHAR* other) const;

    // The extension with its leading dot (".jpg"), taken after the last dot
    // of the last path component; empty when that component has no dot. A
    // trailing dot gives ".".
    MyString GetStringExtension() const;

    const WCHAR* c_str() const { return m_data ? m_data : L""; }
    operator const WCHAR*() const { return c_str(); }
    int length() const { return m_data ? lstrlenW(m_data) : 0; }
    bool empty() const { return !m_data || !m_data[0]; }

private:
    void Assign(const WCHAR* text, int count);
    void Append(const WCHAR* text, int count);
    void Reserve(int count);

    WCHAR* m_data = nullptr;     // m_capacity + 1 characters, m_data[m_capacity] always 0
    int m_capacity = 0;
    WCHAR m_scratch = 0;
};

// A growable list of strings; elements are copies owned by the list.
class MyStringList {
public:
    MyStringList();
    virtual ~MyStringList();
    MyStringList(const MyStringList&) = delete;
    MyStringList& operator=(const MyStringList&) = delete;

    void Append(const MyString& text);
    // Sets the number of elements to count (new ones empty); grow is the
    // step by which the capacity grows (at least 1).
    void Resize(int count, int grow);
    // Pointer to element index, or null outside the list.
    MyString* operator[](int index);
    const MyString* operator[](int index) const;
    int GetCount() const { return m_count; }

private:
    MyString** m_items = nullptr;
    int m_count = 0;
    int m_capacity = 0;
    int m_grow = 8;
};

// ANSI/wide conversion (the ANSI code page) and a formatted wide text.
class CStrAW {
public:
    CStrAW();
    ~CStrAW();
    CStrAW(const CStrAW&) = delete;
    CStrAW& operator=(const CStrAW&) = delete;

    // A new ANSI copy of text; the caller frees it with delete[]. Null in,
    // null out.
    static char* w_toA(const WCHAR* text);
    static MyString a_toW(const std::string& text);

    // Formats like the Windows wide printf: %s %ls %ws take a wide string,
    // %hs %S a narrow one; %c a wide character; %d %i %u %o %x %X %f %e %g %p
    // %% with flags, width and precision (typed or *, both capped at
    // 100000). Sizes as on Windows: l and I32 are 32 bits, ll and I64 64
    // bits, I and z the size of a pointer. An unknown directive ends the
    // text there. The decimal point is always a dot. The text lives in this
    // object until the next call or its destruction.
    const WCHAR* printf(const WCHAR* format, ...);
    const WCHAR* c_str() const { return m_text ? m_text : L""; }

private:
    WCHAR* m_text = nullptr;
};

// Dialog base class. Data layout (in order): vtable, dialog window handle,
// a zero word, parent window, template id, this library's module instance, a
// zero word. The virtual handlers keep the slot order below.
//
// Dispatch: WM_INITDIALOG -> OnInitDialog; WM_COMMAND -> OnDlgButtonMessage(id)
// first for a button click (BN_CLICKED) other than IDOK/IDCANCEL, then
// OnCommand(id, code) for every command; the base OnCommand turns IDOK into
// OnOK and IDCANCEL into OnCancel and ends the dialog (EndDialog for a modal
// one, DestroyWindow for a modeless one) only when they return non-zero.
// WM_NOTIFY -> OnCustomDraw for NM_CUSTOMDRAW (a non-zero result makes
// *result the answer), otherwise OnNotify, whose result is the answer.
// WM_PAINT -> OnPaint with the painting DC; WM_DRAWITEM -> OnDrawItem;
// WM_DESTROY -> OnDestroy. No exception leaves the dialog procedure.
class CDialog {
public:
    CDialog(WORD templateId, HWND parent = nullptr);
    CDialog(const CDialog&) = default;
    CDialog& operator=(const CDialog&) = default;

    // Runs the dialog from template m_nTemplateId of m_hInstance; returns the
    // end code (IDOK, IDCANCEL = 2 when cancelled, or -1 if it could not run).
    virtual INT_PTR DoModal();
    // Creates the dialog without running a loop; the window, or null.
    virtual HWND DoModeless();
    virtual int OnInitDialog();
    virtual void OnDestroy();
    virtual int OnPaint(HDC hdc);
    virtual int OnCommand(int id, int code);
    virtual int OnOK();       // non-zero closes the dialog
    virtual int OnCancel();   // non-zero closes the dialog
    virtual int OnDlgButtonMessage(int id);
    virtual int OnNotify(int id, NMHDR* notification);
    virtual int OnCustomDraw(NMHDR* notification, LRESULT* result);
    virtual int OnDrawItem(int id, DRAWITEMSTRUCT* item);
    virtual ~CDialog();

    HWND m_hWnd = nullptr;
    DWORD m_dwReserved1 = 0;
    HWND m_hWndParent = nullptr;
    WORD m_nTemplateId = 0;
    HINSTANCE m_hInstance = nullptr;
    DWORD m_dwReserved2 = 0;

protected:
    // Ends the dialog the way it was started (modal or modeless).
    void Close(INT_PTR code);
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    bool m_modeless = false;
};

// The host's image service, on Magick++. A local object per use; no call
// throws.
class CDll2LorvexMessage {
public:
    // A new 24-bit bitmap of the picture at path, fitted inside wanted (aspect
    // kept, never enlarged; a zero wanted size means the full size); size gets
    // the picture's own pixel size. The caller owns the bitmap. Null on failure.
    HBITMAP ReadImage(const WCHAR* path, SIZE* size, SIZE wanted);
    // Non-zero and the picture's pixel size, read without decoding the pixels
    // where the format allows.
    int GetImageDim(const WCHAR* path, SIZE* size);
    // Writes the source resampled to newSize with the given Magick++ filter
    // number, in the format the destination's extension names. Non-zero on
    // success; a failure leaves no partial destination behind.
    int WriteImage(const WCHAR* source, const WCHAR* destination, SIZE newSize, WORD filter);
};

// Dispatches the waiting messages of the thread so a long loop keeps window
// painted and responsive.
void FlushWindowsMessages(HWND window);
// Non-zero when version 6 or later of the common controls is active; *version
// (may be null) gets the major version.
int HaveCommonControls6(DWORD* version);
