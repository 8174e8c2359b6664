// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/log.h"

#include <cstdio>

namespace Log {

void line(const QString &message)
{
    text(QStringLiteral("quorix: %1\n").arg(message));
}

void text(const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

void output(const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
}

}
