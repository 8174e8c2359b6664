// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractListModel>
#include <QHash>
#include <QString>
#include <QStringList>

#include <future>
#include <memory>

namespace GameList {

// A folder's games in list order: the names of its regular files (links to files included)
// ending in ".bin" in any letter case, and of those in its roms folder (the emulator's own
// layout), hidden ones left out, each name once, sorted without regard to case.
// Names the file system cannot give back unchanged (bytes that are not valid text) are left
// out too: they could be shown, but never launched. The names stay bytes until one is asked
// for, so a folder of 100,000 games costs no 100,000 string objects. Copies share the data.
class Games
{
public:
    [[nodiscard]] int size() const;
    [[nodiscard]] QString at(int row) const;
    // Where the entry is in the folder: its name, or its path through the roms folder, in that
    // folder's own letter case (a name in both places is the one in roms/).
    [[nodiscard]] QString path(int row) const;
    [[nodiscard]] QString folder() const;
    // The number the count box shows: the games, that is every entry but the ROM file.
    [[nodiscard]] int gameCount() const;

    struct Data;

private:
    friend Games scan(const QString &folder);
    std::shared_ptr<const Data> d;
};

// An unreadable folder lists nothing.
[[nodiscard]] Games scan(const QString &folder);

// The same on a thread of its own, so that reading a big folder overlaps the program's start.
[[nodiscard]] std::future<Games> startScan(const QString &folder);

// The game list's model: one row a game, its name made when a view asks for it; what is known
// of the game (GameInfo) is its tooltip, its What's This and its description for screen readers.
class Model : public QAbstractListModel
{
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    void setGames(const Games &games);
    [[nodiscard]] QString path(const QModelIndex &index) const; // Games::path()

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;

private:
    Games m_games;
    mutable QHash<int, QString> m_info; // by row, as asked for
};

}
