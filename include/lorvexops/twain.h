// lorvexops public interface: twain.
#pragma once
#include <windows.h>
#include "lorvexops/twaindefs.h"

#ifdef __cplusplus
struct PARAMS;

// One scanner connection through the TWAIN source manager "TWAIN_32.DLL",
// loaded at run time. The host creates it with one of its windows, lets the
// user choose a source, calls Acquire, and passes every message of its loop
// to ProcessMessage while the source is enabled. Each image that arrives
// becomes the picture of the document window named in the PARAMS given to
// Acquire. Nothing here throws, and a fault inside the manager or a source
// comes back as TWRC_FAILURE.
class CTwain {
public:
    // With a window, InitTwain on it.
    explicit CTwain(HWND parent = nullptr);
    // ReleaseTwain: disable, close the source, close the manager, unload.
    virtual ~CTwain();

    // Fills the application identity.
    virtual void GetIdentity();
    // Asks the manager for its default source when none is selected, then
    // lets the user choose; a cancel keeps what was selected. The flag.
    virtual int SelectSource();
    // Opens source (copied first), or the selected one when null; with no
    // selection the manager's default. DSOpen().
    virtual int OpenSource(TW_IDENTITY* source = nullptr);
    // 0 transfer this image, 1 skip it, 2 (or anything else) drop every
    // pending image. Always 0 here.
    virtual int ShouldTransfer(TW_IMAGEINFO& info);

protected:
    // 1 when the source was enabled and is now disabled.
    virtual int DisableSource();
    // Whether the source may close at its own request. Always 1 here.
    virtual int CanClose();

public:
    // 1 when the manager library is loaded (also when it already was), 0
    // when parent is not a window or there is no manager. The manager is
    // opened too; DSMOpen() tells whether that worked.
    int InitTwain(HWND parent);
    void ReleaseTwain();

    int IsValidDriver() const;   // manager library and its entry present
    int DSMOpen() const;         // ... and the manager open (state 3)
    int DSOpen() const;          // ... and a source open (state 4)
    int SourceSelected() const;
    int SourceEnabled() const;   // state 5 and above
    int ModalUI() const;
    TW_INT16 GetRC() const;      // return code of the last call
    TW_STATUS GetStatus();       // condition fetched after the last failure

    int SelectDefaultSource();
    // Agrees the number of images with the source; a source that answers
    // TWRC_CHECKSTATUS gets the number it chose back. 1 when agreed.
    int SetImageCount(TW_INT16 count);
    // Opens the source if needed, agrees count and enables the source with
    // its own user interface. params (the host's) is kept for the images.
    int Acquire(int count, PARAMS* params);
    // 1 when msg belonged to the source (the host must not dispatch it).
    int ProcessMessage(MSG* msg);

protected:
    // Every triplet goes through here: 1 on TWRC_SUCCESS. After any other
    // code the status is fetched into m_Status.
    int CallTwainProc(TW_IDENTITY* origin, TW_IDENTITY* destination, TW_UINT32 group, TW_UINT16 type,
                      TW_UINT16 message, TW_MEMREF data);
    void CloseDS();
    void CloseDSM();
    // The caller owns the container the source returns.
    int GetCapability(TW_CAPABILITY& capability, TW_UINT16 id, TW_UINT16 containerType = TWON_DONTCARE16);
    // A one-value answer, read and freed.
    int GetCapability(TW_UINT16 id, TW_UINT32& value);
    int SetCapability(TW_UINT16 id, TW_UINT16 value, int isSigned);
    int SetCapability(TW_CAPABILITY& capability);
    int EnableSource(int showUI);
    // Acts on a source event: transfers on MSG_XFERREADY, closes on
    // MSG_CLOSEDSREQ when CanClose agrees.
    void TranslateMessage(TW_EVENT& event);

    // The transfer of the pending images.
    int GetImageInfo(TW_IMAGEINFO& info);
    void TransferImage();
    // One native transfer; 1 when more images are pending.
    int GetImage(TW_IMAGEINFO& info);
    // MSG_ENDXFER; 1 when it worked and images are still pending.
    int EndTransfer();
    // MSG_RESET: drops every pending image.
    void CancelTransfer();
    // Makes the packed DIB the picture of the host's document.
    void CopyImage(HANDLE dib, TW_IMAGEINFO& info);

    HMODULE m_hTwainDLL;
    DSMENTRYPROC m_pDSMProc;
    TW_IDENTITY m_AppId;
    TW_IDENTITY m_Source;
    TW_STATUS m_Status;
    TW_UINT16 m_returnCode;
    HWND m_hMessageWnd;
    int m_bSourceSelected;
    int m_bDSMOpen;
    int m_bDSOpen;
    int m_bSourceEnabled;
    int m_bModalUI;
    int m_nImageCount;
    PARAMS* m_pParams;
};

// A device-dependent bitmap of the packed DIB in global memory (the caller's),
// or null. Leaves its conversion palette for the caller's reading of the
// pixels; the next conversion releases it.
HBITMAP PackedDibToDdb(HANDLE dib);
// The palette for a packed DIB with a 40-byte header: its colour table, or a
// colour cube for 24 bits; null otherwise. The caller deletes it.
HPALETTE CreateDibPalette(const BITMAPINFOHEADER* header);
#endif
