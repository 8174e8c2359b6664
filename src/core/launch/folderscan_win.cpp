// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/folderscan.h"

#include <QDir>

#include <windows.h>

namespace FolderScan {

namespace {

// Gives `sink` the folder's game files; the names of its roms folders go to `roms` when asked
// for. False when the folder cannot be read.
bool list(const QString &folder, Sink &sink, QStringList *roms)
{
    const std::wstring pattern = QDir::toNativeSeparators(folder + QStringLiteral("/*")).toStdWString();
    WIN32_FIND_DATAW entry;
    // "*", not "*.bin": the pattern would also match the short 8.3 names ("GAME~1.BIN" of "Game.bin2").
    HANDLE find = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND; // an empty drive's root has no entry at all
    constexpr DWORD skipped = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DEVICE;
    do {
        if (entry.dwFileAttributes & skipped)
            continue;
        const QByteArray name = encode(QString::fromWCharArray(entry.cFileName));
        const auto len = static_cast<size_t>(name.size());
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            if (isGameName(name.constData(), len))
                sink.add(name.constData(), len);
        } else if (roms && isRomsName(name.constData(), len)) {
            *roms << QString::fromUtf8(name);
        }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return true;
}

}

bool read(const QString &folder, Sink &sink)
{
    QStringList roms;
    if (!list(folder, sink, &roms))
        return false;
    for (const QString &name : roms) {
        const QByteArray bytes = encode(name);
        sink.enter(bytes.constData(), static_cast<size_t>(bytes.size()));
        list(folder + QLatin1Char('/') + name, sink, nullptr); // nothing deeper
    }
    return true;
}

QString decode(const QByteArray &name)
{
    return QString::fromUtf8(name);
}

QByteArray encode(const QString &name)
{
    return name.toUtf8();
}

}
