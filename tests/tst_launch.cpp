#include "common/module1.h"
#include "main/frmquorix.h"
#include "testkit.h"
#include "windows/formkit.h"
#include "windows/frmwarning.h"

#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

using TestKit::WorkFolder;

class TestLaunch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void startupSelection_data();
    void startupSelection();
    void runGameStartsEmulator_data();
    void runGameStartsEmulator();
    void enterRunsGame_data();
    void enterRunsGame();
    void doubleClickRunsGame();
    void typingFindsGame();
    void enterOnExitCloses();
    void refusals_data();
    void refusals();
    void missingEmulatorIsReported_data();
    void missingEmulatorIsReported();
    void warningWindowBehaviour();
    void programOutlivesMainWhileWarningOpen();
    void accessibleNames();
};

void TestLaunch::initTestCase()
{
    FormKit::applyClassicLook();
    qputenv("PATH", "/nonexistent"); // no emulator of this machine's may answer
}

void TestLaunch::cleanup()
{
    delete frmWarning::instance();
}

void TestLaunch::startupSelection_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("count");
    QTest::newRow("empty folder") << QStringList{} << "" << "-1";
    QTest::newRow("only the ROM") << QStringList{"O2ROM.BIN"} << "" << "0";
    QTest::newRow("one game is not selected") << QStringList{"solo.bin"} << "" << "0";
    QTest::newRow("several: the first, even the ROM")
        << QStringList{"pickaxe.bin", "O2ROM.BIN", "Cosmic.BIN"} << "Cosmic.BIN" << "2";
    QTest::newRow("ROM first in order") << QStringList{"zz.bin", "O2ROM.BIN"} << "O2ROM.BIN" << "1";
}

void TestLaunch::startupSelection()
{
    QFETCH(QStringList, files);
    QFETCH(QString, selected);
    QFETCH(QString, count);
    WorkFolder folder;
    for (const QString &f : files)
        QVERIFY(folder.write(f));
    frmQuorix w;
    QCOMPARE(w.fileName(), selected);
    QCOMPARE(w.txtCount->text(), count);
    QVERIFY(w.txtCount->isReadOnly());
    // Fixed, centred on the screen (the frame, unknown before showing, may shift it a little),
    // and the client area below the menu bar as designed.
    w.show();
    QCOMPARE(w.centralWidget()->size(), QSize(436, 239));
    QCOMPARE(w.minimumSize(), w.maximumSize());
    QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
    const QPoint off = w.frameGeometry().center() - w.screen()->availableGeometry().center();
    QVERIFY2(qAbs(off.x()) <= 4 && qAbs(off.y()) <= 4, qPrintable(QStringLiteral("%1,%2").arg(off.x()).arg(off.y())));
}

void TestLaunch::runGameStartsEmulator_data()
{
    QTest::addColumn<QString>("game");
    QTest::addColumn<QStringList>("boxes"); // object names of the boxes to click
    QTest::addColumn<QStringList>("arguments");

    // No quorix.cfg: the defaults put stick 1 on 1 and stick 2 on 0.
    QTest::newRow("plain") << "GAME.BIN" << QStringList{} << QStringList{"GAME.BIN", "-s1=1", "-s2=0"};
    QTest::newRow("all four boxes")
        << "GAME.BIN" << QStringList{"chkDebug", "chkNoLimit", "chkNoSound", "ChkNoVoice"}
        << QStringList{"GAME.BIN", "-debug", "-s1=1", "-s2=0", "-nolimit", "-nosound", "-novoice"};
    QTest::newRow("no voice only") << "x.bin" << QStringList{"ChkNoVoice"} << QStringList{"x.bin", "-s1=1", "-s2=0", "-novoice"};
    QTest::newRow("lower-case ROM name runs") << "o2rom.bin" << QStringList{} << QStringList{"o2rom.bin", "-s1=1", "-s2=0"};
}

void TestLaunch::runGameStartsEmulator()
{
    QFETCH(QString, game);
    QFETCH(QStringList, boxes);
    QFETCH(QStringList, arguments);
    WorkFolder folder;
    QVERIFY(folder.installEmulator());
    QVERIFY(folder.write(game));
    QVERIFY(folder.write(QStringLiteral("O2ROM.BIN")));
    frmQuorix w;
    w.show();
    QVERIFY(TestKit::selectGame(w, game));
    for (const QString &name : boxes)
        QTest::mouseClick(w.findChild<QAbstractButton *>(name), Qt::LeftButton);

    QTest::mouseClick(w.cmdRun, Qt::LeftButton);
    QTest::mouseClick(w.cmdRun, Qt::LeftButton); // each press starts one more emulator
    const auto starts = folder.recordedStarts(2);
    QCOMPARE(starts, (QList<QStringList>{arguments, arguments}));
    QVERIFY(!frmWarning::instance());
    QVERIFY(w.isVisible());
}

