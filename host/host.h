// The sample host's subcommands. Each host/*.cpp registers its own with a
// static HostCommand, so subsystems add commands without touching main.cpp.
#pragma once
#include <windows.h>
#include <lorvexops/wchartraits.h>
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
void Out(const char* format, ...) __attribute__((format(printf, 1, 2)));
void OutW(const WCHAR* text);         // no newline added
void Heading(const char* title);
// Every file of folder (no subfolders), sorted by name; full paths.
std::vector<LorvexWString> ListFiles(const WCHAR* folder);
LorvexWString JoinPath(const WCHAR* folder, const WCHAR* name);
// Runs a host subcommand as if typed (used by demos).
int RunCommand(const char* name, const std::vector<const WCHAR*>& args);
