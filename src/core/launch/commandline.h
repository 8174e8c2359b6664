// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/launchoptions.h"
#include "common/names.h"

#include <QString>
#include <QStringList>

namespace CommandLine {

// The message spells the name with a zero; users have always seen it that way.
inline const QString RomRefusal = QStringLiteral("You can not play 02ROM.BIN!");
inline const QString NoGameRefusal = QStringLiteral("There are no available games!");

// What one press of "Run Game" comes to: a refusal message, or the command line to start.
struct Launch {
    QString refusal;
    QString commandLine;

    [[nodiscard]] bool refused() const { return !refusal.isEmpty(); }
};

// The option's text when the box is set (value 1), one blank for clear and grayed alike.
[[nodiscard]] QString flagText(qint16 value, const QString &option);

// The launch steps, in their order: the flag strings of Module1 are rewritten first (also when
// the launch is then refused), then the selection is checked, then the stick strings are set
// and the command line is composed by plain concatenation.
[[nodiscard]] Launch prepare(const QString &fileName, const LaunchOptions &options);

// The emulator's arguments for the command line prepare() composed for fileName: the file name
// as one argument whatever it holds ("./" before a name that starts with a dash), then the rest
// split at runs of blanks.
[[nodiscard]] QStringList arguments(const QString &commandLine, const QString &fileName);

}
