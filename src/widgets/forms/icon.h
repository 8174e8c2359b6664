// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QPixmap>

namespace Forms {

// The program icon: the one 32 x 32 picture in 16 colours, scaled without smoothing (crisp
// pixels) to the sizes desktops ask for, and to the screen's scale for the About picture.
[[nodiscard]] QIcon programIcon();
[[nodiscard]] QPixmap programPicture(qreal devicePixelRatio);

}
