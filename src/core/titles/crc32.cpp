// SPDX-License-Identifier: GPL-3.0-or-later
#include "titles/crc32.h"

#include <array>

namespace Crc32 {

namespace {

// One step of the reflected polynomial 0xEDB88320 for each byte value, made by the compiler.
constexpr std::array<quint32, 256> table = [] {
    std::array<quint32, 256> t{};
    for (quint32 n = 0; n < 256; ++n) {
        quint32 c = n;
        for (int k = 0; k < 8; ++k)
            c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        t[n] = c;
    }
    return t;
}();

}

quint32 update(quint32 crc, QByteArrayView data)
{
    crc = ~crc;
    for (const char byte : data)
        crc = table[(crc ^ static_cast<unsigned char>(byte)) & 0xff] ^ (crc >> 8);
    return ~crc;
}

}
