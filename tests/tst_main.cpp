// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as a user meets it: start-up from quorix.cfg, the stick rule, the keyboard,
// the ways out, each saving the options, and another game folder.
#include "session.h"

#include "settings/lastfolder.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QTimer>

using namespace Qt::StringLiterals;

// The ways the user (or the system) ends the program.
static const Step closeBox = [](Session &s) { s.window->close(); };
static const Step killed = [](Session &s) { s.window->endProgram(); };
static const Step logout = [](Session &s) { s.window->saveForSession(); };
static const Step windowEnds = [](Session &s) { s.end(); };
static const Step closedThenSpoiledThenEnds = [](Session &s) {
    s.window->close();
    TestKit::WorkFolder::put(s.folder.file("quorix.cfg"), "spoiled");
    s.end();
};
static const Step undoAndClose = [](Session &s) { // the changes taken back before the close box
    for (const char *name : {"chkDebug", "ChkNoVoice", "optS2(0)", "optS1(1)", "chkNoLimit"})
        s.click(name);
    s.window->close();
};
// Another game folder, dropped on the window from a file manager.
static Step drop(const QString &folder)
{
    return [folder](Session &s) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(s.folder.file(folder))});
        QDragEnterEvent enter(QPoint(9, 9), Qt::CopyAction, &data, Qt::LeftButton, {});
        QDropEvent drop(QPointF(9, 9), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(s.window.get(), &enter);
        QVERIFY(enter.isAccepted());
        QApplication::sendEvent(s.window.get(), &drop);
    };
}
// Another game folder chosen with File, Open Game Folder; or the chooser cancelled.
static Step choose(const QString &folder, bool accepted = true)
{
    return [folder, accepted](Session &s) {
        QTimer::singleShot(0, [path = s.folder.file(folder), accepted] {
            auto *chooser = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(chooser);
            chooser->setDirectory(path);
            accepted ? static_cast<QDialog *>(chooser)->accept() : chooser->reject();
        });
        s.choose("mnuOpen");
    };
}

// A way out, after Save on Exit was chosen so many times: quorix.cfg afterwards (before: the
// bytes the test opens with, or a folder of that name), and what opened over the window.
static const QByteArray changed = "1,0,0,1,3,2\r\n"; // the changes each row makes
struct Exit {
    Step how;
    int saveOnExitChosen = 0;
    QByteArray after = changed;
    QStringList told = {};
    Config config = Config::Bytes;
};
Q_DECLARE_METATYPE(Exit)

// Keys pressed one by one to the control with the focus, from a start with quorix.cfg `file`:
// where the focus is after each, and the options shown at the end.
struct Keys {
    QByteArray file;
    QList<Qt::Key> keys;
    QStringList focusAfter;
    QByteArray shown;
};
Q_DECLARE_METATYPE(Keys)

// Another game folder (other/, with the games given and its quorix.cfg; none if empty), taken
// after Debug mode was ticked: the old folder's quorix.cfg and the new one's, the options and
// the count shown, and the folder remembered.
struct Change {
    Step how;
    bool saveOnExit;
    QByteArray newConfig;
    QStringList newGames;
    QByteArrayList after;
};
Q_DECLARE_METATYPE(Change)

// Collects what opens over the window in its own font (a message box's text, or the name of
// another window or menu) and closes it.
class OverWindow : public QObject
{
public:
    explicit OverWindow(const Session &s)
    {
        connect(&m_timer, &QTimer::timeout, this, [this, &s] {
            QWidget *shown = QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                                                               : QApplication::activePopupWidget();
            if (!shown || !shown->isVisible() || !s.window || shown->font() != s.window->font())
                return;
            const auto *box = qobject_cast<QMessageBox *>(shown);
            seen << (box ? box->text() : shown->objectName());
            shown->close();
        });
        m_timer.start(10);
    }
    QStringList seen;

private:
    QTimer m_timer;
};

