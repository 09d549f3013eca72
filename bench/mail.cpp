// The archive step of "&Send E-mail" with zip on: CZLib packing 50 JPEG
// pictures of about 2 MB, against the zip program storing (zip -0) and
// deflating (zip) the same files, in the same run, warm cache for all. With
// the tests' stand-in mail library (WINEDLLOVERRIDES="mapi32=n,b"), also the
// whole send through the dialog, where the stand-in copies the archive it is
// handed.
//   bench_mail.exe [UNIX_FOLDER [COUNT]]
#include <lorvexops/lorvexops.h>
#include "timing.h"

#include <Magick++.h>
#include <shlwapi.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

// Median seconds of runs of work.
double Timed(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double start = Now();
        work();
        times.push_back(Now() - start);
    }
    return Median(times);
}

// The Win32 form of a Unix path (drive Z: maps to /).
lorvex::WString Win32Path(const std::string& unixPath)
{
    lorvex::WString path(L"Z:");
    for (char c : unixPath)
        path += c == '/' ? L'\\' : static_cast<WCHAR>(static_cast<unsigned char>(c));
    return path;
}

// Noise does not compress: about 2 MB of JPEG at this size and quality.
void MakePictures(const std::string& folder, int count)
{
    std::system(("mkdir -p '" + folder + "'").c_str());
    const int distinct = 5;
    for (int i = 0; i < distinct; ++i) {
        Magick::Image image(Magick::Geometry(1440, 1080), Magick::Color("gray"));
        image.addNoise(Magick::GaussianNoise);
        image.addNoise(static_cast<Magick::NoiseType>(Magick::UniformNoise + i % 2));
        image.quality(95);
        image.write(folder + "/picture" + std::to_string(i) + ".jpg");
    }
    for (int i = distinct; i < count; ++i)
        std::system(("cp '" + folder + "/picture" + std::to_string(i % distinct) + ".jpg' '" + folder + "/picture" +
                     std::to_string(i) + ".jpg'")
                        .c_str());
}

}  // namespace

int main(int argc, char** argv)
{
    if (!LorvexGetModuleInstance())
        return 1;
    const std::string folder = argc > 1 ? argv[1] : "/tmp/lorvex-bench-mail";
    const int count = argc > 2 ? std::atoi(argv[2]) : 50;
    const int runs = 5;
    MakePictures(folder, count);
    long long bytes = 0;
    std::vector<lorvex::WString> pictures;
    for (int i = 0; i < count; ++i) {
        pictures.push_back(Win32Path(folder + "/picture" + std::to_string(i) + ".jpg"));
        WIN32_FILE_ATTRIBUTE_DATA about;
        if (GetFileAttributesExW(pictures.back().c_str(), GetFileExInfoStandard, &about))
            bytes += about.nFileSizeLow;
    }
    std::printf("%d JPEG pictures, %.1f MB in all, median of %d runs each\n", count, bytes / 1048576.0, runs);

    const lorvex::WString archive = Win32Path(folder + "/out.zip");
    const std::string files = "'" + folder + "'/picture*.jpg";
    auto zipProgram = [&](const char* options) {
        return [&, options] {
            std::system(("rm -f '" + folder + "/out.zip'; zip -q " + options + " '" + folder + "/out.zip' " + files)
                            .c_str());
        };
    };
    auto library = [&] {
        CZLib zip;
        zip.Open(archive.c_str(), 0);
        for (const lorvex::WString& picture : pictures)
            zip.AddFile(picture.c_str());
        zip.Close();
    };
    library();   // warm the cache for everyone
    const double stored = Timed(runs, zipProgram("-0"));
    const double deflated = Timed(runs, zipProgram(""));
    const double packed = Timed(runs, library);
    std::printf("%-34s %8.1f ms\n", "zip -0 (storing)", stored * 1e3);
    std::printf("%-34s %8.1f ms\n", "zip (deflating)", deflated * 1e3);
    std::printf("%-34s %8.1f ms   %.2f x zip -0 (goal <= 1.2)   %.2f x zip\n", "CZLib (JPEG stored)", packed * 1e3,
                packed / stored, packed / deflated);
    DeleteFileW(archive.c_str());

    WCHAR tests[MAX_PATH];
    GetModuleFileNameW(nullptr, tests, MAX_PATH);
    lstrcpyW(StrRChrW(tests, nullptr, L'\\') + 1, L"..\\tests");
    SetDllDirectoryW(tests);
    HMODULE standIn = LoadLibraryW(L"mapi32.dll");
    const bool present = standIn && GetProcAddress(standIn, "LorvexMailStandIn");
    if (standIn)
        FreeLibrary(standIn);   // loaded afresh by each send, as in the viewer
    if (!present) {
        std::printf("(whole send skipped: no stand-in mail library)\n");
        return 0;
    }
    const lorvex::WString record = Win32Path(folder + "/record.txt");
    SetEnvironmentVariableW(L"LORVEX_MAIL_RECORD", record.c_str());
    CDlgMail mail(nullptr);
    HWND dialog = mail.DoModeless();
    SendDlgItemMessageW(dialog, 1001, BM_CLICK, 0, 0);   // "Zip Files before sending"
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        for (const lorvex::WString& picture : pictures)
            mail.AddAttachement(picture.c_str());
        const double start = Now();
        SendDlgItemMessageW(dialog, IDOK, BM_CLICK, 0, 0);   // "&Send E-mail"
        times.push_back(Now() - start);
    }
    const double sent = Median(times);
    std::printf("%-34s %8.1f ms   %.2f x zip -0 (the stand-in copies the archive it gets)\n", "whole send, zip on",
                sent * 1e3, sent / stored);
    DestroyWindow(dialog);
    std::system(("rm -f '" + folder + "'/record.txt*").c_str());
    return 0;
}
