// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as a user meets it: start-up from quorix.cfg, the stick rule, the ways out, each
// saving the options, another game folder, the first start's question, and what the list tells of a game.
#include "main/folderchoice.h"
#include "main/platform.h"
#include "session.h"
#include "settings/lastfolder.h"

#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QTimer>
#include <QWhatsThis>

#include <thread>

using namespace Qt::StringLiterals;

// The ways the user (or the system) ends the program.
static const Step closeBox = [](Session &s) { s.window->close(); };
static const Step killed = [](Session &s) { s.window->endProgram(); };
static const Step logout = [](Session &s) { s.window->saveForSession(); };
static const Step closedThenSpoiledThenEnds
    = [](Session &s) { s.window->close(), s.folder.write("quorix.cfg", "spoiled"), s.end(); };
// The display gone under Quorix: Qt says so, maybe from a thread of its own, and then ends the process (with
// status 1), so the options must be saved first, as Save on Exit says, without the windows.
static const Step displayGone = [](Session &s) {
    Platform::EndWatcher watcher;
    watcher.onDisplayLost([&s] { return s.launcher->saveKept(); });
    std::thread([] { qWarning("The X11 connection broke (error 1). Did the X11 server die?"); }).join();
    s.find<QAction>("mnuSave")->setChecked(false); // the process ends here: nothing saved after
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
        QVERIFY((QApplication::sendEvent(s.window.get(), &enter), enter.isAccepted()));
        QApplication::sendEvent(s.window.get(), &drop);
    };
}
// A folder chooser, as it opens: its folder, title and what it says, then a choice or a cancel.
static QString answer(const QString &folder, bool accepted = true)
{
    auto *chooser = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
    if (!chooser)
        return "no chooser";
    const QLabel *hint = chooser->findChild<QLabel *>("hint");
    const QString seen
        = chooser->directory().dirName() + u'|' + chooser->windowTitle() + u'|' + (hint ? hint->text() : QString());
    chooser->setDirectory(folder);
    accepted ? static_cast<QDialog *>(chooser)->accept() : chooser->reject();
    return seen;
}
// Another game folder chosen with File, Open Game Folder; or the chooser cancelled.
static Step choose(const QString &folder, bool accepted = true)
{
    return [folder, accepted](Session &s) {
        QTimer::singleShot(0, [path = s.folder.file(folder), accepted] { answer(path, accepted); });
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
    TestKit::Need need = TestKit::Always;
};
Q_DECLARE_METATYPE(Exit)

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

class TestMain : public WindowSuite
{
    Q_OBJECT

private Q_SLOTS:
    void startUp_data()
    {
        // The options and the count shown, the game selected, and quorix.cfg, after a start.
        QTest::addColumn<QStringList>("games");
        QTest::addColumn<Config>("config");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArrayList>("started");
        const QStringList two{"pong.bin", "Zap.bin"};
        const QByteArray defaults = "0,0,0,0,1,0", written = "0,0,0,0,1,0,\"#TRUE#\"\r\n"; // the 22 bytes
        const auto row
            = [](const char *tag, const QStringList &games, Config config, const QByteArray &bytes,
                 const QByteArrayList &started) { QTest::newRow(tag) << games << config << bytes << started; };
        const auto kept = [&](const char *tag, const QByteArray &bytes, const QByteArray &shown) {
            row(tag, two, Config::Bytes, bytes, {shown, "2", "pong.bin", bytes});
        };
        const auto replaced = [&](const char *tag, Config config, const QByteArray &bytes = {}) {
            row(tag, two, config, bytes, {defaults, "2", "pong.bin", written});
        };
        row("no file: defaults written", {"O2ROM.BIN", "pong.bin", "Zap.bin"}, Config::Missing, {},
            {defaults, "2", "O2ROM.BIN", written});
        row("one game, not selected", {"pong.bin"}, Config::Missing, {}, {defaults, "1", {}, written});
        kept("all set", "1,1,1,1,3,2\r\n", "1,1,1,1,3,2");
        kept("sticks 2 and 2 pulled apart", "0,0,0,0,2,2\r\n", "0,0,0,0,3,2");
        kept("sticks 3 and 3 wrap", "0,0,0,0,3,3\r\n", "0,0,0,0,0,3");
        kept("stick 1 on the layout's stick 2", "0,0,0,0,0,3\r\n", "0,0,0,0,0,3");
        kept("grayed box", "0,2,0,1,1,0\r\n", "0,2,0,1,1,0");
        kept("a record of exactly the 4096 bytes read", "1,0,0,0,1," + QByteArray(4085, ' ') + "0", "1,0,0,0,1,0");
        replaced("bad stick after set boxes", Config::Bytes, "1,1,1,1,4,0\r\n");
        replaced("short file", Config::Bytes, "1,1,1");
        replaced("a value running over the read limit", Config::Bytes, "0,0,0,0,1," + QByteArray(4090, '0') + "1\r\n");
        replaced("a FIFO, never opened", Config::Fifo);
        replaced("100 MB of zeros", Config::HugeZeros);
    }
    void startUp()
    {
        QFETCH(QStringList, games);
        QFETCH(Config, config);
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArrayList, started);
        SKIP_WITHOUT(config == Config::Fifo ? Fifos : Always);
        Session s;
        for (const QString &game : games)
            QVERIFY(s.folder.write(game));
        QVERIFY(s.open(config, bytes));
        QCOMPARE((QByteArrayList{s.options(), s.count(), s.window->fileName().toUtf8(), s.folder.read()}), started);
        // Save on Exit is checked at every start; Run Game is framed as the button Enter presses.
        QVERIFY(s.find<QAction>("mnuSave")->isChecked() && s.find<QPushButton>("cmdRun")->isDefault());
    }

    void exitSaves_data()
    {
        QTest::addColumn<Exit>("exit");
        const auto row = [](const char *tag, const Exit &e) { QTest::newRow(tag) << e; };
        const QByteArray folder = "<a folder>";
        row("close box", {closeBox});
        row("Exit", {Do::click("cmdExit")});
        row("File, Exit", {Do::choose("mnuExit")});
        row("a kill", {killed});
        row("a logout", {logout});
        row("saved again as the window ends", {closedThenSpoiledThenEnds});
        row("Save on Exit unchecked", {closedThenSpoiledThenEnds, 1, "spoiled"});
        row("Save on Exit checked again", {closeBox, 2});
        row("the display gone", {displayGone, 0, changed, {}, Config::Bytes, TestKit::LostDisplay});
        row("the display gone, Save on Exit unchecked",
            {displayGone, 1, "0,1,0,0,3,0\r\n", {}, Config::Bytes, TestKit::LostDisplay});
        // What opens over the window before its end, in the window's font.
        row("Alt+F: the File menu", {Do::alt(Qt::Key_F), 0, changed, {"mnuFile"}});
        row("Enter on About: About, not Run Game", {Do::key(Qt::Key_Return, "cmdAbout"), 0, changed, {"frmAbout"}});
        // A save that fails (a folder has the file's name) leaves the folder; a lost change is told once.
        const QStringList lost{"The options could not be saved in quorix.cfg: a folder has that name."};
        row("a lost change is told, once", {closeBox, 0, folder, lost, Config::Folder});
        row("nothing lost, nothing told", {undoAndClose, 0, folder, {}, Config::Folder});
        row("a kill asks nothing", {killed, 0, folder, {}, Config::Folder});
    }
    void exitSaves()
    {
        QFETCH(Exit, exit);
        SKIP_WITHOUT(exit.need);
        Session s;
        QVERIFY(s.open(exit.config, "0,1,0,0,3,0\r\n"));
        // What opens over the window in its font (a message box's text, another window's or menu's name), closed.
        QStringList seen;
        QTimer over;
        connect(&over, &QTimer::timeout, [&] {
            QWidget *shown = qApp->activeModalWidget() ? qApp->activeModalWidget() : qApp->activePopupWidget();
            if (shown && shown->isVisible() && s.window && shown->font() == s.window->font()) {
                const auto *box = qobject_cast<QMessageBox *>(shown);
                seen << (box ? box->text() : shown->objectName()), shown->close();
            }
        });
        over.start(10);
        for (const char *name : {"chkDebug", "ChkNoVoice", "optS1(3)", "optS2(2)", "chkNoLimit"})
            s.click(name);
        for (int i = 0; i < exit.saveOnExitChosen; ++i)
            s.choose("mnuSave");
        exit.how(s);
        QTRY_COMPARE(seen.size(), exit.told.size()); // a menu opens a moment later
        s.end();                                     // saves again, and fails again where it failed
        QTest::qWait(50);
        QCOMPARE(std::pair(s.folder.read(), seen), std::pair(exit.after, exit.told));
    }

    void changeFolder_data()
    {
        QTest::addColumn<Change>("change");
        const auto row = [](const char *tag, const Change &c) { QTest::newRow(tag) << c; };
        const QByteArray all = "1,1,1,1,3,2\r\n", written = "0,0,0,0,1,0,\"#TRUE#\"\r\n";
        const QByteArray before = "0,1,0,0,3,0\r\n", ticked = "1,1,0,0,3,0\r\n"; // Debug mode ticked
        row("File, Open Game Folder: options saved in the old folder, read from the new",
            {choose("other"), true, all, {"b.bin", "roms/c.bin"}, {ticked, all, "1,1,1,1,3,2", "2", "other"}});
        row("a folder dropped, Save on Exit unchecked: the old file kept, the new one's default written",
            {drop("other"), false, {}, {"b.bin"}, {before, written, "0,0,0,0,1,0", "1", "other"}});
        row("a folder without games: opened, not remembered",
            {drop("other"), true, {}, {}, {ticked, written, "0,0,0,0,1,0", "0", "."}});
        row("the chooser cancelled: nothing changes",
            {choose("other", false), true, all, {"b.bin"}, {before, all, "1,1,0,0,3,0", "1", "."}});
    }
    void changeFolder()
    {
        QFETCH(Change, change);
        Session s;
        QVERIFY(s.folder.write("a.bin") && s.open(Config::Bytes, "0,1,0,0,3,0\r\n"));
        for (const QString &game : change.newGames)
            QVERIFY(s.folder.write("other/" + game));
        QVERIFY(QDir().mkpath("other")
                && (change.newConfig.isEmpty() || s.folder.write("other/quorix.cfg", change.newConfig)));
        s.click("chkDebug");
        if (!change.saveOnExit)
            s.choose("mnuSave");
        change.how(s);
        const QString remembered = QDir(s.folder.path()).relativeFilePath(LastFolder::recall());
        QCOMPARE((QByteArrayList{s.folder.read(), s.folder.read("other/quorix.cfg"), s.options(), s.count(),
                                 remembered.toUtf8()}),
                 change.after);
    }

    // The first start from the menu asks where the games are: in a usual place, when there is one.
    void firstStart()
    {
        const TestKit::WorkFolder home;
        QVERIFY(QDir().mkpath("Games") && QDir().mkpath("o2em2"));
        QString seen;
        QTimer::singleShot(0, [&] { seen = answer(home.file("Games")); });
        const QString chosen = FolderChoice::askFirst(home.path());
        const QString asked = u"o2em2|Where are your games? - Quorix|Choose the folder that holds your games: the "
                              "emulator's folder, with roms/ in it, or the folder of the games themselves."_s;
        QCOMPARE(std::pair(seen, chosen), std::pair(asked, home.file("Games")));
    }

    // What the list tells of an entry, read when first asked for and kept: in its tooltip, in What's
    // This (Shift+F1) and for screen readers, by its object name.
    void gameInfo()
    {
        Session s;
        QVERIFY(s.folder.write("roms/game.bin", "A") && s.folder.write("game.bin", "beside") && s.open());
        QVERIFY(s.folder.write("roms/game.bin", "BB")); // after the start, before the first look
        s.select("game.bin");
        const QModelIndex entry = s.entry("game.bin");
        const QString told = entry.data(Qt::ToolTipRole).toString();
        QVERIFY(s.folder.write("roms/game.bin", "CCC"));
        s.press(Qt::Key_F1, "filList", Qt::ShiftModifier);
        QCOMPARE(QStringList({told, entry.data(Qt::AccessibleDescriptionRole).toString(),
                              entry.data(Qt::WhatsThisRole).toString()}),
                 QStringList(3, "game.bin\n2 bytes, not in the cartridge list."));
        QVERIFY(QWhatsThis::inWhatsThisMode() || QApplication::activePopupWidget());
    }
};

QTEST_MAIN(TestMain)
#include "tst_main.moc"
