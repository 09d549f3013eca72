// CTwain: the source manager and one source through the TWAIN states.
#include "lorvexops/twain.h"

#include "win/guard.h"
#include "win/scoped.h"

#ifdef __WINE__
#include <wine/exception.h>
#define LORVEX_TRY __TRY
#define LORVEX_EXCEPT_ALL __EXCEPT_ALL
#define LORVEX_END_TRY __ENDTRY
#else
#define LORVEX_TRY __try
#define LORVEX_EXCEPT_ALL __except (EXCEPTION_EXECUTE_HANDLER)
#define LORVEX_END_TRY
#endif

namespace {

// A manager or source is someone else's code running on our thread: a fault
// in it (an access violation, a raised exception) must end the one call, not
// the host. Kept apart from C++ objects, since the handler returns by a jump.
TW_UINT16 CallContained(DSMENTRYPROC entry, TW_IDENTITY* origin, TW_IDENTITY* destination, TW_UINT32 group,
                        TW_UINT16 type, TW_UINT16 message, TW_MEMREF data, bool* faulted)
{
    volatile TW_UINT16 rc = TWRC_FAILURE;
    volatile bool fault = true;
    LORVEX_TRY
    {
        rc = entry(origin, destination, group, type, message, data);
        fault = false;
    }
    LORVEX_EXCEPT_ALL
    {
    }
    LORVEX_END_TRY
    *faulted = fault;
    return fault ? TW_UINT16(TWRC_FAILURE) : TW_UINT16(rc);
}

// The system folder first, so that a TWAIN_32.DLL planted beside a document
// or in the current folder cannot stand in for the manager; the plain name
// after that, for systems whose manager lives elsewhere on the search path.
HMODULE LoadManager()
{
    if (HMODULE module = LoadLibraryExW(L"TWAIN_32.DLL", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
        return module;
    return LoadLibraryW(L"TWAIN_32.DLL");
}

void CopyText(char* field, const char* text)
{
    lstrcpynA(field, text, sizeof(TW_STR32));
}

}  // namespace

CTwain::CTwain(HWND parent)
    : m_hTwainDLL(nullptr), m_pDSMProc(nullptr), m_AppId(), m_Source(), m_Status(),
      m_returnCode(TWRC_SUCCESS), m_hMessageWnd(nullptr), m_bSourceSelected(0), m_bDSMOpen(0), m_bDSOpen(0),
      m_bSourceEnabled(0), m_bModalUI(1), m_nImageCount(-1), m_pParams(nullptr)
{
    if (parent)
        InitTwain(parent);
}

CTwain::~CTwain()
{
    ReleaseTwain();
}

void CTwain::GetIdentity()
{
    m_AppId.Id = 0;
    m_AppId.Version.MajorNum = 1;
    m_AppId.Version.MinorNum = 5;
    m_AppId.Version.Language = TWLG_USA;
    m_AppId.Version.Country = TWCY_USA;
    CopyText(m_AppId.Version.Info, "1.5");
    m_AppId.ProtocolMajor = 1;
    m_AppId.ProtocolMinor = 8;
    m_AppId.SupportedGroups = DG_CONTROL | DG_IMAGE;
    CopyText(m_AppId.Manufacturer, "Tessik");
    CopyText(m_AppId.ProductFamily, "Image Viewer");
    CopyText(m_AppId.ProductName, "Lorvex");
}

int CTwain::InitTwain(HWND parent)
{
    if (IsValidDriver())
        return 1;
    m_AppId = TW_IDENTITY();
    if (!IsWindow(parent))
        return 0;
    m_hMessageWnd = parent;
    m_hTwainDLL = LoadManager();
    m_pDSMProc = m_hTwainDLL ? reinterpret_cast<DSMENTRYPROC>(
                                   reinterpret_cast<void*>(GetProcAddress(m_hTwainDLL, MAKEINTRESOURCEA(1))))
                             : nullptr;
    if (!m_pDSMProc) {
        if (m_hTwainDLL)
            FreeLibrary(m_hTwainDLL);
        m_hTwainDLL = nullptr;
        return 0;
    }
    lorvex::Guarded([&] { GetIdentity(); });
    m_bDSMOpen = CallTwainProc(&m_AppId, nullptr, DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &m_hMessageWnd);
    return 1;
}

void CTwain::ReleaseTwain()
{
    if (!IsValidDriver())
        return;
    lorvex::Guarded([&] { CloseDSM(); });
    FreeLibrary(m_hTwainDLL);
    m_hTwainDLL = nullptr;
    m_pDSMProc = nullptr;
}

int CTwain::IsValidDriver() const
{
    return m_hTwainDLL && m_pDSMProc;
}

int CTwain::DSMOpen() const
{
    return IsValidDriver() && m_bDSMOpen;
}

int CTwain::DSOpen() const
{
    return DSMOpen() && m_bDSOpen;
}

int CTwain::SourceSelected() const
{
    return m_bSourceSelected;
}

int CTwain::SourceEnabled() const
{
    return m_bSourceEnabled;
}

int CTwain::ModalUI() const
{
    return m_bModalUI;
}

TW_INT16 CTwain::GetRC() const
{
    return static_cast<TW_INT16>(m_returnCode);
}

TW_STATUS CTwain::GetStatus()
{
    return m_Status;
}

int CTwain::CallTwainProc(TW_IDENTITY* origin, TW_IDENTITY* destination, TW_UINT32 group, TW_UINT16 type,
                          TW_UINT16 message, TW_MEMREF data)
{
    if (!IsValidDriver()) {
        m_returnCode = TWRC_FAILURE;
        return 0;
    }
    bool faulted = false;
    m_returnCode = CallContained(m_pDSMProc, origin, destination, group, type, message, data, &faulted);
    if (faulted) {
        // Nothing more is asked of a component that just faulted.
        m_Status = TW_STATUS();
        m_Status.ConditionCode = TWCC_BUMMER;
    } else if (m_returnCode != TWRC_SUCCESS) {
        CallContained(m_pDSMProc, origin, destination, DG_CONTROL, DAT_STATUS, MSG_GET, &m_Status, &faulted);
    }
    return m_returnCode == TWRC_SUCCESS;
}

int CTwain::SelectSource()
{
    // Without an open manager (state 3) the triplets are refused here.
    if (!DSMOpen())
        return m_bSourceSelected;
    m_Source = TW_IDENTITY();
    if (!m_bSourceSelected)
        m_bSourceSelected = CallTwainProc(&m_AppId, nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GETDEFAULT, &m_Source);
    if (CallTwainProc(&m_AppId, nullptr, DG_CONTROL, DAT_IDENTITY, MSG_USERSELECT, &m_Source))
        m_bSourceSelected = 1;
    return m_bSourceSelected;
}

int CTwain::SelectDefaultSource()
{
    if (!DSMOpen())
        return m_bSourceSelected;
    m_bSourceSelected = CallTwainProc(&m_AppId, nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GETDEFAULT, &m_Source);
    return m_bSourceSelected;
}

int CTwain::OpenSource(TW_IDENTITY* source)
{
    if (source)
        m_Source = *source;
    if (!m_hTwainDLL)
        return 0;
    // A second MSG_OPENDS would be refused and would clear the flag of the
    // source that is still open.
    if (DSMOpen() && !m_bDSOpen) {
        if (!m_bSourceSelected)
            m_bSourceSelected = CallTwainProc(&m_AppId, nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GETDEFAULT, &m_Source);
        m_bDSOpen = CallTwainProc(&m_AppId, nullptr, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &m_Source);
    }
    return DSOpen();
}

void CTwain::CloseDS()
{
    if (!DSOpen())
        return;
    DisableSource();
    CallTwainProc(&m_AppId, nullptr, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &m_Source);
    m_bDSOpen = 0;
}

void CTwain::CloseDSM()
{
    if (!DSMOpen())
        return;
    CloseDS();
    CallTwainProc(&m_AppId, nullptr, DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &m_hMessageWnd);
    m_bDSMOpen = 0;
}

int CTwain::GetCapability(TW_CAPABILITY& capability, TW_UINT16 id, TW_UINT16 containerType)
{
    if (!DSOpen())
        return 0;
    capability.Cap = id;
    capability.ConType = containerType;
    capability.hContainer = nullptr;
    return CallTwainProc(&m_AppId, &m_Source, DG_CONTROL, DAT_CAPABILITY, MSG_GET, &capability);
}

int CTwain::GetCapability(TW_UINT16 id, TW_UINT32& value)
{
    TW_CAPABILITY capability = {};
    if (!GetCapability(capability, id, TWON_DONTCARE16))
        return 0;
    lorvex::ScopedGlobal container(capability.hContainer);
    lorvex::ScopedGlobalLock lock(container.get());
    if (!lock.get())
        return 0;
    value = static_cast<const TW_ONEVALUE*>(lock.get())->Item;
    return 1;
}

int CTwain::SetCapability(TW_UINT16 id, TW_UINT16 value, int isSigned)
{
    if (!DSOpen())
        return 0;
    lorvex::ScopedGlobal container(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(TW_ONEVALUE)));
    {
        lorvex::ScopedGlobalLock lock(container.get());
        if (!lock.get())
            return 0;
        auto* one = static_cast<TW_ONEVALUE*>(lock.get());
        one->ItemType = isSigned ? TWTY_INT16 : TWTY_UINT16;
        one->Item = value;
    }
    TW_CAPABILITY capability = {id, TWON_ONEVALUE, container.get()};
    return SetCapability(capability);
}

int CTwain::SetCapability(TW_CAPABILITY& capability)
{
    if (!DSOpen())
        return 0;
    return CallTwainProc(&m_AppId, &m_Source, DG_CONTROL, DAT_CAPABILITY, MSG_SET, &capability);
}

int CTwain::SetImageCount(TW_INT16 count)
{
    if (SetCapability(CAP_XFERCOUNT, static_cast<TW_UINT16>(count), 1)) {
        m_nImageCount = count;
        return 1;
    }
    if (m_returnCode != TWRC_CHECKSTATUS)
        return 0;
    // The source chose a count of its own: agree to that one.
    TW_UINT32 value = 0;
    if (!GetCapability(CAP_XFERCOUNT, value) || !SetCapability(CAP_XFERCOUNT, static_cast<TW_UINT16>(value), 0))
        return 0;
    m_nImageCount = static_cast<TW_INT16>(value);
    return 1;
}

int CTwain::EnableSource(int showUI)
{
    if (!DSOpen() || m_bSourceEnabled)
        return 0;
    TW_USERINTERFACE ui = {static_cast<TW_BOOL>(showUI), 0, m_hMessageWnd};
    m_bSourceEnabled = CallTwainProc(&m_AppId, &m_Source, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui);
    m_bModalUI = m_bSourceEnabled ? ui.ModalUI : 1;
    return m_bSourceEnabled;
}

int CTwain::DisableSource()
{
    if (!m_bSourceEnabled)
        return 0;
    TW_USERINTERFACE ui = {0, 0, m_hMessageWnd};
    if (!CallTwainProc(&m_AppId, &m_Source, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui))
        return 0;
    m_bSourceEnabled = 0;
    return 1;
}

int CTwain::Acquire(int count, PARAMS* params)
{
    return lorvex::Guarded(0, [&] {
        m_pParams = params;
        if (!DSOpen() && !OpenSource(nullptr))
            return 0;
        return SetImageCount(static_cast<TW_INT16>(count)) && EnableSource(1) ? 1 : 0;
    });
}

int CTwain::ProcessMessage(MSG* msg)
{
    return lorvex::Guarded(0, [&] {
        if (!m_bSourceEnabled || !msg)
            return 0;
        TW_EVENT event = {msg, MSG_NULL};
        CallTwainProc(&m_AppId, &m_Source, DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event);
        if (m_returnCode == TWRC_NOTDSEVENT)
            return 0;
        TranslateMessage(event);
        return 1;
    });
}

void CTwain::TranslateMessage(TW_EVENT& event)
{
    lorvex::Guarded([&] {
        switch (event.TWMessage) {
        case MSG_XFERREADY:
            TransferImage();
            break;
        case MSG_CLOSEDSREQ:
            if (CanClose())
                CloseDS();
            break;
        default:
            break;
        }
    });
}

int CTwain::ShouldTransfer(TW_IMAGEINFO&)
{
    return 0;
}

int CTwain::CanClose()
{
    return 1;
}
