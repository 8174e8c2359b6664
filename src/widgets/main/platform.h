// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where starting the program differs between Linux and Windows: platform_unix.cpp and
// platform_win.cpp each implement it.

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QSocketNotifier;

namespace Platform {

// The command line's words as the user gave them, before the application object exists. On Windows
// from the UTF-16 command line, so that a folder with letters outside the ANSI code page arrives whole.
[[nodiscard]] QStringList commandWords(int argc, char *argv[]);

// Shows text that has no window to go to (--help, --version, a command-line mistake) where the
// user sees it: the terminal; on Windows the console Quorix was started from, or else a message box.
void tell(const QString &text, bool isError);

// The ends that come from outside the windows. A request to end (SIGTERM, SIGHUP, SIGINT) becomes
// a Qt signal delivered by the event loop, so that the program then ends as its close box ends it;
// handlers are in place from construction, and the notifier that reports them needs the
// application object. The display may go too. On Windows there is nothing to watch: a logoff or
// shutdown reaches the program as QGuiApplication::commitDataRequest.
class EndWatcher : public QObject
{
    Q_OBJECT

public:
    EndWatcher();
    ~EndWatcher() override;

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
