#include "mail/sendjob.h"

#include "mail/mailsender.h"
#include "win/safefile.h"

#include <lorvexops/companions.h>
#include <lorvexops/ziplib.h>

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

namespace lorvex {

namespace {

const WCHAR kResizeFolder[] = L"EmailResizeTempDir";
const WCHAR kArchiveName[] = L"lorvex_attachement.zip";
const WCHAR kCaption[] = L"Lorvex: Send E-mail";

WString Join(const WString& folder, const WCHAR* name)
{
    WString path(folder);
    if (!path.empty() && path.back() != L'\\')
        path += L'\\';
    return path + name;
}

// True when a file can be created in folder (tried, then removed).
bool CanWriteIn(const WString& folder)
{
    WCHAR probe[MAX_PATH];
    if (folder.empty() || folder.size() > MAX_PATH - 14 || !GetTempFileNameW(folder.c_str(), L"lvx", 0, probe))
        return false;
    DeleteFileW(probe);
    return true;
}

WString ProgramFolder()
{
    WString path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    path.resize(length < path.size() ? length : 0);
    const size_t slash = path.find_last_of(L'\\');
    path.resize(slash == WString::npos ? 0 : slash);
    return path;
}

bool IsFolder(const WString& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void DeleteFolder(const WString& folder)
{
    WString list(folder);
    list.push_back(L'\0');   // the list ends with two zeros; c_str() adds the second
    SHFILEOPSTRUCTW operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = list.c_str();
    operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationW(&operation);
}

// Folder of its own for the resized copies: several pictures of one name
// from different folders each keep a copy.
WString ResizedCopy(const MailJob& job, const WString& source, const WString& folder, UniqueNames& names)
{
    SIZE size = {0, 0};
    if (!CDll2LorvexMessage().GetImageDim(source.c_str(), &size))
        return WString();
    if (job.fitToBounds)
        job.fitToBounds(&size);
    const WString copy = Join(folder, names.Take(PathFindFileNameW(source.c_str())).c_str());
    // Rewritten even at its own size: the copy is what gets mailed.
    if (!CDll2LorvexMessage().WriteImage(source.c_str(), copy.c_str(), size, job.filter))
        return WString();
    return copy;
}

}  // namespace

MailPlaces ChooseMailPlaces()
{
    WString folder = ProgramFolder();
    if (!CanWriteIn(folder)) {
        WCHAR temp[MAX_PATH + 1] = {};
        const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
        folder.assign(temp, length <= MAX_PATH ? length : 0);
    }
    MailPlaces places;
    places.resizeFolder = Join(folder, kResizeFolder);
    places.archive = Join(folder, kArchiveName);
    WCHAR desktop[MAX_PATH] = {};
    if (SHGetSpecialFolderPathW(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE))
        places.desktopArchive = Join(desktop, kArchiveName);
    return places;
}

MailOutcome SendPictures(const MailJob& job, const MailPlaces& places)
{
    if (job.pictures.empty())
        return MailOutcome::NotStarted;
    if (job.resize && !IsFolder(places.resizeFolder) && !CreateDirectoryW(places.resizeFolder.c_str(), nullptr))
        return MailOutcome::NotStarted;
    if (job.resize && job.onResizeStart)
        job.onResizeStart();

    CZLib archive;
    archive.Open(places.archive.c_str(), 0);
    std::vector<WString> files, missing;
    UniqueNames resizedNames;
    int done = 0;
    for (const WString& picture : job.pictures) {
        if (!PathFileExistsW(picture.c_str())) {
            missing.push_back(picture);
            continue;
        }
        const WString file = job.resize ? ResizedCopy(job, picture, places.resizeFolder, resizedNames) : picture;
        if (!file.empty()) {
            archive.AddFile(file.c_str());
            files.push_back(file);
        } else {
            MessageBoxW(job.owner, picture.c_str(), L"File cannot be resized ...", MB_ICONINFORMATION);
        }
        if (job.resize && job.onResized)
            job.onResized(++done);
    }
    const bool archived = archive.Close() != 0;

    MailOutcome outcome = MailOutcome::NothingToSend;
    if (!files.empty()) {
        CMailSender sender;
        // Without a complete archive the pictures go themselves, zip or not.
        if (job.zip && archived) {
            sender.AddAttachment(places.archive.c_str(), L"");
        } else {
            for (const WString& file : files)
                sender.AddAttachment(file.c_str(), L"");
        }
        if (sender.SendWithMapi() || sender.SendWithCmc()) {
            outcome = MailOutcome::Mailed;
        } else if (archived && !places.desktopArchive.empty() &&
                   CopyFileSafely(places.archive.c_str(), places.desktopArchive.c_str())) {
            outcome = MailOutcome::OnDesktop;
            MessageBoxW(job.owner, L"Lorvex cannot detect your email client.\nA zip file is saved to your desktop.",
                        kCaption, MB_ICONWARNING);
        } else {
            outcome = MailOutcome::NotDelivered;
        }
    }

    DeleteFileW(places.archive.c_str());
    if (job.resize)
        DeleteFolder(places.resizeFolder);
    if (!missing.empty()) {
        WString text(L"These pictures no longer exist and were not sent:");
        for (const WString& picture : missing)
            text += L"\n" + picture;
        MessageBoxW(job.owner, text.c_str(), kCaption, MB_ICONWARNING);
    }
    return outcome;
}

}  // namespace lorvex
