// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/module1.h"

namespace Module1 {
QString strWarning;
QString strDebug;
QString strNoLimit;
QString strNoSound;
QString strStick1;
QString strStick2;
}
