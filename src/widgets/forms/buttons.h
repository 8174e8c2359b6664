// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Check boxes and radio buttons as the classic windows have them: captions that wrap inside
// the box, the whole box taking the click, and one tab stop a group.

#include <QButtonGroup>
#include <QCheckBox>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace Forms {

template <class Button>
struct ButtonLook;
template <>
struct ButtonLook<QCheckBox> {
    static constexpr auto indicator = QStyle::PE_IndicatorCheckBox;
    static constexpr auto indicatorRect = QStyle::SE_CheckBoxIndicator;
    static constexpr auto contents = QStyle::SE_CheckBoxContents;
};
template <>
struct ButtonLook<QRadioButton> {
    static constexpr auto indicator = QStyle::PE_IndicatorRadioButton;
    static constexpr auto indicatorRect = QStyle::SE_RadioButtonIndicator;
    static constexpr auto contents = QStyle::SE_RadioButtonContents;
};

// A check box or radio button whose caption wraps inside its box when one line is too short,
// and whose whole box takes the click.
template <class Button>
class Wrapping : public Button
{
public:
    using Button::Button;

    // Where the caption is drawn.
    [[nodiscard]] QRect captionRect() const
    {
        QStyleOptionButton opt;
        this->initStyleOption(&opt);
        QRect text = this->style()->subElementRect(ButtonLook<Button>::contents, &opt, this);
        text.setTop(0);
        text.setBottom(this->height() - 1);
        text.setRight(this->width() - 1);
        return text;
    }

    // Grows the box, keeping its vertical centre, until the wrapped caption fits in the face
    // that stands in: first wider up to maxWidth, then taller up to maxHeight.
    void fitCaption(int maxWidth, int maxHeight)
    {
        const auto need
            = [this] { return this->fontMetrics().boundingRect(captionRect(), flags, this->text()).size(); };
        QRect box = this->geometry();
        while (box.width() < maxWidth && need().width() > captionRect().width()) {
            box.setWidth(box.width() + 1);
            this->setGeometry(box);
        }
        while (box.height() < maxHeight && need().height() > captionRect().height()) {
            if (box.height() % 2) // alternately down and up, so the centre stays put
                box.setTop(box.top() - 1);
            else
                box.setBottom(box.bottom() + 1);
            this->setGeometry(box);
        }
    }

protected:
    static constexpr int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;

    void paintEvent(QPaintEvent *) override
    {
        QStylePainter p(this);
        QStyleOptionButton opt;
        this->initStyleOption(&opt);
        QStyleOptionButton box = opt;
        box.rect = this->style()->subElementRect(ButtonLook<Button>::indicatorRect, &opt, this);
        p.drawPrimitive(ButtonLook<Button>::indicator, box);
        const QRect text = captionRect();
        p.drawItemText(text, flags, opt.palette, this->isEnabled(), this->text(), QPalette::WindowText);
        if (this->hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = p.boundingRect(text, flags, this->text()).adjusted(-1, 0, 1, 0) & this->rect();
            p.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
        }
    }

    bool hitButton(const QPoint &pos) const override { return this->rect().contains(pos); }
};

// Makes a group of radio buttons one tab stop, its checked button, as option buttons in a
// frame are; the arrow keys move within the group.
void tabStopOnChecked(const QButtonGroup *group);

class RadioButton : public Wrapping<QRadioButton>
{
public:
    using Wrapping<QRadioButton>::Wrapping;

protected:
    // Qt gives the focused button the group's tab stop; it stays with the checked one.
    void focusInEvent(QFocusEvent *event) override
    {
        Wrapping<QRadioButton>::focusInEvent(event);
        tabStopOnChecked(group());
    }
};

// A click never gives the third, grayed state; only the settings file can set it.
class CheckBox : public Wrapping<QCheckBox>
{
public:
    using Wrapping<QCheckBox>::Wrapping;

protected:
    void nextCheckState() override { setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked); }
};

// Check box values as stored (0 clear, 1 set, 2 grayed) and Qt's check states.
[[nodiscard]] qint16 checkValue(Qt::CheckState state);
[[nodiscard]] Qt::CheckState checkState(qint16 value);

}
