// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <optional>

// A stick's mode is the index of its selected radio button, not the button's place on screen.
using StickMode = qint16;

namespace Stick {
constexpr StickMode Disable = 0;
constexpr StickMode RightKeyboard = 1;
constexpr StickMode LeftKeyboard = 2;
constexpr StickMode Joystick = 3;
constexpr int ModeCount = 4;
}

// Check box values as the settings file stores them. Only Set switches an option on.
namespace Check {
constexpr qint16 Clear = 0;
constexpr qint16 Set = 1;
constexpr qint16 Grayed = 2;
}

// The options the main window's controls hold; a snapshot, never a second store.
struct LaunchOptions {
    qint16 debug = Check::Clear;
    qint16 noLimit = Check::Clear;
    qint16 noSound = Check::Clear;
    qint16 noVoice = Check::Clear;
    std::optional<StickMode> stick1; // empty: no button of the group selected
    std::optional<StickMode> stick2;

    friend bool operator==(const LaunchOptions &a, const LaunchOptions &b)
    {
        return a.debug == b.debug && a.noLimit == b.noLimit && a.noSound == b.noSound && a.noVoice == b.noVoice
            && a.stick1 == b.stick1 && a.stick2 == b.stick2;
    }
    friend bool operator!=(const LaunchOptions &a, const LaunchOptions &b) { return !(a == b); }
};
