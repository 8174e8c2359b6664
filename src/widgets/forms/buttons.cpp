// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/buttons.h"

#include "common/launchoptions.h"

namespace Forms {

void tabStopOnChecked(const QButtonGroup *group)
{
    if (!group)
        return;
    const QList<QAbstractButton *> buttons = group->buttons();
    const QAbstractButton *stop = group->checkedButton() ? group->checkedButton() : buttons.value(0);
    for (QAbstractButton *button : buttons)
        button->setFocusPolicy(button == stop ? Qt::StrongFocus : Qt::ClickFocus);
}

qint16 checkValue(Qt::CheckState state)
{
    switch (state) {
    case Qt::Checked:
        return Check::Set;
    case Qt::PartiallyChecked:
        return Check::Grayed;
    case Qt::Unchecked:
        break;
    }
    return Check::Clear;
}

Qt::CheckState checkState(qint16 value)
{
    switch (value) {
    case Check::Set:
        return Qt::Checked;
    case Check::Grayed:
        return Qt::PartiallyChecked;
    default:
        return Qt::Unchecked;
    }
}

}
