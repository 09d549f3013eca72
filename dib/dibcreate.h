// Internal construction steps shared by the bitmap core's source files.
#pragma once
#include <lorvexops/dib.h>

namespace lorvex {

// What the platform's report of a section loses of the header it was made
// from: row order, plain-RGB compression and the colour count.
struct CreatorHeader {
    bool topDown;
    DWORD compression;
    DWORD clrUsed;
};
CreatorHeader CreatorOf(const void* header);

// DibCreateFromInfo for a block DescribeInfo has already accepted.
HDIB CreateFromCheckedInfo(const BITMAPINFO* info);

}  // namespace lorvex
