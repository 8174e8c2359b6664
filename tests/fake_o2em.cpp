// SPDX-License-Identifier: GPL-3.0-or-later
// Stands in for the emulator: records its working folder, how it was called and its arguments,
// then stays alive a while, as an emulator does, so that a launcher that waited would be seen.
#include <cstdio>
#include <string>
#include <unistd.h>

int main(int argc, char *argv[])
{
    for (int fd = 0; fd < 3; ++fd)
        close(fd); // nothing of the test's output is kept open while it lingers
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
    sleep(3);
    return 0;
}
