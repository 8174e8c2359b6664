// SPDX-License-Identifier: GPL-3.0-or-later
// Run Game as a user meets it: the lookup of the emulator, what reaches it, the refusals, an
// emulator that fails; and the program as a shell or a desktop menu starts it.
#include "common/names.h"
#include "common/version.h"
#include "launch/process.h"
#include "session.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryFile>

#include <cstdio>

using namespace Qt::StringLiterals;

// A file put where the lookup may find it.
enum class Kind { StandIn, WindowsProgram, WindowsFileNotRunnable, Folder, MissingInterpreter, Forbidden, NoFormat };
struct Program {
    QString path; // in the game folder; under .path/ on PATH
    Kind kind = Kind::StandIn;
};
// One situation at Run Game: the folder, what the user does, and what comes of it.
struct Press {
    QStringList files;
    QList<Program> programs{{"O2EM.EXE"}};
    QList<Step> steps{Do::click("cmdRun")};
    QByteArray config;     // quorix.cfg at the start (none: no file)
    QStringList arguments; // what each start gets after its program
    int starts = 0;
    QString warning;

    Press &with(QList<Program> p) { return programs = std::move(p), *this; }
    Press &by(QList<Step> s) { return steps = std::move(s), *this; }
    Press &reading(QByteArray c) { return config = std::move(c), *this; }
    Press &starting(QStringList a, int times = 1) { return arguments = std::move(a), starts = times, *this; }
    Press &warns(const QString &w) { return warning = w, *this; }
};
Q_DECLARE_METATYPE(Press)

// How the emulator behaves, put in place under the given name: the stand-in told what to do
// (O2EM_STANDIN), or a shell script that records its start as the stand-in does.
using Behaviour = std::function<bool(const TestKit::WorkFolder &, const QString &program)>;
static Behaviour told(const QByteArray &mode)
{
    return [mode](const TestKit::WorkFolder &f, const QString &program) {
        qputenv("O2EM_STANDIN", mode);
        return f.installEmulator(program);
    };
}
static Behaviour script(const QByteArray &body)
{
    return [body](const TestKit::WorkFolder &f, const QString &program) {
        const QByteArray record
            = "printf '%s\\0' \"$(pwd -P)\" \"$0\" \"$@\" >o2em-$$.part && mv o2em-$$.part o2em-$$.args\n";
        return f.write(program, "#!/bin/sh\nPATH=/usr/bin:/bin\n" + record + body)
            && QFile::setPermissions(f.file(program), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    };
}

// The emulator ends by itself: how it behaves, where it is, what the warning says (none: none
// opens), the end of what it printed as the warning keeps it (none: none read), Quorix's own
// stdout and how its stderr starts, "stdout|stderr" (none: not looked at), the games' folder in
// the game folder, and the presses of Run Game.
struct Ending {
    Behaviour behaves;
    QString program, warning = {}, printed = {};
    QByteArray terminal = {};
    QString games = ".";
    int presses = 1;
};
Q_DECLARE_METATYPE(Ending)

// The program as a shell starts it: its arguments; the exit status, how stdout starts and
// Quorix's own line on stderr; a signal sent once it listens (0: none); quorix.cfg before and
// after, in the games' folder; the folder remembered.
struct Shell {
    QStringList args;
    QString said;
    int signal = 0;
    Config config = Config::Missing;
    QByteArray after = "<missing>";
    QString games = "games";
    QString remembered = {}; // as the folder opened last, in the user's settings; empty: none
};
Q_DECLARE_METATYPE(Shell)

using Do::alt, Do::click, Do::doubleClick, Do::key, Do::pick;

// Puts the program in place: the stand-in, a folder, or a file the lookup must pass over.
static bool put(const TestKit::WorkFolder &folder, const Program &p)
{
    static const std::map<Kind, QByteArray> bytes{{Kind::WindowsProgram, "MZ\x90"},
                                                  {Kind::WindowsFileNotRunnable, "MZ\x90"},
                                                  {Kind::NoFormat, "\177ELF"},
                                                  {Kind::MissingInterpreter, "#!/nonexistent/sh\n"},
                                                  {Kind::Forbidden, "#!/etc/passwd\n"}};
    const QString path = folder.file(p.path);
    if (!QDir().mkpath(QFileInfo(path).path()))
        return false;
    if (p.kind == Kind::StandIn || p.kind == Kind::Folder)
        return p.kind == Kind::StandIn ? folder.installEmulator(p.path) : QDir().mkdir(path);
    return folder.write(p.path, bytes.at(p.kind))
        && (p.kind == Kind::WindowsFileNotRunnable || QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner));
}

