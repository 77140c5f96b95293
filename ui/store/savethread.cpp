// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/store/savethread.h"

#include <utility>

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

void SaveThread::submit(Encoded snapshot) {
    {
        const std::lock_guard lock(mutex_);
        pending_ = std::move(snapshot);
        ++lastJob_;
    }
    changed_.notify_all();
}

SaveThread::Result SaveThread::flush() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !pending_ && !busy_; });
    return last_;
}

void SaveThread::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || pending_.has_value(); });
        if (!pending_) {
            return;  // stopping, and nothing left to write
        }
        Encoded snapshot = std::move(*pending_);
        pending_.reset();
        Result result{lastJob_, {}};  // the waiting snapshot is always the newest
        busy_ = true;
        lock.unlock();

        result.written = writer_(path_, snapshot);
        snapshot = Encoded();

        lock.lock();
        busy_ = false;
        last_ = result;
        lock.unlock();
        done_(result);
        lock.lock();
        changed_.notify_all();
    }
}

}  // namespace zelmo::ui
