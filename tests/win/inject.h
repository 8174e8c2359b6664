// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Nothing can be injected on Windows (TestKit::FaultInjection says why); the switches
// are there so that the rows compile, and stay off.
static bool failRename = false, unknownTypes = false;
