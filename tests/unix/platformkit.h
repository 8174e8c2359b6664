// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The tests' Unix side: running a piece of a test in a child process or as an unprivileged
// user, file modes, and the kinds of entry only Unix has. tests/win/platformkit.h is the same
// for Windows.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>

#include <csignal>
#include <functional>
#include <memory>

#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace TestKit {

inline const char *lacks(Need need)
{
    return need == HiddenMarks ? "Linux marks no file hidden but by a leading dot (the row \"hidden\")"
                               : nullptr; // the other rows are written on Linux
}
inline bool markHidden(const QByteArray &, bool)
{
    return false;
}

// What Linux says where Windows says otherwise (tests/win/platformkit.h).
inline const QString notAProgram = QStringLiteral("O2EM.EXE could not start: exec format error.");
inline const QString crashed = QStringLiteral("O2EM.EXE crashed (segmentation fault).");
inline const QString crashPrinted = QStringLiteral("O2EM v1.51\n"); // its banner, read from its output
inline const QString unaskedStyle = QStringLiteral("windows");      // Qt's Windows style stands in for the system's
// How the stand-in records a start before its arguments: its working folder and its program.
inline QStringList startHead(const QString &folder, const QString &program)
{
    return {folder, program};
}

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

// Runs body in a child process where file modes hold: as "nobody" when run as root. Returns
// what body returns, or "<child failed>".
inline QByteArray asUser(const std::function<QByteArray()> &body)
{
    int out[2];
    if (pipe(out) != 0)
        return "<no pipe>";
    const pid_t pid = fork();
    if (pid == 0) {
        if (geteuid() == 0
            && (setgroups(0, nullptr) != 0 || setresgid(65534, 65534, 65534) != 0
                || setresuid(65534, 65534, 65534) != 0))
            _exit(1);
        const QByteArray said = body();
        _exit(write(out[1], said.constData(), static_cast<size_t>(said.size())) == said.size() ? 0 : 1);
    }
    close(out[1]);
    QFile child;
    child.open(out[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    const QByteArray said = child.readAll();
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0
        ? said
        : "<child failed>";
}

// Gives a path to the user asUser() runs as, who may then change its mode.
inline void handOver(const QString &path)
{
    const QByteArray p = QFile::encodeName(path);
    if (geteuid() == 0 && chown(p.constData(), 65534, 65534) != 0)
        qFatal("chown %s", p.constData());
}
inline void setMode(const QString &path, mode_t mode)
{
    chmod(QFile::encodeName(path).constData(), mode);
}

// Makes a scratch folder removable again, whatever a test left its mode at.
inline void unlock(const QString &folder)
{
    chmod(QFile::encodeName(folder).constData(), 0755);
}

// The kinds of entry a game folder can hold, each at a path given as the file system's bytes.
inline bool makeFile(const QByteArray &path)
{
    return close(open(path.constData(), O_CREAT | O_WRONLY, 0644)) == 0;
}
inline bool makeFifo(const QByteArray &path)
{
    return mkfifo(path.constData(), 0644) == 0;
}

// A full disk, as far as this process goes: the file size limit stops a write after a few bytes.
inline void fullDisk()
{
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4, 4};
    setrlimit(RLIMIT_FSIZE, &limit);
}

}
