// SPDX-License-Identifier: GPL-3.0-or-later
// Starting the emulator on Windows, with a stand-in that records how it was started: each
// game name as one argument, maximized, in the game folder; the lookup; and an emulator that
// ends at once. (Two presses, two emulators: tst_launch, which runs here too.)
#include "launch/commandline.h"
#include "launch/emulator.h"
#include "launch/gamelist.h"
#include "launch/process.h"
#include "settings/settingsfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <windows.h>

namespace {

// One start as the stand-in recorded it.
struct Start {
    QString folder, program;
    QStringList arguments; // as the Microsoft C runtime split them
    QString commandLine;   // as Windows passed it
    int show = -1;         // GetStartupInfoW().wShowWindow
};

QStringList fields(const QString &path)
{
    QFile f(path);
    // The stand-in's rename holds the file a moment after the name shows (open for deletion, unshared).
    for (int waited = 0; !f.open(QIODevice::ReadOnly) && waited < 1000; waited += 10)
        QTest::qWait(10);
    return f.isOpen() ? QString::fromUtf8(f.readAll().chopped(1)).split(QChar(0)) : QStringList();
}

// The starts in `folder`, once `count` of them are there (or a moment for none).
QList<Start> starts(const QString &folder, int count)
{
    const QDir dir(folder);
    for (int waited = 0; waited < (count ? 5000 : 300) && dir.entryList({QStringLiteral("o2em-*.args")}).size() < count;
         waited += 20)
        QTest::qWait(20);
    QList<Start> all;
    for (const QString &name : dir.entryList({QStringLiteral("o2em-*.args")})) {
        const QStringList args = fields(dir.filePath(name));
        const QStringList win
            = fields(dir.filePath(QString(name).replace(QLatin1String(".args"), QLatin1String(".win"))));
        all.append({args.value(0), args.value(1), args.mid(2), win.value(0), win.value(1).toInt()});
    }
    return all;
}

QString fake()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/fake_o2em.exe");
}

bool installEmulator(const QString &folder)
{
    return QFile::copy(fake(), folder + QStringLiteral("/O2EM.EXE"));
}

// Presses "Run Game" on `game` with the default options, as the main window does. Once in
// hundreds of starts Wine loses the program it starts (its loader ends before the start is
// done: ERROR_INTERNAL_ERROR); that press is made again, said. A fault of ours fails both.
QString press(const QString &game, const QString &folder, const QString &searchPath = {})
{
    const CommandLine::Launch launch = CommandLine::prepare(game, LaunchOptions{});
    const auto arguments = CommandLine::arguments(launch.commandLine, game);
    const auto once = [&] { return Emulator::start(Emulator::candidates(folder, searchPath), arguments, folder); };
    const QString error = once();
    if (!error.endsWith(QLatin1String(": internal error.")))
        return error;
    qWarning("%s Pressed again.", qPrintable(error));
    return once();
}

enum class Where { Folder, Path, Nowhere };

}

Q_DECLARE_METATYPE(Where)

