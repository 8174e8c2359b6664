// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shared by the tests: a scratch working folder, files in it, the stand-in emulator. What
// differs between Unix and Windows (child processes, users, file modes, FIFOs, links) is in
// platformkit.h, tests/unix/ or tests/win/ as the build chooses.

#include "settings/settingscodec.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace TestKit {
// What some rows need and a system may lack; platformkit.h's lacks() says why, or nothing.
enum Need {
    Always,
    Fifos,
    Links,
    FolderModes,
    FaultInjection,
    ByteNames,
    CaseSensitiveNames,
    PlainNames,
    LinuxEmulators,
    EmulatorOutput,
    ConsoleProgram,
    HiddenMarks
};
}
Q_DECLARE_METATYPE(TestKit::Need)

#include "platformkit.h"

// Skips a row that needs what this system lacks, saying why.
#define SKIP_WITHOUT(need)                                                                                             \
    do {                                                                                                               \
        using namespace TestKit;                                                                                       \
        if (const char *why = lacks(need))                                                                             \
            QSKIP(why);                                                                                                \
    } while (false)

namespace TestKit {

// Options as the tables give them: the six values of the settings record.
inline QByteArray text(const std::optional<LaunchOptions> &o)
{
    return o ? SettingsCodec::encode(*o).trimmed() : "fails";
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
    ~WorkFolder()
    {
        QDir::setCurrent(m_previous);
        unlock(m_dir.path()); // so that it can be removed
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

    // The stand-in emulator under the given name (a path relative to this folder); it records
    // each start in o2em-<pid>.args and then stays alive for a while.
    bool installEmulator(const QString &name = QStringLiteral("O2EM.EXE")) const
    {
        QDir(path()).mkpath(QFileInfo(file(name)).path());
        return QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/" FAKE_O2EM),
                           file(name)); // built beside the tests
    }
    // Each start as "folder | program | arguments...", one line a start; waits a few seconds for
    // `count` starts (for none, a moment, in which a start would have shown).
    [[nodiscard]] QStringList starts(int count) const
    {
        const QStringList pattern{QStringLiteral("o2em-*.args")};
        for (int waited = 0; waited < (count ? 5000 : 100) && QDir(path()).entryList(pattern).size() < count;
             waited += 10)
            QTest::qWait(10);
        QStringList all;
        for (const QString &f : QDir(path()).entryList(pattern)) {
            QByteArray bytes = read(f);
            // On Windows the stand-in's rename holds the file a moment after the name shows (open for
            // deletion, unshared).
            for (int waited = 0; bytes == "<missing>" && waited < 1000; waited += 10)
                QTest::qWait(10), bytes = read(f);
            QStringList start = QString::fromUtf8(bytes.chopped(1)).split(QChar(0)); // each ends in a NUL
            for (qsizetype i = 0; i < qMin<qsizetype>(startHead({}, {}).size(), start.size()); ++i)
                start[i] = QDir::fromNativeSeparators(start[i]); // the folder and the program, as Qt writes paths
            all << start.join(" | ");
        }
        return all;
    }

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

}
