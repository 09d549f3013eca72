// The main window: the picture scaled to fit, the folder's pictures in a
// sorted list pane beside it, and a status bar.
#include "viewer.h"

#include <shlwapi.h>

namespace viewer {
namespace {

const WCHAR kFrameClass[] = L"LorvexViewerFrame";
const WCHAR kViewClass[] = L"LorvexViewerPicture";
const int kListWidth = 330;

Viewer* ViewerOf(HWND hwnd) { return reinterpret_cast<Viewer*>(GetWindowLongPtrW(hwnd, 0)); }

// A copy of path the list row keeps and frees (a process-heap block).
WCHAR* HeapText(const WCHAR* text)
{
    const size_t bytes = (lstrlenW(text) + 1) * sizeof(WCHAR);
    auto* copy = static_cast<WCHAR*>(HeapAlloc(GetProcessHeap(), 0, bytes));
    if (copy)
        memcpy(copy, text, bytes);
    return copy;
}

}  // namespace

Viewer::Viewer() = default;

Viewer::~Viewer()
{
    m_twain.reset();
    if (m_hwnd)
        DestroyWindow(m_hwnd);
}

bool Viewer::Create(int show)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW frame = {};
    frame.lpfnWndProc = FrameProc;
    frame.cbWndExtra = sizeof(Viewer*);
    frame.hInstance = instance;
    frame.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    frame.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    frame.lpszClassName = kFrameClass;
    frame.lpszMenuName = MAKEINTRESOURCEW(IDM_MAIN);
    WNDCLASSW view = frame;
    view.lpfnWndProc = ViewProc;
    view.lpszMenuName = nullptr;
    view.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32515));   // cross: crop by dragging
    view.hbrBackground = nullptr;
    view.lpszClassName = kViewClass;
    RegisterClassW(&frame);
    RegisterClassW(&view);
    m_accel = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDA_MAIN));

    m_hwnd = CreateWindowExW(0, kFrameClass, L"Lorvex Viewer", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 20, 20, 1000,
                             680, nullptr, nullptr, instance, this);
    if (!m_hwnd)
        return false;
    m_view = CreateWindowExW(WS_EX_CLIENTEDGE, kViewClass, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, m_hwnd,
                             nullptr, instance, this);
    // The library reaches the picture record through the document window.
    SetWindowLongPtrW(m_view, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&m_record));
    m_listWnd = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, nullptr,
                                WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 0, 10, 10, m_hwnd,
                                nullptr, instance, nullptr);
    m_status = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                               m_hwnd, nullptr, instance, nullptr);
    if (!m_view || !m_listWnd || !m_status)
        return false;
    m_list.Create(m_listWnd);
    m_list.bDeleteDisabled = 1;   // Delete removes nothing here: the list mirrors the folder
    m_list.InsertColumn(L"Name", 120, COLUMN_TEXT, LVCFMT_LEFT, 0);
    m_list.InsertColumn(L"Size", 60, COLUMN_FILESIZE, LVCFMT_RIGHT, 0);
    m_list.InsertColumn(L"Date", 95, COLUMN_FILETIME, LVCFMT_LEFT, 0);
    m_list.InsertColumn(L"Type", 40, COLUMN_TEXT, LVCFMT_LEFT, 0);
    const int parts[] = {300, 420, 520, -1};
    SendMessageW(m_status, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(parts));
    DibFileInitialize(m_hwnd);
    GetOpenFilter();   // the folder list enumerates the extensions this build names
    Layout();
    ShowWindow(m_hwnd, show);
    UpdateWindow(m_hwnd);
    return true;
}

