// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/frmkeys.h"

#include "forms/colours.h"
#include "forms/fonts.h"
#include "forms/labels.h"
#include "forms/titles.h"
#include "forms/twips.h"

#include <QLabel>
#include <QPushButton>

using namespace Forms;

namespace {
// The arrows' captions: the Symbol font's codes 0xAC to 0xAF, as the characters they draw.
constexpr char16_t LeftArrow = u'\u2190';
constexpr char16_t UpArrow = u'\u2191';
constexpr char16_t RightArrow = u'\u2192';
constexpr char16_t DownArrow = u'\u2193';
}

frmKeys::frmKeys()
    : FixedWindow("frmKeys", Title::Keys, 6375, 3765)
{
    cmdOK = addDefaultButton("cmdOK", QStringLiteral("OK"), twips(4920, 3120, 1215, 495));
    connect(cmdOK, &QPushButton::clicked, this, &frmKeys::cmdOK_Click);

    buildLeftKeys();
    buildRightKeys();
    buildNotes();
    // Line3 divides the two layouts; Line2 lies over Line1: together one engraved rule.
    setLines({{3120, 2760, 3120, 120, SystemColor::WindowText, 1},
              {120, 2880, 6240, 2880, SystemColor::AppWorkspace, 3},
              {240, 2880, 6120, 2880, SystemColor::CaptionText, 1}});
}

QLabel *frmKeys::label(const char *name, const QString &caption, Face face, const QRect &box)
{
    auto *l = new QLabel(caption, this);
    l->setObjectName(QLatin1String(name));
    l->setFont(classicFont(face));
    l->setAlignment(Qt::AlignCenter);
    if (face == Face::KeysFire) { // the fire key's name in a fixed box that wraps it: "Left" above "Shift"
        l->setWordWrap(true);
        l->setGeometry(box);
    } else {
        sizeToText(l, box);
    }
    return l;
}

void frmKeys::buildLeftKeys()
{
    label("lblLeftKeys", QStringLiteral("Left Keyboard Controls:"), Face::KeysHeading, twips(285, 120, 2445, 240));
    label("lblLeftUp", QStringLiteral("W"), Face::KeysLetter, twips(1305, 480, 525, 555));
    // X under W and the fire key: the form had it 35 twips left of their centre line.
    label("lblLeftDown", QStringLiteral("X"), Face::KeysLetter, twips(1380, 2160, 375, 555));
    label("lblLeftLeft", QStringLiteral("A"), Face::KeysLetter, twips(555, 1320, 375, 555));
    label("lblLeftRight", QStringLiteral("D"), Face::KeysLetter, twips(2220, 1320, 405, 555));
    label("lblLeftFire", QStringLiteral("Left Shift"), Face::KeysFire, twips(1230, 1320, 675, 585));
}

void frmKeys::buildRightKeys()
{
    label("lblRightKeys", QStringLiteral("Right Keyboard Controls:"), Face::KeysHeading, twips(3510, 120, 2625, 240));
    label("lblRightFire", QStringLiteral("Right Shift"), Face::KeysFire, twips(4395, 1320, 675, 585));
    label("lblRightRight", QString(QChar(RightArrow)), Face::KeysArrow, twips(5325, 1320, 525, 525));
    label("lblRightLeft", QString(QChar(LeftArrow)), Face::KeysArrow, twips(3645, 1320, 525, 525));
    label("lblRightDown", QString(QChar(DownArrow)), Face::KeysArrow, twips(4560, 2160, 345, 525));
    label("lblRightUP", QString(QChar(UpArrow)), Face::KeysArrow, twips(4560, 480, 345, 525));
}

void frmKeys::buildNotes()
{
    // Each may widen into the gap on its right (the next text, the OK button) instead of clipping.
    const auto note = [this](const char *name, const char *caption, const QRect &box, int rightLimit) {
        auto *l = new QLabel(QLatin1String(caption), this);
        l->setObjectName(QLatin1String(name));
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        fitWrapped(l, box, px(rightLimit) - box.left());
    };
    note("lblEmuKeys", "ESC - Exit O2EM  F4 - Enter Debugger F5 - Reset Emulator", twips(240, 3000, 1455, 615), 1920);
    note("lblDebugKey", "Pressing H in the debug mode brings up help.", twips(2040, 3000, 1335, 615), 4800);
}

void frmKeys::cmdOK_Click()
{
    close();
}

frmKeys *frmKeys::showWindow(const QWidget *owner)
{
    return open<frmKeys>(owner);
}
