// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/folderscan.h"

#include <QDir>

#include <windows.h>

namespace FolderScan {

bool read(const QString &folder, Sink &sink)
{
    const std::wstring pattern = QDir::toNativeSeparators(folder + QStringLiteral("/*")).toStdWString();
    WIN32_FIND_DATAW entry;
    // "*", not "*.bin": the pattern would also match the short 8.3 names ("GAME~1.BIN" of "Game.bin2").
    HANDLE find = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND; // an empty drive's root has no entry at all
    constexpr DWORD skipped
        = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DEVICE;
    do {
        if (entry.dwFileAttributes & skipped)
            continue;
        const QByteArray name = encode(QString::fromWCharArray(entry.cFileName));
        if (isGameName(name.constData(), static_cast<size_t>(name.size())))
            sink.add(name.constData(), static_cast<size_t>(name.size()));
    } while (FindNextFileW(find, &entry));
    FindClose(find);
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