int Viewer::Run()
{
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (m_twain && m_twain->ProcessMessage(&msg)) {
            ScanMessage();
            continue;
        }
        if (m_mail && IsWindow(m_mail->m_hWnd) && IsDialogMessageW(m_mail->m_hWnd, &msg))
            continue;
        if (m_accel && TranslateAcceleratorW(m_hwnd, m_accel, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        MailClosed();
    }
    return int(msg.wParam);
}

void Viewer::Layout()
{
    RECT client, status;
    GetClientRect(m_hwnd, &client);
    SendMessageW(m_status, WM_SIZE, 0, 0);
    GetWindowRect(m_status, &status);
    const int height = client.bottom - (status.bottom - status.top);
    MoveWindow(m_listWnd, 0, 0, kListWidth, height, TRUE);
    MoveWindow(m_view, kListWidth, 0, client.right - kListWidth, height, TRUE);
}

RECT Viewer::PictureRect() const
{
    RECT client = {}, rect = {};
    GetClientRect(m_view, &client);
    const int width = m_size.cx, height = m_size.cy;
    if (!m_image.GetDib() || width <= 0 || height <= 0)
        return rect;
    // Fit inside the view keeping the proportions.
    const double scale = std::min(double(client.right) / width, double(client.bottom) / height);
    const int w = std::max(1, int(width * scale + 0.5)), h = std::max(1, int(height * scale + 0.5));
    rect.left = (client.right - w) / 2;
    rect.top = (client.bottom - h) / 2;
    rect.right = rect.left + w;
    rect.bottom = rect.top + h;
    return rect;
}

void Viewer::Paint(HDC dc)
{
    RECT client;
    GetClientRect(m_view, &client);
    const RECT picture = PictureRect();
    HBITMAP bitmap = m_image.GetDib() ? DibBitmapHandle(m_image.GetDib()) : nullptr;
    // Background around the picture, excluded so the picture never flickers.
    const int saved = SaveDC(dc);
    if (bitmap)
        ExcludeClipRect(dc, picture.left, picture.top, picture.right, picture.bottom);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH)));
    RestoreDC(dc, saved);
    if (bitmap) {
        MemoryDC memory(CreateCompatibleDC(dc));
        HGDIOBJ old = SelectObject(memory.get(), bitmap);
        SetStretchBltMode(dc, HALFTONE);
        StretchBlt(dc, picture.left, picture.top, picture.right - picture.left, picture.bottom - picture.top,
                   memory.get(), 0, 0, m_image.GetWidth(), m_image.GetHeight(), SRCCOPY);
        SelectObject(memory.get(), old);
    }
    if (m_hasCrop && bitmap) {
        const double zoom = double(picture.right - picture.left) / m_size.cx;
        RECT shown = {picture.left + int(m_crop.left * zoom), picture.top + int(m_crop.top * zoom),
                      picture.left + int(m_crop.right * zoom), picture.top + int(m_crop.bottom * zoom)};
        DrawFocusRect(dc, &shown);
    }
}

void Viewer::SelectCurrentRow()
{
    for (int row = 0; row < m_list.GetItemCount(); ++row) {
        auto* path = static_cast<const WCHAR*>(m_list.GetItemData(row));
        const bool current = path && !lstrcmpiW(path, m_path.c_str());
        ListView_SetItemState(m_listWnd, row, current ? LVIS_SELECTED | LVIS_FOCUSED : 0,
                              LVIS_SELECTED | LVIS_FOCUSED);
        if (current)
            ListView_EnsureVisible(m_listWnd, row, FALSE);
    }
}

void Viewer::UpdateStatus()
{
    WCHAR text[128];
    SendMessageW(m_status, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(FileName(m_path.c_str()).c_str()));
    wsprintfW(text, L"%d x %d", int(m_size.cx), int(m_size.cy));
    SendMessageW(m_status, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(m_image.GetDib() ? text : L""));
    wsprintfW(text, L"%d / %d", m_current + 1, Count());
    SendMessageW(m_status, SB_SETTEXTW, 2, reinterpret_cast<LPARAM>(m_current >= 0 ? text : L""));
    const RECT picture = PictureRect();
    const int zoom = m_size.cx ? MulDiv(picture.right - picture.left, 100, m_size.cx) : 0;
    wsprintfW(text, L"Zoom %d%%", zoom);
    SendMessageW(m_status, SB_SETTEXTW, 3, reinterpret_cast<LPARAM>(m_image.GetDib() ? text : L""));
    WString title = m_path.empty() ? WString(L"Lorvex Viewer") : FileName(m_path.c_str()) + L" - Lorvex Viewer";
    SetWindowTextW(m_hwnd, title.c_str());
}

