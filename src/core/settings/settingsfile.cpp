// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settingsfile.h"

#include "settings/settingscodec.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <utility>

SettingsFile::SettingsFile(QString path)
    : m_path(std::move(path))
{ }

std::optional<LaunchOptions> SettingsFile::read() const
{
    // Only regular files: opening a FIFO would block start-up for good.
    if (!QFileInfo(m_path).isFile())
        return std::nullopt;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray head = file.read(SettingsCodec::MaxRecordBytes + 1);
    file.close();
    const bool whole = head.size() <= SettingsCodec::MaxRecordBytes;
    head.truncate(SettingsCodec::MaxRecordBytes);
    return SettingsCodec::decode(head, whole);
}

// Why a save cannot work, in plain words, for the cases a user can mend; empty otherwise.
static QString obstacle(const QString &path)
{
    const QFileInfo file(path);
    if (file.isDir())
        return QStringLiteral("a folder has that name");
    if (file.exists() && !file.isWritable())
        return QStringLiteral("the file is read-only");
    if (!QFileInfo(file.absolutePath()).isWritable())
        return QStringLiteral("the folder is read-only");
    return {};
}

bool SettingsFile::write(const QByteArray &bytes, QString *why) const
{
    QSaveFile file(m_path);
    // Unbuffered, so that a short write (a full disk) shows here: a buffered QSaveFile can
    // commit a truncated file without reporting it.
    const bool done
        = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(bytes) == bytes.size() && file.commit();
    if (!done && why) {
        *why = obstacle(m_path);
        if (why->isEmpty())
            *why = file.error() == QFileDevice::NoError ? QStringLiteral("the disk may be full") : file.errorString();
    }
    return done; // an uncommitted QSaveFile discards its temporary file as it goes
}

bool SettingsFile::save(const LaunchOptions &options, QString *why) const
{
    return write(SettingsCodec::encode(options), why);
}

LaunchOptions SettingsFile::loadWithRecovery() const
{
    if (const auto options = read())
        return *options;
    // Once only: the default record, written and read back like any other file.
    if (write(SettingsCodec::defaultRecord())) {
        if (const auto options = read())
            return *options;
    }
    return SettingsCodec::defaults();
}
