// The sample host's subcommands. Each host/*.cpp registers its own with a
// static HostCommand, so subsystems add commands without touching main.cpp.
#pragma once
#include <windows.h>
#include <lorvexops/widestring.h>
#include <Magick++.h>
#include <string>
#include <vector>

struct HostContext {
    std::vector<const WCHAR*> args;   // after the subcommand's name
};

struct HostCommand {
    using Run = int (*)(const HostContext&);
    // Shows the command on the bundled samples: samples folder, output folder.
    using Demo = void (*)(const WCHAR* samples, const WCHAR* output);
    HostCommand(const char* name, const char* usage, Run run, Demo demo = nullptr, int order = 100);
    const char* name;
    const char* usage;
    Run run;
    Demo demo;
    int order;                        // demo order: lower runs first
};

// Output in UTF-8 (file names may be Cyrillic, CJK or emoji).
std::string Utf8(const WCHAR* text);
// The C runtime's printf with its C99 directives (%zu): MinGW's C++ runtime
// gives it its own printf, which the plain printf check would not know.
void Out(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));
void OutW(const WCHAR* text);         // no newline added
void Heading(const char* title);
// Every file of folder (no subfolders), sorted by name; full paths.
std::vector<lorvex::WString> ListFiles(const WCHAR* folder);
lorvex::WString JoinPath(const WCHAR* folder, const WCHAR* name);
// Runs a host subcommand as if typed (used by demos).
int RunCommand(const char* name, const std::vector<const WCHAR*>& args);

// Files through Win32 (Unicode paths), written under a temporary name beside
// the target and moved into place only when complete; without replace an
// existing target is never overwritten.
bool ReadBytes(const WCHAR* path, std::string* bytes);
bool WriteBytes(const WCHAR* path, const void* data, size_t size, bool replace);
// A picture read from bytes in memory; false when unreadable.
bool ReadPicture(const WCHAR* path, Magick::Image& image);
// The picture encoded in its own format (image.magick()) and written.
bool WritePicture(Magick::Image& image, const WCHAR* path, bool replace);
// The Magick++ format a file name asks for: its extension, upper case.
std::string FormatOfPath(const WCHAR* path);

// DIR [--sort KEY] [FLAG] as the folder commands take them: *sortKey gets KEY
// (unchanged when not given), *flagGiven whether FLAG came. Anything else is
// reported and gives false.
bool ParseFolderArguments(const HostContext& context, const WCHAR* flag, const WCHAR** sortKey, bool* flagGiven);
