// Scoped owners for every kind of handle the library makes: each releases
// exactly once, initialises every member and cannot be copied. Moving hands
// the ownership on.
#pragma once
#include <windows.h>

#include <utility>

namespace lorvex {

// An owner of one handle-like value; Traits names its empty value and how it
// is released.
template <class Traits>
class Owned {
public:
    using Value = typename Traits::Value;

    Owned() = default;
    explicit Owned(Value value) : m_value(value) {}
    ~Owned() { reset(); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : m_value(other.release()) {}
    Owned& operator=(Owned&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    Value get() const { return m_value; }
    bool ok() const { return !Traits::IsEmpty(m_value); }
    explicit operator bool() const { return ok(); }
    Value release()
    {
        Value value = m_value;
        m_value = Traits::Empty();
        return value;
    }
    void reset(Value value = Traits::Empty())
    {
        if (!Traits::IsEmpty(m_value))
            Traits::Release(m_value);
        m_value = value;
    }

private:
    Value m_value = Traits::Empty();
};

namespace traits {

struct KernelHandle {   // files, events, processes: null and INVALID_HANDLE_VALUE are empty
    using Value = HANDLE;
    static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
    static bool IsEmpty(HANDLE h) { return h == INVALID_HANDLE_VALUE || h == nullptr; }
    static void Release(HANDLE h) { CloseHandle(h); }
};
struct FindHandle {
    using Value = HANDLE;
    static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
    static bool IsEmpty(HANDLE h) { return h == INVALID_HANDLE_VALUE || h == nullptr; }
    static void Release(HANDLE h) { FindClose(h); }
};
template <class H>
struct GdiObject {
    using Value = H;
    static H Empty() { return nullptr; }
    static bool IsEmpty(H h) { return h == nullptr; }
    static void Release(H h) { DeleteObject(h); }
};
struct MemoryDC {
    using Value = HDC;
    static HDC Empty() { return nullptr; }
    static bool IsEmpty(HDC h) { return h == nullptr; }
    static void Release(HDC h) { DeleteDC(h); }
};
struct Module {
    using Value = HMODULE;
    static HMODULE Empty() { return nullptr; }
    static bool IsEmpty(HMODULE h) { return h == nullptr; }
    static void Release(HMODULE h) { FreeLibrary(h); }
};
struct Icon {   // icons and cursors made by CreateIconIndirect or copied
    using Value = HICON;
    static HICON Empty() { return nullptr; }
    static bool IsEmpty(HICON h) { return h == nullptr; }
    static void Release(HICON h) { DestroyIcon(h); }
};
struct HeapMemory {   // blocks of the process heap
    using Value = void*;
    static void* Empty() { return nullptr; }
    static bool IsEmpty(void* p) { return p == nullptr; }
    static void Release(void* p) { HeapFree(GetProcessHeap(), 0, p); }
};
struct GlobalMemory {
    using Value = HGLOBAL;
    static HGLOBAL Empty() { return nullptr; }
    static bool IsEmpty(HGLOBAL h) { return h == nullptr; }
    static void Release(HGLOBAL h) { GlobalFree(h); }
};
struct Window {   // a window this code created and must destroy
    using Value = HWND;
    static HWND Empty() { return nullptr; }
    static bool IsEmpty(HWND h) { return h == nullptr; }
    static void Release(HWND h) { if (IsWindow(h)) DestroyWindow(h); }
};

}  // namespace traits

using ScopedHandle = Owned<traits::KernelHandle>;
using ScopedFile = ScopedHandle;
using ScopedFind = Owned<traits::FindHandle>;
template <class H>
using ScopedGdiObject = Owned<traits::GdiObject<H>>;
using ScopedBitmap = ScopedGdiObject<HBITMAP>;
using ScopedModule = Owned<traits::Module>;
using ScopedIcon = Owned<traits::Icon>;
using ScopedGlobal = Owned<traits::GlobalMemory>;
using ScopedWindow = Owned<traits::Window>;

// A memory DC compatible with the screen (or with dc).
class ScopedMemDC : public Owned<traits::MemoryDC> {
public:
    explicit ScopedMemDC(HDC dc = nullptr) : Owned(CreateCompatibleDC(dc)) {}
};

// A window's DC, released to that window.
class ScopedWindowDC {
public:
    explicit ScopedWindowDC(HWND hwnd, bool wholeWindow = false)
        : m_hwnd(hwnd), m_dc(wholeWindow ? GetWindowDC(hwnd) : GetDC(hwnd)) {}
    ~ScopedWindowDC() { if (m_dc) ReleaseDC(m_hwnd, m_dc); }
    ScopedWindowDC(const ScopedWindowDC&) = delete;
    ScopedWindowDC& operator=(const ScopedWindowDC&) = delete;
    HDC get() const { return m_dc; }
private:
    HWND m_hwnd;
    HDC m_dc;
};

// BeginPaint/EndPaint as one scope.
class ScopedPaint {
public:
    explicit ScopedPaint(HWND hwnd) : m_hwnd(hwnd), m_dc(BeginPaint(hwnd, &m_paint)) {}
    ~ScopedPaint() { if (m_dc) EndPaint(m_hwnd, &m_paint); }
    ScopedPaint(const ScopedPaint&) = delete;
    ScopedPaint& operator=(const ScopedPaint&) = delete;
    HDC get() const { return m_dc; }
    const RECT& area() const { return m_paint.rcPaint; }
private:
    HWND m_hwnd;
    PAINTSTRUCT m_paint = {};
    HDC m_dc;
};

// An object selected into a DC, put back when the scope ends.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object)
        : m_dc(dc), m_old(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~ScopedSelect() { if (ok()) SelectObject(m_dc, m_old); }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;
    bool ok() const { return m_old != nullptr && m_old != HGDI_ERROR; }
private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// A block of the process heap: the library's ordinary allocation for info
// blocks and packed DIBs handed to callers (released with HeapFree).
class HeapBlock : public Owned<traits::HeapMemory> {
public:
    explicit HeapBlock(SIZE_T size, DWORD flags = 0)
        : Owned(HeapAlloc(GetProcessHeap(), flags, size ? size : 1)) {}
    BYTE* get() const { return static_cast<BYTE*>(Owned::get()); }
    BYTE* release() { return static_cast<BYTE*>(Owned::release()); }
};

// A locked global block, unlocked when the scope ends.
class ScopedGlobalLock {
public:
    explicit ScopedGlobalLock(HGLOBAL block) : m_block(block), m_data(block ? GlobalLock(block) : nullptr) {}
    ~ScopedGlobalLock() { if (m_data) GlobalUnlock(m_block); }
    ScopedGlobalLock(const ScopedGlobalLock&) = delete;
    ScopedGlobalLock& operator=(const ScopedGlobalLock&) = delete;
    void* get() const { return m_data; }
private:
    HGLOBAL m_block;
    void* m_data;
};

}  // namespace lorvex
