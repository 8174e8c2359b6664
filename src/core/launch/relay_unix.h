// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The relay between a started program and Quorix: a process of its own that passes the
// program's output on and tells Quorix how it ended (relay_unix.cpp). process_unix.cpp starts it
// and reads its report.

namespace Process::Relay {

constexpr int TailBytes = 4096; // how much of the end of the program's output is kept

// What the relay tells Quorix: the program started, or could not (an errno), or ended.
struct Record {
    enum Kind : int { Started, ExecFailed, Ended } kind;
    int value;     // errno, or the wait status
    int length;    // bytes of output that follow (Ended)
    int errLength; // and then bytes of stderr alone
};

// Runs in the relay's process, forked from Quorix: starts the program `argv` in `dir` and passes
// its output on to the relay's stdout and stderr for as long as it writes, reporting on `report`.
// Between fork and exec only async-signal-safe calls are made: Quorix has threads.
[[noreturn]] void run(int report, char *const argv[], const char *dir);

}
