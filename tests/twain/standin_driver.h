// Drives the stand-in source manager (tests/twain/standin): writes its script,
// puts its folder on the DLL search path and reads back the triplets it got.
#pragma once
#include <lorvexops/lorvexops.h>
#include "testsupport.h"

#include <functional>
#include <string>
#include <vector>

namespace twaintest {

using Lines = std::vector<std::string>;
using Bytes = std::vector<BYTE>;

// What the manager records of CTwain's opening, of Acquire (or OpenSource)
// with the default source, and of the teardown of an enabled source.
const char* const kOpenManager = "PARENT OPENDSM Tessik|Image Viewer|Lorvex 1.5 1.5 protocol 1.8 groups 3";
const Lines kOpenedDefault = {"load", kOpenManager, "IDENTITY GETDEFAULT", "IDENTITY OPENDS Stand-in Flatbed"};
const Lines kTeardown = {"USERINTERFACE DISABLEDS", "IDENTITY CLOSEDS", "PARENT CLOSEDSM", "unload"};
Lines Joined(std::initializer_list<Lines> parts);

// The host's side: a document window carrying the picture record, a title
// window, and the PARAMS naming both. Hidden, so nothing paints.
struct Host {
    Host();
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;
    HostPictureRecord record;
    PARAMS params = {};
};

// CTwain with scripted ShouldTransfer answers (0 once they run out).
class TestTwain : public CTwain {
public:
    explicit TestTwain(HWND parent) : CTwain(parent) {}
    int ShouldTransfer(TW_IMAGEINFO&) override { return m_asked < answers.size() ? answers[m_asked++] : 0; }
    int ImageCount() const { return m_nImageCount; }
    std::vector<int> answers;
private:
    size_t m_asked = 0;
};

// One scripted manager; the next CTwain that loads it reads the script.
class Standin {
public:
    // Directives as tests/twain/standin/standin.c lists them ("log" added).
    explicit Standin(const std::string& directives = "");
    ~Standin();
    Standin(const Standin&) = delete;
    Standin& operator=(const Standin&) = delete;
    void Script(const std::string& directives);
    // A page file holding packed; its path for an "image" directive.
    std::string Page(const Bytes& packed);
    // Runs body on a CTwain of host's document window, then drops the object
    // and gives the triplets the manager received.
    Lines Run(Host& host, const std::function<void(TestTwain&)>& body);
private:
    lvtest::TempDir m_dir;
    int m_pages = 0;
};

// Hands every waiting message to ProcessMessage as a host's loop does, and
// dispatches the ones that are not the source's, until none is left.
void Pump(CTwain& twain);

// A packed DIB width x height; pixel (x, y) counted from the top is
// value(x, y) taken modulo the colour table's size (indexed depths) or as
// 0xRRGGBB (24 bits). rgb receives the colours, top row first.
struct PageRecipe {
    WORD bits;
    DWORD headerSize;
    std::vector<RGBQUAD> table;
    bool topDown = false;
    int width = 13, height = 7;
};
Bytes MakePage(const PageRecipe& recipe, Bytes* rgb = nullptr);

}  // namespace twaintest
