// lorvex-host filters: the open filters (with and without the portfolio type)
// and the save filter, one description/pattern pair a line, zeros shown as '|'.
#include "host.h"

#include <lorvexops/lorvexops.h>

namespace {

// Prints the pairs of a filter text up to its closing empty string.
void PrintFilter(const char* title, const WCHAR* text)
{
    Out("%s\n", title);
    if (!text) {
        Out("  (none)\n");
        return;
    }
    while (*text) {
        const WCHAR* pattern = text + lstrlenW(text) + 1;
        Out("  ");
        OutW(text);
        Out("|");
        OutW(pattern);
        Out("|\n");
        if (!*pattern)
            return;
        text = pattern + lstrlenW(pattern) + 1;
    }
    Out("  |   (end of list)\n");
}

int Filters(const HostContext& context)
{
    for (const WCHAR* ext : context.args)
        RegisterFileExtension(ext);
    PrintFilter("open filter:", GetOpenFilter());
    PrintFilter("open filter without LVX:", GetOpenFilterWithoutLVX());
    PrintFilter("save filter:", szSaveFilter);
    Out("extensions a folder list enumerates:");
    for (const WCHAR* ext : szSupportedFilesFilter) {
        Out(" ");
        OutW(ext);
    }
    Out("\n\ncompression choices of each save type:\n");
    return RunCommand("compression", {});
}

void FiltersDemo(const WCHAR*, const WCHAR*)
{
    Heading("lorvex-host filters");
    Filters(HostContext());
}

HostCommand filters("filters", "[EXT...]     the open and save filters (after registering plug-in EXTs) and compression choices",
                    Filters, FiltersDemo, 40);

}  // namespace