class tst_WinLaunch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nameReachesEmulatorWhole_data()
    {
        QTest::addColumn<QString>("game");
        QTest::addColumn<QString>("argument");
        const auto same = [](const char *row, const QString &name) { QTest::newRow(row) << name << name; };
        same("blanks", QStringLiteral("My  Game.bin"));
        same("ampersand", QStringLiteral("Tom & Jerry.bin"));
        same("caret", QStringLiteral("Up^Down.bin"));
        same("percent signs", QStringLiteral("%PATH%.bin"));
        same("double quotes", QStringLiteral("Say \"Hi\".bin"));
        same("backslash before a quote", QStringLiteral("a\\\"b.bin"));
        same("single quotes", QStringLiteral("Pac 'Man'.bin"));
        same("trailing dot", QStringLiteral("Game.bin."));
        same("letters outside the ANSI code page", QStringLiteral("Ünïcödé ゲーム.bin"));
        QTest::newRow("leading dash") << QStringLiteral("-debug.bin") << QStringLiteral(".\\-debug.bin");
    }
    void nameReachesEmulatorWhole()
    {
        QFETCH(QString, game);
        QFETCH(QString, argument);
        QTemporaryDir folder;
        QVERIFY(installEmulator(folder.path()));
        QCOMPARE(press(game, folder.path()), QString());
        const QList<Start> seen = starts(folder.path(), 1);
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].arguments.value(0), argument);
        const auto composed = CommandLine::arguments(CommandLine::prepare(game, LaunchOptions{}).commandLine, game);
        QCOMPARE(seen[0].arguments.size(), composed.size()); // nothing split off
    }

    void startsMaximizedInGameFolder()
    {
        QTemporaryDir folder;
        QVERIFY(installEmulator(folder.path()));
        QCOMPARE(press(QStringLiteral("Game.bin"), folder.path()), QString());
        const QList<Start> seen = starts(folder.path(), 1);
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].show, SW_SHOWMAXIMIZED);
        QCOMPARE(QDir(seen[0].folder), QDir(folder.path()));
    }

    void lookup_data()
    {
        QTest::addColumn<bool>("inFolder");
        QTest::addColumn<bool>("onPath");
        QTest::addColumn<Where>("started");
        QTest::newRow("beside the games") << true << false << Where::Folder;
        QTest::newRow("on PATH") << false << true << Where::Path;
        QTest::newRow("in both: the game folder's") << true << true << Where::Folder;
        QTest::newRow("nowhere") << false << false << Where::Nowhere;
    }
    void lookup()
    {
        QFETCH(bool, inFolder);
        QFETCH(bool, onPath);
        QFETCH(Where, started);
        QTemporaryDir folder, path;
        QVERIFY(!inFolder || installEmulator(folder.path()));
        QVERIFY(!onPath || installEmulator(path.path()));
        const QString error = press(QStringLiteral("Game.bin"), folder.path(), QDir::toNativeSeparators(path.path()));
        QCOMPARE(error, started == Where::Nowhere ? Names::NoEmulator : QString());
        const QList<Start> seen = starts(folder.path(), started == Where::Nowhere ? 0 : 1);
        QCOMPARE(seen.size(), started == Where::Nowhere ? 0 : 1);
        if (!seen.isEmpty())
            QCOMPARE(QFileInfo(QDir::fromNativeSeparators(seen[0].program)).absolutePath(),
                     QFileInfo(started == Where::Folder ? folder.path() : path.path()).absoluteFilePath());
    }

    void hiddenAndSystemFilesLeftOut() // as dot files are on Linux
    {
        QTemporaryDir folder;
        for (const wchar_t *name : {L"Shown.bin", L"Hidden.bin", L"System.bin"})
            QVERIFY(QFile(folder.filePath(QString::fromWCharArray(name))).open(QIODevice::WriteOnly));
        QVERIFY(SetFileAttributesW(
            QDir::toNativeSeparators(folder.filePath(QStringLiteral("Hidden.bin"))).toStdWString().c_str(),
            FILE_ATTRIBUTE_HIDDEN));
        QVERIFY(SetFileAttributesW(
            QDir::toNativeSeparators(folder.filePath(QStringLiteral("System.bin"))).toStdWString().c_str(),
            FILE_ATTRIBUTE_SYSTEM));
        QCOMPARE(GameList::scan(folder.path()).toList(), QStringList{QStringLiteral("Shown.bin")});
    }

    void heldFileLeftWhole() // another program holds quorix.cfg open without letting it be replaced
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("quorix.cfg"));
        QFile before(path);
        QVERIFY(before.open(QIODevice::WriteOnly) && before.write("0,0,0,0,1,0\r\n") == 13);
        before.close();
        const HANDLE held = CreateFileW(QDir::toNativeSeparators(path).toStdWString().c_str(), GENERIC_READ,
                                        FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        QVERIFY(held != INVALID_HANDLE_VALUE);
        QString why;
        const bool saved = SettingsFile(path).save(LaunchOptions{1, 0, 0, 0, 1, 0}, &why);
        CloseHandle(held);
        QCOMPARE(saved, false);
        QVERIFY2(!why.isEmpty(), "a reason to tell");
        QVERIFY(before.open(QIODevice::ReadOnly));
        QCOMPARE(before.readAll(), QByteArray("0,0,0,0,1,0\r\n"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("quorix.cfg")}); // nothing left beside it
    }

    void endsAtOnce_data()
    {
        QTest::addColumn<QByteArray>("variable");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<bool>("crashed");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("crash");
        QTest::newRow("exits with a failure")
            << QByteArray("FAKE_O2EM_EXIT") << QByteArray("3") << false << 3 << QString();
        QTest::newRow("access violation") << QByteArray("FAKE_O2EM_CRASH") << QByteArray("1") << true
                                          << static_cast<int>(0xC0000005u) << QStringLiteral("access violation");
    }
    void endsAtOnce()
    {
        QFETCH(QByteArray, variable);
        QFETCH(QByteArray, value);
        QFETCH(bool, crashed);
        QFETCH(int, code);
        QFETCH(QString, crash);
        QTemporaryDir folder;
        std::optional<Process::Ending> ended;
        qputenv(variable.constData(), value);
        const QString error
            = Process::start(fake(), {}, folder.path(), this, [&ended](const Process::Ending &e) { ended = e; });
        qunsetenv(variable.constData());
        QCOMPARE(error, QString());
        QTRY_VERIFY_WITH_TIMEOUT(ended.has_value(), Process::WatchMilliseconds);
        QCOMPARE(ended->crashed, crashed);
        QCOMPARE(ended->code, code);
        QCOMPARE(ended->crash, crash);
    }

    void notAProgramToldInWords()
    {
        QTemporaryDir folder;
        QFile file(folder.filePath(QStringLiteral("O2EM.EXE")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("not a program") > 0);
        file.close();
        const QString error = press(QStringLiteral("Game.bin"), folder.path());
        QVERIFY2(error.startsWith(QLatin1String("O2EM.EXE could not start: ")), qPrintable(error));
        QVERIFY2(!error.contains(QLatin1Char('%')) && error.size() > 40, qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(tst_WinLaunch)
#include "tst_winlaunch.moc"
