// SPDX-License-Identifier: GPL-3.0-or-later
// Stands in for the emulator: records its working folder, how it was called and its arguments
// in o2em-<pid>.args, then behaves as the real one does in the situation named by
// O2EM_STANDIN: nobios, badoption, o2em2, segv, exit0, exit3, runner, flood, late; by default it stays
// alive a while, as a running game does.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/ioctl.h>
#include <unistd.h>

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

int main(int argc, char *argv[])
{
    const std::string name = "o2em-" + std::to_string(getpid()) + ".args";
    const std::string partial = name + ".partial";
    FILE *f = std::fopen(partial.c_str(), "wb");
    char cwd[4096];
    if (!f || !getcwd(cwd, sizeof cwd))
        return 1;
    std::fwrite(cwd, 1, std::string(cwd).size() + 1, f);
    for (int i = 0; i < argc; ++i)
        std::fwrite(argv[i], 1, std::string(argv[i]).size() + 1, f); // with its NUL
    std::fclose(f);
    if (std::rename(partial.c_str(), name.c_str()) != 0)
        return 1;

    const char *env = std::getenv("O2EM_STANDIN");
    const std::string mode = env ? env : "";
    if (mode == "nobios") {
        std::puts("O2EM v1.51");
        std::puts("No BIOS found");
        return 1;
    }
    if (mode == "o2em2") { // today's SDL port, in its own folder: roms/ needed, a bare name looked for there first
        if (access("roms", F_OK) != 0) {
            std::fputs("dir './roms/' not found !\n", stderr);
            return 1;
        }
        if (argc < 2 || (access(("roms/" + std::string(argv[1])).c_str(), R_OK) != 0 && access(argv[1], R_OK) != 0)) {
            std::fputs("no such game\n", stderr);
            return 1;
        }
    }
    if (mode == "badoption" || mode == "o2em2") { // its reason on stderr, then chatter on stdout
        std::fputs("Invalid option : s1\n", stderr);
        std::puts("parse_option s1 1");
        return 1;
    }
    if (mode == "segv") {
        std::puts("O2EM v1.51");
        std::fflush(stdout);
        std::raise(SIGSEGV);
    }
    if (mode == "exit0")
        return 0;
    if (mode == "exit3")
        return 3;
    if (mode == "flood") { // 1 MiB at once, then the reason
        static char block[1 << 20];
        std::memset(block, 'x', sizeof block);
        std::fwrite(block, 1, sizeof block, stdout);
        std::fflush(stdout);
        // Its last 60 KiB in one write, as it ends. The reason ends its line as a DOS-minded
        // program may.
        static char last[60 << 10];
        const char reason[] = "\nflood\t done  \r\n";
        std::memset(last, 'x', sizeof last);
        std::memcpy(last + sizeof last - (sizeof reason - 1), reason, sizeof reason - 1);
        endWithWordsInThePipe(last, sizeof last);
    }
    if (mode == "late") { // late, but within the watch
        usleep(2300000);
        std::puts("late failure");
        return 1;
    }
    if (mode == "runner") { // a line every 100 ms, and a count of them beside the arguments
        for (int line = 1; line <= 300; ++line) {
            std::printf("frame %d\n", line);
            std::fflush(stdout);
            FILE *count = std::fopen((name + ".lines").c_str(), "wb");
            if (count)
                std::fprintf(count, "%d", line), std::fclose(count);
            usleep(100000);
        }
        return 0;
    }
    for (int fd = 0; fd < 3; ++fd)
        close(fd); // nothing of the test's output is kept open while it lingers
    sleep(3);
    return 0;
}
