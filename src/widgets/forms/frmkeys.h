// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/fixedwindow.h"
#include "forms/fonts.h"

class QLabel;
class QPushButton;

// A static help page: the keys of the two keyboard stick modes and the emulator's own keys.
// Modeless; its only action is closing.
class frmKeys : public FixedWindow
{
    Q_OBJECT

public:
    frmKeys();

    // Shows the one keys window, loading it centred on the owner when it is not open.
    static frmKeys *showWindow(const QWidget *owner);

private:
    void buildLeftKeys();
    void buildRightKeys();
    void buildNotes();
    QLabel *label(const char *name, const QString &caption, Forms::Face face, const QRect &box);
    void cmdOK_Click();

    QPushButton *cmdOK = nullptr;
};
