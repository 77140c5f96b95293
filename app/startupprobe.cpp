// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startupprobe.h"

#include <QEvent>
#include <QMetaObject>
#include <QObject>
#include <QWidget>

#include <time.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace zelmo::app {

namespace {

std::int64_t monotonicNanoseconds() {
    // steady_clock is CLOCK_MONOTONIC on Linux, the clock the measuring script stamps with.
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The CPU time of all the process's threads since it started, dynamic loading included.
std::int64_t cpuMicroseconds() {
    timespec cpu{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    return static_cast<std::int64_t>(cpu.tv_sec) * 1000000 + cpu.tv_nsec / 1000;
}

// A "Vm...:   1234 kB" line of /proc/self/status, in KiB; -1 when it is missing.
long statusKib(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key + ":", 0) == 0) {
            return std::strtol(line.c_str() + key.size() + 1, nullptr, 10);
        }
    }
    return -1;
}

// Waits for the window's first paint round. The round paints every widget and then flushes
// the frame to the window system within the same call, so a call queued from its first paint
// event runs once the frame is out.
class StartupProbe : public QObject {
  public:
    StartupProbe(QWidget& window, std::int64_t origin)
        : QObject(&window), window_(window), origin_(origin) {
        window.installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ && event->type() == QEvent::Paint) {
            window_.removeEventFilter(this);
            QMetaObject::invokeMethod(
                this, [this] { report(); }, Qt::QueuedConnection);
        }
        return false;
    }

  private:
    void report() const {
        const std::int64_t elapsed = monotonicNanoseconds() - origin_;
        std::printf("startup-probe frame_us=%lld cpu_us=%lld rss_kib=%ld hwm_kib=%ld size=%dx%d\n",
                    static_cast<long long>(elapsed / 1000),
                    static_cast<long long>(cpuMicroseconds()), statusKib("VmRSS"),
                    statusKib("VmHWM"), window_.width(), window_.height());
        std::fflush(stdout);
    }

    QWidget& window_;
    std::int64_t origin_;
};

}  // namespace

void watchStartup(QWidget& window) {
    const char* value = std::getenv("ZELMO_STARTUP_PROBE");
    if (value == nullptr) {
        return;
    }
    const std::int64_t now = monotonicNanoseconds();
    char* end = nullptr;
    const long long spawned = std::strtoll(value, &end, 10);
    // A stamp from the last minute; anything else ("1", a stale value) is no spawn time.
    constexpr std::int64_t kMinute = 60'000'000'000;
    const bool stamped = end != value && *end == '\0' && spawned <= now && now - spawned < kMinute;
    new StartupProbe(window, stamped ? spawned : now);
}

}  // namespace zelmo::app
