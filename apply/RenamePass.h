#pragma once

#include "apply/PathSet.h"
#include "disk/RenameSession.h"

#include <cstddef>
#include <functional>
#include <span>
#include <string>

// Why a pass refuses a rename of a path an earlier rename of it moved away,
// or gave to another file: the file there is no longer the one meant.
inline constexpr const char* kMovedEarlier = "an earlier rename of the list moves this file first";
inline constexpr const char* kTakenEarlier = "an earlier rename of the list gives this name to another file first";

// One rename a pass is about to make; `tag` tells the caller's row. A step
// that is no rename keeps its place among them, so that whoever hears of
// the steps hears of them in order: a proposal of the file's own path, or
// one refused before it reaches the disk.
struct PassRename {
    std::string oldPath;
    std::string newPath;
    std::size_t tag = 0;
    enum class Kind : unsigned char { Rename, Unchanged, Refused } kind = Kind::Rename;
    const char* refusal = nullptr;  // for Refused
    // A step of a plan (a resolved list, or a journal taken back) that knows
    // which file is at oldPath, even one an earlier step put there: it is
    // not refused for a path an earlier step moved away or gave.
    bool planned = false;

    bool renames() const noexcept { return kind == Kind::Rename; }
};

// Told of a pass's renames, as a journal needs to be: each batch before any
// rename of it is made, and each step right after it is done (a step that is
// no rename with an empty result when unchanged). Returning false stops the
// pass before its next rename.
class PassRecorder {
public:
    virtual ~PassRecorder() = default;
    virtual bool beforeBatch(std::span<const PassRename> batch) = 0;
    virtual bool afterRename(const PassRename& rename, const RenameResult& result) = 0;
};

// The renames of one pass, made batch after batch, in order, never
// replacing anything (see RenameSession). A rename of a path the pass has
// renamed away already, or given to another file, is refused: the file
// there is no longer the one the caller means.
class RenamePass {
public:
    // Enough renames to a batch that syncing a journal once per batch costs
    // little beside them.
    static constexpr std::size_t kBatchSize = 1024;

    explicit RenamePass(PassRecorder* recorder = nullptr) : m_recorder(recorder) {}

    using Done = std::function<void(const PassRename& rename, const RenameResult& result)>;
    // Makes the renames of the batch; `done` hears of each with its result.
    // Once the recorder has stopped the pass, nothing more is attempted.
    void run(std::span<const PassRename> batch, const Done& done);

    bool stopped() const noexcept { return m_stopped; }
    // Renames the pass was given but did not attempt, as it had stopped.
    std::size_t notAttempted() const noexcept { return m_notAttempted; }

private:
    RenameResult rename(const PassRename& step);

    PassRecorder* m_recorder;
    RenameSession m_session;
    PathSet m_paths;  // the paths renamed away, and those files were put at
    bool m_stopped = false;
    std::size_t m_notAttempted = 0;
};
