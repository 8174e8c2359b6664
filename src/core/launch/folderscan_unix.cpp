// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/folderscan.h"

#include <QFile>

#include <cstring>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FolderScan {

namespace {

// The entry's type, following a link; readdir gives it with the name, so only links (and file
// systems that report no types) cost a stat.
mode_t typeOf(DIR *dir, const dirent *e)
{
    if (e->d_type != DT_LNK && e->d_type != DT_UNKNOWN)
        return DTTOIF(e->d_type);
    struct stat st;
    return fstatat(dirfd(dir), e->d_name, &st, 0) == 0 ? st.st_mode & S_IFMT : 0; // 0: a dangling link
}

// Gives `sink` the folder's game files; the names of its roms folders go to `roms` when asked for.
void list(DIR *dir, Sink &sink, std::vector<std::string> *roms)
{
    while (const dirent *e = readdir(dir)) {
        const size_t len = std::strlen(e->d_name);
        if (isGameName(e->d_name, len)) {
            if (S_ISREG(typeOf(dir, e))) // not folders, FIFOs (never opened), sockets, devices
                sink.add(e->d_name, len);
        } else if (roms && isRomsName(e->d_name, len) && S_ISDIR(typeOf(dir, e))) {
            roms->emplace_back(e->d_name, len);
        }
    }
}

}

bool read(const QString &folder, Sink &sink)
{
    DIR *dir = opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return false;
    std::vector<std::string> roms;
    list(dir, sink, &roms);
    for (const std::string &name : roms) {
        const int fd = openat(dirfd(dir), name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (DIR *inner = fd >= 0 ? fdopendir(fd) : nullptr) {
            sink.enter(name.data(), name.size());
            list(inner, sink, nullptr); // nothing deeper
            closedir(inner);
        } else if (fd >= 0) {
            close(fd);
        }
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
