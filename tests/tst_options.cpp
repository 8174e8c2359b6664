#include "main/frmquorix.h"
#include "settings/settingscodec.h"
#include "testkit.h"
#include "windows/formkit.h"

#include <QAction>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>

#include <sys/stat.h>

using TestKit::WorkFolder;

// The main window's options: restored from quorix.cfg at start, saved at exit, and the rule
// that keeps the two sticks apart.
class TestOptions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { FormKit::applyClassicLook(); }
    void startWithFile_data();
    void startWithFile();
    void exitSaves_data();
    void exitSaves();
    void saveOnExitUnchecked();
    void unusableFolderStartsWithDefaults();
    void grayedBoxIsNeverAClick();
    void stickRuleByClicks_data();
    void stickRuleByClicks();
};

// "c c c c s1 s2" of the controls: check values, then stick modes ("-" for none).
static QString state(const frmQuorix &w)
{
    const LaunchOptions o = w.options();
    const auto s = [](const std::optional<StickMode> &m) { return m ? QString::number(*m) : QStringLiteral("-"); };
    return QStringLiteral("%1 %2 %3 %4 %5 %6").arg(o.debug).arg(o.noLimit).arg(o.noSound).arg(o.noVoice)
        .arg(s(o.stick1), s(o.stick2));
}

void TestOptions::startWithFile_data()
{
    QTest::addColumn<QByteArray>("file"); // "<none>": no file
    QTest::addColumn<QString>("controls");
    QTest::addColumn<bool>("replaced");

    QTest::newRow("no file") << QByteArray("<none>") << "0 0 0 0 1 0" << true;
    QTest::newRow("all set") << QByteArray("1,1,1,1,3,2\r\n") << "1 1 1 1 3 2" << false;
    QTest::newRow("sticks 2 and 2") << QByteArray("0,0,0,0,2,2\r\n") << "0 0 0 0 3 2" << false;
    QTest::newRow("sticks 3 and 3") << QByteArray("0,0,0,0,3,3\r\n") << "0 0 0 0 0 3" << false;
    QTest::newRow("sticks 0 and 0") << QByteArray("0,0,0,0,0,0\r\n") << "0 0 0 0 1 0" << false;
    QTest::newRow("layout's own pair, 2 and 0") << QByteArray("0,0,0,0,2,0\r\n") << "0 0 0 0 2 0" << false;
    QTest::newRow("stick 1 on the layout's stick 2") << QByteArray("0,0,0,0,0,3\r\n") << "0 0 0 0 0 3" << false;
    QTest::newRow("empty fifth, sixth 2") << QByteArray("0,0,0,0,,2\r\n") << "0 0 0 0 0 2" << false;
    QTest::newRow("empty fifth, sixth 0") << QByteArray("0,0,0,0,,0\r\n") << "0 0 0 0 1 0" << false;
    QTest::newRow("grayed box") << QByteArray("0,2,0,1,1,0\r\n") << "0 2 0 1 1 0" << false;
    QTest::newRow("stick 4 after set boxes") << QByteArray("1,1,1,1,4,0\r\n") << "0 0 0 0 1 0" << true;
    QTest::newRow("stick -1") << QByteArray("1,0,1,0,-1,2\r\n") << "0 0 0 0 1 0" << true;
    QTest::newRow("short file") << QByteArray("1,1,1") << "0 0 0 0 1 0" << true;
    QTest::newRow("default line") << SettingsCodec::defaultRecord() << "0 0 0 0 1 0" << false;
}

void TestOptions::startWithFile()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, controls);
    QFETCH(bool, replaced);
    WorkFolder folder;
    if (file != "<none>")
        QVERIFY(folder.write(QStringLiteral("quorix.cfg"), file));
    frmQuorix w;
    QCOMPARE(state(w), controls);
    QVERIFY(w.mnuSave->isChecked());
    QCOMPARE(folder.read(QStringLiteral("quorix.cfg")), replaced ? SettingsCodec::defaultRecord() : file);
    if (controls.startsWith(QLatin1String("0 2")))
        QCOMPARE(w.chkNoLimit->checkState(), Qt::PartiallyChecked);
}

void TestOptions::exitSaves_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("close box") << "close";
    QTest::newRow("Exit button") << "button";
    QTest::newRow("File, Exit") << "menu";
    QTest::newRow("window object ends without closing") << "end";
}

void TestOptions::exitSaves()
{
    QFETCH(QString, how);
    WorkFolder folder;
    QVERIFY(folder.write(QStringLiteral("quorix.cfg"), "0,0,0,0,1,0\r\n"));
    auto *w = new frmQuorix;
    w->show();
    QTest::mouseClick(w->chkDebug, Qt::LeftButton);
    QTest::mouseClick(w->ChkNoVoice, Qt::LeftButton);
    QTest::mouseClick(w->optS1[Stick::Joystick], Qt::LeftButton);
    QTest::mouseClick(w->optS2[Stick::LeftKeyboard], Qt::LeftButton);
    if (how == QLatin1String("close"))
        w->close();
    else if (how == QLatin1String("button"))
        QTest::mouseClick(w->cmdExit, Qt::LeftButton);
    else if (how == QLatin1String("menu"))
        w->mnuExit->trigger();
    if (how != QLatin1String("end")) {
        QVERIFY(!w->isVisible());
        QCOMPARE(folder.read(QStringLiteral("quorix.cfg")), QByteArray("1,0,0,1,3,2\r\n"));
        QVERIFY(folder.write(QStringLiteral("quorix.cfg"), "stale"));
    }
    delete w; // the end of the window object saves once more
    QCOMPARE(folder.read(QStringLiteral("quorix.cfg")), QByteArray("1,0,0,1,3,2\r\n"));
}

