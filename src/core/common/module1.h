// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Program-wide strings. The launch rewrites the command-line pieces on every call;
// whoever opens the warning window sets strWarning first.
namespace Module1 {
extern QString strWarning;
extern QString strDebug;
extern QString strNoLimit;
extern QString strNoSound;
extern QString strStick1;
extern QString strStick2;
}
