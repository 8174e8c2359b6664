// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/fixedwindow.h"

class QLabel;

// The About box: the icon, the version in the title bar, a credit and a short notice.
// Modal; a click anywhere inside it closes it.
class frmAbout : public FixedWindow
{
    Q_OBJECT

public:
    frmAbout();

    // Shows the About box modally, centred on the owner; returns once it has been closed.
    static void showModal(const QWidget *owner);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void Form_Click();

    QLabel *Image1 = nullptr;
    QLabel *lblAuthor = nullptr;
    QLabel *lblCopyright = nullptr;
};
