// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The tests' Unix side: running a piece of a test in a child process or as an unprivileged
// user, file modes, and the kinds of entry only Unix has. tests/win/platformkit.h is the same
// for Windows.

#include <QByteArray>
#include <QFile>

#include <csignal>
#include <functional>

#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace TestKit {

inline const char *lacks(Need)
{
    return nullptr;
} // nothing: the rows are written on Linux

// Runs body in a child process (as "nobody" when asked and run as root). Returns body's
// result, or -1 when the child failed.
inline int inChild(const std::function<int()> &body, bool asNobody = false)
{
    const pid_t pid = fork();
    if (pid == 0) {
        if (asNobody
            && (setgroups(0, nullptr) != 0 || setresgid(65534, 65534, 65534) != 0
                || setresuid(65534, 65534, 65534) != 0))
            _exit(255);
        _exit(body());
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) == 255)
        return -1;
    return WEXITSTATUS(status);
}

// Runs body where file modes hold: as root as "nobody" in a child, as anyone else right here.
inline int asUser(const std::function<int()> &body)
{
    return geteuid() == 0 ? inChild(body, true) : body();
}

// Gives a path to the user asUser() runs as, so that only its mode decides what that user may do.
inline void handOver(const QString &path, mode_t mode)
{
    const QByteArray p = QFile::encodeName(path);
    if (geteuid() == 0 && chown(p.constData(), 65534, 65534) != 0)
        qFatal("chown %s", p.constData());
    chmod(p.constData(), mode);
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
inline bool makeFolder(const QByteArray &path)
{
    return mkdir(path.constData(), 0755) == 0;
}
inline bool makeFifo(const QByteArray &path)
{
    return mkfifo(path.constData(), 0644) == 0;
}
inline bool makeLink(const QByteArray &path, const QByteArray &target)
{
    return symlink(target.constData(), path.constData()) == 0;
}

// A full disk, as far as this process goes: the file size limit stops a write after a few bytes.
inline void fullDisk()
{
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4, 4};
    setrlimit(RLIMIT_FSIZE, &limit);
}

}
