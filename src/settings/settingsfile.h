#pragma once

#include "common/launchoptions.h"

#include <QByteArray>
#include <QString>

#include <optional>

// quorix.cfg on disk. Never shows or logs anything: every failure has a quiet fallback.
class SettingsFile
{
public:
    static inline const QString DefaultName = QStringLiteral("quorix.cfg");

    explicit SettingsFile(QString path = DefaultName);

    // The options in the file, or nothing when it is missing, not a regular file, unreadable
    // or does not hold a usable record. Reads at most one record's worth of bytes.
    [[nodiscard]] std::optional<LaunchOptions> read() const;

    // Replaces the file as a whole (write beside it, then rename), so a failed save leaves the
    // old file untouched. A read-only file is left alone. True when the new bytes are in place.
    bool write(const QByteArray &bytes) const;
    bool save(const LaunchOptions &options) const;

    // The start-up read: the file's options; when they are unusable, the default record is
    // written and read back; when even that fails, the defaults themselves.
    [[nodiscard]] LaunchOptions loadWithRecovery() const;

private:
    QString m_path;
};
