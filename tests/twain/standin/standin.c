/* A stand-in TWAIN source manager with two sources, for the tests: a real PE
 * TWAIN_32.DLL (MinGW) exporting DSM_Entry at ordinal 1. It appends each
 * triplet it receives to a log, "DAT MSG [detail] [outcome]", plus "load" and
 * "unload"; the tests compare the whole log, so it checks no states itself. A
 * message that is not the source's own, handed over with MSG_PROCESSEVENT
 * while enabled, is not logged (nor the status fetch after it): the host's
 * other traffic would make the log depend on timing.
 *
 * The script, read at load from the file TWAIN_STANDIN_SCRIPT names, holds
 * one directive a line:
 *   log PATH                   where the log goes (UTF-8)
 *   nodefault | select cancel  no default source; the user cancels the selection
 *   opendsm fail | imageinfo fail | closerequest (once nothing is pending)
 *   checkstatus N              CAP_XFERCOUNT set to anything but N: TWRC_CHECKSTATUS, N taken
 *   fault DAT MSG              an access violation on that triplet
 *   image done|cancel|fail PATH  a pending page: a packed DIB or BMP file
 * Events reach the application as a message posted to its window. */
#include <windows.h>
#include <stdio.h>
#include <string.h>
#include "lorvexops/twaindefs.h"

enum { DONE, CANCELLED, FAILED };

static struct {
    WCHAR log[MAX_PATH];
    int noDefault, selectCancel, openDsmFails, infoFails, closeRequest, checkStatus;
    TW_INT16 checkStatusCount;
    char fault[64];
    struct { BYTE *dib; long size; int outcome; } pages[16];
    int pageCount, nextPage;
} script;

static int enabled, openSource, quietStatus, eventCount;
static TW_UINT16 condition, events[8];
static TW_INT16 xferCount;
static HWND parent;
static UINT eventMessage;
static const char *const sourceNames[] = {"Stand-in Flatbed", "Stand-in Feeder"};

typedef struct { TW_UINT16 value; const char *name; } Name;
#define DAT_NAME(x) {DAT_##x, #x}
#define MSG_NAME(x) {MSG_##x, #x}
static const Name datNames[] = {
    DAT_NAME(CAPABILITY), DAT_NAME(EVENT), DAT_NAME(IDENTITY), DAT_NAME(PARENT), DAT_NAME(PENDINGXFERS),
    DAT_NAME(STATUS), DAT_NAME(USERINTERFACE), DAT_NAME(IMAGEINFO), DAT_NAME(IMAGENATIVEXFER), {0, 0}};
static const Name msgNames[] = {
    MSG_NAME(GET), MSG_NAME(GETDEFAULT), MSG_NAME(SET), MSG_NAME(RESET), MSG_NAME(XFERREADY),
    MSG_NAME(CLOSEDSREQ), MSG_NAME(OPENDSM), MSG_NAME(CLOSEDSM), MSG_NAME(OPENDS), MSG_NAME(CLOSEDS),
    MSG_NAME(USERSELECT), MSG_NAME(DISABLEDS), MSG_NAME(ENABLEDS), MSG_NAME(PROCESSEVENT), MSG_NAME(ENDXFER),
    {0, 0}};
static const Name outcomeNames[] = {{TWRC_FAILURE, "fail"}, {TWRC_CHECKSTATUS, "checkstatus"},
                                    {TWRC_CANCEL, "cancel"}, {TWRC_XFERDONE, "xferdone"}, {0, 0}};

static const char *NameOf(const Name *names, TW_UINT16 value)
{
    for (; names->name; ++names)
        if (names->value == value)
            return names->name;
    return "?";
}

static void Log(const char *line)
{
    FILE *file = script.log[0] ? _wfopen(script.log, L"ab") : NULL;
    if (file) {
        fprintf(file, "%s\n", line);
        fclose(file);
    }
}

static void ReadPage(const char *path, int index)
{
    WCHAR wide[MAX_PATH];
    FILE *file = MultiByteToWideChar(CP_UTF8, 0, path, -1, wide, MAX_PATH) ? _wfopen(wide, L"rb") : NULL;
    long skip = 0;
    if (!file)
        return;
    if (fgetc(file) == 'B' && fgetc(file) == 'M')
        skip = 14; /* a BMP file (the host's demonstration): its packed DIB follows the file header */
    fseek(file, 0, SEEK_END);
    script.pages[index].size = ftell(file) - skip;
    script.pages[index].dib = HeapAlloc(GetProcessHeap(), 0, script.pages[index].size + 1);
    fseek(file, skip, SEEK_SET);
    fread(script.pages[index].dib, 1, script.pages[index].size, file);
    fclose(file);
}

