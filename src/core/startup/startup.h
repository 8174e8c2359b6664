// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace Startup {

// What the command line asks for: quorix [FOLDER], --help, --version. Qt's own options
// (-style, -platform, ...) are let through for QApplication to take.
struct Arguments {
    enum class Action { Run, Help, Version, Fail };
    Action action = Action::Run;
    QString folder;          // the games' folder; empty: the folder it was started in
    bool styleGiven = false; // -style on the command line: the user's choice wins
    bool platformGiven = false;
    QString text; // for Help and Version, to stdout; for Fail, to stderr
};

[[nodiscard]] Arguments parse(const QStringList &arguments);

}
