// lorvex-host saveas IN: the "Save as" flow of a viewer. The save dialog
// proposes the picture's name and type and its panel sets the compression;
// the follow-up dialog (GIF transparency, JPEG options) runs unless the user
// ticked "Do not show filter dialog"; then the picture is written.
#include "host.h"

#include <lorvexops/lorvexops.h>
#include <Magick++.h>

namespace {

int SaveAs(const HostContext& context)
{
    if (context.args.size() != 1) {
        Out("usage: lorvex-host saveas IN\n");
        return 2;
    }
    const WCHAR* input = context.args[0];
    HostPictureRecord record;
    if (!ReadPicture(input, record.picture)) {
        Out("cannot read a picture from ");
        OutW(input);
        Out("\n");
        return 2;
    }
    lstrcpynW(record.currentFileName, input, MAX_PATH);
    record.width = static_cast<int>(record.picture.columns());
    record.height = static_cast<int>(record.picture.rows());

    // The document window whose user data is the picture record.
    HWND document = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                    nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrW(document, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&record));
    HostSaveContext save = {document};
    WCHAR file[MAX_PATH] = {};
    WCHAR title[MAX_PATH] = {};
    DibFileInitialize(document);
    int result = 2;
    if (!DibFileSaveDlg(document, file, title, &save)) {
        Out("cancelled\n");
    } else if (!gbNoFilterDialog && CImageFormatOptions().ShowFilterDialog(&record.picture, document) == IDCANCEL) {
        Out("cancelled in the filter dialog\n");
    } else {
        if (WritePicture(record.picture, file, true)) {
            Out("written: %s (%s)\n", Utf8(file).c_str(), record.picture.magick().c_str());
            result = 0;
        } else {
            Out("cannot write %s\n", Utf8(file).c_str());
        }
    }
    DestroyWindow(document);
    return result;
}

HostCommand saveas("saveas", "IN           the Save as dialog, the filter dialog unless switched off, then the write",
                   SaveAs);

}  // namespace