void TestLaunch::enterRunsGame_data()
{
    QTest::addColumn<QString>("focus");
    for (const char *name : {"filList", "chkDebug", "ChkNoVoice", "txtCount", "cmdRun"})
        QTest::newRow(name) << name;
    QTest::newRow("a radio button") << "radio";
}

void TestLaunch::enterRunsGame()
{
    QFETCH(QString, focus);
    WorkFolder folder;
    QVERIFY(folder.installEmulator());
    QVERIFY(folder.write(QStringLiteral("a.bin")));
    QVERIFY(folder.write(QStringLiteral("b.bin")));
    frmQuorix w;
    w.show();
    QWidget *target = focus == QLatin1String("radio") ? w.optS2[3] : w.findChild<QWidget *>(focus);
    QVERIFY(target);
    QTest::keyClick(target, Qt::Key_Return);
    const auto starts = folder.recordedStarts(1);
    QCOMPARE(starts.size(), 1);
    QCOMPARE(starts.first().first(), QStringLiteral("a.bin"));
}

void TestLaunch::doubleClickRunsGame()
{
    WorkFolder folder;
    QVERIFY(folder.installEmulator());
    for (const char *name : {"a.bin", "b.bin", "c.bin"})
        QVERIFY(folder.write(QLatin1String(name)));
    frmQuorix w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QRect item = w.filList->visualRect(w.filList->model()->index(2, 0));
    QTest::mouseClick(w.filList->viewport(), Qt::LeftButton, {}, item.center());
    QCOMPARE(w.fileName(), QStringLiteral("c.bin"));
    QTest::qWait(50);
    QVERIFY2(QDir(folder.path()).entryList({"o2em-*"}).isEmpty(), "a single click only selects");
    QTest::mouseDClick(w.filList->viewport(), Qt::LeftButton, {}, item.center());
    const auto starts = folder.recordedStarts(1);
    QCOMPARE(starts.size(), 1);
    QCOMPARE(starts.first().first(), QStringLiteral("c.bin"));
}

void TestLaunch::typingFindsGame()
{
    WorkFolder folder;
    for (const char *name : {"alpha.bin", "Bravo.bin", "beta.bin", "charlie.bin"})
        QVERIFY(folder.write(QLatin1String(name)));
    frmQuorix w;
    w.show();
    QTest::keyClick(w.filList, Qt::Key_B);
    QCOMPARE(w.fileName(), QStringLiteral("beta.bin"));
    QTest::qWait(QApplication::keyboardInputInterval() + 50);
    QTest::keyClick(w.filList, Qt::Key_B);
    QCOMPARE(w.fileName(), QStringLiteral("Bravo.bin"));
}

void TestLaunch::enterOnExitCloses()
{
    WorkFolder folder;
    frmQuorix w;
    w.show();
    QTest::keyClick(w.cmdExit, Qt::Key_Return);
    QVERIFY(!w.isVisible());
}

void TestLaunch::refusals_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("message");
    QTest::newRow("the ROM selected") << QStringList{"O2ROM.BIN", "pong.bin"} << "You can not play 02ROM.BIN!";
    QTest::newRow("one file, nothing selected") << QStringList{"pong.bin"} << "There are no available games!";
    QTest::newRow("empty folder") << QStringList{} << "There are no available games!";
}

void TestLaunch::refusals()
{
    QFETCH(QStringList, files);
    QFETCH(QString, message);
    WorkFolder folder;
    QVERIFY(folder.installEmulator());
    for (const QString &f : files)
        QVERIFY(folder.write(f));
    frmQuorix w;
    w.show();
    const LaunchOptions before = w.options();
    const QString selectedBefore = w.fileName();
    QTest::mouseClick(w.cmdRun, Qt::LeftButton);

    QVERIFY(frmWarning::instance());
    QCOMPARE(frmWarning::instance()->txtWarning->text(), message);
    QVERIFY(!frmWarning::instance()->isModal());
    QCOMPARE(w.options(), before);
    QCOMPARE(w.fileName(), selectedBefore);
    QTest::qWait(100);
    QVERIFY(QDir(folder.path()).entryList({"o2em-*"}).isEmpty());
}

