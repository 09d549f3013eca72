// lorvexops public interface: the bitmap core.
//
// A DIB handle (HDIB) is an untyped pointer to one of the library's DIB
// records: a DIB section together with its row table and channel shifts.
// Every function taking an HDIB first checks that it is a live DIB (a null,
// unreadable, stale or foreign pointer gives the neutral result: 0 or null).
// A DIB handle returned to the caller is the caller's: DibDelete it once.
//
// Pixels: x counts from the left, y from the top row of the picture, for
// bottom-up and top-down DIBs alike. Colours given as one number are
// COLORREF values (red in the low byte).
//
// Blocks: info blocks (DibCloneInfo) and heap packed DIBs
// (DibCopyToPackedDib with global flag 0) come from the process heap; release
// them with HeapFree(GetProcessHeap(), 0, block). A global packed DIB is
// released with GlobalFree.
#pragma once
#include <windows.h>

typedef void* HDIB;

// The C exports use the Windows calling convention (__cdecl is the Microsoft
// x64 convention in Winelib), so a host calling through GetProcAddress gets
// the register layout it expects.
#ifdef __cplusplus
extern "C" {
#endif

// --- Record and accessors -------------------------------------------------
int __cdecl DibIsValid(HDIB dib);
HBITMAP __cdecl DibBitmapHandle(HDIB dib);
int __cdecl DibWidth(HDIB dib);
int __cdecl DibHeight(HDIB dib);                    // rows, always positive
int __cdecl DibBitCount(HDIB dib);
int __cdecl DibRowLength(HDIB dib);                 // bytes per row, a multiple of 4
DWORD __cdecl DibNumColors(HDIB dib);
// Channel i: 0 red, 1 green, 2 blue; any other i gives 0. Direct-colour
// intensity = ((pixel & mask) >> right shift), then shifted left by the left
// shift within 8 bits. A mask whose run of set bits is longer than 8 has a
// negative left shift; such a channel yields the run's top 8 bits (and is
// written from them, its lower bits zero).
DWORD __cdecl DibMask(HDIB dib, int i);
int __cdecl DibRShift(HDIB dib, int i);
int __cdecl DibLShift(HDIB dib, int i);
int __cdecl DibCompression(HDIB dib);
int __cdecl DibIsAddressable(HDIB dib);             // BI_RGB or BI_BITFIELDS
DWORD __cdecl DibInfoHeaderSize(HDIB dib);
DWORD __cdecl DibMaskSize(HDIB dib);                // 12 for BI_BITFIELDS, else 0
DWORD __cdecl DibColorSize(HDIB dib);
DWORD __cdecl DibInfoSize(HDIB dib);                // header + masks + colour table
DWORD __cdecl DibBitsSize(HDIB dib);
DWORD __cdecl DibTotalSize(HDIB dib);               // packed size: info + bits
// Pointers into the DIB, valid until it is deleted; not to be freed.
BITMAPINFOHEADER* __cdecl DibInfoHeaderPtr(HDIB dib);
DWORD* __cdecl DibMaskPtr(HDIB dib);                // red, green, blue
void* __cdecl DibBitsPtr(HDIB dib);

// --- Pixels and colour table ------------------------------------------------
// Colour-table entry index (0 .. DibNumColors - 1); non-zero when transferred.
int __cdecl DibGetColor(HDIB dib, int index, RGBQUAD* color);
int __cdecl DibSetColor(HDIB dib, int index, const RGBQUAD* color);
// The byte holding pixel (x, y), or null outside the picture.
BYTE* __cdecl DibPixelPtr(HDIB dib, int x, int y);
// Raw values: colour index (1, 4, 8 bits), the 16-bit word, blue | green << 8
// | red << 16 (24 bits), the 32-bit word. Outside the picture: 0.
DWORD __cdecl DibGetPixel(HDIB dib, int x, int y);
// 1 when written. At 1 and 4 bits the value must fit the depth.
int __cdecl DibSetPixel(HDIB dib, int x, int y, DWORD value);
int __cdecl DibGetPixelColor(HDIB dib, int x, int y, RGBQUAD* color);
// Depths above 8 only (0 otherwise); 1 even when (x, y) lies outside.
int __cdecl DibSetPixelColor(HDIB dib, int x, int y, const RGBQUAD* color);

// --- Creation, copies, conversion -------------------------------------------
// From a BITMAPINFO (12-, 40-, 108- or 124-byte header, masks, colour table).
// A header that cannot describe a picture a DIB section holds (RLE included)
// gives null.
HDIB __cdecl DibCreateFromInfo(const BITMAPINFO* info);
// Takes ownership of a DIB-section bitmap, also when it fails (null). A
// top-down section stays top-down.
HDIB __cdecl DibCreateFromBitmap(HBITMAP bitmap);
int __cdecl DibDelete(HDIB dib);                    // 1 when deleted
// Bottom-up, depth 1, 4, 8, 16, 24 or 32; colours 0 means a full table up to
// 8 bits and none above. Colour entries start black.
HDIB __cdecl DibCreate(int width, int height, int bitsPerPixel, int colors);
// Header, masks and colour table describing the DIB (DibInfoSize bytes).
BITMAPINFO* __cdecl DibCloneInfo(HDIB dib);
// Heap block (globalFlag 0) or global memory handle (non-zero): header,
// masks, colour table, then the bits.
void* __cdecl DibCopyToPackedDib(HDIB dib, int globalFlag);
// Null for a block whose header, masks, colour table or bits are not all
// readable, or whose header cannot describe a picture.
HDIB __cdecl DibCopyFromPackedDib(const BITMAPINFO* packed);
HBITMAP __cdecl DibCopyToDdb(HDIB dib, HWND hwnd, HPALETTE palette);
// A device-dependent copy of a bitmap; the source stays the caller's. A
// depth the display cannot select (a 24-bit DIB section) is copied in the
// display's format.
HBITMAP __cdecl CopyBitmap(HBITMAP bitmap);

// --- BMP files ----------------------------------------------------------------
// Any BMP header kind (OS/2 and V2 to V5 included), RLE8 and RLE4 bits
// expanded, into an ordinary DIB. Null for what cannot be read or whose
// blocks do not lie inside the file.
HDIB __cdecl DibFileLoad(const WCHAR* path);
// 1 on success. An invalid handle gives 0 before any file is touched; a
// failed save leaves no partial file and keeps an existing file of that name.
int __cdecl DibFileSave(HDIB dib, const WCHAR* path);

// Number of live DIB records, for leak checks in tests.
LONG __cdecl LorvexDibLiveCount(void);

#ifdef __cplusplus
}

