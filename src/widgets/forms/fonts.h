// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

namespace Forms {

// The classic look the layouts were drawn for: the Windows style and its metrics, unless the
// user asked for another style (-style, or QT_STYLE_OVERRIDE).
void applyClassicLook(bool styleGiven = false);

// The fonts the windows were drawn with; faces missing here fall back to close free ones.
enum class Face {
    Default,        // MS Sans Serif 8.25 pt: every window and control without a font of its own
    Message,        // MS Sans Serif 9.75 pt: the warning's message
    WarningHeading, // Arial Black 24 pt bold, underlined: "Warning!!!"
    KeysHeading,    // MS Sans Serif 9.75 pt bold: the keys window's two titles
    KeysLetter,     // MS Sans Serif 24 pt bold: W, A, D, X
    KeysFire,       // MS Sans Serif 12 pt bold: the fire keys
    KeysArrow,      // Symbol 24 pt bold: the four arrows
};
[[nodiscard]] QFont classicFont(Face face);
[[nodiscard]] inline QFont defaultFont()
{
    return classicFont(Face::Default);
}

}
