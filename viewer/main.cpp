// lorvex-viewer [PICTURE]
// lorvex-viewer --tour OUTDIR SAMPLES     the scripted tour (exit code 1 when a step failed)
// lorvex-viewer --bench JPEG_FOLDER [BIG_FOLDER]   next-picture and list timing
#include "viewer.h"

#include <cstdio>

extern "C" int wmain(int argc, WCHAR** argv)
{
    using namespace viewer;
    return Guarded(3, [&] {
        // Loads and initialises the library before its first use.
        if (!LorvexGetModuleInstance()) {
            std::printf("lorvex-viewer: the library did not load\n");
            return 3;
        }
        Magick::InitializeMagick(nullptr);
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        const bool tour = argc == 4 && !lstrcmpW(argv[1], L"--tour");
        const bool bench = argc >= 3 && !lstrcmpW(argv[1], L"--bench");
        if (argc > 1 && argv[1][0] == L'-' && !tour && !bench) {
            std::printf("usage: lorvex-viewer [PICTURE] | --tour OUTDIR SAMPLES | --bench JPEG_FOLDER [BIG_FOLDER]\n");
            return 2;
        }
        Viewer viewer;
        if (!viewer.Create(SW_SHOW)) {
            std::printf("lorvex-viewer: the window could not be made\n");
            return 3;
        }
        if (tour)
            return RunTour(viewer, argv[2], argv[3]);
        if (bench)
            return RunBench(viewer, argv[2], argc > 3 ? argv[3] : nullptr);
        if (argc == 2)
            viewer.OpenFile(argv[1]);
        return viewer.Run();
    });
}
