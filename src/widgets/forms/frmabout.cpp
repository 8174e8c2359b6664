// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/frmabout.h"

#include "forms/colours.h"
#include "forms/icon.h"
#include "forms/modalinput.h"
#include "forms/titles.h"
#include "forms/twips.h"

#include <QEventLoop>
#include <QLabel>
#include <QMouseEvent>

using namespace Forms;

frmAbout::frmAbout()
    : FixedWindow("frmAbout", Title::About, 3120, 1695)
{
    // The labels take no clicks of their own: a click on them reaches the window and closes it.
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(programPicture(devicePixelRatioF())); // crisp at any scale
    Image1->setGeometry(twips(240, 120, 480, 480));
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop); // natural size, never stretched

    lblAuthor = new QLabel(QStringLiteral("Written by the Quorix team"), this);
    lblAuthor->setObjectName(QStringLiteral("lblAuthor"));
    lblAuthor->move(px(960), px(240));
    lblAuthor->adjustSize();

    // One part a line, whatever face stands in for the one the box was drawn for.
    lblCopyright = new QLabel(QStringLiteral("Free software, GNU GPL 3 or later.\n"
                                             "Please keep emulation free!\n"
                                             "Bugs and ideas: see the README."),
                              this);
    lblCopyright->setObjectName(QStringLiteral("lblCopyright"));
    lblCopyright->setWordWrap(true);
    lblCopyright->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblCopyright->setGeometry(twips(120, 960, 2775, 615));

    // Line2 lies over Line1: together one engraved rule.
    setLines({{120, 720, 3000, 720, SystemColor::AppWorkspace, 3}, {120, 720, 3000, 720, SystemColor::CaptionText, 1}});
}

void frmAbout::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Form_Click();
}

void frmAbout::Form_Click()
{
    close();
}

void frmAbout::showModal(const QWidget *owner)
{
    // Modal without exec(), whose loop would end when the box is shown afresh to come to the front.
    frmAbout *about = load<frmAbout>(owner, Qt::ApplicationModal);
    QEventLoop loop;
    connect(about, &QDialog::finished, &loop, &QEventLoop::quit);
    connect(about, &QObject::destroyed, &loop, &QEventLoop::quit);
    Stacking::holdInput(about);
    about->show();
    loop.exec(QEventLoop::DialogExec);
}
