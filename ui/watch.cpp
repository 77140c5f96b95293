// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/watch.h"

#include <utility>

#include "engine/game/playgame.h"

namespace zelmo::ui {

WatchMode::WatchMode(engine::GameFlow& flow, Guard guard, QObject* parent)
    : QObject(parent),
      flow_(flow),
      guard_(std::move(guard)),
      input_(engine::entryPointsOf(flow)),
      move_([this] { engine::playMove(flow_, *player_, input_); }) {
    setOpponent(QStringLiteral("perfect"), 1);
    connect(&timer_, &QTimer::timeout, this, &WatchMode::tick);
    flow_.addListener(*this);
}

WatchMode::~WatchMode() {
    flow_.removeListener(*this);
}

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
    // Watching may take over a game the player has begun.
    inGame_ = flow_.acceptingMoves();
    run();
    emit runningChanged(true);
}

void WatchMode::run() {
    flow_.setDisplayDeferred(pace_ == 0);
    timer_.start(pace_);
}

void WatchMode::stop() {
    if (!watching()) {
        return;
    }
    timer_.stop();
    flow_.setDisplayDeferred(false);
    emit runningChanged(false);
}

void WatchMode::toggle() {
    if (watching()) {
        stop();
    } else {
        start();
    }
}

void WatchMode::step() {
    guard_(inGame_ ? move_ : input_.play);
}

void WatchMode::tick() {
    if (pace_ > 0) {
        step();
    } else {
        // Whole games for a short slice: the slice ends between games, so the player's input,
        // a screen reader's questions and the repaint come between them; the window is brought
        // up to date at most once a frame.
        QElapsedTimer slice;
        slice.start();
        do {
            step();
        } while (watching() && (inGame_ || slice.elapsed() < kSliceMs));
        if (!frame_.isValid() || frame_.elapsed() >= kFrameMs) {
            frame_.start();
            flow_.flushDisplay();
        }
    }
}

}  // namespace zelmo::ui
