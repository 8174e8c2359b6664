// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as a user meets it: start-up from quorix.cfg, the stick rule, the keyboard,
// and the ways out, each saving the options.
#include "forms/fonts.h"
#include "forms/frmwarning.h"
#include "session.h"
#include "settings/lastfolder.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QTimer>

using namespace Qt::StringLiterals;

// How the user (or the system) ends the program.
enum class Ending {
    CloseBox,
    ExitButton,
    FileExit,
    EnterOnExit,
    AltX,
    Kill,
    Logout,
    WindowEnds,
    ClosedThenSpoiledThenEnds
};
Q_DECLARE_METATYPE(Ending)

// How the user opens another game folder.
enum class Change { Menu, Drop, MenuCancelled };
Q_DECLARE_METATYPE(Change)

static void openFolder(Session &s, Change how, const QString &folder)
{
    if (how == Change::Drop) { // from a file manager
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(folder)});
        QDragEnterEvent enter(QPoint(9, 9), Qt::CopyAction, &data, Qt::LeftButton, {});
        QDropEvent drop(QPointF(9, 9), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(s.window.get(), &enter);
        QVERIFY(enter.isAccepted());
        QApplication::sendEvent(s.window.get(), &drop);
        return;
    }
    QTimer::singleShot(0, [how, folder] { // in the chooser
        auto *chooser = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        QVERIFY(chooser);
        chooser->setDirectory(folder);
        how == Change::Menu ? static_cast<QDialog *>(chooser)->accept() : chooser->reject();
    });
    s.choose(u"mnuOpen"_s);
}

static const QByteArray defaultRecord
    = "0,0,0,0,1,0,\"#TRUE#\"\r\n"; // the 22 bytes written when there is no usable file

static void endBy(Session &s, Ending how)
{
    switch (how) {
    case Ending::CloseBox:
        s.window->close();
        break;
    case Ending::ExitButton:
        s.click(u"cmdExit"_s);
        break;
    case Ending::FileExit:
        s.choose(u"mnuExit"_s);
        break;
    case Ending::EnterOnExit:
        s.press(Qt::Key_Return, u"cmdExit"_s);
        break;
    case Ending::AltX:
        s.alt(Qt::Key_X);
        break;
    case Ending::Kill:
        s.window->endProgram();
        break;
    case Ending::Logout:
        s.window->saveForSession();
        break;
    case Ending::WindowEnds:
        s.end();
        break;
    case Ending::ClosedThenSpoiledThenEnds:
        s.window->close();
        TestKit::WorkFolder::put(s.folder.file(u"quorix.cfg"_s), "spoiled");
        s.end();
        break;
    }
}

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

