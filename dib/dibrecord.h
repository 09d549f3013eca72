// The DIB record behind every DIB handle, and the checks shared by the
// bitmap core's source files.
#pragma once
#include <windows.h>
#include <cstdint>

namespace lorvex {

constexpr DWORD kDibSignature = 0x20626944;   // "Dib " in memory

struct DibRecord {
    BYTE** rows;          // row y of the picture, 0 = top, whatever the memory order
    DWORD signature;
    HBITMAP bitmap;       // owns the pixel buffer
    BYTE* bits;
    DIBSECTION section;
    int rshift[3];        // red, green, blue
    int lshift[3];
};

// The record behind a handle, or null when the handle is not a live DIB.
// Never faults on a stale or foreign pointer: readability is asked of the
// platform before the signature is read.
DibRecord* DibFromHandle(void* dib);

// Byte lengths declared by an info block's header, computed without overflow.
struct InfoLayout {
    DWORD headerSize;
    uint64_t maskBytes;
    uint64_t colorBytes;
    uint64_t infoBytes;   // header + masks + colour table
    uint64_t bitsBytes;   // row length x rows
    bool topDown;
};

// Checks that a header describes a picture a DIB section can hold (known
// header size, dimensions, depth, compression, palette within the depth, a
// pixel size that fits the 32-bit sizes of the record) and fills layout.
// Reads only the header, whose first four bytes must already be known
// readable, and checks the rest of it with available (bytes readable from
// header onwards; pass 0 to ask the platform instead).
bool DescribeInfo(const void* header, uint64_t available, InfoLayout* layout);

// Frees a record's own block once its signature is cleared. The block is
// held back from the heap until 256 later records have been released, so a
// stale handle does not meet a new record at the same address.
void RetireRecordBlock(DibRecord* record);

// Live DIB records, for leak checks.
void CountDibCreated();
void CountDibDeleted();
LONG LiveDibCount();

}  // namespace lorvex
