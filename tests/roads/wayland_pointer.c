/* A pointer for a Wayland compositor that has no input devices, such as
 * sway on its headless backend: a virtual pointer of the compositor
 * (zwlr_virtual_pointer_v1), moved and pressed by lines read from stdin.
 *
 *   wayland_pointer WIDTH HEIGHT      (the output's size in pixels)
 *
 *   move X Y      puts the pointer at X,Y of the output
 *   press         presses the left button
 *   release       lets it go
 *
 * Answers each line with "ok" once the compositor has handled it. Exits 3
 * when the compositor offers no virtual pointers.
 */
#include <wayland-client.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

/* The protocol's two interfaces, as far as used here; the opcodes are the
 * places of the requests in the protocol. */
extern const struct wl_interface virtualPointerInterface;

static const struct wl_interface* managerCreateTypes[] = {&wl_seat_interface, &virtualPointerInterface};
static const struct wl_message managerRequests[] = {
    {"create_virtual_pointer", "?on", managerCreateTypes},
    {"destroy", "", NULL},
};
static const struct wl_interface virtualPointerManagerInterface = {
    "zwlr_virtual_pointer_manager_v1", 1, 2, managerRequests, 0, NULL,
};

static const struct wl_interface* noTypes[] = {NULL, NULL, NULL, NULL, NULL};
static const struct wl_message pointerRequests[] = {
    {"motion", "uff", noTypes},
    {"motion_absolute", "uuuuu", noTypes},
    {"button", "uuu", noTypes},
    {"axis", "uuf", noTypes},
    {"frame", "", NULL},
};
const struct wl_interface virtualPointerInterface = {
    "zwlr_virtual_pointer_v1", 1, 5, pointerRequests, 0, NULL,
};

enum { MotionAbsolute = 1, Button = 2, Frame = 4 };
enum { LeftButton = 0x110 }; /* BTN_LEFT */

static struct wl_seat* seat;
static struct wl_proxy* manager;

static void announced(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
                      uint32_t version)
{
    (void)data;
    (void)version;
    if (strcmp(interface, "wl_seat") == 0 && !seat)
        seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
    else if (strcmp(interface, virtualPointerManagerInterface.name) == 0)
        manager = wl_registry_bind(registry, name, &virtualPointerManagerInterface, 1);
}

static void removed(void* data, struct wl_registry* registry, uint32_t name)
{
    (void)data;
    (void)registry;
    (void)name;
}

static const struct wl_registry_listener registryListener = {announced, removed};

static uint32_t milliseconds(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (uint32_t)(t.tv_sec * 1000 + t.tv_nsec / 1000000);
}

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: %s WIDTH HEIGHT\n", argv[0]);
        return 2;
    }
    uint32_t width = (uint32_t)atoi(argv[1]), height = (uint32_t)atoi(argv[2]);
    struct wl_display* display = wl_display_connect(NULL);
    if (!display) {
        fprintf(stderr, "no Wayland compositor\n");
        return 1;
    }
    struct wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, NULL);
    wl_display_roundtrip(display);
    if (!manager) {
        fprintf(stderr, "the compositor offers no virtual pointers\n");
        return 3;
    }
    struct wl_proxy* pointer =
        wl_proxy_marshal_constructor(manager, 0, &virtualPointerInterface, seat, NULL);
    wl_display_roundtrip(display);

    char line[128];
    while (fgets(line, sizeof line, stdin)) {
        unsigned x = 0, y = 0;
        if (sscanf(line, "move %u %u", &x, &y) == 2)
            wl_proxy_marshal(pointer, MotionAbsolute, milliseconds(), x, y, width, height);
        else if (strncmp(line, "press", 5) == 0)
            wl_proxy_marshal(pointer, Button, milliseconds(), LeftButton, WL_POINTER_BUTTON_STATE_PRESSED);
        else if (strncmp(line, "release", 7) == 0)
            wl_proxy_marshal(pointer, Button, milliseconds(), LeftButton, WL_POINTER_BUTTON_STATE_RELEASED);
        else
            continue;
        wl_proxy_marshal(pointer, Frame);
        if (wl_display_roundtrip(display) < 0)
            return 1;
        printf("ok\n");
        fflush(stdout);
    }
    wl_display_disconnect(display);
    return 0;
}
