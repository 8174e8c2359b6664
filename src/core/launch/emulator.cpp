// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/emulator.h"

#include "launch/commandline.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
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

// The window's words for the option a reason names ("Invalid option : s1", "Invalid value for
// option s2"), when Quorix passed that option; empty otherwise.
QString optionNamed(const QString &reason, const QStringList &args)
{
    static const QRegularExpression named(QStringLiteral("\\boption\\s*:?\\s*-?(\\w+)"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QString flag = named.match(reason).captured(1);
    for (int option = 0; option < CommandLine::OptionCount && !flag.isEmpty(); ++option) {
        const QString dashed = u'-' + QLatin1String(CommandLine::Options[option].flag);
        if (flag.compare(QLatin1String(CommandLine::Options[option].flag), Qt::CaseInsensitive) == 0
            && std::any_of(args.cbegin(), args.cend(),
                           [&dashed](const QString &a) { return a == dashed || a.startsWith(dashed + u'='); }))
            return CommandLine::caption(CommandLine::Option(option));
    }
    return {};
}

// "A, B or C".
QString either(const QStringList &names)
{
    return names.size() < 2
        ? names.value(0)
        : names.mid(0, names.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" or ") + names.last();
}

}

QStringList candidates(const QString &workDir, const QString &searchPath)
{
    const QDir dir(workDir);
    // Empty PATH entries would mean "the current folder" to a shell; the folder is tried first anyway.
    const QStringList paths = searchPath.split(QDir::listSeparator(), Qt::SkipEmptyParts);
    QStringList found;
    for (const QString &name : Process::emulatorPrograms()) {
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

QString notFound(const QString &workDir)
{
    // Only Linux has such files: on Windows any file is a candidate. A Linux build unpacked
    // without its execute bit is the one to mend; a Windows program cannot be.
    QString foreign;
    for (const QString &name : Process::emulatorPrograms()) {
        const QString path = QDir(workDir).filePath(name);
        if (!QFileInfo(path).isFile())
            continue;
        if (!Process::isForeignProgram(path))
            return QStringLiteral("%1 is in the game folder but may not be run (chmod +x %1).").arg(name);
        if (foreign.isEmpty())
            foreign = QStringLiteral("%1 is for Windows, not this system.").arg(name);
    }
    return !foreign.isEmpty()
        ? foreign
        : QStringLiteral("No %1 in the game folder or on PATH.").arg(either(Process::emulatorPrograms()));
}

QString describe(const QString &program, const Process::Ending &ending, const QStringList &args)
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
    if (const QString option = optionNamed(reason, args); !option.isEmpty())
        return QStringLiteral("%1 refuses the %2 on its command line (\"%3\").").arg(name, option, reason);
    if (!reason.isEmpty())
        return QStringLiteral("%1 stopped: %2").arg(name, reason);
    return QStringLiteral("%1 stopped at once (exit status %2).").arg(name).arg(ending.code);
}

QString start(const QStringList &candidates, const QStringList &args, const QString &workDir, QObject *context,
              OnFailure onFailure)
{
    QString firstFailure;
    for (const QString &program : candidates) {
        const auto ended = [program, args, onFailure](const Process::Ending &ending) {
            if ((ending.crashed || ending.code != 0) && onFailure)
                onFailure(describe(program, ending, args), QString::fromUtf8(ending.output),
                          Process::commandText(program, args));
        };
        const QString failure = Process::start(program, args, workDir, context, ended);
        if (failure.isEmpty())
            return {};
        if (firstFailure.isEmpty()) // the one the user would expect to run
            firstFailure = failure;
    }
    return candidates.isEmpty() ? notFound(workDir) : firstFailure;
}

}
