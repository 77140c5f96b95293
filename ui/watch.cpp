// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/watch.h"

#include <QElapsedTimer>

#include "ui/memorystore.h"
#include "ui/unit1.h"

namespace zelmo::ui {

WatchMode::WatchMode(TForm1& form) : QObject(&form), form_(form) {
    setOpponent(QStringLiteral("perfect"), 1);
    connect(&timer_, &QTimer::timeout, this, &WatchMode::tick);
    // An error box stops watching before it opens: its own event loop must not run our ticks.
    connect(&form_, &TForm1::errorReported, this, &WatchMode::stop);
}

WatchMode::~WatchMode() = default;

bool WatchMode::setOpponent(const QString& name, std::uint64_t seed) {
    std::unique_ptr<engine::Player> player = engine::makePlayer(name.toStdString(), seed);
    if (!player) {
        return false;
    }
    player_ = std::move(player);
    return true;
}

void WatchMode::setPace(int milliseconds) {
    pace_ = milliseconds < 0 ? 0 : milliseconds;
    if (watching()) {
        run();
    }
}

void WatchMode::start() {
    if (watching()) {
        return;
    }
    if (MemoryStore* store = form_.memoryStore()) {
        store->setSpacing(true);
    }
    run();
}

void WatchMode::run() {
    form_.setDisplayDeferred(pace_ == 0);
    timer_.start(pace_);
}

void WatchMode::stop() {
    if (!watching()) {
        return;
    }
    timer_.stop();
    form_.setDisplayDeferred(false);
    if (MemoryStore* store = form_.memoryStore()) {
        store->setSpacing(false);
    }
}

void WatchMode::toggle() {
    if (watching()) {
        stop();
    } else {
        start();
    }
}

void WatchMode::step() {
    if (!form_.acceptingMoves()) {
        form_.guarded([this] { form_.Button2Click(); });
        return;
    }
    const int cell = player_->move(form_.board());
    form_.guarded([this, cell] { form_.SpeedButtonClick(cell); });
}

void WatchMode::tick() {
    if (pace_ > 0) {
        step();
    } else {
        // Whole games for one frame: the slice ends between games, so the player's input and
        // the repaint come between them, at most once a frame.
        QElapsedTimer slice;
        slice.start();
        do {
            step();
        } while (watching() && (form_.acceptingMoves() || slice.elapsed() < kSliceMs));
        form_.flushDisplay();
    }
}

}  // namespace zelmo::ui
