/* A stand-in TWAIN source manager with two sources, for the tests: a real PE
 * TWAIN_32.DLL (built with the MinGW cross compiler) exporting DSM_Entry at
 * ordinal 1. It walks the manager and the open source through states 2-7 as
 * the TWAIN standard describes, refuses triplets illegal in the current state
 * (TWRC_FAILURE, TWCC_SEQERROR), and appends every triplet it receives to a
 * log, one line each: "DAT MSG [detail] [outcome]", plus "load" and "unload".
 * A message that is not the source's own, handed over with MSG_PROCESSEVENT,
 * is not logged (nor the status fetch after it): the host's other traffic
 * would make the log depend on timing.
 *
 * The script is the file named by the environment variable
 * TWAIN_STANDIN_SCRIPT, read when the library loads; one directive a line:
 *   log PATH                   where the log goes
 *   nodefault                  MSG_GETDEFAULT finds no source
 *   select ok|cancel|fail      MSG_USERSELECT (ok picks the second source)
 *   opendsm fail | enable fail | imageinfo fail
 *   checkstatus N              CAP_XFERCOUNT set to anything but N answers
 *                              TWRC_CHECKSTATUS and takes N
 *   modal                      the source reports a modal user interface
 *   closerequest               MSG_CLOSEDSREQ once no image is pending
 *   fault DAT MSG              an access violation on that triplet
 *   image done|cancel|fail [PATH]  a pending image: a packed DIB or BMP file
 * Events reach the application as a posted message that it hands back with
 * MSG_PROCESSEVENT. */
#include <windows.h>
#include <stdio.h>
#include <string.h>
#include "lorvexops/twaindefs.h"

enum { DONE, CANCELLED, FAILED };

typedef struct {
    BYTE *dib;
    SIZE_T size;
    int outcome;
} Page;

static struct {
    WCHAR log[MAX_PATH];
    int noDefault, selectAnswer, openDsmFails, enableFails, infoFails, modal, closeRequest;
    int checkStatus;
    TW_INT16 checkStatusCount;
    TW_UINT16 faultDat, faultMsg;
    Page pages[16];
    int pageCount, nextPage;
} script;

static int dsmState, sourceState; /* 2-3; 0 (none open) or 4-7 */
static int openSource;            /* index of the open source */
static TW_UINT16 condition;
static TW_INT16 xferCount = -1;
static HWND parent;
static UINT eventMessage;
static TW_UINT16 events[8];
static int eventCount;
static int quietStatus;

static const char *const sourceNames[] = {"Stand-in Flatbed", "Stand-in Feeder"};

typedef struct {
    TW_UINT16 value;
    const char *name;
} Name;

static const Name datNames[] = {
    {DAT_CAPABILITY, "CAPABILITY"}, {DAT_EVENT, "EVENT"}, {DAT_IDENTITY, "IDENTITY"},
    {DAT_PARENT, "PARENT"}, {DAT_PENDINGXFERS, "PENDINGXFERS"}, {DAT_STATUS, "STATUS"},
    {DAT_USERINTERFACE, "USERINTERFACE"}, {DAT_IMAGEINFO, "IMAGEINFO"},
    {DAT_IMAGENATIVEXFER, "IMAGENATIVEXFER"}, {0, NULL}};
static const Name msgNames[] = {
    {MSG_GET, "GET"}, {MSG_GETDEFAULT, "GETDEFAULT"}, {MSG_SET, "SET"}, {MSG_RESET, "RESET"},
    {MSG_XFERREADY, "XFERREADY"}, {MSG_CLOSEDSREQ, "CLOSEDSREQ"}, {MSG_OPENDSM, "OPENDSM"},
    {MSG_CLOSEDSM, "CLOSEDSM"}, {MSG_OPENDS, "OPENDS"}, {MSG_CLOSEDS, "CLOSEDS"},
    {MSG_USERSELECT, "USERSELECT"}, {MSG_DISABLEDS, "DISABLEDS"}, {MSG_ENABLEDS, "ENABLEDS"},
    {MSG_PROCESSEVENT, "PROCESSEVENT"}, {MSG_ENDXFER, "ENDXFER"}, {0, NULL}};
