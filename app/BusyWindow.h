#pragma once

#include <QObject>

#include <chrono>

class QWidget;

// Holds a window busy for one long piece of work on the GUI thread, such as
// the apply pass or a big intake, for as long as it lives. keepAlive(),
// called between two steps of the work and never inside one, lets the
// window repaint and answer the window manager whenever eventInterval() has
// passed since it last did, so that the desktop never takes the window for
// hung. From the first time it does until the guard ends, the busy cursor
// shows and the window takes no input: every press, key, wheel turn, drag,
// drop and shortcut meant for it is dropped, not kept for later. A request
// to close the window is dropped too, and noted in `closeAsked` for the
// caller to carry out once the work and its message are over.
//
// Work that ends within one interval never handles events, so it changes
// neither the cursor nor anything else.
class BusyWindow : public QObject {
public:
    BusyWindow(QWidget& window, bool& closeAsked);
    ~BusyWindow() override;
    BusyWindow(const BusyWindow&) = delete;
    BusyWindow& operator=(const BusyWindow&) = delete;

    void keepAlive()
    {
        if (Clock::now() - m_lastEvents >= s_interval)
            handleEvents();
    }

    // How long work may hold the window between two rounds of its events;
    // tests make it zero, so that every keepAlive() handles them.
    static std::chrono::nanoseconds eventInterval() { return s_interval; }
    static void setEventInterval(std::chrono::nanoseconds interval) { s_interval = interval; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Clock = std::chrono::steady_clock;

    void handleEvents();
    bool belongsToWindow(QObject* object) const;

    QWidget& m_window;
    bool& m_closeAsked;
    bool m_holding = false; // cursor set and input filtered
    Clock::time_point m_lastEvents = Clock::now();

    static std::chrono::nanoseconds s_interval;
};
