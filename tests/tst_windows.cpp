// SPDX-License-Identifier: GPL-3.0-or-later
// Every window's title and captions, the secondary windows and the About, the icon and the look;
// run at scale 1 and 2.
#include "common/module1.h"
#include "common/version.h"
#include "forms/buttons.h"
#include "forms/frmabout.h"
#include "forms/icon.h"
#include "session.h"

#include <QGroupBox>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QWindow>

using namespace Qt::StringLiterals;

// The window is whole on the screen; on a side where it is larger, it starts at the edge.
static bool onScreen(const QWidget *w)
{
    const QRect room = w->screen()->availableGeometry(), frame = w->frameGeometry();
    const auto along = [](int start, int end, int roomStart, int roomEnd) {
        return end - start > roomEnd - roomStart ? start == roomStart : start >= roomStart && end <= roomEnd;
    };
    return along(frame.left(), frame.right(), room.left(), room.right())
        && along(frame.top(), frame.bottom(), room.top(), room.bottom());
}

// The window's title and every caption, in its order (the menu last), and the controls whose caption
// or text does not fit: cut, over a neighbour, out of its parent, or its first character not in the font.
static std::pair<QString, QStringList> captionsOf(const QWidget *window)
{
    QStringList said{window->windowTitle()}, unfit;
    for (QWidget *child : window->findChildren<QWidget *>()) {
        auto *label = qobject_cast<QLabel *>(child);
        auto *button = qobject_cast<QAbstractButton *>(child);
        if (auto *frame = qobject_cast<QGroupBox *>(child))
            said << frame->title();
        const auto *field = qobject_cast<QLineEdit *>(child); // a long text is cut short, with an ellipsis
        if (field && child->fontMetrics().horizontalAdvance(field->text()) > field->width() - 8)
            unfit << child->objectName();
        if (!child->isVisibleTo(window) || !(label || button))
            continue;
        const QString text = label ? label->text() : button->text();
        said << text;
        QRect area = label ? label->contentsRect() : button->rect().adjusted(4, 2, -4, -2);
        if (auto *check = dynamic_cast<Forms::Wrapping<QCheckBox> *>(child))
            area = check->captionRect();
        else if (auto *radio = dynamic_cast<Forms::Wrapping<QRadioButton> *>(child))
            area = radio->captionRect();
        const QFontMetrics metrics = child->fontMetrics();
        const QRect need = metrics.boundingRect(area, !label || label->wordWrap() ? Qt::TextWordWrap : 0,
                                                QString(text).remove(u'&'));
        const QList<QWidget *> others = child->parentWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        const bool crowded = std::any_of(others.begin(), others.end(), [&](const QWidget *o) { // edges may touch
            return o != child && o->isVisibleTo(window)
                && o->geometry().marginsRemoved({1, 1, 1, 1}).intersects(child->geometry());
        });
        if (crowded || need.width() > area.width() || need.height() > area.height()
            || !child->parentWidget()->rect().contains(child->geometry())
            || (!text.isEmpty() && !metrics.inFontUcs4(text.at(0).unicode())))
            unfit << child->objectName();
    }
    for (const QAction *action : window->findChildren<QAction *>())
        said << action->text();
    return {said.join(u'|'), unfit};
}

// Opens the keys window from the File menu, or the warning by Run Game in a folder of no game;
// it is kept with the main window.
static QWidget *open(Session &s, bool keys)
{
    keys ? s.choose("mnuKeys") : s.click("cmdRun");
    QWidget *w = keys ? static_cast<QWidget *>(TestKit::openWindow<frmKeys>("frmKeys")) : TestKit::openWindow<frmWarning>("frmWarning");
    return w && w->windowHandle()->transientParent() == s.window->windowHandle() ? w : nullptr;
}

using AboutStep = std::function<void(Session &, frmAbout *)>;
Q_DECLARE_METATYPE(AboutStep)

// Opens the About box from the main window and, inside its modal loop, runs `inside`; true
// when that closed the box.
static bool aboutClosedBy(Session &s, const std::function<void(frmAbout *)> &inside)
{
    bool closed = false;
    QTimer::singleShot(0, s.window.get(), [&] {
        QPointer<frmAbout> about = TestKit::openWindow<frmAbout>("frmAbout");
        inside(about);
        closed = !about || !about->isVisible();
        if (!closed)
            about->close(); // never leave the test stuck in the modal loop
    });
    s.click("cmdAbout"); // returns when the box has closed
    return closed;
}

class TestWindows : public WindowSuite
{
    Q_OBJECT

