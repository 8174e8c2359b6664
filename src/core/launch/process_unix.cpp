// SPDX-License-Identifier: GPL-3.0-or-later
// A started program's output goes through a small relay, a process of its own: it passes the
// output on to Quorix's stdout and stderr, live, for as long as the program writes, whether
// Quorix still runs or not (the program never meets a closed or full pipe), keeps the last of
// it, and tells Quorix how the program ended while Quorix still cares. Between fork and exec
// only async-signal-safe calls are made: Quorix has threads.
#include "launch/process.h"

#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace Process {

namespace {

constexpr int TailBytes = 4096;

// What the relay tells Quorix: the program started, or could not (an errno), or ended.
struct Record {
    enum Kind : int { Started, ExecFailed, Ended } kind;
    int value;     // errno, or the wait status
    int length;    // bytes of output that follow (Ended)
    int errLength; // and then bytes of stderr alone
};

// The last TailBytes of a stream, oldest first once taken out.
class Tail
{
public:
    void add(const char *data, ssize_t size)
    {
        for (ssize_t i = 0; i < size; ++i) {
            m_bytes[m_end] = data[i];
            if (++m_end == TailBytes)
                m_end = 0, m_wrapped = true;
        }
    }
    int take(char *to) const
    {
        const int older = m_wrapped ? TailBytes - m_end : 0;
        std::memcpy(to, m_bytes + m_end, static_cast<size_t>(older));
        std::memcpy(to + older, m_bytes, static_cast<size_t>(m_end));
        return older + m_end;
    }

private:
    char m_bytes[TailBytes];
    int m_end = 0;
    bool m_wrapped = false;
};

void writeAll(int fd, const void *data, size_t size)
{
    const auto *p = static_cast<const char *>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return; // Quorix has gone: nobody to tell
        p += n;
        size -= static_cast<size_t>(n);
    }
}

void send(int fd, Record::Kind kind, int value, const char *tail = nullptr, int length = 0,
          const char *errTail = nullptr, int errLength = 0)
{
    const Record r{kind, value, length, errLength};
    writeAll(fd, &r, sizeof r);
    if (length > 0)
        writeAll(fd, tail, static_cast<size_t>(length));
    if (errLength > 0)
        writeAll(fd, errTail, static_cast<size_t>(errLength));
}

long long nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000LL + t.tv_nsec / 1000000;
}

// Passes the bytes on where they were going, but only if that can take them now: a terminal
// nobody reads must not stop the program.
void passOn(int fd, const char *data, ssize_t size)
{
    pollfd p{fd, POLLOUT, 0};
    if (fd >= 0 && ::poll(&p, 1, 0) == 1 && (p.revents & POLLOUT))
        writeAll(fd, data, static_cast<size_t>(size));
}

