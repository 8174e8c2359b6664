// SPDX-License-Identifier: GPL-3.0-or-later
// Run Game as a user meets it: the lookup of the emulator, what reaches it, the refusals, an
// emulator that fails and what the warning then says; and the program as a shell or a desktop
// menu starts it.
#include "common/names.h"
#include "common/version.h"
#include "launch/process.h"
#include "session.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <cstdio>

using namespace Qt::StringLiterals;
using TestKit::WorkFolder;

// An emulator put in place at a path in the game folder (on PATH: under .path/).
using Put = std::function<bool(const WorkFolder &, const QString &path)>;
// The stand-in, told how to end (O2EM_STANDIN); by default a game that runs a while.
static Put standIn(const QByteArray &mode = {})
{
    return [mode](const WorkFolder &f, const QString &path) {
        return qputenv("O2EM_STANDIN", mode), f.installEmulator(path);
    };
}
// A file of these bytes, which may be run or not.
static Put file(const QByteArray &bytes, bool runnable = true)
{
    return [=](const WorkFolder &f, const QString &path) {
        return f.write(path, bytes)
            && QFile::setPermissions(f.file(path), QFile::ReadOwner | (runnable ? QFile::ExeOwner : QFile::ReadOwner));
    };
}
// A shell script that records its start as the stand-in does, then does what `body` says.
static Put script(const QByteArray &body)
{
    return file("#!/bin/sh\nPATH=/usr/bin:/bin\nprintf '%s\\0' \"$(pwd -P)\" \"$0\" \"$@\" >o2em-$$.part && mv "
                "o2em-$$.part o2em-$$.args\n"
                + body);
}
// Today's emulator, as its public build behaves: roms/ needed; a bare name looked for in roms/
// first, then taken as a path; a name with a slash only as a path.
static const QByteArray today = "[ -d roms ] || { echo \"dir './roms/' not found !\" >&2; exit 1; }\n"
                                "case $1 in */*) [ -r \"$1\" ];; *) [ -r \"roms/$1\" ] || [ -r \"$1\" ];; esac ||"
                                " { echo 'No ROM found'; exit 1; }\n";
// 1 MiB at once; then, with Quorix's reader held as under load, its last 60 KiB, the reason's line
// ended as a DOS-minded program may, still in the pipe as the reader learns of the end.
static const QByteArray flood
    = "x() { head -c $1 /dev/zero | tr '\\0' x; }; x 1048576; sleep 1\n"
      "(exec >&- 2>&-; until grep -qs 'State:.Z' /proc/$$/status; do sleep 0.01; done; kill -CONT $PPID) &\n"
      "kill -STOP $PPID; { x 61424; printf '\\nflood\\t done  \\r\\n'; }; exit 1";

struct Emulator {
    QString path;
    Put put = standIn();
};
// One situation at Run Game: the folder (its games as paths in it, its emulators, quorix.cfg),
// what the user does, the starts that come of it, each "program | arguments", and the warning.
struct Press {
    QStringList files;
    QList<Emulator> emulators;
    QList<Step> steps;
    QStringList started;
    QString warning = {};     // whole, as screen readers are given it; "%1/" the game folder
    QByteArray terminal = {}; // how Quorix's own stdout|stderr start (none: not looked at)
    TestKit::Need need = TestKit::Always;
    QByteArray config = {};
    int watch = 0; // milliseconds waited first, in which an emulator that ends would be told
};
Q_DECLARE_METATYPE(Press)

// The program as a shell starts it: its arguments; the exit status, how stdout starts and
// Quorix's own lines on stderr; a signal sent once it listens (0: none); quorix.cfg before and
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

using Do::click, Do::doubleClick, Do::key, Do::pick;

