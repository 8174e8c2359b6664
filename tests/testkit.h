// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shared by the tests: a scratch game folder, files in it, the stand-in emulator and what it
// recorded. What differs between Unix and Windows (child processes, users, file modes, FIFOs)
// is in platformkit.h, tests/unix/ or tests/win/ as the build chooses.

#include "common/launchoptions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace TestKit {
// What some rows need: why this system lacks it (platformkit.h), or null.
using Need = const char *;
}

#include "platformkit.h"

// Skips a row that needs what this system lacks, saying why.
#define SKIP_WITHOUT(need)                                                                                             \
    do {                                                                                                               \
        using namespace TestKit;                                                                                       \
        if (const Need why = need)                                                                                     \
            QSKIP(why);                                                                                                \
    } while (false)

namespace TestKit {

// Options as the record's six values read aloud ("1,0,0,0,1,0"), or "fails".
inline QByteArray text(const std::optional<LaunchOptions> &o)
{
    const auto n = [](std::optional<qint16> v) { return v ? QByteArray::number(*v) : QByteArray(); };
    return o ? n(o->debug) + ',' + n(o->noLimit) + ',' + n(o->noSound) + ',' + n(o->noVoice) + ',' + n(o->stick1) + ','
            + n(o->stick2)
             : "fails";
}

// A fresh temporary folder that is the working folder while this object lives.
class WorkFolder
{
public:
    WorkFolder() { QDir::setCurrent(m_dir.path()); }
    // Made writable again, so that it can be removed.
    ~WorkFolder() { QDir::setCurrent(m_previous), setMode(m_dir.path(), 0755); }

    [[nodiscard]] QString path() const { return m_dir.path(); }
    [[nodiscard]] QString file(const QString &name) const { return m_dir.filePath(name); }
    // The file at `name`, its folders made.
    bool write(const QString &name, const QByteArray &bytes = {}) const
    {
        QFile f(file(name));
        return QDir(path()).mkpath(QFileInfo(name).path()) && f.open(QIODevice::WriteOnly)
            && f.write(bytes) == bytes.size();
    }
    [[nodiscard]] QByteArray read(const QString &name = QStringLiteral("quorix.cfg")) const
    {
        QFile f(file(name));
        return f.open(QFile::ReadOnly) ? f.readAll() : QByteArray(QFileInfo(f).isDir() ? "<a folder>" : "<missing>");
    }

    // The stand-in emulator under the given name (a path relative to this folder); it records
    // each start in o2em-<pid>.args and then stays alive for a while.
    bool installEmulator(const QString &name) const
    {
        return write(name) && QFile::remove(file(name)) // its folder made
            && QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/" FAKE_O2EM), file(name));
    }
    // Each start as "folder | program | arguments...", one line a start; waits a few seconds for
    // `count` starts (for none, a moment, in which a start would have shown).
    [[nodiscard]] QStringList starts(int count) const
    {
        const QStringList pattern{QStringLiteral("o2em-*.args")};
        const auto seen = [&] { return count && QDir(path()).entryList(pattern).size() >= count; };
        static_cast<void>(QTest::qWaitFor(seen, count ? 5000 : 100));
        QStringList all;
        for (const QString &f : QDir(path()).entryList(pattern)) {
            QByteArray bytes;
            // On Windows the stand-in's rename holds the file a moment after the name shows.
            static_cast<void>(QTest::qWaitFor([&] { return (bytes = read(f)) != "<missing>"; }, 1000));
            // Each field ends in a NUL; the folder and the program as Qt writes paths.
            all << QDir::fromNativeSeparators(
                QString::fromUtf8(bytes.chopped(1)).split(QChar(0)).join(QStringLiteral(" | ")));
        }
        return all;
    }

private:
    QTemporaryDir m_dir;
    QString m_previous = QDir::currentPath();
};

}
