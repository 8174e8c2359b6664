// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/emulator.h"

#include "launch/commandline.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace Emulator {

namespace {

bool runnable(const QFileInfo &file)
{
#ifdef Q_OS_WIN
    return file.exists();
#else
    return file.isFile() && file.isExecutable();
#endif
}

// Why the program did not start, in words a user can act on and short enough for the
// warning's one line. Qt's reason names the system call ("execv: Permission denied").
QString failure(const QString &program, const QString &qtReason)
{
    const QString name = QFileInfo(program).fileName();
    QFile file(program);
    if (file.open(QIODevice::ReadOnly) && file.read(2) == "MZ")
        return QStringLiteral("%1 is for Windows, not this system.").arg(name);
    static const QRegularExpression call(QStringLiteral("^\\w+: "));
    QString reason = QString(qtReason).remove(call);
    if (reason == QLatin1String("No such file or directory")) // the file is there: its loader is not
        return QStringLiteral("%1 lacks a file it needs to run.").arg(name);
    if (reason == QLatin1String("Permission denied")) // on a disk mounted without the right to run
        return QStringLiteral("%1 may not be run here.").arg(name);
    if (!reason.isEmpty())
        reason[0] = reason[0].toLower();
    return QStringLiteral("%1 could not start: %2.").arg(name, reason);
}

}

QStringList candidates(const QString &workDir, const QString &searchPath)
{
    const QDir dir(workDir);
    // Empty PATH entries would mean "the current folder" to a shell; the folder is tried first anyway.
    const QStringList paths = searchPath.split(QDir::listSeparator(), Qt::SkipEmptyParts);
    QStringList found;
    for (const QString &name : {CommandLine::Emulator, QStringLiteral("o2em")}) {
        const QFileInfo here(dir.absoluteFilePath(name));
        if (runnable(here))
            found << here.absoluteFilePath();
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
        QProcess process;
        process.setProgram(program);
        process.setArguments(arguments);
        process.setWorkingDirectory(workDir);
#ifdef Q_OS_WIN
        process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments *args) {
            args->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
            args->startupInfo->wShowWindow = SW_SHOWMAXIMIZED;
        });
#endif
        if (process.startDetached())
            return {};
        if (firstFailure.isEmpty()) // the one the user would expect to run
            firstFailure = failure(program, process.errorString());
    }
    return candidates.isEmpty() ? NotFound : firstFailure;
}

}
