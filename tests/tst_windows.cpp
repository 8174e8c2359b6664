#include "main/frmquorix.h"
#include "testkit.h"
#include "windows/formkit.h"
#include "windows/frmabout.h"
#include "windows/frmkeys.h"
#include "windows/frmwarning.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

using TestKit::WorkFolder;

class TestWindows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void captionsFit_data();
    void captionsFit();
    void keysWindowLayout();
    void keysSingleInstance();
    void keysCloseWays_data();
    void keysCloseWays();
    void gameRunsBesideKeysWindow();
    void keysOutliveMain();
    void aboutClosesOnAnyClick_data();
    void aboutClosesOnAnyClick();
    void aboutBlocksMainWindow();
    void enterOnFocusedAboutOpensIt();
    void accessKeys();
    void programIcon();
};

using Factory = std::function<QWidget *()>;
Q_DECLARE_METATYPE(Factory)

void TestWindows::initTestCase()
{
    FormKit::applyClassicLook();
    qputenv("PATH", "/nonexistent");
}

void TestWindows::cleanup()
{
    delete frmKeys::instance();
    delete frmWarning::instance();
    delete frmAbout::instance();
}

// Opens the About box from the main window and, inside its modal loop, runs `inside`;
// true when the box then closed by itself.
static bool aboutClosedAfter(frmQuorix &w, const std::function<void(frmAbout *)> &inside)
{
    bool stillOpen = true;
    QTimer::singleShot(0, &w, [&] {
        frmAbout *about = frmAbout::instance();
        if (!about)
            return;
        inside(about);
        QTimer::singleShot(100, about, [&stillOpen, about] {
            stillOpen = about->isVisible();
            about->close(); // never leave the test stuck in the modal loop
        });
    });
    w.cmdAbout->click(); // returns when the box has closed
    QApplication::processEvents();
    return !stillOpen || !frmAbout::instance();
}

void TestWindows::captionsFit_data()
{
    QTest::addColumn<Factory>("make");
    QTest::newRow("main") << Factory([] { return new frmQuorix; });
    QTest::newRow("warning") << Factory([] { return new frmWarning; });
    QTest::newRow("keys") << Factory([] { return new frmKeys; });
    QTest::newRow("about") << Factory([] { return new frmAbout; });
}

void TestWindows::captionsFit()
{
    QFETCH(Factory, make);
    WorkFolder folder;
    std::unique_ptr<QWidget> window(make());
    window->show();
    const auto fits = [](const QWidget *w, QRect area, const QString &text, int flags) {
        const QString shown = QString(text).remove('&');
        const QRect need = w->fontMetrics().boundingRect(area, flags, shown);
        return need.width() <= area.width() && need.height() <= area.height();
    };
    for (QWidget *child : window->findChildren<QWidget *>()) {
        if (!child->isVisibleTo(window.get()))
            continue;
        const QString name = child->objectName().isEmpty() ? child->metaObject()->className() : child->objectName();
        QVERIFY2(child->parentWidget()->rect().contains(child->geometry()), qPrintable(name + " sticks out"));
        if (auto *label = qobject_cast<QLabel *>(child); label && !label->text().isEmpty()) {
            const int flags = label->wordWrap() ? Qt::TextWordWrap : 0;
            QVERIFY2(fits(label, label->contentsRect(), label->text(), flags), qPrintable(name + ": " + label->text()));
        } else if (auto *button = qobject_cast<QAbstractButton *>(child)) {
            QRect area = button->rect().adjusted(4, 2, -4, -2);
            if (auto *check = dynamic_cast<FormKit::Wrapping<QCheckBox> *>(button))
                area = check->captionRect();
            else if (auto *radio = dynamic_cast<FormKit::Wrapping<QRadioButton> *>(button))
                area = radio->captionRect();
            QVERIFY2(fits(button, area, button->text(), Qt::TextWordWrap), qPrintable(name + ": " + button->text()));
        }
    }
}

