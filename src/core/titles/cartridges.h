// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

#include <utility>

// What is known of a cartridge dump, or of one of the console's BIOS images.
struct Cartridge {
    QString title, year, publisher;
    QList<std::pair<QString, QString>> starts; // a key on the console's keyboard, and the game it starts
    bool secondJoystick = false;
    bool bios = false; // the title is then the console's name
};

namespace Cartridges {

// The cartridge or BIOS image of that CRC-32 and size, from the table compiled into Quorix (read
// at the first call); nullptr when it is not in the table.
[[nodiscard]] const Cartridge *find(quint32 crc, qint64 size);

}
