// lorvex-host settings: the exported option tables as a host reads them, and
// (with "sheet") the "File Save Options" sheet that edits the JPEG and PNG rows.
#include "host.h"

#include <lorvexops/lorvexops.h>
#include <cstring>

namespace {

void PrintSaveRow(int row)
{
    const SAVEOPTIONS& option = gSO[row];
    Out("  [%d] %-24s %6d   ids %d/%d\n", row, Utf8(option.szName).c_str(), option.nValue,
        option.nFirstID, option.nSecondID);
}

void PrintRows()
{
    Out("record sizes: VIEWOPTIONS %zu, tagBOOL_OPTIONS %zu, SAVEOPTIONS %zu bytes\n",
        sizeof(VIEWOPTIONS), sizeof(BOOL_OPTIONS), sizeof(SAVEOPTIONS));
    Out("gSO, the rows the save-options sheet edits:\n");
    for (int row : {SO_JPG_QUALITY, SO_JPG_LOSSLESS, SO_JPG_TRIM, SO_JPG_PROGRESSIVE,
                    SO_PNG_QUALITY, SO_PNG_INTERLACED, SO_PNG_FILTER})
        PrintSaveRow(row);
    Out("gSO[%d] %s = %d, text \"%s\"\n", SO_SAVE_ARM_APPEND, Utf8(gSO[SO_SAVE_ARM_APPEND].szName).c_str(),
        gSO[SO_SAVE_ARM_APPEND].nValue, Utf8(gSO[SO_SAVE_ARM_APPEND].szText).c_str());
    Out("gVO: %d rows, first \"%s\" = %d (id %lu), last \"%s\" = %d (id %lu)\n", LORVEX_VO_ROWS,
        Utf8(gVO[0].szName).c_str(), gVO[0].nValue, static_cast<unsigned long>(gVO[0].dwID),
        Utf8(gVO[LORVEX_VO_ROWS - 1].szName).c_str(), gVO[LORVEX_VO_ROWS - 1].nValue,
        static_cast<unsigned long>(gVO[LORVEX_VO_ROWS - 1].dwID));
    Out("gVSO[%d] \"%s\" = %d\n", VSO_OPEN_FILE_OUT_EXT, Utf8(gVSO[VSO_OPEN_FILE_OUT_EXT].szName).c_str(),
        gVSO[VSO_OPEN_FILE_OUT_EXT].nValue);
    Out("gTO[1] \"%s\" = %d, gBO[0] \"%s\" = %d, Lorvex3DOptions[3] \"%s\" = %d\n",
        Utf8(gTO[1].szName).c_str(), gTO[1].nValue, Utf8(gBO[0].szName).c_str(), gBO[0].bValue ? 1 : 0,
        Utf8(Lorvex3DOptions[3].szName).c_str(), Lorvex3DOptions[3].nValue);
    Out("gFA: %d rows, %s -> %s ... %s -> %s\n", LORVEX_FA_ROWS, Utf8(gFA[0].szExt).c_str(),
        Utf8(gFA[0].szProgID).c_str(), Utf8(gFA[LORVEX_FA_ROWS - 1].szExt).c_str(),
        Utf8(gFA[LORVEX_FA_ROWS - 1].szProgID).c_str());
}

int Settings(const HostContext& context)
{
    // Found by name, as a host that loads the library at run time does.
    HMODULE module = LoadLibraryW(L"lorvexops.dll");
    bool same = module && GetProcAddress(module, "gSO") == static_cast<void*>(gSO);
    Out("gSO by GetProcAddress is the linked table: %s\n", same ? "yes" : "no");
    PrintRows();
    if (!context.args.empty() && lstrcmpiW(context.args[0], L"sheet") == 0) {
        Out("\nopening \"File Save Options\"...\n");
        int result = DlgDlgFileSaveOptions(nullptr);
        Out("the sheet returned %d\n", result);
        for (int row : {SO_JPG_QUALITY, SO_JPG_LOSSLESS, SO_JPG_TRIM, SO_JPG_PROGRESSIVE,
                        SO_PNG_QUALITY, SO_PNG_INTERLACED, SO_PNG_FILTER})
            PrintSaveRow(row);
    }
    return 0;
}

void SettingsDemo(const WCHAR*, const WCHAR*)
{
    Heading("lorvex-host settings");
    Settings(HostContext());
}

HostCommand settings("settings", "[sheet]       the option tables; \"sheet\" opens File Save Options",
                     Settings, SettingsDemo, 30);

}  // namespace
