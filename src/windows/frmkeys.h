// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "windows/formkit.h"

#include <QDialog>

class QLabel;
class QPushButton;

// A static help page: the keys of the two keyboard stick modes and the emulator's own keys.
// Modeless; its only action is closing.
class frmKeys : public QDialog
{
    Q_OBJECT

public:
    explicit frmKeys(QWidget *owner = nullptr);

    // Shows the one keys window, loading it centred on the owner when it is not open.
    static frmKeys *showWindow(const QWidget *owner);
    [[nodiscard]] static frmKeys *instance();

    // The arrows' captions: the Symbol font's codes 0xAC to 0xAF, as the characters they draw.
    static constexpr char16_t LeftArrow = u'\u2190';
    static constexpr char16_t UpArrow = u'\u2191';
    static constexpr char16_t RightArrow = u'\u2192';
    static constexpr char16_t DownArrow = u'\u2193';

    QPushButton *cmdOK = nullptr;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void buildLeftKeys();
    void buildRightKeys();
    void buildNotes();
    QLabel *label(const char *name, const QString &caption, const QFont &font, const QRect &box);
    void fireLabel(const char *name, const QString &caption, const QRect &box);
    void cmdOK_Click();

    std::vector<FormKit::Line> m_lines;
};