void TestWindows::keysWindowLayout()
{
    frmKeys keys;
    QCOMPARE(keys.size(), QSize(425, 251));
    QCOMPARE(keys.minimumSize(), keys.maximumSize());
    QVERIFY(!(keys.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    // The arrows must really be drawn, in a face that has them, not as boxes.
    for (const char *name : {"lblRightLeft", "lblRightUP", "lblRightRight", "lblRightDown"}) {
        const QLabel *arrow = keys.findChild<QLabel *>(QLatin1String(name));
        QVERIFY(QFontMetrics(arrow->font()).inFontUcs4(arrow->text().at(0).unicode()));
    }
    // "Left" stands above "Shift": the caption does not fit on one line of its box.
    auto *fire = keys.findChild<QLabel *>(QStringLiteral("lblLeftFire"));
    QVERIFY(fire->wordWrap());
    QVERIFY(fire->fontMetrics().horizontalAdvance(fire->text()) > fire->width());
    // Cross layout: W and the fire label share a centre line, as do the up and down arrows.
    const auto centreX = [&](const char *name) { return keys.findChild<QLabel *>(QLatin1String(name))->geometry().center().x(); };
    QVERIFY(qAbs(centreX("lblLeftUp") - centreX("lblLeftFire")) <= 1);
    QVERIFY(qAbs(centreX("lblRightUP") - centreX("lblRightDown")) <= 1);
    QVERIFY(qAbs(centreX("lblRightUP") - centreX("lblRightFire")) <= 2);
    QVERIFY(keys.findChild<QLabel *>(QStringLiteral("lblLeftUp"))->font().bold());
}

void TestWindows::keysSingleInstance()
{
    WorkFolder folder;
    frmQuorix w;
    w.show();
    w.mnuKeys->trigger();
    QPointer<frmKeys> first = frmKeys::instance();
    QVERIFY(first && first->isVisible());
    QCOMPARE(first->focusWidget(), first->cmdOK);
    w.mnuKeys->trigger();
    QCOMPARE(frmKeys::instance(), first.data());
    const QWidgetList tops = QApplication::topLevelWidgets();
    QCOMPARE(std::count_if(tops.begin(), tops.end(), [](QWidget *t) { return qobject_cast<frmKeys *>(t); }), 1);
    first->cmdOK->click();
    QTRY_VERIFY(!first);
    w.mnuKeys->trigger();
    QVERIFY(frmKeys::instance());
}

void TestWindows::keysCloseWays_data()
{
    QTest::addColumn<int>("key"); // 0: the close box
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Space on OK") << int(Qt::Key_Space);
    QTest::newRow("close box") << 0;
}

void TestWindows::keysCloseWays()
{
    QFETCH(int, key);
    QPointer<frmKeys> keys = frmKeys::showWindow(nullptr);
    if (key == 0)
        keys->close();
    else
        QTest::keyClick(keys->cmdOK, Qt::Key(key));
    QTRY_VERIFY(!keys);
}

void TestWindows::gameRunsBesideKeysWindow()
{
    WorkFolder folder;
    QVERIFY(folder.installEmulator());
    QVERIFY(folder.write(QStringLiteral("a.bin")));
    QVERIFY(folder.write(QStringLiteral("b.bin")));
    frmQuorix w;
    w.show();
    w.mnuKeys->trigger();
    QVERIFY(frmKeys::instance()->isVisible());
    QVERIFY(!frmKeys::instance()->isModal());
    QTest::mouseClick(w.cmdRun, Qt::LeftButton);
    QCOMPARE(folder.recordedStarts(1).size(), 1);
    QVERIFY(frmKeys::instance());
}

void TestWindows::keysOutliveMain()
{
    WorkFolder folder;
    auto *w = new frmQuorix;
    w->show();
    w->mnuKeys->trigger();
    QVERIFY(TestKit::lastWindowEndsProgram(w, [] { return frmKeys::instance(); }));
}

void TestWindows::aboutClosesOnAnyClick_data()
{
    QTest::addColumn<QString>("target"); // a child's name, or "rule" / "background"
    for (const char *t : {"Image1", "lblAuthor", "lblCopyright", "rule", "background"})
        QTest::newRow(t) << t;
    QTest::newRow("Esc") << "Esc";
}

void TestWindows::aboutClosesOnAnyClick()
{
    QFETCH(QString, target);
    WorkFolder folder;
    frmQuorix w;
    w.show();
    bool sawContent = false;
    const bool closed = aboutClosedAfter(w, [&](frmAbout *about) {
        sawContent = about->size() == QSize(208, 113) && about->isModal()
            && about->lblCopyright->text().contains(QLatin1String("\nPlease keep emulation free!\n"))
            && about->Image1->pixmap().size() == QSize(32, 32);
        if (target == QLatin1String("Esc"))
            QTest::keyClick(about, Qt::Key_Escape);
        else if (target == QLatin1String("rule"))
            QTest::mouseClick(about, Qt::LeftButton, {}, QPoint(100, FormKit::px(720)));
        else if (target == QLatin1String("background"))
            QTest::mouseClick(about, Qt::LeftButton, {}, QPoint(200, 4));
        else
            QTest::mouseClick(about->findChild<QWidget *>(target), Qt::LeftButton);
    });
    QVERIFY(sawContent);
    QVERIFY(closed);
    // A second opening shows the same content again.
    bool again = false;
    QVERIFY(aboutClosedAfter(w, [&](frmAbout *about) {
        again = about->lblAuthor->text() == QLatin1String("Written by the Quorix team");
        QTest::mouseClick(about, Qt::LeftButton, {}, QPoint(10, 100));
    }));
    QVERIFY(again);
}

void TestWindows::aboutBlocksMainWindow()
{
    WorkFolder folder; // empty: an unblocked Run Game would open the warning window
    frmQuorix w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(aboutClosedAfter(w, [&](frmAbout *about) {
        // Through the window system, as a user's click comes: the modal box must swallow it.
        const QPoint at = w.cmdRun->mapTo(&w, w.cmdRun->rect().center());
        QTest::mouseClick(w.windowHandle(), Qt::LeftButton, {}, at);
        QTest::mouseClick(w.windowHandle(), Qt::LeftButton, {}, w.cmdExit->mapTo(&w, QPoint(5, 5)));
        QApplication::processEvents();
        about->close();
    }));
    QVERIFY(!frmWarning::instance());
    QVERIFY(w.isVisible());
}

void TestWindows::enterOnFocusedAboutOpensIt()
{
    WorkFolder folder;
    frmQuorix w;
    w.show();
    bool opened = false;
    QTimer::singleShot(0, &w, [&] {
        opened = frmAbout::instance() && frmAbout::instance()->isVisible();
        if (frmAbout::instance())
            frmAbout::instance()->close();
    });
    QTest::keyClick(w.cmdAbout, Qt::Key_Return);
    QVERIFY(opened);
    QVERIFY(!frmWarning::instance()); // Enter on About is not Run Game
}

void TestWindows::accessKeys()
{
    WorkFolder folder; // empty: Alt+R gives a refusal
    frmQuorix w;
    w.show();
    // Through the window system, where access keys are resolved, to the active main window.
    const auto press = [&w](Qt::Key key) {
        QApplication::setActiveWindow(&w);
        if (!QTest::qWaitForWindowActive(&w))
            return false;
        QTest::keyClick(w.windowHandle(), key, Qt::AltModifier);
        return true;
    };
    // An access key presses its button the way a click animates: a moment later.
    bool aboutOpened = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout, &w, [&] {
        if (frmAbout::instance() && frmAbout::instance()->isVisible()) {
            aboutOpened = true;
            frmAbout::instance()->close();
        }
    });
    watch.start(10);
    QVERIFY(press(Qt::Key_A));
    QTRY_VERIFY(aboutOpened);
    QVERIFY(press(Qt::Key_R));
    QTRY_VERIFY(frmWarning::instance());
    frmWarning::instance()->close();
    QVERIFY(press(Qt::Key_X));
    QTRY_VERIFY(!w.isVisible());
}

void TestWindows::programIcon()
{
    const QImage png = FormKit::programIcon().toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(png.size(), QSize(32, 32));
    QFile icoFile(QStringLiteral(":/quorix.ico"));
    QVERIFY(icoFile.open(QIODevice::ReadOnly));
    const QByteArray ico = icoFile.readAll();
    QCOMPARE(int(ico[12]), 4); // the directory entry: 4 bits per pixel
    QCOMPARE(int(ico[22 + 14]), 4); // the bitmap header: 4 bits per pixel
    QCOMPARE(ico.size(), 22 + 40 + 16 * 4 + 32 * 16 + 32 * 4); // colours, pixels and the 1-bit mask
    const QImage fromIco = QImage::fromData(ico, "ICO").convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(fromIco.size(), QSize(32, 32));
    QSet<QRgb> colours;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const QRgb a = png.pixel(x, y), b = fromIco.pixel(x, y);
            QCOMPARE(qAlpha(a), qAlpha(b));
            if (qAlpha(a)) {
                QCOMPARE(a, b);
                colours.insert(a);
            }
        }
    QVERIFY(colours.size() <= 16);
}

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