// What reaches this program's own stdout and stderr while `body` runs: "stdout|stderr".
static QByteArray terminal(const std::function<void()> &body)
{
    QTemporaryFile out, err; // were one not opened, nothing would be captured, and the row would fail
    out.open(), err.open();
    std::fflush(stdout), std::fflush(stderr);
    const int stdoutWas = dup(1), stderrWas = dup(2);
    dup2(out.handle(), 1), dup2(err.handle(), 2);
    const QtMessageHandler log = qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    body();
    qInstallMessageHandler(log);
    std::fflush(stdout), std::fflush(stderr);
    dup2(stdoutWas, 1), dup2(stderrWas, 2);
    close(stdoutWas), close(stderrWas);
    out.seek(0), err.seek(0);
    return out.readAll() + '|' + err.readAll();
}

// A game that writes as it runs (a count of its lines beside its record) outlives the window
// and goes on writing, with nobody left to read.
static void outlivesQuorix(Session &s)
{
    const QString args = QDir(s.folder.path()).entryList({"o2em-*.args"}).value(0);
    if (!QFile::exists(s.folder.file(args + ".lines")))
        return;
    const auto pid = args.section(u'-', 1).section(u'.', 0, 0).toInt();
    s.end(), s.launcher.reset();
    const auto lines = [&] { return s.folder.read(args + ".lines").toInt(); };
    const int written = lines();
    QTest::qWait(600);
    QVERIFY(lines() >= written + 3 && ::kill(pid, 0) == 0);
    ::kill(pid, SIGTERM);
}

