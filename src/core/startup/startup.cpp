// SPDX-License-Identifier: GPL-3.0-or-later
#include "startup/startup.h"

#include "common/version.h"
#include "settings/lastfolder.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace Startup {

namespace {

const char *const help = "Usage: quorix [OPTIONS] [FOLDER]\n"
                         "Lists the O2EM games (*.bin) of FOLDER, or of the current folder, and of the roms\n"
                         "folder in it, and starts the emulator on the one you pick. The options are kept\n"
                         "in FOLDER/quorix.cfg.\n"
                         "\n"
                         "  --last-folder  without FOLDER, open the game folder opened last time, or ask\n"
                         "                 for one the first time (the desktop menu starts Quorix so)\n"
                         "  -h, --help     show this help and exit\n"
                         "  -v, --version  show the version and exit\n"
                         "\n"
                         "Qt's own options, such as -style NAME and -platform NAME, are accepted too.\n";

// Qt's options that take a value and those that do not; QApplication removes them itself.
const char *const qtValueOptions[] = {"platform",      "platformpluginpath",
                                      "platformtheme", "plugin",
                                      "style",         "stylesheet",
                                      "session",       "qwindowgeometry",
                                      "geometry",      "qwindowtitle",
                                      "title",         "qwindowicon",
                                      "icon",          "display",
                                      "name",          "visual",
                                      "qmljsdebugger"};
const char *const qtFlags[] = {"reverse", "widgetcount", "testability", "nograb", "dograb", "sync"};

}

Request parse(const QStringList &words)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption versionOption(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption lastFolderOption(QStringLiteral("last-folder"));
    parser.addOption(helpOption);
    parser.addOption(versionOption);
    parser.addOption(lastFolderOption);
    for (const char *name : qtValueOptions)
        parser.addOption(QCommandLineOption(QLatin1String(name), {}, QStringLiteral("value")));
    for (const char *name : qtFlags)
        parser.addOption(QCommandLineOption(QLatin1String(name)));

    Request result;
    const auto finish = [&result](Request::Action action, const QString &text) {
        result.action = action;
        result.text = text;
        return result;
    };
    const auto fail = [&finish](const QString &why) {
        return finish(Request::Action::Fail,
                      QStringLiteral("quorix: %1\nTry 'quorix --help' for more information.\n").arg(why));
    };
    if (!parser.parse(words)) {
        // Named as typed ("--bogus"): Qt's own text drops the dashes.
        const QString name = parser.unknownOptionNames().value(0);
        for (const QString &word : words.mid(1)) {
            const QString option = word.section(u'=', 0, 0);
            if (!name.isEmpty() && (option == u'-' + name || option == QStringLiteral("--") + name))
                return fail(QStringLiteral("%1: unknown option").arg(option));
        }
        return fail(parser.errorText());
    }
    if (parser.isSet(helpOption))
        return finish(Request::Action::Help, QLatin1String(help));
    if (parser.isSet(versionOption))
        return finish(Request::Action::Version, QStringLiteral("quorix " QUORIX_VERSION "\n"));
    const QStringList folders = parser.positionalArguments();
    if (folders.size() > 1)
        return fail(QStringLiteral("one folder at most, not %1").arg(folders.size()));
    if (!folders.isEmpty()) {
        const QFileInfo folder(folders.first());
        if (!folder.isDir())
            return fail(QStringLiteral("%1: %2").arg(
                folders.first(), folder.exists() ? QStringLiteral("not a folder") : QStringLiteral("no such folder")));
        result.folder = folder.absoluteFilePath();
    }
    result.lastFolder = parser.isSet(lastFolderOption);
    result.styleGiven = parser.isSet(QStringLiteral("style"));
    result.platformGiven = parser.isSet(QStringLiteral("platform"));
    return result;
}

QString gameFolder(const Request &request)
{
    if (!request.folder.isEmpty())
        return request.folder;
    return request.lastFolder ? LastFolder::recall() : QDir::currentPath();
}

}
