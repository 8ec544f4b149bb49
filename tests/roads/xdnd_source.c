/* A drag source in a process of its own, without a toolkit: offers the
 * text/uri-list read from a file to the XdndAware window under a point of
 * the screen, drops it there, serves the data and waits for XdndFinished.
 * Data larger than a threshold goes incrementally (INCR), in pieces of a
 * given size, each but the closing empty one sent after a given delay.
 *
 *   xdnd_source URI_LIST_FILE X Y [piece_bytes] [piece_delay_ms] [incr_threshold]
 *
 * The threshold defaults to the largest request the server takes.
 * XDND_SOURCE_MODE=die quits right after the drop, as a crashed source;
 * XDND_SOURCE_MODE=refuse answers that it cannot give the data;
 * XDND_SOURCE_MODE=lose starts an incremental transfer and sends no piece,
 * as a GTK 4 source whose whole rest the server refused in one piece.
 * Prints CLOCK_MONOTONIC stamps on stdout: "drop T", "served BYTES T",
 * "finished ACCEPTED T". Exits 0 once the target has answered the drop.
 */
#include <xcb/xcb.h>

#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static xcb_connection_t* c;

static double now(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

static xcb_atom_t atom(const char* name)
{
    xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, (uint16_t)strlen(name), name), NULL);
    xcb_atom_t a = r ? r->atom : XCB_NONE;
    free(r);
    return a;
}

static void sendClientMessage(xcb_window_t to, xcb_atom_t type, uint32_t d0, uint32_t d1, uint32_t d2, uint32_t d3,
                              uint32_t d4)
{
    xcb_client_message_event_t e;
    memset(&e, 0, sizeof e);
    e.response_type = XCB_CLIENT_MESSAGE;
    e.window = to;
    e.format = 32;
    e.type = type;
    e.data.data32[0] = d0;
    e.data.data32[1] = d1;
    e.data.data32[2] = d2;
    e.data.data32[3] = d3;
    e.data.data32[4] = d4;
    xcb_send_event(c, 0, to, XCB_EVENT_MASK_NO_EVENT, (const char*)&e);
    xcb_flush(c);
}

static xcb_generic_event_t* waitForEvent(double deadline)
{
    for (;;) {
        xcb_generic_event_t* e = xcb_poll_for_event(c);
        if (e)
            return e;
        if (xcb_connection_has_error(c))
            return NULL;
        double left = deadline - now();
        if (left <= 0)
            return NULL;
        struct pollfd p = {xcb_get_file_descriptor(c), POLLIN, 0};
        poll(&p, 1, (int)(left * 1000) + 1);
    }
}

static char* readFile(const char* path, size_t* size)
{
    FILE* f = fopen(path, "rb");
    if (!f)
        return NULL;
    fseek(f, 0, SEEK_END);
    long length = ftell(f);
    fseek(f, 0, SEEK_SET);
    char* data = malloc(length > 0 ? (size_t)length : 1);
    *size = fread(data, 1, (size_t)length, f);
    fclose(f);
    return data;
}

/* The XdndAware window under a point, searched from the root down. */
static xcb_window_t awareWindowAt(xcb_window_t root, int x, int y, xcb_atom_t aware)
{
    for (xcb_window_t w = root; w != XCB_NONE;) {
        xcb_get_property_reply_t* p = xcb_get_property_reply(c, xcb_get_property(c, 0, w, aware, XCB_ATOM_ATOM, 0, 1), NULL);
        int isAware = p && p->type != XCB_NONE;
        free(p);
        if (isAware)
            return w;
        xcb_translate_coordinates_reply_t* t =
            xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, root, w, (int16_t)x, (int16_t)y), NULL);
        w = t ? t->child : XCB_NONE;
        free(t);
    }
    return XCB_NONE;
}

