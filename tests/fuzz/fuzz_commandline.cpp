// SPDX-License-Identifier: GPL-3.0-or-later
// Composes command lines from arbitrary file names and option values, then splits them
// again. The file name must come back as exactly one argument, whatever it holds ("./" before
// a leading dash), and every other argument must be one of the emulator's options.
#include "launch/commandline.h"

#include <QSet>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 6)
        return 0;
    LaunchOptions o;
    o.debug = static_cast<qint16>(data[0] % 4);
    o.noLimit = static_cast<qint16>(data[1] % 4);
    o.noSound = static_cast<qint16>(data[2] % 4);
    o.noVoice = static_cast<qint16>(data[3] % 4);
    if (data[4] % 5 < 4)
        o.stick1 = static_cast<StickMode>(data[4] % 5);
    if (data[5] % 5 < 4)
        o.stick2 = static_cast<StickMode>(data[5] % 5);
    const QString file = QString::fromUtf8(reinterpret_cast<const char *>(data + 6), static_cast<qsizetype>(size - 6));

    const CommandLine::Launch launch = CommandLine::prepare(file, o);
    if (launch.refused())
        return (file.isEmpty() || file == CommandLine::RomFile) ? 0 : (std::abort(), 0);
    const auto args = CommandLine::arguments(launch.commandLine, file);
    const QString asFile = file.startsWith(QLatin1Char('-')) ? QStringLiteral("./") + file : file;
    if (!args || args->isEmpty() || args->first() != asFile)
        std::abort();
    static const QSet<QString> flags{QStringLiteral("-debug"), QStringLiteral("-nolimit"),
                                     QStringLiteral("-nosound"), QStringLiteral("-novoice")};
    int sticks = 0;
    for (qsizetype i = 1; i < args->size(); ++i) {
        const QString &a = args->at(i);
        if (a.startsWith(QLatin1String("-s1=")) || a.startsWith(QLatin1String("-s2=")))
            ++sticks;
        else if (!flags.contains(a))
            std::abort();
    }
    const int on = (o.debug == 1) + (o.noLimit == 1) + (o.noSound == 1) + (o.noVoice == 1);
    if (sticks != 2 || args->size() != 3 + on)
        std::abort();
    return 0;
}
