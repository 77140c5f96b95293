// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/store/memoryfile.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

// Tests of the format's positions: a document that holds only positions (no history, no
// grades), built from and read back into a MemorySnapshot.
namespace zelmo::engine::test {

inline std::vector<std::uint8_t> encodeMemory(const PositionMemory& memory, std::int32_t count,
                                              const LearningHistory& history = {}) {
    return engine::encodeMemory(DocumentView{memory, count, history, std::nullopt});
}

inline std::vector<std::uint8_t> encodeMemory(const MemorySnapshot& snapshot) {
    return encodeMemory(snapshot.memory, snapshot.entryCount);
}

// The document's positions go to `out`, its history to `history`; both are left as they are
// unless the result is Ok.
template <typename Read>
MemoryLoadResult readPositions(Read read, MemorySnapshot& out, LearningHistory* history) {
    auto document = std::make_unique<MemoryDocument>();
    MemoryLoadResult result = read(*document);
    if (result.status == MemoryFileStatus::Ok) {
        out = document->positions;
        if (history != nullptr) {
            *history = std::move(document->history);
        }
    }
    return result;
}

inline MemoryLoadResult decodeMemory(const std::uint8_t* data, std::size_t size,
                                     MemorySnapshot& out, LearningHistory* history = nullptr) {
    return readPositions([&](MemoryDocument& d) { return engine::decodeMemory(data, size, d); },
                         out, history);
}

inline MemoryLoadResult decodeMemory(const std::uint8_t* data, std::size_t size,
                                     MemorySnapshot& out, LearningHistory& history) {
    return decodeMemory(data, size, out, &history);
}

inline MemoryLoadResult loadMemoryFile(const std::string& path, MemorySnapshot& out,
                                       LearningHistory* history = nullptr) {
    return readPositions([&](MemoryDocument& d) { return engine::loadMemoryFile(path, d); }, out,
                         history);
}

inline MemoryLoadResult loadMemoryFile(const std::string& path, MemorySnapshot& out,
                                       LearningHistory& history) {
    return loadMemoryFile(path, out, &history);
}

}  // namespace zelmo::engine::test
