// A scanned page into the host's picture against a memcpy of the same bytes,
// in one run: an A4 page at 300 dpi, 24 bits (2480 x 3508), handed over as a
// packed DIB in global memory the way a TWAIN source delivers it.
//   bench_twain.exe [width height]
#include <lorvexops/lorvexops.h>
#include "timing.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {


// Gives the transfer step to the benchmark; no manager is loaded.
class PageCopier : public CTwain {
public:
    void Copy(HANDLE dib, PARAMS* params)
    {
        m_pParams = params;
        TW_IMAGEINFO info = {};
        CopyImage(dib, info);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    if (!LorvexGetModuleInstance())   // imports the library, so that it is initialised
        return 1;
    const int width = argc > 2 ? atoi(argv[1]) : 2480;
    const int height = argc > 2 ? atoi(argv[2]) : 3508;
    const int runs = 5;

    const size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
    const size_t size = sizeof(BITMAPINFOHEADER) + stride * height;
    HGLOBAL page = GlobalAlloc(GMEM_MOVEABLE, size);
    BYTE* bytes = page ? static_cast<BYTE*>(GlobalLock(page)) : nullptr;
    if (!bytes) {
        printf("cannot make a %d x %d page\n", width, height);
        return 1;
    }
    BITMAPINFOHEADER header = {sizeof(header), width, height, 1, 24, BI_RGB};
    std::memcpy(bytes, &header, sizeof(header));
    for (size_t i = sizeof(header); i < size; ++i)
        bytes[i] = BYTE(i * 2654435761u >> 13);
    GlobalUnlock(page);

    HostPictureRecord record;
    HWND document = CreateWindowW(L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 320, 240, nullptr, nullptr, nullptr, nullptr);
    HWND title = CreateWindowW(L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 320, 40, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrW(document, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&record));
    PARAMS params = {document, title, 0};
    PageCopier copier;

    // Fresh memory each time, as each page gets a fresh picture.
    const double copy = Median(runs, [&] {
        Fresh target(size);
        std::memcpy(target.data, GlobalLock(page), size);
        GlobalUnlock(page);
    });
    const double toDdb = Median(runs, [&] { DeleteObject(PackedDibToDdb(page)); });
    const double transfer = Median(runs, [&] { copier.Copy(page, &params); });
    if (record.width != width || record.height != height) {
        printf("the page did not arrive (%d x %d)\n", record.width, record.height);
        return 1;
    }
    printf("%d x %d, 24 bits, %.1f MB packed DIB; medians of %d runs\n", width, height, size / 1e6, runs);
    printf("memcpy of the packed DIB        %8.1f ms\n", copy * 1e3);
    printf("PackedDibToDdb alone            %8.1f ms   ratio %5.2f\n", toDdb * 1e3, toDdb / copy);
    printf("CopyImage, page into picture    %8.1f ms   ratio %5.2f  (goal <= 10)%s\n", transfer * 1e3,
           transfer / copy, transfer / copy <= 10 ? "" : "  OVER");
    DestroyWindow(document);
    DestroyWindow(title);
    GlobalFree(page);
    return 0;
}
