// SPDX-License-Identifier: GPL-3.0-or-later
// The secondary windows, the access keys, placement and the icon; run at scale 1 and 2.
#include "common/module1.h"
#include "common/version.h"
#include "forms/buttons.h"
#include "forms/fonts.h"
#include "forms/frmabout.h"
#include "forms/frmkeys.h"
#include "forms/frmwarning.h"
#include "forms/icon.h"
#include "forms/stacking.h"
#include "session.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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

static std::unique_ptr<Session> mainWindow()
{
    auto s = std::make_unique<Session>();
    return s->open() ? std::move(s) : nullptr;
}

// Opens the About box from the main window and, inside its modal loop, runs `inside`; true
// when that closed the box.
static bool aboutClosedBy(Session &s, const std::function<void(frmAbout *)> &inside)
{
    bool closed = false;
    QTimer::singleShot(0, s.window.get(), [&] {
        QPointer<frmAbout> about = FixedWindow::instance<frmAbout>();
        inside(about);
        closed = !about || !about->isVisible();
        if (!closed)
            about->close(); // never leave the test stuck in the modal loop
    });
    s.click(u"cmdAbout"_s); // returns when the box has closed
    return closed;
}

class TestWindows : public QObject
{
    Q_OBJECT

    QTemporaryDir m_folder; // empty: Run Game gives a refusal

private Q_SLOTS:
    void initTestCase()
    {
        FormKit::applyClassicLook();
        QDir::setCurrent(m_folder.path());
    }
    void cleanup()
    {
        delete FixedWindow::instance<frmKeys>();
        delete FixedWindow::instance<frmWarning>();
    }