static const Name outcomeNames[] = {
    {TWRC_FAILURE, "fail"}, {TWRC_CHECKSTATUS, "checkstatus"}, {TWRC_CANCEL, "cancel"},
    {TWRC_NOTDSEVENT, "notdsevent"}, {TWRC_XFERDONE, "xferdone"}, {0, NULL}};

static const char *NameOf(const Name *names, TW_UINT16 value, char *spare)
{
    for (; names->name; ++names)
        if (names->value == value)
            return names->name;
    sprintf(spare, "0x%04x", value);
    return spare;
}

static TW_UINT16 ValueOf(const Name *names, const char *name)
{
    for (; names->name; ++names)
        if (!strcmp(names->name, name))
            return names->value;
    return 0xFFFF;
}

static void Log(const char *line)
{
    HANDLE file;
    DWORD written;
    if (!script.log[0])
        return;
    file = CreateFileW(script.log, FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    WriteFile(file, line, (DWORD)strlen(line), &written, NULL);
    WriteFile(file, "\n", 1, &written, NULL);
    CloseHandle(file);
}

static BYTE *ReadWhole(const WCHAR *path, SIZE_T *size)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    DWORD length, got = 0;
    BYTE *data;
    if (file == INVALID_HANDLE_VALUE)
        return NULL;
    length = GetFileSize(file, NULL);
    data = HeapAlloc(GetProcessHeap(), 0, length ? length : 1);
    if (data && !ReadFile(file, data, length, &got, NULL))
        got = 0;
    CloseHandle(file);
    *size = got;
    if (got > 14 && data[0] == 'B' && data[1] == 'M') { /* a BMP file: its packed DIB */
        memmove(data, data + 14, got - 14);
        *size = got - 14;
    }
    return data;
}

static void ReadScript(void)
{
    WCHAR path[MAX_PATH];
    SIZE_T size = 0;
    char *text, *line, *next;
    if (!GetEnvironmentVariableW(L"TWAIN_STANDIN_SCRIPT", path, MAX_PATH))
        return;
    text = (char *)ReadWhole(path, &size);
    if (!text)
        return;
    text = HeapReAlloc(GetProcessHeap(), 0, text, size + 1);
    text[size] = 0;
    for (line = text; line && *line; line = next) {
        char word[32] = "", a[64] = "", b[64] = "";
        int rest = 0;
        next = strchr(line, '\n');
        if (next)
            *next++ = 0;
        line[strcspn(line, "\r")] = 0;
        if (sscanf(line, "%31s %n", word, &rest) < 1)
            continue;
        sscanf(line + rest, "%63s %63s", a, b);
        if (!strcmp(word, "log"))
            MultiByteToWideChar(CP_UTF8, 0, line + rest, -1, script.log, MAX_PATH);
        else if (!strcmp(word, "nodefault"))
            script.noDefault = 1;
        else if (!strcmp(word, "select"))
            script.selectAnswer = !strcmp(a, "cancel") ? CANCELLED : !strcmp(a, "fail") ? FAILED : DONE;
        else if (!strcmp(word, "opendsm"))
            script.openDsmFails = 1;
        else if (!strcmp(word, "enable"))
            script.enableFails = 1;
        else if (!strcmp(word, "imageinfo"))
            script.infoFails = 1;
        else if (!strcmp(word, "modal"))
            script.modal = 1;
        else if (!strcmp(word, "closerequest"))
            script.closeRequest = 1;
        else if (!strcmp(word, "checkstatus")) {
            script.checkStatus = 1;
            script.checkStatusCount = (TW_INT16)atoi(a);
        } else if (!strcmp(word, "fault")) {
            script.faultDat = ValueOf(datNames, a);
            script.faultMsg = ValueOf(msgNames, b);
        } else if (!strcmp(word, "image") && script.pageCount < 16) {
            Page *page = &script.pages[script.pageCount++];
            const char *file = line + rest + strlen(a);
            WCHAR wide[MAX_PATH];
            page->outcome = !strcmp(a, "cancel") ? CANCELLED : !strcmp(a, "fail") ? FAILED : DONE;
            while (*file == ' ')
                ++file;
            if (*file && MultiByteToWideChar(CP_UTF8, 0, file, -1, wide, MAX_PATH))
                page->dib = ReadWhole(wide, &page->size);
        }
    }
    HeapFree(GetProcessHeap(), 0, text);
}

