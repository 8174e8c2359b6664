// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/platform.h"

#include <windows.h>

#include <shellapi.h> // after windows.h, which it needs

namespace Platform {

QStringList commandWords(int, char *[])
{
    QStringList list;
    int count = 0;
    if (wchar_t **words = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 0; i < count; ++i)
            list << QString::fromWCharArray(words[i]);
        LocalFree(words);
    }
    return list;
}

namespace {

// Writes where the output was sent (a file, a pipe, a console), or else to the console Quorix
// was started from: a window program has none of its own.
bool writeTo(DWORD which, const QString &text)
{
    HANDLE handle = GetStdHandle(which);
    const DWORD type = handle && handle != INVALID_HANDLE_VALUE ? GetFileType(handle) : FILE_TYPE_UNKNOWN;
    if (type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE) {
        const QByteArray bytes = text.toUtf8();
        DWORD written = 0;
        return WriteFile(handle, bytes.constData(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
    if (type == FILE_TYPE_CHAR) {
        const std::wstring wide = text.toStdWString();
        DWORD written = 0;
        return WriteConsoleW(handle, wide.c_str(), static_cast<DWORD>(wide.size()), &written, nullptr);
    }
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return false;
    handle = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                         nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    // The prompt came back when Quorix started: the text on lines of its own.
    const std::wstring wide = (QLatin1Char('\n') + text).toStdWString();
    DWORD written = 0;
    const bool shown = WriteConsoleW(handle, wide.c_str(), static_cast<DWORD>(wide.size()), &written, nullptr);
    CloseHandle(handle);
    return shown;
}

}

void tell(const QString &text, bool isError)
{
    if (writeTo(isError ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE, text))
        return;
    const std::wstring wide = text.trimmed().toStdWString();
    MessageBoxW(nullptr, wide.c_str(), L"Quorix", MB_OK | (isError ? MB_ICONERROR : MB_ICONINFORMATION));
}

EndWatcher::EndWatcher() = default;
EndWatcher::~EndWatcher() = default;
void EndWatcher::listen() { }
void EndWatcher::onDisplayLost(std::function<QString()>) { } // a Windows session has no display to lose

}
