// SPDX-License-Identifier: GPL-3.0-or-later
// The relay passes a started program's output on to Quorix's stdout and stderr, live, for as
// long as the program writes, whether Quorix still runs or not (the program never meets a closed
// or full pipe), keeps the last of it, and tells Quorix how the program ended while Quorix still
// cares. It runs in a process forked from Quorix, which has threads: between that fork and the
// exec only async-signal-safe calls are made, and nothing here allocates.
#include "launch/relay_unix.h"
#include "launch/process.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace Process::Relay {

namespace {

constexpr int ReportFd = 3; // the report to Quorix, once detached

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

// The relay's own process: detached from Quorix's terminal session, as a started program is,
// deaf to a closed pipe, and with only the report to Quorix open, as descriptor 3 (not Quorix's
// display connection or files).
void detach(int report)
{
    ::setsid();
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, nullptr);
    ::dup2(report, ReportFd);
    ::fcntl(ReportFd, F_SETFD, FD_CLOEXEC);
    ::close_range(ReportFd + 1, ~0U, 0);
}

// The program's stdout and stderr as the relay reads them: passed on, and their ends kept.
class Output
{
public:
    // stderr first when both have something: it is written at once, stdout only when its
    // buffer is flushed, so what stderr holds was most likely written first.
    Output(int err, int out)
        : m_fds{{err, POLLIN, 0}, {out, POLLIN, 0}}
    { }

    [[nodiscard]] bool open() const { return m_fds[0].fd >= 0 || m_fds[1].fd >= 0; }

    // Waits up to `timeout` ms (-1: for good) for output, passes on what came and keeps its
    // end; false when none came.
    bool pump(int timeout)
    {
        if (::poll(m_fds, 2, timeout) <= 0)
            return false;
        bool came = false;
        for (pollfd &p : m_fds) {
            if (p.fd < 0 || !(p.revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            const ssize_t n = ::read(p.fd, m_buffer, sizeof m_buffer);
            if (n <= 0) {
                if (n == 0 || errno != EINTR)
                    ::close(p.fd), p.fd = -1;
                continue;
            }
            came = true;
            const bool isErr = &p == &m_fds[0];
            passOn(isErr ? 2 : 1, m_buffer, n);
            m_all.add(m_buffer, n);
            if (isErr)
                m_errors.add(m_buffer, n);
        }
        return came;
    }

    // Tells Quorix how the program ended, with the end of what it printed.
    void report(int status) const
    {
        char all[TailBytes], errors[TailBytes];
        send(ReportFd, Record::Ended, status, all, m_all.take(all), errors, m_errors.take(errors));
    }

private:
    pollfd m_fds[2];
    Tail m_all, m_errors; // all of it in the order read, and stderr alone: where a program says why
    char m_buffer[16384];
};

// Starts the program in `dir` with its stdout and stderr into the pipes `out` and `err`, in a
// child whose signals are as a fresh program's; an exec that fails writes its errno to `failed`.
pid_t spawn(char *const argv[], const char *dir, const int out[2], const int err[2], const int failed[2])
{
    const pid_t program = ::fork();
    if (program != 0)
        return program;
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

// What became of the exec: 0 once the program runs (the pipe closed on exec), else its errno.
int execError(pid_t program, int failed)
{
    int e = 0;
    ssize_t got;
    while ((got = ::read(failed, &e, sizeof e)) < 0 && errno == EINTR) { }
    if (got != sizeof e)
        return 0;
    ::waitpid(program, nullptr, 0);
    return e;
}

// Whether the program has ended, waiting for it up to `ms` (-1: for good); its status in `status`.
bool hasEnded(pid_t program, int &status, int ms)
{
    for (;;) {
        if (::waitpid(program, &status, ms < 0 ? 0 : WNOHANG) == program)
            return true;
        if (ms <= 0)
            return false;
        const timespec moment{0, 20000000};
        ::nanosleep(&moment, nullptr);
        ms = std::max(0, ms - 20);
    }
}

// Passes the program's output on for as long as it writes, and reports its end while Quorix
// still cares: within the watch.
void follow(pid_t program, Output &output)
{
    const long long until = nowMs() + WatchMilliseconds;
    bool reporting = true, ended = false;
    int status = 0;
    while (output.open() || !ended) {
        if (reporting && nowMs() >= until) { // Quorix no longer cares
            ::close(ReportFd);
            reporting = false;
        }
        if (!output.open()) { // nothing more to pass on: only the ending to wait for
            ::close(1), ::close(2);
            ended = hasEnded(program, status, reporting ? 20 : -1);
        } else {
            output.pump(reporting ? 20 : -1);
            if (!ended && hasEnded(program, status, 0)) {
                ended = true;
                while (output.pump(0)) { // what it wrote last is still in the pipes
                }
            }
        }
        if (ended && reporting && nowMs() < until) {
            output.report(status);
            ::close(ReportFd);
            reporting = false;
        }
    }
}

}

void run(int report, char *const argv[], const char *dir)
{
    detach(report);
    int out[2], err[2], failed[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0 || ::pipe2(failed, O_CLOEXEC) != 0) {
        send(ReportFd, Record::ExecFailed, errno);
        ::_exit(0);
    }
    const pid_t program = spawn(argv, dir, out, err, failed);
    const int forkError = errno;
    ::close(out[1]), ::close(err[1]), ::close(failed[1]);
    const int error = program < 0 ? forkError : execError(program, failed[0]);
    if (error != 0) {
        send(ReportFd, Record::ExecFailed, error);
        ::_exit(0);
    }
    send(ReportFd, Record::Started, 0);
    Output output(err[0], out[0]);
    follow(program, output);
    ::_exit(0);
}

}
