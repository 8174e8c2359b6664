// SPDX-License-Identifier: GPL-3.0-or-later
#include "titles/cartridges.h"

#include <QFile>
#include <QHash>

namespace Cartridges {

namespace {

using Key = std::pair<quint32, qint64>;

// The table of resources/cartridges.tsv: "crc32 size title year publisher starts joystick", a
// line a dump, fields apart by tabs, "KEY=GAME|..." in starts; lines of "#" are comments.
QHash<Key, Cartridge> load()
{
    QHash<Key, Cartridge> table;
    QFile file(QStringLiteral(":/cartridges.tsv"));
    if (!file.open(QIODevice::ReadOnly))
        return table;
    const QString biosMark = QStringLiteral("BIOS: ");
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QStringList fields = QString::fromUtf8(line).split(u'\t');
        bool crcRead = false, sizeRead = false;
        const Key key{fields.value(0).toUInt(&crcRead, 16), fields.value(1).toLongLong(&sizeRead)};
        if (line.startsWith('#') || fields.size() != 7 || !crcRead || !sizeRead)
            continue;
        Cartridge c{fields[2], fields[3], fields[4], {}, fields[6] == u'2', fields[2].startsWith(biosMark)};
        if (c.bios)
            c.title.remove(0, biosMark.size());
        for (const QString &start : fields[5].split(u'|', Qt::SkipEmptyParts))
            c.starts.append({start.section(u'=', 0, 0), start.section(u'=', 1)});
        table.insert(key, c);
    }
    return table;
}

}

const Cartridge *find(quint32 crc, qint64 size)
{
    static const QHash<Key, Cartridge> table = load();
    const auto it = table.constFind({crc, size});
    return it == table.cend() ? nullptr : &*it;
}

}
