// SPDX-License-Identifier: GPL-3.0-or-later
#include "titles/gameinfo.h"

#include "titles/cartridges.h"
#include "titles/crc32.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStringList>

namespace GameInfo {

namespace {

// Title, year and publisher, and the keys that start its games: "Press 1 for A, 2 for B".
QStringList known(const Cartridge &c)
{
    if (c.bios)
        return {QStringLiteral("The console's BIOS (%1), not a game.").arg(c.title)};
    QStringList lines{c.title};
    QStringList made;
    for (const QString &part : {c.year, c.publisher})
        if (!part.isEmpty())
            made << part;
    if (!made.isEmpty())
        lines << made.join(QStringLiteral(", "));
    QStringList starts;
    for (const auto &[key, game] : c.starts)
        starts << QStringLiteral("%1 for %2").arg(key, game);
    if (!starts.isEmpty())
        lines << QStringLiteral("Press ") + starts.join(QStringLiteral(", "));
    if (c.secondJoystick)
        lines << QStringLiteral("Uses the second joystick.");
    return lines;
}

// What the file holds, in a line or more.
QStringList contents(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {QStringLiteral("The file is no longer there.")};
    if (!info.isFile()) // a FIFO would never answer
        return {QStringLiteral("Not a plain file: not a cartridge.")};
    const qint64 size = info.size();
    if (size > ReadLimit)
        return {QStringLiteral("%1: too large to be a cartridge.").arg(QLocale::c().formattedDataSize(size, 1))};
    if (size == 0)
        return {QStringLiteral("An empty file: not a cartridge.")};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("The file cannot be read (%1).").arg(file.errorString())};
    const QByteArray bytes = file.read(ReadLimit);
    if (const Cartridge *c = Cartridges::find(Crc32::update(0, bytes), bytes.size()))
        return known(*c);
    return {QStringLiteral("%1 bytes, not in the cartridge list.").arg(bytes.size())};
}

}

QString describe(const QString &name, const QString &path)
{
    return (QStringList{name} + contents(path)).join(u'\n');
}

}
