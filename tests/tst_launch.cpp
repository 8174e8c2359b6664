// SPDX-License-Identifier: GPL-3.0-or-later
// Run Game as a user meets it: the lookup of the emulator, what reaches it, the refusals, an
// emulator that fails at once; and the program as a shell starts it.
#include "common/version.h"
#include "forms/fonts.h"
#include "forms/frmwarning.h"
#include "launch/emulator.h"
#include "session.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryFile>

#include <csignal>
#include <cstdio>

using namespace Qt::StringLiterals;

// A file put where the lookup may find it.
enum class Kind {
    StandIn,
    WindowsProgram,
    WindowsFileNotRunnable,
    Folder,
    MissingInterpreter,
    ForbiddenInterpreter,
    NoKnownFormat
};
struct Program {
    QString path; // in the game folder; under .path/ on PATH
    Kind kind = Kind::StandIn;
};
// What the user does to run the game.
enum class Action {
    RunButton,
    RunTwice,
    EnterOnList,
    EnterOnCheckBox,
    KeypadEnterOnRadio,
    TypeInCountThenEnter,
    AltR,
    DoubleClick,
    Down,
    Up,
    Home,
    End
};
struct LaunchRow {
    QStringList files;
    QList<Program> programs;
    Action action = Action::RunButton;
    QString select; // a game selected first; empty: as the window starts
    bool clearSelection = false;
    QStringList boxes;     // controls clicked first
    QStringList arguments; // what each start gets after its program; empty: nothing starts
    QString warning;       // what the warning window says, or empty
    int starts = 1;
};
Q_DECLARE_METATYPE(LaunchRow)

// What the user is told when no emulator is found, in this system's words.
#ifdef Q_OS_WIN
static const QString noEmulator = u"No O2EM.EXE here or on PATH."_s;
#else
static const QString noEmulator = u"No O2EM.EXE, o2em or o2em2 found."_s;
#endif

static bool put(const TestKit::WorkFolder &folder, const Program &p)
{
    const QString path = folder.file(p.path);
    QDir().mkpath(QFileInfo(path).path());
    const auto script = [&](const QByteArray &bytes, bool runnable) {
        return folder.write(p.path, bytes)
            && (!runnable || QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner));
    };
    switch (p.kind) {
    case Kind::StandIn:
        return folder.installEmulator(p.path);
    case Kind::WindowsProgram:
        return script("MZ\x90", true);
    case Kind::WindowsFileNotRunnable:
        return script("MZ\x90", false);
    case Kind::Folder:
        return QDir().mkdir(path);
    case Kind::MissingInterpreter:
        return script("#!/nonexistent/sh\n", true);
    case Kind::ForbiddenInterpreter:
        return script("#!/etc/passwd\n", true);
    case Kind::NoKnownFormat:
        return script("\x7f"
                      "ELF",
                      true);
    }
    return false;
}

static void act(Session &s, Action action)
{
    switch (action) {
    case Action::RunButton:
        s.click(u"cmdRun"_s);
        break;
    case Action::RunTwice:
        s.click(u"cmdRun"_s), s.click(u"cmdRun"_s);
        break;
    case Action::EnterOnList:
        s.press(Qt::Key_Return, u"filList"_s);
        break;
    case Action::EnterOnCheckBox:
        s.press(Qt::Key_Return, u"chkDebug"_s);
        break;
    case Action::KeypadEnterOnRadio:
        s.press(Qt::Key_Enter, u"optS2(0)"_s, Qt::KeypadModifier);
        break;
    case Action::TypeInCountThenEnter:
        s.press(Qt::Key_9, u"txtCount"_s);
        s.press(Qt::Key_Return, u"txtCount"_s);
        break;
    case Action::AltR:
        s.alt(Qt::Key_R);
        break;
    case Action::DoubleClick:
        s.doubleClick(s.window->fileName());
        break;
    case Action::Down:
    case Action::Up:
    case Action::Home:
    case Action::End: {
        const Qt::Key key = action == Action::Down ? Qt::Key_Down
            : action == Action::Up                 ? Qt::Key_Up
            : action == Action::Home               ? Qt::Key_Home
                                                   : Qt::Key_End;
        s.press(key, u"filList"_s);
        s.press(Qt::Key_Return, u"filList"_s);
        break;
    }
    }
}

