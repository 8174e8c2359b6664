#include "launch/emulator.h"

#include "launch/commandline.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace Emulator {

QString locate(const QString &workDir, const QString &searchPath)
{
    const QDir dir(workDir);
    // Empty PATH entries would mean "the current folder" to a shell; the folder is tried first anyway.
    const QStringList paths = searchPath.split(QDir::listSeparator(), Qt::SkipEmptyParts);
    for (const QString &name : {CommandLine::Emulator, QStringLiteral("o2em")}) {
        if (QFileInfo::exists(dir.filePath(name)))
            return dir.absoluteFilePath(name);
        if (!paths.isEmpty()) {
            const QString found = QStandardPaths::findExecutable(name, paths);
            if (!found.isEmpty())
                return found;
        }
    }
    return dir.absoluteFilePath(CommandLine::Emulator);
}

QString start(const QString &program, const QStringList &arguments, const QString &workDir)
{
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
    return process.errorString();
}

}
