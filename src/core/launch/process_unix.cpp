// SPDX-License-Identifier: GPL-3.0-or-later
// Starting a program on Linux: through a small relay, a process of its own (relay_unix.cpp), that
// passes its output on and tells Quorix how it ended. Between fork and exec only
// async-signal-safe calls are made: Quorix has threads.
#include "launch/process.h"
#include "launch/relay_unix.h"

#include "common/names.h"

#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QPointer>
#include <QRegularExpression>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace Process {

namespace {

using Relay::Record, Relay::TailBytes;

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
    if (isForeignProgram(program))
        return QStringLiteral("%1 is for Windows, not this system.").arg(name);
    if (error == ENOENT) // the file is there: its loader is not
        return QStringLiteral("%1 lacks a file it needs to run.").arg(name);
    if (error == EACCES) // on a disk mounted without the right to run
        return QStringLiteral("%1 may not be run here.").arg(name);
    QString reason = QString::fromLocal8Bit(std::strerror(error));
    if (!reason.isEmpty())
        reason[0] = reason[0].toLower();
    return couldNotStart(program, reason);
}

// A word as a shell reads it back: quoted unless it holds only characters a shell leaves alone.
QString shellWord(const QString &word)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_@%+=:,./-]+$"));
    if (plain.match(word).hasMatch())
        return word;
    return u'\'' + QString(word).replace(u'\'', QStringLiteral("'\\''")) + u'\'';
}

}

QStringList emulatorPrograms()
{
    return {Names::Emulator, QStringLiteral("o2em"), QStringLiteral("o2em2")};
}

bool isProgram(const QString &path)
{
    const QFileInfo file(path);
    return file.isFile() && file.isExecutable();
}

bool isForeignProgram(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(2) == "MZ";
}

QString commandText(const QString &program, const QStringList &args)
{
    QStringList words{shellWord(program)};
    for (const QString &arg : args)
        words << shellWord(arg);
    return words.join(u' ');
}

QString start(const QString &program, const QStringList &args, const QString &workDir, QObject *context, OnEnd onEnd)
{
    // Everything the children need is made before the fork.
    std::vector<QByteArray> bytes{QFile::encodeName(program)};
    for (const QString &arg : args)
        bytes.push_back(QFile::encodeName(arg));
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
            Relay::run(report[1], argv.data(), dir.constData());
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
