// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The main window as a user meets it, on a scratch game folder, with named ways to act on it.

#include "forms/fonts.h"
#include "launch/launcher.h"
#include "main/frmquorix.h"
#include "testkit.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSettings>

#include <functional>
#include <memory>

// What quorix.cfg is before the window opens.
enum class Config { Missing, Bytes, Folder, Fifo, HugeZeros };
Q_DECLARE_METATYPE(Config)

namespace TestKit {

// The open window of that name, if any (a closed one may linger, hidden, until its deletion).
inline QWidget *openWindow(const char *name)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(name) && w->isVisible())
            return w;
    return nullptr;
}

// The warning window's message whole, as screen readers are given it; none while it is not open.
inline QString warning()
{
    const QWidget *w = openWindow("frmWarning");
    return w ? w->findChild<QLineEdit *>("txtWarning")->accessibleDescription() : QString();
}

}

class Session
{
public:
    TestKit::WorkFolder folder;
    std::unique_ptr<Launcher> launcher;
    std::unique_ptr<frmQuorix> window;

    // Makes quorix.cfg, then opens the main window, shown and active.
    bool open(Config config = Config::Missing, const QByteArray &bytes = {})
    {
        const QString cfg = folder.file("quorix.cfg");
        const bool made = config == Config::Missing || (config == Config::Bytes && folder.write("quorix.cfg", bytes))
            || (config == Config::Folder && QDir().mkdir(cfg)) || (config == Config::Fifo && TestKit::makeFifo(cfg))
            || (config == Config::HugeZeros && folder.write("quorix.cfg") && QFile::resize(cfg, 100 << 20));
        launcher = std::make_unique<Launcher>(folder.path());
        window = std::make_unique<frmQuorix>(*launcher);
        window->show();
        QApplication::setActiveWindow(window.get());
        return made && QTest::qWaitForWindowActive(window.get());
    }
    // The window ends (its object goes), as at the program's end.
    void end() { window.reset(); }

    template <class W = QWidget>
    [[nodiscard]] W *find(const QString &name) const
    {
        return window->findChild<W *>(name);
    }
    [[nodiscard]] QByteArray options() const { return TestKit::text(window->options()); }
    [[nodiscard]] QByteArray count() const { return find<QLineEdit>("txtCount")->text().toUtf8(); }

    void click(const QString &name) { QTest::mouseClick(find(name), Qt::LeftButton); }
    void choose(const QString &menuItem) { find<QAction>(menuItem)->trigger(); }
    // A key to the named control, or to the one with the focus.
    void press(Qt::Key key, const QString &name = {}, Qt::KeyboardModifiers modifiers = {})
    {
        QWidget *target = name.isEmpty() ? QApplication::focusWidget() : find(name);
        target->setFocus(), QTest::keyClick(target, key, modifiers);
    }
    [[nodiscard]] QListView *list() const { return find<QListView>("filList"); }
    // The game's entry in the list (invalid when none has that name).
    [[nodiscard]] QModelIndex entry(const QString &game) const
    {
        const QAbstractItemModel *model = list()->model();
        return model->match(model->index(0, 0), Qt::DisplayRole, game, 1, Qt::MatchCaseSensitive).value(0);
    }
    // An empty name clears the selection.
    void select(const QString &name)
    {
        name.isEmpty() ? list()->clearSelection() : list()->setCurrentIndex(entry(name));
    }
    void doubleClick(const QString &game) // a first click only selects
    {
        const QPoint at = list()->visualRect(entry(game)).center();
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at);
        QTRY_COMPARE(window->fileName(), game);
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, at);
    }
};

// What a user does, as a row of a table names it; the makers in Do.
using Step = std::function<void(Session &)>;
Q_DECLARE_METATYPE(Step)
namespace Do {
inline const auto click = [](const QString &name) -> Step { return [name](Session &s) { s.click(name); }; };
inline const auto key = [](Qt::Key k, const QString &on, Qt::KeyboardModifiers m = {}) -> Step {
    return [=](Session &s) { s.press(k, on, m); };
};
// Alt and a letter through the window system, where access keys are resolved.
inline const auto alt = [](Qt::Key k) -> Step {
    return [k](Session &s) { QTest::keyClick(s.window->windowHandle(), k, Qt::AltModifier); };
};
inline const auto choose = [](const QString &item) -> Step { return [item](Session &s) { s.choose(item); }; };
// An empty name clears the selection.
inline const auto pick = [](const QString &game) -> Step { return [game](Session &s) { s.select(game); }; };
inline const auto doubleClick = [](const QString &game) -> Step { return [game](Session &s) { s.doubleClick(game); }; };
}

// What every suite of windows shares: the look main() gives them, Quorix's and Qt's own per-user
// settings in a scratch folder, and no secondary window left over from one row to the next.
class WindowSuite : public QObject
{
    Q_OBJECT
    QTemporaryDir m_settings; // for the folder Quorix remembers, never the user's

private Q_SLOTS:
    void initTestCase()
    {
        QSettings::setDefaultFormat(QSettings::IniFormat); // a file on Windows too, not the registry
        for (const auto format : {QSettings::NativeFormat, QSettings::IniFormat}) // Qt's file chooser's too
            QSettings::setPath(format, QSettings::UserScope, m_settings.path());
        Forms::applyClassicLook();
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); // the chooser, driven as a widget on every system
    }
    void cleanup()
    {
        for (const char *name : {"frmKeys", "frmWarning"})
            delete TestKit::openWindow(name);
        qunsetenv("O2EM_STANDIN");
    }
};
