// The host drawing library's view record and drawer, as far as the GIF export
// preview needs them: a Magick++ picture drawn at scale 1 into a window.
#pragma once
#include <windows.h>
#include <vector>

namespace Magick { class Image; }

// One view of a picture. Plain data: copies are independent.
struct IMAGEDATA {
    float fZoom = 0.0f;          // screen pixels per picture pixel
    POINT ptOrigin = {0, 0};     // picture point at the view's top-left corner
    SIZE sizeView = {0, 0};      // the view, in screen pixels
    SIZE sizeImage = {0, 0};     // the picture: columns x rows
};

// Draws pictures into device contexts. Keeps a pixel buffer between calls so
// that repeated paints (panning) do not allocate; not copyable, each owner
// makes its own.
class CImageDrawer {
public:
    CImageDrawer();
    ~CImageDrawer();
    CImageDrawer(const CImageDrawer&) = delete;
    CImageDrawer& operator=(const CImageDrawer&) = delete;

    // Draws image at scale 1 into the rectangle (0, 0, width, height) of dc so
    // that picture point (x, y) lands on its top-left corner. Only what lies
    // inside the DC's clip box is touched: the covered part in one blit, the
    // rest (also everything when image is null or empty) in the button-face
    // colour. With the matte channel on, transparency is shown over a light
    // checkerboard fixed to the picture. data may be null. Non-zero when the
    // drawing succeeded; no exception leaves it.
    int DisplayDib(const IMAGEDATA* data, HDC dc, int x, int y, int width, int height, Magick::Image* image);

private:
    std::vector<unsigned char> m_pixels;   // BGRA rows of the part last drawn
};
