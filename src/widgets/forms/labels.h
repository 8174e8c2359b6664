// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

namespace Forms {

// Sizes a label to its caption, keeping the horizontal centre and the top of its design box,
// so that captions meant to line up still do in whatever face stands in.
void sizeToText(QLabel *label, const QRect &box);

// A fixed-box label whose caption wraps; when the caption needs more lines than the box's
// height holds in the face that stands in, the box widens up to maxWidth pixels rather
// than clip a line.
void fitWrapped(QLabel *label, const QRect &box, int maxWidth);

}
