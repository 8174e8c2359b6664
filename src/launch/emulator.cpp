// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/emulator.h"

#include "common/names.h"
#include "launch/process.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace Emulator {

QStringList candidates(const QString &workDir, const QString &searchPath)
{
    const QDir dir(workDir);
    // Empty PATH entries would mean "the current folder" to a shell; the folder is tried first anyway.
    const QStringList paths = searchPath.split(QDir::listSeparator(), Qt::SkipEmptyParts);
    QStringList found;
    for (const QString &name : Names::EmulatorPrograms) {
        const QString here = dir.absoluteFilePath(name);
        if (Process::isProgram(here))
            found << here;
        if (!paths.isEmpty()) {
            const QString onPath = QStandardPaths::findExecutable(name, paths);
            if (!onPath.isEmpty() && !found.contains(onPath))
                found << onPath;
        }
    }
    return found;
}

QString start(const QStringList &candidates, const QStringList &arguments, const QString &workDir)
{
    QString firstFailure;
    for (const QString &program : candidates) {
        const QString failure = Process::start(program, arguments, workDir, nullptr, {});
        if (failure.isEmpty())
            return {};
        if (firstFailure.isEmpty()) // the one the user would expect to run
            firstFailure = failure;
    }
    return candidates.isEmpty() ? NotFound : firstFailure;
}

}
