// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/fixedwindow.h"

class QLabel;
class QLineEdit;
class QPushButton;

// The program's message box: a big "Warning!!!", one line of message and "Ok". Modeless;
// it takes its message from Module1::strWarning when it loads.
class frmWarning : public FixedWindow
{
    Q_OBJECT

public:
    frmWarning();

    // Shows the window with Module1::strWarning, loading it first when it is not open. An open
    // window takes the new message too and comes to the front. `details`, when given, is the
    // whole story behind the line (what the emulator printed), for the tooltip and screen readers.
    static frmWarning *showMessage(const QWidget *owner, const QString &details = {});

private:
    void Form_Load(const QString &details = {});
    void cmdWarning_Click();

    QLabel *lblWarning = nullptr;
    QLineEdit *txtWarning = nullptr;
    QPushButton *cmdWarning = nullptr;
};
