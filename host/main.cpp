// lorvex-host: shows what lorvexops does, one subcommand at a time.
#include "host.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

std::vector<const HostCommand*>& Registry()
{
    static std::vector<const HostCommand*> commands;
    return commands;
}

const HostCommand* Find(const char* name)
{
    for (const HostCommand* command : Registry())
        if (std::strcmp(command->name, name) == 0)
            return command;
    return nullptr;
}

void Usage()
{
    Out("usage: lorvex-host COMMAND [ARGS...]\n\ncommands:\n");
    std::vector<const HostCommand*> commands = Registry();
    std::sort(commands.begin(), commands.end(),
              [](const HostCommand* a, const HostCommand* b) { return std::strcmp(a->name, b->name) < 0; });
    for (const HostCommand* command : commands)
        Out("  %-10s %s\n", command->name, command->usage);
    Out("  %-10s %s\n", "demo", "SAMPLES OUT   every command's demonstration on a folder of samples");
}

int Demo(const HostContext& context)
{
    if (context.args.size() < 2) {
        Out("usage: lorvex-host demo SAMPLES_DIR OUTPUT_DIR\n");
        return 2;
    }
    CreateDirectoryW(context.args[1], nullptr);
    std::vector<const HostCommand*> commands = Registry();
    std::stable_sort(commands.begin(), commands.end(),
                     [](const HostCommand* a, const HostCommand* b) { return a->order < b->order; });
    for (const HostCommand* command : commands) {
        if (command->demo)
            command->demo(context.args[0], context.args[1]);
    }
    return 0;
}

}  // namespace

HostCommand::HostCommand(const char* name_, const char* usage_, Run run_, Demo demo_, int order_)
    : name(name_), usage(usage_), run(run_), demo(demo_), order(order_)
{
    Registry().push_back(this);
}

std::string Utf8(const WCHAR* text)
{
    if (!text || !*text)
        return std::string();
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string result(bytes > 0 ? bytes - 1 : 0, '\0');
    if (bytes > 1)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, &result[0], bytes, nullptr, nullptr);
    return result;
}

void Out(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::fflush(stdout);
}

void OutW(const WCHAR* text)
{
    std::fputs(Utf8(text).c_str(), stdout);
    std::fflush(stdout);
}

void Heading(const char* title)
{
    Out("\n== %s ==\n", title);
}

lorvex::WString JoinPath(const WCHAR* folder, const WCHAR* name)
{
    lorvex::WString path(folder);
    if (!path.empty() && path.back() != L'\\' && path.back() != L'/')
        path += L'\\';
    path += name;
    return path;
}

std::vector<lorvex::WString> ListFiles(const WCHAR* folder)
{
    std::vector<lorvex::WString> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(JoinPath(folder, L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end(), [](const auto& a, const auto& b) {
        return lstrcmpiW(a.c_str(), b.c_str()) < 0;
    });
    for (auto& name : names)
        name = JoinPath(folder, name.c_str());
    return names;
}

int RunCommand(const char* name, const std::vector<const WCHAR*>& args)
{
    const HostCommand* command = Find(name);
    if (!command)
        return 2;
    HostContext context;
    context.args = args;
    return command->run(context);
}

extern "C" int wmain(int argc, WCHAR** argv)
{
    if (argc < 2) {
        Usage();
        return 2;
    }
    std::string name = Utf8(argv[1]);
    HostContext context;
    for (int i = 2; i < argc; ++i)
        context.args.push_back(argv[i]);
    if (name == "demo")
        return Demo(context);
    const HostCommand* command = Find(name.c_str());
    if (!command) {
        Usage();
        return 2;
    }
    try {
        return command->run(context);
    } catch (const std::exception& error) {
        Out("error: %s\n", error.what());
        return 1;
    }
}
