// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a fuzz target over the kept corpus without libFuzzer, so that every ordinary test
// run replays what fuzzing found: replay_<target> <corpus folder>.
#include <QDirIterator>
#include <QFile>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

int main(int argc, char *argv[])
{
    if (argc != 2)
        return 2;
    int inputs = 0;
    QDirIterator it(QFile::decodeName(argv[1]), QDir::Files);
    while (it.hasNext()) {
        QFile f(it.next());
        if (!f.open(QIODevice::ReadOnly))
            return 1;
        const QByteArray bytes = f.readAll();
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.constData()), static_cast<size_t>(bytes.size()));
        ++inputs;
    }
    std::printf("%d inputs replayed\n", inputs);
    return inputs > 0 ? 0 : 1;
}