void Viewer::FillList()
{
    SendMessageW(m_listWnd, WM_SETREDRAW, FALSE, 0);
    m_list.DeleteAllItems();
    ListView_SetItemCount(m_listWnd, Count());   // one allocation for the rows to come
    for (int i = 0; i < Count(); ++i) {
        const CFileEntry* entry = (*m_folder.GetFileList())[i];
        const WCHAR* path = entry->pName->c_str();
        const int row = m_list.AddItem(path, LONGLONG(entry->dwSize), &entry->ftLastWrite,
                                       ExtensionUpper(path).c_str());
        if (row >= 0)
            m_list.SetItemData(row, HeapText(path));
    }
    SendMessageW(m_listWnd, WM_SETREDRAW, TRUE, 0);
}

bool Viewer::ListFolder(const WCHAR* folder)
{
    if (GetFileAttributesW(folder) == INVALID_FILE_ATTRIBUTES) {
        Message(m_hwnd, (L"The folder \"" + WString(folder) + L"\" cannot be listed: " +
                         SystemReason(GetLastError()))
                            .c_str());
        return false;
    }
    m_folder.InitializeSortDir(folder, 0);
    m_folder.CreateSortedImageList();
    FillList();
    return true;
}

bool Viewer::LoadPicture(const WCHAR* path, WString* reason)
{
    // Opening first tells a locked or vanished file from a bad picture.
    HANDLE probe = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (probe == INVALID_HANDLE_VALUE) {
        *reason = SystemReason(GetLastError());
        return false;
    }
    CloseHandle(probe);
    const WString type = ExtensionUpper(path);
    HDIB dib = type == L"BMP" ? DibFileLoad(path) : nullptr;
    SIZE size = {}, reducedTo = {};
    if (!dib && (type == L"JPG" || type == L"JPEG") && CDll2LorvexMessage().GetImageDim(path, &size)) {
        // libjpeg decodes at 1/2, 1/4 or 1/8 scale no smaller than the hint,
        // several times faster than the whole picture.
        RECT view;
        GetClientRect(m_view, &view);
        Magick::Image reduced;
        reduced.defineValue("jpeg", "size", std::to_string(std::max(1L, long(view.right))) + "x" +
                                                std::to_string(std::max(1L, long(view.bottom))));
        try {
            reduced.read(UnixPath(path));
        } catch (const Magick::Warning& warning) {   // libjpeg goes on over missing data; we say so
            *reason = L"it is damaged or truncated (" + Wide(warning.what()) + L").";
            return false;
        } catch (const std::exception&) {
            reduced = Magick::Image();   // the image service has the last word below
        }
        dib = reduced.columns() ? DibFromPicture(reduced) : nullptr;
        reducedTo = {LONG(reduced.columns()), LONG(reduced.rows())};
    }
    if (!dib) {   // the image service for every other type (and BMPs the bitmap core does not hold)
        HBITMAP bitmap = CDll2LorvexMessage().ReadImage(path, &size, SIZE{0, 0});
        dib = bitmap ? DibCreateFromBitmap(bitmap) : nullptr;
    }
    if (!dib) {
        *reason = L"it is not a picture this viewer can read, or it is damaged or truncated.";
        return false;
    }
    SetPicture(dib);
    m_reduced = reducedTo.cx && (reducedTo.cx != size.cx || reducedTo.cy != size.cy);
    if (m_reduced)
        m_size = size;
    m_path = path;
    m_record.changed = 0;
    UpdateStatus();
    return true;
}

