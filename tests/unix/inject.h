// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Faults the file system rarely gives on demand, injected into the C library's calls while a
// test turns them on (tests/win/inject.h: none can be on Windows).

#include <cerrno>
#include <cstdio>

#include <dirent.h>
#include <dlfcn.h>

static bool failRename = false, unknownTypes = false;
template <class F>
static F *real(const char *name)
{
    return reinterpret_cast<F *>(dlsym(RTLD_NEXT, name));
}
extern "C" int rename(const char *from, const char *to)
{
    return failRename ? (errno = EIO, -1) : real<int(const char *, const char *)>("rename")(from, to);
}
extern "C" dirent *readdir(DIR *dir)
{
    dirent *entry = real<dirent *(DIR *)>("readdir")(dir);
    if (entry && unknownTypes)
        entry->d_type = DT_UNKNOWN; // as some network and FUSE file systems report
    return entry;
}
