// SPDX-License-Identifier: GPL-3.0-or-later
// Stands in for the emulator: records its working folder, how it was called and its arguments
// in o2em-<pid>.args (on Windows the arguments as the Microsoft C runtime splits them, and the
// window state it was asked for), then behaves as the real one does in the situation named by
// O2EM_STANDIN: exit0, exit3, segv, and on Linux flood. By default it stays alive a
// while, as a running game does. (What a shell script can do, the tests write as one.)
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

// Each name as UTF-8 bytes, the tests' encoding: on Windows from UTF-16, on Linux as it is.
template <class Char>
static std::string text(const Char *name)
{
    return std::filesystem::path(name).u8string();
}

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
#else
#include <csignal>
#include <sys/ioctl.h>
#include <unistd.h>
#define _getpid getpid
using Char = char;
static std::string shown()
{
    return {}; // Linux programs are not asked how to open their window
}

// Writes its last words and ends so that they are still in the pipe when the reader of its
// output learns of the end, as under load: that reader (its parent) is held meanwhile, and a
// helper lets it go once this program is gone.
[[noreturn]] static void endWithWordsInThePipe(const char *words, size_t size)
{
    int unread = 1;
    for (int waited = 0; waited < 2000 && ioctl(1, FIONREAD, &unread) == 0 && unread > 0; ++waited)
        usleep(1000); // room for all of them, with the reader held
    const pid_t self = getpid(), reader = getppid();
    const pid_t helper = fork();
    if (helper == 0) {
        close(1), close(2);
        while (getppid() == self) // until this program has ended
            usleep(1000);
        kill(reader, SIGCONT);
        _exit(0);
    }
    if (helper > 0)
        kill(reader, SIGSTOP);
    const bool whole = write(1, words, size) == static_cast<ssize_t>(size);
    _exit(whole ? 1 : 2);
}

// What only the Linux build prints: Windows does not read a window program's output.
static int linuxOnly(const std::string &mode)
{
    if (mode == "flood") {                          // 1 MiB at once, then its last 60 KiB in one write as it ends, the
        static char block[1 << 20], last[60 << 10]; // reason's line ended as a DOS-minded program may
        std::memset(block, 'x', sizeof block);
        std::fwrite(block, 1, sizeof block, stdout);
        std::fflush(stdout);
        const char reason[] = "\nflood\t done  \r\n";
        std::memset(last, 'x', sizeof last);
        std::memcpy(last + sizeof last - (sizeof reason - 1), reason, sizeof reason - 1);
        endWithWordsInThePipe(last, sizeof last);
    }
    for (int fd = 0; fd < 3; ++fd)
        close(fd); // nothing of the test's output is kept open while it lingers
    return -1;
}
#endif

int main(int argc, Char *argv[])
{
    // Each field with a NUL after it; written aside and renamed, as the tests wait for the name.
    std::string fields = std::filesystem::current_path().u8string() + '\0' + shown();
    for (int i = 0; i < argc; ++i)
        fields += text(argv[i]) + '\0';
    const std::string record = "o2em-" + std::to_string(_getpid()) + ".args", partial = record + ".partial";
    FILE *f = std::fopen(partial.c_str(), "wb");
    if (!f || std::fwrite(fields.data(), 1, fields.size(), f) != fields.size() || std::fclose(f) != 0
        || std::rename(partial.c_str(), record.c_str()) != 0)
        return 1;

    const char *env = std::getenv("O2EM_STANDIN");
    const std::string mode = env ? env : "";
    if (mode == "exit0")
        return 0;
    if (mode == "exit3")
        return 3;
#ifdef _WIN32
    if (mode == "segv") // ends as an access violation does, without a debugger
        TerminateProcess(GetCurrentProcess(), 0xC0000005);
    Sleep(4000); // longer than Quorix watches a start
#else
    if (mode == "segv") {
        std::puts("O2EM v1.51");
        std::fflush(stdout);
        std::raise(SIGSEGV);
    }
    if (const int status = linuxOnly(mode); status >= 0)
        return status;
    sleep(3);
#endif
    return 0;
}
