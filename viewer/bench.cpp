// Next-picture latency: from the Space key to the picture drawn, over a
// folder of large JPEGs, against Magick++ decoding the same file alone in the
// same run; and listing a very large folder into the pane against building
// the folder list alone.
#include "viewer.h"

#include <cstdio>
#include <vector>

#include "../bench/timing.h"

namespace viewer {

int RunBench(Viewer& viewer, const WCHAR* pictures, const WCHAR* bigFolder)
{
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(JoinPath(pictures, L"*.jpg").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) {
        std::printf("no JPEGs in %s (bench/make_viewer_data.sh makes them)\n", Utf8(pictures).c_str());
        return 2;
    }
    const WString firstPath = JoinPath(pictures, found.cFileName);
    FindClose(find);
    if (!viewer.OpenFile(firstPath.c_str()))
        return 1;
    std::vector<double> viewerTimes, decodeTimes;
    for (int i = viewer.Current() + 1; i < viewer.Count(); ++i) {
        const double start = Now();
        SendMessageW(viewer.Hwnd(), WM_KEYDOWN, VK_SPACE, 0);
        UpdateWindow(viewer.View());
        GdiFlush();
        viewerTimes.push_back(Now() - start);
        const double decodeStart = Now();
        Magick::Image alone;
        alone.read(UnixPath(viewer.Path().c_str()));
        decodeTimes.push_back(Now() - decodeStart);
    }
    if (viewerTimes.empty())
        return 2;
    const double viewerWorst = *std::max_element(viewerTimes.begin(), viewerTimes.end());
    const double decodeWorst = *std::max_element(decodeTimes.begin(), decodeTimes.end());
    std::printf("next picture over %zu JPEGs (%d x %d): median %.0f ms, worst %.0f ms\n", viewerTimes.size(),
                viewer.PictureWidth(), viewer.PictureHeight(), Median(viewerTimes) * 1000, viewerWorst * 1000);
    std::printf("Magick++ decode alone: median %.0f ms, worst %.0f ms; ratio median %.2f, worst %.2f (goal <= 1.3)\n",
                Median(decodeTimes) * 1000, decodeWorst * 1000, Median(viewerTimes) / Median(decodeTimes),
                viewerWorst / decodeWorst);
    if (bigFolder) {
        const double listAlone = Median(3, [&] {
            SortDir list;
            list.InitializeSortDir(bigFolder, 0);
            list.CreateSortedImageList();
        });
        // Each time into an empty pane, as when the folder is first opened.
        WCHAR empty[MAX_PATH];
        GetTempPathW(MAX_PATH, empty);
        const WString emptyFolder = JoinPath(empty, L"lorvex-viewer-empty");
        CreateDirectoryW(emptyFolder.c_str(), nullptr);
        const double withPane = Median(3, [&] { viewer.ListFolder(bigFolder); },
                                       [&] { viewer.ListFolder(emptyFolder.c_str()); });
        std::printf("folder of %d pictures: list %.0f ms, list and pane %.0f ms, ratio %.2f (goal < 2)\n",
                    viewer.Count(), listAlone * 1000, withPane * 1000, withPane / listAlone);
    }
    DestroyWindow(viewer.Hwnd());
    return 0;
}

}  // namespace viewer
