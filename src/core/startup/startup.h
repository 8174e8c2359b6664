// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace Startup {

// What the command line asks for: quorix [--last-folder] [FOLDER], --help, --version. Qt's own options
// (-style, -platform, ...) are let through for QApplication to take.
struct Request {
    enum class Action { Run, Help, Version, Fail };
    Action action = Action::Run;
    QString folder;          // the games' folder; empty: see gameFolder()
    bool lastFolder = false; // without a folder, the one opened last (the desktop menu's start)
    bool styleGiven = false; // -style on the command line: the user's choice wins
    bool platformGiven = false;
    QString text; // for Help and Version, to stdout; for Fail, to stderr
};

// `words`: the command line, the program first.
[[nodiscard]] Request parse(const QStringList &words);

// The game folder to open: the one given, else with --last-folder the one opened last, else the
// folder Quorix was started in. Empty when it must be asked for: --last-folder, and none
// remembered (or it has gone).
[[nodiscard]] QString gameFolder(const Request &request);

}
