// The sorted list view with 10,000 rows of four typed columns: adding the
// rows, and sorting them by each column through BeginSort, against the list
// view's own LVM_SORTITEMSEX with a trivial comparison of the same rows in
// the same run.
//   bench_listview.exe [ROWS]
#include <lorvexops/lorvexops.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <cstdio>
#include <random>
#include <vector>

#include "timing.h"

namespace {

const int kRuns = 5;

struct Row {
    WCHAR name[32];
    LONGLONG size;
    FILETIME time;
    int index;
};

std::vector<Row> MakeRows(int count)
{
    std::mt19937 random(12);
    std::vector<Row> rows(count);
    for (int i = 0; i < count; ++i) {
        Row& row = rows[i];
        wsprintfW(row.name, i % 2 ? L"Picture %06u.jpg" : L"picture %06u.png", random() % 1000000);
        row.size = static_cast<LONGLONG>(random() % 50000000);
        ULARGE_INTEGER time;
        time.QuadPart = 132000000000000000ULL + (static_cast<ULONGLONG>(random()) << 20);
        row.time.dwLowDateTime = time.LowPart;
        row.time.dwHighDateTime = time.HighPart;
        row.index = static_cast<int>(random() % 100000) - 50000;
    }
    return rows;
}

void Fill(CSortedListCtrl& list, const std::vector<Row>& rows)
{
    for (const Row& row : rows)
        list.AddItem(row.name, row.size, &row.time, row.index);
}

// Trivial, but not a no-op: a fixed scramble of the two row numbers (or item
// parameters), so the platform sort does its full number of comparisons.
int CALLBACK TrivialCompare(LPARAM a, LPARAM b, LPARAM)
{
    const unsigned x = static_cast<unsigned>(a) * 2654435761u, y = static_cast<unsigned>(b) * 2654435761u;
    return x < y ? -1 : (x > y ? 1 : 0);
}

}  // namespace

int main()
{
    int argc = 0;
    WCHAR** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const int count = argv && argc > 1 ? StrToIntW(argv[1]) : 10000;
    if (!LorvexGetModuleInstance() || count <= 0)
        return 1;
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    HWND frame = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr);
    HWND window = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 800, 600, frame,
                                  nullptr, nullptr, nullptr);
    CSortedListCtrl list;
    list.Create(window);
    list.InsertColumn(L"Name", 200, COLUMN_TEXT, LVCFMT_LEFT, 0);
    list.InsertColumn(L"Size", 80, COLUMN_FILESIZE, LVCFMT_RIGHT, 0);
    list.InsertColumn(L"Date", 140, COLUMN_FILETIME, LVCFMT_LEFT, 0);
    list.InsertColumn(L"Index", 60, COLUMN_INTEGER, LVCFMT_RIGHT, 0);
    const std::vector<Row> rows = MakeRows(count);

    const char* columnNames[] = {"name (text)", "size", "date", "index (integer)"};
    std::vector<double> add, addNoRedraw, baseline, plainBaseline, sorts[4];
    for (int run = 0; run < kRuns; ++run) {
        list.DeleteAllItems();
        double start = Now();
        Fill(list, rows);
        add.push_back(Now() - start);

        list.DeleteAllItems();
        start = Now();
        SendMessageW(window, WM_SETREDRAW, FALSE, 0);
        Fill(list, rows);
        SendMessageW(window, WM_SETREDRAW, TRUE, 0);
        addNoRedraw.push_back(Now() - start);

        for (int column = 0; column < 4; ++column) {
            start = Now();
            list.BeginSort(column);
            sorts[column].push_back(Now() - start);
        }
        start = Now();
        SendMessageW(window, LVM_SORTITEMSEX, 0, reinterpret_cast<LPARAM>(TrivialCompare));
        baseline.push_back(Now() - start);
        start = Now();
        SendMessageW(window, LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(TrivialCompare));
        plainBaseline.push_back(Now() - start);
    }

    const double base = Median(baseline);
    std::printf("%d rows, medians of %d runs\n", count, kRuns);
    std::printf("%-44s %9.1f ms\n", "AddItem, every row", Median(add) * 1000);
    std::printf("%-44s %9.1f ms\n", "AddItem, every row, WM_SETREDRAW off", Median(addNoRedraw) * 1000);
    std::printf("%-44s %9.1f ms  1.00\n", "LVM_SORTITEMSEX, trivial comparison", base * 1000);
    std::printf("%-44s %9.1f ms  %.2f\n", "LVM_SORTITEMS, trivial comparison", Median(plainBaseline) * 1000,
                Median(plainBaseline) / base);
    for (int column = 0; column < 4; ++column) {
        char label[64];
        std::snprintf(label, sizeof label, "BeginSort by %s", columnNames[column]);
        std::printf("%-44s %9.1f ms  %.2f\n", label, Median(sorts[column]) * 1000, Median(sorts[column]) / base);
    }
    list.DeleteAllItems();
    DestroyWindow(frame);
    return 0;
}