static void Post(TW_UINT16 event)
{
    if (eventCount < 8) {
        events[eventCount++] = event;
        PostMessageW(parent, eventMessage, 0, 0);
    }
}

/* Back in state 5: the source asks to be closed when the script says so. */
static void TransfersOver(void)
{
    script.nextPage = script.pageCount;
    sourceState = 5;
    if (script.closeRequest)
        Post(MSG_CLOSEDSREQ);
}

static TW_UINT16 Refuse(TW_UINT16 code)
{
    condition = code;
    return TWRC_FAILURE;
}

static void FillIdentity(TW_IDENTITY *identity, int index)
{
    memset(identity, 0, sizeof(*identity));
    identity->Id = (TW_UINT32)(index + 1);
    identity->ProtocolMajor = 1;
    identity->SupportedGroups = DG_CONTROL | DG_IMAGE;
    lstrcpynA(identity->ProductName, sourceNames[index], sizeof(TW_STR32));
}

static TW_UINT16 Manager(const TW_IDENTITY *origin, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data, char *detail)
{
    TW_IDENTITY *identity = (TW_IDENTITY *)data;
    if (dat == DAT_PARENT && msg == MSG_OPENDSM) {
        /* Who the application says it is, as the manager reads the record. */
        sprintf(detail, " %.20s|%.20s|%.20s %u.%u %.8s protocol %u.%u groups %lu", origin->Manufacturer,
                origin->ProductFamily, origin->ProductName, origin->Version.MajorNum, origin->Version.MinorNum,
                origin->Version.Info, origin->ProtocolMajor, origin->ProtocolMinor,
                (unsigned long)origin->SupportedGroups);
        if (dsmState != 2 || !data)
            return Refuse(TWCC_SEQERROR);
        if (script.openDsmFails)
            return Refuse(TWCC_BUMMER);
        parent = *(HWND *)data;
        eventMessage = RegisterWindowMessageW(L"TwainStandinEvent");
        dsmState = 3;
        return TWRC_SUCCESS;
    }
    if (dat == DAT_PARENT && msg == MSG_CLOSEDSM) {
        if (dsmState != 3 || sourceState)
            return Refuse(TWCC_SEQERROR);
        dsmState = 2;
        return TWRC_SUCCESS;
    }
    if (dat != DAT_IDENTITY || dsmState != 3 || !identity)
        return Refuse(TWCC_SEQERROR);
    switch (msg) {
    case MSG_GETDEFAULT:
        if (script.noDefault)
            return Refuse(TWCC_NODS);
        FillIdentity(identity, 0);
        return TWRC_SUCCESS;
    case MSG_USERSELECT:
        if (script.selectAnswer == CANCELLED)
            return TWRC_CANCEL;
        if (script.selectAnswer == FAILED)
            return Refuse(TWCC_BUMMER);
        FillIdentity(identity, 1);
        return TWRC_SUCCESS;
    case MSG_OPENDS:
        if (sourceState)
            return Refuse(TWCC_MAXCONNECTIONS);
        /* An empty product name asks for the default source. */
        openSource = identity->ProductName[0] && !strcmp(identity->ProductName, sourceNames[1]) ? 1 : 0;
        if (identity->ProductName[0] ? strcmp(identity->ProductName, sourceNames[openSource]) != 0
                                     : script.noDefault)
            return Refuse(TWCC_NODS);
        FillIdentity(identity, openSource);
        sprintf(detail, " %s", sourceNames[openSource]);
        sourceState = 4;
        xferCount = -1;
        return TWRC_SUCCESS;
    case MSG_CLOSEDS:
        if (sourceState != 4)
            return Refuse(TWCC_SEQERROR);
        sourceState = 0;
        return TWRC_SUCCESS;
    default:
        return Refuse(TWCC_BADPROTOCOL);
    }
}

