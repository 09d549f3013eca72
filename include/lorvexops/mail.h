// lorvexops public interface: mail.
//
// CDlgMail is the "E-mail pictures" dialog (template 434). The viewer keeps
// one, runs it modeless (DoModeless) and hands it pictures one at a time
// with AddAttachement; the user adds more through a file dialog, removes
// them, sees a preview, may choose to resize and to zip them, and sends them
// with the system's mail client ("&Send E-mail"). "Postpone" only hides the
// dialog; Cancel empties the list and closes it.
//
// Sending: the listed pictures that still exist (resized copies when
// "Resize before emailing" is on) go to the mail client through Simple MAPI,
// or CMC when that fails, as the pictures themselves (in path order) or as
// one zip archive. When no mail client takes the mail, the archive is left
// on the desktop as "lorvex_attachement.zip" with a message. Temporary files
// go beside the program, or to the user's temporary folder when the
// program's folder cannot be written, and none remains after a send.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "lorvexops/companions.h"
#include "lorvexops/listview.h"

class CDlgBatchResize;

class CDlgMail : public CDialog {
public:
    explicit CDlgMail(HWND parent);
    // Member by member, except that a copy gets its own copy of the resize
    // options; the list copy carries no rows (see CSortedListCtrl).
    CDlgMail(const CDlgMail& other);
    CDlgMail& operator=(const CDlgMail& other);
    ~CDlgMail() override;

    // Shows the dialog and lists the picture (once, whatever the letter case
    // of its path; a path that does not exist is ignored). Returns 1.
    int AddAttachement(const WCHAR* path);
    BOOL IsFileListEmpty();

    int OnInitDialog() override;
    void OnDestroy() override;
    int OnCommand(int id, int code) override;
    // Sends the listed pictures; always 0, so the dialog stays open.
    int OnOK() override;
    int OnCancel() override;
    int OnDlgButtonMessage(int id) override;
    int OnNotify(int id, NMHDR* notification) override;
    int OnCustomDraw(NMHDR* notification, LRESULT* result) override;
    int OnDrawItem(int id, DRAWITEMSTRUCT* item) override;

    // One picture of the list (the row's object in the list).
    struct AttachmentRecord {
        MyString path;
        LONGLONG size;   // bytes, when it was listed
    };

    CSortedListCtrl list;
    HFONT hBoldFont = nullptr;              // label 1201 in bold
    HWND hList = nullptr;                   // control 1136
    HWND hPreview = nullptr;                // control 1105
    LONGLONG totalSize = 0;                 // sum of the listed sizes
    CDlgBatchResize* pResizeOptions = nullptr;   // non-null while "Resize before emailing" is on

protected:
    void AddListControlFile(const WCHAR* path);
    void AddNewPictures();

private:
    void InitListAttachement();
    void SetEditSize();
    void DeleteFileW();      // removes the selected pictures
    void DeleteAllFiles();
    void ResizeChosen();
    void ShowProgress(int shown);

    bool m_sending = false;  // a send is running: the dialog's buttons wait
};