// What reaches this program's own stdout and stderr while `body` runs: "stdout|stderr".
static QByteArray terminal(const std::function<void()> &body)
{
    QTemporaryFile out, err;
    if (!out.open() || !err.open())
        return "<no capture>";
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
    return out.readAll() + '|' + err.readAll();
}

// A game folder with two games (in `games` in it) and the stand-in, its window open, the
// stand-in told how to end.
static bool openWith(Session &s, const QString &program, const Behaviour &behaves, const QString &games = ".")
{
    return QDir(s.folder.path()).mkpath(games) && s.folder.write(games + "/a.bin") && s.folder.write(games + "/b.bin")
        && behaves(s.folder, program) && s.open();
}

// A game that writes as it runs (a count of its lines beside its record) outlives the window
// and goes on writing, with nobody left to read.
static void outlivesQuorix(Session &s)
{
    const QString args = QDir(s.folder.path()).entryList({"o2em-*.args"}).value(0);
    if (!QFile::exists(s.folder.file(args + ".lines")))
        return;
    const auto pid = args.section(u'-', 1).section(u'.', 0, 0).toInt();
    s.end();
    s.launcher.reset();
    const auto lines = [&] { return s.folder.read(args + ".lines").toInt(); };
    const int written = lines();
    QTest::qWait(600);
    QVERIFY(lines() >= written + 3);
    QCOMPARE(::kill(pid, 0), 0);
    ::kill(pid, SIGTERM);
}

