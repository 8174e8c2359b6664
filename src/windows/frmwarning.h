// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The program's message box: a big "Warning!!!", one line of message and "Ok". Modeless;
// it takes its message from Module1::strWarning when it loads.
class frmWarning : public QDialog
{
    Q_OBJECT

public:
    explicit frmWarning(QWidget *owner = nullptr);

    // Shows the window with Module1::strWarning, loading it first when it is not open. An open
    // window takes the new message too and comes to the front.
    static frmWarning *showMessage(const QWidget *owner);

    // The open window, if any.
    [[nodiscard]] static frmWarning *instance();

    QLabel *lblWarning = nullptr;
    QLineEdit *txtWarning = nullptr;
    QPushButton *cmdWarning = nullptr;

private:
    void Form_Load();
    void cmdWarning_Click();
};