bool Viewer::EnsureFullPicture()
{
    if (!m_reduced)
        return m_image.GetDib() != nullptr;
    SIZE size = {};
    HBITMAP bitmap = CDll2LorvexMessage().ReadImage(m_path.c_str(), &size, SIZE{0, 0});
    HDIB dib = bitmap ? DibCreateFromBitmap(bitmap) : nullptr;
    if (!dib) {
        Message(m_hwnd, (L"\"" + FileName(m_path.c_str()) + L"\" can no longer be read in full.").c_str());
        return false;
    }
    const bool hadCrop = m_hasCrop;
    const RECT crop = m_crop;
    SetPicture(dib);
    m_hasCrop = hadCrop, m_crop = crop;   // a selection is kept in the picture's own pixels
    return true;
}

void Viewer::SetPicture(HDIB dib)
{
    m_image.DeleteMyDImage();
    m_image.tSetDib(dib);
    m_size = {m_image.GetWidth(), m_image.GetHeight()};
    m_reduced = false;
    m_hasCrop = false;
    InvalidateRect(m_view, nullptr, FALSE);
    UpdateStatus();
}

void Viewer::SyncRecord()
{
    m_record.picture = PictureFromDib(m_image.GetDib());
    m_record.picture.magick(MagickFormat(m_path.c_str()));
    lstrcpynW(m_record.currentFileName, m_path.c_str(), MAX_PATH);
    m_record.width = m_size.cx;
    m_record.height = m_size.cy;
}

bool Viewer::OpenFile(const WCHAR* path)
{
    WString reason;
    if (!LoadPicture(path, &reason)) {
        Message(m_hwnd, (L"Cannot open \"" + FileName(path) + L"\": " + reason).c_str());
        return false;
    }
    const WString folder = FolderOf(path);
    if (!(m_folder.directory |= JoinPath(folder.c_str(), L"").c_str()) && !ListFolder(folder.c_str()))
        return false;
    MyString name(path);
    m_current = m_folder.GetIndex(name);
    SelectCurrentRow();
    UpdateStatus();
    return true;
}

void Viewer::Show(int index)
{
    if (index < 0 || index >= Count() || !m_folder.GetString(index))
        return;
    const WString path = m_folder.GetString(index)->c_str();
    const WString folder = FolderOf(path.c_str());
    if (GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES) {
        Message(m_hwnd, (L"The folder \"" + folder + L"\" is no longer there.").c_str());
        return;
    }
    WString reason;
    if (!LoadPicture(path.c_str(), &reason)) {
        Message(m_hwnd, (L"Cannot open \"" + FileName(path.c_str()) + L"\": " + reason).c_str());
        return;
    }
    m_current = index;
    SelectCurrentRow();
    UpdateStatus();
}

void Viewer::Step(int delta)
{
    if (Count() > 0)
        Show(std::max(0, std::min(Count() - 1, m_current + delta)));
}

void Viewer::Sort(DWORD mode, BOOL ascending)
{
    gdwSortingMode = mode;
    bSortAscending = ascending;
    const WString folder = m_folder.directory.c_str();
    if (folder.empty())
        return;
    ListFolder(folder.c_str());
    MyString name(m_path.c_str());
    m_current = m_folder.GetIndex(name);
    SelectCurrentRow();
    UpdateStatus();
}

std::vector<WString> Viewer::SelectedPaths()
{
    std::vector<WString> paths;
    for (int row = -1; (row = int(SendMessageW(m_listWnd, LVM_GETNEXTITEM, row, LVNI_SELECTED))) != -1;)
        if (auto* path = static_cast<const WCHAR*>(m_list.GetItemData(row)))
            paths.push_back(path);
    return paths;
}

bool Viewer::KeyDown(WPARAM key)
{
    switch (key) {
    case VK_SPACE: case VK_NEXT: Step(1); return true;
    case VK_BACK: case VK_PRIOR: Step(-1); return true;
    case VK_HOME: Show(0); return true;
    case VK_END: Show(Count() - 1); return true;
    default: return false;
    }
}