class TestLaunch : public WindowSuite
{
    Q_OBJECT

private Q_SLOTS:
    void launch_data()
    {
        QTest::addColumn<Press>("press");
        const QStringList two{"a.bin", "b.bin"}, three{"a.bin", "b.bin", "c.bin"};
        const QStringList game{"GAME.BIN", "O2ROM.BIN"}, lone{"pong.bin"};
        const auto plain = [](const QString &file) { return QStringList{file, "-s1=1", "-s2=0"}; };
        const QStringList a = plain("a.bin"), c = plain("c.bin");
        const QString none = "There are no available games!";
        const auto row = [](const char *tag, const Press &press) { QTest::newRow(tag) << press; };
        row("twice, two emulators", Press{game}.by({click("cmdRun"), click("cmdRun")}).starting(plain(game[0]), 2));
        row("all four boxes",
            Press{game}
                .by({click("chkDebug"), click("chkNoLimit"), click("chkNoSound"), click("ChkNoVoice"), click("cmdRun")})
                .starting({game[0], "-debug", "-s1=1", "-s2=0", "-nolimit", "-nosound", "-novoice"}));
        row("grayed boxes pass no option", Press{two}.reading("2,2,2,2,1,0").starting(a));
        row("no voice, sticks moved",
            Press{two}
                .by({click("ChkNoVoice"), click("optS1(3)"), click("optS2(2)"), click("cmdRun")})
                .starting({"a.bin", "-s1=3", "-s2=2", "-novoice"}));
        row("the ROM's name in small letters runs",
            Press{{"o2rom.bin", "O2ROM.BIN"}}.by({pick("o2rom.bin"), click("cmdRun")}).starting(plain("o2rom.bin")));
        row("a game in roms/: its bare name, in the game folder",
            Press{{"a.bin", "roms/b.bin"}}.by({pick("b.bin"), click("cmdRun")}).starting(plain("b.bin")));
        row("Enter in the list: the first game", Press{two}.by({key(Qt::Key_Return, "filList")}).starting(a));
        row("Enter on a check box", Press{two}.by({key(Qt::Key_Return, "chkDebug")}).starting(a));
        row("keypad Enter on a radio button",
            Press{two}.by({key(Qt::Key_Enter, "optS2(0)", Qt::KeypadModifier)}).starting(a));
        row("Alt+R", Press{two}.by({alt(Qt::Key_R)}).starting(a));
        row("double click", Press{three}.by({doubleClick("c.bin")}).starting(c));
        // A list with nothing selected: the arrows choose, as on the platform's list boxes.
        const auto arrow = [](Qt::Key k) {
            return QList<Step>{pick({}), key(k, "filList"), key(Qt::Key_Return, "filList")};
        };
        row("a lone game: Down, Enter selects it",
            Press{lone}.by({key(Qt::Key_Down, "filList"), key(Qt::Key_Return, "filList")}).starting(plain(lone[0])));
        row("nothing selected: Down, the first", Press{three}.by(arrow(Qt::Key_Down)).starting(a));
        row("nothing selected: Home, the first", Press{three}.by(arrow(Qt::Key_Home)).starting(a));
        row("nothing selected: End, the last", Press{three}.by(arrow(Qt::Key_End)).starting(c));
        // Refusals.
        row("the ROM", Press{{"O2ROM.BIN", "pong.bin"}}.warns("You can not play 02ROM.BIN!"));
        row("one file is not selected", Press{lone}.warns(none));
        row("empty folder", Press{}.warns(none));
        row("selection cleared", Press{two}.by({pick({}), click("cmdRun")}).warns(none));
        // The lookup (its whole order is the core's test): the first found starts.
        row("here and on PATH: the one here", Press{two}.with({{"O2EM.EXE"}, {".path/O2EM.EXE"}}).starting(a));
        row("only on PATH", Press{two}.with({{".path/O2EM.EXE"}}).starting(a));
        row("a Windows O2EM.EXE beside o2em on PATH",
            Press{two}.with({{"O2EM.EXE", Kind::WindowsFileNotRunnable}, {".path/o2em"}}).starting(a));
        row("a runnable Windows O2EM.EXE: o2em next",
            Press{two}.with({{"O2EM.EXE", Kind::WindowsProgram}, {"o2em"}}).starting(a));
        const QString forWindows = "O2EM.EXE is for Windows, not this system.";
        row("only a Windows O2EM.EXE", Press{two}.with({{"O2EM.EXE", Kind::WindowsProgram}}).warns(forWindows));
        row("every one fails: the first one's reason",
            Press{two}
                .with({{"O2EM.EXE", Kind::WindowsProgram}, {"o2em", Kind::MissingInterpreter}})
                .warns(forWindows));
        row("no emulator anywhere", Press{two}.with({}).warns("No O2EM.EXE, o2em or o2em2 in the game folder or on PATH."));
        row("a folder named O2EM.EXE", Press{two}.with({{"O2EM.EXE", Kind::Folder}}).warns("No O2EM.EXE, o2em or o2em2 in the game folder or on PATH."));
        row("o2em that cannot run",
            Press{two}.with({{"o2em", Kind::MissingInterpreter}}).warns("o2em lacks a file it needs to run."));
        row("o2em that may not run here",
            Press{two}.with({{"o2em", Kind::Forbidden}}).warns("o2em may not be run here."));
        row("an O2EM.EXE that is no program",
            Press{two}.with({{"O2EM.EXE", Kind::NoFormat}}).warns(TestKit::notAProgram));
        // Names that a shell, Windows or the emulator's own parser would take apart reach it whole.
        for (const QString &odd :
             QStringList{"  two  blanks .bin", "it's \"quoted\".bin", "a;b&&c||d|e.bin", "Tom & Jerry ^ %PATH%.bin",
                         "$(touch made).bin", "`touch made`.bin", "*.bin", "new\nline.bin",
                         "\u00c6r\u00f8 \u30b2\u30fc\u30e0.bin", QString(251, u'n') + ".bin"})
            row(odd.left(30).toUtf8().constData(),
                Press{{"a first.bin", odd}}.by({pick(odd), click("cmdRun")}).starting(plain(odd)));
        row("a leading dash is not an option",
            Press{{"a first.bin", "-debug.bin"}}
                .by({pick("-debug.bin"), click("cmdRun")})
                .starting(plain(QDir::toNativeSeparators("./-debug.bin"))));
    }
    void launch()
    {
        QFETCH(Press, press);
        for (const Program &p : press.programs)
            if ((p.kind != Kind::StandIn && p.kind != Kind::Folder && p.kind != Kind::NoFormat)
                || !QStringList{"O2EM.EXE"}.contains(QFileInfo(p.path).fileName()))
                SKIP_WITHOUT(LinuxEmulators);
        if (press.files.join(QString()).contains(QRegularExpression("[\"*:<>?|\\x{1}-\\x{1f}]")))
            SKIP_WITHOUT(PlainNames);
        if (press.files.join(u'/').toLower().split(u'/').removeDuplicates())
            SKIP_WITHOUT(CaseSensitiveNames);
        Session s;
        qputenv("PATH", QFile::encodeName(s.folder.file(".path")));
        for (const QString &f : press.files)
            QVERIFY(QDir().mkpath(QFileInfo(s.folder.file(f)).path()) && s.folder.write(f));
        for (const Program &p : press.programs)
            QVERIFY(put(s.folder, p));
        QVERIFY(press.config.isEmpty() ? s.open() : s.open(Config::Bytes, press.config));
        const TestKit::WorkFolder elsewhere; // Quorix's own working folder is not the game folder
        for (const Step &step : press.steps)
            step(s);
        const QByteArray options = s.options();

        const QString here = QFileInfo(s.folder.path()).canonicalFilePath();
        QStringList expected;
        const auto standIn = std::find_if(press.programs.cbegin(), press.programs.cend(),
                                          [](const Program &p) { return p.kind == Kind::StandIn; });
        for (int i = 0; i < press.starts; ++i) // the first stand-in in the lookup's order, in the game folder
            expected << (TestKit::startHead(here, here + u'/' + standIn->path) + press.arguments).join(" | ");
        QCOMPARE(s.folder.starts(press.starts) << "warning: " + TestKit::warning(),
                 expected << "warning: " + press.warning);
        QVERIFY(TestKit::noZombies());  // the start left no process behind to reap
        QCOMPARE(s.options(), options); // a launch changes no option
    }

