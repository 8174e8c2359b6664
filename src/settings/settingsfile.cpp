#include "settings/settingsfile.h"

#include "settings/settingscodec.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <utility>

SettingsFile::SettingsFile(QString path)
    : m_path(std::move(path))
{
}

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

bool SettingsFile::write(const QByteArray &bytes) const
{
    QSaveFile file(m_path);
    // Unbuffered, so that a short write (a full disk) shows here: a buffered QSaveFile can
    // commit a truncated file without reporting it.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool SettingsFile::save(const LaunchOptions &options) const
{
    return write(SettingsCodec::encode(options));
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
