/* A stand-in for the system mail library, for the mail tests only. It takes
 * the Simple MAPI and CMC calls a mail client would, writes each call and its
 * message into the record file the test names, copies every attachment
 * beside that file (so the test can still read it after the sender deleted
 * it), and answers what the test asks:
 *   LORVEX_MAIL_RECORD   record file (appended to)
 *   LORVEX_MAIL_MAPI     result of MAPISendMail (default 0, success)
 *   LORVEX_MAIL_CMC      result of cmc_send (default 0, success)
 * Built as a real PE DLL: Wine only lets a native DLL replace its builtin
 * mapi32 (WINEDLLOVERRIDES="mapi32=n,b"). */
#include <windows.h>
#include <mapi.h>
#include <xcmc.h>
#include <stdio.h>
#include <stdlib.h>

static unsigned long EnvNumber(const char *name, unsigned long fallback)
{
    char text[32];
    DWORD n = GetEnvironmentVariableA(name, text, sizeof(text));
    return n && n < sizeof(text) ? strtoul(text, NULL, 0) : fallback;
}

static void Record(const char *format, ...)
{
    WCHAR path[MAX_PATH];
    char line[4096];
    va_list args;
    DWORD n = GetEnvironmentVariableW(L"LORVEX_MAIL_RECORD", path, MAX_PATH), written;
    HANDLE file;
    if (!n || n >= MAX_PATH)
        return;
    va_start(args, format);
    _vsnprintf(line, sizeof(line) - 1, format, args);
    va_end(args);
    line[sizeof(line) - 1] = 0;
    file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    WriteFile(file, line, (DWORD)strlen(line), &written, NULL);
    CloseHandle(file);
}

static const char *Text(const char *s) { return s ? s : "(null)"; }

/* Copies the attachment to <record>.<n>; 1 when the file could be read whole. */
static int KeepCopy(const char *source, unsigned n)
{
    WCHAR record[MAX_PATH], copy[MAX_PATH + 16], wide[MAX_PATH];
    DWORD len = GetEnvironmentVariableW(L"LORVEX_MAIL_RECORD", record, MAX_PATH);
    if (!source || !len || len >= MAX_PATH ||
        !MultiByteToWideChar(CP_ACP, 0, source, -1, wide, MAX_PATH))
        return 0;
    wsprintfW(copy, L"%s.%u", record, n);
    return CopyFileW(wide, copy, FALSE) ? 1 : 0;
}

static unsigned gCopies;

/* The sender never logs on; a record line shows it if it did. */
ULONG WINAPI MAPILogon(ULONG_PTR ui, LPSTR profile, LPSTR password, FLAGS flags, ULONG reserved,
                       LPLHANDLE session)
{
    Record("MAPILogon\n");
    return MAPI_E_FAILURE;
}

ULONG WINAPI MAPILogoff(LHANDLE session, ULONG_PTR ui, FLAGS flags, ULONG reserved)
{
    Record("MAPILogoff\n");
    return MAPI_E_FAILURE;
}

ULONG WINAPI MAPISendMail(LHANDLE session, ULONG_PTR ui, lpMapiMessage message, FLAGS flags,
                          ULONG reserved)
{
    ULONG i;
    if (!message)
        return MAPI_E_INVALID_MESSAGE;
    Record("MAPISendMail session=%lu ui=%lu flags=%lu subject=[%s] note=[%s] recips=%lu files=%lu\n",
           (unsigned long)session, (unsigned long)ui, (unsigned long)flags, Text(message->lpszSubject),
           Text(message->lpszNoteText), (unsigned long)message->nRecipCount,
           (unsigned long)message->nFileCount);
    for (i = 0; i < message->nFileCount; ++i) {
        const MapiFileDesc *f = &message->lpFiles[i];
        unsigned n = gCopies++;
        int readable = KeepCopy(f->lpszPathName, n);
        Record("file position=%ld flags=%lu readable=%d name=[%s] type=%s copy=%u path=[%s]\n",
               (long)f->nPosition, (unsigned long)f->flFlags, readable, Text(f->lpszFileName),
               f->lpFileType ? "set" : "(null)", n, Text(f->lpszPathName));
    }
    return EnvNumber("LORVEX_MAIL_MAPI", SUCCESS_SUCCESS);
}

CMC_return_code WINAPI cmc_query_configuration(CMC_session_id session, CMC_enum item,
                                               CMC_buffer reference, CMC_extension *extensions)
{
    Record("cmc_query_configuration session=%lu item=%ld\n", (unsigned long)session, (long)item);
    if (item != CMC_CONFIG_UI_AVAIL || !reference)
        return CMC_E_NOT_SUPPORTED;
    *(CMC_boolean *)reference = CMC_TRUE;
    return CMC_SUCCESS;
}

CMC_return_code WINAPI cmc_logon(CMC_string service, CMC_string user, CMC_string password,
                                 CMC_object_identifier charset, CMC_ui_id ui, CMC_uint16 version,
                                 CMC_flags flags, CMC_session_id *session, CMC_extension *extensions)
{
    Record("cmc_logon version=%u flags=0x%lx\n", (unsigned)version, (unsigned long)flags);
    if (session)
        *session = 7;
    return CMC_SUCCESS;
}

CMC_return_code WINAPI cmc_send(CMC_session_id session, CMC_message *message, CMC_flags flags,
                                CMC_ui_id ui, CMC_extension *extensions)
{
    const CMC_attachment *a;
    if (!message)
        return CMC_E_INVALID_MESSAGE_PARAMETER;
    Record("cmc_send session=%lu flags=%lu subject=[%s] note=[%s]\n", (unsigned long)session,
           (unsigned long)flags, Text(message->subject), Text(message->text_note));
    for (a = message->attachments; a; ++a) {
        unsigned n = gCopies++;
        int readable = KeepCopy(a->attach_filename, n);
        Record("attachment flags=0x%lx readable=%d title=[%s] type=%s copy=%u path=[%s]\n",
               (unsigned long)a->attach_flags, readable, Text(a->attach_title),
               a->attach_type ? "set" : "(null)", n, Text(a->attach_filename));
        if (a->attach_flags & CMC_ATT_LAST_ELEMENT)
            break;
    }
    return EnvNumber("LORVEX_MAIL_CMC", CMC_SUCCESS);
}

CMC_return_code WINAPI cmc_logoff(CMC_session_id session, CMC_ui_id ui, CMC_flags flags,
                                  CMC_extension *extensions)
{
    Record("cmc_logoff session=%lu flags=0x%lx\n", (unsigned long)session, (unsigned long)flags);
    return CMC_SUCCESS;
}

/* Lets a test make sure it talks to this stand-in and not to Wine's own
 * mapi32, which would hand the mail to the desktop's mail program. */
int WINAPI LorvexMailStandIn(void) { return 1; }
