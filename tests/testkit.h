// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shared by the tests: a scratch working folder, files in it, the stand-in emulator, and
// running a piece of a test as an unprivileged user.

#include "settings/settingscodec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace TestKit {

// Options as the tables give them: the six values of the settings record.
inline QByteArray text(const std::optional<LaunchOptions> &o) { return o ? SettingsCodec::encode(*o).trimmed() : "fails"; }

// Runs body in a child process (as "nobody" when asked and run as root). Returns body's
// result, or -1 when the child failed.
inline int inChild(const std::function<int()> &body, bool asNobody = false)
{
    const pid_t pid = fork();
    if (pid == 0) {
        if (asNobody && (setgroups(0, nullptr) != 0 || setresgid(65534, 65534, 65534) != 0 || setresuid(65534, 65534, 65534) != 0))
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

// A fresh temporary folder that is the working folder while this object lives.
class WorkFolder
{
public:
    WorkFolder() : m_previous(QDir::currentPath()) { QDir::setCurrent(m_dir.path()); }
    ~WorkFolder()
    {
        QDir::setCurrent(m_previous);
        chmod(QFile::encodeName(m_dir.path()).constData(), 0755); // so that it can be removed
    }

    [[nodiscard]] QString path() const { return m_dir.path(); }
    [[nodiscard]] QString file(const QString &name) const { return m_dir.filePath(name); }
    bool write(const QString &name, const QByteArray &bytes = {}) const { return put(file(name), bytes); }
    static bool put(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }
    [[nodiscard]] QByteArray read(const QString &name = QStringLiteral("quorix.cfg")) const
    {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    [[nodiscard]] QStringList entries() const
    {
        return QDir(path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    // The stand-in emulator under the given name (a path relative to this folder); it records
    // each start in o2em-<pid>.args and then stays alive for a while.
    bool installEmulator(const QString &name = QStringLiteral("O2EM.EXE")) const
    {
        QDir(path()).mkpath(QFileInfo(file(name)).path());
        return QFile::copy(QStringLiteral(FAKE_O2EM), file(name));
    }
    // Each start's working folder, its program, then its arguments; waits a few seconds for `count` starts
    // (for none, a moment, in which a start would have shown).
    [[nodiscard]] QList<QStringList> starts(int count) const
    {
        const QStringList pattern{QStringLiteral("o2em-*.args")};
        for (int waited = 0; waited < (count ? 5000 : 100) && QDir(path()).entryList(pattern).size() < count; waited += 10)
            QTest::qWait(10);
        QList<QStringList> all;
        for (const QString &f : QDir(path()).entryList(pattern))
            all << QString::fromUtf8(read(f).chopped(1)).split(QChar(0)); // each ends in a NUL
        return all;
    }

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

}
