#pragma once

// Shared by the tests: a scratch working folder, files in it, and the stand-in emulator.

#include "main/frmquorix.h"

#include <QCoreApplication>
#include <QListView>
#include <QDir>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace TestKit {

// Runs body in a child process, there as the unprivileged user "nobody" when asked, so that
// file permissions hold even when the tests run as root. Returns body's result, or -1 when
// the child could not become nobody or did not end normally.
inline int runInChild(const std::function<int()> &body, bool asNobody = false)
{
    const pid_t pid = fork();
    if (pid == 0 && !asNobody)
        _exit(body());
    if (pid == 0) {
        const gid_t nogroup = 65534;
        const uid_t nobody = 65534;
        if (setgroups(0, nullptr) != 0 && geteuid() == 0)
            _exit(255);
        if (setresgid(nogroup, nogroup, nogroup) != 0 && geteuid() == 0)
            _exit(255);
        if (setresuid(nobody, nobody, nobody) != 0 && geteuid() == 0)
            _exit(255);
        _exit(body());
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) == 255)
        return -1;
    return WEXITSTATUS(status);
}

inline int runAsNobody(const std::function<int()> &body)
{
    return runInChild(body, true);
}

// Launch options from their six values.
inline LaunchOptions options(qint16 debug, qint16 noLimit, qint16 noSound, qint16 noVoice,
                             std::optional<StickMode> stick1, std::optional<StickMode> stick2)
{
    LaunchOptions o;
    o.debug = debug;
    o.noLimit = noLimit;
    o.noSound = noSound;
    o.noVoice = noVoice;
    o.stick1 = stick1;
    o.stick2 = stick2;
    return o;
}

// Selects the listed game of that name, as a click would; false when it is not listed.
inline bool selectGame(frmQuorix &w, const QString &name)
{
    const int row = static_cast<int>(w.games().indexOf(name));
    if (row >= 0)
        w.filList->setCurrentIndex(w.filList->model()->index(row, 0));
    return row >= 0;
}

// Closes and deletes `main` inside the real event loop, then checks that `other()` is still
// shown and closes it. True when `other` outlived the main window and the program then ended
// by itself, as it does when its last window closes.
inline bool lastWindowEndsProgram(QWidget *main, const std::function<QWidget *()> &other)
{
    bool outlived = false;
    QTimer::singleShot(0, main, [main] {
        main->close();
        main->deleteLater();
    });
    QTimer::singleShot(200, qApp, [&] {
        QPointer<QWidget> window = other();
        outlived = window && window->isVisible();
        if (window)
            window->close();
    });
    QTimer failsafe;
    failsafe.setSingleShot(true);
    QObject::connect(&failsafe, &QTimer::timeout, qApp, [] { QCoreApplication::exit(2); });
    failsafe.start(5000);
    return QCoreApplication::exec() == 0 && outlived;
}

// A fresh temporary folder that is the working folder while this object lives.
class WorkFolder
{
public:
    WorkFolder()
        : m_previous(QDir::currentPath())
    {
        QDir::setCurrent(m_dir.path());
    }
    ~WorkFolder() { QDir::setCurrent(m_previous); }
    WorkFolder(const WorkFolder &) = delete;
    WorkFolder &operator=(const WorkFolder &) = delete;

    [[nodiscard]] QString path() const { return m_dir.path(); }
    [[nodiscard]] QString file(const QString &name) const { return m_dir.filePath(name); }

    bool write(const QString &name, const QByteArray &bytes = {}) const
    {
        QFile f(file(name));
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }
    [[nodiscard]] QByteArray read(const QString &name) const
    {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    // Copies the stand-in emulator here under the given name; it records each start's
    // arguments in a file of its own, o2em-<pid>.args, one NUL after each argument.
    bool installEmulator(const QString &name = QStringLiteral("O2EM.EXE")) const
    {
        return QFile::copy(QStringLiteral(FAKE_O2EM), file(name));
    }

    // The argument lists of every start so far, waiting up to a few seconds for `count`.
    [[nodiscard]] QList<QStringList> recordedStarts(int count) const
    {
        QList<QStringList> starts;
        for (int waited = 0; waited < 5000; waited += 20) {
            const QStringList files = QDir(path()).entryList({QStringLiteral("o2em-*.args")}, QDir::Files);
            if (files.size() >= count) {
                for (const QString &f : files) {
                    QStringList args = QString::fromUtf8(read(f)).split(QChar(0));
                    args.removeLast(); // after the last NUL
                    starts.append(args);
                }
                return starts;
            }
            QTest::qWait(20);
        }
        return starts;
    }

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

}
