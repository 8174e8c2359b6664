// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/process.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

namespace Process {

namespace {

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

bool isProgram(const QString &path)
{
    const QFileInfo file(path);
    return file.isFile() && file.isExecutable();
}

QString start(const QString &program, const QStringList &arguments, const QString &workDir, QObject *, OnEnd)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(workDir);
    return process.startDetached() ? QString() : failure(program, process.errorString());
}

}
