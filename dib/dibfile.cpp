// BMP files: the 14-byte file header followed by a packed DIB.
#include "win/guard.h"
#include <lorvexops/dib.h>
#include "dib/bmpread.h"
#include "dib/dibcreate.h"
#include "dib/dibrecord.h"
#include "win/safefile.h"
#include "win/scoped.h"

#include <cstring>
#include <lorvexops/widestring.h>

using namespace lorvex;

namespace {

bool WriteExactly(HANDLE file, const void* buffer, DWORD size)
{
    DWORD done = 0;
    return WriteFile(file, buffer, size, &done, nullptr) && done == size;
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