// A duplicate (exchange 0), or a blank DIB of the same format and palette
// with width and height exchanged (non-zero, bottom-up).
HDIB DibCopy(HDIB dib, int exchange);
// A blank DIB of the same format and palette, width x height (height's sign
// gives the row order).
HDIB DibCopy(HDIB dib, int width, int height);

// An image that owns one DIB and an optional device-dependent bitmap.
class MyDImage {
public:
    MyDImage();
    explicit MyDImage(HDIB dib);            // deep copy; the caller keeps dib
    MyDImage(int width, int height, int bitsPerPixel, int colors);
    MyDImage(const MyDImage& other);        // deep copy of DIB and device bitmap
    MyDImage& operator=(const MyDImage&) = delete;
    virtual ~MyDImage();

    // Releases the DIB and device bitmap; the object is then empty.
    void DeleteMyDImage();
    // 24-bit pictures: every pixel exactly equal to from becomes to. Drops the
    // device bitmap in every case.
    MyDImage& tChangeColor(DWORD from, DWORD to);
    // A new DIB (the caller's) holding the pixels from topLeft up to but
    // excluding bottomRight. A negative width or height returns GetDib()
    // itself. A rectangle reaching outside the picture is refused: null
    // (no clipping). An empty rectangle gives null.
    HDIB Crop(const POINT* topLeft, const POINT* bottomRight);
    HDIB GetDib() const;
    // Upside down (rows mirrored, columns kept).
    MyDImage& tFlipH();
    int GetWidth() const;
    int GetHeight() const;
    int GetDepth() const;
    // Adopts dib without copying; the previous DIB and device bitmap are not
    // released (their holder must).
    MyDImage& tSetDib(HDIB dib);

private:
    void DropDeviceBitmap();

    HDIB m_dib;
    HBITMAP m_ddb;
};
#endif
