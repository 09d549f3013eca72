// lorvexops public interface: listview.
//
// CSortedListCtrl turns a report-style list-view control of a dialog into a
// typed, sortable table: beside every row it keeps a record with one text per
// column and, per column, a value of the column's type, so a header click
// sorts by the true value (ascending first, reversed on each further click of
// the same header). It also edits cells in place on a single click, moves one
// row up or down and tracks whether the table changed.
//
// One attached instance per process at a time: the replacement window
// procedures reach the object through the class-wide pActiveList.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <vector>

enum enColumnType {
    COLUMN_INTEGER = 0,    // 32-bit signed value, shown in decimal
    COLUMN_FILESIZE = 1,   // 64-bit byte count, shown as the shell's byte-size text
    COLUMN_TEXT = 2,       // the text only, compared ignoring case (lstrcmpiW)
    COLUMN_FILETIME = 3    // UTC FILETIME, shown as local short date and time
};

struct ColumnInfo {
    BOOL bEditable;        // non-zero: a click on a cell opens the editor
    enColumnType type;
};

class CSortedListCtrl {
public:
    // The record behind one row (the row's item parameter points to it). The
    // list owns it: a record made with new, its four arrays with new[] of the
    // list's column count, each text with new WCHAR[]. A null text reads as
    // empty.
    struct ItemData {
        WCHAR** texts;
        int* intValues;
        LONGLONG* sizeValues;
        FILETIME* timeValues;
        void* userData;                // the owner's; released with the row
        void (*userDeleter)(void*);    // how userData is released (see SetItemData)
    };
    using NumericHook = void (*)(int row, int value);

    CSortedListCtrl();
    // Member by member, window handles and column table included; row records
    // are not copied, so only one of the copies may outlive the rows.
    CSortedListCtrl(const CSortedListCtrl& other) = default;
    CSortedListCtrl& operator=(const CSortedListCtrl& other) = default;

    // Attaches to an existing report-style list view: subclasses it, takes
    // its header, sets full-row select and grid lines. bThemedHeader says
    // whether the header draws the sort arrow itself (common controls 6) or
    // the list draws the header items; an owner may change it afterwards.
    virtual void Create(HWND list);
    // Opens the in-place editor over the cell when its column is editable;
    // otherwise only selects and reveals the row. One editor at a time.
    virtual void EditSubItem(int row, int column);
    // Hooks for derived classes; they do nothing here.
    virtual void CreateAdditionalControls(int, int);
    virtual void DestroyAdditionalControls(int, int);
    // Releases every row record, then the column table.
    virtual ~CSortedListCtrl();

    // ---- columns (all of them before the first row) ----------------------
    // Appends a column; format is an LVCFMT_ alignment. Returns the column
    // number, or -1 when rows exist already (their records would be short).
    int InsertColumn(const WCHAR* title, int width, enColumnType type, int format, int editable);

    // ---- rows -------------------------------------------------------------
    // Appends a row: first is a path or text (column 0 shows its last path
    // component), then one argument per further column by its type: int for
    // COLUMN_INTEGER, LONGLONG for COLUMN_FILESIZE, const WCHAR* for
    // COLUMN_TEXT, const FILETIME* for COLUMN_FILETIME. Pass the 64-bit sizes
    // as LONGLONG (a plain int literal would be read wrongly). Returns the row,
    // or -1 for an empty or null first text.
    int AddItem(const WCHAR* first, ...);
    // A plain row without a record (give it one with SetItemDataEx before
    // sorting); row -1 appends. Returns the new row.
    int InsertItem(const WCHAR* text, int row);
    // Shows record's texts in the existing row and makes it the row's record;
    // the former record is not released. Returns the row.
    int AddItemEx(ItemData* record, int row);
    int SetItemDataEx(int row, ItemData* record);
    ItemData* GetItemDataEx(int row);            // null when there is no such row
    // Hands the list an object to keep with the row and release with it.
    // Without a deleter, data is a block of the process heap (HeapAlloc),
    // released with HeapFree; with one, the list calls deleter(data) (a null
    // deleter: the list only forgets the pointer). A former object of the row
    // is released first. Nothing happens when the row has no record.
    void SetItemData(int row, void* data);
    void SetItemData(int row, void* data, void (*deleter)(void*));
    void* GetItemData(int row);                  // null when the row has no record
    WCHAR** GetTextArray(int row);               // the record's texts, or null
    // Sets a cell's text; integer and file-size columns re-read their value
    // from it (leading blanks, sign, digits; 0 when none).
    void SetItemText(int row, int column, const WCHAR* text);

    void DeleteItem(int row);
    void DeleteAllItems();                       // leaves bModified as it was
    void DeleteAllSelectedItems();               // off when bDeleteDisabled is 1
    // Releases the row's record and its object; the row stays, without one.
    void FreeItemMemory(int row);

    // ---- sorting ----------------------------------------------------------
    void Sort(int column, int ascending);
    void BeginSort(int column);                  // what a header click does
    void Resort();
    static int CALLBACK CompareFunction(LPARAM a, LPARAM b, LPARAM sortParam);
    static int NumberCompare(LONGLONG a, LONGLONG b);
    void SetSortArrow();

    void SetModified(BOOL modified) { bModified = modified; }
    BOOL IsModified() const { return bModified; }
    void SetNumericHook(NumericHook hook) { pfnNumericHook = hook; }

    void SelectAllItems();
    int GetFirstSelItem() const;
    int GetItemCount();

    // ---- window side ------------------------------------------------------
    static LRESULT CALLBACK ListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Move the single selected row by one place: 1 moved, 0 not (several
    // selected rows are refused with a message box).
    int MoveItemUp();
    int MoveItemDown();
    void ExchangeImages(int rowA, int rowB);
    // Draws one owner-drawn header item, with the arrow on the sort column.
    int OnDrawItem(int id, DRAWITEMSTRUCT* item);
    int OnDestroy();                             // DeleteAllItems; returns 1

    HWND hHeader;
    HWND hList;
    HWND hEdit;
    int nSortColumn;
    int nColumns;
    int nEditItem;
    int nEditSubItem;
    BOOL bAscending;
    BOOL bModified;
    std::vector<ColumnInfo> columns;
    NumericHook pfnNumericHook;
    BYTE bDeleteDisabled;                        // exactly 1 switches the Delete key off
    int nArrowColumn;
    DWORD nArrowFormat;
    BOOL bThemedHeader;

    static WNDPROC oldListProc;
    static WNDPROC oldEditProc;
    static WNDPROC oldHeaderProc;                // never set: the header is not subclassed
    static CSortedListCtrl* pActiveList;
    static BOOL bEditCancelled;

private:
    void Commit(const WCHAR* text);
    int MoveItem(int step);
};
