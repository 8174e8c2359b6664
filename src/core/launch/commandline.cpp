// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/commandline.h"

#include "common/module1.h"
#include "common/names.h"

#include <QDir>

namespace CommandLine {

namespace {

QString dashed(Option option)
{
    return QStringLiteral(" -") + QLatin1String(Options[option].flag);
}

// The option's text when the box is set (value 1), one blank for clear and grayed alike.
QString flagText(qint16 value, Option option)
{
    return value == Check::Set ? dashed(option) : QStringLiteral(" ");
}

QString stickText(const std::optional<StickMode> &mode)
{
    return mode ? QString::number(*mode) : QString();
}

}

Launch prepare(const QString &fileName, const QString &game, const LaunchOptions &options, bool gamesListed)
{
    using namespace Module1;
    strDebug = flagText(options.debug, Debug);
    strNoLimit = flagText(options.noLimit, NoLimit);
    strNoSound = flagText(options.noSound, NoSound);
    const QString varNoVoice = flagText(options.noVoice, NoVoice);

    // Exact case on purpose: the ROM is refused only under its own name.
    if (fileName == Names::RomFile)
        return {RomRefusal, {}};
    if (fileName.isEmpty())
        return {gamesListed ? PickRefusal : NoGameRefusal, {}};

    strStick1 = stickText(options.stick1);
    strStick2 = stickText(options.stick2);
    // One argument a piece; an option that is off is a blank, and no argument.
    QStringList args{game};
    for (const QString &piece : {strDebug, dashed(Stick1) + u'=' + strStick1, dashed(Stick2) + u'=' + strStick2,
                                 strNoLimit, strNoSound, varNoVoice})
        if (const QString word = piece.trimmed(); !word.isEmpty())
            args << word;
    return {{}, args};
}

QString gameArgument(const QString &fileName, const QString &path)
{
    if (!fileName.startsWith(u'-'))
        return fileName;
    return QDir::toNativeSeparators(path.contains(u'/') ? path : QStringLiteral("./") + path);
}

}