static void ReadScript(void)
{
    WCHAR path[MAX_PATH];
    char line[1024];
    FILE *file = GetEnvironmentVariableW(L"TWAIN_STANDIN_SCRIPT", path, MAX_PATH) ? _wfopen(path, L"rb") : NULL;
    while (file && fgets(line, sizeof(line), file)) {
        char word[32] = "", a[64] = "";
        int rest = 0, after = 0;
        line[strcspn(line, "\r\n")] = 0;
        if (sscanf(line, "%31s %n", word, &rest) < 1)
            continue;
        sscanf(line + rest, "%63s %n", a, &after);
        if (!strcmp(word, "log"))
            MultiByteToWideChar(CP_UTF8, 0, line + rest, -1, script.log, MAX_PATH);
        script.noDefault |= !strcmp(word, "nodefault");
        script.selectCancel |= !strcmp(word, "select");
        script.openDsmFails |= !strcmp(word, "opendsm");
        script.infoFails |= !strcmp(word, "imageinfo");
        script.closeRequest |= !strcmp(word, "closerequest");
        if (!strcmp(word, "fault"))
            lstrcpynA(script.fault, line + rest, sizeof(script.fault));
        if (!strcmp(word, "checkstatus")) {
            script.checkStatus = 1;
            script.checkStatusCount = (TW_INT16)atoi(a);
        }
        if (!strcmp(word, "image") && script.pageCount < 16) {
            script.pages[script.pageCount].outcome = !strcmp(a, "cancel") ? CANCELLED : !strcmp(a, "fail") ? FAILED : DONE;
            ReadPage(line + rest + after, script.pageCount++);
        }
    }
    if (file)
        fclose(file);
}

static void Post(TW_UINT16 event)
{
    if (eventCount < 8) {
        events[eventCount++] = event;
        PostMessageW(parent, eventMessage, 0, 0);
    }
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
        if (script.openDsmFails)
            return Refuse(TWCC_BUMMER);
        parent = *(HWND *)data;
        eventMessage = RegisterWindowMessageW(L"TwainStandinEvent");
        return TWRC_SUCCESS;
    }
    if (dat == DAT_IDENTITY && msg == MSG_GETDEFAULT && !script.noDefault) {
        FillIdentity(identity, 0);
        return TWRC_SUCCESS;
    }
    if (dat == DAT_IDENTITY && msg == MSG_USERSELECT) {
        if (script.selectCancel)
            return TWRC_CANCEL;
        FillIdentity(identity, 1);
        return TWRC_SUCCESS;
    }
    /* An empty product name asks for the default source. */
    if (dat == DAT_IDENTITY && msg == MSG_OPENDS && (identity->ProductName[0] || !script.noDefault)) {
        openSource = !strcmp(identity->ProductName, sourceNames[1]);
        FillIdentity(identity, openSource);
        sprintf(detail, " %s", sourceNames[openSource]);
        xferCount = -1;
        return TWRC_SUCCESS;
    }
    if ((dat == DAT_PARENT && msg == MSG_CLOSEDSM) || (dat == DAT_IDENTITY && msg == MSG_CLOSEDS))
        return TWRC_SUCCESS;
    return Refuse(TWCC_NODS);
}

static TW_UINT16 Capability(TW_UINT16 msg, TW_CAPABILITY *capability, char *detail)
{
    TW_ONEVALUE *one;
    if (capability->Cap != CAP_XFERCOUNT)
        return Refuse(TWCC_BADCAP);
    if (msg == MSG_GET) {
        sprintf(detail, " XFERCOUNT");
        capability->ConType = TWON_ONEVALUE;
        capability->hContainer = GlobalAlloc(GHND, sizeof(TW_ONEVALUE));
        one = GlobalLock(capability->hContainer);
        one->ItemType = TWTY_INT16;
        one->Item = (TW_UINT16)xferCount;
        GlobalUnlock(capability->hContainer);
        return TWRC_SUCCESS;
    }
    if (capability->ConType != TWON_ONEVALUE || !(one = GlobalLock(capability->hContainer)))
        return Refuse(TWCC_BADVALUE);
    sprintf(detail, " XFERCOUNT %s %lu", one->ItemType == TWTY_INT16 ? "INT16" : "UINT16", (unsigned long)one->Item);
    xferCount = (TW_INT16)one->Item;
    GlobalUnlock(capability->hContainer);
    if (script.checkStatus && xferCount != script.checkStatusCount) {
        xferCount = script.checkStatusCount;
        return TWRC_CHECKSTATUS;
    }
    return TWRC_SUCCESS;
}

