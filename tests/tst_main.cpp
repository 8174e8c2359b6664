// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as a user meets it: start-up from a folder and quorix.cfg, the options and
// the stick rule, launching the emulator, the keyboard, exit; and the program as a shell
// starts it.
#include "common/version.h"
#include "main/frmquorix.h"
#include "settings/settingscodec.h"
#include "testkit.h"
#include "windows/formkit.h"
#include "windows/frmwarning.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include <csignal>
#include <sys/stat.h>
#include <memory>

using namespace Qt::StringLiterals;
using TestKit::WorkFolder;
using Window = std::unique_ptr<frmQuorix>;

struct Row { QByteArray file, steps, expected, after, box = {}; };
struct LaunchRow { QByteArray files, emulator, steps; int starts; QByteArray result; };
struct ShellRow { QByteArray args, file; int signal, status; QByteArray output, after; };
Q_DECLARE_METATYPE(Row)
Q_DECLARE_METATYPE(LaunchRow)
Q_DECLARE_METATYPE(ShellRow)

static QModelIndex item(const frmQuorix &w, const QByteArray &game)
{
    return w.filList->model()->index(static_cast<int>(w.games().indexOf(QString::fromUtf8(game))), 0);
}

// Plays one of a user's steps on the window:
//   click:NAME  key:KEY[@NAME] (to NAME, or to the focus; KEY as QKeySequence names it,
//   Num+ for the keypad)  select:GAME (select: clears)  dclick:GAME (GAME
//   percent-encoded)  menu:NAME  alt:LETTER  close  end (a kill)  session (a logout)
//   focus:NAME (where the focus must be)  count:N (what the count box shows)  stale (spoils quorix.cfg)  delete
static void play(Window &w, const QByteArray &step)
{
    const QByteArray verb = step.left(step.indexOf(':')), what = QByteArray::fromPercentEncoding(step.mid(step.indexOf(':') + 1));
    QWidget *named = w ? w->findChild<QWidget *>(QString::fromLatin1(what.mid(what.indexOf('@') + 1))) : nullptr;
    if (verb == "click") {
        QTest::mouseClick(named, Qt::LeftButton);
    } else if (verb == "key") {
        const QKeyCombination key = QKeySequence::fromString(QString::fromLatin1(what.split('@').first()))[0];
        QWidget *target = what.contains('@') ? named : QApplication::focusWidget();
        target->setFocus();
        QTest::keyClick(target, key.key(), key.keyboardModifiers());
    } else if (verb == "select") {
        w->filList->clearSelection();
        if (!what.isEmpty())
            w->filList->setCurrentIndex(item(*w, what));
    } else if (verb == "dclick") { // a first click only selects
        const QPoint at = w->filList->visualRect(item(*w, what)).center();
        QTest::mouseClick(w->filList->viewport(), Qt::LeftButton, {}, at);
        QTRY_COMPARE(w->fileName().toUtf8(), what);
        QTest::mouseDClick(w->filList->viewport(), Qt::LeftButton, {}, at);
    } else if (verb == "count") {
        QCOMPARE(w->txtCount->text().toLatin1(), what);
    } else if (verb == "focus") {
        QCOMPARE(QApplication::focusWidget()->objectName().toLatin1(), what);
    } else if (verb == "menu") {
        w->findChild<QAction *>(QString::fromLatin1(what))->trigger();
    } else if (verb == "alt") { // through the window system, where access keys are resolved
        QTest::keyClick(w->windowHandle(), Qt::Key(what[0]), Qt::AltModifier);
        for (const QPushButton *button : w->findChildren<QPushButton *>()) // it clicks a moment later
            QTRY_VERIFY(!button->isDown());
    } else if (step == "close" || step == "end" || step == "session") {
        step == "close" ? void(w->close()) : step == "end" ? w->endProgram() : w->saveForSession();
    } else if (step == "stale") {
        QVERIFY(WorkFolder::put(u"quorix.cfg"_s, "stale"));
    } else {
        QCOMPARE(step, "delete");
        w.reset();
    }
}