// The warning window's message, or nothing while it is not open.
static QString warning()
{
    const auto *w = FixedWindow::instance<frmWarning>();
    return w ? w->findChild<QLineEdit *>(u"txtWarning"_s)->text() : QString();
}

// What reaches this program's own stdout and stderr while `body` runs, as a terminal would show it.
static std::pair<QByteArray, QByteArray> terminal(const std::function<void()> &body)
{
    QTemporaryFile out, err;
    if (!out.open() || !err.open())
        return {"<no capture>", "<no capture>"};
    std::fflush(stdout), std::fflush(stderr);
    const int stdoutWas = dup(1), stderrWas = dup(2);
    dup2(out.handle(), 1), dup2(err.handle(), 2);
    const QtMessageHandler testLog
        = qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {}); // Qt's own chatter
    body();
    qInstallMessageHandler(testLog);
    std::fflush(stdout), std::fflush(stderr);
    dup2(stdoutWas, 1), dup2(stderrWas, 2);
    close(stdoutWas), close(stderrWas);
    out.seek(0), err.seek(0);
    return {out.readAll(), err.readAll()};
}

class TestLaunch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { FormKit::applyClassicLook(); }
    void cleanup()
    {
        delete FixedWindow::instance<frmWarning>();
        qunsetenv("O2EM_STANDIN");
    }

    void launch_data()
    {
        QTest::addColumn<LaunchRow>("row");
        const QStringList two{u"a.bin"_s, u"b.bin"_s}, first{u"a.bin"_s, u"-s1=1"_s, u"-s2=0"_s};
        const QList<Program> here{{u"O2EM.EXE"_s}};
        QTest::newRow("twice, two emulators") << LaunchRow{{u"GAME.BIN"_s, u"O2ROM.BIN"_s},
                                                           here,
                                                           Action::RunTwice,
                                                           u"GAME.BIN"_s,
                                                           false,
                                                           {},
                                                           {u"GAME.BIN"_s, u"-s1=1"_s, u"-s2=0"_s},
                                                           {},
                                                           2};
        QTest::newRow("all four boxes") << LaunchRow{
            {u"GAME.BIN"_s, u"O2ROM.BIN"_s},
            here,
            Action::RunButton,
            u"GAME.BIN"_s,
            false,
            {u"chkDebug"_s, u"chkNoLimit"_s, u"chkNoSound"_s, u"ChkNoVoice"_s},
            {u"GAME.BIN"_s, u"-debug"_s, u"-s1=1"_s, u"-s2=0"_s, u"-nolimit"_s, u"-nosound"_s, u"-novoice"_s}};
        QTest::newRow("no voice, sticks moved") << LaunchRow{{u"x.bin"_s, u"y.bin"_s},
                                                             here,
                                                             Action::RunButton,
                                                             {},
                                                             false,
                                                             {u"ChkNoVoice"_s, u"optS1(3)"_s, u"optS2(2)"_s},
                                                             {u"x.bin"_s, u"-s1=3"_s, u"-s2=2"_s, u"-novoice"_s}};
        QTest::newRow("the ROM's name in small letters runs")
            << LaunchRow{{u"o2rom.bin"_s, u"O2ROM.BIN"_s},        here, Action::RunButton, u"o2rom.bin"_s, false, {},
                         {u"o2rom.bin"_s, u"-s1=1"_s, u"-s2=0"_s}};
        QTest::newRow("a game in roms/: its bare name, in the game folder")
            << LaunchRow{{u"a.bin"_s, u"roms/b.bin"_s},       here, Action::RunButton, u"b.bin"_s, false, {},
                         {u"b.bin"_s, u"-s1=1"_s, u"-s2=0"_s}};
        QTest::newRow("Enter in the list: the first game")
            << LaunchRow{two, here, Action::EnterOnList, {}, false, {}, first};
        QTest::newRow("Enter on a check box") << LaunchRow{two, here, Action::EnterOnCheckBox, {}, false, {}, first};
        QTest::newRow("keypad Enter on a radio button")
            << LaunchRow{two, here, Action::KeypadEnterOnRadio, {}, false, {}, first};
        QTest::newRow("typing in the count box, then Enter")
            << LaunchRow{two, here, Action::TypeInCountThenEnter, {}, false, {}, first};
        QTest::newRow("Alt+R") << LaunchRow{two, here, Action::AltR, {}, false, {}, first};
        QTest::newRow("double click") << LaunchRow{
            {u"a.bin"_s, u"b.bin"_s, u"c.bin"_s}, here, Action::DoubleClick, u"c.bin"_s, false, {},
            {u"c.bin"_s, u"-s1=1"_s, u"-s2=0"_s}};
        // A list with nothing selected: the arrows choose, as on the platform's list boxes.
        const QStringList lone{u"pong.bin"_s}, three{u"a.bin"_s, u"b.bin"_s, u"c.bin"_s};
        const QStringList pong{u"pong.bin"_s, u"-s1=1"_s, u"-s2=0"_s}, last{u"c.bin"_s, u"-s1=1"_s, u"-s2=0"_s};
        QTest::newRow("a lone game: Down, Enter selects it")
            << LaunchRow{lone, here, Action::Down, {}, false, {}, pong};
        QTest::newRow("nothing selected: Down, the first") << LaunchRow{three, here, Action::Down, {}, true, {}, first};
        QTest::newRow("nothing selected: Home, the first") << LaunchRow{three, here, Action::Home, {}, true, {}, first};
        QTest::newRow("nothing selected: Up, the last") << LaunchRow{three, here, Action::Up, {}, true, {}, last};
        QTest::newRow("nothing selected: End, the last") << LaunchRow{three, here, Action::End, {}, true, {}, last};
        QTest::newRow("a selection: Down, the next")
            << LaunchRow{three, here, Action::Down, {}, false, {}, {u"b.bin"_s, u"-s1=1"_s, u"-s2=0"_s}};
        // Refusals.
        QTest::newRow("the ROM") << LaunchRow{
            {u"O2ROM.BIN"_s, u"pong.bin"_s},  here, Action::RunButton, {}, false, {}, {},
            u"You can not play 02ROM.BIN!"_s, 0};
        QTest::newRow("one file is not selected")
            << LaunchRow{lone, here, Action::RunButton, {}, false, {}, {}, u"There are no available games!"_s, 0};
        QTest::newRow("empty folder") << LaunchRow{
            {}, here, Action::RunButton, {}, false, {}, {}, u"There are no available games!"_s, 0};
        QTest::newRow("selection cleared")
            << LaunchRow{two, here, Action::RunButton, {}, true, {}, {}, u"There are no available games!"_s, 0};
        // The lookup (its whole order is the core's test): the first found starts.
        QTest::newRow("O2EM.EXE here first")
            << LaunchRow{two,
                         {{u"O2EM.EXE"_s}, {u".path/O2EM.EXE"_s}, {u"o2em"_s}, {u".path/o2em2"_s}},
                         Action::RunButton,
                         {},
                         false,
                         {},
                         first};
        QTest::newRow("only o2em2, on PATH")
            << LaunchRow{two, {{u".path/o2em2"_s}}, Action::RunButton, {}, false, {}, first};
        QTest::newRow("a Windows O2EM.EXE beside o2em on PATH") << LaunchRow{
            two,  {{u"O2EM.EXE"_s, Kind::WindowsFileNotRunnable}, {u".path/o2em"_s}}, Action::RunButton, {}, false, {},
            first};
        QTest::newRow("a runnable Windows O2EM.EXE: o2em next") << LaunchRow{
            two, {{u"O2EM.EXE"_s, Kind::WindowsProgram}, {u"o2em"_s}}, Action::RunButton, {}, false, {}, first};
        QTest::newRow("only a Windows O2EM.EXE") << LaunchRow{two,
                                                              {{u"O2EM.EXE"_s, Kind::WindowsProgram}},
                                                              Action::RunButton,
                                                              {},
                                                              false,
                                                              {},
                                                              {},
                                                              u"O2EM.EXE is for Windows, not this system."_s,
                                                              0};
        QTest::newRow("every one fails: the first one's reason")
            << LaunchRow{two,
                         {{u"O2EM.EXE"_s, Kind::WindowsProgram}, {u"o2em"_s, Kind::MissingInterpreter}},
                         Action::RunButton,
                         {},
                         false,
                         {},
                         {},
                         u"O2EM.EXE is for Windows, not this system."_s,
                         0};
        QTest::newRow("no emulator anywhere")
            << LaunchRow{two, {}, Action::RunButton, {}, false, {}, {}, noEmulator, 0};
        QTest::newRow("a folder named O2EM.EXE")
            << LaunchRow{two, {{u"O2EM.EXE"_s, Kind::Folder}}, Action::RunButton, {}, false, {}, {}, noEmulator, 0};
        QTest::newRow("o2em that cannot run") << LaunchRow{two,
                                                           {{u"o2em"_s, Kind::MissingInterpreter}},
                                                           Action::RunButton,
                                                           {},
                                                           false,
                                                           {},
                                                           {},
                                                           u"o2em lacks a file it needs to run."_s,
                                                           0};
        QTest::newRow("o2em that may not run here") << LaunchRow{two,
                                                                 {{u"o2em"_s, Kind::ForbiddenInterpreter}},
                                                                 Action::RunButton,
                                                                 {},
                                                                 false,
                                                                 {},
                                                                 {},
                                                                 u"o2em may not be run here."_s,
                                                                 0};
        QTest::newRow("o2em in no known format") << LaunchRow{two,
                                                              {{u"o2em"_s, Kind::NoKnownFormat}},
                                                              Action::RunButton,
                                                              {},
                                                              false,
                                                              {},
                                                              {},
                                                              u"o2em could not start: exec format error."_s,
                                                              0};
        // Names that a shell or the emulator's own parser would take apart reach it whole.
        for (const QString &odd : {u"  two  blanks .bin"_s, u"it's \"quoted\".bin"_s, u"a;b&&c||d|e.bin"_s,
                                   u"$(touch made).bin"_s, u"`touch made`.bin"_s, u"*.bin"_s, u"new\nline.bin"_s,
                                   u"\u00c6r\u00f8 \u30b2\u30fc\u30e0.bin"_s, QString(251, u'n') + u".bin"_s})
            QTest::newRow(odd.left(30).toUtf8().constData()) << LaunchRow{
                {u"a first.bin"_s, odd}, here, Action::RunButton, odd, false, {}, {odd, u"-s1=1"_s, u"-s2=0"_s}};
        QTest::newRow("a leading dash is not an option")
            << LaunchRow{{u"a first.bin"_s, u"-debug.bin"_s},
                         here,
                         Action::RunButton,
                         u"-debug.bin"_s,
                         false,
                         {},
                         {QDir::toNativeSeparators(u"./-debug.bin"_s), u"-s1=1"_s, u"-s2=0"_s}};
    }
    void launch()
    {
        QFETCH(LaunchRow, row);
        if (std::any_of(row.programs.cbegin(), row.programs.cend(), [](const Program &p) {
                return (p.kind != Kind::StandIn && p.kind != Kind::Folder)
                    || !Names::EmulatorPrograms.contains(QFileInfo(p.path).fileName());
            }))
            SKIP_WITHOUT(LinuxEmulators);
        if (row.files.join(QString()).contains(QRegularExpression(u"[\"*:<>?|\\x{1}-\\x{1f}]"_s)))
            SKIP_WITHOUT(PlainNames);
        if (row.files.join(u'/').toLower().split(u'/').removeDuplicates())
            SKIP_WITHOUT(CaseSensitiveNames);
        Session s;
        qputenv("PATH", QFile::encodeName(s.folder.file(u".path"_s)));
        for (const QString &f : row.files)
            QVERIFY(QDir().mkpath(QFileInfo(s.folder.file(f)).path()) && s.folder.write(f));
        for (const Program &p : row.programs)
            QVERIFY(put(s.folder, p));
        const QStringList before = s.folder.entries();
        QVERIFY(s.open());
        if (!row.select.isEmpty() || row.clearSelection)
            s.select(row.select);
        for (const QString &box : row.boxes)
            s.click(box);
        const QByteArray options = s.options();
        act(s, row.action);

        const QList<QStringList> starts = s.folder.starts(row.arguments.isEmpty() ? 0 : row.starts);
        QCOMPARE(starts.size(), row.arguments.isEmpty() ? 0 : row.starts);
        const QString here = QFileInfo(s.folder.path()).canonicalFilePath();
        const auto standIn = std::find_if(row.programs.cbegin(), row.programs.cend(),
                                          [](const Program &p) { return p.kind == Kind::StandIn; });
        const QString program
            = standIn == row.programs.cend() ? QString() : standIn->path; // the first in the lookup's order
        for (const QStringList &start : starts)                           // in the game folder, whatever Quorix's own
            QCOMPARE(start, QStringList({here, here + u'/' + program}) + row.arguments);
        QCOMPARE(warning(), row.warning);
        QCOMPARE(s.options(), options); // a launch changes no option
        QStringList after = s.folder.entries();
        after.removeIf([](const QString &n) { return n.startsWith(u"o2em-"_s) || n == u"quorix.cfg"_s; });
        QCOMPARE(after, before); // and makes no file
    }

    void emulatorEnds_data()
    {
        QTest::addColumn<QString>("standIn"); // how the stand-in behaves (O2EM_STANDIN)
        QTest::addColumn<QString>("program"); // where it is
        QTest::addColumn<bool>("twice");      // Run Game pressed twice
        QTest::addColumn<QString>("warning"); // what the warning says; empty: none opens
        QTest::addColumn<int>("told");        // failures told
        QTest::addColumn<QString>("games");   // their folder, in the game folder
        QTest::addColumn<QString>("printed"); // the end of what it printed, as the warning keeps it; empty: not checked
        const auto row
            = [](const char *tag, const QString &standIn, const QString &program, bool twice, const QString &warning,
                 int told, const QString &games = u"."_s, const QString &printed = {}) {
                  QTest::newRow(tag) << standIn << program << twice << warning << told << games << printed;
              };
        row("no BIOS, on stdout", u"nobios"_s, u"O2EM.EXE"_s, false, u"O2EM.EXE stopped: No BIOS found"_s, 1);
        row("its reason on stderr, then chatter on stdout", u"badoption"_s, u"o2em2"_s, false,
            u"o2em2 stopped: Invalid option : s1"_s, 1);
        row("today's emulator without roms/, on stderr only", u"o2em2"_s, u"o2em2"_s, false,
            u"o2em2 stopped: dir './roms/' not found !"_s, 1);
        row("today's emulator finds the game in roms/", u"o2em2"_s, u"o2em2"_s, false,
            u"o2em2 stopped: Invalid option : s1"_s, 1, u"roms"_s, u"Invalid option : s1\nparse_option s1 1\n"_s);
        row("a crash after its banner", u"segv"_s, u"o2em"_s, false, u"o2em crashed (segmentation fault)."_s, 1);
        row("nothing printed, status 3", u"exit3"_s, u"O2EM.EXE"_s, false,
            u"O2EM.EXE stopped at once (exit status 3)."_s, 1);
        row("two presses, each failure told", u"exit3"_s, u"O2EM.EXE"_s, true,
            u"O2EM.EXE stopped at once (exit status 3)."_s, 2);
        const QString floodEnd = u"\nflood\t done  \r\n"_s; // its last 4 KiB kept
        row("1 MiB at once, then its reason in CR LF, tabs and blanks", u"flood"_s, u"O2EM.EXE"_s, false,
            u"O2EM.EXE stopped: flood done"_s, 1, u"."_s, QString(4096 - floodEnd.size(), u'x') + floodEnd);
        row("a failure late in the watch", u"late"_s, u"o2em"_s, false, u"o2em stopped: late failure"_s, 1);
        row("ends at once with status 0: silent", u"exit0"_s, u"O2EM.EXE"_s, false, {}, 0);
        row("a game that runs: silent", u"runner"_s, u"O2EM.EXE"_s, false, {}, 0);
    }
    void emulatorEnds()
    {
        SKIP_WITHOUT(LinuxStandIn);
        QFETCH(QString, standIn);
        QFETCH(QString, program);
        QFETCH(bool, twice);
        QFETCH(QString, warning);
        QFETCH(int, told);
        QFETCH(QString, games);
        QFETCH(QString, printed);
        Session s;
        qputenv("PATH", "/nonexistent");
        qputenv("O2EM_STANDIN", standIn.toLatin1());
        QVERIFY(QDir(s.folder.path()).mkpath(games) && s.folder.installEmulator(program));
        QVERIFY(s.folder.write(games + u"/a.bin"_s) && s.folder.write(games + u"/b.bin"_s));
        QVERIFY(s.open());
        QSignalSpy failures(s.launcher.get(), &Launcher::emulatorFailed);
        act(s, twice ? Action::RunTwice : Action::RunButton);
        QCOMPARE(s.folder.starts(twice ? 2 : 1).size(), twice ? 2 : 1);
        QTest::qWait(told ? 0 : Process::WatchMilliseconds + 500); // past the watch, for the silent ones
        QTRY_COMPARE_WITH_TIMEOUT(failures.size(), told, Process::WatchMilliseconds + 2000);
        QCOMPARE(::warning(), warning);
        // What it printed, up to its last 4 KiB, in the order written, is there for the asking.
        if (!printed.isEmpty())
            QCOMPARE(
                FixedWindow::instance<frmWarning>()->findChild<QLineEdit *>(u"txtWarning"_s)->accessibleDescription(),
                warning + u'\n' + printed);
        if (standIn != u"runner"_s)
            return;
        // The game outlives the window and goes on writing, with nobody left to read.
        const QString args = QDir(s.folder.path()).entryList({u"o2em-*.args"_s}).value(0);
        const pid_t pid = args.section(u'-', 1).section(u'.', 0, 0).toInt();
        s.end();
        s.launcher.reset();
        const auto lines = [&] { return s.folder.read(args + u".lines"_s).toInt(); };
        const int written = lines();
        QTest::qWait(600);
        QVERIFY(lines() >= written + 3);
        QCOMPARE(::kill(pid, 0), 0);
        ::kill(pid, SIGTERM);
    }

    void outputOnTheTerminal_data()
    {
        QTest::addColumn<QString>("standIn");
        QTest::addColumn<QByteArray>("out"); // what Quorix's stdout shows
        QTest::addColumn<QByteArray>("err"); // how its stderr starts (Quorix's own line follows)
        QTest::newRow("the emulator's stdout") << u"nobios"_s << "O2EM v1.51\nNo BIOS found\n"_ba
                                               << "quorix: "_ba;
        QTest::newRow("the emulator's stderr, Quorix's line after it")
            << u"badoption"_s << "parse_option s1 1\n"_ba
            << "Invalid option : s1\nquorix: O2EM.EXE stopped: Invalid option : s1\n"_ba;
    }
    void outputOnTheTerminal()
    {
        QFETCH(QString, standIn);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, err);
        SKIP_WITHOUT(LinuxStandIn);
        Session s;
        qputenv("O2EM_STANDIN", standIn.toLatin1());
        QVERIFY(s.folder.write(u"a.bin"_s) && s.folder.write(u"b.bin"_s) && s.folder.installEmulator());
        QVERIFY(s.open());
        QSignalSpy failures(s.launcher.get(), &Launcher::emulatorFailed);
        const auto [shownOut, shownErr] = terminal([&] {
            s.click(u"cmdRun"_s);
            QTRY_COMPARE_WITH_TIMEOUT(failures.size(), 1, Process::WatchMilliseconds + 2000);
        });
        QCOMPARE(shownOut, out);
        QCOMPARE(shownErr.left(err.size()), err);
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("games"); // the games' folder
        QTest::addColumn<Config>("config"); // its quorix.cfg
        QTest::addColumn<int>("signal");    // sent once the program listens; 0: none
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");      // how stdout starts
        QTest::addColumn<QString>("err");      // Quorix's own line on stderr; %1: the games' folder
        QTest::addColumn<QByteArray>("after"); // quorix.cfg afterwards
        const QString none, missing = u"<missing>"_s;
        const QStringList offscreen{u"-platform"_s, u"offscreen"_s};
        QTest::newRow("--help without a display") << QStringList{u"--help"_s} << u"games"_s << Config::Missing << 0 << 0
                                                  << u"Usage: quorix [OPTIONS] [FOLDER]\n"_s << none << "<missing>"_ba;
        QTest::newRow("-h") << QStringList{u"-h"_s} << u"games"_s << Config::Missing << 0 << 0
                            << u"Usage: quorix [OPTIONS] [FOLDER]\n"_s << none << "<missing>"_ba;
        QTest::newRow("--version") << QStringList{u"--version"_s} << u"games"_s << Config::Missing << 0 << 0
                                   << u"quorix " QUORIX_VERSION "\n"_s << none << "<missing>"_ba;
        QTest::newRow("-v") << QStringList{u"-v"_s} << u"games"_s << Config::Missing << 0 << 0
                            << u"quorix " QUORIX_VERSION "\n"_s << none << "<missing>"_ba;
        QTest::newRow("a file, not a folder") << QStringList{u"games/a.bin"_s} << u"games"_s << Config::Missing << 0
                                              << 2 << none << u"quorix: games/a.bin: not a folder"_s << "<missing>"_ba;
        QTest::newRow("two folders") << QStringList{u"games"_s, u"games"_s} << u"games"_s << Config::Missing << 0 << 2
                                     << none << u"quorix: one folder at most, not 2"_s << "<missing>"_ba;
        QTest::newRow("an unknown option") << QStringList{u"--frobnicate"_s} << u"games"_s << Config::Missing << 0 << 2
                                           << none << u"quorix: Unknown option 'frobnicate'."_s << "<missing>"_ba;
        QTest::newRow("no such folder") << QStringList{u"gone"_s} << u"games"_s << Config::Missing << 0 << 2 << none
                                        << u"quorix: gone: no such folder"_s << "<missing>"_ba;
        QTest::newRow("no display")
            << QStringList{u"games"_s} << u"games"_s << Config::Missing << 0 << 1 << none
            << u"quorix: no display to open a window on (DISPLAY and WAYLAND_DISPLAY are not set)"_s << "<missing>"_ba;
        QTest::newRow("a folder, ended by SIGTERM")
            << offscreen + QStringList{u"games"_s} << u"games"_s << Config::Bytes << int(SIGTERM) << 0 << none << none
            << "0,0,0,0,3,2\r\n"_ba;
        QTest::newRow("SIGHUP, Qt's options")
            << QStringList{u"-style"_s,
                           u"fusion"_s,
                           u"-platform"_s,
                           u"offscreen"_s,
                           u"-platformpluginpath"_s,
                           u"/none"_s,
                           u"-platformtheme"_s,
                           u"none"_s,
                           u"-plugin"_s,
                           u"none"_s,
                           u"-stylesheet"_s,
                           u"none.qss"_s,
                           u"-session"_s,
                           u"s"_s,
                           u"-qwindowgeometry"_s,
                           u"9x9"_s,
                           u"-geometry"_s,
                           u"9x9"_s,
                           u"-qwindowtitle"_s,
                           u"T"_s,
                           u"-title"_s,
                           u"T"_s,
                           u"-qwindowicon"_s,
                           u"x"_s,
                           u"-icon"_s,
                           u"x"_s,
                           u"-display"_s,
                           u":0"_s,
                           u"-name"_s,
                           u"n"_s,
                           u"-visual"_s,
                           u"x"_s,
                           u"-qmljsdebugger"_s,
                           u"port:1"_s,
                           u"-reverse"_s,
                           u"-widgetcount"_s,
                           u"-testability"_s,
                           u"-nograb"_s,
                           u"-dograb"_s,
                           u"-sync"_s,
                           u"games"_s}
            << u"games"_s << Config::Bytes << int(SIGHUP) << 0 << none << none << "0,0,0,0,3,2\r\n"_ba;
        QTest::newRow("SIGINT, a folder that looks like an option")
            << offscreen + QStringList{u"--"_s, u"-games"_s} << u"-games"_s << Config::Bytes << int(SIGINT) << 0 << none
            << none << "0,0,0,0,3,2\r\n"_ba;
        QTest::newRow("the first start from the menu: the chooser, ended by a kill, writes nothing")
            << offscreen + QStringList{u"--last-folder"_s} << u"."_s << Config::Missing << int(SIGTERM) << 0 << none
            << none << "<missing>"_ba;
        QTest::newRow("a failed save: one line")
            << offscreen + QStringList{u"games"_s} << u"games"_s << Config::Folder << int(SIGTERM) << 0 << none
            << u"quorix: could not save the options in %1/quorix.cfg: a folder has that name"_s << "<missing>"_ba;
    }
    void commandLine()
    {
        SKIP_WITHOUT(ConsoleProgram);
        QFETCH(QStringList, args);
        QFETCH(QString, games);
        QFETCH(Config, config);
        QFETCH(int, signal);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(QByteArray, after);
        TestKit::WorkFolder folder;
        const QString cfg = games + u"/quorix.cfg"_s;
        QVERIFY(QDir().mkpath(games) && folder.write(games + u"/a.bin"_s));
        QVERIFY(config != Config::Bytes || folder.write(cfg, "0,0,0,0,2,2\r\n"));
        QVERIFY(config != Config::Folder || QDir().mkdir(cfg));
        QProcess quorix;
        QProcessEnvironment env; // no display
        env.insert(u"XDG_RUNTIME_DIR"_s, folder.path());
        env.insert(u"XDG_CONFIG_HOME"_s,
                   folder.file(u".config"_s)); // nothing remembered, and the user's settings untouched
        quorix.setProcessEnvironment(env);
        quorix.start(QStringLiteral(QUORIX), args);
        QVERIFY(quorix.waitForStarted());
        const auto listening = [&quorix] { // its handlers are in place
            QFile proc(u"/proc/%1/status"_s.arg(quorix.processId()));
            const QByteArray text = proc.open(QIODevice::ReadOnly) ? proc.readAll() : QByteArray();
            return text.mid(text.indexOf("SigCgt:") + 7, 17).trimmed().toULongLong(nullptr, 16)
                & (1ull << (SIGTERM - 1));
        };
        QTRY_VERIFY(!signal || listening());
        QVERIFY(!signal || ::kill(static_cast<pid_t>(quorix.processId()), signal) == 0);
        QVERIFY(quorix.waitForFinished(10000) && quorix.exitStatus() == QProcess::NormalExit);
        QCOMPARE(quorix.exitCode(), status);
        QStringList ours; // Qt may have its say on stderr too
        for (const QString &line : QString::fromLocal8Bit(quorix.readAllStandardError()).split(u'\n'))
            if (line.startsWith(u"quorix:"_s))
                ours << line;
        QCOMPARE(ours, err.isEmpty() ? QStringList() : QStringList{err.arg(folder.path() + u'/' + games)});
        QVERIFY(QString::fromLocal8Bit(quorix.readAllStandardOutput()).startsWith(out));
        QCOMPARE(folder.read(cfg), after);
    }
};

QTEST_MAIN(TestLaunch)
#include "tst_launch.moc"
