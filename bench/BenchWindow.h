#pragma once

#include "bench/BenchSupport.h"
#include "tests/app/WindowFixture.h"

#include <QPushButton>

// The main window as the user has it, shown under the offscreen platform,
// with dialogs that record their messages instead of blocking.
struct BenchWindow : WindowFixture {
    BenchWindow()
    {
        window.show();
        paintNow(*window.VT);
    }

    // The list holds exactly one row per path, as "Add Files" makes them.
    void Fill(const std::vector<std::string>& paths)
    {
        window.BitBtn4->click();
        window.addFiles(paths);
        paintNow(*window.VT);
    }

    // A command that shows a message has not done the work measured: the
    // benchmark stops with the message's text.
    bool Silent(benchmark::State& state, const QString& expected = {})
    {
        for (const RecordingDialogs::Message& message : dialogs.messages) {
            if (message.text != expected) {
                state.SkipWithError(message.text.toStdString().c_str());
                return false;
            }
        }
        dialogs.messages.clear();
        return true;
    }
};
