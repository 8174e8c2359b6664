// SPDX-License-Identifier: GPL-3.0-or-later
// One keyboard and one pointer that stay for the whole check, so that no new device appears
// at each key (a new keyboard makes Qt close an open menu): the wlroots protocols (sway), else
// KWin's fake input. Reads one action a line on stdin:
//   move X Y        the pointer to X, Y on the WIDTH x HEIGHT layout given as arguments
//   click           the left button, pressed and released
//   key CODE...     evdev key codes pressed in order, released in reverse (56 62: Alt+F4)
#define _GNU_SOURCE // memfd_create
#include "fake-input-client.h"
#include "virtual-keyboard-client.h"
#include "virtual-pointer-client.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

static struct wl_seat *seat;
static struct zwlr_virtual_pointer_manager_v1 *pointers;
static struct zwp_virtual_keyboard_manager_v1 *keyboards;
static struct org_kde_kwin_fake_input *fake;

static void global(void *data, struct wl_registry *registry, uint32_t name, const char *interface, uint32_t version)
{
    (void)data;
    if (!strcmp(interface, wl_seat_interface.name))
        seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
    else if (!strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name))
        pointers = wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1);
    else if (!strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name))
        keyboards = wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1);
    else if (!strcmp(interface, org_kde_kwin_fake_input_interface.name) && version >= 4)
        fake = wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4);
}
static void global_remove(void *data, struct wl_registry *registry, uint32_t name)
{
    (void)data, (void)registry, (void)name;
}
static const struct wl_registry_listener listener = {global, global_remove};

static uint32_t now(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (uint32_t)(t.tv_sec * 1000 + t.tv_nsec / 1000000);
}

// The compositor is told the keymap once, as the file the protocol asks for.
static void sendKeymap(struct zwp_virtual_keyboard_v1 *keyboard)
{
    struct xkb_context *context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    struct xkb_rule_names names = {0};
    names.layout = "us";
    struct xkb_keymap *keymap = xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    char *text = xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
    const size_t size = strlen(text) + 1;
    const int fd = memfd_create("keymap", MFD_CLOEXEC);
    if (fd < 0 || write(fd, text, size) != (ssize_t)size) {
        perror("vinput: keymap");
        exit(1);
    }
    zwp_virtual_keyboard_v1_keymap(keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd, (uint32_t)size);
    free(text);
    xkb_keymap_unref(keymap);
    xkb_context_unref(context);
}

// The modifier a key code sets in the "us" keymap (Shift, Control, Mod1), else 0.
static uint32_t modifierOf(unsigned code)
{
    switch (code) {
    case 42:
    case 54:
        return 1;
    case 29:
    case 97:
        return 4;
    case 56:
    case 100:
        return 8;
    default:
        return 0;
    }
}

int main(int argc, char **argv)
{
    if (argc != 3) {
        fputs("usage: vinput WIDTH HEIGHT (actions on stdin)\n", stderr);
        return 2;
    }
    const uint32_t width = (uint32_t)atoi(argv[1]), height = (uint32_t)atoi(argv[2]);
    struct wl_display *display = wl_display_connect(NULL);
    if (!display) {
        fputs("vinput: no Wayland display\n", stderr);
        return 1;
    }
    wl_registry_add_listener(wl_display_get_registry(display), &listener, NULL);
    wl_display_roundtrip(display);
    struct zwlr_virtual_pointer_v1 *pointer = NULL;
    struct zwp_virtual_keyboard_v1 *keyboard = NULL;
    if (seat && pointers && keyboards) {
        pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(pointers, seat);
        keyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(keyboards, seat);
        sendKeymap(keyboard);
    } else if (fake) {
        org_kde_kwin_fake_input_authenticate(fake, "scripts/desktops", "drives Quorix as a user would");
    } else {
        fputs("vinput: the compositor has no virtual pointer or keyboard\n", stderr);
        return 1;
    }
    wl_display_roundtrip(display);

    char line[256];
    while (fgets(line, sizeof line, stdin)) {
        unsigned x, y;
        if (sscanf(line, "move %u %u", &x, &y) == 2) {
            // By way of a point beside it: a move to where the pointer already is changes
            // nothing, and the surface under it may have changed since.
            for (unsigned step = 0; step < 2; ++step) {
                if (pointer) {
                    zwlr_virtual_pointer_v1_motion_absolute(pointer, now(), x + 1 - step, y, width, height);
                    zwlr_virtual_pointer_v1_frame(pointer);
                } else {
                    org_kde_kwin_fake_input_pointer_motion_absolute(fake, wl_fixed_from_int((int)(x + 1 - step)),
                                                                    wl_fixed_from_int((int)y));
                }
                wl_display_roundtrip(display);
            }
        } else if (!strncmp(line, "click", 5)) {
            for (uint32_t state = 1; state != (uint32_t)-1; --state) {
                if (pointer) {
                    zwlr_virtual_pointer_v1_button(pointer, now(), 0x110, state);
                    zwlr_virtual_pointer_v1_frame(pointer);
                } else {
                    org_kde_kwin_fake_input_button(fake, 0x110, state);
                }
                wl_display_roundtrip(display);
                usleep(50000); // a nested compositor passes the press on before the release comes
            }
        } else if (!strncmp(line, "key", 3)) {
            unsigned codes[8];
            int n = 0, used = 0;
            const char *p = line + 3;
            while (n < 8 && sscanf(p, "%u%n", &codes[n], &used) == 1) {
                p += used;
                ++n;
            }
            uint32_t mods = 0;
            for (int i = 0; i < n && !keyboard; ++i) { // KWin tracks the modifiers itself
                org_kde_kwin_fake_input_keyboard_key(fake, codes[i], WL_KEYBOARD_KEY_STATE_PRESSED);
                wl_display_roundtrip(display);
            }
            for (int i = n - 1; i >= 0 && !keyboard; --i) {
                org_kde_kwin_fake_input_keyboard_key(fake, codes[i], WL_KEYBOARD_KEY_STATE_RELEASED);
                wl_display_roundtrip(display);
            }
            for (int i = 0; i < n && keyboard; ++i) {
                zwp_virtual_keyboard_v1_key(keyboard, now(), codes[i], WL_KEYBOARD_KEY_STATE_PRESSED);
                if (modifierOf(codes[i]))
                    zwp_virtual_keyboard_v1_modifiers(keyboard, mods |= modifierOf(codes[i]), 0, 0, 0);
                wl_display_roundtrip(display);
            }
            for (int i = n - 1; i >= 0 && keyboard; --i) {
                zwp_virtual_keyboard_v1_key(keyboard, now(), codes[i], WL_KEYBOARD_KEY_STATE_RELEASED);
                if (modifierOf(codes[i]))
                    zwp_virtual_keyboard_v1_modifiers(keyboard, mods &= ~modifierOf(codes[i]), 0, 0, 0);
                wl_display_roundtrip(display);
            }
        } else {
            fprintf(stderr, "vinput: unknown action: %s", line);
        }
        wl_display_roundtrip(display);
        printf("ok\n");
        fflush(stdout);
    }
    wl_display_disconnect(display);
    return 0;
}
