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

#include <fcntl.h>
#include <io.h>
#include <sys/types.h>
#include <windows.h>

// So that the rows that send Unix signals compile; they are skipped there.
constexpr int SIGHUP = 1;
inline int kill(qint64, int)
{
    return -1;
}

namespace TestKit {

inline const char *lacks(Need need)
{
    static const std::map<Need, const char *> missing{
        {Fifos, "Windows has no FIFOs"},
        {Links, "links on Windows need a privilege (and Wine 8 makes none)"},
        {FolderModes, "a read-only folder still lets files be written and listed (that takes an access list)"},
        {FaultInjection, "the C library's calls cannot be interposed, and no file size limit can be set"},
        {ByteNames, "Windows names are UTF-16: none holds bytes that are not valid text"},
        {CaseSensitiveNames, "names that differ only in letter case are one file on Windows"},
        {LinuxEmulators, "the row's programs are Linux's; Windows looks for O2EM.EXE alone, in any letter case"},
        {EmulatorOutput, "a window program's output is not read: a failure is told from its exit code or crash"},
        {ConsoleProgram, "Quorix.exe is a window program: its text goes to a message box, and no signal ends it"},
        {PlainNames, "Windows forbids \" * : < > ? | and control characters in names"},
    };
    const auto it = missing.find(need);
    return it == missing.end() ? nullptr : it->second;
}

// What Windows says where Linux says otherwise (tests/unix/platformkit.h).
inline const QString notAProgram = QStringLiteral("O2EM.EXE could not start: bad EXE format for O2EM.EXE.");
inline const QString crashed = QStringLiteral("O2EM.EXE crashed (access violation).");
inline const QString crashPrinted; // a window program's output is not read
// How the stand-in records a start before its arguments: its working folder, the window state
// it was asked for, and its program.
inline QStringList startHead(const QString &folder, const QString &program)
{
    return {folder, QStringLiteral("maximized"), program};
}
inline const QString unaskedStyle = QStringLiteral("fusion"); // the style in force is kept: Windows's own by default
// Marks the file hidden, or a system file, as Explorer and the system do.
inline bool markHidden(const QByteArray &path, bool system)
{
    const std::wstring name = QDir::toNativeSeparators(QString::fromUtf8(path)).toStdWString();
    return SetFileAttributesW(name.c_str(), system ? FILE_ATTRIBUTE_SYSTEM : FILE_ATTRIBUTE_HIDDEN);
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
inline QByteArray asUser(const std::function<QByteArray()> &body)
{
    return body();
}

inline void handOver(const QString &) { }
// Only the owner's write bit means anything: it is the read-only attribute.
inline void setMode(const QString &path, int mode)
{
    QFile::setPermissions(path, (mode & 0200) ? QFile::ReadOwner | QFile::WriteOwner : QFile::ReadOwner);
}
inline void unlock(const QString &) { } // QTemporaryDir clears read-only attributes itself

// Paths come as UTF-8, the tests' encoding of names.
inline bool makeFile(const QByteArray &path)
{
    return QFile(QString::fromUtf8(path)).open(QIODevice::WriteOnly);
}
inline bool makeFifo(const QByteArray &)
{
    return false;
}
inline void fullDisk() { }

}
