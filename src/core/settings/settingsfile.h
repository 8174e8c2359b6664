// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/launchoptions.h"

#include <QByteArray>
#include <QString>

#include <optional>

// quorix.cfg on disk. Shows and logs nothing itself: a failed read has a quiet fallback, a
// failed save says why to its caller.
class SettingsFile
{
public:
    explicit SettingsFile(QString path);

    [[nodiscard]] const QString &path() const { return m_path; }

    // The options in the file, or nothing when it is missing, not a regular file, unreadable
    // or does not hold a usable record. Reads at most one record's worth of bytes.
    [[nodiscard]] std::optional<LaunchOptions> read() const;

    // Replaces the file as a whole (write beside it, then rename), so a failed save leaves the
    // old file untouched. A read-only file is left alone. True when the new bytes are in place;
    // otherwise `why` (when given) says why, in words for the user.
    bool write(const QByteArray &bytes, QString *why = nullptr) const;
    bool save(const LaunchOptions &options, QString *why = nullptr) const;

    // The start-up read: the file's options; when they are unusable, the default record is
    // written and read back; when even that fails, the defaults themselves.
    [[nodiscard]] LaunchOptions loadWithRecovery() const;

private:
    QString m_path;
};
