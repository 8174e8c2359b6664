// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "windows/formkit.h"

#include <QDialog>

class QLabel;

// The About box: the icon, the version in the title bar, a credit and a short notice.
// Modal; a click anywhere inside it closes it.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget *owner = nullptr);

    // Shows the About box modally, centred on the owner; returns once it has been closed.
    static void showModal(const QWidget *owner);
    [[nodiscard]] static frmAbout *instance();

    QLabel *Image1 = nullptr;
    QLabel *lblAuthor = nullptr;
    QLabel *lblCopyright = nullptr;

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void Form_Click();

    std::vector<FormKit::Line> m_lines;
};