int main(int argc, char** argv)
{
    if (argc < 4) {
        fprintf(stderr, "usage: %s URI_LIST_FILE X Y [piece_bytes] [piece_delay_ms] [incr_threshold]\n", argv[0]);
        return 2;
    }
    size_t size = 0;
    char* data = readFile(argv[1], &size);
    if (!data) {
        perror(argv[1]);
        return 2;
    }
    int x = atoi(argv[2]), y = atoi(argv[3]);
    size_t piece = argc > 4 ? (size_t)atol(argv[4]) : 1 << 20;
    int delayMs = argc > 5 ? atoi(argv[5]) : 0;
    c = xcb_connect(NULL, NULL);
    if (xcb_connection_has_error(c))
        return 1;
    size_t maxRequest = (size_t)xcb_get_maximum_request_length(c) * 4 - 64;
    size_t threshold = argc > 6 ? (size_t)atol(argv[6]) : maxRequest;
    const char* mode = getenv("XDND_SOURCE_MODE");
    int refuse = mode && strcmp(mode, "refuse") == 0;
    int lose = mode && strcmp(mode, "lose") == 0;
    if (lose)
        threshold = 0;

    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    xcb_window_t source = xcb_generate_id(c);
    uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(c, 0, source, screen->root, -10, -10, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &mask);
    xcb_atom_t aAware = atom("XdndAware"), aEnter = atom("XdndEnter"), aPosition = atom("XdndPosition"),
               aStatus = atom("XdndStatus"), aDrop = atom("XdndDrop"), aFinished = atom("XdndFinished"),
               aLeave = atom("XdndLeave"), aSelection = atom("XdndSelection"), aCopy = atom("XdndActionCopy"),
               aUriList = atom("text/uri-list"), aTargets = atom("TARGETS"), aIncr = atom("INCR"),
               aStamp = atom("XDND_SOURCE_STAMP");

    /* A server time to own the selection from: that of a property change. */
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, source, aStamp, XCB_ATOM_STRING, 8, 0, "");
    xcb_flush(c);
    xcb_timestamp_t stamp = XCB_CURRENT_TIME;
    for (xcb_generic_event_t* e; stamp == XCB_CURRENT_TIME && (e = waitForEvent(now() + 5));) {
        if ((e->response_type & 0x7f) == XCB_PROPERTY_NOTIFY)
            stamp = ((xcb_property_notify_event_t*)e)->time;
        free(e);
    }
    xcb_set_selection_owner(c, source, aSelection, stamp);

    xcb_window_t target = awareWindowAt(screen->root, x, y, aAware);
    if (target == XCB_NONE) {
        fprintf(stderr, "no XdndAware window at %d,%d\n", x, y);
        return 1;
    }
    sendClientMessage(target, aEnter, source, 5u << 24, aUriList, 0, 0);
    sendClientMessage(target, aPosition, source, 0, ((uint32_t)x << 16) | (uint32_t)y, stamp, aCopy);
    int accepted = 0;
    for (xcb_generic_event_t* e; !accepted && (e = waitForEvent(now() + 10));) {
        if ((e->response_type & 0x7f) == XCB_CLIENT_MESSAGE && ((xcb_client_message_event_t*)e)->type == aStatus)
            accepted = ((xcb_client_message_event_t*)e)->data.data32[1] & 1;
        free(e);
    }
    if (!accepted) {
        sendClientMessage(target, aLeave, source, 0, 0, 0, 0);
        fprintf(stderr, "the target refused the drag\n");
        return 1;
    }
    printf("drop %.6f bytes %zu\n", now(), size);
    fflush(stdout);
    sendClientMessage(target, aDrop, source, 0, stamp, 0, 0);
    if (mode && strcmp(mode, "die") == 0) {
        /* Only once the server has taken the drop message: closing at once
         * could lose what the server had not read yet. */
        free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), NULL));
        xcb_disconnect(c);
        return 0;
    }

    /* Serve the data until the target says it has finished. */
    xcb_window_t incrWindow = XCB_NONE;
    xcb_atom_t incrProperty = XCB_NONE;
    size_t sent = 0;
    int finished = 0;
    for (xcb_generic_event_t* e; !finished && (e = waitForEvent(now() + 600));) {
        int type = e->response_type & 0x7f;
        if (type == XCB_SELECTION_REQUEST) {
            xcb_selection_request_event_t* r = (xcb_selection_request_event_t*)e;
            xcb_selection_notify_event_t n;
            memset(&n, 0, sizeof n);
            n.response_type = XCB_SELECTION_NOTIFY;
            n.time = r->time;
            n.requestor = r->requestor;
            n.selection = r->selection;
            n.target = r->target;
            n.property = r->property;
            if (refuse) {
                n.property = XCB_NONE;
            } else if (r->target == aTargets) {
                xcb_atom_t list[2] = {aTargets, aUriList};
                xcb_change_property(c, XCB_PROP_MODE_REPLACE, r->requestor, r->property, XCB_ATOM_ATOM, 32, 2, list);
            } else if (r->target == aUriList && size > threshold) {
                uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
                xcb_change_window_attributes(c, r->requestor, XCB_CW_EVENT_MASK, &events);
                uint32_t total = (uint32_t)size;
                xcb_change_property(c, XCB_PROP_MODE_REPLACE, r->requestor, r->property, aIncr, 32, 1, &total);
                incrWindow = r->requestor;
                incrProperty = r->property;
                sent = 0;
            } else if (r->target == aUriList && size <= maxRequest) {
                xcb_change_property(c, XCB_PROP_MODE_REPLACE, r->requestor, r->property, aUriList, 8, (uint32_t)size, data);
                printf("served %zu %.6f\n", size, now());
            } else {
                n.property = XCB_NONE;
            }
            xcb_send_event(c, 0, r->requestor, XCB_EVENT_MASK_NO_EVENT, (const char*)&n);
            xcb_flush(c);
        } else if (type == XCB_PROPERTY_NOTIFY && incrWindow != XCB_NONE) {
            /* The target deleted the last piece: the next one, or an empty
             * one to end the transfer. */
            xcb_property_notify_event_t* p = (xcb_property_notify_event_t*)e;
            if (p->window == incrWindow && p->atom == incrProperty && p->state == XCB_PROPERTY_DELETE && !lose) {
                size_t length = size - sent < piece ? size - sent : piece;
                if (delayMs > 0 && length > 0)
                    usleep((useconds_t)delayMs * 1000);
                xcb_change_property(c, XCB_PROP_MODE_REPLACE, incrWindow, incrProperty, aUriList, 8, (uint32_t)length,
                                    data + sent);
                xcb_flush(c);
                sent += length;
                if (length == 0) {
                    printf("served %zu %.6f\n", sent, now());
                    incrWindow = XCB_NONE;
                }
            }
        } else if (type == XCB_CLIENT_MESSAGE && ((xcb_client_message_event_t*)e)->type == aFinished) {
            printf("finished %u %.6f\n", ((xcb_client_message_event_t*)e)->data.data32[1] & 1, now());
            finished = 1;
        }
        free(e);
    }
    fflush(stdout);
    xcb_disconnect(c);
    free(data);
    return finished ? 0 : 1;
}
