// SPDX-License-Identifier: GPL-3.0-or-later
// Composes command lines from arbitrary file names and option values, then splits them
// again: the emulator must get the file name as exactly one argument, whatever it holds
// ("./" before a leading dash), then exactly the options that are on, in their order.
#include "launch/commandline.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 6)
        return 0;
    LaunchOptions o;
    qint16 *const flags[] = {&o.debug, &o.noLimit, &o.noSound, &o.noVoice};
    for (size_t i = 0; i < 4; ++i)
        *flags[i] = static_cast<qint16>(data[i] % 4);
    if (data[4] % 5 < 4)
        o.stick1 = static_cast<StickMode>(data[4] % 5);
    if (data[5] % 5 < 4)
        o.stick2 = static_cast<StickMode>(data[5] % 5);
    const QString file = QString::fromUtf8(reinterpret_cast<const char *>(data + 6), static_cast<qsizetype>(size - 6));

    const CommandLine::Launch launch = CommandLine::prepare(file, o);
    if (launch.refused() != (file.isEmpty() || file == Names::RomFile))
        std::abort();
    if (launch.refused())
        return 0;
    const auto stick = [](const std::optional<StickMode> &m) { return m ? QString::number(*m) : QString(); };
    QStringList expected{file.startsWith(QLatin1Char('-')) ? QStringLiteral("./") + file : file};
    expected << QStringLiteral("-debug") << QStringLiteral("-s1=") + stick(o.stick1)
             << QStringLiteral("-s2=") + stick(o.stick2) << QStringLiteral("-nolimit") << QStringLiteral("-nosound")
             << QStringLiteral("-novoice");
    for (const int off : {6, 5, 4, 1}) // the options of the boxes that are not set, from the back
        if (*flags[off == 1 ? 0 : off - 3] != Check::Set)
            expected.removeAt(off);
    if (CommandLine::arguments(launch.commandLine, file) != expected)
        std::abort();
    return 0;
}
