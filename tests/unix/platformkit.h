// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The tests' Unix side: a piece of a test run as an unprivileged user, file modes, and FIFOs.
// tests/win/platformkit.h is the same for Windows.

#include <QByteArray>
#include <QFile>
#include <QStringList>

#include <csignal>
#include <functional>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace TestKit {

// The rows are written on Linux: nothing they need is lacking.
constexpr Need Always = nullptr, Fifos = nullptr, FolderModes = nullptr, FaultInjection = nullptr,
               CaseSensitiveNames = nullptr, PlainNames = nullptr, LinuxEmulators = nullptr, ConsoleProgram = nullptr,
               LostDisplay = nullptr;

// What Linux says where Windows says otherwise (tests/win/platformkit.h).
inline const QString notAProgram = QStringLiteral("O2EM.EXE could not start: exec format error.");
inline const QString noEmulator = QStringLiteral("No O2EM.EXE, o2em or o2em2 in the game folder or on PATH.");
inline const QString crashed = QStringLiteral("O2EM.EXE crashed (segmentation fault).\nO2EM v1.51"); // its banner read
inline const QString unaskedStyle = QStringLiteral("windows"); // Qt's Windows style stands in for the system's
// What the stand-in records between its working folder and its program (tests/win/platformkit.h).
inline const QString shownAs;

// No child of this process has ended without being reaped (none is reaped here).
inline bool noZombies()
{
    siginfo_t ended{};
    return waitid(P_ALL, 0, &ended, WEXITED | WNOHANG | WNOWAIT) != 0 || ended.si_pid == 0;
}

// Whether the process catches the signal (it has put its handler in place).
inline bool handles(qint64 pid, int signal)
{
    QFile proc(QStringLiteral("/proc/%1/status").arg(pid));
    const QByteArray text = proc.open(QIODevice::ReadOnly) ? proc.readAll() : QByteArray();
    return text.mid(text.indexOf("SigCgt:") + 7, 17).trimmed().toULongLong(nullptr, 16) & (1ull << (signal - 1));
}

// Runs body where file modes hold: as "nobody" when run as root, that user given `paths` first, and
// root again after. A full disk (fullDisk()) lasts as long.
inline QByteArray asUser(const QStringList &paths, const std::function<QByteArray()> &body)
{
    const bool root = geteuid() == 0;
    for (const QString &path : paths)
        if (root && chown(QFile::encodeName(path).constData(), 65534, 65534) != 0)
            return "<chown failed>";
    if (root && (setresgid(65534, 65534, 0) != 0 || setresuid(65534, 65534, 0) != 0))
        return "<no other user>";
    const QByteArray said = body();
    const rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY}; // a full disk over
    if ((root && (setresuid(0, 0, 0) != 0 || setresgid(0, 0, 0) != 0)) || setrlimit(RLIMIT_FSIZE, &unlimited) != 0)
        qFatal("could not be root again, or lift the file size limit");
    return said;
}
// A full disk, as far as this process goes: the file size limit stops a write after a few bytes.
inline void fullDisk()
{
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4, RLIM_INFINITY};
    setrlimit(RLIMIT_FSIZE, &limit);
}

inline const auto setMode = [](const QString &path, mode_t mode) { chmod(QFile::encodeName(path).constData(), mode); };
inline const auto makeFifo = [](const QString &path) { return mkfifo(QFile::encodeName(path).constData(), 0644) == 0; };

}