    QTemporaryDir m_folder; // empty: Run Game gives a refusal

private Q_SLOTS:
    void captionsFit()
    {
        // What each window says, its title first and the menu last; the arrows are drawn, not boxes.
        // And the lines drawn on it: the keys' divider, and the engraved rules (a light line on a band).
        using Lines = QList<std::pair<QPoint, QPalette::ColorRole>>;
        const QPalette::ColorRole ink = QPalette::WindowText, light = QPalette::HighlightedText, band = QPalette::Mid;
        Launcher launcher(m_folder.path());
        Module1::strWarning = "A message much too long for the one line of the warning window";
        const std::tuple<QWidget *, QString, Lines> windows[]
            = {{new frmQuorix(launcher),
                u"Quorix - Front-end for O2EM ver. " QUORIX_VERSION
                "|Game List:|Game count:|Stick 1 Mode|Disable|Left Keyboard|Right Keyboard|"
                u"Joystick|Stick 2 Mode|Disable|Left Keyboard|Right Keyboard|Joystick|"
                u"Debug mode|No Speed Limit|No Sound|No Voice|&Run Game|&About|E&xit|"
                u"&File|&Open Game Folder...|Emulator &Keys|&Save on Exit|E&xit"_s,
                {}},
               {new frmWarning, "Warning-Quorix|Ok|Warning!!!", {}},
               {new frmKeys,
                u"Keys- Quorix|OK|Left Keyboard Controls:|W|X|A|D|Left Shift|Right Keyboard Controls:|Right Shift|"
                u"\u2192|\u2190|\u2193|\u2191|ESC - Exit O2EM  F4 - Enter Debugger F5 - Reset Emulator|"
                u"Pressing H in the debug mode brings up help."_s,
                {{{208, 100}, ink}, {{100, 192}, light}, {{100, 191}, band}, {{10, 192}, band}}},
               {new frmAbout,
                u"About-Quorix ver " QUORIX_VERSION "||Written by the Quorix team|Free software, GNU GPL 3 or later.\n"
                u"Please keep emulation free!\nBugs and ideas: see the README."_s,
                {{{100, 48}, light}, {{100, 49}, band}}}};
        for (const auto &[shown, captions, lines] : windows) {
            const std::unique_ptr<QWidget> window(shown);
            window->show();
            QVERIFY(onScreen(window.get()) && window->minimumSize() == window->maximumSize());
            QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint)
                    && (window->windowFlags() & Qt::MSWindowsFixedSizeDialogHint));
            QCOMPARE(captionsOf(window.get()), std::pair(captions, QStringList()));
            const QImage shot = window->grab().toImage();
            for (const auto &[at, role] : lines)
                QCOMPARE(shot.pixelColor(at * shot.devicePixelRatio()).rgb(), window->palette().color(role).rgb());
        }
    }

    void secondaryWindows_data()
    {
        QTest::addColumn<bool>("keys"); // or the warning window
        QTest::addColumn<int>("key");   // that closes it; 0: the close box; -1: the main window closes first
        QTest::newRow("keys: Enter") << true << int(Qt::Key_Return);
        QTest::newRow("keys: close box") << true << 0;
        QTest::newRow("keys outlive the main window") << true << -1;
        QTest::newRow("warning: Enter") << false << int(Qt::Key_Return);
        QTest::newRow("warning: Esc") << false << int(Qt::Key_Escape);
        QTest::newRow("the warning outlives the main window") << false << -1;
    }
    void secondaryWindows()
    {
        QFETCH(bool, keys);
        QFETCH(int, key);
        Session main;
        QVERIFY(main.open());
        QPointer<QWidget> first = open(main, keys);
        struct : QObject {
            int raised = 0;
            bool eventFilter(QObject *, QEvent *e) override
            {
                return (raised += e->type() == QEvent::ZOrderChange), false;
            }
        } counter;
        first->installEventFilter(&counter);
        QVERIFY(open(main, keys) == first && counter.raised == 1); // one window, brought to the front
        const QRect frame = first->frameGeometry(), room = first->screen()->availableGeometry();
        QVERIFY(!first->isModal() && onScreen(first)); // centred on the main window, unless that leaves the screen
        QVERIFY(qAbs(frame.center().x() - main.window->frameGeometry().center().x()) <= 2 || frame.left() == room.left()
                || frame.right() == room.right());
        QCOMPARE(first->focusWidget(), first->findChild<QPushButton *>());
        for (QWidget *w : {first.data(), static_cast<QWidget *>(main.window.get())}) {
            const QSize size
                = w->size(); // a fixed window stays as it is, whatever the compositor or Qt's title bar asks
            w->windowHandle()->setWindowState(keys ? Qt::WindowMaximized : Qt::WindowFullScreen);
            QCOMPARE(std::pair(w->windowHandle()->windowStates() | w->windowState(), w->size()),
                     std::pair(Qt::WindowStates(Qt::WindowNoState), size));
        }
        if (key < 0) { // the program ends once the last of its windows closes
            bool outlived = false;
            QTimer::singleShot(0, main.window.get(), [&main] { main.window->close(), main.end(); });
            QTimer::singleShot(200, qApp, [&] { outlived = first && first->isVisible() && first->close(); });
            QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(2); });
            QVERIFY(QCoreApplication::exec() == 0 && outlived);
            return;
        }
        key ? QTest::keyClick(first->focusWidget(), Qt::Key(key)) : void(first->close());
        QTRY_VERIFY(!first); // discarded; the next one is loaded afresh
        QVERIFY(open(main, keys) && main.window->isVisible());
    }

    // The About box holds the input until a click inside it, or Esc, closes it, whatever
    // the user or the compositor does to the main window meanwhile.
    void about_data()
    {
        QTest::addColumn<AboutStep>("step");
        QTest::addColumn<bool>("closes");
        const auto clickAt
            = [](QPoint at) { return [at](Session &, frmAbout *a) { QTest::mouseClick(a, Qt::LeftButton, {}, at); }; };
        QTest::newRow("a click on the icon") << AboutStep([](Session &, frmAbout *a) {
            QTest::mouseClick(a->findChild<QWidget *>("Image1"), Qt::LeftButton);
        }) << true;
        QTest::newRow("a click on the background") << AboutStep(clickAt({200, 4})) << true;
        QTest::newRow("Esc") << AboutStep([](Session &, frmAbout *a) { QTest::keyClick(a, Qt::Key_Escape); }) << true;
        QTest::newRow("the main window activated")
            << AboutStep([](Session &s, frmAbout *) { s.window->windowHandle()->requestActivate(); }) << false;
        QTest::newRow("the main window asked to close (Alt+F4)")
            << AboutStep([](Session &s, frmAbout *) { QVERIFY(!s.window->close()); }) << false;
    }
    void about()
    {
        QFETCH(AboutStep, step);
        QFETCH(bool, closes);
        Session main;
        QVERIFY(main.open());
        for (int round = 0; round < 2; ++round) { // the second time the same
            bool behind = false;
            QCOMPARE(
                aboutClosedBy(main,
                              [&](frmAbout *about) {
                                  QVERIFY(QTest::qWaitForWindowActive(about) && about->isModal() && onScreen(about));
                                  step(main, about);
                                  behind = !closes && !QTest::qWaitFor([about] { return about->isActiveWindow(); });
                              }),
                closes);
            QVERIFY(!behind && !TestKit::openWindow<frmWarning>("frmWarning") && main.window->isVisible());
        }
    }
    void icon()
    {
        // Each size as committed, made by scripts/make-icon from the one 32 x 32 picture.
        const QDir icons(QStringLiteral(QUORIX_SOURCE_DIR "/resources/icons"));
        const QIcon icon = Forms::programIcon();
        QCOMPARE(icon.availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}}));
        for (const QSize &size : icon.availableSizes()) {
            const QImage committed(icons.filePath(u"quorix-%1.png"_s.arg(size.width())));
            QCOMPARE(icon.pixmap(size, 1.0).toImage().convertToFormat(QImage::Format_ARGB32),
                     committed.convertToFormat(QImage::Format_ARGB32));
        }
        const frmAbout about; // its picture 32 x 32 at the screen's scale
        const QPixmap picture = about.findChild<QLabel *>("Image1")->pixmap();
        QCOMPARE(std::pair(picture.deviceIndependentSize(), picture.devicePixelRatio()),
                 std::pair(QSizeF(32, 32), about.devicePixelRatioF()));
    }

    void classicLook() // Qt's Windows style, unless the user asked for one: -style, or QT_STYLE_OVERRIDE
    {
        QStringList taken;
        for (const char *override : {"", "fusion"})
            for (const bool styleGiven : {false, true}) {
                QApplication::setStyle("fusion"); // as Qt itself sets it from -style or the variable
                qputenv("QT_STYLE_OVERRIDE", override);
                Forms::applyClassicLook(styleGiven);
                taken << QApplication::style()->name();
            }
        qunsetenv("QT_STYLE_OVERRIDE");
        Forms::applyClassicLook();
        QCOMPARE(taken, (QStringList{TestKit::unaskedStyle, "fusion", "fusion", "fusion"}));
    }
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
