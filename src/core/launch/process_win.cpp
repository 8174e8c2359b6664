// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/process.h"

#include "common/names.h"

#include <QDir>
#include <QFileInfo>
#include <QObject>
#include <QTimer>
#include <QWinEventNotifier>

#include <windows.h>

#include <memory>

namespace Process {

namespace {

// One argument as the Microsoft C runtime (and CommandLineToArgvW) splits it back out: quoted
// when it holds a blank or a quote or is empty, a quote inside escaped, and backslashes doubled
// only where they come before a quote. &, ^ and %...% mean nothing here: no shell is involved.
QString quoted(const QString &argument)
{
    if (!argument.isEmpty() && !argument.contains(QLatin1Char('"')) && !argument.contains(QLatin1Char(' '))
        && !argument.contains(QLatin1Char('\t')) && !argument.contains(QLatin1Char('\n'))
        && !argument.contains(QLatin1Char('\v')))
        return argument;
    QString out(QLatin1Char('"'));
    qsizetype backslashes = 0;
    for (const QChar c : argument) {
        if (c == QLatin1Char('\\')) {
            ++backslashes;
            continue;
        }
        out += QString(c == QLatin1Char('"') ? 2 * backslashes + 1 : backslashes, QLatin1Char('\\'));
        out += c;
        backslashes = 0;
    }
    out += QString(2 * backslashes, QLatin1Char('\\'));
    out += QLatin1Char('"');
    return out;
}

// Windows's own words for an error, with its "%1" filled in with the program's name.
QString systemMessage(DWORD error, const QString &name)
{
    wchar_t *buffer = nullptr;
    const DWORD length
        = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, error, 0, reinterpret_cast<wchar_t *>(&buffer), 0, nullptr);
    QString text = QString::fromWCharArray(buffer, static_cast<qsizetype>(length)).trimmed();
    LocalFree(buffer);
    while (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    text.replace(QLatin1String("%1"), name);
    if (text.isEmpty())
        return QStringLiteral("Windows gave no reason (error %1)").arg(error);
    if (text.size() > 1 && text[1].isLower())
        text[0] = text[0].toLower();
    return text;
}

// What a crash's exception is, in words; empty for those a user would not know.
QString exceptionWords(DWORD code)
{
    switch (code) {
    case 0xC0000005:
        return QStringLiteral("access violation");
    case 0xC000001D:
        return QStringLiteral("illegal instruction");
    case 0xC0000094:
        return QStringLiteral("division by zero");
    case 0xC00000FD:
        return QStringLiteral("stack overflow");
    case 0xC0000409:
        return QStringLiteral("stack buffer overrun");
    case 0xC0000374:
        return QStringLiteral("heap corruption");
    case 0xC0000017:
        return QStringLiteral("out of memory");
    case 0xC0000135:
        return QStringLiteral("a DLL it needs is missing");
    case 0xC0000139:
        return QStringLiteral("a DLL it needs is of the wrong version");
    case 0xC0000142:
        return QStringLiteral("a DLL it needs failed to start");
    case 0xC000013A:
        return QStringLiteral("ended by Ctrl+C");
    case 0x80000003:
        return QStringLiteral("breakpoint");
    default:
        return {};
    }
}

// An exit code that is an exception's status (0xC...) rather than a number the program chose.
bool isCrash(DWORD code)
{
    return (code & 0xF0000000u) == 0xC0000000u || code == 0x80000003u;
}

// Watches a started program for WatchMilliseconds, then lets it go; owns the process handle.
// Made in the thread of its context, its parent, and goes with it at the latest.
class Watch : public QObject
{
public:
    Watch(HANDLE process, QObject *context, OnEnd onEnd)
        : QObject(context)
        , m_onEnd(std::move(onEnd))
        , m_ended(process)
    {
        connect(&m_ended, &QWinEventNotifier::activated, this, [this] { report(); });
        QTimer::singleShot(WatchMilliseconds, this, [this] { deleteLater(); });
    }
    ~Watch() override
    {
        m_ended.setEnabled(false); // before the handle it waits on goes
        CloseHandle(m_ended.handle());
    }

private:
    void report()
    {
        m_ended.setEnabled(false);
        DWORD code = 0;
        if (GetExitCodeProcess(m_ended.handle(), &code)) {
            Ending ending;
            ending.crashed = isCrash(code);
            ending.code = static_cast<int>(code);
            if (ending.crashed)
                ending.crash = exceptionWords(code);
            m_onEnd(ending);
        }
        deleteLater();
    }

    OnEnd m_onEnd;
    QWinEventNotifier m_ended;
};

}

QStringList emulatorPrograms()
{
    return {Names::Emulator}; // the Linux builds do not run here
}

bool isProgram(const QString &path)
{
    return QFileInfo(path).isFile();
}

bool isForeignProgram(const QString &)
{
    return false; // the loader tells
}

// The one line Windows gives a program, which it splits itself.
QString commandText(const QString &program, const QStringList &args)
{
    QString line = quoted(QDir::toNativeSeparators(program));
    for (const QString &arg : args)
        line += QLatin1Char(' ') + quoted(arg);
    return line;
}

QString start(const QString &program, const QStringList &args, const QString &workDir, QObject *context, OnEnd onEnd)
{
    std::wstring line = commandText(program, args).toStdWString(); // CreateProcessW may write into it
    const std::wstring app = QDir::toNativeSeparators(program).toStdWString();
    const std::wstring dir = QDir::toNativeSeparators(workDir).toStdWString();

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMAXIMIZED;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(app.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        dir.empty() ? nullptr : dir.c_str(), &startup, &info)) {
        return couldNotStart(program, systemMessage(GetLastError(), QFileInfo(program).fileName()));
    }
    AllowSetForegroundWindow(info.dwProcessId); // its window comes to the front, as the user asked for it
    CloseHandle(info.hThread);
    if (context && onEnd)
        new Watch(info.hProcess, context, std::move(onEnd)); // deleted with its context at the latest
    else
        CloseHandle(info.hProcess);
    return {};
}

}
