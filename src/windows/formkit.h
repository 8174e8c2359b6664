// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Small pieces every window of the program shares: twips geometry, the classic fonts and
// system colours, word-wrapping check boxes and radio buttons, drawn lines, single instances.

#include <QButtonGroup>
#include <QCheckBox>
#include <QIcon>
#include <QLabel>
#include <QPointer>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QWidget>

#include <vector>

namespace FormKit {

// Layouts are measured in twips; at 96 dpi fifteen make a pixel.
[[nodiscard]] constexpr int px(int twips)
{
    return (twips + 7) / 15;
}
[[nodiscard]] inline QRect twips(int left, int top, int width, int height)
{
    return {px(left), px(top), px(width), px(height)};
}

// The classic look the layouts were drawn for: the Windows style and its metrics, unless the
// user asked for another style (-style, or QT_STYLE_OVERRIDE).
void applyClassicLook(bool styleGiven = false);

// The fonts the windows were drawn with; faces missing here fall back to close free ones.
enum class Face {
    Default,        // MS Sans Serif 8.25 pt: every window and control without a font of its own
    Message,        // MS Sans Serif 9.75 pt: the warning's message
    WarningHeading, // Arial Black 24 pt bold, underlined: "Warning!!!"
    KeysHeading,    // MS Sans Serif 9.75 pt bold: the keys window's two titles
    KeysLetter,     // MS Sans Serif 24 pt bold: W, A, D, X
    KeysFire,       // MS Sans Serif 12 pt bold: the fire keys
    KeysArrow,      // Symbol 24 pt bold: the four arrows
};
[[nodiscard]] QFont classicFont(Face face);
[[nodiscard]] inline QFont defaultFont()
{
    return classicFont(Face::Default);
}

// Windows system colours by their index, mapped onto the palette.
enum class SystemColor { ScrollBar = 0, Menu = 4, WindowText = 8, CaptionText = 9, AppWorkspace = 12 };

// Gives the widget the background colour of an edit field.
void setFieldBackground(QWidget *field, SystemColor which);

// A line drawn on a window's background; it takes no clicks and no focus.
struct Line {
    const char *name;
    int x1, y1, x2, y2; // twips
    SystemColor color;
    int width; // pixels
};
void drawLines(QWidget *form, const std::vector<Line> &lines);

// The flags of a window the user cannot resize: a title bar with only the buttons given.
[[nodiscard]] Qt::WindowFlags fixedWindowFlags(Qt::WindowFlags typeAndButtons);

// Places the window over the centre of the owner, or of the screen when there is no owner,
// moved as needed to keep it on the screen; a window larger than the screen keeps its top
// left corner (title bar, menu) there.
void centre(QWidget *window, const QWidget *owner);

// Makes the window the owner's transient, so the window manager keeps the two together
// (minimized, raised and stacked as one). releaseOwned() lets the owner's windows go before
// the owner closes, so that they can outlive it.
void setOwner(QWidget *window, const QWidget *owner);

// A fixed window stays normal whatever asks it to fill the screen (a title-bar button Qt draws
// on Weston, the compositor): its contents cannot grow, and a Wayland compositor ends a client
// whose maximized window keeps its size.
void keepNormal(QWidget *window);
void releaseOwned(const QWidget *owner);

// Sizes a label to its caption, keeping the horizontal centre and the top of its design box,
// so that captions meant to line up still do in whatever face stands in.
void sizeToText(QLabel *label, const QRect &box);

// A fixed-box label whose caption wraps; when the caption needs more lines than the box's
// height holds in the face that stands in, the box widens up to maxWidth pixels rather
// than clip a line.
void fitWrapped(QLabel *label, const QRect &box, int maxWidth);

// The program icon: the one 32 x 32 picture in 16 colours, scaled without smoothing (crisp
// pixels) to the sizes desktops ask for, and to the screen's scale for the About picture.
[[nodiscard]] QIcon programIcon();
[[nodiscard]] QPixmap programPicture(qreal devicePixelRatio);

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
