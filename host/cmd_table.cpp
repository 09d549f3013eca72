// lorvex-host table: a folder's pictures in a sorted list view (name, size,
// date, index), sorted by a click on a column header as a user would.
#include "host.h"

#include <lorvexops/lorvexops.h>
#include <commctrl.h>

namespace {

enum { kName, kSize, kDate, kIndex };

const struct { const WCHAR* name; int column; } kSortKeys[] = {
    {L"name", kName}, {L"size", kSize}, {L"date", kDate},
};

INT_PTR CALLBACK HiddenDialog(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

// An empty dialog template: the list is added as its child.
struct EmptyTemplate {
    DLGTEMPLATE header = {WS_POPUP | DS_SETFONT, 0, 0, 0, 0, 320, 200};
    WORD menu = 0, windowClass = 0, title = 0, pointSize = 8;
    WCHAR font[14] = L"MS Shell Dlg";
};

void ClickHeader(HWND header, int column)
{
    RECT rect = {};
    SendMessageW(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&rect));
    const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(header, WM_LBUTTONUP, 0, at);
}

int Table(const HostContext& context)
{
    if (context.args.empty()) {
        Out("usage: lorvex-host table DIR [--sort name|size|date] [--descending]\n");
        return 2;
    }
    const WCHAR* key = L"name";
    bool descending = false;
    if (!ParseFolderArguments(context, L"--descending", &key, &descending))
        return 2;
    int column = -1;
    for (const auto& k : kSortKeys)
        if (!lstrcmpiW(key, k.name))
            column = k.column;
    if (column < 0) {
        Out("unknown sort key: %s\n", Utf8(key).c_str());
        return 2;
    }

    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    EmptyTemplate empty;
    HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &empty.header, nullptr, HiddenDialog, 0);
    // Visible inside the hidden dialog, so the header lays its items out.
    HWND listWindow = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 600, 400, dialog, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
    if (!listWindow) {
        Out("cannot create the list view\n");
        DestroyWindow(dialog);
        return 1;
    }
    int result = 0;
    {
        CSortedListCtrl table;
        table.Create(listWindow);
        table.InsertColumn(L"Name", 200, COLUMN_TEXT, LVCFMT_LEFT, 0);
        table.InsertColumn(L"Size", 80, COLUMN_FILESIZE, LVCFMT_RIGHT, 0);
        table.InsertColumn(L"Date", 140, COLUMN_FILETIME, LVCFMT_LEFT, 0);
        table.InsertColumn(L"Index", 50, COLUMN_INTEGER, LVCFMT_RIGHT, 0);

        GetOpenFilter();   // the folder list enumerates the filter's extensions
        SortDir folder;
        folder.InitializeSortDir(context.args[0], 0);
        folder.CreateSortedImageList();
        const std::vector<CFileEntry*>& files = *folder.GetFileList();
        for (size_t i = 0; i < files.size(); ++i) {
            const CFileEntry* file = files[i];
            table.AddItem(file->pName->c_str(), static_cast<LONGLONG>(file->dwSize), &file->ftLastWrite,
                          static_cast<int>(i));
        }

        ClickHeader(table.hHeader, column);
        if (descending)
            ClickHeader(table.hHeader, column);
        if (table.nSortColumn != column) {
            Out("the header click did not sort the list\n");
            result = 1;
        }
        Out("%d pictures, by %s, %s\n", table.GetItemCount(), Utf8(kSortKeys[column].name).c_str(),
            table.bAscending ? "ascending" : "descending");
        for (int row = 0; row < table.GetItemCount(); ++row) {
            WCHAR** texts = table.GetTextArray(row);
            if (!texts)
                continue;
            Out("  %5s  %12s  %-22s  ", Utf8(texts[kIndex]).c_str(), Utf8(texts[kSize]).c_str(),
                Utf8(texts[kDate]).c_str());
            OutW(texts[kName]);
            Out("\n");
        }
    }
    DestroyWindow(dialog);
    return result;
}

void TableDemo(const WCHAR* samples, const WCHAR*)
{
    Heading("lorvex-host table (the samples by size, largest first)");
    const WCHAR* args[] = {samples, L"--sort", L"size", L"--descending"};
    RunCommand("table", std::vector<const WCHAR*>(args, args + 4));
}

HostCommand table("table", "DIR [--sort name|size|date] [--descending]   a sorted list view of a folder's pictures",
                  Table, TableDemo, 55);

}  // namespace
