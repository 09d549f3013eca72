// Fitting pictures into a box through CDlgBatchResize::BatchResizing, against
// Magick++'s zoom called directly on the same pictures in the same run, and
// file to file against ImageMagick's convert -resize on the same files.
//   bench_resize.exe [count [width height]]     (default 20 of 4000 x 3000)
// The files go to a native folder, /tmp/lorvex-bench-resize, removed after.
#include "timing.h"
#include <lorvexops/lorvexops.h>
#include <Magick++.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Shrink into 1024 x 768 with Lanczos, proportions kept: what the dialog
// leaves after OK with those choices.
class FitInto : public CDlgBatchResize {
public:
    FitInto(UINT width, UINT height) : CDlgBatchResize(nullptr)
    {
        m_bShrink = true;
        m_dwWidth = width;
        m_dwHeight = height;
        m_imageProp.filter = Magick::LanczosFilter;
    }
};

// A copy that shares no pixels, as a freshly read picture: setting the filter
// on a shared picture would copy all its pixels first.
Magick::Image Unshared(const Magick::Image& image)
{
    Magick::Image copy(image);
    copy.modifyImage();
    return copy;
}

void Report(const char* what, double seconds, double baseline, const char* against, double goal)
{
    const double ratio = seconds / baseline;
    printf("%-34s %8.0f ms   %-34s %8.0f ms   ratio %5.2f%s\n", what, seconds * 1e3, against, baseline * 1e3, ratio,
           goal > 0 && ratio > goal ? "  OVER" : "");
}

}  // namespace

int main(int argc, char** argv)
{
    const int count = argc > 1 ? atoi(argv[1]) : 20;
    const size_t width = argc > 3 ? size_t(atoi(argv[2])) : 4000;
    const size_t height = argc > 3 ? size_t(atoi(argv[3])) : 3000;
    LorvexGetModuleInstance();   // loads and initialises the library
    const std::string folder = "/tmp/lorvex-bench-resize";
    if (std::system(("mkdir -p " + folder).c_str()) != 0)
        return 1;

    // Different pictures with real detail (noise), stored as JPEG files.
    printf("%d pictures of %zu x %zu into 1024 x 768, Lanczos, proportions kept\n\n", count, width, height);
    for (int i = 0; i < count; ++i) {
        Magick::Image picture(Magick::Geometry(width, height), Magick::Color(i % 2 ? "steelblue" : "orange"));
        picture.addNoise(Magick::GaussianNoise);
        picture.quality(90);
        picture.write(folder + "/in" + std::to_string(i) + ".jpg");
    }

    FitInto fit(1024, 768);
    Magick::Geometry box(1024, 768);
    box.aspect(true);
    double library = 0, direct = 0;
    for (int i = 0; i < count; ++i) {
        Magick::Image source(folder + "/in" + std::to_string(i) + ".jpg");
        // Alternating order, so neither side always runs on a warm cache.
        for (int pass = 0; pass < 2; ++pass) {
            Magick::Image picture = Unshared(source);
            const double start = Now();
            if ((pass + i) % 2 == 0) {
                fit.BatchResizing(&picture);
                library += Now() - start;
            } else {
                picture.filterType(Magick::LanczosFilter);
                picture.zoom(box);
                direct += Now() - start;
            }
            if (picture.columns() != 1024 || picture.rows() != 768)
                printf("picture %d became %zu x %zu\n", i, picture.columns(), picture.rows());
        }
    }
    Report("BatchResizing, in memory", library, direct, "Magick++ zoom, in memory", 1.05);

    double files = 0, convert = 0;
    for (int i = 0; i < count; ++i) {
        const std::string in = folder + "/in" + std::to_string(i) + ".jpg";
        double start = Now();
        Magick::Image picture(in);
        fit.BatchResizing(&picture);
        picture.write(folder + "/lib" + std::to_string(i) + ".jpg");
        files += Now() - start;
        start = Now();
        if (std::system(("/usr/bin/convert " + in + " -filter Lanczos -resize 1024x768 " + folder + "/cvt" +
                         std::to_string(i) + ".jpg").c_str()) != 0)
            printf("convert failed on %s\n", in.c_str());
        convert += Now() - start;
    }
    Report("read + BatchResizing + write", files, convert, "convert -resize (process per file)", 0);
    return std::system(("rm -rf " + folder).c_str()) == 0 ? 0 : 1;
}
