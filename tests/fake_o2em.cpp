// SPDX-License-Identifier: GPL-3.0-or-later
// Stands in for the emulator: records its working folder, how it was called and its arguments
// in o2em-<pid>.args (on Windows the arguments as the Microsoft C runtime splits them, and the
// window state it was asked for), then ends as O2EM_STANDIN says: exit0, exit3, segv; by default
// it stays alive a while, as a running game does. (What a shell script can do, the tests write as one.)
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#ifdef _WIN32
#include <process.h>
#include <windows.h>
#define main wmain
using Char = wchar_t;
static std::string shown() // how Quorix asked the window to open
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    const bool asked = startup.dwFlags & STARTF_USESHOWWINDOW;
    return std::string(asked && startup.wShowWindow == SW_SHOWMAXIMIZED ? "maximized" : "as it likes") + '\0';
}
static void crash() // as an access violation ends a program, without a debugger
{
    TerminateProcess(GetCurrentProcess(), 0xC0000005);
}
#else
#include <unistd.h>
#define _getpid getpid
#define Sleep(ms) sleep((ms) / 1000)
using Char = char;
static std::string shown()
{
    return {}; // Linux programs are not asked how to open their window
}
static void crash() // after its banner, which Quorix reads on Linux
{
    std::puts("O2EM v1.51");
    std::fflush(stdout);
    std::raise(SIGSEGV);
}
#endif

int main(int argc, Char *argv[])
{
    // Each field, as UTF-8, with a NUL after it; written aside and renamed, as the tests wait for the name.
    std::string fields = std::filesystem::current_path().u8string() + '\0' + shown();
    for (int i = 0; i < argc; ++i)
        fields += std::filesystem::path(argv[i]).u8string() + '\0';
    const std::string record = "o2em-" + std::to_string(_getpid()) + ".args", partial = record + ".partial";
    FILE *f = std::fopen(partial.c_str(), "wb");
    if (!f || std::fwrite(fields.data(), 1, fields.size(), f) != fields.size() || std::fclose(f) != 0
        || std::rename(partial.c_str(), record.c_str()) != 0)
        return 1;
    const std::string mode = std::getenv("O2EM_STANDIN") ? std::getenv("O2EM_STANDIN") : "";
    if (mode == "exit0" || mode == "exit3")
        return mode[4] - '0';
    if (mode == "segv")
        crash();
    for (FILE *stream : {stdin, stdout, stderr}) // nothing of the test's output kept open while it lingers
        std::fclose(stream);
    Sleep(4000); // longer than Quorix watches a start
    return 0;
}
