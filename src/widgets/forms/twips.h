// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

namespace Forms {

// Layouts are measured in twips; at 96 dpi fifteen make a pixel.
[[nodiscard]] constexpr int px(int twips)
{
    return (twips + 7) / 15;
}
[[nodiscard]] inline QRect twips(int left, int top, int width, int height)
{
    return {px(left), px(top), px(width), px(height)};
}

}
