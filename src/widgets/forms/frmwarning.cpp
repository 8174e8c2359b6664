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
#include <QPushButton>

using namespace FormKit;

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

    txtWarning = new QLineEdit(this);
    txtWarning->setObjectName(QStringLiteral("txtWarning"));
    txtWarning->setGeometry(twips(360, 840, 3975, 495));
    txtWarning->setFont(classicFont(Face::Message));
    txtWarning->setReadOnly(true);
    txtWarning->setFocusPolicy(Qt::NoFocus);
    txtWarning->setAlignment(Qt::AlignCenter);
    txtWarning->setAccessibleName(QStringLiteral("Message"));
    setFieldBackground(txtWarning, SystemColor::ScrollBar);

    Form_Load();
}

void frmWarning::Form_Load(const QString &details)
{
    // Every message is written to fit the one line; should one not, its end gives way to "..."
    // and the whole of it is in the tooltip and told to screen readers.
    const QString &message = Module1::strWarning;
    const QMargins m = txtWarning->textMargins() + QMargins(4, 0, 4, 0); // the frame and the line edit's own
    const int room = txtWarning->width() - m.left() - m.right();
    txtWarning->setText(txtWarning->fontMetrics().elidedText(message, Qt::ElideRight, room));
    const QString whole = details.isEmpty() ? message : message + QLatin1Char('\n') + details;
    txtWarning->setToolTip(whole == txtWarning->text() ? QString() : whole);
    txtWarning->setAccessibleDescription(whole);
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
