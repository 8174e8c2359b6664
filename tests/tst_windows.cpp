// SPDX-License-Identifier: GPL-3.0-or-later
// Every window's title and captions, the secondary windows and the About, the warning's whole
// text, the About's picture and the look; run at scale 1 and 2.
#include "common/module1.h"
#include "common/version.h"
#include "forms/buttons.h"
#include "forms/frmabout.h"
#include "forms/frmkeys.h"
#include "forms/frmwarning.h"
#include "session.h"

#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QWindow>

using namespace Qt::StringLiterals;

// The window is whole on the screen; on a side where it is larger, it starts at the edge.
static bool onScreen(const QWidget *w)
{
    const QRect room = w->screen()->availableGeometry(), frame = w->frameGeometry(), seen = frame.intersected(room);
    return seen.topLeft() == frame.topLeft() && (seen.width() == frame.width() || seen.width() == room.width())
        && (seen.height() == frame.height() || seen.height() == room.height());
}

// The window's title and every caption, in its order (the menu last), and the controls whose caption
// does not fit its box in the face that stands in.
static std::pair<QString, QStringList> captionsOf(const QWidget *window)
{
    QStringList said{window->windowTitle()}, unfit;
    for (QWidget *child : window->findChildren<QWidget *>()) {
        const auto *label = qobject_cast<QLabel *>(child);
        const auto *button = qobject_cast<QAbstractButton *>(child);
        const auto *check = dynamic_cast<Forms::Wrapping<QCheckBox> *>(child);
        const auto *radio = dynamic_cast<Forms::Wrapping<QRadioButton> *>(child);
        if (const auto *frame = qobject_cast<QGroupBox *>(child))
            said << frame->title();
        if (!child->isVisibleTo(window) || !(label || button))
            continue;
        const QString text = label ? label->text() : button->text();
        const QRect area = check ? check->captionRect()
            : radio              ? radio->captionRect()
            : label              ? label->contentsRect()
                                 : button->rect() - QMargins(4, 2, 4, 2);
        const QRect need = child->fontMetrics().boundingRect(area, !label || label->wordWrap() ? Qt::TextWordWrap : 0,
                                                             QString(text).remove(u'&'));
        said << text;
        if (need.width() > area.width() || need.height() > area.height())
            unfit << child->objectName();
    }
    for (const QAction *action : window->findChildren<QAction *>())
        said << action->text();
    return {said.join(u'|'), unfit};
}

// Whether a line of the colour crosses the window at the point (at its scale): the rules drawn on it.
static bool lineAt(QWidget *window, QPoint at, QPalette::ColorRole role)
{
    const QImage shot = window->grab().toImage();
    return shot.pixelColor(at * shot.devicePixelRatio()).rgb() == window->palette().color(role).rgb();
}

// Opens the keys window from the File menu, or the warning by Run Game in a folder of no game;
// it is kept with the main window.
static QWidget *open(Session &s, bool keys)
{
    keys ? s.choose("mnuKeys") : s.click("cmdRun");
    QWidget *w = TestKit::openWindow(keys ? "frmKeys" : "frmWarning");
    return w && w->windowHandle()->transientParent() == s.window->windowHandle() ? w : nullptr;
}

