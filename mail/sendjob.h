// What "&Send E-mail" does with the listed pictures, apart from the dialog:
// resized copies in a folder of their own, one archive of everything that is
// mailed, the mail through the mail client, the archive on the desktop when
// no client takes it, and the removal of every temporary file.
#pragma once
#include <windows.h>

#include "win/text.h"

#include <functional>
#include <vector>

namespace lorvex {

// Where a send keeps its files.
struct MailPlaces {
    WString resizeFolder;     // the resized copies
    WString archive;          // the temporary archive
    WString desktopArchive;   // the fallback left for the user; empty without a desktop
};

// The program's folder when it can be written, the user's temporary folder
// otherwise (a program installed under a protected folder).
MailPlaces ChooseMailPlaces();

struct MailJob {
    std::vector<WString> pictures;   // full paths, in list order
    bool zip = false;
    bool resize = false;
    WORD filter = 0;                           // Magick++ filter number, with resize
    std::function<void(SIZE*)> fitToBounds;    // with resize: the size to write
    HWND owner = nullptr;                      // of the message boxes
    std::function<void()> onResizeStart;       // the resize folder is ready
    std::function<void(int done)> onResized;   // after each picture resize tried
};

enum class MailOutcome {
    NotStarted,       // the resize folder could not be made: nothing happened
    Mailed,           // the mail client took the mail
    OnDesktop,        // no client: the archive was left on the desktop
    NotDelivered,     // no client, and the archive could not be left either
    NothingToSend,    // every picture was missing or failed to resize
};

// Runs one send. Pictures gone from the disk are left out and named together
// in one message at the end; a picture that cannot be resized is named in a
// message of its own. Whatever the outcome, afterwards neither the archive
// nor the resize folder exists.
MailOutcome SendPictures(const MailJob& job, const MailPlaces& places);

}  // namespace lorvex
