// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Everything Quorix writes to stderr goes through here, so the log has one form:
// "quorix: " and a line, or the text as given when it is already whole lines.
namespace Log {

void line(const QString &message); // "quorix: message\n"
void text(const QString &text);    // as it stands
void output(const QString &text);  // to stdout, as it stands (--help, --version)

}