void TestOptions::saveOnExitUnchecked()
{
    WorkFolder folder;
    const QByteArray original("0,1,0,0,3,0\r\n");
    QVERIFY(folder.write(QStringLiteral("quorix.cfg"), original));
    const QString path = folder.file(QStringLiteral("quorix.cfg"));
    const QDateTime stamp = QDateTime::fromSecsSinceEpoch(1000000000);
    {
        frmQuorix w;
        w.show();
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(stamp, QFileDevice::FileModificationTime));
        f.close();
        QTest::mouseClick(w.chkDebug, Qt::LeftButton);
        w.mnuSave->trigger();
        QVERIFY(!w.mnuSave->isChecked());
        w.mnuSave->trigger();
        QVERIFY(w.mnuSave->isChecked());
        w.mnuSave->trigger();
        w.close();
    }
    QCOMPARE(folder.read(QStringLiteral("quorix.cfg")), original);
    QCOMPARE(QFileInfo(path).lastModified(), stamp);
    frmQuorix next; // the item is checked again at the next start
    QVERIFY(next.mnuSave->isChecked());
}

void TestOptions::unusableFolderStartsWithDefaults()
{
    // A folder named quorix.cfg can be neither read nor replaced, even by root.
    WorkFolder folder;
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("quorix.cfg")));
    auto *w = new frmQuorix;
    QCOMPARE(state(*w), QStringLiteral("0 0 0 0 1 0"));
    QTest::mouseClick(w->chkNoSound, Qt::LeftButton);
    w->close();
    delete w;
    QVERIFY(QFileInfo(folder.file(QStringLiteral("quorix.cfg"))).isDir());
}

void TestOptions::grayedBoxIsNeverAClick()
{
    WorkFolder folder;
    QVERIFY(folder.write(QStringLiteral("quorix.cfg"), "2,0,0,0,1,0\r\n"));
    frmQuorix w;
    w.show();
    QCOMPARE(w.chkDebug->checkState(), Qt::PartiallyChecked);
    QList<Qt::CheckState> seen;
    for (int i = 0; i < 4; ++i) {
        QTest::mouseClick(w.chkDebug, Qt::LeftButton);
        seen << w.chkDebug->checkState();
    }
    QCOMPARE(seen, (QList<Qt::CheckState>{Qt::Checked, Qt::Unchecked, Qt::Checked, Qt::Unchecked}));
    QTest::keyClick(w.chkDebug, Qt::Key_Space);
    QCOMPARE(w.chkDebug->checkState(), Qt::Checked);
}

void TestOptions::stickRuleByClicks_data()
{
    QTest::addColumn<QByteArray>("start"); // the two stick values of quorix.cfg
    QTest::addColumn<int>("stick");        // which group the user clicks in
    QTest::addColumn<int>("mode");         // the index of the button clicked
    QTest::addColumn<QString>("after");    // "s1 s2"

    QTest::newRow("s1 Disable onto s2 Disable: s2 jumps to Right Keyboard") << QByteArray("2,0") << 1 << 0 << "0 1";
    QTest::newRow("s1 Right onto s2 Right") << QByteArray("0,1") << 1 << 1 << "1 2";
    QTest::newRow("s1 Left onto s2 Left") << QByteArray("3,2") << 1 << 2 << "2 3";
    QTest::newRow("s1 Joystick onto s2 Joystick wraps") << QByteArray("1,3") << 1 << 3 << "3 0";
    QTest::newRow("s2 Joystick onto s1 Joystick wraps") << QByteArray("3,1") << 2 << 3 << "0 3";
    QTest::newRow("s2 Left onto s1 Left: s1 to Joystick") << QByteArray("2,3") << 2 << 2 << "3 2";
    QTest::newRow("s2 Disable onto s1 Disable") << QByteArray("0,2") << 2 << 0 << "1 0";
    QTest::newRow("a free mode moves nothing") << QByteArray("2,0") << 1 << 3 << "3 0";
    QTest::newRow("a free mode for s2") << QByteArray("2,0") << 2 << 1 << "2 1";
    QTest::newRow("the selected button again") << QByteArray("2,0") << 1 << 2 << "2 0";
}

void TestOptions::stickRuleByClicks()
{
    QFETCH(QByteArray, start);
    QFETCH(int, stick);
    QFETCH(int, mode);
    QFETCH(QString, after);
    WorkFolder folder;
    QVERIFY(folder.write(QStringLiteral("quorix.cfg"), "0,0,0,0," + start + "\r\n"));
    frmQuorix w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const auto &group = stick == 1 ? w.optS1 : w.optS2;
    QTest::mouseClick(group[static_cast<size_t>(mode)], Qt::LeftButton);
    QCOMPARE(state(w).mid(8), after);
    // Exactly one button per group.
    for (const auto *g : {&w.optS1, &w.optS2})
        QCOMPARE(std::count_if(g->begin(), g->end(), [](auto *b) { return b->isChecked(); }), 1);
}

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
