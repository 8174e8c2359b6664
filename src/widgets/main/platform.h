// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where starting the program differs between Linux and Windows: platform_unix.cpp and
// platform_win.cpp each implement it.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QSocketNotifier;

namespace Platform {

// The command line as the user gave it, before the application object exists. On Windows from
// the UTF-16 command line, so that a folder with letters outside the ANSI code page arrives whole.
[[nodiscard]] QStringList arguments(int argc, char *argv[]);

// Shows text that has no window to go to (--help, --version, a command-line mistake) where the
// user sees it: the terminal; on Windows the console Quorix was started from, or else a message box.
void tell(const QString &text, bool isError);

// Why no window can open, said plainly before Qt tries (it would abort with a core dump); empty
// when one can. platformGiven: -platform on the command line names where to draw.
[[nodiscard]] QString noDisplay(bool platformGiven);

// The platform for Qt when the user named none (-platform, QT_QPA_PLATFORM), or empty for Qt's own
// choice. Under GNOME that is XWayland: on its Wayland side mutter draws no title bars (Qt's own
// show minimize and maximize on every window and cut a short window's title) and does not centre
// a dialog on its owner; as an X11 window manager it does both.
[[nodiscard]] QByteArray preferredPlatform(bool platformGiven);

// Turns a request to end from outside (SIGTERM, SIGHUP, SIGINT) into a Qt signal delivered by the
// event loop, so that the program then ends as its close box ends it. Handlers are in place from
// construction; the notifier that reports them needs the application object. On Windows there is
// nothing to watch: a logoff or shutdown reaches the program as QGuiApplication::commitDataRequest.
class TerminationWatcher : public QObject
{
    Q_OBJECT

public:
    TerminationWatcher();
    ~TerminationWatcher() override;

    // Starts reporting; call once the application object exists.
    void listen();

    // The display lost under the program (the X server or the Wayland compositor ended first):
    // Qt says so in a warning and ends the process right after it, maybe from a thread of its
    // own, so no event loop is left to end it gently. `last` runs there and then, once, and
    // must not touch a widget; what it returns ends the one line printed instead of Qt's warning.
    void onDisplayLost(std::function<QString()> last);

Q_SIGNALS:
    void requested(int signal);

private:
    QSocketNotifier *m_notifier = nullptr; // on Linux
};

}
