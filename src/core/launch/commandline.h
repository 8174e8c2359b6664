// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/launchoptions.h"

#include <QString>
#include <QStringList>

namespace CommandLine {

// The message spells the name with a zero; users have always seen it that way.
inline const QString RomRefusal = QStringLiteral("You can not play 02ROM.BIN!");
inline const QString NoGameRefusal = QStringLiteral("There are no available games!");
// The list holds games, but none is selected (a folder of one game starts so).
inline const QString PickRefusal = QStringLiteral("Pick a game in the list first.");

// The emulator's options, in the order the command line gives them, each with the caption of the
// control that sets it: the window's words for an option the emulator refuses.
enum Option { Debug, Stick1, Stick2, NoLimit, NoSound, NoVoice, OptionCount };
struct OptionName {
    const char *flag, *caption;
};
inline constexpr OptionName Options[OptionCount]
    = {{"debug", "Debug mode"},       {"s1", "Stick 1 Mode"},  {"s2", "Stick 2 Mode"},
       {"nolimit", "No Speed Limit"}, {"nosound", "No Sound"}, {"novoice", "No Voice"}};
[[nodiscard]] inline QString caption(Option option)
{
    return QLatin1String(Options[option].caption);
}

// What one press of "Run Game" comes to: a refusal message, or the emulator's arguments (args).
struct Launch {
    QString refusal;
    QStringList args; // the game first, then the options, each one argument

    [[nodiscard]] bool refused() const { return !refusal.isEmpty(); }
};

// The launch steps, in their order: the flag strings of Module1 are rewritten first (also when
// the launch is then refused), then the selection is checked, then the stick strings are set
// and the arguments are made of those strings. `game` names the file to the emulator
// (gameArgument()); `gamesListed` whether the list holds a game at all.
[[nodiscard]] Launch prepare(const QString &fileName, const QString &game, const LaunchOptions &options,
                             bool gamesListed);

// How the emulator is told of the game listed as fileName, found at `path` in the game folder:
// by that name, which today's emulator looks for in roms/ first; a name with a leading dash,
// which it would take for an option, by its path ("./" before one in the game folder itself).
[[nodiscard]] QString gameArgument(const QString &fileName, const QString &path);

}
