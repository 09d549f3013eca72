// lorvex-viewer: a small picture viewer on lorvexops, built against the
// installed package as any other host would be.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <lorvexops/lorvexops.h>

#include <exception>
#include <memory>
#include <string>

#include "viewer_ids.h"

namespace viewer {

using lorvex::WString;

// The boundary rule of every callback: no exception reaches Wine's frames;
// the neutral result is returned instead.
template <typename T, typename F>
T Guarded(T neutral, F&& body) noexcept
{
    try {
        return body();
    } catch (...) {
        return neutral;
    }
}

// One owner for a handle, released once through its traits.
template <typename H, typename Traits>
class Owned {
public:
    explicit Owned(H handle = nullptr) : m_handle(handle) {}
    ~Owned() { reset(); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    void reset(H handle = nullptr)
    {
        if (m_handle)
            Traits::Release(m_handle);
        m_handle = handle;
    }
    H get() const { return m_handle; }
    H release()
    {
        H handle = m_handle;
        m_handle = nullptr;
        return handle;
    }

private:
    H m_handle;
};
struct GdiTraits { static void Release(HGDIOBJ object) { DeleteObject(object); } };
struct MemoryDCTraits { static void Release(HDC dc) { DeleteDC(dc); } };
struct WindowTraits { static void Release(HWND window) { DestroyWindow(window); } };
struct DibTraits { static void Release(HDIB dib) { DibDelete(dib); } };
using GdiObject = Owned<HGDIOBJ, GdiTraits>;
using MemoryDC = Owned<HDC, MemoryDCTraits>;
using Window = Owned<HWND, WindowTraits>;
using OwnedDib = Owned<HDIB, DibTraits>;

// --- helpers (support.cpp) ---------------------------------------------------
std::string UnixPath(const WCHAR* path);         // for Magick++, a native library
std::string Utf8(const WCHAR* text);
WString Wide(const char* utf8);
WString FileName(const WCHAR* path);
WString FolderOf(const WCHAR* path);
WString JoinPath(const WCHAR* folder, const WCHAR* name);
WString ExtensionUpper(const WCHAR* path);        // "GIF", without the dot
std::string MagickFormat(const WCHAR* path);      // the Magick++ format its extension names
WString SystemReason(DWORD error);                // the platform's text for an error code
// The file's bytes; false with *reason set when it cannot be read.
bool ReadWholeFile(const WCHAR* path, std::string* bytes, WString* reason);
// Writes beside path and replaces it only when complete: a failed write
// (a full disk) keeps the original. False with *reason set.
bool WriteFileSafely(const WCHAR* path, const void* data, size_t size, WString* reason);
// A 24-bit DIB of the picture, or null.
HDIB DibFromPicture(Magick::Image& picture);
// The DIB's pixels as a picture (raises on failure).
Magick::Image PictureFromDib(HDIB dib);
// What window shows, frame included, as a PNG; false on failure.
bool SaveScreenshot(HWND window, const WCHAR* pngPath);
void Message(HWND owner, const WCHAR* text, UINT icon = MB_ICONWARNING);

// --- the main window (window.cpp, actions.cpp) ---------------------------------
class Viewer {
public:
    Viewer();
    ~Viewer();
    Viewer(const Viewer&) = delete;
    Viewer& operator=(const Viewer&) = delete;

    bool Create(int show);
    HWND Hwnd() const { return m_hwnd; }
    HWND View() const { return m_view; }
    HWND List() const { return m_listWnd; }
    // Runs the loop until the window closes; scanner events go to the source first.
    int Run();

    // Loads path, lists its folder when it is another one; false after telling
    // the user why.
    bool OpenFile(const WCHAR* path);
    bool ListFolder(const WCHAR* folder);  // lists it in the pane too
    void Show(int index);                 // the folder list's entry
    void Step(int delta);                 // next / previous, stays in range
    void Sort(DWORD mode, BOOL ascending);
    void Command(int id);                 // every menu command

    // What the tour and the window read back.
    int Current() const { return m_current; }
    int Count() { return m_folder.GetLengthFileList(); }
    const WString& Path() const { return m_path; }
    // The picture's own size (the DIB shown may be a reduced decode of it).
    int PictureWidth() const { return m_size.cx; }
    int PictureHeight() const { return m_size.cy; }
    RECT PictureRect() const;             // where the picture is drawn, view client coordinates
    HDIB Dib() const { return m_image.GetDib(); }
    SortDir& Folder() { return m_folder; }
    HostPictureRecord& Record() { return m_record; }
    bool Busy() const { return m_busy; }
    bool Scanning() const { return m_twain != nullptr; }
    HWND MailDialog() const { return m_mail ? m_mail->m_hWnd : nullptr; }
    const WString& LastSaved() const { return m_lastSaved; }
    const WString& BatchFolder() const { return m_batchFolder; }
    void SetCropRect(RECT pictureRect) { m_crop = pictureRect; m_hasCrop = true; }

private:
    static LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnFrame(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnView(UINT message, WPARAM wParam, LPARAM lParam);
    void Layout();
    void Paint(HDC dc);
    void UpdateStatus();
    void FillList();
    void SelectCurrentRow();
    void Mouse(UINT message, LPARAM lParam);
    bool KeyDown(WPARAM key);
    bool LoadPicture(const WCHAR* path, WString* reason);
    void SetPicture(HDIB dib);             // adopts dib, at full size
    // A large JPEG is first decoded near the view's size; edits and saves
    // need every pixel, read on demand through the image service.
    bool EnsureFullPicture();
    void SyncRecord();                     // the record's picture from the DIB
    std::vector<WString> SelectedPaths();

    // actions.cpp
    void OnOpen();
    void OnRename();
    void OnRenumber();
    void OnCrop();
    void OnResize();
    void OnBatchResize();
    void OnSaveAs();
    void OnSaveOptions();
    void OnMail();
    void MailClosed();
    void OnScan();
    void ScanMessage();
    void OnAssociations();

    HWND m_hwnd = nullptr;
    HWND m_view = nullptr;
    HWND m_listWnd = nullptr;
    HWND m_status = nullptr;
    HACCEL m_accel = nullptr;
    CSortedListCtrl m_list;
    SortDir m_folder;
    int m_current = -1;
    WString m_path;
    MyDImage m_image;
    SIZE m_size = {};
    bool m_reduced = false;
    HostPictureRecord m_record;
    bool m_busy = false;
    // Crop rectangle in picture pixels, from a drag over the view.
    bool m_dragging = false, m_hasCrop = false;
    POINT m_dragFrom = {};
    RECT m_crop = {};
    std::unique_ptr<CTwain> m_twain;
    std::unique_ptr<CDlgMail> m_mail;      // modeless, kept between uses
    PARAMS m_scan = {};
    WString m_lastSaved, m_batchFolder;
    friend class Actions;
};

// The scripted session (tour.cpp): drives viewer through every feature and
// writes a picture of each step and OUTDIR\index.html. 0 when every step's
// expected result was there.
int RunTour(Viewer& viewer, const WCHAR* outDir, const WCHAR* samples);
// Next-picture latency and list timing (bench.cpp).
int RunBench(Viewer& viewer, const WCHAR* pictures, const WCHAR* bigFolder);

}  // namespace viewer
