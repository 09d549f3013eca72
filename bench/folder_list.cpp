// Building a folder's picture list of 100,000 files against one plain
// directory pass over the same folder in the same process, and sorting the
// list in every order.
//   bench/make_folder_list_data.sh /tmp/lorvex-bench-folder
//   bench_folder_list.exe 'Z:\tmp\lorvex-bench-folder'
// The folder holds 100,000 files of mixed types (pictures in several
// spellings, other types, names without an extension).
#include <lorvexops/lorvexops.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "timing.h"

namespace {

const int kRuns = 5;

struct Found {
    std::u16string path;
    DWORD size;
};

// The baseline: one search over every name, keeping full paths and sizes.
size_t PlainPass(const MyString& folder, std::vector<Found>& found)
{
    found.clear();
    MyString pattern = folder + L"\\*";
    std::u16string base(reinterpret_cast<const char16_t*>(folder.c_str()));
    base += u'\\';
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(pattern.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        found.push_back({base + reinterpret_cast<const char16_t*>(data.cFileName), data.nFileSizeLow});
    } while (FindNextFileW(search, &data));
    FindClose(search);
    return found.size();
}

}  // namespace

int main()
{
    int argc = 0;
    WCHAR** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    MyString folder;
    if (argv && argc > 1) {
        folder = argv[1];
    } else {
        WCHAR temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder = MyString(temp) + L"lorvex-bench-folder";
    }
    MyString marker = folder + L"\\img000000.jpg";
    if (GetFileAttributesW(marker.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::printf("no test folder: run bench/make_folder_list_data.sh first\n");
        return 1;
    }
    GetOpenFilter();

    std::vector<double> plain, library;
    size_t plainCount = 0, listCount = 0;
    for (int run = 0; run < kRuns; ++run) {
        std::vector<Found> found;
        double start = Now();
        plainCount = PlainPass(folder, found);
        plain.push_back(Now() - start);

        SortDir list;
        start = Now();
        list.InitializeSortDir(folder.c_str(), 0);
        list.CreateSortedImageList();
        library.push_back(Now() - start);
        listCount = list.GetLengthFileList();
    }
    double base = Median(plain);
    std::printf("one FindFirstFileW(\"*\") pass:              %8.1f ms  (%zu names)\n", base * 1000, plainCount);
    std::printf("InitializeSortDir + CreateSortedImageList: %8.1f ms  (%zu entries)  ratio %.2f\n",
                Median(library) * 1000, listCount, Median(library) / base);

    // Sorting the built list again in each order, from a shuffled order.
    SortDir list;
    list.InitializeSortDir(folder.c_str(), 0);
    list.CreateSortedImageList();
    std::vector<CFileEntry*> original = list.fileList;
    std::shuffle(original.begin(), original.end(), std::mt19937(12345));
    const char* names[] = {"name", "extension", "size", "date"};
    for (DWORD mode = 0; mode < 4; ++mode) {
        for (BOOL ascending : {TRUE, FALSE}) {
            gdwSortingMode = mode;
            bSortAscending = ascending;
            std::vector<double> times;
            for (int run = 0; run < kRuns; ++run) {
                std::vector<CFileEntry*> entries = original;
                double start = Now();
                std::sort(entries.begin(), entries.end(), FileEntryBefore);
                times.push_back(Now() - start);
            }
            std::printf("sort by %-9s %-10s %8.1f ms  ratio %.2f\n", names[mode],
                        ascending ? "ascending" : "descending", Median(times) * 1000, Median(times) / base);
        }
    }
    gdwSortingMode = SORT_BY_NAME;
    bSortAscending = TRUE;
    return 0;
}
