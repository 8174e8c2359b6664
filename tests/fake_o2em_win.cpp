// SPDX-License-Identifier: GPL-3.0-or-later
// Stands in for the emulator on Windows. Records, in o2em-<pid>.args, its working folder and its
// arguments as the Microsoft C runtime splits them (the same layout as on Linux: each in UTF-8
// with a NUL after it), and in o2em-<pid>.win the raw command line and the window state it was
// asked for (GetStartupInfoW's wShowWindow). Then it stays alive a while, as an emulator does,
// or ends at once as told: FAKE_O2EM_EXIT=<code> ends with that code, FAKE_O2EM_CRASH with an
// access violation's status.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string utf8(const wchar_t *text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size > 0 ? size : 1), '\0'); // with its NUL
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    return out;
}

bool record(const std::wstring &name, const std::string &bytes)
{
    const std::wstring partial = name + L".partial";
    FILE *f = _wfopen(partial.c_str(), L"wb");
    if (!f)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && written && _wrename(partial.c_str(), name.c_str()) == 0;
}

}

int wmain(int argc, wchar_t *argv[])
{
    wchar_t cwd[32768];
    if (!GetCurrentDirectoryW(32768, cwd))
        return 1;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    const std::wstring stem = L"o2em-" + std::to_wstring(GetCurrentProcessId());
    const std::wstring show = std::to_wstring((startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1);
    std::string args = utf8(cwd);
    for (int i = 0; i < argc; ++i)
        args += utf8(argv[i]);
    // The .args file last: the tests wait for it.
    if (!record(stem + L".win", utf8(GetCommandLineW()) + utf8(show.c_str())) || !record(stem + L".args", args))
        return 1;
    if (const wchar_t *code = _wgetenv(L"FAKE_O2EM_EXIT"))
        return std::wcstol(code, nullptr, 10);
    if (_wgetenv(L"FAKE_O2EM_CRASH"))
        TerminateProcess(GetCurrentProcess(), 0xC0000005); // ends as an access violation does, without a debugger
    Sleep(4000);                                           // longer than Quorix watches a start
    return 0;
}
