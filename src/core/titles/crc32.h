// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QtGlobal>

namespace Crc32 {

// The CRC-32 of zlib and PNG, by which the emulator and MAME's cartridge list know a dump:
// `crc` carried on over `data` (0 to begin with).
[[nodiscard]] quint32 update(quint32 crc, QByteArrayView data);

}