using AboutStep = std::function<void(Session &, QWidget *)>;
Q_DECLARE_METATYPE(AboutStep)

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
        qInfo("device pixel ratio %g", qApp->devicePixelRatio()); // which scripts/test-windows asks for
        Launcher launcher(m_folder.path());
        Module1::strWarning = "There are no available games!";
        const std::tuple<QWidget *, QString, Lines> windows[]
            = {{new frmQuorix(launcher),
                u"Quorix - Front-end for O2EM ver. " QUORIX_VERSION "|Game List:|Game count:|Stick 1 Mode|Disable|"
                "Left Keyboard|Right Keyboard|Joystick|Stick 2 Mode|Disable|Left Keyboard|Right Keyboard|Joystick|"
                "Debug mode|No Speed Limit|No Sound|No Voice|&Run Game|&About|E&xit|&File|&Open Game Folder...|"
                "Emulator &Keys|&Save on Exit|E&xit"_s,
                {}},
               {new frmWarning, "Warning-Quorix|Ok|Warning!!!", {}},
               {new frmKeys,
                u"Keys- Quorix|OK|Left Keyboard Controls:|W|X|A|D|Left Shift|Right Keyboard Controls:|Right Shift|"
                "\u2192|\u2190|\u2193|\u2191|ESC - Exit O2EM  F4 - Enter Debugger F5 - Reset Emulator|"
                "Pressing H in the debug mode brings up help."_s,
                {{{208, 100}, ink}, {{100, 192}, light}, {{100, 191}, band}, {{10, 192}, band}}},
               {new frmAbout,
                u"About-Quorix ver " QUORIX_VERSION "||Written by the Quorix team|Free software, GNU GPL 3 or later.\n"
                u"Please keep emulation free!\nBugs and ideas: see the README."_s,
                {{{100, 48}, light}, {{100, 49}, band}}}};
        for (const auto &[shown, captions, lines] : windows) {
            const std::unique_ptr<QWidget> window(shown);
            window->show();
            const Qt::WindowFlags flags = window->windowFlags();
            QVERIFY(onScreen(window.get()) && window->minimumSize() == window->maximumSize()
                    && !(flags & Qt::WindowMaximizeButtonHint) && (flags & Qt::MSWindowsFixedSizeDialogHint));
            QCOMPARE(captionsOf(window.get()), std::pair(captions, QStringList()));
            for (const auto &[at, role] : lines)
                QVERIFY2(lineAt(window.get(), at, role), window->objectName().toUtf8());
        }
        // The About's picture, the program icon at the screen's scale, crisp: as scripts/make-icon drew it.
        const frmAbout about;
        const QImage picture = about.findChild<QLabel *>("Image1")->pixmap().toImage(); // of any device pixel ratio
        const QImage drawn(u"" QUORIX_SOURCE_DIR "/resources/icons/quorix-%1.png"_s.arg(picture.width()));
        QVERIFY(picture.convertToFormat(QImage::Format_ARGB32) == drawn.convertToFormat(QImage::Format_ARGB32));
    }

    void secondaryWindows_data()
    {
        QTest::addColumn<bool>("keys"); // or the warning window
        QTest::addColumn<int>("key");   // that closes it; -1: the main window closes first
        QTest::newRow("keys: Enter") << true << int(Qt::Key_Return);
        QTest::newRow("keys outlive the main window (the warning is let go the same way)") << true << -1;
        QTest::newRow("warning: Esc") << false << int(Qt::Key_Escape);
    }
    void secondaryWindows()
    {
        QFETCH(bool, keys);
        QFETCH(int, key);
        Session main;
        QVERIFY(main.open());
        QPointer<QWidget> first = open(main, keys);
        struct : QObject { // counts the times it is raised
            int n = 0;
            bool eventFilter(QObject *, QEvent *e) override { return (n += e->type() == QEvent::ZOrderChange), false; }
        } raised;
        first->installEventFilter(&raised);
        QVERIFY(open(main, keys) == first && raised.n == 1); // one window, brought to the front
        QVERIFY(!first->isModal() && onScreen(first) && first->focusWidget() == first->findChild<QPushButton *>());
        for (QWidget *w : {first.data(), static_cast<QWidget *>(main.window.get())}) {
            // A fixed window stays as it is, whatever the compositor or Qt's title bar asks.
            const QSize size = w->size();
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
        QTest::keyClick(first->focusWidget(), Qt::Key(key));
        QTRY_VERIFY(!first); // discarded; the next one is loaded afresh
        QVERIFY(open(main, keys) && main.window->isVisible());
    }

    // The warning's whole text: on two rows when one does not hold it, selected and copied with the
    // keyboard (Tab to it, Ctrl+A, Ctrl+C) or the mouse, told by What's This (Shift+F1), in its tooltip.
    void warningWhole()
    {
        Session main;
        QVERIFY(main.open());
        Module1::strWarning = "o2em2 refuses the Stick 1 Mode on its command line (\"Invalid option : s1\").";
        frmWarning *w = frmWarning::showMessage(main.window.get(), "Command line: o2em2 a.bin");
        auto *field = w->findChild<QLineEdit *>("txtWarning");
        const QImage shot = field->grab().toImage();
        const auto ink = [&shot, field](int y) { // a row of the field's contents with text on it
            for (int x = 4; x < shot.width() - 4; ++x)
                if (shot.pixelColor(x, y * shot.height() / field->height()) == field->palette().color(QPalette::Text))
                    return true;
            return false;
        };
        QVERIFY2(ink(7) && ink(field->height() - 8), "one row for a message of two");
        const auto copy = [field] {
            return QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier), QGuiApplication::clipboard()->text();
        };
        QTest::keyClick(w->focusWidget(), Qt::Key_Tab);
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QStringList copied{copy()};
        QTest::mouseDClick(field, Qt::LeftButton, {}, QPoint(12, field->height() / 2));
        copied << copy();
        QTest::keyClick(w->findChild<QPushButton *>(), Qt::Key_F1, Qt::ShiftModifier);
        QCOMPARE(std::tuple(copied, field->toolTip(), bool(QApplication::activePopupWidget())),
                 std::tuple(QStringList{Module1::strWarning, "o2em2"},
                            Module1::strWarning + "\nCommand line: o2em2 a.bin", true));
    }

    // The About box holds the input until a click inside it, or Esc, closes it, whatever the user or
    // the compositor does to the main window meanwhile; opened again, it is the same.
    void about_data()
    {
        QTest::addColumn<AboutStep>("step");
        QTest::addColumn<bool>("closes");
        QTest::newRow("a click on the icon, which passes it to the box") << AboutStep([](Session &, QWidget *a) {
            QTest::mouseClick(a->findChild<QWidget *>("Image1"), Qt::LeftButton, {}, {8, 8});
        }) << true;
        QTest::newRow("the main window activated")
            << AboutStep([](Session &s, QWidget *) { s.window->windowHandle()->requestActivate(); }) << false;
        QTest::newRow("the main window asked to close (Alt+F4)")
            << AboutStep([](Session &s, QWidget *) { QVERIFY(!s.window->close()); }) << false;
    }
    void about()
    {
        QFETCH(AboutStep, step);
        QFETCH(bool, closes);
        Session main;
        QVERIFY(main.open());
        for (int round = 0; round < 2; ++round) {
            bool closed = false, behind = false;
            QTimer::singleShot(0, main.window.get(), [&] { // inside the box's modal loop
                QPointer<QWidget> about = TestKit::openWindow("frmAbout");
                QVERIFY(about && QTest::qWaitForWindowActive(about) && about->isModal() && onScreen(about));
                step(main, about);
                closed = !about || !about->isVisible();
                behind = !closed && !QTest::qWaitFor([&about] { return about->isActiveWindow(); });
                if (!closed)
                    about->close(); // never leave the test stuck in the modal loop
            });
            main.click("cmdAbout"); // returns when the box has closed
            QCOMPARE(std::tuple(closed, behind, main.window->isVisible()), std::tuple(closes, false, true));
        }
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
