// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <vector>

namespace Forms {

// Windows system colours by their index, mapped onto the palette.
enum class SystemColor { ScrollBar = 0, Menu = 4, WindowText = 8, CaptionText = 9, AppWorkspace = 12 };

// Gives the widget the background colour of an edit field.
void setFieldBackground(QWidget *field, SystemColor which);

// A line drawn on a window's background; it takes no clicks and no focus.
struct Line {
    int x1, y1, x2, y2; // twips
    SystemColor color;
    int width; // pixels
};
void drawLines(QWidget *form, const std::vector<Line> &lines);

}