void Viewer::Mouse(UINT message, LPARAM lParam)
{
    const RECT picture = PictureRect();
    if (!m_image.GetDib() || picture.right <= picture.left)
        return;
    const double zoom = double(picture.right - picture.left) / m_size.cx;
    auto toPicture = [&](int x, int y) {
        POINT p = {LONG((x - picture.left) / zoom), LONG((y - picture.top) / zoom)};
        p.x = std::max(LONG(0), std::min(m_size.cx, p.x));
        p.y = std::max(LONG(0), std::min(m_size.cy, p.y));
        return p;
    };
    const POINT at = toPicture(short(LOWORD(lParam)), short(HIWORD(lParam)));
    if (message == WM_LBUTTONDOWN) {
        m_dragging = true;
        m_dragFrom = at;
        SetCapture(m_view);
        return;
    }
    if (!m_dragging)
        return;
    m_crop = {std::min(m_dragFrom.x, at.x), std::min(m_dragFrom.y, at.y), std::max(m_dragFrom.x, at.x),
              std::max(m_dragFrom.y, at.y)};
    m_hasCrop = m_crop.right > m_crop.left && m_crop.bottom > m_crop.top;
    if (message == WM_LBUTTONUP) {
        m_dragging = false;
        ReleaseCapture();
    }
    InvalidateRect(m_view, nullptr, FALSE);
}

LRESULT CALLBACK Viewer::FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Guarded<LRESULT>(0, [&]() -> LRESULT {
        if (message == WM_NCCREATE)
            SetWindowLongPtrW(hwnd, 0, LONG_PTR(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        Viewer* self = ViewerOf(hwnd);
        // Until CreateWindowExW returns, the window is not the viewer's yet.
        if (!self || !self->m_hwnd)
            return DefWindowProcW(hwnd, message, wParam, lParam);
        return self->OnFrame(message, wParam, lParam);
    });
}

LRESULT Viewer::OnFrame(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        Layout();
        UpdateStatus();
        return 0;
    case WM_COMMAND:
        if (!lParam || HIWORD(wParam) == BN_CLICKED) {
            Command(LOWORD(wParam));
            return 0;
        }
        break;
    case WM_KEYDOWN:
        if (KeyDown(wParam))
            return 0;
        break;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->hwndFrom == m_listWnd && header->code == LVN_KEYDOWN &&
            KeyDown(reinterpret_cast<NMLVKEYDOWN*>(lParam)->wVKey))
            return 0;
        if (header->hwndFrom == m_listWnd && (header->code == NM_DBLCLK || header->code == NM_RETURN)) {
            const std::vector<WString> selected = SelectedPaths();
            MyString name(selected.empty() ? L"" : selected[0].c_str());
            if (!selected.empty())
                Show(m_folder.GetIndex(name));
            return 0;
        }
        break;
    }
    case WM_DESTROY:
        m_twain.reset();
        m_hwnd = nullptr;
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

LRESULT CALLBACK Viewer::ViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Guarded<LRESULT>(0, [&]() -> LRESULT {
        if (message == WM_NCCREATE)
            SetWindowLongPtrW(hwnd, 0, LONG_PTR(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        Viewer* self = ViewerOf(hwnd);
        // Until CreateWindowExW returns, the window is not the viewer's yet.
        return self && self->m_view ? self->OnView(message, wParam, lParam)
                                    : DefWindowProcW(hwnd, message, wParam, lParam);
    });
}

LRESULT Viewer::OnView(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(m_view, &paint);
        Guarded(0, [&] { return Paint(dc), 0; });
        EndPaint(m_view, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        InvalidateRect(m_view, nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        Mouse(message, lParam);
        if (message == WM_LBUTTONDOWN)
            SetFocus(m_hwnd);
        return 0;
    }
    return DefWindowProcW(m_view, message, wParam, lParam);
}

}  // namespace viewer