    void emulatorEnds_data()
    {
        QTest::addColumn<Ending>("ending");
        const QString exe = "O2EM.EXE", exit3 = "O2EM.EXE stopped at once (exit status 3).";
        const QString sdl = "o2em2", invalid = "Invalid option : s1\nparse_option s1 1\n";
        const auto row = [](const char *tag, const Ending &e) { QTest::newRow(tag) << e; };
        const QString noBios = "O2EM v1.51\nNo BIOS found\n";
        const QByteArray badOption = "echo 'Invalid option : s1' >&2; echo 'parse_option s1 1'; exit 1";
        // Today's SDL port, in a folder of its own: roms/ needed, a bare name looked for there first.
        const Behaviour sdlPort = script("[ -d roms ] || { echo \"dir './roms/' not found !\" >&2; exit 1; }\n"
                                         "[ -r \"roms/$1\" ] || [ -r \"$1\" ] || exit 9\n"
                                         + badOption);
        row("no BIOS, on stdout, shown there",
            {script("echo 'O2EM v1.51'; echo 'No BIOS found'; exit 1"), exe, "O2EM.EXE stopped: No BIOS found", noBios,
             noBios.toUtf8() + "|quorix: O2EM.EXE stopped: No BIOS found\n"});
        row("its reason on stderr, then chatter on stdout; both shown, Quorix's line after",
            {script(badOption), sdl, "o2em2 stopped: Invalid option : s1", invalid,
             "parse_option s1 1\n|Invalid option : s1\nquorix: o2em2 stopped: Invalid option : s1\n"});
        row("today's emulator without roms/, on stderr only",
            {sdlPort, sdl, "o2em2 stopped: dir './roms/' not found !", "dir './roms/' not found !\n"});
        row("today's emulator finds the game in roms/",
            {sdlPort, sdl, "o2em2 stopped: Invalid option : s1", invalid, {}, "roms"});
        row("a crash after its banner", {told("segv"), exe, TestKit::crashed, TestKit::crashPrinted});
        row("nothing printed, status 3", {told("exit3"), exe, exit3});
        row("two presses, each failure told", {told("exit3"), exe, exit3, {}, {}, ".", 2});
        const QString floodEnd = "\nflood\t done  \r\n"; // its last 4 KiB kept
        row("1 MiB at once, then its reason in CR LF, tabs and blanks",
            {told("flood"), exe, "O2EM.EXE stopped: flood done", QString(4096 - floodEnd.size(), u'x') + floodEnd});
        row("a failure late in the watch",
            {script("sleep 2.3; echo 'late failure'; exit 1"), "o2em", "o2em stopped: late failure", "late failure\n"});
        row("ends at once with status 0: silent", {told("exit0"), exe});
        row("a game that runs: silent", {told("runner"), exe});
    }
    void emulatorEnds()
    {
        QFETCH(Ending, ending);
        if (!ending.printed.isEmpty())
            SKIP_WITHOUT(EmulatorOutput);
        Session s;
        qputenv("PATH", "/nonexistent");
        QVERIFY(openWith(s, ending.program, ending.behaves, ending.games));
        QSignalSpy failures(s.launcher.get(), &Launcher::emulatorFailed);
        const int told = ending.warning.isEmpty() ? 0 : ending.presses;
        const QByteArray shown = terminal([&] { // no check in here: its words would go to the capture
            for (int i = 0; i < ending.presses; ++i)
                s.click("cmdRun");
            QTest::qWait(told ? 0 : Process::WatchMilliseconds + 500); // past the watch, for the silent ones
            static_cast<void>(
                QTest::qWaitFor([&] { return failures.size() >= told; }, Process::WatchMilliseconds + 2000));
        });
        QCOMPARE((std::pair(s.folder.starts(ending.presses).size(), failures.size())),
                 (std::pair<qsizetype, qsizetype>(ending.presses, told)));
        // Its line, and what it printed, up to its last 4 KiB, in the order written, for the asking.
        QCOMPARE(TestKit::warning(),
                 ending.printed.isEmpty() ? ending.warning : ending.warning + u'\n' + ending.printed);
        // The terminal, where asked: its stdout, and how its stderr starts (Qt may have its say after).
        if (!ending.terminal.isEmpty())
            QCOMPARE(shown.left(ending.terminal.size()), ending.terminal);
        outlivesQuorix(s);
    }

