// The open and save dialogs on the library's one file dialog record. The save
// dialog proposes the picture's own name and type and carries the
// "Advanced options" panel with the compression list.
#include "win/guard.h"
#include <windows.h>
#include <commdlg.h>
#include <shlwapi.h>

#include <Magick++.h>

#include "filetypes/filetypes_internal.h"
#include "lorvexops/filetypes.h"
#include "lorvexops/hostrecords.h"
#include "resources/compression_ids.h"
#include "resources/module.h"

namespace {

// Proposes the picture's name in file and picks the filter and default
// extension of its type.
void ProposeName(OPENFILENAMEW& record, WCHAR* file, HostPictureRecord* picture)
{
    if (!picture || !file || record.nMaxFile == 0)
        return;
    const lorvex::SaveProposal proposal = lorvex::ProposeSaveName(
        picture->currentFileName, picture->picture.magick(), record.lpstrDefExt, record.nFilterIndex);
    lstrcpynW(file, proposal.file.c_str(), static_cast<int>(record.nMaxFile));
    record.nFilterIndex = proposal.filterIndex;
    record.lpstrDefExt = proposal.defaultExtension;
}

}  // namespace

extern "C" int DibFileOpenDlg(HWND owner, WCHAR* file, WCHAR* title)
{
    return lorvex::Guarded<int>(0, [&]() -> int {
        OPENFILENAMEW& record = lorvex::FileDialogRecord();
        record.lStructSize = lorvex::kFileDialogRecordSize;
        record.hwndOwner = owner;
        record.lpstrFilter = lorvex::OpenFilterText(true);
        record.lpstrFile = file;
        record.lpstrFileTitle = title;
        record.Flags = OFN_FILEMUSTEXIST;
        return GetOpenFileNameW(&record);
    });
}

extern "C" int DibFileSaveDlg(HWND owner, WCHAR* file, WCHAR* title, HostSaveContext* saveContext)
{
    return lorvex::Guarded<int>(0, [&]() -> int {
        OPENFILENAMEW& record = lorvex::FileDialogRecord();
        record.lStructSize = lorvex::kFileDialogRecordSize;
        record.hwndOwner = owner;
        record.hInstance = lorvex::ModuleInstance();
        record.lpstrFilter = szSaveFilter;
        record.lpstrFile = file;
        record.lpstrFileTitle = title;
        record.Flags = OFN_OVERWRITEPROMPT | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_EXPLORER;
        record.lCustData = reinterpret_cast<LPARAM>(saveContext);
        record.lpfnHook = lorvex::AdvancedOptionsHook;
        record.lpTemplateName = MAKEINTRESOURCEW(IDD_ADVANCED_OPTIONS);
        ProposeName(record, file, saveContext ? lorvex::PictureRecordOf(saveContext->document) : nullptr);
        return GetSaveFileNameW(&record);
    });
}
