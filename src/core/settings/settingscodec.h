// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/launchoptions.h"

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <optional>

// The one-line record of quorix.cfg: four check box values, then the two stick modes,
// comma-separated, ending in CR LF.
namespace SettingsCodec {

constexpr int ValueCount = 6;
using Values = std::array<qint16, ValueCount>;

// No record needs more; a file is never read further than this.
constexpr qsizetype MaxRecordBytes = 4096;

[[nodiscard]] LaunchOptions defaults();

// The record as saved: six values, an empty stick value writing nothing.
[[nodiscard]] QByteArray encode(const LaunchOptions &options);

// The record written when the file is missing or unusable: the defaults and a seventh,
// never-read text value, kept for the files older versions expect.
[[nodiscard]] QByteArray defaultRecord();

// The first six values of the text, each a decimal number (plain, quoted, with a fraction
// rounded half to even, or an exponent) in 16 bits; an empty value reads as 0. Empty when
// a value is not a number, is out of range, or the text ends before the sixth value.
// With `whole` false the text is only the start of a longer file: a value that runs into
// its end may go on beyond it, so it fails rather than be read cut short.
[[nodiscard]] std::optional<Values> readValues(QByteArrayView text, bool whole = true);

// Values that the controls accept: check boxes 0 to 2, sticks 0 to 3.
[[nodiscard]] std::optional<LaunchOptions> toOptions(const Values &values);

[[nodiscard]] inline std::optional<LaunchOptions> decode(QByteArrayView text, bool whole = true)
{
    const auto values = readValues(text, whole);
    return values ? toOptions(*values) : std::nullopt;
}

}
