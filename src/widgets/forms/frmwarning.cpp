// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/frmwarning.h"

#include "common/module1.h"
#include "forms/colours.h"
#include "forms/fonts.h"
#include "forms/labels.h"
#include "forms/titles.h"
#include "forms/twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionFrame>

using namespace Forms;

namespace {

// The message field holds the whole message, to be selected and copied with the mouse or, once
// Tab has reached it, the keyboard (Ctrl+C), and to be scrolled through there. A message too long
// for the field's row is shown on two while the field has no focus, broken at a blank, what
// does not fit ending in an ellipsis.
class MessageField : public QLineEdit
{
public:
    using QLineEdit::QLineEdit;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QStyleOptionFrame panel;
        initStyleOption(&panel);
        const QRect room = style()->subElementRect(QStyle::SE_LineEditContents, &panel, this) - textMargins()
            - QMargins(2, 0, 2, 0); // the line edit's own margin
        const QFontMetrics metrics = fontMetrics();
        const QString whole = text();
        if (hasFocus() || metrics.horizontalAdvance(whole) <= room.width()) {
            QLineEdit::paintEvent(event);
            return;
        }
        qsizetype cut = whole.lastIndexOf(u' ');
        while (cut > 0 && metrics.horizontalAdvance(whole.left(cut)) > room.width())
            cut = whole.lastIndexOf(u' ', cut - 1);
        const QString rows = cut > 0
            ? whole.left(cut) + u'\n' + metrics.elidedText(whole.mid(cut + 1), Qt::ElideRight, room.width())
            : metrics.elidedText(whole, Qt::ElideRight, room.width());
        QPainter p(this);
        style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &p, this);
        p.setPen(palette().color(QPalette::Text));
        p.drawText(room, Qt::AlignCenter, rows);
    }
};

}

frmWarning::frmWarning()
    : FixedWindow("frmWarning", Title::Warning, 4695, 2160)
{
    cmdWarning = addDefaultButton("cmdWarning", QStringLiteral("Ok"),
                                  twips(1680, 1560, 1215, 495)); // Esc closes a dialog anyway
    connect(cmdWarning, &QPushButton::clicked, this, &frmWarning::cmdWarning_Click);

    lblWarning = new QLabel(QStringLiteral("Warning!!!"), this);
    lblWarning->setObjectName(QStringLiteral("lblWarning"));
    lblWarning->setFont(classicFont(Face::WarningHeading));
    lblWarning->setAlignment(Qt::AlignCenter);
    sizeToText(lblWarning, twips(945, 0, 2805, 675));

    txtWarning = new MessageField(this);
    txtWarning->setObjectName(QStringLiteral("txtWarning"));
    txtWarning->setGeometry(twips(360, 840, 3975, 495));
    txtWarning->setFont(classicFont(Face::Message));
    txtWarning->setReadOnly(true);
    txtWarning->setAlignment(Qt::AlignCenter);
    txtWarning->setAccessibleName(QStringLiteral("Message"));
    setFieldBackground(txtWarning, SystemColor::ScrollBar);

    Form_Load();
}

void frmWarning::Form_Load(const QString &details)
{
    const QString &message = Module1::strWarning;
    txtWarning->setText(message);
    txtWarning->setCursorPosition(0); // scrolled, the field starts at its start
    // The whole story, with what the emulator printed: a tooltip for the mouse, What's This
    // (Shift+F1, anywhere in the window) for the keyboard, and for screen readers.
    const QString whole = details.isEmpty() ? message : message + u'\n' + details;
    const int room = txtWarning->width() - 8; // the frame, and the line edit's own margins
    txtWarning->setToolTip(details.isEmpty() && txtWarning->fontMetrics().horizontalAdvance(message) <= room ? QString()
                                                                                                             : whole);
    txtWarning->setAccessibleDescription(whole);
    txtWarning->setWhatsThis(whole);
    setWhatsThis(whole);
}

void frmWarning::cmdWarning_Click()
{
    close();
}

frmWarning *frmWarning::showMessage(const QWidget *owner, const QString &details)
{
    frmWarning *window = open<frmWarning>(owner);
    window->Form_Load(details); // an open window shows the newest message, not a stale one
    return window;
}
