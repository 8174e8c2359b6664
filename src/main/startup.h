// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QSocketNotifier;

namespace Startup {

// What the command line asks for: quorix [FOLDER], --help, --version. Qt's own options
// (-style, -platform, ...) are let through for QApplication to take.
struct Arguments {
    enum class Action { Run, Help, Version, Fail };
    Action action = Action::Run;
    QString folder;          // the games' folder; empty: the folder it was started in
    bool styleGiven = false; // -style on the command line: the user's choice wins
    bool platformGiven = false;
    QString text;            // for Help and Version, to stdout; for Fail, to stderr
};

[[nodiscard]] Arguments parse(const QStringList &arguments);

// Turns SIGTERM, SIGHUP and SIGINT into a Qt signal delivered by the event loop, so that a
// kill or a closed terminal ends the program the way its close box does. Handlers are in
// place from construction; the notifier that reports them needs the application object.
class TerminationWatcher : public QObject
{
    Q_OBJECT

public:
    TerminationWatcher();
    ~TerminationWatcher() override;

    // Starts reporting; call once the application object exists.
    void listen();

Q_SIGNALS:
    void requested(int signal);

private:
    QSocketNotifier *m_notifier = nullptr;
};

}
