// The bitmap core against plain baselines on the same bytes, in one run:
// BMP load and save against ReadFile/WriteFile of the same file; flip, crop
// and copy against memcpy of as many bytes; colour replacement against one
// read pass; single-pixel access per million pixels.
//   bench_dib.exe [width height [folder]]
#include <lorvexops/dib.h>
#include "timing.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

namespace {


void Report(const char* what, double seconds, double baseline, const char* against, double goal)
{
    const double ratio = seconds / baseline;
    printf("%-28s %9.1f ms   %-30s %9.1f ms   ratio %5.2f  (goal <= %.1f)%s\n", what, seconds * 1e3, against,
           baseline * 1e3, ratio, goal, ratio <= goal ? "" : "  OVER");
}

volatile uint64_t gSink;

}  // namespace

int main(int argc, char** argv)
{
    const int width = argc > 2 ? atoi(argv[1]) : 8000;
    const int height = argc > 2 ? atoi(argv[2]) : 6000;
    WCHAR folder[MAX_PATH];
    if (argc > 3)
        MultiByteToWideChar(CP_UTF8, 0, argv[3], -1, folder, MAX_PATH);
    else
        GetTempPathW(MAX_PATH, folder);
    WCHAR path[MAX_PATH], plain[MAX_PATH];
    wsprintfW(path, L"%s\\lorvex-bench.bmp", folder);
    wsprintfW(plain, L"%s\\lorvex-bench-plain.bin", folder);
    const int runs = 5;

    MyDImage image(width, height, 24, 0);
    HDIB dib = image.GetDib();
    if (!dib) {
        printf("cannot make a %d x %d picture\n", width, height);
        return 1;
    }
    BYTE* bits = static_cast<BYTE*>(DibBitsPtr(dib));
    const DWORD bitsSize = DibBitsSize(dib);
    for (DWORD i = 0; i < bitsSize; ++i)
        bits[i] = BYTE(i * 2654435761u >> 24);
    printf("picture %d x %d, 24 bits, %.1f MB of pixels, median of %d runs\n\n", width, height, bitsSize / 1e6, runs);

    // Files.
    if (!DibFileSave(dib, path)) {
        printf("cannot save to the temporary folder\n");
        return 1;
    }
    const DWORD fileSize = 14 + DibTotalSize(dib);
    std::vector<BYTE> fileBytes(fileSize);
    {
        HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        DWORD done = 0;
        ReadFile(file, fileBytes.data(), fileSize, &done, nullptr);
        CloseHandle(file);
    }
    const double load = Median(runs, [&] { DibDelete(DibFileLoad(path)); });
    const double read = Median(runs, [&] {
        Fresh buffer(fileSize);
        HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        DWORD done = 0;
        ReadFile(file, buffer.data, fileSize, &done, nullptr);
        CloseHandle(file);
    });
    Report("DibFileLoad", load, read, "ReadFile (fresh buffer)", 1.3);
    const double save = Median(runs, [&] { DibFileSave(dib, path); });
    const double write = Median(runs, [&] {
        HANDLE file = CreateFileW(plain, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD done = 0;
        WriteFile(file, fileBytes.data(), fileSize, &done, nullptr);
        CloseHandle(file);
    });
    Report("DibFileSave", save, write, "WriteFile", 1.3);
    DeleteFileW(path);
    DeleteFileW(plain);

    // Whole-picture copies against memcpy into fresh memory.
    const double copyAll = Median(runs, [&] {
        Fresh target(bitsSize);
        memcpy(target.data, bits, bitsSize);
    });
    const double flip = Median(runs, [&] { image.tFlipH(); });
    Report("tFlipH", flip, copyAll, "memcpy (fresh target)", 1.5);
    const double copy = Median(runs, [&] { DibDelete(DibCopy(image.GetDib(), 0)); });
    Report("DibCopy", copy, copyAll, "memcpy (fresh target)", 1.5);

    POINT from = {width / 4, height / 4}, to = {width / 4 + width / 2, height / 4 + height / 2};
    const size_t cropRow = size_t(width / 2) * 3;
    const double crop = Median(runs, [&] { DibDelete(image.Crop(&from, &to)); });
    const double copyCrop = Median(runs, [&] {
        Fresh target(cropRow * (height / 2));
        for (int y = 0; y < height / 2; ++y)
            memcpy(target.data + y * cropRow, DibPixelPtr(image.GetDib(), from.x, from.y + y), cropRow);
    });
    Report("Crop (central half)", crop, copyCrop, "memcpy of the crop's rows", 1.5);

    // Colour replacement against a plain read of every pixel byte.
    const double change = Median(runs, [&] { image.tChangeColor(0x123456, 0x654321); });
    const double readPass = Median(runs, [&] {
        const BYTE* p = static_cast<const BYTE*>(DibBitsPtr(image.GetDib()));
        uint64_t sum = 0;
        for (DWORD i = 0; i + 8 <= bitsSize; i += 8) {
            uint64_t word;
            memcpy(&word, p + i, 8);
            sum += word;
        }
        gSink = sum;
    });
    Report("tChangeColor", change, readPass, "one read pass (64-bit words)", 2.0);

    // Single pixels: a million reads and a million writes per depth.
    printf("\nper million pixels (1000 x 1000 DIB, every pixel once):\n");
    for (int depth : {1, 8, 24, 32}) {
        HDIB probe = DibCreate(1000, 1000, depth, 0);
        const DWORD mask = depth == 1 ? 1 : depth == 8 ? 0xFF : depth == 24 ? 0xFFFFFF : 0xFFFFFFFF;
        const double get = Median(runs, [&] {
            uint64_t sum = 0;
            for (int y = 0; y < 1000; ++y)
                for (int x = 0; x < 1000; ++x)
                    sum += DibGetPixel(probe, x, y);
            gSink = sum;
        });
        const double set = Median(runs, [&] {
            for (int y = 0; y < 1000; ++y)
                for (int x = 0; x < 1000; ++x)
                    DibSetPixel(probe, x, y, DWORD(x ^ y) & mask);
        });
        printf("  %2d bits: DibGetPixel %7.1f ms   DibSetPixel %7.1f ms\n", depth, get * 1e3, set * 1e3);
        DibDelete(probe);
    }
    return 0;
}
