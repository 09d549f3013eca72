// The open and save dialogs on the library's one file dialog record. The save
// dialog proposes the picture's own name and type and carries the
// "Advanced options" panel with the compression list.
#include <windows.h>
#include <commdlg.h>
#include <shlwapi.h>

#include <Magick++.h>

#include "filetypes/filters_internal.h"
#include "lorvexops/filetypes.h"
#include "lorvexops/hostrecords.h"
#include "resize/compression_internal.h"
#include "resources/compression_ids.h"
#include "resources/module.h"

namespace {

// The platform's own record size: 64-bit comdlg32 refuses the 32-bit size
// (88) with CDERR_STRUCTSIZE, and 88 is what this expression gives there.
constexpr DWORD kRecordSize = sizeof(OPENFILENAMEW);

HostPictureRecord* PictureRecordOf(const HostSaveContext* context)
{
    if (!context || !context->document || !IsWindow(context->document))
        return nullptr;
    return reinterpret_cast<HostPictureRecord*>(GetWindowLongPtrW(context->document, GWLP_USERDATA));
}

// Proposes the picture's name in file and picks the filter and default
// extension of its type; a type that cannot be saved is offered without its
// extension under the filter of the last saved type.
void ProposeName(OPENFILENAMEW& record, WCHAR* file, HostPictureRecord* picture)
{
    if (!picture || !file || record.nMaxFile == 0)
        return;
    lstrcpynW(file, picture->currentFileName, static_cast<int>(record.nMaxFile));

    WCHAR extension[lorvex::kExtensionBufferSize] = {};
    lorvex::TrimmedExtension(picture->currentFileName, extension);
    MyString wanted = extension;
    if (*PathFindExtensionW(picture->currentFileName) == 0)
        wanted = CStrAW::a_toW(picture->picture.magick());

    int index = lorvex::FindSaveTypeIgnoringCase(wanted.c_str());
    if (index >= 0) {
        record.lpstrDefExt = szSaveFilter2[index];
        record.nFilterIndex = index + 1;
        return;
    }
    PathRemoveExtensionW(file);
    if (record.lpstrDefExt && *record.lpstrDefExt) {
        int last = lorvex::FindSaveTypeIgnoringCase(record.lpstrDefExt);
        if (last >= 0)
            record.nFilterIndex = last + 1;
    }
}

}  // namespace

extern "C" int DibFileOpenDlg(HWND owner, WCHAR* file, WCHAR* title)
{
    try {
        OPENFILENAMEW& record = lorvex::FileDialogRecord();
        record.lStructSize = kRecordSize;
        record.hwndOwner = owner;
        record.lpstrFilter = lorvex::OpenFilterText(true);
        record.lpstrFile = file;
        record.lpstrFileTitle = title;
        record.Flags = OFN_FILEMUSTEXIST;
        return GetOpenFileNameW(&record);
    } catch (...) {
        return 0;
    }
}

extern "C" int DibFileSaveDlg(HWND owner, WCHAR* file, WCHAR* title, HostSaveContext* saveContext)
{
    try {
        OPENFILENAMEW& record = lorvex::FileDialogRecord();
        record.lStructSize = kRecordSize;
        record.hwndOwner = owner;
        record.hInstance = lorvex::ModuleInstance();
        record.lpstrFilter = szSaveFilter;
        record.lpstrFile = file;
        record.lpstrFileTitle = title;
        record.Flags = OFN_OVERWRITEPROMPT | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_EXPLORER;
        record.lCustData = reinterpret_cast<LPARAM>(saveContext);
        record.lpfnHook = lorvex::AdvancedOptionsHook;
        record.lpTemplateName = MAKEINTRESOURCEW(IDD_ADVANCED_OPTIONS);
        ProposeName(record, file, PictureRecordOf(saveContext));
        return GetSaveFileNameW(&record);
    } catch (...) {
        return 0;
    }
}