void TestLaunch::missingEmulatorIsReported_data()
{
    QTest::addColumn<QString>("emulator"); // what stands where the emulator should be
    QTest::newRow("missing") << "";
    QTest::newRow("not executable") << "file";
    QTest::newRow("a folder") << "folder";
}

void TestLaunch::missingEmulatorIsReported()
{
    QFETCH(QString, emulator);
    WorkFolder folder;
    if (emulator == QLatin1String("file"))
        QVERIFY(folder.write(QStringLiteral("O2EM.EXE"), "not a program"));
    if (emulator == QLatin1String("folder"))
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("O2EM.EXE")));
    QVERIFY(folder.write(QStringLiteral("a.bin")));
    QVERIFY(folder.write(QStringLiteral("b.bin")));
    frmQuorix w;
    w.show();
    QTest::mouseClick(w.cmdRun, Qt::LeftButton);
    QVERIFY(frmWarning::instance());
    const QString text = frmWarning::instance()->txtWarning->text();
    QVERIFY2(text.startsWith(QStringLiteral("Could not start O2EM.EXE: ")) && text.size() > 26, qPrintable(text));
    // Still usable: once the emulator is there, the same window starts it.
    if (emulator.isEmpty()) {
        QVERIFY(folder.installEmulator());
        QTest::mouseClick(w.cmdRun, Qt::LeftButton);
        QCOMPARE(folder.recordedStarts(1).size(), 1);
    }
}

void TestLaunch::warningWindowBehaviour()
{
    WorkFolder folder;
    QVERIFY(folder.write(QStringLiteral("O2ROM.BIN")));
    QVERIFY(folder.write(QStringLiteral("game.bin")));
    frmQuorix w;
    w.show();
    w.cmdRun->click();
    QPointer<frmWarning> first = frmWarning::instance();
    QVERIFY(first);
    QCOMPARE(first->size(), QSize(313, 144));
    QCOMPARE(first->minimumSize(), first->maximumSize());
    QVERIFY(!(first->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(first->focusWidget(), first->cmdWarning);

    // A second refusal while it is open: the same window, with the new message.
    QVERIFY(TestKit::selectGame(w, QStringLiteral("game.bin")));
    w.filList->clearSelection();
    w.cmdRun->click();
    QCOMPARE(frmWarning::instance(), first.data());
    QCOMPARE(first->txtWarning->text(), QStringLiteral("There are no available games!"));

    // Enter closes and discards it; the next refusal loads a fresh one, even one that comes
    // before the closed window's deferred deletion. Esc closes too.
    QTest::keyClick(first->cmdWarning, Qt::Key_Return);
    w.cmdRun->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!first);
    QPointer<frmWarning> second = frmWarning::instance();
    QVERIFY(second && second->isVisible());
    QTest::keyClick(second, Qt::Key_Escape);
    QTRY_VERIFY(!second);
    QVERIFY(w.isVisible());
}

void TestLaunch::programOutlivesMainWhileWarningOpen()
{
    WorkFolder folder;
    auto *w = new frmQuorix;
    w->show();
    w->cmdRun->click(); // empty folder: a refusal
    QVERIFY(frmWarning::instance());
    QVERIFY(TestKit::lastWindowEndsProgram(w, [] { return frmWarning::instance(); }));
}

void TestLaunch::accessibleNames()
{
    WorkFolder folder;
    frmQuorix w;
    w.show();
    const std::pair<QWidget *, const char *> expected[]{
        {w.filList, "Game List"},     {w.txtCount, "Game count"},       {w.cmdRun, "Run Game"},
        {w.cmdAbout, "About"},        {w.cmdExit, "Exit"},              {w.chkDebug, "Debug mode"},
        {w.chkNoLimit, "No Speed Limit"}, {w.chkNoSound, "No Sound"},   {w.ChkNoVoice, "No Voice"},
        {w.optS1[1], "Right Keyboard"},   {w.optS2[2], "Left Keyboard"}, {w.fraStick2, "Stick 2 Mode"}};
    for (const auto &[widget, name] : expected) {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
        QVERIFY(iface);
        QCOMPARE(iface->text(QAccessible::Name), QString::fromUtf8(name));
    }
}

QTEST_MAIN(TestLaunch)
#include "tst_launch.moc"