class TestLaunch : public WindowSuite
{
    Q_OBJECT

private Q_SLOTS:
    void launch_data()
    {
        QTest::addColumn<Press>("press");
        const QStringList two{"a.bin", "b.bin"}, all{"-debug", "-s1=1", "-s2=0", "-nolimit", "-nosound", "-novoice"};
        const QString exe = "O2EM.EXE", sdl = "o2em2", none = "There are no available games!";
        const Step run = click("cmdRun");
        const TestKit::Need always = TestKit::Always, onLinux = TestKit::LinuxEmulators;
        // Each start: the program, then its arguments.
        const auto with = [](const QString &program, const QString &game = "a.bin",
                             const QStringList &options = {"-s1=1", "-s2=0"}) {
            return QStringList{program + " | " + (QStringList{game} + options).join(" | ")};
        };
        const auto on = [](const QString &game) { return QList<Step>{pick(game), click("cmdRun")}; };
        const auto row = [](const char *tag, const Press &press) { QTest::newRow(tag) << press; };
        // What reaches the stand-in, O2EM.EXE in the game folder, or the refusal.
        const auto runs = [&](const char *tag, const QStringList &files, const QList<Step> &steps,
                              const QStringList &started, const QString &warning = {}, const QByteArray &config = {}) {
            row(tag, {files, {{exe}}, steps, started, warning, {}, {}, config});
        };
        runs("all four boxes, twice: two emulators", two,
             {click("chkDebug"), click("chkNoLimit"), click("chkNoSound"), click("ChkNoVoice"), run, run},
             with(exe, "a.bin", all) + with(exe, "a.bin", all));
        runs("grayed boxes pass no option", two, {run}, with(exe), {}, "2,2,2,2,1,0");
        runs("Enter at the start: the list has the focus, its first game", two, {key(Qt::Key_Return, {})}, with(exe));
        runs("the layout's own modes: Tab reaches stick 1's, Space keeps it", two,
             {key(Qt::Key_Tab, {}), key(Qt::Key_Space, {}), key(Qt::Key_Return, {})},
             with(exe, "a.bin", {"-s1=2", "-s2=0"}), {}, "0,0,0,0,2,0");
        // The keyboard alone: Tab through the groups and boxes, a group's stop at its checked button, Space.
        const Step tab = key(Qt::Key_Tab, {}), space = key(Qt::Key_Space, {}), up = key(Qt::Key_Up, {});
        runs("Tab to Debug mode, Space sets a grayed box, Tab on to Run Game, Space", two,
             {tab, tab, tab, space, tab, tab, tab, space}, with(exe, "a.bin", {"-debug", "-s1=1", "-s2=0"}), {},
             "2,0,0,0,1,0");
        runs("Shift+Tab from the list: No Voice, Space ticks it", two,
             {key(Qt::Key_Backtab, {}), space, key(Qt::Key_Return, {})},
             with(exe, "a.bin", {"-s1=1", "-s2=0", "-novoice"}));
        runs("arrows select stick 1's mode; stick 2 moves off the mode taken", two,
             {tab, up, up, key(Qt::Key_Return, {})}, with(exe, "a.bin", {"-s1=0", "-s2=1"}));
        runs("no voice, sticks moved, keypad Enter on a radio button", two,
             {click("ChkNoVoice"), click("optS1(3)"), click("optS2(2)"),
              key(Qt::Key_Enter, "optS2(2)", Qt::KeypadModifier)},
             with(exe, "a.bin", {"-s1=3", "-s2=2", "-novoice"}));
        runs("the ROM's name in small letters", {"o2rom.bin", "O2ROM.BIN"}, on("o2rom.bin"), with(exe, "o2rom.bin"));
        runs("a double click on a game in roms/", {"a.bin", "roms/b.bin"}, {doubleClick("b.bin")}, with(exe, "b.bin"));
        runs("nothing selected: Home, Enter: the first", two,
             {pick({}), key(Qt::Key_Home, "filList"), key(Qt::Key_Return, "filList")}, with(exe));
        // Names that a shell, Windows or the emulator's own parser would take apart reach it whole.
        for (const QString &odd :
             QStringList{"  two  blanks .bin", "it's \"quoted\".bin", "a;b&&c||d|e.bin", "Tom & Jerry ^ %PATH%.bin",
                         "$(touch made).bin", "`touch made`.bin", "*.bin", "new\nline.bin",
                         "\u00c6r\u00f8 \u30b2\u30fc\u30e0.bin", QString(251, u'n') + ".bin"})
            runs(odd.left(30).toUtf8().constData(), {"a first.bin", odd}, on(odd), with(exe, odd));
        // Refusals: no game, or none picked.
        runs("the ROM", {"O2ROM.BIN", "pong.bin"}, {run}, {}, "You can not play 02ROM.BIN!");
        runs("one game, not selected: pick one", {"pong.bin"}, {run}, {}, "Pick a game in the list first.");
        runs("the ROM alone", {"O2ROM.BIN"}, {run}, {}, none);
        runs("no game", {}, {run}, {}, none);
        // The lookup (its whole order is the core's test): the first found that starts, or why none did; and a
        // leading dash, no option, passed so that today's emulator finds the game.
        const auto finds = [&](const char *tag, const QList<Emulator> &emulators, const QStringList &started,
                               const QString &warning, TestKit::Need need = TestKit::LinuxEmulators,
                               const QStringList &files = {"a.bin"}) {
            Press press{files, emulators, {pick(files.value(1, "a.bin").section(u'/', -1)), run}, started, warning};
            press.need = need, press.watch = 500, row(tag, press);
        };
        const Put folder = [](const WorkFolder &f, const QString &p) { return QDir().mkdir(f.file(p)); };
        finds("only on PATH", {{".path/O2EM.EXE"}}, with(".path/O2EM.EXE"), {}, always);
        finds("a Windows O2EM.EXE beside o2em on PATH", {{exe, file("MZ\x90", false)}, {".path/o2em"}},
              with(".path/o2em"), {});
        finds("a runnable Windows O2EM.EXE: o2em next", {{exe, file("MZ\x90")}, {"o2em"}}, with("o2em"), {});
        finds("every one fails: the first one's reason", {{exe, file("MZ\x90")}, {"o2em", file("#!/nonexistent/sh\n")}},
              {}, "O2EM.EXE is for Windows, not this system.");
        finds("no emulator, a folder named O2EM.EXE", {{exe, folder}}, {}, TestKit::noEmulator, always);
        finds("o2em2 without its execute bit", {{sdl, file("\177ELF", false)}}, {},
              "o2em2 is in the game folder but may not be run (chmod +x o2em2).");
        finds("a Windows O2EM.EXE without it", {{exe, file("MZ\x90", false)}}, {},
              "O2EM.EXE is for Windows, not this system.");
        finds("an O2EM.EXE that is no program", {{exe, file("\177ELF")}}, {}, TestKit::notAProgram, always);
        const QList<Emulator> fixed{{sdl, script(today + "exec sleep 3")}};
        finds("a leading dash in the game folder", fixed, with(sdl, "./-x.bin"), {}, onLinux, {"roms/a.bin", "-x.bin"});
        finds("a leading dash in roms/", fixed, with(sdl, "roms/-x.bin"), {}, onLinux, {"roms/a.bin", "roms/-x.bin"});
        // The emulator ends by itself: within the watch, why, in one line that names it, then what it printed and its
        // command line; after it, nothing.
        const auto ends = [&](const char *tag, const QString &program, const Put &put, const QString &warning,
                              const QByteArray &terminal = {}, TestKit::Need need = TestKit::LinuxEmulators) {
            const QString told = warning + "\nCommand line: %1/" + program + " a.bin -s1=1 -s2=0";
            Press press{two, {{program, put}}, {run}, with(program), warning.isEmpty() ? QString() : told, terminal,
                        need};
            press.watch = warning.isEmpty() ? Process::WatchMilliseconds + 500 : 0, row(tag, press);
        };
        ends("no BIOS, on stdout, shown there, Quorix's lines after", exe,
             script("echo 'O2EM v1.51'; echo 'No BIOS found'; exit 1"),
             "O2EM.EXE stopped: No BIOS found\nO2EM v1.51\nNo BIOS found",
             "O2EM v1.51\nNo BIOS found\n|quorix: O2EM.EXE stopped: No BIOS found\nquorix: command line: ");
        ends("today's emulator refuses the sticks: its reason on stderr, then chatter on stdout", sdl,
             script("echo 'Invalid option : s1' >&2; echo 'parse_option s1 1'; exit 1"),
             "o2em2 refuses the Stick 1 Mode on its command line (\"Invalid option : s1\").\nInvalid option : "
             "s1\nparse_option s1 1",
             "parse_option s1 1\n|Invalid option : s1\nquorix: o2em2 refuses the Stick 1 Mode on its command line");
        ends("a value refused, of an option passed", sdl,
             script("echo 'Invalid value for option S2 : key X unknown' >&2; exit 1"),
             "o2em2 refuses the Stick 2 Mode on its command line (\"Invalid value for option S2 : key X unknown\")."
             "\nInvalid value for option S2 : key X unknown");
        ends("an option not passed", sdl, script("echo 'Invalid option : nolimit' >&2; exit 1"),
             "o2em2 stopped: Invalid option : nolimit\nInvalid option : nolimit");
        ends("a crash after its banner", exe, standIn("segv"), TestKit::crashed, {}, always);
        ends("nothing printed, status 3", exe, standIn("exit3"), "O2EM.EXE stopped at once (exit status 3).", {},
             always);
        ends("1 MiB at once, then its reason in CR LF, tabs and blanks: its last 4 KiB", exe, script(flood),
             "O2EM.EXE stopped: flood done\n" + QString(4080, u'x') + "\nflood\t done  \r");
        ends("a failure late in the watch", "o2em", script("sleep 2.3; echo 'late failure'; exit 1"),
             "o2em stopped: late failure\nlate failure");
        ends("ends at once with status 0: silent", exe, standIn("exit0"), {}, {}, always);
        ends("a game that runs: silent, and it outlives Quorix, writing as it goes", exe,
             script("for i in $(seq 300); do echo \"frame $i\"; echo $i >o2em-$$.args.lines; sleep 0.1; done"), {});
    }
    void launch()
    {
        QFETCH(Press, press);
        SKIP_WITHOUT(press.files.join(u'/').contains(QRegularExpression("[\"*:<>?|\\x{1}-\\x{1f}]")) ? PlainNames
                                                                                                     : Always);
        SKIP_WITHOUT(press.files.join(u'/').toLower().split(u'/').removeDuplicates() ? CaseSensitiveNames : Always);
        SKIP_WITHOUT(press.need);
        Session s;
        qputenv("PATH", QFile::encodeName(s.folder.file(".path")));
        for (const QString &f : press.files)
            QVERIFY(s.folder.write(f));
        for (const Emulator &e : press.emulators)
            QVERIFY(e.put(s.folder, e.path));
        QVERIFY(press.config.isEmpty() ? s.open() : s.open(Config::Bytes, press.config));
        const WorkFolder elsewhere; // Quorix's own working folder is not the game folder
        const QString here = QFileInfo(s.folder.path()).canonicalFilePath();
        const QString warning = QString(press.warning).replace("%1/", QDir::toNativeSeparators(s.folder.path() + u'/'));
        const QByteArray shown = terminal([&] { // no check in here: its words would go to the capture
            for (const Step &step : press.steps)
                step(s);
            QTest::qWait(press.watch);
            static_cast<void>(
                QTest::qWaitFor([&] { return TestKit::warning() == warning; }, Process::WatchMilliseconds + 2000));
        });
        QStringList expected;
        for (const QString &start : press.started) // in the game folder
            expected << here + " | " + TestKit::shownAs + here + u'/' + start;
        const int count = int(expected.size());
        QCOMPARE(s.folder.starts(count) << TestKit::warning(), expected << warning);
        if (!press.terminal.isEmpty())
            QCOMPARE(shown.left(press.terminal.size()), press.terminal);
        QVERIFY(TestKit::noZombies()); // the start left no process behind to reap
        outlivesQuorix(s);
    }

