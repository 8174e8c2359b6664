// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/frmkeys.h"

#include <QLabel>
#include <QPushButton>

using namespace FormKit;

namespace {

QFont heading() { return classicFont(QStringLiteral("MS Sans Serif"), 9.75, true); }
QFont letter() { return classicFont(QStringLiteral("MS Sans Serif"), 24, true); }
QFont fire() { return classicFont(QStringLiteral("MS Sans Serif"), 12, true); }
QFont arrow() { return classicFont(QStringLiteral("Symbol"), 24, true); }

}

frmKeys::frmKeys(QWidget *owner)
    : QDialog(owner)
{
    setUpDialog(this, "frmKeys", QStringLiteral("Keys- Quorix"), 6375, 3765);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(twips(4920, 3120, 1215, 495));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmKeys::cmdOK_Click);

    buildLeftKeys();
    buildRightKeys();
    buildNotes();
    // Line2 lies over Line1: together one engraved rule.
    m_lines = {{"Line3", 3120, 2760, 3120, 120, SystemColor::WindowText, 1},
               {"Line1", 120, 2880, 6240, 2880, SystemColor::AppWorkspace, 3},
               {"Line2", 240, 2880, 6120, 2880, SystemColor::CaptionText, 1}};
}

QLabel *frmKeys::label(const char *name, const QString &caption, const QFont &font, const QRect &box)
{
    auto *l = new QLabel(caption, this);
    l->setObjectName(QLatin1String(name));
    l->setFont(font);
    l->setAlignment(Qt::AlignCenter);
    sizeToText(l, box);
    return l;
}

// The fire key's name in a fixed box that wraps it: "Left" above "Shift".
void frmKeys::fireLabel(const char *name, const QString &caption, const QRect &box)
{
    auto *l = new QLabel(caption, this);
    l->setObjectName(QLatin1String(name));
    l->setFont(fire());
    l->setAlignment(Qt::AlignCenter);
    l->setWordWrap(true);
    l->setGeometry(box);
}

void frmKeys::buildLeftKeys()
{
    label("lblLeftKeys", QStringLiteral("Left Keyboard Controls:"), heading(), twips(285, 120, 2445, 240));
    label("lblLeftUp", QStringLiteral("W"), letter(), twips(1305, 480, 525, 555));
    label("lblLeftDown", QStringLiteral("X"), letter(), twips(1345, 2160, 375, 555));
    label("lblLeftLeft", QStringLiteral("A"), letter(), twips(555, 1320, 375, 555));
    label("lblLeftRight", QStringLiteral("D"), letter(), twips(2220, 1320, 405, 555));
    fireLabel("lblLeftFire", QStringLiteral("Left Shift"), twips(1230, 1320, 675, 585));
}

void frmKeys::buildRightKeys()
{
    label("lblRightKeys", QStringLiteral("Right Keyboard Controls:"), heading(), twips(3510, 120, 2625, 240));
    fireLabel("lblRightFire", QStringLiteral("Right Shift"), twips(4395, 1320, 675, 585));
    label("lblRightRight", QString(QChar(RightArrow)), arrow(), twips(5325, 1320, 525, 525));
    label("lblRightLeft", QString(QChar(LeftArrow)), arrow(), twips(3645, 1320, 525, 525));
    label("lblRightDown", QString(QChar(DownArrow)), arrow(), twips(4560, 2160, 345, 525));
    label("lblRightUP", QString(QChar(UpArrow)), arrow(), twips(4560, 480, 345, 525));
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

void frmKeys::paintEvent(QPaintEvent *)
{
    drawLines(this, m_lines);
}

void frmKeys::cmdOK_Click()
{
    close();
}

frmKeys *frmKeys::instance()
{
    return defaultInstance<frmKeys>();
}

frmKeys *frmKeys::showWindow(const QWidget *owner)
{
    return showSingle(defaultInstance<frmKeys>(), [owner] {
        auto *w = new frmKeys;
        centre(w, owner);
        setOwner(w, owner);
        w->cmdOK->setFocus();
        return w;
    });
}
