// BMP files: the 14-byte file header followed by a packed DIB.
#include "win/guard.h"
#include <lorvexops/dib.h>
#include "dib/dibcreate.h"
#include "dib/dibrecord.h"
#include "win/safefile.h"
#include "win/scoped.h"

#include <cstring>
#include <lorvexops/widestring.h>

using namespace lorvex;

namespace {

constexpr WORD kBmpType = 0x4D42;   // "BM"
constexpr DWORD kFileHeaderSize = 14;

bool ReadExactly(HANDLE file, void* buffer, DWORD size)
{
    DWORD done = 0;
    return ReadFile(file, buffer, size, &done, nullptr) && done == size;
}

bool WriteExactly(HANDLE file, const void* buffer, DWORD size)
{
    DWORD done = 0;
    return WriteFile(file, buffer, size, &done, nullptr) && done == size;
}

HDIB LoadBmp(const WCHAR* path)
{
    ScopedFile file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.ok())
        return nullptr;
    LARGE_INTEGER fileSize;
    if (!GetFileSizeEx(file.get(), &fileSize))
        return nullptr;
    BYTE fileHeader[kFileHeaderSize];
    if (!ReadExactly(file.get(), fileHeader, sizeof fileHeader))
        return nullptr;
    WORD type;
    DWORD offBits;
    memcpy(&type, fileHeader, sizeof type);
    memcpy(&offBits, fileHeader + 10, sizeof offBits);
    if (type != kBmpType)
        return nullptr;
    // The info block lies between the two headers' start and the bits; it
    // must at least hold the smallest header and lie inside the file.
    if (offBits < kFileHeaderSize + sizeof(BITMAPCOREHEADER) || offBits > fileSize.QuadPart)
        return nullptr;
    const DWORD blockSize = offBits - kFileHeaderSize;
    HeapBlock block(blockSize);
    if (!block.get() || !ReadExactly(file.get(), block.get(), blockSize))
        return nullptr;
    InfoLayout layout;
    if (!DescribeInfo(block.get(), blockSize, &layout))
        return nullptr;
    // Pixel data the file cannot hold is refused before a section is made.
    if (uint64_t(offBits) + layout.bitsBytes > uint64_t(fileSize.QuadPart))
        return nullptr;
    HDIB dib = CreateFromCheckedInfo(reinterpret_cast<BITMAPINFO*>(block.get()));
    if (!dib)
        return nullptr;
    if (!ReadExactly(file.get(), DibBitsPtr(dib), DibBitsSize(dib))) {
        DibDelete(dib);
        return nullptr;
    }
    return dib;
}

bool WriteBmp(HDIB dib, HANDLE file)
{
    const DWORD infoSize = DibInfoSize(dib);
    const DWORD bitsSize = DibBitsSize(dib);
    BITMAPINFO* info = DibCloneInfo(dib);
    if (!info)
        return false;
    HeapBlock head(kFileHeaderSize + infoSize, HEAP_ZERO_MEMORY);
    if (!head.get()) {
        HeapFree(GetProcessHeap(), 0, info);
        return false;
    }
    const DWORD total = kFileHeaderSize + infoSize + bitsSize;
    const DWORD offBits = total - bitsSize;
    memcpy(head.get(), &kBmpType, sizeof kBmpType);
    memcpy(head.get() + 2, &total, sizeof total);
    memcpy(head.get() + 10, &offBits, sizeof offBits);
    memcpy(head.get() + kFileHeaderSize, info, infoSize);
    HeapFree(GetProcessHeap(), 0, info);
    // The bits go straight from the section: the same bytes as a packed DIB
    // without a second copy of the picture.
    return WriteExactly(file, head.get(), kFileHeaderSize + infoSize) &&
           WriteExactly(file, DibBitsPtr(dib), bitsSize);
}

int SaveBmp(HDIB dib, const WCHAR* path)
{
    if (!DibIsValid(dib) || !path || !*path)
        return 0;
    lorvex::SafeFileWriter writer;
    return writer.Begin(path) && WriteBmp(dib, writer.handle()) && writer.Commit();
}

}  // namespace

extern "C" {

HDIB DibFileLoad(const WCHAR* path)
{
    return lorvex::Guarded<HDIB>(nullptr, [&]() -> HDIB {
        return path ? LoadBmp(path) : nullptr;
    });
}

int DibFileSave(HDIB dib, const WCHAR* path)
{
    return lorvex::Guarded<int>(0, [&]() -> int {
        return SaveBmp(dib, path);
    });
}

}  // extern "C"