    void commandLine_data()
    {
        QTest::addColumn<Shell>("shell");
        const auto row = [](const char *tag, const Shell &shell) { QTest::newRow(tag) << shell; };
        const QStringList offscreen{"-platform", "offscreen", "games"}, menu{"-platform", "offscreen", "--last-folder"};
        const QByteArray mended = "0,0,0,0,3,2\r\n"; // the stick rule's, saved at the end
        row("-h, without a display", {{"-h"}, "0|Usage: quorix [OPTIONS] [FOLDER]|"});
        row("a file, not a folder", {{"games/a.bin"}, "2||quorix: games/a.bin: not a folder"});
        row("an unknown option, named as typed", {{"--frobnicate=1"}, "2||quorix: --frobnicate: unknown option"});
        row("no such folder", {{"gone"}, "2||quorix: gone: no such folder"});
        row("no display",
            {{"games"}, "1||quorix: no display to open a window on (DISPLAY and WAYLAND_DISPLAY are not set)"});
        row("SIGHUP, Qt's options with values",
            {QStringList{"-style", "fusion", "-session", "s"} + offscreen, "0||", SIGHUP, Config::Bytes, mended});
        row("the first start from the menu: the chooser, ended by a kill, writes nothing",
            {menu, "0||", SIGTERM, Config::Missing, "<missing>", "."});
        row("from the menu: the folder opened last", {menu, "0||", SIGTERM, Config::Bytes, mended, "games", "games"});
        row("from the menu, that folder gone: the chooser",
            {menu, "0||", SIGTERM, Config::Missing, "<missing>", ".", "gone"});
        row("a failed save: one line",
            {offscreen, "0||quorix: could not save the options in %1/quorix.cfg: a folder has that name", SIGTERM,
             Config::Folder, "<a folder>"});
    }
    void commandLine()
    {
        SKIP_WITHOUT(ConsoleProgram);
        QFETCH(Shell, shell);
        WorkFolder folder;
        const QString cfg = shell.games + "/quorix.cfg";
        QVERIFY(folder.write("games/a.bin") && folder.write(shell.games + "/a.bin"));
        if (!shell.remembered.isEmpty())
            QSettings(folder.file(".config/Quorix/Quorix.conf"), QSettings::IniFormat)
                .setValue("lastFolder", folder.file(shell.remembered));
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
        const QStringList ours = QString::fromLocal8Bit(quorix.readAllStandardError()).split(u'\n').filter("quorix: ");
        QCOMPARE(std::pair(QString::number(quorix.exitCode()) + u'|' + out + u'|' + ours.join(u'\n'), folder.read(cfg)),
                 std::pair(QString(shell.said).replace("%1", folder.path() + u'/' + shell.games), shell.after));
    }
};

QTEST_MAIN(TestLaunch)
#include "tst_launch.moc"
