// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/version.h"
#include "main/frmquorix.h"
#include "launch/gamelist.h"
#include "main/platform.h"
#include "main/startup.h"
#include "windows/formkit.h"

#include <QApplication>
#include <QDir>
#include <QSessionManager>

#include <cstdio>

int main(int argc, char *argv[])
{
    // The command line first, without a display: --help and --version work over ssh too.
    const Startup::Arguments parsed = Startup::parse(Platform::arguments(argc, argv));
    switch (parsed.action) {
    case Startup::Arguments::Action::Help:
    case Startup::Arguments::Action::Version:
        Platform::tell(parsed.text, false);
        return 0;
    case Startup::Arguments::Action::Fail:
        Platform::tell(parsed.text, true);
        return 2;
    case Startup::Arguments::Action::Run:
        break;
    }
    // "quorix FOLDER" is "cd FOLDER && quorix": the list, quorix.cfg and the emulator all use it.
    if (!parsed.folder.isEmpty() && !QDir::setCurrent(parsed.folder)) {
        Platform::tell(QStringLiteral("quorix: cannot enter %1\n").arg(parsed.folder), true);
        return 2;
    }
#ifdef Q_OS_LINUX
    // Qt would abort with a core dump; say it plainly instead.
    if (!parsed.platformGiven && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::fputs("quorix: no display to open a window on (DISPLAY and WAYLAND_DISPLAY are not set)\n", stderr);
        return 1;
    }
#endif
    Platform::TerminationWatcher watcher;
    auto games = GameList::startScan(QDir::currentPath()); // overlaps Qt's own start-up

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorix"));
    QApplication::setApplicationVersion(QStringLiteral(QUORIX_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(QUORIX_APP_ID));
    FormKit::applyClassicLook(parsed.styleGiven);
    QApplication::setWindowIcon(FormKit::programIcon());

    frmQuorix window(std::move(games)); // saves once more when it ends, after the last window has closed
    watcher.listen();
    QObject::connect(&watcher, &Platform::TerminationWatcher::requested, &window, &frmQuorix::endProgram);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window, &frmQuorix::saveForSession);
    window.show();
    return app.exec();
}
