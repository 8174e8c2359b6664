#include "main/gamelist.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <utility>
#include <vector>

namespace GameList {

QStringList scan(const QString &folder)
{
    // Filter on the name first and only then ask for the file's type: in a big folder
    // most entries never need a stat.
    std::vector<std::pair<QString, QString>> keyed; // (case-folded name, name)
    QDirIterator it(folder, QDir::Files | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        if (!name.endsWith(QLatin1String(".bin"), Qt::CaseInsensitive) || name.startsWith(QLatin1Char('.')))
            continue;
        if (name.contains(QChar::ReplacementCharacter)
            && !QFileInfo::exists(it.filePath())) // the name did not survive decoding
            continue;
        if (!it.fileInfo().isFile()) // FIFOs, sockets, devices, dangling links
            continue;
        keyed.emplace_back(name.toCaseFolded(), name);
    }
    std::sort(keyed.begin(), keyed.end());
    QStringList names;
    names.reserve(static_cast<qsizetype>(keyed.size()));
    for (auto &entry : keyed)
        names.append(std::move(entry.second));
    return names;
}

}