// The main window, shown and active, after quorix.cfg is made: <none>, or <dir> a folder,
// <fifo>, <link> one to nowhere, <huge> 100 MB of zeros, or the bytes given.
static Window shown(const QByteArray &file = "<none>")
{
    const QString cfg = u"quorix.cfg"_s;
    if (!(file == "<none>" || (file == "<dir>" ? QDir().mkdir(cfg) : file == "<fifo>" ? mkfifo("quorix.cfg", 0644) == 0
                               : file == "<link>" ? QFile::link(u"gone.cfg"_s, cfg)
                               : file == "<huge>" ? WorkFolder::put(cfg, {}) && QFile::resize(cfg, 100 << 20) : WorkFolder::put(cfg, file))))
        return nullptr;
    Window w = std::make_unique<frmQuorix>();
    w->show();
    QApplication::setActiveWindow(w.get());
    return QTest::qWaitForWindowActive(w.get()) ? std::move(w) : nullptr;
}

class TestMain : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { FormKit::applyClassicLook(); }
    void cleanup() { delete frmWarning::instance(); }

    void options_data()
    {
        // quorix.cfg at start (see shown()), steps, the controls afterwards (as quorix.cfg
        // would hold them), quorix.cfg afterwards (= unchanged), the message box shown
        QTest::addColumn<Row>("row");
        const QByteArray def = "0,0,0,0,1,0,\"#TRUE#\"\r\n", saved = "1,0,0,1,3,2\r\n"; // def: the 22 bytes of the default record
        const QByteArray change = "click:chkDebug click:ChkNoVoice click:optS1(3) click:optS2(2) ";
        QTest::newRow("no file: defaults written") << Row{"<none>", "", "0,0,0,0,1,0", def};
        QTest::newRow("all set") << Row{"1,1,1,1,3,2\r\n", "", "1,1,1,1,3,2", "="};
        QTest::newRow("sticks 2 and 2 pulled apart") << Row{"0,0,0,0,2,2\r\n", "", "0,0,0,0,3,2", "="};
        QTest::newRow("sticks 3 and 3 wrap") << Row{"0,0,0,0,3,3\r\n", "", "0,0,0,0,0,3", "="};
        QTest::newRow("sticks 0 and 0") << Row{"0,0,0,0,0,0\r\n", "", "0,0,0,0,1,0", "="};
        QTest::newRow("the layout's own pair") << Row{"0,0,0,0,2,0\r\n", "", "0,0,0,0,2,0", "="};
        QTest::newRow("stick 1 on the layout's stick 2") << Row{"0,0,0,0,0,3\r\n", "", "0,0,0,0,0,3", "="};
        QTest::newRow("grayed box") << Row{"0,2,0,1,1,0\r\n", "", "0,2,0,1,1,0", "="};
        QTest::newRow("bad stick after set boxes") << Row{"1,1,1,1,4,0\r\n", "", "0,0,0,0,1,0", def};
        QTest::newRow("short file") << Row{"1,1,1", "", "0,0,0,0,1,0", def};
        QTest::newRow("a value running over the read limit") << Row{"0,0,0,0,1," + QByteArray(4090, '0') + "1\r\n", "", "0,0,0,0,1,0", def};
        QTest::newRow("a record behind 5000 blanks") << Row{QByteArray(5000, ' ') + "1,1,1,1,3,2\r\n", "", "0,0,0,0,1,0", def};
        QTest::newRow("a FIFO, never opened") << Row{"<fifo>", "", "0,0,0,0,1,0", def};
        QTest::newRow("a dangling link") << Row{"<link>", "", "0,0,0,0,1,0", def};
        QTest::newRow("100 MB of zeros") << Row{"<huge>", "", "0,0,0,0,1,0", def};
        QTest::newRow("a folder named quorix.cfg") << Row{"<dir>", "click:chkNoSound", "0,0,1,0,1,0", "<missing>"};
        QTest::newRow("s1 Disable onto s2 Disable: s2 to Right Keyboard") << Row{"0,0,0,0,2,0\r\n", "click:optS1(0)", "0,0,0,0,0,1", "="};
        QTest::newRow("s1 Left onto s2 Left") << Row{"0,0,0,0,3,2\r\n", "click:optS1(2)", "0,0,0,0,2,3", "="};
        QTest::newRow("s1 Joystick onto s2 Joystick wraps") << Row{"0,0,0,0,1,3\r\n", "click:optS1(3)", "0,0,0,0,3,0", "="};
        QTest::newRow("s2 Joystick onto s1 Joystick wraps") << Row{"0,0,0,0,3,1\r\n", "click:optS2(3)", "0,0,0,0,0,3", "="};
        QTest::newRow("s2 Left onto s1 Left") << Row{"0,0,0,0,2,3\r\n", "click:optS2(2)", "0,0,0,0,3,2", "="};
        QTest::newRow("a free mode moves nothing") << Row{"0,0,0,0,2,0\r\n", "click:optS1(3) click:optS2(1)", "0,0,0,0,3,1", "="};
        QTest::newRow("the selected button again") << Row{"0,0,0,0,2,0\r\n", "click:optS1(2)", "0,0,0,0,2,0", "="};
        QTest::newRow("arrow down: the next on screen") << Row{"0,0,0,0,1,0\r\n", "key:Down@optS1(1)", "0,0,0,0,3,0", "="};
        QTest::newRow("arrow up onto the other's mode") << Row{"0,0,0,0,2,0\r\n", "key:Up@optS1(2)", "0,0,0,0,0,1", "="};
        QTest::newRow("neither a click nor Space grays a box") << Row{"2,0,0,0,1,0\r\n", "click:chkDebug click:chkDebug key:Space@chkDebug", "1,0,0,0,1,0", "="};
        QTest::newRow("close box saves") << Row{"<none>", change + "close", "1,0,0,1,3,2", saved};
        QTest::newRow("Exit saves") << Row{"<none>", change + "click:cmdExit", "1,0,0,1,3,2", saved};
        QTest::newRow("File, Exit saves") << Row{"<none>", change + "menu:mnuExit", "1,0,0,1,3,2", saved};
        QTest::newRow("Enter on Exit saves") << Row{"<none>", change + "key:Return@cmdExit", "1,0,0,1,3,2", saved};
        QTest::newRow("Alt+X saves") << Row{"<none>", change + "alt:X", "1,0,0,1,3,2", saved};
        QTest::newRow("a kill saves") << Row{"<none>", change + "end", "1,0,0,1,3,2", saved};
        QTest::newRow("a logout saves") << Row{"<none>", change + "session", "1,0,0,1,3,2", saved};
        QTest::newRow("the end of the window saves") << Row{"<none>", change + "delete", "", saved};
        QTest::newRow("and saves again after closing") << Row{"<none>", change + "close stale delete", "", saved};
        QTest::newRow("Save on Exit unchecked") << Row{"0,1,0,0,3,0\r\n", "click:chkDebug menu:mnuSave close delete", "", "="};
        QTest::newRow("one tab stop a group: its checked button") << Row{"<none>",
            "key:Tab focus:optS1(1) key:Tab focus:optS2(0) key:Tab focus:chkDebug key:Tab key:Tab key:Tab focus:cmdRun key:Tab key:Tab key:Tab "
            "focus:txtCount key:Tab focus:ChkNoVoice key:Tab focus:filList key:Backtab key:Backtab key:Backtab focus:cmdExit", "0,0,0,0,1,0", def};
        QTest::newRow("the layout's own modes are stops too") << Row{"0,0,0,0,2,0\r\n", "key:Tab focus:optS1(2)", "0,0,0,0,2,0", "="};
        QTest::newRow("the stops of the file's modes") << Row{"0,0,0,0,3,2\r\n", "key:Tab focus:optS1(3) key:Tab focus:optS2(2) key:Backtab focus:optS1(3)", "0,0,0,0,3,2", "="};
        QTest::newRow("arrows move the stop") << Row{"<none>", "key:Tab key:Up key:Up focus:optS1(0) key:Backtab key:Tab focus:optS1(0) key:Tab focus:optS2(1)",
                                                      "0,0,0,0,0,1", def};
        QTest::newRow("a lost change is told") << Row{"<dir>", "click:chkDebug close", "1,0,0,0,1,0", "<missing>",
                                                      "The options could not be saved in quorix.cfg: a folder has that name."};
        QTest::newRow("nothing lost, nothing told") << Row{"<dir>", "click:chkDebug click:chkDebug close", "0,0,0,0,1,0", "<missing>"};
        QTest::newRow("a kill asks nothing") << Row{"<dir>", "click:chkDebug end", "1,0,0,0,1,0", "<missing>"};
        QTest::newRow("Alt+A: About") << Row{"<none>", "alt:A", "0,0,0,0,1,0", def, "frmAbout"};
        QTest::newRow("Enter on About: About, not Run Game") << Row{"<none>", "key:Return@cmdAbout", "0,0,0,0,1,0", def, "frmAbout"};
        QTest::newRow("Alt+F: the File menu") << Row{"<none>", "alt:F", "0,0,0,0,1,0", def, "mnuFile"};
        QTest::newRow("Save on Exit checked again") << Row{"0,1,0,0,3,0\r\n", "click:chkDebug menu:mnuSave menu:mnuSave close", "1,1,0,0,3,0", "1,1,0,0,3,0\r\n"};
    }
    void options()
    {
        QFETCH(Row, row);
        WorkFolder folder;
        Window w = shown(row.file);
        QVERIFY(w && w->mnuSave->isChecked()); // at every start
        QByteArray box; // what opened over the window: a message box's text, or the name of another window or menu
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&box, &w] {
            QWidget *shown = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activePopupWidget();
            const auto *message = qobject_cast<QMessageBox *>(shown);
            if (shown && shown->isVisible() && shown->font() == w->font()) // in the window's own font
                box += message ? message->text().toUtf8() : shown->objectName().toLatin1(), shown->close();
        });
        watch.start(10);
        for (const QByteArray &step : row.steps.split(' '))
            if (!step.isEmpty())
                play(w, step);
        QCOMPARE(w ? TestKit::text(w->options()) : QByteArray(), row.expected);
        QCOMPARE(folder.read(), row.after == "=" ? row.file : row.after);
        QTRY_COMPARE(box, row.box);
        w.reset(); // a second failed save is not told again
        QCOMPARE(box, row.box);
    }

    void launch_data()
    {
        // the folder's files ("/"-separated); the emulator: NAME the stand-in (in .path/: on
        // PATH), mz: a Windows program (mz644: one that may not run), dir: a folder, badsh: and
        // noexec: scripts whose interpreter is missing or may not run, junk: no program at all; the steps; how many starts;
        // each start's arguments (","-separated), or the warning
        QTest::addColumn<LaunchRow>("row");
        QTest::newRow("twice, two emulators") << LaunchRow{"GAME.BIN/O2ROM.BIN", "O2EM.EXE", "select:GAME.BIN click:cmdRun click:cmdRun", 2, "GAME.BIN,-s1=1,-s2=0"};
        QTest::newRow("all four boxes") << LaunchRow{"GAME.BIN/O2ROM.BIN", "O2EM.EXE", "select:GAME.BIN click:chkDebug click:chkNoLimit click:chkNoSound click:ChkNoVoice click:cmdRun",
                                                     1, "GAME.BIN,-debug,-s1=1,-s2=0,-nolimit,-nosound,-novoice"};
        QTest::newRow("no voice, sticks moved") << LaunchRow{"x.bin/y.bin", "O2EM.EXE", "click:ChkNoVoice click:optS1(3) click:optS2(2) click:cmdRun", 1, "x.bin,-s1=3,-s2=2,-novoice"};
        QTest::newRow("the ROM's name in small letters runs") << LaunchRow{"o2rom.bin/O2ROM.BIN", "O2EM.EXE", "select:o2rom.bin click:cmdRun", 1, "o2rom.bin,-s1=1,-s2=0"};
        QTest::newRow("Enter in the list: the first game") << LaunchRow{"b.bin/a.bin", "O2EM.EXE", "key:Return@filList", 1, "a.bin,-s1=1,-s2=0"};
        QTest::newRow("Enter on a check box") << LaunchRow{"b.bin/a.bin", "O2EM.EXE", "key:Return@chkDebug", 1, "a.bin,-s1=1,-s2=0"};
        QTest::newRow("keypad Enter on a radio button") << LaunchRow{"b.bin/a.bin", "O2EM.EXE", "key:Num+Enter@optS2(0)", 1, "a.bin,-s1=1,-s2=0"};
        QTest::newRow("typing in the count box, then Enter") << LaunchRow{"b.bin/a.bin", "O2EM.EXE", "key:9@txtCount count:2 key:Return@txtCount", 1, "a.bin,-s1=1,-s2=0"};
        QTest::newRow("Alt+R") << LaunchRow{"b.bin/a.bin", "O2EM.EXE", "alt:R", 1, "a.bin,-s1=1,-s2=0"};
        QTest::newRow("double click") << LaunchRow{"a.bin/b.bin/c.bin", "O2EM.EXE", "dclick:c.bin", 1, "c.bin,-s1=1,-s2=0"};
        QTest::newRow("the ROM") << LaunchRow{"O2ROM.BIN/pong.bin", "O2EM.EXE", "click:cmdRun", 0, "You can not play 02ROM.BIN!"};
        QTest::newRow("one file is not selected") << LaunchRow{"pong.bin", "O2EM.EXE", "click:cmdRun", 0, "There are no available games!"};
        QTest::newRow("empty folder") << LaunchRow{"", "O2EM.EXE", "click:cmdRun", 0, "There are no available games!"};
        QTest::newRow("selection cleared") << LaunchRow{"a.bin/b.bin", "O2EM.EXE", "select: click:cmdRun", 0, "There are no available games!"};
        QTest::newRow("O2EM.EXE here first") << LaunchRow{"a.bin/b.bin", "O2EM.EXE .path/O2EM.EXE o2em .path/o2em", "click:cmdRun", 1, "a.bin,-s1=1,-s2=0"};
        QTest::newRow("then O2EM.EXE on PATH") << LaunchRow{"a.bin/b.bin", ".path/O2EM.EXE o2em .path/o2em", "click:cmdRun", 1, "a.bin,-s1=1,-s2=0"};
        QTest::newRow("then o2em here") << LaunchRow{"a.bin/b.bin", "o2em .path/o2em o2em.exe", "click:cmdRun", 1, "a.bin,-s1=1,-s2=0"};
        QTest::newRow("a Windows O2EM.EXE beside o2em on PATH") << LaunchRow{"a.bin/b.bin", "mz644:O2EM.EXE .path/o2em", "click:cmdRun", 1, "a.bin,-s1=1,-s2=0"};
        QTest::newRow("a runnable Windows O2EM.EXE: o2em next") << LaunchRow{"a.bin/b.bin", "mz:O2EM.EXE o2em", "click:cmdRun", 1, "a.bin,-s1=1,-s2=0"};
        QTest::newRow("only a Windows O2EM.EXE") << LaunchRow{"a.bin/b.bin", "mz:O2EM.EXE", "click:cmdRun", 0, "O2EM.EXE is for Windows, not this system."};
        QTest::newRow("no emulator anywhere") << LaunchRow{"a.bin/b.bin", "", "click:cmdRun", 0, "No O2EM.EXE or o2em here or on PATH."};
        QTest::newRow("a folder named O2EM.EXE") << LaunchRow{"a.bin/b.bin", "dir:O2EM.EXE", "click:cmdRun", 0, "No O2EM.EXE or o2em here or on PATH."};
        QTest::newRow("o2em that cannot run") << LaunchRow{"a.bin/b.bin", "badsh:o2em", "click:cmdRun", 0, "o2em lacks a file it needs to run."};
        QTest::newRow("o2em that may not run here") << LaunchRow{"a.bin/b.bin", "noexec:o2em", "click:cmdRun", 0, "o2em may not be run here."};
        QTest::newRow("o2em in no known format") << LaunchRow{"a.bin/b.bin", "junk:o2em", "click:cmdRun", 0, "o2em could not start: exec format error."};
        for (const QByteArray &odd : QByteArrayList{"  two  blanks .bin", "it's \"quoted\".bin", "a;b&&c||d|e.bin", "$(touch made).bin", "`touch made`.bin", "*.bin",
                                     "new\nline.bin", "\xc3\x86r\xc3\xb8 \xe3\x82\xb2\xe3\x83\xbc\xe3\x83\xa0.bin", QByteArray(251, 'n') + ".bin"})
            QTest::newRow(odd.left(30).constData()) << LaunchRow{"a first.bin/" + odd, "O2EM.EXE", "select:" + odd.toPercentEncoding() + " click:cmdRun", 1, odd + ",-s1=1,-s2=0"};
        QTest::newRow("a leading dash is not an option") << LaunchRow{"a first.bin/-debug.bin", "O2EM.EXE", "select:-debug.bin click:cmdRun", 1, "./-debug.bin,-s1=1,-s2=0"};
        QTest::newRow("--help.bin") << LaunchRow{"a first.bin/--help.bin", "O2EM.EXE", "select:--help.bin click:cmdRun", 1, "./--help.bin,-s1=1,-s2=0"};
    }
    void launch()
    {
        QFETCH(LaunchRow, row);
        WorkFolder folder;
        qputenv("PATH", QFile::encodeName(folder.file(u".path"_s)));
        for (const QByteArray &f : row.files.split('/'))
            QVERIFY(f.isEmpty() || folder.write(QString::fromUtf8(f)));
        const QHash<QByteArray, QByteArray> content{{"mz", "MZ\x90"}, {"mz644", "MZ\x90"}, {"badsh", "#!/nonexistent/sh\n"}, {"noexec", "#!/etc/passwd\n"}, {"junk", "\x7f" "ELF"}};
        QString program; // the stand-in listed first
        for (const QByteArray &e : row.emulator.split(' ')) {
            const QByteArray kind = e.left(e.indexOf(':'));
            const QString name = QString::fromLatin1(e.mid(e.indexOf(':') + 1));
            program = program.isEmpty() && !e.contains(':') ? name : program;
            QVERIFY(!content.contains(kind) || folder.write(name, content[kind]));
            QVERIFY(!content.contains(kind) || kind == "mz644" || QFile::setPermissions(name, QFile::ReadOwner | QFile::ExeOwner));
            QVERIFY(e.isEmpty() || e.contains(':') || folder.installEmulator(name));
            QVERIFY(kind != "dir" || QDir().mkdir(name));
        }
        const QStringList before = folder.entries();
        Window w = shown();
        QVERIFY(w && QApplication::focusWidget() == w->filList && w->cmdRun->isDefault());
        QList<QByteArray> steps = row.steps.split(' ');
        const QByteArray last = steps.takeLast();
        for (const QByteArray &step : steps)
            play(w, step);
        const QByteArray options = TestKit::text(w->options());
        const QString selected = w->fileName();
        play(w, last);

        const QList<QStringList> starts = folder.starts(row.starts);
        QCOMPARE(starts.size(), row.starts);
        const QString here = QFileInfo(folder.path()).canonicalFilePath();
        for (const QStringList &start : starts) // the first in the lookup's order, in the game folder, detached: still running
            QCOMPARE(start, QStringList({here, here + u'/' + program}) + QString::fromUtf8(row.result).split(u','));
        QVERIFY(!row.starts || kill(QDir().entryList({u"o2em-*.args"_s}).value(0).section(u'-', 1).section(u'.', 0, 0).toInt(), 0) == 0);
        const QLineEdit *message = frmWarning::instance() ? frmWarning::instance()->txtWarning : nullptr;
        QCOMPARE(message ? message->text().toUtf8() : QByteArray(), row.starts ? QByteArray() : row.result);
        // Whole in the field: it fits between the frame and the field's own margins.
        QVERIFY(!message || (message->toolTip().isEmpty() && message->fontMetrics().horizontalAdvance(message->text()) <= message->width() - 8));
        QVERIFY(row.starts || (TestKit::text(w->options()) == options && w->fileName() == selected)); // a refusal changes nothing
        QStringList after = folder.entries();
        after.removeIf([](const QString &n) { return n.startsWith(u"o2em-"_s) || n == u"quorix.cfg"_s; });
        QCOMPARE(after, before);
    }

    void commandLine_data()
    {
        // arguments; games/quorix.cfg (<dir> a folder); the signal sent once the program
        // listens; exit status; stdout, or after "2>" the program's lines on stderr (@ the
        // folder); games/quorix.cfg afterwards
        QTest::addColumn<ShellRow>("row");
        QTest::newRow("--help without a display") << ShellRow{"--help", "", 0, 0, "Usage: quorix [OPTIONS] [FOLDER]\n", "<missing>"};
        QTest::newRow("-h") << ShellRow{"-h", "", 0, 0, "Usage: quorix [OPTIONS] [FOLDER]\n", "<missing>"};
        QTest::newRow("--version") << ShellRow{"--version", "", 0, 0, "quorix " QUORIX_VERSION "\n", "<missing>"};
        QTest::newRow("-v") << ShellRow{"-v", "", 0, 0, "quorix " QUORIX_VERSION "\n", "<missing>"};
        QTest::newRow("a file, not a folder") << ShellRow{"games/a.bin", "", 0, 2, "2>quorix: games/a.bin: not a folder\n", "<missing>"};
        QTest::newRow("two folders") << ShellRow{"games games", "", 0, 2, "2>quorix: one folder at most, not 2\n", "<missing>"};
        QTest::newRow("an unknown option") << ShellRow{"--frobnicate", "", 0, 2, "2>quorix: Unknown option 'frobnicate'.\n", "<missing>"};
        QTest::newRow("no such folder") << ShellRow{"gone", "", 0, 2, "2>quorix: gone: no such folder\n", "<missing>"};
        QTest::newRow("no display") << ShellRow{"games", "", 0, 1, "2>quorix: no display", "<missing>"};
        QTest::newRow("a folder, ended by SIGTERM") << ShellRow{"-platform offscreen games", "0,0,0,0,2,2\r\n", SIGTERM, 0, "", "0,0,0,0,3,2\r\n"};
        QTest::newRow("SIGHUP, Qt's options") << ShellRow{"-style fusion -platform offscreen -platformpluginpath /none -platformtheme none -plugin none -stylesheet none.qss "
            "-session s -qwindowgeometry 9x9 -geometry 9x9 -qwindowtitle T -title T -qwindowicon x -icon x -display :0 -name n -visual x -qmljsdebugger port:1 "
            "-reverse -widgetcount -testability -nograb -dograb -sync games", "0,0,0,0,2,2\r\n", SIGHUP, 0, "", "0,0,0,0,3,2\r\n"};
        QTest::newRow("SIGINT, a folder that looks like an option") << ShellRow{"-platform offscreen -- -games", "0,0,0,0,2,2\r\n", SIGINT, 0, "", "0,0,0,0,3,2\r\n"};
        QTest::newRow("a failed save: one line") << ShellRow{"-platform offscreen games", "<dir>", SIGTERM, 0,
                                                             "2>quorix: could not save the options in @/games/quorix.cfg: a folder has that name\n", "<missing>"};
    }
    void commandLine()
    {
        QFETCH(ShellRow, row);
        WorkFolder folder;
        const QString games = row.args.contains("-games") ? u"-games"_s : u"games"_s;
        QVERIFY(QDir().mkdir(games) && folder.write(u"games/a.bin"_s.replace(u"games"_s, games)));
        QVERIFY(row.file.isEmpty() || (row.file == "<dir>" ? QDir().mkdir(games + u"/quorix.cfg"_s) : folder.write(games + u"/quorix.cfg"_s, row.file)));
        QProcess quorix;
        QProcessEnvironment env; // no display
        env.insert(u"XDG_RUNTIME_DIR"_s, folder.path());
        quorix.setProcessEnvironment(env);
        quorix.start(QStringLiteral(QUORIX), QString::fromLatin1(row.args).split(u' '));
        QVERIFY(quorix.waitForStarted());
        const auto listening = [&quorix] { // its handlers are in place
            QFile proc(u"/proc/%1/status"_s.arg(quorix.processId()));
            const QByteArray status = proc.open(QIODevice::ReadOnly) ? proc.readAll() : QByteArray();
            return status.mid(status.indexOf("SigCgt:") + 7, 17).trimmed().toULongLong(nullptr, 16) & (1ull << (SIGTERM - 1));
        };
        QTRY_VERIFY(!row.signal || listening());
        QVERIFY(!row.signal || kill(static_cast<pid_t>(quorix.processId()), row.signal) == 0);
        QVERIFY(quorix.waitForFinished(10000) && quorix.exitStatus() == QProcess::NormalExit);
        QCOMPARE(quorix.exitCode(), row.status);
        QByteArray ours; // Qt may have its say on stderr too
        for (const QByteArray &line : quorix.readAllStandardError().split('\n'))
            ours += line.startsWith("quorix:") ? line + '\n' : QByteArray();
        const bool toStderr = row.output.startsWith("2>");
        const QByteArray got = toStderr ? ours : quorix.readAllStandardOutput();
        QVERIFY2(got.startsWith(row.output.mid(toStderr ? 2 : 0).replace('@', QFile::encodeName(folder.path()))) && ours.count('\n') == toStderr, got.constData());
        QCOMPARE(folder.read(games + u"/quorix.cfg"_s), row.after);
    }
};

QTEST_MAIN(TestMain)
#include "tst_main.moc"
