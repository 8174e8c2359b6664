// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/launcher.h"

#include "common/log.h"
#include "common/names.h"
#include "launch/commandline.h"
#include "launch/emulator.h"
#include "settings/lastfolder.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

Launcher::Launcher(QString folder, QObject *parent)
    : QObject(parent)
    , m_folder(std::move(folder))
    , m_listing(GameList::startScan(m_folder))
    , m_settings(QDir(m_folder).filePath(Names::SettingsFile))
{ }

Launcher::~Launcher() = default;

void Launcher::setFolder(const QString &folder)
{
    m_folder = QFileInfo(folder).absoluteFilePath();
    m_listing = GameList::startScan(m_folder);
    {
        const std::lock_guard lock(m_keptMutex); // saveKept() may be reading it on another thread
        m_settings = SettingsFile(QDir(m_folder).filePath(Names::SettingsFile));
    }
    m_saveFailureLogged = false; // another file
}

const GameList::Games &Launcher::games()
{
    if (m_listing.valid())
        m_games = m_listing.get();
    return m_games;
}

LaunchOptions Launcher::load()
{
    if (games().gameCount() > 0)
        LastFolder::remember(m_folder); // absolute since setFolder()
    m_loaded = m_settings.loadWithRecovery();
    return m_loaded;
}

QString Launcher::save(const LaunchOptions &options, bool userPresent)
{
    QString why;
    if (m_settings.save(options, &why) || m_saveFailureLogged)
        return {};
    m_saveFailureLogged = true;
    Log::line(notSaved(why));
    if (!userPresent || options == m_loaded)
        return {};
    return QStringLiteral("The options could not be saved in %1: %2.").arg(Names::SettingsFile, why);
}

void Launcher::keep(const std::optional<LaunchOptions> &options)
{
    const std::lock_guard lock(m_keptMutex);
    m_kept = options;
}

QString Launcher::saveKept()
{
    const std::lock_guard lock(m_keptMutex);
    if (!m_kept)
        return QStringLiteral("Save on Exit is off, so the options were not saved");
    QString why;
    if (!m_settings.save(*m_kept, &why))
        return notSaved(why);
    return QStringLiteral("the options were saved in %1").arg(QDir::toNativeSeparators(m_settings.path()));
}

// The log's line for a failed save (the path is absolute: the folder is made so when set).
QString Launcher::notSaved(const QString &why) const
{
    return QStringLiteral("could not save the options in %1: %2").arg(QDir::toNativeSeparators(m_settings.path()), why);
}

QString Launcher::run(const QString &fileName, const QString &path, const LaunchOptions &options)
{
    const CommandLine::Launch launch
        = CommandLine::prepare(fileName, CommandLine::gameArgument(fileName, path), options, games().gameCount() > 0);
    if (launch.refused())
        return launch.refusal;
    // After the emulator's last words: a crash with Debug mode on can then be tied to -debug.
    const auto failed = [this](const QString &message, const QString &output, const QString &command) {
        const QString commandLine = QStringLiteral("Command line: ") + command;
        Log::line(message);
        Log::line(QStringLiteral("command line: ") + command);
        Q_EMIT emulatorFailed(
            message, output.isEmpty() || output.endsWith(u'\n') ? output + commandLine : output + u'\n' + commandLine);
    };
    return Emulator::start(Emulator::candidates(m_folder, qEnvironmentVariable("PATH")), launch.args, m_folder, this,
                           failed);
}
