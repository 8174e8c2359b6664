// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/commandline.h"

#include "common/module1.h"

#include <QDir>

namespace CommandLine {

QString flagText(qint16 value, const QString &option)
{
    return value == Check::Set ? option : QStringLiteral(" ");
}

static QString stickText(const std::optional<StickMode> &mode)
{
    return mode ? QString::number(*mode) : QString();
}

Launch prepare(const QString &fileName, const LaunchOptions &options)
{
    using namespace Module1;
    strDebug = flagText(options.debug, QStringLiteral(" -debug"));
    strNoLimit = flagText(options.noLimit, QStringLiteral(" -nolimit"));
    strNoSound = flagText(options.noSound, QStringLiteral(" -nosound"));
    const QString varNoVoice = flagText(options.noVoice, QStringLiteral(" -novoice"));

    // Exact case on purpose: the ROM is refused only under its own name.
    if (fileName == Names::RomFile)
        return {RomRefusal, {}};
    if (fileName.isEmpty())
        return {NoGameRefusal, {}};

    strStick1 = stickText(options.stick1);
    strStick2 = stickText(options.stick2);
    return {{},
            Names::Emulator + QLatin1Char(' ') + fileName + strDebug + QStringLiteral(" -s1=") + strStick1
                + QStringLiteral(" -s2=") + strStick2 + strNoLimit + strNoSound + varNoVoice};
}

QStringList arguments(const QString &commandLine, const QString &fileName)
{
    const QString head = Names::Emulator + QLatin1Char(' ') + fileName;
    Q_ASSERT(commandLine.startsWith(head));
    // A name that starts with a dash would reach the emulator as an option: "./" (".\" on
    // Windows) keeps it a file.
    QStringList args{fileName.startsWith(QLatin1Char('-')) ? QDir::toNativeSeparators(QStringLiteral("./") + fileName)
                                                           : fileName};
    args += QStringView(commandLine).mid(head.size()).toString().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return args;
}

}
