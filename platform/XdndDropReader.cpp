#include "platform/XdndDropReader.h"

#include <QGuiApplication>
#include <QMimeData>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include <poll.h>

namespace {

using Clock = std::chrono::steady_clock;

// How often a waiting read asks the server whether the source still owns
// the drop's selection: a source that crashed, or whose connection the
// server closed because it wrote too much at once, is noticed this soon.
constexpr auto OwnerCheckInterval = std::chrono::milliseconds(150);

// The longest a read that keeps the window alive sleeps at a time.
constexpr auto KeepAliveInterval = std::chrono::milliseconds(10);

// The most one property read asks for (in 4-byte units): a big transfer is
// read in a few large replies rather than many small ones.
constexpr std::uint32_t ReadPieceWords = 4u << 20;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <class T>
using Reply = std::unique_ptr<T, FreeDeleter>;

xcb_atom_t internAtom(xcb_connection_t* c, const QByteArray& name)
{
    const Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::uint16_t(name.size()), name.constData()), nullptr));
    return reply ? reply->atom : XCB_NONE;
}

// Appends the whole property to `out` and deletes it, which tells a source
// sending incrementally to write its next piece. The bytes appended go to
// `pieceSize`; false when the property is not there.
bool takeProperty(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property, QByteArray& out,
                  qsizetype* pieceSize = nullptr)
{
    std::uint32_t offset = 0;
    qsizetype total = 0;
    for (;;) {
        const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
            c, xcb_get_property(c, 1, window, property, XCB_GET_PROPERTY_TYPE_ANY, offset, ReadPieceWords),
            nullptr));
        if (!reply || reply->type == XCB_NONE)
            return false;
        const int length = xcb_get_property_value_length(reply.get());
        out.append(static_cast<const char*>(xcb_get_property_value(reply.get())), length);
        total += length;
        if (reply->bytes_after == 0)
            break;
        offset += std::uint32_t(length) / 4;
    }
    if (pieceSize)
        *pieceSize = total;
    return true;
}

} // namespace

XdndDropReader::XdndDropReader()
{
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
        const xcb_setup_t* setup = xcb_get_setup(x11->connection());
        m_ownIdBase = setup->resource_id_base;
        m_ownIdMask = setup->resource_id_mask;
    }
    connectToServer();
    QCoreApplication::instance()->installNativeEventFilter(this);
}

XdndDropReader::~XdndDropReader()
{
    if (m_connection)
        xcb_disconnect(m_connection);
}

bool XdndDropReader::connectToServer()
{
    if (m_connection && !xcb_connection_has_error(m_connection))
        return true;
    if (m_connection)
        xcb_disconnect(m_connection);
    // The display named by DISPLAY, where Qt runs unless its command line
    // names another.
    m_connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(m_connection)) {
        xcb_disconnect(m_connection);
        m_connection = nullptr;
        return false;
    }
    m_xdndDrop = internAtom(m_connection, "XdndDrop");
    m_xdndEnter = internAtom(m_connection, "XdndEnter");
    m_xdndPosition = internAtom(m_connection, "XdndPosition");
    m_xdndLeave = internAtom(m_connection, "XdndLeave");
    m_xdndAware = internAtom(m_connection, "XdndAware");
    m_selection = internAtom(m_connection, "XdndSelection");
    m_incr = internAtom(m_connection, "INCR");
    m_property = internAtom(m_connection, "TOLVEX_DROPPED_DATA");
    return true;
}

bool XdndDropReader::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t" || !m_connection)
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
        return false;
    const auto* client = reinterpret_cast<const xcb_client_message_event_t*>(event);
    const bool dragMessage = client->type == m_xdndEnter || client->type == m_xdndPosition
                             || client->type == m_xdndLeave || client->type == m_xdndDrop;
    if (m_holdingDrags && dragMessage)
        return true;
    if (client->type == m_xdndEnter) {
        m_pendingDrop = false;
    } else if (client->type == m_xdndDrop) {
        // Qt delivers the drop as soon as this filter returns; the source
        // serves its data to requests stamped with the drop's time.
        m_pendingDrop = true;
        m_dropSource = client->data.data32[0];
        m_dropTime = client->data.data32[2];
        m_dropTarget = client->window;
    }
    return false;
}

// Whether this connection reaches the server that shows `window`, a
// window of ours that takes drops: DISPLAY may name another server than the
// one Qt was told to use on its command line.
bool XdndDropReader::seesWindow(std::uint32_t window)
{
    if (window == m_seenTarget)
        return true;
    const Reply<xcb_get_property_reply_t> aware(xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, window, m_xdndAware, XCB_ATOM_ATOM, 0, 1), nullptr));
    if (!aware || aware->type == XCB_NONE)
        return false;
    m_seenTarget = window;
    return true;
}

std::uint32_t XdndDropReader::selectionOwner()
{
    const Reply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(m_connection, xcb_get_selection_owner(m_connection, m_selection), nullptr));
    return owner ? owner->owner : XCB_NONE;
}