static TW_UINT16 Capability(TW_UINT16 msg, TW_CAPABILITY *capability, char *detail)
{
    TW_ONEVALUE *one;
    if (!capability || capability->Cap != CAP_XFERCOUNT)
        return Refuse(TWCC_BADCAP);
    if (msg == MSG_GET) {
        sprintf(detail, " XFERCOUNT");
        capability->ConType = TWON_ONEVALUE;
        capability->hContainer = GlobalAlloc(GHND, sizeof(TW_ONEVALUE));
        one = GlobalLock(capability->hContainer);
        if (!one)
            return Refuse(TWCC_LOWMEMORY);
        one->ItemType = TWTY_INT16;
        one->Item = (TW_UINT16)xferCount;
        GlobalUnlock(capability->hContainer);
        return TWRC_SUCCESS;
    }
    if (msg != MSG_SET || sourceState != 4)
        return Refuse(TWCC_SEQERROR);
    one = capability->ConType == TWON_ONEVALUE ? GlobalLock(capability->hContainer) : NULL;
    if (!one)
        return Refuse(TWCC_BADVALUE);
    sprintf(detail, " XFERCOUNT %s %lu", one->ItemType == TWTY_INT16 ? "INT16" : one->ItemType == TWTY_UINT16 ? "UINT16" : "?",
            (unsigned long)one->Item);
    xferCount = (TW_INT16)one->Item;
    GlobalUnlock(capability->hContainer);
    if (script.checkStatus && xferCount != script.checkStatusCount) {
        xferCount = script.checkStatusCount;
        return TWRC_CHECKSTATUS;
    }
    return TWRC_SUCCESS;
}

static TW_UINT16 Source(TW_IDENTITY *destination, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data, char *detail)
{
    Page *page = script.nextPage < script.pageCount ? &script.pages[script.nextPage] : NULL;
    char spare[16];
    if (!sourceState || destination->Id != (TW_UINT32)(openSource + 1))
        return Refuse(TWCC_BADDEST);
    if (!data)
        return Refuse(TWCC_BADVALUE);
    if (dat == DAT_CAPABILITY)
        return Capability(msg, (TW_CAPABILITY *)data, detail);
    if (dat == DAT_USERINTERFACE && msg == MSG_ENABLEDS) {
        if (sourceState != 4)
            return Refuse(TWCC_SEQERROR);
        if (script.enableFails)
            return Refuse(TWCC_BUMMER);
        ((TW_USERINTERFACE *)data)->ModalUI = (TW_BOOL)script.modal;
        sourceState = 5;
        if (page)
            Post(MSG_XFERREADY);
        else if (script.closeRequest)
            Post(MSG_CLOSEDSREQ);
        return TWRC_SUCCESS;
    }
    if (dat == DAT_USERINTERFACE && msg == MSG_DISABLEDS) {
        if (sourceState != 5)
            return Refuse(TWCC_SEQERROR);
        sourceState = 4;
        return TWRC_SUCCESS;
    }
    if (dat == DAT_EVENT && msg == MSG_PROCESSEVENT) {
        TW_EVENT *event = (TW_EVENT *)data;
        const MSG *message = (const MSG *)event->pEvent;
        if (sourceState < 5)
            return Refuse(TWCC_SEQERROR);
        event->TWMessage = MSG_NULL;
        if (!message || message->message != eventMessage || !eventCount) {
            quietStatus = 1;
            return TWRC_NOTDSEVENT;
        }
        event->TWMessage = events[0];
        memmove(events, events + 1, --eventCount * sizeof(events[0]));
        if (event->TWMessage == MSG_XFERREADY)
            sourceState = 6;
        sprintf(detail, " %s", NameOf(msgNames, event->TWMessage, spare));
        return TWRC_DSEVENT;
    }
    if (dat == DAT_IMAGEINFO && msg == MSG_GET) {
        TW_IMAGEINFO *info = (TW_IMAGEINFO *)data;
        const BITMAPINFOHEADER *header = page && page->dib ? (const BITMAPINFOHEADER *)page->dib : NULL;
        if (sourceState != 6 && sourceState != 7)
            return Refuse(TWCC_SEQERROR);
        if (script.infoFails)
            return Refuse(TWCC_BUMMER);
        memset(info, 0, sizeof(*info));
        if (header) {
            info->ImageWidth = header->biWidth;
            info->ImageLength = header->biHeight < 0 ? -header->biHeight : header->biHeight;
            info->BitsPerPixel = (TW_INT16)header->biBitCount;
        }
        return TWRC_SUCCESS;
    }
    if (dat == DAT_IMAGENATIVEXFER && msg == MSG_GET) {
        HGLOBAL block;
        if (sourceState != 6 || !page)
            return Refuse(TWCC_SEQERROR);
        *(HANDLE *)data = NULL;
        if (page->outcome == FAILED)
            return Refuse(TWCC_BUMMER);
        sourceState = 7;
        if (page->outcome == CANCELLED || !page->dib)
            return TWRC_CANCEL;
        block = GlobalAlloc(GMEM_MOVEABLE, page->size);
        if (!block)
            return Refuse(TWCC_LOWMEMORY);
        memcpy(GlobalLock(block), page->dib, page->size);
        GlobalUnlock(block);
        *(HANDLE *)data = block;
        return TWRC_XFERDONE;
    }
    if (dat == DAT_PENDINGXFERS && (msg == MSG_ENDXFER || msg == MSG_RESET)) {
        TW_PENDINGXFERS *pending = (TW_PENDINGXFERS *)data;
        if (sourceState != 6 && sourceState != 7)
            return Refuse(TWCC_SEQERROR);
        if (msg == MSG_RESET)
            script.nextPage = script.pageCount;
        else
            ++script.nextPage;
        pending->Count = (TW_UINT16)(script.pageCount - script.nextPage);
        if (msg == MSG_ENDXFER)
            sprintf(detail, " %u", pending->Count);
        if (pending->Count)
            sourceState = 6;
        else
            TransfersOver();
        return TWRC_SUCCESS;
    }
    return Refuse(TWCC_BADPROTOCOL);
}