static TW_UINT16 Source(TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data, char *detail)
{
    const int pending = script.pageCount - script.nextPage;
    if (dat == DAT_CAPABILITY)
        return Capability(msg, (TW_CAPABILITY *)data, detail);
    if (dat == DAT_USERINTERFACE) {
        enabled = msg == MSG_ENABLEDS;
        ((TW_USERINTERFACE *)data)->ModalUI = FALSE;
        if (enabled && (pending || script.closeRequest))
            Post(pending ? MSG_XFERREADY : MSG_CLOSEDSREQ);
        return TWRC_SUCCESS;
    }
    if (dat == DAT_EVENT && msg == MSG_PROCESSEVENT) {
        TW_EVENT *event = (TW_EVENT *)data;
        const MSG *message = (const MSG *)event->pEvent;
        event->TWMessage = MSG_NULL;
        if (!enabled)
            return Refuse(TWCC_SEQERROR);
        if (!message || message->message != eventMessage || !eventCount) {
            quietStatus = 1;
            return TWRC_NOTDSEVENT;
        }
        event->TWMessage = events[0];
        memmove(events, events + 1, --eventCount * sizeof(events[0]));
        sprintf(detail, " %s", NameOf(msgNames, event->TWMessage));
        return TWRC_DSEVENT;
    }
    if (dat == DAT_IMAGEINFO && msg == MSG_GET) {
        memset(data, 0, sizeof(TW_IMAGEINFO));
        return script.infoFails ? Refuse(TWCC_BUMMER) : TWRC_SUCCESS;
    }
    if (dat == DAT_IMAGENATIVEXFER && msg == MSG_GET) {
        HGLOBAL block;
        *(HANDLE *)data = NULL;
        if (script.pages[script.nextPage].outcome != DONE)
            return script.pages[script.nextPage].outcome == FAILED ? Refuse(TWCC_BUMMER) : TWRC_CANCEL;
        block = GlobalAlloc(GMEM_MOVEABLE, script.pages[script.nextPage].size);
        memcpy(GlobalLock(block), script.pages[script.nextPage].dib, script.pages[script.nextPage].size);
        GlobalUnlock(block);
        *(HANDLE *)data = block;
        return TWRC_XFERDONE;
    }
    if (dat == DAT_PENDINGXFERS && (msg == MSG_ENDXFER || msg == MSG_RESET)) {
        TW_PENDINGXFERS *transfers = (TW_PENDINGXFERS *)data;
        script.nextPage = msg == MSG_RESET ? script.pageCount : script.nextPage + 1;
        transfers->Count = (TW_UINT16)(script.pageCount - script.nextPage);
        if (msg == MSG_ENDXFER)
            sprintf(detail, " %u", transfers->Count);
        if (!transfers->Count && script.closeRequest)
            Post(MSG_CLOSEDSREQ);
        return TWRC_SUCCESS;
    }
    return Refuse(TWCC_BADPROTOCOL);
}

TW_UINT16 WINAPI DSM_Entry(TW_IDENTITY *origin, TW_IDENTITY *destination, TW_UINT32 group, TW_UINT16 dat,
                           TW_UINT16 msg, TW_MEMREF data)
{
    char line[200], detail[120] = "";
    TW_UINT16 rc;
    int quiet = 0;
    sprintf(line, "%s %s", NameOf(datNames, dat), NameOf(msgNames, msg));
    if (script.fault[0] && !strcmp(line, script.fault)) {
        strcat(line, " fault");
        Log(line);
        *(volatile int *)0 = 0;
    }
    if (dat == DAT_STATUS && msg == MSG_GET && data) {
        quiet = quietStatus;
        quietStatus = 0;
        ((TW_STATUS *)data)->ConditionCode = condition;
        condition = TWCC_SUCCESS;
        rc = TWRC_SUCCESS;
    } else if (!origin || !data) {
        rc = Refuse(TWCC_BADVALUE);
    } else {
        rc = destination ? Source(dat, msg, data, detail) : Manager(origin, dat, msg, data, detail);
    }
    if (rc != TWRC_NOTDSEVENT && !quiet) {
        strcat(line, detail);
        if (rc != TWRC_SUCCESS && rc != TWRC_DSEVENT)
            strcat(strcat(line, " "), NameOf(outcomeNames, rc));
        Log(line);
    }
    (void)group;
    return rc;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance;
    if (reason == DLL_PROCESS_ATTACH) {
        ReadScript();
        Log("load");
    } else if (reason == DLL_PROCESS_DETACH && !reserved) {
        Log("unload");
    }
    return TRUE;
}