XdndDropReader::Result XdndDropReader::read(const QMimeData& mime, const QByteArray& mimeType,
                                            const std::function<void()>& keepAlive,
                                            std::chrono::milliseconds stallLimit)
{
    // Qt stands for another program's drop with a mime data object of its
    // own making; a drag from this process hands over the dragged QMimeData.
    if (!m_pendingDrop || !mime.inherits("QInternalMimeData"))
        return {};
    m_pendingDrop = false;
    if (m_ownIdMask && (m_dropSource & ~m_ownIdMask) == m_ownIdBase)
        return {};
    // Without a connection of its own to the server Qt runs on, Qt's
    // reading is the better choice.
    if (!connectToServer() || !seesWindow(m_dropTarget))
        return {};

    xcb_connection_t* c = m_connection;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    // A window for this transfer only: pieces that a slow source still
    // sends after an abandoned transfer go to a window that is gone.
    const xcb_window_t window = xcb_generate_id(c);
    const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &events);
    Result result = transfer(window, internAtom(c, mimeType), keepAlive, stallLimit);
    xcb_destroy_window(c, window);
    xcb_flush(c);
    if (result.status != Status::Received)
        result.data.clear();
    return result;
}

XdndDropReader::Result XdndDropReader::transfer(std::uint32_t window, std::uint32_t target,
                                                const std::function<void()>& keepAlive,
                                                std::chrono::milliseconds stallLimit)
{
    xcb_connection_t* c = m_connection;
    xcb_convert_selection(c, window, m_selection, target, m_property, m_dropTime);
    xcb_flush(c);

    Result result {Status::TimedOut, {}};
    bool incremental = false;
    std::uint64_t announced = 0; // the size an incremental transfer gave
    bool pieceCame = false;
    const std::uint64_t largestRequest = std::uint64_t(xcb_get_maximum_request_length(c)) * 4;
    auto stallDeadline = Clock::now() + stallLimit;
    auto nextOwnerCheck = Clock::now() + OwnerCheckInterval;
    for (;;) {
        if (keepAlive)
            keepAlive();
        const Reply<xcb_generic_event_t> event(xcb_poll_for_event(c));
        if (!event) {
            if (xcb_connection_has_error(c))
                return {Status::NoServer, {}};
            const auto now = Clock::now();
            if (now >= stallDeadline) {
                if (incremental && !pieceCame && announced >= largestRequest)
                    result.status = Status::TooLarge;
                return result;
            }
            if (now >= nextOwnerCheck) {
                if (selectionOwner() == XCB_NONE)
                    return {Status::SourceGone, {}};
                nextOwnerCheck = Clock::now() + OwnerCheckInterval;
                continue; // the reply may have brought events along
            }
            pollfd fd {xcb_get_file_descriptor(c), POLLIN, 0};
            auto wait = std::min(stallDeadline, nextOwnerCheck) - now;
            if (keepAlive)
                wait = std::min<Clock::duration>(wait, KeepAliveInterval);
            ::poll(&fd, 1, int(std::chrono::duration_cast<std::chrono::milliseconds>(wait).count()) + 1);
            continue;
        }
        const int type = event->response_type & 0x7f;
        if (type == XCB_SELECTION_NOTIFY && !incremental) {
            const auto* notify = reinterpret_cast<const xcb_selection_notify_event_t*>(event.get());
            if (notify->requestor != window)
                continue;
            // The server answers with no property by itself once the source
            // has gone; a source that is still there refused.
            if (notify->property == XCB_NONE)
                return {selectionOwner() == XCB_NONE ? Status::SourceGone : Status::Refused, {}};
            const Reply<xcb_get_property_reply_t> head(xcb_get_property_reply(
                c, xcb_get_property(c, 0, window, m_property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1), nullptr));
            if (!head || head->type != m_incr) {
                if (!takeProperty(c, window, m_property, result.data))
                    return {Status::Refused, {}};
                result.status = Status::Received;
                return result;
            }
            // The value is a lower bound of the size: room for it now saves
            // growing a large buffer piece by piece.
            if (xcb_get_property_value_length(head.get()) >= 4) {
                announced = *static_cast<const std::uint32_t*>(xcb_get_property_value(head.get()));
                result.data.reserve(qsizetype(announced));
            }
            incremental = true;
            xcb_delete_property(c, window, m_property);
            xcb_flush(c);
        } else if (type == XCB_PROPERTY_NOTIFY && incremental) {
            const auto* property = reinterpret_cast<const xcb_property_notify_event_t*>(event.get());
            if (property->window != window || property->atom != m_property
                || property->state != XCB_PROPERTY_NEW_VALUE)
                continue;
            qsizetype piece = 0;
            if (!takeProperty(c, window, m_property, result.data, &piece))
                continue;
            pieceCame = true;
            xcb_flush(c);
            if (piece == 0) { // an empty piece ends an incremental transfer
                result.status = Status::Received;
                return result;
            }
        } else {
            continue;
        }
        stallDeadline = Clock::now() + stallLimit;
    }
}