TW_UINT16 WINAPI DSM_Entry(TW_IDENTITY *origin, TW_IDENTITY *destination, TW_UINT32 group,
                           TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data)
{
    char line[200], detail[120] = "", spare[3][16];
    TW_UINT16 rc;
    int quiet = 0;
    if (dat == script.faultDat && msg == script.faultMsg) {
        sprintf(line, "%s %s fault", NameOf(datNames, dat, spare[0]), NameOf(msgNames, msg, spare[1]));
        Log(line);
        *(volatile int *)0 = 0;
    }
    if (dat == DAT_STATUS && msg == MSG_GET) {
        quiet = quietStatus;
        quietStatus = 0;
        if (!data)
            rc = Refuse(TWCC_BADVALUE);
        else {
            ((TW_STATUS *)data)->ConditionCode = condition;
            ((TW_STATUS *)data)->Reserved = 0;
            condition = TWCC_SUCCESS;
            rc = TWRC_SUCCESS;
        }
    } else if (!origin) {
        rc = Refuse(TWCC_BADPROTOCOL);
    } else if (destination) {
        rc = Source(destination, dat, msg, data, detail);
    } else {
        rc = Manager(origin, dat, msg, data, detail);
    }
    if (rc == TWRC_NOTDSEVENT || quiet)
        return rc;
    sprintf(line, "%s %s%s%s%s", NameOf(datNames, dat, spare[0]), NameOf(msgNames, msg, spare[1]), detail,
            rc == TWRC_SUCCESS || rc == TWRC_DSEVENT ? "" : " ",
            rc == TWRC_SUCCESS || rc == TWRC_DSEVENT ? "" : NameOf(outcomeNames, rc, spare[2]));
    Log(line);
    (void)group;
    return rc;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance;
    if (reason == DLL_PROCESS_ATTACH) {
        memset(&script, 0, sizeof(script));
        dsmState = 2;
        sourceState = 0;
        ReadScript();
        Log("load");
    } else if (reason == DLL_PROCESS_DETACH && !reserved) {
        Log("unload");
    }
    return TRUE;
}
