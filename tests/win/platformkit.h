// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The tests' Windows side (tests/unix/platformkit.h is the Unix one): no child processes, no
// other user; file modes are the read-only attribute, names are UTF-16.

#include <QByteArray>
#include <QFile>
#include <QStringList>

#include <csignal>
#include <functional>

#include <io.h> // dup, dup2 and close, as Unix names them

// So that the rows that send Unix signals compile; they are skipped there.
constexpr int SIGHUP = 1; // SIGINT and SIGTERM are the C library's
inline const auto kill = [](qint64, int) { return -1; };

namespace TestKit {

// What Windows lacks of what some rows need, and why.
constexpr Need Always = nullptr;
constexpr Need Fifos = "Windows has no FIFOs";
constexpr Need FolderModes = "a read-only folder still lets files be written and listed (that takes an access list)";
constexpr Need FaultInjection = "the C library's calls cannot be interposed, and no file size limit can be set";
constexpr Need CaseSensitiveNames = "names that differ only in letter case are one file on Windows";
constexpr Need LinuxEmulators = "the row's programs are Linux's; Windows looks for O2EM.EXE alone, in any letter case";
constexpr Need ConsoleProgram = "Quorix.exe is a window program: its text goes to a message box, and no signal ends it";
constexpr Need LostDisplay = "a Windows session has no display to lose";
constexpr Need PlainNames = "Windows forbids \" * : < > ? | and control characters in names";

// What Windows says where Linux says otherwise (tests/unix/platformkit.h).
inline const QString notAProgram = QStringLiteral("O2EM.EXE could not start: bad EXE format for O2EM.EXE.");
inline const QString noEmulator = QStringLiteral("No O2EM.EXE in the game folder or on PATH.");
// A window program's output is not read.
inline const QString crashed = QStringLiteral("O2EM.EXE crashed (access violation).");
inline const QString unaskedStyle = QStringLiteral("fusion"); // the style in force is kept: Windows's own by default
// What the stand-in records between its working folder and its program: the window state asked for.
inline const QString shownAs = QStringLiteral("maximized | ");
inline const auto noZombies = [] { return true; }; // Windows keeps no ended process for its parent
inline const auto handles = [](qint64, int) { return false; };
// Body runs right here: Windows has no fork, and the tests run as the one user.
inline const auto asUser = [](const QStringList &, const std::function<QByteArray()> &body) { return body(); };
// Only the owner's write bit means anything: it is the read-only attribute.
inline const auto setMode = [](const QString &path, int mode) {
    QFile::setPermissions(path, (mode & 0200) ? QFile::ReadOwner | QFile::WriteOwner : QFile::ReadOwner);
};
inline const auto makeFifo = [](const QString &) { return false; };
inline const auto fullDisk = [] {};

}
