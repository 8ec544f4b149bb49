#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

// The folders renames acted out before they are made have moved, in order:
// where the disk of today has what such a rename would find at a path once
// they are made. Paths are spelled as the renames spell them, without a
// trailing '/'.
class FolderMoves {
public:
    bool empty() const noexcept { return m_moves.empty(); }
    void moved(std::string from, std::string to) { m_moves.emplace_back(std::move(from), std::move(to)); }

    // `path` through the moves, the latest first; nothing where it lies in a
    // folder moved away by then.
    std::optional<std::string> onDisk(std::string path) const
    {
        for (auto move = m_moves.rbegin(); move != m_moves.rend(); ++move) {
            const auto& [from, to] = *move;
            if (path.starts_with(to) && path.size() > to.size() && path[to.size()] == '/')
                path = from + path.substr(to.size());
            else if (path.starts_with(from) && path.size() > from.size() && path[from.size()] == '/')
                return std::nullopt;
        }
        return path;
    }

private:
    std::vector<std::pair<std::string, std::string>> m_moves;  // from, to
};
