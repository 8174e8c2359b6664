// Stands in for the emulator: records its arguments and exits at once.
#include <cstdio>
#include <string>
#include <unistd.h>

int main(int argc, char *argv[])
{
    const std::string name = "o2em-" + std::to_string(getpid()) + ".args";
    const std::string partial = name + ".partial";
    FILE *f = std::fopen(partial.c_str(), "wb");
    if (!f)
        return 1;
    for (int i = 1; i < argc; ++i)
        std::fwrite(argv[i], 1, std::string(argv[i]).size() + 1, f); // with its NUL
    std::fclose(f);
    return std::rename(partial.c_str(), name.c_str()) == 0 ? 0 : 1;
}
