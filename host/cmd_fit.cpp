// lorvex-host fit: fits pictures into a bounding box with the batch-resize
// options (CDlgBatchResize::BatchResizing on each Magick++ image) and writes
// them into a folder. Nothing that already exists is ever overwritten, inputs
// included; an unreadable picture is reported and skipped.
#include "host.h"

#include <lorvexops/lorvexops.h>
#include <Magick++.h>
#include <shlwapi.h>
#include <cstring>
#include <vector>

namespace {

const char kUsage[] =
    "usage: lorvex-host fit --bound WxH [--enlarge] [--shrink] [--no-constrain] [--filter NAME] IN... OUTDIR\n";

// The batch options as the dialog would leave them after OK.
class FitOptions : public CDlgBatchResize {
public:
    FitOptions() : CDlgBatchResize(nullptr) { m_imageProp.filter = Magick::LanczosFilter; }
    bool ParseBound(const WCHAR* text)
    {
        // Up to five digits a side, as the dialog's bound edits take.
        UINT sides[2] = {0, 0};
        int side = 0, digits = 0;
        for (; *text; ++text) {
            if (*text >= L'0' && *text <= L'9' && digits < 5) {
                sides[side] = sides[side] * 10 + (*text - L'0');
                ++digits;
            } else if ((*text == L'x' || *text == L'X') && side == 0 && digits) {
                side = 1;
                digits = 0;
            } else {
                return false;
            }
        }
        if (side != 1 || !digits)
            return false;
        m_dwWidth = sides[0];
        m_dwHeight = sides[1];
        return true;
    }
    bool ParseFilter(const WCHAR* name)
    {
        ssize_t filter = MagickCore::ParseCommandOption(MagickCore::MagickFilterOptions, MagickCore::MagickFalse,
                                                        Utf8(name).c_str());
        if (filter <= MagickCore::UndefinedFilter || filter >= MagickCore::SentinelFilter)
            return false;
        m_imageProp.filter = static_cast<int>(filter);
        return true;
    }
    bool& enlarge() { return m_bEnlarge; }
    bool& shrink() { return m_bShrink; }
    bool& constrain() { return m_bConstrain; }
};

int Fit(const HostContext& context)
{
    FitOptions options;
    bool bound = false;
    std::vector<const WCHAR*> paths;
    const auto& args = context.args;
    for (size_t i = 0; i < args.size(); ++i) {
        const WCHAR* arg = args[i];
        bool ok = true;
        if (!lstrcmpW(arg, L"--bound"))
            ok = bound = i + 1 < args.size() && options.ParseBound(args[++i]);
        else if (!lstrcmpW(arg, L"--filter"))
            ok = i + 1 < args.size() && options.ParseFilter(args[++i]);
        else if (!lstrcmpW(arg, L"--enlarge"))
            options.enlarge() = true;
        else if (!lstrcmpW(arg, L"--shrink"))
            options.shrink() = true;
        else if (!lstrcmpW(arg, L"--no-constrain"))
            options.constrain() = false;
        else if (arg[0] == L'-' && arg[1] == L'-')
            ok = false;
        else
            paths.push_back(arg);
        if (!ok) {
            Out("%s", kUsage);
            return 2;
        }
    }
    // As in the dialog, a box needs a direction to be fitted to.
    if (!bound || paths.size() < 2 || !(options.enlarge() || options.shrink())) {
        Out("%s", kUsage);
        return 2;
    }
    const WCHAR* folder = paths.back();
    paths.pop_back();
    CreateDirectoryW(folder, nullptr);
    if (!PathIsDirectoryW(folder)) {
        Out("%s", kUsage);
        return 2;
    }

    int failures = 0;
    for (const WCHAR* path : paths) {
        OutW(PathFindFileNameW(path));
        Magick::Image image;
        if (!ReadPicture(path, image)) {
            Out(": unreadable, skipped\n");
            ++failures;
            continue;
        }
        Out(": %zu x %zu", image.columns(), image.rows());
        options.BatchResizing(&image);
        Out(" -> %zu x %zu", image.columns(), image.rows());
        lorvex::WString target = JoinPath(folder, PathFindFileNameW(path));
        if (GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES) {
            Out(", not written: ");
            OutW(target.c_str());
            Out(" exists\n");
            ++failures;
        } else if (!WritePicture(image, target.c_str(), false)) {
            Out(", cannot write\n");
            ++failures;
        } else {
            Out("\n");
        }
    }
    return failures ? 1 : 0;
}

void FitDemo(const WCHAR* samples, const WCHAR* output)
{
    Heading("lorvex-host fit --bound 64x64 --enlarge --shrink SAMPLES\\* OUT\\fit");
    lorvex::WString folder = JoinPath(output, L"fit");
    std::vector<lorvex::WString> inputs = ListFiles(samples);
    // The demo's own earlier results, which fit never overwrites.
    for (const lorvex::WString& input : inputs)
        DeleteFileW(JoinPath(folder.c_str(), PathFindFileNameW(input.c_str())).c_str());
    std::vector<const WCHAR*> args = {L"--bound", L"64x64", L"--enlarge", L"--shrink"};
    for (const lorvex::WString& input : inputs)
        args.push_back(input.c_str());
    args.push_back(folder.c_str());
    RunCommand("fit", args);
}

HostCommand fit("fit", "--bound WxH [--enlarge] [--shrink] [--no-constrain] [--filter NAME] IN... OUTDIR\n"
                "             fits pictures into a box and writes them (never over an existing file)",
                Fit, FitDemo, 60);

}  // namespace