// The relay: starts the program with its output into two pipes and passes it on.
[[noreturn]] void relay(int report, char *const argv[], const char *dir)
{
    ::setsid(); // detached from Quorix's terminal session, as a started program is
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, nullptr);
    // Only what the relay needs stays open: not Quorix's display connection or files.
    ::dup2(report, 3);
    ::fcntl(3, F_SETFD, FD_CLOEXEC);
    ::close_range(4, ~0U, 0);
    report = 3;

    int out[2], err[2], failed[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0 || ::pipe2(failed, O_CLOEXEC) != 0) {
        send(report, Record::ExecFailed, errno);
        ::_exit(0);
    }
    const pid_t program = ::fork();
    if (program == 0) {
        struct sigaction byDefault = {};
        byDefault.sa_handler = SIG_DFL;
        for (int s = 1; s < NSIG; ++s)
            sigaction(s, &byDefault, nullptr);
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        ::dup2(out[1], 1);
        ::dup2(err[1], 2);
        if (::chdir(dir) == 0)
            ::execv(argv[0], argv);
        const int e = errno;
        writeAll(failed[1], &e, sizeof e);
        ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    ::close(failed[1]);
    if (program < 0) {
        send(report, Record::ExecFailed, errno);
        ::_exit(0);
    }
    int e = 0;
    ssize_t got;
    while ((got = ::read(failed[0], &e, sizeof e)) < 0 && errno == EINTR) { }
    if (got == sizeof e) {
        ::waitpid(program, nullptr, 0);
        send(report, Record::ExecFailed, e);
        ::_exit(0);
    }
    send(report, Record::Started, 0);

    const long long until = nowMs() + WatchMilliseconds;
    Tail tail, errTail; // all of it in the order read, and stderr alone: where a program says why
    bool ended = false;
    int status = 0;
    // stderr first when both have something: it is written at once, stdout only when its
    // buffer is flushed, so what stderr holds was most likely written first.
    pollfd fds[2] = {{err[0], POLLIN, 0}, {out[0], POLLIN, 0}};
    char buffer[16384];
    // Waits up to `timeout` ms for output, passes on what came and keeps its end; false when none came.
    const auto pump = [&](int timeout) {
        bool came = false;
        if (::poll(fds, 2, timeout) <= 0)
            return false;
        for (pollfd &p : fds) {
            if (p.fd < 0 || !(p.revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            const ssize_t n = ::read(p.fd, buffer, sizeof buffer);
            if (n <= 0) {
                if (n == 0 || errno != EINTR)
                    ::close(p.fd), p.fd = -1;
                continue;
            }
            came = true;
            const bool isErr = &p == &fds[0];
            passOn(isErr ? 2 : 1, buffer, n);
            tail.add(buffer, n);
            if (isErr)
                errTail.add(buffer, n);
        }
        return came;
    };
    while (fds[0].fd >= 0 || fds[1].fd >= 0 || !ended) {
        const bool watching = report >= 0 && nowMs() < until;
        if (report >= 0 && !watching) { // Quorix no longer cares
            ::close(report);
            report = -1;
        }
        if (fds[0].fd < 0 && fds[1].fd < 0) { // nothing more to pass on: only the ending to wait for
            ::close(1), ::close(2);
            if (::waitpid(program, &status, watching ? WNOHANG : 0) == program) {
                ended = true;
            } else if (watching) {
                const timespec moment{0, 20000000};
                ::nanosleep(&moment, nullptr);
                continue;
            }
        } else {
            pump(watching ? 20 : -1);
            if (!ended && ::waitpid(program, &status, WNOHANG) == program) {
                ended = true;
                while (pump(0)) { // what it wrote last is still in the pipes
                }
            }
        }
        if (ended && report >= 0 && nowMs() < until) {
            char all[TailBytes], errors[TailBytes];
            send(report, Record::Ended, status, all, tail.take(all), errors, errTail.take(errors));
            ::close(report);
            report = -1;
        }
    }
    ::_exit(0);
}

bool readAll(int fd, void *data, size_t size)
{
    auto *p = static_cast<char *>(data);
    while (size > 0) {
        const ssize_t n = ::read(fd, p, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

const char *crashName(int signal)
{
    switch (signal) {
    case SIGSEGV:
        return "segmentation fault";
    case SIGABRT:
        return "aborted";
    case SIGBUS:
        return "bus error";
    case SIGFPE:
        return "arithmetic error";
    case SIGILL:
        return "illegal instruction";
    case SIGKILL:
        return "killed";
    case SIGTERM:
        return "terminated";
    default:
        return nullptr;
    }
}

// Listens to the relay for the watch's time, then lets go.
class Watch : public QObject
{
public:
    Watch(int fd, QObject *context, OnEnd onEnd)
        : QObject(context)
        , m_fd(fd)
        , m_onEnd(std::move(onEnd))
        , m_notifier(fd, QSocketNotifier::Read, this)
    {
        connect(&m_notifier, &QSocketNotifier::activated, this, &Watch::read);
        QTimer::singleShot(WatchMilliseconds + 1000, this, &Watch::finish);
    }
    ~Watch() override { ::close(m_fd); }

private:
    void read()
    {
        Record r{};
        const auto fits = [](int length) { return length >= 0 && length <= TailBytes; };
        if (readAll(m_fd, &r, sizeof r) && r.kind == Record::Ended && fits(r.length) && fits(r.errLength)) {
            Ending ending;
            ending.output.resize(r.length);
            ending.errors.resize(r.errLength);
            if (readAll(m_fd, ending.output.data(), static_cast<size_t>(r.length))
                && readAll(m_fd, ending.errors.data(), static_cast<size_t>(r.errLength))) {
                ending.crashed = WIFSIGNALED(r.value);
                ending.code = ending.crashed ? WTERMSIG(r.value) : WEXITSTATUS(r.value);
                if (ending.crashed)
                    ending.crash = QString::fromLatin1(crashName(ending.code));
                m_onEnd(ending);
            }
        }
        finish();
    }
    void finish()
    {
        m_notifier.setEnabled(false);
        deleteLater();
    }

    int m_fd;
    OnEnd m_onEnd;
    QSocketNotifier m_notifier;
};

// Why the program did not start, in words a user can act on and short enough for the
// warning's one line.
QString failure(const QString &program, int error)
{
    const QString name = QFileInfo(program).fileName();
    QFile file(program);
    if (file.open(QIODevice::ReadOnly) && file.read(2) == "MZ")
        return QStringLiteral("%1 is for Windows, not this system.").arg(name);
    if (error == ENOENT) // the file is there: its loader is not
        return QStringLiteral("%1 lacks a file it needs to run.").arg(name);
    if (error == EACCES) // on a disk mounted without the right to run
        return QStringLiteral("%1 may not be run here.").arg(name);
    QString reason = QString::fromLocal8Bit(std::strerror(error));
    if (!reason.isEmpty())
        reason[0] = reason[0].toLower();
    return QStringLiteral("%1 could not start: %2.").arg(name, reason);
}

}

bool isProgram(const QString &path)
{
    const QFileInfo file(path);
    return file.isFile() && file.isExecutable();
}

QString start(const QString &program, const QStringList &arguments, const QString &workDir, QObject *context,
              OnEnd onEnd)
{
    // Everything the children need is made before the fork.
    std::vector<QByteArray> bytes{QFile::encodeName(program)};
    for (const QString &argument : arguments)
        bytes.push_back(QFile::encodeName(argument));
    std::vector<char *> argv;
    for (QByteArray &b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    const QByteArray dir = QFile::encodeName(workDir);

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return failure(program, errno);
    const pid_t middle = ::fork();
    if (middle == 0) { // exits at once, so the relay belongs to nobody and is never a zombie
        if (::fork() == 0)
            relay(report[1], argv.data(), dir.constData());
        ::_exit(0);
    }
    const int forkError = errno;
    ::close(report[1]);
    if (middle < 0) {
        ::close(report[0]);
        return failure(program, forkError);
    }
    while (::waitpid(middle, nullptr, 0) < 0 && errno == EINTR) { }
    Record r{};
    const bool heard = readAll(report[0], &r, sizeof r);
    if (!heard || r.kind != Record::Started) {
        ::close(report[0]);
        return failure(program, heard ? r.value : ECHILD);
    }
    if (context && onEnd)
        new Watch(report[0], context, std::move(onEnd));
    else
        ::close(report[0]);
    return {};
}

}
