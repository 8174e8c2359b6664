// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/log.h"
#include "common/version.h"
#include "forms/displayserver.h"
#include "forms/fonts.h"
#include "forms/icon.h"
#include "launch/launcher.h"
#include "main/folderchoice.h"
#include "main/frmquorix.h"
#include "main/platform.h"
#include "startup/startup.h"

#include <QApplication>
#include <QDir>
#include <QSessionManager>

#include <optional>

int main(int argc, char *argv[])
{
    // The command line first, without a display: --help and --version work over ssh too.
    const Startup::Request parsed = Startup::parse(Platform::commandWords(argc, argv));
    switch (parsed.action) {
    case Startup::Request::Action::Help:
    case Startup::Request::Action::Version:
        Platform::tell(parsed.text, false);
        return 0;
    case Startup::Request::Action::Fail:
        Platform::tell(parsed.text, true);
        return 2;
    case Startup::Request::Action::Run:
        break;
    }
    // The game folder, held from here on: the list, quorix.cfg and the emulator all use it.
    // Empty: asked for once a window can open.
    const QString folder = Startup::gameFolder(parsed);
    if (!folder.isEmpty() && !QDir(folder).isReadable()) {
        Log::line(QStringLiteral("cannot enter %1").arg(QDir::toNativeSeparators(folder)));
        return 2;
    }
    if (const QString missing = DisplayServer::missing(parsed.platformGiven); !missing.isEmpty()) {
        Log::line(missing);
        return 1;
    }
    Platform::EndWatcher watcher;
    std::optional<Launcher> launcher;
    if (!folder.isEmpty())
        launcher.emplace(folder); // lists the folder while Qt starts

    const QByteArray platform = DisplayServer::preferredPlatform(parsed.platformGiven);
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
    QApplication app(argc, argv);
    if (!platform.isEmpty())
        qunsetenv("QT_QPA_PLATFORM"); // the emulator, started from here, chooses for itself
    QApplication::setApplicationName(QStringLiteral("Quorix"));
    QApplication::setApplicationVersion(QStringLiteral(QUORIX_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(QUORIX_APP_ID));
    Forms::applyClassicLook(parsed.styleGiven);
    QApplication::setWindowIcon(Forms::programIcon());

    if (!launcher) { // the first start from the desktop menu: where are the games?
        watcher.listen();
        const auto cancel = QObject::connect(&watcher, &Platform::EndWatcher::requested, &app,
                                             [] { QCoreApplication::exit(0); }); // a kill cancels the chooser
        const QString chosen = FolderChoice::askFirst(QDir::homePath());
        QObject::disconnect(cancel);
        if (chosen.isEmpty())
            return 0; // nothing opened, nothing written
        launcher.emplace(chosen);
    }
    frmQuorix window(*launcher); // saves once more when it ends, after the last window has closed
    watcher.listen();
    watcher.onDisplayLost([&launcher] { return launcher->saveKept(); });
    QObject::connect(&watcher, &Platform::EndWatcher::requested, &window, &frmQuorix::endProgram);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window, &frmQuorix::saveForSession);
    window.show();
    return app.exec();
}
