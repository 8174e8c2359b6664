// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/launchoptions.h"

#include <optional>

namespace StickRule {

// The mode after m, with Joystick wrapping round to Disable.
[[nodiscard]] constexpr StickMode nextMode(StickMode m)
{
    return static_cast<StickMode>((m == Stick::Joystick ? -1 : m) + 1);
}

// One stick's button `index` has just become selected. When the other stick's button of the
// same index is in the same state (both selected), the other stick must move on to the
// returned mode; otherwise nothing moves.
[[nodiscard]] constexpr std::optional<StickMode> moveForOther(StickMode index, bool selectedHere, bool selectedThere)
{
    if (selectedHere != selectedThere)
        return std::nullopt;
    return nextMode(index);
}

}
