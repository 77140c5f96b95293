// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace zelmo::ui {

// Writes the computer's memory to its file on a thread of its own, so that a slow disk never
// stalls the window. The memory store hands over snapshots; saves coalesce: a snapshot still
// waiting when a newer one arrives is dropped, so only the newest is written, one save at a
// time. A flush writes at once and waits.
class SaveThread {
  public:
    // A memory as the file holds it (engine::encodeMemory): only the positions in use.
    using Encoded = std::vector<std::uint8_t>;
    // What writing one snapshot did: a failure ("" for none), and, when the file had been
    // changed by another program so that the memory went to a new file instead, that file
    // and the message telling so. A plain failure text converts to it.
    struct Written {
        Written(std::string failureText = {}) : failure(std::move(failureText)) {}
        std::string failure;
        std::string notice;
        std::string divertedTo;
    };
    // Writes one snapshot to the file. Runs on the saving thread.
    using Writer = std::function<Written(const std::string& path, const Encoded& encoded)>;
    // The number and outcome of a finished save.
    struct Result {
        std::uint64_t job = 0;
        Written written;
    };
    // Told about every finished save, on the saving thread.
    using Done = std::function<void(const Result& result)>;

    SaveThread(std::string path, Writer writer, Done done);
    // Writes the snapshot still waiting, if any, then ends the thread.
    ~SaveThread();
    SaveThread(const SaveThread&) = delete;
    SaveThread& operator=(const SaveThread&) = delete;

    // Queues `snapshot` in place of any snapshot still waiting (its number is one more than
    // the last one's).
    void submit(Encoded snapshot);

    // Returns once nothing waits or is being written: the result of the last save (job 0 if
    // there was none).
    Result flush();

  private:
    void run();

    const std::string path_;
    const Writer writer_;
    const Done done_;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<Encoded> pending_;
    std::uint64_t lastJob_ = 0;
    bool busy_ = false;
    bool stopping_ = false;
    Result last_;

    std::thread thread_;  // last: starts once everything above is ready
};

}  // namespace zelmo::ui
