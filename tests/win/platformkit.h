// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The tests' Windows side (tests/unix/platformkit.h is the Unix one): no child processes, no
// other user; file modes are the read-only attribute, names are UTF-16.

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <functional>

#include <fcntl.h>
#include <io.h>
#include <sys/types.h>

// The C runtime's pipe and write, under the POSIX names and types the tests use.
inline int pipe(int fds[2])
{
    return _pipe(fds, 4096, _O_BINARY);
}
inline qsizetype write(int fd, const void *data, size_t size)
{
    return _write(fd, data, static_cast<unsigned>(size));
}
// So that the rows that send Unix signals compile; they are skipped there.
constexpr int SIGHUP = 1;
inline int kill(qint64, int)
{
    return -1;
}

namespace TestKit {

inline const char *lacks(Need need)
{
    switch (need) {
    case Fifos:
        return "Windows has no FIFOs";
    case Links:
        return "links on Windows need a privilege (and Wine 8 makes none)";
    case FolderModes:
        return "a folder's read-only attribute does not stop writing or listing in it (that takes an access list)";
    case FaultInjection:
        return "the C library's calls cannot be interposed, and there is no file size limit to set";
    case ByteNames:
        return "Windows names are UTF-16: none holds bytes that are not valid text";
    case CaseSensitiveNames:
        return "names that differ only in letter case are one file on Windows";
    case LinuxEmulators:
        return "the row's programs are Linux's (o2em, o2em2, scripts, files Linux cannot run); Windows looks for "
               "O2EM.EXE alone, in any letter case (tst_winlaunch has its lookup)";
    case LinuxStandIn:
        return "the Linux stand-in's ways of failing, its output and Unix signals (tst_winlaunch has Windows's "
               "endings)";
    case ConsoleProgram:
        return "Quorix.exe is a window program: its text goes to a message box or the parent's console, and no signal "
               "ends it";
    case QtStyleByDefault:
        return "Windows's own style is Qt's default there and is kept; the row starts from Fusion, Linux's default";
    case PlainNames:
        return "Windows forbids \" * : < > ? | and control characters in names";
    case ModalByQt:
        return "Windows itself keeps clicks from a window under a modal box (it disables it); QTest's clicks go round "
               "Windows";
    }
    return nullptr;
}

// Body runs right here: Windows has no fork, and the tests run as the one user.
inline int inChild(const std::function<int()> &body, bool = false)
{
    return body();
}
inline int asUser(const std::function<int()> &body)
{
    return body();
}

// Only the owner's write bit means anything: it is the read-only attribute.
inline void handOver(const QString &path, int mode)
{
    QFile::setPermissions(path, (mode & 0200) ? QFile::ReadOwner | QFile::WriteOwner : QFile::ReadOwner);
}
inline void unlock(const QString &) { } // QTemporaryDir clears read-only attributes itself

// Paths come as UTF-8, the tests' encoding of names.
inline bool makeFile(const QByteArray &path)
{
    return QFile(QString::fromUtf8(path)).open(QIODevice::WriteOnly);
}
inline bool makeFolder(const QByteArray &path)
{
    return QDir().mkdir(QString::fromUtf8(path));
}
inline bool makeFifo(const QByteArray &)
{
    return false;
}
inline bool makeLink(const QByteArray &, const QByteArray &)
{
    return false;
}
inline void fullDisk() { }

}