    void captionsFit()
    {
        // What each window says, in its own order (the menu last); the arrows are drawn, not boxes.
        Launcher launcher(m_folder.path());
        const std::pair<QWidget *, QString> windows[] = {
            {new frmQuorix(launcher),
             u"Game List:|Game count:|Stick 1 Mode|Disable|Left Keyboard|Right Keyboard|Joystick|Stick 2 "
             u"Mode|Disable|Left Keyboard|"
             "Right Keyboard|Joystick|Debug mode|No Speed Limit|No Sound|No Voice|&Run Game|&About|E&xit|&File|"
             "&Open Game Folder...|Emulator &Keys|&Save on Exit|E&xit"_s},
            {new frmWarning, u"Ok|Warning!!!"_s},
            {new frmKeys,
             u"OK|Left Keyboard Controls:|W|X|A|D|Left Shift|Right Keyboard Controls:|Right "
             u"Shift|\u2192|\u2190|\u2193|\u2191|"
             "ESC - Exit O2EM  F4 - Enter Debugger F5 - Reset Emulator|Pressing H in the debug mode brings up help."_s},
            {new frmAbout,
             u"|Written by the Quorix team|Free software, GNU GPL 3 or later.\nPlease keep emulation free!\nBugs and ideas: see the README."_s}};
        for (const auto &[shown, captions] : windows) {
            const std::unique_ptr<QWidget> window(shown);
            window->show();
            QVERIFY(onScreen(window.get()) && window->minimumSize() == window->maximumSize());
            QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint)
                    && (window->windowFlags() & Qt::MSWindowsFixedSizeDialogHint));
            QStringList said; // every caption, in the window's order
            for (QWidget *child : window->findChildren<QWidget *>()) {
                auto *label = qobject_cast<QLabel *>(child);
                auto *button = qobject_cast<QAbstractButton *>(child);
                if (auto *frame = qobject_cast<QGroupBox *>(child))
                    said << frame->title();
                if (!child->isVisibleTo(window.get()) || !(label || button))
                    continue;
                said << (label ? label->text() : button->text());
                QVERIFY(said.last().isEmpty() || child->fontMetrics().inFontUcs4(said.last().at(0).unicode()));
                QRect area = label ? label->contentsRect() : button->rect().adjusted(4, 2, -4, -2);
                if (auto *check = dynamic_cast<FormKit::Wrapping<QCheckBox> *>(child))
                    area = check->captionRect();
                else if (auto *radio = dynamic_cast<FormKit::Wrapping<QRadioButton> *>(child))
                    area = radio->captionRect();
                const QString text = QString(label ? label->text() : button->text()).remove(u'&');
                const QRect need = child->fontMetrics().boundingRect(
                    area, (!label || label->wordWrap()) ? Qt::TextWordWrap : 0, text);
                const QList<QWidget *> others
                    = child->parentWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
                const bool alone
                    = std::none_of(others.begin(), others.end(), [&](const QWidget *o) { // the layout lets edges touch
                          return o != child && o->isVisibleTo(window.get())
                              && o->geometry().marginsRemoved({1, 1, 1, 1}).intersects(child->geometry());
                      });
                QVERIFY2(alone && need.width() <= area.width() && need.height() <= area.height()
                             && child->parentWidget()->rect().contains(child->geometry()),
                         qPrintable(window->objectName() + u'.' + child->objectName() + u": "_s + text));
            }
            for (const QAction *action : window->findChildren<QAction *>())
                said << action->text();
            QCOMPARE(said.join(u'|'), captions);
        }
    }

    void keysAndRules()
    {
        frmKeys keys;
        // A cross: W, the fire key and X on one centre line, and the same for the arrows.
        const auto centre = [&keys](const char *name) {
            return keys.findChild<QLabel *>(QLatin1String(name))->geometry().center().x();
        };
        QVERIFY(qAbs(centre("lblLeftUp") - centre("lblLeftFire")) <= 1
                && qAbs(centre("lblLeftUp") - centre("lblLeftDown")) <= 1);
        QVERIFY(qAbs(centre("lblRightUP") - centre("lblRightDown")) <= 1
                && qAbs(centre("lblRightUP") - centre("lblRightFire")) <= 2);
        // The lines: the divider, and the engraved rules (a light line on a band) of both windows.
        frmAbout about;
        const std::tuple<QWidget *, QPoint, QPalette::ColorRole> pixels[]
            = {{&keys, {208, 100}, QPalette::WindowText},
               {&keys, {100, 192}, QPalette::HighlightedText},
               {&keys, {100, 191}, QPalette::Mid},
               {&keys, {10, 192}, QPalette::Mid},
               {&about, {100, 48}, QPalette::HighlightedText},
               {&about, {100, 49}, QPalette::Mid}};
        for (const auto &[window, at, role] : pixels) {
            const QPixmap shot = window->grab();
            QCOMPARE(shot.toImage().pixelColor(at * shot.devicePixelRatio()).rgb(),
                     window->palette().color(role).rgb());
        }
    }

    void secondaryWindows_data()
    {
        QTest::addColumn<bool>("keys"); // or the warning window
        QTest::addColumn<int>("key");   // that closes it; 0: the close box; -1: the main window closes first
        QTest::newRow("keys: Enter") << true << int(Qt::Key_Return);
        QTest::newRow("keys: Space") << true << int(Qt::Key_Space);
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
        auto main = mainWindow();
        const auto open = [&main, keys] {
            keys ? main->choose(u"mnuKeys"_s) : main->click(u"cmdRun"_s);
            return keys ? static_cast<QDialog *>(FixedWindow::instance<frmKeys>())
                        : FixedWindow::instance<frmWarning>();
        };
        QPointer<QDialog> first = open();
        struct : QObject {
            int raised = 0;
            bool eventFilter(QObject *, QEvent *e) override
            {
                return (raised += e->type() == QEvent::ZOrderChange), false;
            }
        } counter;
        first->installEventFilter(&counter);
        QVERIFY(open() == first && counter.raised == 1); // one window, brought to the front
        QVERIFY(!first->isModal()
                && first->windowHandle()->transientParent()
                    == main->window->windowHandle()); // kept with the main window
        QCOMPARE(first->focusWidget(), first->findChild<QPushButton *>());
        QCOMPARE(first->windowTitle() + u'|' + main->window->windowTitle(),
                 (keys ? u"Keys- Quorix|"_s : u"Warning-Quorix|"_s)
                     + QStringLiteral("Quorix - Front-end for O2EM ver. " QUORIX_VERSION));
        const QRect frame = first->frameGeometry(), room = first->screen()->availableGeometry();
        QVERIFY(onScreen(first)); // and centred on the main window, unless that would leave the screen
        QVERIFY(qAbs(frame.center().x() - main->window->frameGeometry().center().x()) <= 2
                || frame.left() == room.left() || frame.right() == room.right());
        if (key < 0) { // the program ends once the last of its windows closes
            bool outlived = false;
            QTimer::singleShot(0, main->window.get(), [&main] { main->window->close(), main.reset(); });
            QTimer::singleShot(200, qApp, [&] { outlived = first && first->isVisible() && first->close(); });
            QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(2); });
            QVERIFY(QCoreApplication::exec() == 0 && outlived);
            return;
        }
        key ? QTest::keyClick(first->focusWidget(), Qt::Key(key)) : void(first->close());
        QTRY_VERIFY(!first); // discarded; the next one is loaded afresh
        QVERIFY(open() && main->window->isVisible());
    }

    void aboutCloses_data()
    {
        QTest::addColumn<QByteArray>("target"); // a child's name, the rule, the background, Esc, or the main window
        for (const char *t : {"Image1", "lblAuthor", "lblCopyright", "rule", "background", "Esc", "main"})
            QTest::newRow(t) << QByteArray(t);
    }
    void aboutCloses()
    {
        QFETCH(QByteArray, target);
        if (target == "main")
            SKIP_WITHOUT(ModalByQt);
        const auto main = mainWindow();
        for (int round = 0; round < 2; ++round) { // the second time shows the same
            bool seen = false;
            QCOMPARE(aboutClosedBy(
                         *main,
                         [&](frmAbout *about) {
                             const QPixmap picture = about->findChild<QLabel *>(u"Image1"_s)->pixmap();
                             seen = about->isModal()
                                 && about->windowTitle() == QStringLiteral("About-Quorix ver " QUORIX_VERSION)
                                 && onScreen(about)
                                 && about->windowHandle()->transientParent() == main->window->windowHandle()
                                 && picture.deviceIndependentSize() == QSizeF(32, 32)
                                 && picture.devicePixelRatio() == about->devicePixelRatioF();
                             if (target
                                 == "main") // clicks through the window system, as a user's come: the box swallows them
                                 for (QWidget *button : {main->find(u"cmdRun"_s), main->find(u"cmdExit"_s)})
                                     QTest::mouseClick(main->window->windowHandle(), Qt::LeftButton, {},
                                                       button->mapTo(main->window.get(), QPoint(5, 5)));
                             else if (target == "Esc")
                                 QTest::keyClick(about, Qt::Key_Escape);
                             else if (target == "rule" || target == "background")
                                 QTest::mouseClick(about, Qt::LeftButton, {},
                                                   target == "rule" ? QPoint(100, 48) : QPoint(200, 4));
                             else
                                 QTest::mouseClick(about->findChild<QWidget *>(QLatin1String(target)), Qt::LeftButton);
                         }),
                     target != "main");
            QVERIFY(seen && !FixedWindow::instance<frmWarning>() && main->window->isVisible());
        }
    }

    // What the compositor or the title bar Qt draws may ask of a fixed window: it stays as it is.
    void fixedWindowsStayNormal_data()
    {
        QTest::addColumn<QString>("window"); // the main window, or the one File or Run Game opens
        QTest::addColumn<int>("state");
        for (const QString &window : {u"main"_s, u"keys"_s, u"warning"_s}) {
            QTest::addRow("%s: maximize", qPrintable(window)) << window << int(Qt::WindowMaximized);
            QTest::addRow("%s: full screen", qPrintable(window)) << window << int(Qt::WindowFullScreen);
        }
    }
    void fixedWindowsStayNormal()
    {
        QFETCH(QString, window);
        QFETCH(int, state);
        const auto main = mainWindow();
        main->click(u"chkDebug"_s); // a change, which must reach quorix.cfg
        window == u"keys" ? main->choose(u"mnuKeys"_s) : window == u"warning" ? main->click(u"cmdRun"_s) : void();
        QWidget *w = window == u"keys" ? FixedWindow::instance<frmKeys>()
            : window == u"warning"     ? static_cast<QWidget *>(FixedWindow::instance<frmWarning>())
                                       : main->window.get();
        const QSize size = w->size();
        w->windowHandle()->setWindowState(Qt::WindowState(state));
        QCOMPARE(w->windowHandle()->windowStates(), Qt::WindowNoState);
        QCOMPARE(w->windowState(), Qt::WindowNoState);
        QCOMPARE(w->size(), size);
        QVERIFY(main->window->close());
        QCOMPARE(main->folder.read().left(2), "1,");
    }

    // While the About box is open it keeps the input, whatever the compositor does to the main window.
    void aboutHoldsInput_data()
    {
        QTest::addColumn<bool>("closeMain"); // else the main window is activated, as a click on it does
        QTest::newRow("a click on the main window") << false;
        QTest::newRow("the main window asked to close (Alt+F4)") << true;
    }
    void aboutHoldsInput()
    {
        QFETCH(bool, closeMain);
        const auto main = mainWindow();
        bool closed = true, front = false;
        aboutClosedBy(*main, [&](frmAbout *about) {
            QVERIFY(QTest::qWaitForWindowActive(about));
            if (closeMain)
                closed = main->window->close();
            else
                main->window->windowHandle()->requestActivate();
            front = QTest::qWaitFor([about] { return about->isActiveWindow(); });
        });
        QCOMPARE(front, true);
        QCOMPARE(main->window->isVisible(), true);
        QCOMPARE(closed, !closeMain);
    }

    void icon()
    {
        // Each size as committed, made by scripts/make-icon from the one 32 x 32 picture.
        const QDir icons(QStringLiteral(QUORIX_SOURCE_DIR "/resources/icons"));
        const QIcon icon = FormKit::programIcon();
        QCOMPARE(icon.availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}}));
        for (const QSize &size : icon.availableSizes()) {
            const QImage committed(icons.filePath(u"quorix-%1.png"_s.arg(size.width())));
            QCOMPARE(icon.pixmap(size, 1.0).toImage().convertToFormat(QImage::Format_ARGB32),
                     committed.convertToFormat(QImage::Format_ARGB32));
        }
        // The About picture at twice the scale: the 64 px one, crisp.
        QImage twice = FormKit::programPicture(2.0).toImage().convertToFormat(QImage::Format_ARGB32);
        twice.setDevicePixelRatio(1);
        QCOMPARE(twice, QImage(icons.filePath(u"quorix-64.png"_s)).convertToFormat(QImage::Format_ARGB32));
    }

    void placement_data()
    {
        QTest::addColumn<QSize>("size"); // of the window, in hundredths of the screen's room
        QTest::addColumn<bool>("leftEdge");
        QTest::addColumn<bool>("topEdge");
        QTest::newRow("smaller: centred") << QSize(50, 50) << false << false;
        QTest::newRow("wider than the screen") << QSize(150, 50) << true << false;
        QTest::newRow("taller than the screen") << QSize(50, 150) << false << true;
        QTest::newRow("larger both ways") << QSize(150, 150) << true << true;
    }
    void placement()
    {
        QFETCH(QSize, size);
        QFETCH(bool, leftEdge);
        QFETCH(bool, topEdge);
        const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
        QWidget window;
        window.setFixedSize(room.width() * size.width() / 100, room.height() * size.height() / 100);
        Stacking::centre(&window, nullptr);
        window.show();
        const QRect frame = window.frameGeometry();
        QCOMPARE(frame.left() == room.left(), leftEdge);
        QCOMPARE(frame.top() == room.top(), topEdge);
        QVERIFY(onScreen(&window));
    }

    void classicLook_data()
    {
        QTest::addColumn<bool>("styleGiven");     // -style on the command line
        QTest::addColumn<QByteArray>("override"); // QT_STYLE_OVERRIDE
        QTest::addColumn<QString>("style");
        QTest::newRow("nothing asked: the classic look") << false << QByteArray() << u"windows"_s;
        QTest::newRow("-style fusion wins") << true << QByteArray() << u"fusion"_s;
        QTest::newRow("QT_STYLE_OVERRIDE wins") << false << "fusion"_ba << u"fusion"_s;
    }
    void classicLook()
    {
        QFETCH(bool, styleGiven);
        QFETCH(QByteArray, override);
        QFETCH(QString, style);
        if (!styleGiven && override.isEmpty())
            SKIP_WITHOUT(QtStyleByDefault);
        QApplication::setStyle(u"fusion"_s); // as Qt itself sets it from -style or the variable
        qputenv("QT_STYLE_OVERRIDE", override);
        FormKit::applyClassicLook(styleGiven);
        qunsetenv("QT_STYLE_OVERRIDE");
        QCOMPARE(QApplication::style()->name(), style);
        FormKit::applyClassicLook();
    }

    void longMessage()
    {
        Module1::strWarning = u"A message much too long for the one line of the warning window"_s;
        frmWarning warning;
        const auto *field = warning.findChild<QLineEdit *>(u"txtWarning"_s);
        QVERIFY(field->text().endsWith(QChar(0x2026))
                && field->fontMetrics().horizontalAdvance(field->text()) <= field->width() - 8);
        QVERIFY(field->toolTip() == Module1::strWarning && field->accessibleDescription() == Module1::strWarning);
    }
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
