// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/labels.h"

namespace Forms {

void sizeToText(QLabel *label, const QRect &box)
{
    label->adjustSize();
    label->move(box.center().x() + 1 - label->width() / 2, box.top());
}

void fitWrapped(QLabel *label, const QRect &box, int maxWidth)
{
    label->setWordWrap(true);
    QRect r = box;
    while (r.width() < maxWidth && label->heightForWidth(r.width()) > r.height())
        r.setWidth(r.width() + 1);
    label->setGeometry(r);
}

}