class TestMain : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        FormKit::applyClassicLook();
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); // the chooser, driven as a widget on every system
    }
    void cleanup() { delete FixedWindow::instance<frmWarning>(); }

    void startUp_data()
    {
        QTest::addColumn<Config>("config");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("shown");    // the controls, as quorix.cfg would hold them
        QTest::addColumn<bool>("defaultWritten"); // else the file is left as it was
        QTest::newRow("no file: defaults written") << Config::Missing << QByteArray() << "0,0,0,0,1,0"_ba << true;
        QTest::newRow("all set") << Config::Bytes << "1,1,1,1,3,2\r\n"_ba
                                 << "1,1,1,1,3,2"_ba << false;
        QTest::newRow("sticks 2 and 2 pulled apart") << Config::Bytes << "0,0,0,0,2,2\r\n"_ba
                                                     << "0,0,0,0,3,2"_ba << false;
        QTest::newRow("sticks 3 and 3 wrap") << Config::Bytes << "0,0,0,0,3,3\r\n"_ba
                                             << "0,0,0,0,0,3"_ba << false;
        QTest::newRow("sticks 0 and 0") << Config::Bytes << "0,0,0,0,0,0\r\n"_ba
                                        << "0,0,0,0,1,0"_ba << false;
        QTest::newRow("the layout's own pair") << Config::Bytes << "0,0,0,0,2,0\r\n"_ba
                                               << "0,0,0,0,2,0"_ba << false;
        QTest::newRow("stick 1 on the layout's stick 2") << Config::Bytes << "0,0,0,0,0,3\r\n"_ba
                                                         << "0,0,0,0,0,3"_ba << false;
        QTest::newRow("grayed box") << Config::Bytes << "0,2,0,1,1,0\r\n"_ba
                                    << "0,2,0,1,1,0"_ba << false;
        QTest::newRow("bad stick after set boxes") << Config::Bytes << "1,1,1,1,4,0\r\n"_ba
                                                   << "0,0,0,0,1,0"_ba << true;
        QTest::newRow("short file") << Config::Bytes << "1,1,1"_ba
                                    << "0,0,0,0,1,0"_ba << true;
        QTest::newRow("a record of exactly the 4096 bytes read")
            << Config::Bytes << "1,0,0,0,1," + QByteArray(4085, ' ') + "0"
            << "1,0,0,0,1,0"_ba << false;
        QTest::newRow("a value running over the read limit")
            << Config::Bytes << "0,0,0,0,1," + QByteArray(4090, '0') + "1\r\n"
            << "0,0,0,0,1,0"_ba << true;
        QTest::newRow("a record behind 5000 blanks") << Config::Bytes << QByteArray(5000, ' ') + "1,1,1,1,3,2\r\n"
                                                     << "0,0,0,0,1,0"_ba << true;
        QTest::newRow("a FIFO, never opened") << Config::Fifo << QByteArray() << "0,0,0,0,1,0"_ba << true;
        QTest::newRow("a dangling link") << Config::DanglingLink << QByteArray() << "0,0,0,0,1,0"_ba << true;
        QTest::newRow("100 MB of zeros") << Config::HugeZeros << QByteArray() << "0,0,0,0,1,0"_ba << true;
    }
    void startUp()
    {
        QFETCH(Config, config);
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, shown);
        QFETCH(bool, defaultWritten);
        if (config == Config::Fifo)
            SKIP_WITHOUT(Fifos);
        if (config == Config::DanglingLink)
            SKIP_WITHOUT(Links);
        Session s;
        QVERIFY(s.open(config, bytes));
        QCOMPARE(s.options(), shown);
        QCOMPARE(s.folder.read(), defaultWritten ? defaultRecord : bytes);
        QVERIFY(s.find<QAction>(u"mnuSave"_s)->isChecked());    // at every start
        QVERIFY(s.find<QPushButton>(u"cmdRun"_s)->isDefault()); // framed as the button Enter presses
    }

    void stickRule_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("clicked");
        QTest::addColumn<QByteArray>("shown");
        QTest::newRow("s1 Disable onto s2 Disable: s2 to Right Keyboard")
            << "0,0,0,0,2,0\r\n"_ba << QStringList{u"optS1(0)"_s} << "0,0,0,0,0,1"_ba;
        QTest::newRow("s1 Left onto s2 Left") << "0,0,0,0,3,2\r\n"_ba << QStringList{u"optS1(2)"_s} << "0,0,0,0,2,3"_ba;
        QTest::newRow("s1 Joystick onto s2 Joystick wraps")
            << "0,0,0,0,1,3\r\n"_ba << QStringList{u"optS1(3)"_s} << "0,0,0,0,3,0"_ba;
        QTest::newRow("s2 Joystick onto s1 Joystick wraps")
            << "0,0,0,0,3,1\r\n"_ba << QStringList{u"optS2(3)"_s} << "0,0,0,0,0,3"_ba;
        QTest::newRow("s2 Left onto s1 Left") << "0,0,0,0,2,3\r\n"_ba << QStringList{u"optS2(2)"_s} << "0,0,0,0,3,2"_ba;
        QTest::newRow("a free mode moves nothing")
            << "0,0,0,0,2,0\r\n"_ba << QStringList{u"optS1(3)"_s, u"optS2(1)"_s} << "0,0,0,0,3,1"_ba;
        QTest::newRow("the selected button again")
            << "0,0,0,0,2,0\r\n"_ba << QStringList{u"optS1(2)"_s} << "0,0,0,0,2,0"_ba;
        QTest::newRow("neither a click nor Space grays a box")
            << "2,0,0,0,1,0\r\n"_ba << QStringList{u"chkDebug"_s, u"chkDebug"_s} << "0,0,0,0,1,0"_ba;
    }
    void stickRule()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, clicked);
        QFETCH(QByteArray, shown);
        Session s;
        QVERIFY(s.open(Config::Bytes, file));
        for (const QString &name : clicked)
            s.click(name);
        QCOMPARE(s.options(), shown);
    }

    void keyboard_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QList<Qt::Key>>("keys");    // each to the control with the focus
        QTest::addColumn<QStringList>("focusAfter"); // after each key
        QTest::addColumn<QByteArray>("shown");
        using K = QList<Qt::Key>;
        const Qt::Key tab = Qt::Key_Tab, back = Qt::Key_Backtab;
        QTest::newRow("one tab stop a group: its checked button")
            << "0,0,0,0,1,0\r\n"_ba << K{tab, tab, tab, tab, tab, tab, tab, tab, tab, tab, tab, back, back, back}
            << QStringList{u"optS1(1)"_s, u"optS2(0)"_s,   u"chkDebug"_s, u"chkNoLimit"_s, u"chkNoSound"_s,
                           u"cmdRun"_s,   u"cmdAbout"_s,   u"cmdExit"_s,  u"txtCount"_s,   u"ChkNoVoice"_s,
                           u"filList"_s,  u"ChkNoVoice"_s, u"txtCount"_s, u"cmdExit"_s}
            << "0,0,0,0,1,0"_ba;
        QTest::newRow("the layout's own modes are stops too")
            << "0,0,0,0,2,0\r\n"_ba << K{tab} << QStringList{u"optS1(2)"_s} << "0,0,0,0,2,0"_ba;
        QTest::newRow("the stops of the file's modes")
            << "0,0,0,0,3,2\r\n"_ba << K{tab, tab, back} << QStringList{u"optS1(3)"_s, u"optS2(2)"_s, u"optS1(3)"_s}
            << "0,0,0,0,3,2"_ba;
        QTest::newRow("arrows move the stop and select")
            << "0,0,0,0,1,0\r\n"_ba << K{tab, Qt::Key_Up, Qt::Key_Up, back, tab, tab}
            << QStringList{u"optS1(1)"_s, u"optS1(2)"_s, u"optS1(0)"_s, u"filList"_s, u"optS1(0)"_s, u"optS2(1)"_s}
            << "0,0,0,0,0,1"_ba;
        QTest::newRow("arrow down: the next on screen")
            << "0,0,0,0,1,0\r\n"_ba << K{tab, Qt::Key_Down} << QStringList{u"optS1(1)"_s, u"optS1(3)"_s}
            << "0,0,0,0,3,0"_ba;
        QTest::newRow("Space on a grayed box sets it")
            << "2,0,0,0,1,0\r\n"_ba << K{tab, tab, tab, Qt::Key_Space}
            << QStringList{u"optS1(1)"_s, u"optS2(0)"_s, u"chkDebug"_s, u"chkDebug"_s} << "1,0,0,0,1,0"_ba;
    }
    void keyboard()
    {
        QFETCH(QByteArray, file);
        QFETCH(QList<Qt::Key>, keys);
        QFETCH(QStringList, focusAfter);
        QFETCH(QByteArray, shown);
        Session s;
        QVERIFY(s.open(Config::Bytes, file));
        QCOMPARE(s.focus(), u"filList"_s);
        QStringList focus;
        for (Qt::Key key : keys) {
            s.press(key);
            focus << s.focus();
        }
        QCOMPARE(focus, focusAfter);
        QCOMPARE(s.options(), shown);
    }

    void exitSaves_data()
    {
        QTest::addColumn<Ending>("how");
        QTest::addColumn<int>("saveOnExitChosen"); // times the menu item is chosen first
        QTest::addColumn<QByteArray>("after");     // quorix.cfg afterwards
        const QByteArray changed = "1,0,0,1,3,2\r\n", before = "0,1,0,0,3,0\r\n";
        QTest::newRow("close box") << Ending::CloseBox << 0 << changed;
        QTest::newRow("Exit") << Ending::ExitButton << 0 << changed;
        QTest::newRow("File, Exit") << Ending::FileExit << 0 << changed;
        QTest::newRow("Enter on Exit") << Ending::EnterOnExit << 0 << changed;
        QTest::newRow("Alt+X") << Ending::AltX << 0 << changed;
        QTest::newRow("a kill") << Ending::Kill << 0 << changed;
        QTest::newRow("a logout") << Ending::Logout << 0 << changed;
        QTest::newRow("the end of the window") << Ending::WindowEnds << 0 << changed;
        QTest::newRow("saved again as the window ends") << Ending::ClosedThenSpoiledThenEnds << 0 << changed;
        QTest::newRow("Save on Exit unchecked") << Ending::ClosedThenSpoiledThenEnds << 1 << "spoiled"_ba;
        QTest::newRow("Save on Exit unchecked, close box") << Ending::CloseBox << 1 << before;
        QTest::newRow("Save on Exit unchecked, window ends") << Ending::WindowEnds << 1 << before;
        QTest::newRow("Save on Exit checked again") << Ending::CloseBox << 2 << changed;
    }
    void exitSaves()
    {
        QFETCH(Ending, how);
        QFETCH(int, saveOnExitChosen);
        QFETCH(QByteArray, after);
        Session s;
        QVERIFY(s.open(Config::Bytes, "0,1,0,0,3,0\r\n"));
        for (const QString &name : {u"chkDebug"_s, u"ChkNoVoice"_s, u"optS1(3)"_s, u"optS2(2)"_s, u"chkNoLimit"_s})
            s.click(name);
        for (int i = 0; i < saveOnExitChosen; ++i)
            s.choose(u"mnuSave"_s);
        endBy(s, how);
        QCOMPARE(s.folder.read(), after);
    }

    void changeFolder_data()
    {
        QTest::addColumn<Change>("how");
        QTest::addColumn<bool>("saveOnExit");
        QTest::addColumn<QByteArray>("newConfig"); // the new folder's quorix.cfg; empty: none
        QTest::addColumn<QStringList>("newGames");
        // The old folder's quorix.cfg and the new one's, the options and the count shown, the folder remembered.
        QTest::addColumn<QByteArrayList>("after");
        const QByteArray all = "1,1,1,1,3,2\r\n";
        QTest::newRow("File, Open Game Folder: options saved in the old folder, read from the new")
            << Change::Menu << true << all << QStringList{u"b.bin"_s, u"roms/c.bin"_s}
            << QByteArrayList{"1,1,0,0,3,0\r\n", all, "1,1,1,1,3,2", "2", "other"};
        QTest::newRow("a folder dropped, Save on Exit unchecked: the old file kept, the new one's default written")
            << Change::Drop << false << QByteArray() << QStringList{u"b.bin"_s}
            << QByteArrayList{"0,1,0,0,3,0\r\n", defaultRecord, "0,0,0,0,1,0", "1", "other"};
        QTest::newRow("a folder without games: opened, not remembered")
            << Change::Drop << true << QByteArray() << QStringList()
            << QByteArrayList{"1,1,0,0,3,0\r\n", defaultRecord, "0,0,0,0,1,0", "0", "."};
        QTest::newRow("the chooser cancelled: nothing changes")
            << Change::MenuCancelled << true << all << QStringList{u"b.bin"_s}
            << QByteArrayList{"0,1,0,0,3,0\r\n", all, "1,1,0,0,3,0", "1", "."};
    }
    void changeFolder()
    {
        QFETCH(Change, how);
        QFETCH(bool, saveOnExit);
        QFETCH(QByteArray, newConfig);
        QFETCH(QStringList, newGames);
        QFETCH(QByteArrayList, after);
        Session s;
        QVERIFY(s.folder.write(u"a.bin"_s) && s.open(Config::Bytes, "0,1,0,0,3,0\r\n"));
        for (const QString &game : newGames)
            QVERIFY(QDir().mkpath(s.folder.file(u"other/roms"_s)) && s.folder.write(u"other/"_s + game));
        QVERIFY(QDir().mkpath(u"other"_s) && (newConfig.isEmpty() || s.folder.write(u"other/quorix.cfg"_s, newConfig)));
        s.click(u"chkDebug"_s);
        if (!saveOnExit)
            s.choose(u"mnuSave"_s);
        openFolder(s, how, s.folder.file(u"other"_s));
        const QString remembered = QDir(s.folder.path()).relativeFilePath(LastFolder::recall());
        QCOMPARE((QByteArrayList{s.folder.read(), s.folder.read(u"other/quorix.cfg"_s), s.options(), s.count().toUtf8(),
                                 remembered.toUtf8()}),
                 after);
    }

    void failedSave_data()
    {
        QTest::addColumn<QStringList>("clicked");
        QTest::addColumn<Ending>("how");
        QTest::addColumn<QStringList>("told"); // the boxes shown
        QTest::newRow("a lost change is told, once")
            << QStringList{u"chkDebug"_s} << Ending::CloseBox
            << QStringList{u"The options could not be saved in quorix.cfg: a folder has that name."_s};
        QTest::newRow("nothing lost, nothing told")
            << QStringList{u"chkDebug"_s, u"chkDebug"_s} << Ending::CloseBox << QStringList();
        QTest::newRow("a kill asks nothing") << QStringList{u"chkDebug"_s} << Ending::Kill << QStringList();
        QTest::newRow("a logout asks nothing") << QStringList{u"chkDebug"_s} << Ending::Logout << QStringList();
    }
    void failedSave()
    {
        QFETCH(QStringList, clicked);
        QFETCH(Ending, how);
        QFETCH(QStringList, told);
        Session s;
        QVERIFY(s.open(Config::Folder));
        OverWindow over(s);
        for (const QString &name : clicked)
            s.click(name);
        endBy(s, how);
        s.end(); // saves again, and fails again
        QTest::qWait(50);
        QCOMPARE(over.seen, told);
        QVERIFY(QFileInfo(s.folder.file(u"quorix.cfg"_s)).isDir());
    }

    void accessKeys_data()
    {
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<QString>("control"); // the key goes there; none: Alt and the key to the window
        QTest::addColumn<QString>("opened");
        QTest::newRow("Alt+A: About") << Qt::Key_A << QString() << u"frmAbout"_s;
        QTest::newRow("Alt+F: the File menu") << Qt::Key_F << QString() << u"mnuFile"_s;
        QTest::newRow("Enter on About: About, not Run Game") << Qt::Key_Return << u"cmdAbout"_s << u"frmAbout"_s;
    }
    void accessKeys()
    {
        QFETCH(Qt::Key, key);
        QFETCH(QString, control);
        QFETCH(QString, opened);
        Session s;
        QVERIFY(s.open());
        OverWindow over(s);
        control.isEmpty() ? s.alt(key) : s.press(key, control);
        QTRY_COMPARE(over.seen, QStringList{opened});
        QVERIFY(!FixedWindow::instance<frmWarning>());
    }
};

QTEST_MAIN(TestMain)
#include "tst_main.moc"
