// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the settings reader. Whatever it accepts must be a record the
// controls take, and must save and read back as itself; a prefix read never accepts what
// the whole text refuses.
#include "settings/settingscodec.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView text(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const auto whole = SettingsCodec::decode(text, true);
    const auto prefix = SettingsCodec::decode(text, false);
    if (prefix && !(whole && *whole == *prefix))
        std::abort();
    if (!whole)
        return 0;
    const auto inRange = [](qint16 v, int top) { return v >= 0 && v <= top; };
    const LaunchOptions &o = *whole;
    if (!inRange(o.debug, 2) || !inRange(o.noLimit, 2) || !inRange(o.noSound, 2) || !inRange(o.noVoice, 2) || !o.stick1
        || !o.stick2 || !inRange(*o.stick1, 3) || !inRange(*o.stick2, 3))
        std::abort();
    const auto again = SettingsCodec::decode(SettingsCodec::encode(o));
    if (!again || !(*again == o))
        std::abort();
    return 0;
}