    void commandLine_data()
    {
        QTest::addColumn<Shell>("shell");
        const auto row = [](const char *tag, const Shell &shell) { QTest::newRow(tag) << shell; };
        const QStringList offscreen{"-platform", "offscreen", "games"}, menu{"-platform", "offscreen", "--last-folder"};
        const QByteArray mended = "0,0,0,0,3,2\r\n"; // the stick rule's, saved at the end
        const QString usage = "0|Usage: quorix [OPTIONS] [FOLDER]|", version = "0|quorix " QUORIX_VERSION "|";
        row("-h, without a display", {{"-h"}, usage});
        row("--version", {{"--version"}, version});
        row("a file, not a folder", {{"games/a.bin"}, "2||quorix: games/a.bin: not a folder"});
        row("two folders", {{"games", "games"}, "2||quorix: one folder at most, not 2"});
        row("an unknown option", {{"--frobnicate"}, "2||quorix: --frobnicate: unknown option"});
        row("no such folder", {{"gone"}, "2||quorix: gone: no such folder"});
        row("no display",
            {{"games"}, "1||quorix: no display to open a window on (DISPLAY and WAYLAND_DISPLAY are not set)"});
        row("a folder, ended by SIGTERM", {offscreen, "0||", SIGTERM, Config::Bytes, mended});
        row("SIGHUP, Qt's options with values",
            {QStringList{"-style", "fusion", "-session", "s"} + offscreen, "0||", SIGHUP, Config::Bytes, mended});
        row("SIGINT, a folder that looks like an option",
            {{"-platform", "offscreen", "--", "-games"}, "0||", SIGINT, Config::Bytes, mended, "-games"});
        row("the first start from the menu: the chooser, ended by a kill, writes nothing",
            {menu, "0||", SIGTERM, Config::Missing, "<missing>", "."});
        row("from the menu: the folder opened last", {menu, "0||", SIGTERM, Config::Bytes, mended, "games", "games"});
        row("from the menu, that folder gone: the chooser",
            {menu, "0||", SIGTERM, Config::Missing, "<missing>", ".", "gone"});
        row("Open with on a folder: that one",
            {menu + QStringList{"games"}, "0||", SIGTERM, Config::Bytes, mended, "games", "."});
        row("from a terminal: the current folder",
            {{"-platform", "offscreen"}, "0||", SIGTERM, Config::Bytes, mended, ".", "games"});
        row("a failed save: one line",
            {offscreen, "0||quorix: could not save the options in %1/quorix.cfg: a folder has that name", SIGTERM,
             Config::Folder});
    }
    void commandLine()
    {
        SKIP_WITHOUT(ConsoleProgram);
        QFETCH(Shell, shell);
        TestKit::WorkFolder folder;
        const QString cfg = shell.games + "/quorix.cfg";
        QVERIFY(QDir().mkpath("games") && QDir().mkpath(shell.games) && folder.write(shell.games + "/a.bin"));
        const QString settings = "/.config/" + Names::UserSettingsOrganisation + '/' + Names::UserSettingsApplication;
        if (!shell.remembered.isEmpty())
            QSettings(folder.path() + settings + ".conf", QSettings::IniFormat)
                .setValue(Names::LastFolderKey, folder.file(shell.remembered));
        QVERIFY(shell.config != Config::Bytes || folder.write(cfg, "0,0,0,0,2,2\r\n"));
        QVERIFY(shell.config != Config::Folder || QDir().mkdir(cfg));
        QProcess quorix;
        QProcessEnvironment env; // no display; nothing remembered, the user's settings untouched
        env.insert("XDG_RUNTIME_DIR", folder.path());
        env.insert("XDG_CONFIG_HOME", folder.file(".config"));
        quorix.setProcessEnvironment(env);
        quorix.start(QStringLiteral(QUORIX), shell.args);
        QVERIFY(quorix.waitForStarted());
        QTRY_VERIFY(!shell.signal || TestKit::handles(quorix.processId(), SIGTERM));
        QVERIFY(!shell.signal || ::kill(static_cast<pid_t>(quorix.processId()), shell.signal) == 0);
        QVERIFY(quorix.waitForFinished(10000) && quorix.exitStatus() == QProcess::NormalExit);
        const QString out = QString::fromLocal8Bit(quorix.readAllStandardOutput()).section(u'\n', 0, 0);
        const QStringList ours = QString::fromLocal8Bit(quorix.readAllStandardError()) // Qt may have its say there too
                                     .split(u'\n')
                                     .filter(QRegularExpression("^quorix:"));
        QCOMPARE(QString::number(quorix.exitCode()) + u'|' + out + u'|' + ours.join(u'\n'),
                 QString(shell.said).replace("%1", folder.path() + u'/' + shell.games));
        QCOMPARE(folder.read(cfg), shell.after);
    }
};

QTEST_MAIN(TestLaunch)
#include "tst_launch.moc"
