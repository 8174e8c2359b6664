// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/colours.h"

#include "forms/twips.h"

#include <QPainter>

namespace Forms {

static QColor systemColor(SystemColor which, const QPalette &palette)
{
    switch (which) {
    case SystemColor::ScrollBar:
        return palette.color(QPalette::Midlight);
    case SystemColor::Menu:
        return palette.color(QPalette::Window);
    case SystemColor::WindowText:
        return palette.color(QPalette::WindowText);
    case SystemColor::CaptionText:
        return palette.color(QPalette::HighlightedText);
    case SystemColor::AppWorkspace:
        return palette.color(QPalette::Mid);
    }
    return palette.color(QPalette::WindowText);
}

void setFieldBackground(QWidget *field, SystemColor which)
{
    QPalette p = field->palette();
    p.setColor(QPalette::Base, systemColor(which, p));
    field->setPalette(p);
}

void drawLines(QWidget *form, const std::vector<Line> &lines)
{
    QPainter p(form);
    for (const Line &line : lines) {
        QPen pen(systemColor(line.color, form->palette()), line.width);
        pen.setCapStyle(Qt::FlatCap);
        p.setPen(pen);
        p.drawLine(QPointF(px(line.x1), px(line.y1) + 0.5), QPointF(px(line.x2), px(line.y2) + 0.5));
    }
}

}
