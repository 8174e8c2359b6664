// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The tests' Windows side (tests/unix/platformkit.h is the Unix one): no child processes, no
// other user; file modes are the read-only attribute, names are UTF-16.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>

#include <functional>
#include <map>

#include <windows.h>

// So that the rows that send Unix signals compile; they are skipped there.
constexpr int SIGHUP = 1, SIGINT = 2, SIGTERM = 15;
inline int kill(qint64, int)
{
    return -1;
}

namespace TestKit {

inline const char *lacks(Need need)
{
    static const std::map<Need, const char *> missing{
        {Fifos, "Windows has no FIFOs"},
        {FolderModes, "a read-only folder still lets files be written and listed (that takes an access list)"},
        {FaultInjection, "the C library's calls cannot be interposed, and no file size limit can be set"},
        {CaseSensitiveNames, "names that differ only in letter case are one file on Windows"},
        {LinuxEmulators, "the row's programs are Linux's; Windows looks for O2EM.EXE alone, in any letter case"},
        {EmulatorOutput, "a window program's output is not read: a failure is told from its exit code or crash"},
        {ConsoleProgram, "Quorix.exe is a window program: its text goes to a message box, and no signal ends it"},
        {LostDisplay, "a Windows session has no display to lose"},
        {PlainNames, "Windows forbids \" * : < > ? | and control characters in names"},
    };
    const auto it = missing.find(need);
    return it == missing.end() ? nullptr : it->second;
}

// What Windows says where Linux says otherwise (tests/unix/platformkit.h).
inline const QString notAProgram = QStringLiteral("O2EM.EXE could not start: bad EXE format for O2EM.EXE.");
inline const QString noEmulator = QStringLiteral("No O2EM.EXE in the game folder or on PATH.");
inline const QString crashed
    = QStringLiteral("O2EM.EXE crashed (access violation)."); // a window program's output is not read
inline const QString unaskedStyle = QStringLiteral("fusion"); // the style in force is kept: Windows's own by default
// How the stand-in records a start before its arguments: its working folder, the window state
// it was asked for, and its program.
inline QStringList startHead(const QString &folder, const QString &program)
{
    return {folder, QStringLiteral("maximized"), program};
}
inline bool noZombies()
{
    return true; // Windows keeps no ended process for its parent
}
inline bool handles(qint64, int)
{
    return false;
}

// Body runs right here: Windows has no fork, and the tests run as the one user.
inline QByteArray asUser(const QStringList &, const std::function<QByteArray()> &body)
{
    return body();
}

// Only the owner's write bit means anything: it is the read-only attribute.
inline void setMode(const QString &path, int mode)
{
    QFile::setPermissions(path, (mode & 0200) ? QFile::ReadOwner | QFile::WriteOwner : QFile::ReadOwner);
}

inline bool makeFifo(const QByteArray &)
{
    return false;
}
inline void fullDisk() { }

}
