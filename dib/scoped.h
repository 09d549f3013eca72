// Scoped owners for the GDI and kernel objects the bitmap core makes on its
// way: each releases exactly once and cannot be copied.
#pragma once
#include <windows.h>

namespace lorvex {

class ScopedMemDC {
public:
    ScopedMemDC() : m_dc(CreateCompatibleDC(nullptr)) {}
    ~ScopedMemDC() { if (m_dc) DeleteDC(m_dc); }
    ScopedMemDC(const ScopedMemDC&) = delete;
    ScopedMemDC& operator=(const ScopedMemDC&) = delete;
    HDC get() const { return m_dc; }
private:
    HDC m_dc;
};

// An object selected into a DC, put back when the scope ends.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object)
        : m_dc(dc), m_old(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~ScopedSelect() { if (m_old) SelectObject(m_dc, m_old); }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;
    bool ok() const { return m_old != nullptr && m_old != HGDI_ERROR; }
private:
    HDC m_dc;
    HGDIOBJ m_old;
};

class ScopedWindowDC {
public:
    explicit ScopedWindowDC(HWND hwnd) : m_hwnd(hwnd), m_dc(GetDC(hwnd)) {}
    ~ScopedWindowDC() { if (m_dc) ReleaseDC(m_hwnd, m_dc); }
    ScopedWindowDC(const ScopedWindowDC&) = delete;
    ScopedWindowDC& operator=(const ScopedWindowDC&) = delete;
    HDC get() const { return m_dc; }
private:
    HWND m_hwnd;
    HDC m_dc;
};

// A GDI object owned until release() hands it on.
template <class H>
class ScopedGdiObject {
public:
    explicit ScopedGdiObject(H object = nullptr) : m_object(object) {}
    ~ScopedGdiObject() { if (m_object) DeleteObject(m_object); }
    ScopedGdiObject(const ScopedGdiObject&) = delete;
    ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;
    H get() const { return m_object; }
    H release() { H object = m_object; m_object = nullptr; return object; }
private:
    H m_object;
};

class ScopedFile {
public:
    explicit ScopedFile(HANDLE file) : m_file(file) {}
    ~ScopedFile() { close(); }
    ScopedFile(const ScopedFile&) = delete;
    ScopedFile& operator=(const ScopedFile&) = delete;
    bool ok() const { return m_file != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_file; }
    void close()
    {
        if (m_file != INVALID_HANDLE_VALUE)
            CloseHandle(m_file);
        m_file = INVALID_HANDLE_VALUE;
    }
private:
    HANDLE m_file;
};

// A block of the process heap: the library's ordinary allocation for info
// blocks and packed DIBs handed to callers (released with HeapFree).
class HeapBlock {
public:
    explicit HeapBlock(SIZE_T size, DWORD flags = 0)
        : m_data(static_cast<BYTE*>(HeapAlloc(GetProcessHeap(), flags, size ? size : 1))) {}
    ~HeapBlock() { if (m_data) HeapFree(GetProcessHeap(), 0, m_data); }
    HeapBlock(const HeapBlock&) = delete;
    HeapBlock& operator=(const HeapBlock&) = delete;
    BYTE* get() const { return m_data; }
    BYTE* release() { BYTE* data = m_data; m_data = nullptr; return data; }
private:
    BYTE* m_data;
};

}  // namespace lorvex
