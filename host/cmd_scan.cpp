// lorvex-host scan: lets the user choose a TWAIN source, acquires through it
// into a document's picture record as a viewer would, and saves the picture.
//   scan OUT.png [--count N]    exit code 3 when the system has no manager
#include "host.h"

#include <lorvexops/lorvexops.h>
#include <Magick++.h>
#include <shlwapi.h>

namespace {

// A viewer's document: a window whose user data is its picture record, and
// the window showing its title. Hidden: the sample host draws nothing.
struct Document {
    Document()
        : window(CreateWindowW(L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 320, 240, nullptr, nullptr, nullptr,
                               nullptr)),
          title(CreateWindowW(L"STATIC", L"untitled", WS_OVERLAPPEDWINDOW, 0, 0, 320, 40, nullptr, nullptr,
                              nullptr, nullptr))
    {
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&record));
    }
    ~Document()
    {
        DestroyWindow(window);
        DestroyWindow(title);
    }
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;
    HostPictureRecord record;
    HWND window;
    HWND title;
};

// The host's loop while the source is open: its messages go to the source
// first, as CTwain expects. Ends when the source has been closed.
void RunSource(CTwain& twain)
{
    MSG msg;
    while (twain.DSOpen() && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!twain.ProcessMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

int Scan(const WCHAR* out, int count)
{
    Document document;
    PARAMS params = {document.window, document.title, 0};
    {
        CTwain twain(document.window);
        if (!twain.IsValidDriver()) {
            Out("no TWAIN source manager on this system\n");
            return 3;
        }
        if (!twain.DSMOpen() || !twain.SelectSource()) {
            Out("no source chosen (return code %d, condition %u)\n", twain.GetRC(), twain.GetStatus().ConditionCode);
            return 1;
        }
        if (!twain.Acquire(count, &params)) {
            Out("the source did not start (return code %d, condition %u)\n", twain.GetRC(),
                twain.GetStatus().ConditionCode);
            return 1;
        }
        RunSource(twain);
    }
    if (!params.acquired) {
        Out("no picture arrived\n");
        return 1;
    }
    document.record.picture.magick(FormatOfPath(out));
    if (!WritePicture(document.record.picture, out, true)) {
        Out("cannot write the picture\n");
        return 1;
    }
    Out("acquired %d x %d (\"", document.record.width, document.record.height);
    OutW(document.record.currentFileName);
    Out("\"), saved as ");
    OutW(PathFindFileNameW(out));
    Out("\n");
    return 0;
}

int Run(const HostContext& context)
{
    const auto& args = context.args;
    int count = 1;
    if (args.size() == 3 && !lstrcmpW(args[1], L"--count") && StrToIntExW(args[2], STIF_DEFAULT, &count) &&
        count != 0)
        return Scan(args[0], count);
    if (args.size() == 1)
        return Scan(args[0], count);
    Out("usage: lorvex-host scan OUT.png [--count N]   (N: pages, -1 for all the source has)\n");
    return 2;
}


// Scans a bundled page through the tests' stand-in manager, whose folder
// scripts/demo.sh names (with Wine's own manager switched off).
void Demo(const WCHAR* samples, const WCHAR* output)
{
    Heading("lorvex-host scan");
    WCHAR folder[MAX_PATH];
    if (!GetEnvironmentVariableW(L"LORVEX_TWAIN_STANDIN_DIR", folder, MAX_PATH)) {
        Out("skipped: no stand-in source manager named (scripts/demo.sh names one)\n");
        return;
    }
    if (HMODULE system = LoadLibraryExW(L"TWAIN_32.DLL", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        FreeLibrary(system);
        Out("skipped: the system's own TWAIN manager answers first (WINEDLLOVERRIDES=twain_32=n turns it off)\n");
        return;
    }
    const lorvex::WString page = JoinPath(samples, L"img2.bmp");
    const lorvex::WString script = JoinPath(output, L"scan-script.txt");
    const lorvex::WString out = JoinPath(output, L"scan.png");
    const std::string text = "log " + Utf8(JoinPath(output, L"scan-triplets.txt").c_str()) + "\nimage done " +
                             Utf8(page.c_str()) + "\ncloserequest\n";
    if (!WriteBytes(script.c_str(), text.data(), text.size(), true))
        return;
    SetEnvironmentVariableW(L"TWAIN_STANDIN_SCRIPT", script.c_str());
    SetDllDirectoryW(folder);
    Out("img2.bmp as the page the stand-in source scans: ");
    const int rc = RunCommand("scan", {out.c_str()});
    SetDllDirectoryW(nullptr);
    SetEnvironmentVariableW(L"TWAIN_STANDIN_SCRIPT", nullptr);
    if (rc == 0) {
        Magick::Image saved;
        ReadPicture(out.c_str(), saved);
        Out("  scan.png read back: %zu x %zu\n", saved.columns(), saved.rows());
    }
}

HostCommand scan("scan", "OUT.png [--count N]  acquire from a TWAIN source and save the picture", Run, Demo, 90);

}  // namespace
