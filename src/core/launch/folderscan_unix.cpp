// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/folderscan.h"

#include <QFile>

#include <cstring>

#include <dirent.h>
#include <sys/stat.h>

namespace FolderScan {

// Straight from readdir: the entry's type comes with its name, so only links (and file
// systems that report no types) cost a stat.
bool read(const QString &folder, Sink &sink)
{
    DIR *dir = opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return false;
    while (const dirent *e = readdir(dir)) {
        const size_t len = std::strlen(e->d_name);
        if (!isGameName(e->d_name, len))
            continue;
        if (e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) {
            struct stat st;
            if (fstatat(dirfd(dir), e->d_name, &st, 0) != 0 || !S_ISREG(st.st_mode))
                continue; // dangling links, links to anything but a file
        } else if (e->d_type != DT_REG) {
            continue; // folders, FIFOs (never opened), sockets, devices
        }
        sink.add(e->d_name, len);
    }
    closedir(dir);
    return true;
}

QString decode(const QByteArray &name)
{
    return QFile::decodeName(name);
}

QByteArray encode(const QString &name)
{
    return QFile::encodeName(name);
}

}
