// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/savethread.h"

#include <utility>

#include "ui/memorybackup.h"

namespace zelmo::ui {

SaveThread::SaveThread(std::string path, Writer writer, Done done)
    : path_(std::move(path)),
      writer_(std::move(writer)),
      done_(std::move(done)),
      thread_([this] { run(); }) {}

SaveThread::~SaveThread() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

std::uint64_t SaveThread::submit(std::unique_ptr<engine::MemorySnapshot> snapshot,
                                 bool backupFirst) {
    std::uint64_t job = 0;
    {
        const std::lock_guard lock(mutex_);
        pending_ = std::move(snapshot);
        job = ++lastJob_;
        pendingJob_ = job;
        backupPending_ = backupPending_ || backupFirst;
    }
    changed_.notify_all();
    return job;
}

void SaveThread::setMinimumInterval(std::chrono::milliseconds interval) {
    {
        const std::lock_guard lock(mutex_);
        interval_ = interval;
    }
    changed_.notify_all();
}

SaveThread::Result SaveThread::flush() {
    std::unique_lock lock(mutex_);
    ++flushers_;
    changed_.notify_all();
    changed_.wait(lock, [this] { return pending_ == nullptr && !busy_; });
    --flushers_;
    return last_;
}

void SaveThread::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || pending_ != nullptr; });
        if (pending_ == nullptr) {
            return;  // stopping, and nothing left to write
        }
        // Spaced saves wait for their time unless the window closes or someone flushes;
        // snapshots arriving meanwhile replace the waiting one.
        const auto hurry = [this] { return stopping_ || flushers_ > 0; };
        while (!hurry() && lastEnd_ && interval_.count() > 0 &&
               std::chrono::steady_clock::now() < *lastEnd_ + interval_) {
            changed_.wait_until(lock, *lastEnd_ + interval_, hurry);
        }
        std::unique_ptr<engine::MemorySnapshot> snapshot = std::move(pending_);
        Result result{pendingJob_, {}};
        bool backupFirst = std::exchange(backupPending_, false);
        busy_ = true;
        lock.unlock();

        result.failure = write(*snapshot, backupFirst);
        snapshot.reset();

        lock.lock();
        // A failed backup is tried again before the next save.
        backupPending_ = backupPending_ || backupFirst;
        busy_ = false;
        lastEnd_ = std::chrono::steady_clock::now();
        last_ = result;
        lock.unlock();
        done_(result);
        lock.lock();
        changed_.notify_all();
    }
}

std::string SaveThread::write(const engine::MemorySnapshot& snapshot, bool& backupFirst) {
    if (backupFirst) {
        std::string failure = keepBackup(path_);
        if (!failure.empty()) {
            return failure;
        }
    }
    // The backup is made; the request is spent even if the save itself fails.
    backupFirst = false;
    return writer_(path_, snapshot);
}

}  // namespace zelmo::ui