class TestMain : public WindowSuite
{
    Q_OBJECT

private Q_SLOTS:
    void startUp_data()
    {
        QTest::addColumn<QStringList>("games");
        QTest::addColumn<Config>("config");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArrayList>("started"); // the options and count shown, the game selected, quorix.cfg
        const QStringList two{"pong.bin", "Zap.bin"}, withRom{"O2ROM.BIN", "pong.bin", "Zap.bin"};
        const QByteArray defaults = "0,0,0,0,1,0", written = "0,0,0,0,1,0,\"#TRUE#\"\r\n"; // the 22 bytes
        const auto row
            = [](const char *tag, const QStringList &games, Config config, const QByteArray &bytes,
                 const QByteArrayList &started) { QTest::newRow(tag) << games << config << bytes << started; };
        const auto kept = [&two](const char *tag, const QByteArray &bytes, const QByteArray &shown) {
            QTest::newRow(tag) << two << Config::Bytes << bytes << QByteArrayList{shown, "2", "pong.bin", bytes};
        };
        const auto replaced = [&](const char *tag, Config config, const QByteArray &bytes) {
            QTest::newRow(tag) << two << config << bytes << QByteArrayList{defaults, "2", "pong.bin", written};
        };
        row("no file: defaults written", withRom, Config::Missing, {}, {defaults, "2", "O2ROM.BIN", written});
        row("only the ROM", {"O2ROM.BIN"}, Config::Missing, {}, {defaults, "0", {}, written});
        row("one game, not selected", {"pong.bin"}, Config::Missing, {}, {defaults, "1", {}, written});
        row("no game", {}, Config::Missing, {}, {defaults, "0", {}, written});
        kept("all set", "1,1,1,1,3,2\r\n", "1,1,1,1,3,2");
        kept("sticks 2 and 2 pulled apart", "0,0,0,0,2,2\r\n", "0,0,0,0,3,2");
        kept("sticks 3 and 3 wrap", "0,0,0,0,3,3\r\n", "0,0,0,0,0,3");
        kept("sticks 0 and 0", "0,0,0,0,0,0\r\n", "0,0,0,0,1,0");
        kept("the layout's own pair", "0,0,0,0,2,0\r\n", "0,0,0,0,2,0");
        kept("stick 1 on the layout's stick 2", "0,0,0,0,0,3\r\n", "0,0,0,0,0,3");
        kept("grayed box", "0,2,0,1,1,0\r\n", "0,2,0,1,1,0");
        kept("a record of exactly the 4096 bytes read", "1,0,0,0,1," + QByteArray(4085, ' ') + "0", "1,0,0,0,1,0");
        replaced("bad stick after set boxes", Config::Bytes, "1,1,1,1,4,0\r\n");
        replaced("short file", Config::Bytes, "1,1,1");
        replaced("a value running over the read limit", Config::Bytes, "0,0,0,0,1," + QByteArray(4090, '0') + "1\r\n");
        replaced("a record behind 5000 blanks", Config::Bytes, QByteArray(5000, ' ') + "1,1,1,1,3,2\r\n");
        replaced("a FIFO, never opened", Config::Fifo, {});
        replaced("a dangling link", Config::DanglingLink, {});
        replaced("100 MB of zeros", Config::HugeZeros, {});
    }
    void startUp()
    {
        QFETCH(QStringList, games);
        QFETCH(Config, config);
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArrayList, started);
        if (config == Config::Fifo)
            SKIP_WITHOUT(Fifos);
        if (config == Config::DanglingLink)
            SKIP_WITHOUT(Links);
        Session s;
        for (const QString &game : games)
            QVERIFY(s.folder.write(game));
        QVERIFY(s.open(config, bytes));
        QCOMPARE((QByteArrayList{s.options(), s.count().toUtf8(), s.window->fileName().toUtf8(), s.folder.read()}),
                 started);
        QVERIFY(s.find<QAction>("mnuSave")->isChecked());    // at every start
        QVERIFY(s.find<QPushButton>("cmdRun")->isDefault()); // framed as the button Enter presses
    }

    void keyboard_data()
    {
        QTest::addColumn<Keys>("keys");
        const auto row = [](const char *tag, const Keys &k) { QTest::newRow(tag) << k; };
        const Qt::Key tab = Qt::Key_Tab, back = Qt::Key_Backtab, up = Qt::Key_Up, down = Qt::Key_Down;
        row("one tab stop a group: its checked button",
            {"0,0,0,0,1,0",
             {tab, tab, tab, tab, tab, tab, tab, tab, tab, tab, tab, back, back, back},
             {"optS1(1)", "optS2(0)", "chkDebug", "chkNoLimit", "chkNoSound", "cmdRun", "cmdAbout", "cmdExit",
              "txtCount", "ChkNoVoice", "filList", "ChkNoVoice", "txtCount", "cmdExit"},
             "0,0,0,0,1,0"});
        row("the layout's own modes are stops too", {"0,0,0,0,2,0", {tab}, {"optS1(2)"}, "0,0,0,0,2,0"});
        row("the stops of the file's modes",
            {"0,0,0,0,3,2", {tab, tab, back}, {"optS1(3)", "optS2(2)", "optS1(3)"}, "0,0,0,0,3,2"});
        row("arrows move the stop and select",
            {"0,0,0,0,1,0",
             {tab, up, up, back, tab, tab},
             {"optS1(1)", "optS1(2)", "optS1(0)", "filList", "optS1(0)", "optS2(1)"},
             "0,0,0,0,0,1"});
        row("arrow down: the next on screen", {"0,0,0,0,1,0", {tab, down}, {"optS1(1)", "optS1(3)"}, "0,0,0,0,3,0"});
        row("Space on a grayed box: set, then cleared, never grayed",
            {"2,0,0,0,1,0",
             {tab, tab, tab, Qt::Key_Space, Qt::Key_Space, Qt::Key_Space},
             {"optS1(1)", "optS2(0)", "chkDebug", "chkDebug", "chkDebug", "chkDebug"},
             "1,0,0,0,1,0"});
        // The stick rule: a mode taken by the other stick moves that one to the next mode.
        row("s1 Left onto s2 Left",
            {"0,0,0,0,3,2", {tab, up, up}, {"optS1(3)", "optS1(1)", "optS1(2)"}, "0,0,0,0,2,3"});
        row("s2 Joystick onto s1 Joystick wraps",
            {"0,0,0,0,3,2", {tab, tab, down, down}, {"optS1(3)", "optS2(2)", "optS2(1)", "optS2(3)"}, "0,0,0,0,0,3"});
        row("a free mode moves nothing",
            {"0,0,0,0,2,0", {tab, down, tab, down}, {"optS1(2)", "optS1(1)", "optS2(0)", "optS2(2)"}, "0,0,0,0,1,2"});
    }
    void keyboard()
    {
        QFETCH(Keys, keys);
        Session s;
        QVERIFY(s.open(Config::Bytes, keys.file));
        QCOMPARE(s.focus(), "filList");
        QStringList focus;
        for (Qt::Key key : keys.keys) {
            s.press(key);
            focus << s.focus();
        }
        QCOMPARE(std::pair(focus, s.options()), std::pair(keys.focusAfter, keys.shown));
    }

    void exitSaves_data()
    {
        QTest::addColumn<Exit>("exit");
        const auto row = [](const char *tag, const Exit &e) { QTest::newRow(tag) << e; };
        const QByteArray before = "0,1,0,0,3,0\r\n", folder = "<a folder>";
        row("close box", {closeBox});
        row("Exit", {Do::click("cmdExit")});
        row("File, Exit", {Do::choose("mnuExit")});
        row("Enter on Exit", {Do::key(Qt::Key_Return, "cmdExit")});
        row("Alt+X", {Do::alt(Qt::Key_X)});
        row("a kill", {killed});
        row("a logout", {logout});
        row("the end of the window", {windowEnds});
        row("saved again as the window ends", {closedThenSpoiledThenEnds});
        row("Save on Exit unchecked", {closedThenSpoiledThenEnds, 1, "spoiled"});
        row("Save on Exit unchecked, close box", {closeBox, 1, before});
        row("Save on Exit unchecked, window ends", {windowEnds, 1, before});
        row("Save on Exit checked again", {closeBox, 2});
        // What opens over the window before its end, in the window's font.
        row("Alt+F: the File menu", {Do::alt(Qt::Key_F), 0, changed, {"mnuFile"}});
        row("Enter on About: About, not Run Game", {Do::key(Qt::Key_Return, "cmdAbout"), 0, changed, {"frmAbout"}});
        // A save that fails (a folder has the file's name) leaves the folder; a lost change is told once.
        row("a lost change is told, once",
            {closeBox,
             0,
             folder,
             {"The options could not be saved in quorix.cfg: a folder has that name."},
             Config::Folder});
        row("nothing lost, nothing told", {undoAndClose, 0, folder, {}, Config::Folder});
        row("a kill asks nothing", {killed, 0, folder, {}, Config::Folder});
    }
    void exitSaves()
    {
        QFETCH(Exit, exit);
        Session s;
        QVERIFY(s.open(exit.config, "0,1,0,0,3,0\r\n"));
        OverWindow over(s);
        for (const char *name : {"chkDebug", "ChkNoVoice", "optS1(3)", "optS2(2)", "chkNoLimit"})
            s.click(name);
        for (int i = 0; i < exit.saveOnExitChosen; ++i)
            s.choose("mnuSave");
        exit.how(s);
        QTRY_COMPARE(over.seen.size(), exit.told.size()); // a menu opens a moment later
        s.end();                                          // saves again, and fails again where it failed
        QTest::qWait(50);
        const bool isFolder = QFileInfo(s.folder.file("quorix.cfg")).isDir();
        QCOMPARE(std::pair(isFolder ? "<a folder>"_ba : s.folder.read(), over.seen), std::pair(exit.after, exit.told));
    }

    void changeFolder_data()
    {
        QTest::addColumn<Change>("change");
        const auto row = [](const char *tag, const Change &c) { QTest::newRow(tag) << c; };
        const QByteArray all = "1,1,1,1,3,2\r\n", written = "0,0,0,0,1,0,\"#TRUE#\"\r\n";
        row("File, Open Game Folder: options saved in the old folder, read from the new",
            {choose("other"),
             true,
             all,
             {"b.bin", "roms/c.bin"},
             {"1,1,0,0,3,0\r\n", all, "1,1,1,1,3,2", "2", "other"}});
        row("a folder dropped, Save on Exit unchecked: the old file kept, the new one's default written",
            {drop("other"), false, {}, {"b.bin"}, {"0,1,0,0,3,0\r\n", written, "0,0,0,0,1,0", "1", "other"}});
        row("a folder without games: opened, not remembered",
            {drop("other"), true, {}, {}, {"1,1,0,0,3,0\r\n", written, "0,0,0,0,1,0", "0", "."}});
        row("the chooser cancelled: nothing changes",
            {choose("other", false), true, all, {"b.bin"}, {"0,1,0,0,3,0\r\n", all, "1,1,0,0,3,0", "1", "."}});
    }
    void changeFolder()
    {
        QFETCH(Change, change);
        Session s;
        QVERIFY(s.folder.write("a.bin") && s.open(Config::Bytes, "0,1,0,0,3,0\r\n"));
        for (const QString &game : change.newGames)
            QVERIFY(QDir().mkpath(s.folder.file("other/roms")) && s.folder.write("other/" + game));
        QVERIFY(QDir().mkpath("other")
                && (change.newConfig.isEmpty() || s.folder.write("other/quorix.cfg", change.newConfig)));
        s.click("chkDebug");
        if (!change.saveOnExit)
            s.choose("mnuSave");
        change.how(s);
        const QString remembered = QDir(s.folder.path()).relativeFilePath(LastFolder::recall());
        QCOMPARE((QByteArrayList{s.folder.read(), s.folder.read("other/quorix.cfg"), s.options(), s.count().toUtf8(),
                                 remembered.toUtf8()}),
                 change.after);
    }
};

QTEST_MAIN(TestMain)
#include "tst_main.moc"
