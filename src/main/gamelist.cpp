#include "main/gamelist.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <string>
#include <vector>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <sys/stat.h>
#endif

namespace GameList {

namespace {

// Not hidden, and ending in ".bin" in any letter case.
bool isGameName(const char *name, size_t len)
{
    if (len <= 4 || name[0] == '.')
        return false;
    const char *ext = name + len - 4;
    return ext[0] == '.' && (ext[1] | 0x20) == 'b' && (ext[2] | 0x20) == 'i' && (ext[3] | 0x20) == 'n';
}

// Every name and its case-folded sort key, kept in one buffer and sorted by index: a folder
// of 100,000 games lists several times faster than with a string object per name.
class Listing
{
public:
    void add(const char *name, size_t len)
    {
        const bool ascii = std::all_of(name, name + len, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        QByteArray folded;
        if (!ascii) {
            const QByteArray raw(name, static_cast<qsizetype>(len));
            const QString text = QFile::decodeName(raw);
            if (QFile::encodeName(text) != raw)
                return; // not valid text: it could be shown, but never launched under that name
            folded = text.toCaseFolded().toUtf8();
        }
        Span s{static_cast<uint32_t>(m_bytes.size()), static_cast<uint32_t>(len), 0, 0, ascii};
        m_bytes.append(name, len);
        s.key = static_cast<uint32_t>(m_bytes.size());
        if (ascii) {
            for (size_t i = 0; i < len; ++i)
                m_bytes.push_back(name[i] >= 'A' && name[i] <= 'Z' ? static_cast<char>(name[i] + 32) : name[i]);
            s.keyLen = s.nameLen;
        } else {
            m_bytes.append(folded.constData(), static_cast<size_t>(folded.size()));
            s.keyLen = static_cast<uint32_t>(folded.size());
        }
        m_spans.push_back(s);
    }

    [[nodiscard]] QStringList sorted() const
    {
        std::vector<uint32_t> order(m_spans.size());
        std::iota(order.begin(), order.end(), 0u);
        std::sort(order.begin(), order.end(), [this](uint32_t a, uint32_t b) {
            const int byKey = compare(m_spans[a].key, m_spans[a].keyLen, m_spans[b].key, m_spans[b].keyLen);
            return byKey != 0 ? byKey < 0
                              : compare(m_spans[a].name, m_spans[a].nameLen, m_spans[b].name, m_spans[b].nameLen) < 0;
        });
        QStringList names;
        names.reserve(static_cast<qsizetype>(order.size()));
        for (uint32_t i : order) {
            const Span &s = m_spans[i];
            const char *name = m_bytes.data() + s.name;
            names.append(s.ascii ? QString::fromLatin1(name, s.nameLen) : QFile::decodeName(QByteArray(name, s.nameLen)));
        }
        return names;
    }

private:
    struct Span {
        uint32_t name, nameLen, key, keyLen;
        bool ascii;
    };

    [[nodiscard]] int compare(uint32_t a, uint32_t aLen, uint32_t b, uint32_t bLen) const
    {
        const int c = std::memcmp(m_bytes.data() + a, m_bytes.data() + b, std::min(aLen, bLen));
        return c != 0 ? c : (aLen < bLen ? -1 : aLen > bLen ? 1 : 0);
    }

    std::string m_bytes;
    std::vector<Span> m_spans;
};

#ifdef Q_OS_UNIX
// Straight from readdir: the entry's type comes with its name, so only links (and file
// systems that report no types) cost a stat.
bool readFolder(const QString &folder, Listing &listing)
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
        listing.add(e->d_name, len);
    }
    closedir(dir);
    return true;
}
#else
bool readFolder(const QString &folder, Listing &listing)
{
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QByteArray name = it.fileName().toUtf8();
        if (isGameName(name.constData(), static_cast<size_t>(name.size())) && it.fileInfo().isFile())
            listing.add(name.constData(), static_cast<size_t>(name.size()));
    }
    return true;
}
#endif

}

QStringList scan(const QString &folder)
{
    Listing listing;
    return readFolder(folder, listing) ? listing.sorted() : QStringList();
}

}
