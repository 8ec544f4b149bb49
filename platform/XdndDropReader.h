#pragma once

#include <QAbstractNativeEventFilter>
#include <QByteArray>

#include <chrono>
#include <cstdint>
#include <functional>

class QMimeData;
struct xcb_connection_t;

// Reads the data of a drop that comes from another program over X11's drag
// protocol (XDND), on an X connection of its own, instead of through
// QMimeData::data(). Qt's xcb plugin gives up on a drop's data 5 s after it
// asked for it, even while a large incremental transfer is still arriving,
// and then hands over empty data with no sign of failure, while the source
// is told the drop succeeded. This reader waits as long as the source is
// alive and keeps sending, notices a source that went away, and says which
// of these happened.
class XdndDropReader : public QAbstractNativeEventFilter {
public:
    enum class Status {
        NotXdnd,    // not a drop from another X11 program: ask the QMimeData
        Received,   // data holds the whole transfer
        Refused,    // the source answered that it cannot give this type
        SourceGone, // the source closed or crashed before the data was whole
        TimedOut,   // the source stopped sending for longer than the limit
        TooLarge,   // as TimedOut, before the first piece of a transfer larger
                    // than the server takes in one request: a source that
                    // writes all the rest at once (GTK 4) is refused by the
                    // server and waits for ever
        NoServer,   // the reader's connection to the X server broke
    };
    struct Result {
        Status status = Status::NotXdnd;
        QByteArray data;
    };

    // Watches the application's X11 events for drops from now on. Only for
    // the xcb platform.
    XdndDropReader();
    ~XdndDropReader() override;
    XdndDropReader(const XdndDropReader&) = delete;
    XdndDropReader& operator=(const XdndDropReader&) = delete;

    // Inside a dropEvent: the dropped data of `mimeType`, or NotXdnd when
    // `mime` does not stand for a drop from another X11 program. Gives up
    // once the source has sent nothing for `stallLimit`. While it waits for
    // the source it calls `keepAlive` at least every few milliseconds.
    Result read(const QMimeData& mime, const QByteArray& mimeType, const std::function<void()>& keepAlive = {},
                std::chrono::milliseconds stallLimit = std::chrono::seconds(15));

    // While a drop is still being taken in, the window may handle events;
    // Qt would take the messages of another program's drag arriving then
    // for the drop it has not finished. For as long as a DropUnderway
    // lives, such messages are kept from Qt: that drag sees a window that
    // takes nothing.
    class DropUnderway {
    public:
        explicit DropUnderway(XdndDropReader* reader) : m_reader(reader) { setHolding(true); }
        ~DropUnderway() { setHolding(false); }
        DropUnderway(const DropUnderway&) = delete;
        DropUnderway& operator=(const DropUnderway&) = delete;

    private:
        void setHolding(bool holding)
        {
            if (m_reader)
                m_reader->m_holdingDrags = holding;
        }
        XdndDropReader* m_reader;
    };

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    bool connectToServer();
    bool seesWindow(std::uint32_t window);
    std::uint32_t selectionOwner();
    Result transfer(std::uint32_t window, std::uint32_t target, const std::function<void()>& keepAlive,
                    std::chrono::milliseconds stallLimit);

    // Ours, not Qt's: Qt's connection is read by a thread of its own, which
    // would take the transfer's events away from this reader.
    xcb_connection_t* m_connection = nullptr;
    std::uint32_t m_xdndDrop = 0; // atoms, interned once
    std::uint32_t m_xdndEnter = 0;
    std::uint32_t m_xdndPosition = 0;
    std::uint32_t m_xdndLeave = 0;
    std::uint32_t m_xdndAware = 0;
    std::uint32_t m_selection = 0;
    std::uint32_t m_incr = 0;
    std::uint32_t m_property = 0;
    // The XdndDrop Qt is delivering now: when, from which source window, to
    // which of ours.
    bool m_pendingDrop = false;
    bool m_holdingDrags = false; // a DropUnderway lives
    std::uint32_t m_dropTime = 0;
    std::uint32_t m_dropSource = 0;
    std::uint32_t m_dropTarget = 0;
    std::uint32_t m_seenTarget = 0; // a window of ours this connection sees
    // The range of window ids of Qt's own connection: a drag from this very
    // process must not be asked for its data while the process waits.
    std::uint32_t m_ownIdBase = 0;
    std::uint32_t m_ownIdMask = 0;
};
