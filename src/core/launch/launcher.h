// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/launchoptions.h"
#include "launch/gamelist.h"
#include "settings/settingsfile.h"

#include <QObject>
#include <QString>

#include <future>
#include <mutex>
#include <optional>

// What Quorix does with its game folder, without a window: lists its games, keeps the options
// in its quorix.cfg, and starts the emulator there. The folder is given at start and may be
// changed; the main window binds its controls to this and shows what it says.
class Launcher : public QObject
{
    Q_OBJECT

public:
    // Starts listing the folder at once, on a thread of its own, so that a big folder is read
    // while the rest of the program starts.
    explicit Launcher(QString folder, QObject *parent = nullptr);
    ~Launcher() override;

    [[nodiscard]] const QString &folder() const { return m_folder; }

    // Another game folder from now on, listed at once. The caller saves the old folder's options
    // first, and then loads the new folder's, as at a start there.
    void setFolder(const QString &folder);

    // The folder's games; waits for the listing the first time.
    [[nodiscard]] const GameList::Games &games();

    // The start-up read of quorix.cfg: its options, or the default record written and read
    // back when the file is missing or unusable. A folder with games is remembered for the
    // next start from the desktop menu.
    [[nodiscard]] LaunchOptions load();

    // Saves the options, leaving the old file whole when that fails. A failure goes to the log
    // once a run; the returned text, for a box, is not empty only the first time, and only when
    // the user is there to read it and has changed the options since they were loaded.
    [[nodiscard]] QString save(const LaunchOptions &options, bool userPresent);

    // What an end without the windows saves (the display lost): the options as they stand, kept
    // by the main window as they change, or nothing while Save on Exit is off. Both are safe from
    // any thread; saveKept() says what came of it, for the log.
    void keep(const std::optional<LaunchOptions> &options);
    [[nodiscard]] QString saveKept();

    // One press of Run Game on the game listed as fileName, at `path` in the folder (Games::path):
    // refuses the ROM and an empty selection, otherwise starts the emulator on the game. Empty
    // when it started; otherwise the warning for the user.
    [[nodiscard]] QString run(const QString &fileName, const QString &path, const LaunchOptions &options);

Q_SIGNALS:
    // A started emulator ended at once with a failure: the warning's line, and the story behind
    // it (the end of what the emulator printed, where the platform says, and its command line).
    void emulatorFailed(const QString &message, const QString &details);

private:
    [[nodiscard]] QString notSaved(const QString &why) const;

    QString m_folder;
    std::future<GameList::Games> m_listing;
    GameList::Games m_games;
    SettingsFile m_settings;
    LaunchOptions m_loaded;
    bool m_saveFailureLogged = false;
    std::mutex m_keptMutex;
    std::optional<LaunchOptions> m_kept;
};
