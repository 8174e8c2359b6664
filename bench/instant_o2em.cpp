// SPDX-License-Identifier: GPL-3.0-or-later
// Stands in for the emulator in the launch benchmark: exits at once.
int main()
{
    return 0;
}
