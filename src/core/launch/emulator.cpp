// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/emulator.h"

#include "common/names.h"
#include "launch/process.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace Emulator {

namespace {

// The last line that holds more than blanks, without control characters.
QString lastLine(const QByteArray &output)
{
    const QStringList lines = QString::fromUtf8(output).split(QLatin1Char('\n'));
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        QString text;
        for (const QChar c : *line)
            text += c.isPrint() ? c : QChar(u' ');
        text = text.simplified();
        if (!text.isEmpty())
            return text;
    }
    return {};
}

}

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

QString describe(const QString &program, const Process::Ending &ending)
{
    const QString name = QFileInfo(program).fileName();
    if (ending.crashed)
        return QStringLiteral("%1 crashed (%2).")
            .arg(name, ending.crash.isEmpty() ? QStringLiteral("signal %1").arg(ending.code) : ending.crash);
    // Its last line on stderr is its own word on why (it may go on chattering on stdout);
    // its last line on stdout only when stderr has none.
    QString reason = lastLine(ending.errors);
    if (reason.isEmpty())
        reason = lastLine(ending.output);
    if (!reason.isEmpty())
        return QStringLiteral("%1 stopped: %2").arg(name, reason);
    return QStringLiteral("%1 stopped at once (exit status %2).").arg(name).arg(ending.code);
}

QString start(const QStringList &candidates, const QStringList &arguments, const QString &workDir, QObject *context,
              OnFailure onFailure)
{
    QString firstFailure;
    for (const QString &program : candidates) {
        const auto ended = [program, onFailure](const Process::Ending &ending) {
            if ((ending.crashed || ending.code != 0) && onFailure)
                onFailure(describe(program, ending), QString::fromUtf8(ending.output));
        };
        const QString failure = Process::start(program, arguments, workDir, context, ended);
        if (failure.isEmpty())
            return {};
        if (firstFailure.isEmpty()) // the one the user would expect to run
            firstFailure = failure;
    }
    return candidates.isEmpty() ? Names::NoEmulator : firstFailure;
}

}
