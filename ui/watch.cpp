// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/watch.h"

#include <QFile>

#include <iostream>
#include <utility>

#include "engine/game/playgame.h"
#include "engine/store/memorylock.h"

namespace zelmo::ui {

WatchMode::WatchMode(engine::GameFlow& flow, Guard guard, QObject* parent)
    : QObject(parent),
      flow_(flow),
      guard_(std::move(guard)),
      input_(engine::entryPointsOf(flow)),
      move_([this] {
          played_ = true;
          engine::playMove(flow_, *player_, input_);
      }) {
    setOpponent(QStringLiteral("perfect"), 1);
    connect(&timer_, &QTimer::timeout, this, &WatchMode::tick);
    flow_.addListener(*this);
}

WatchMode::~WatchMode() {
    flow_.removeListener(*this);
    saveLearnerAtExit();
}

void WatchMode::saveLearnerAtExit() {
    report_ = [](const QString& message) { std::cerr << message.toStdString() << '\n'; };
    saveLearner();
}

bool WatchMode::setOpponent(const QString& name, std::uint64_t seed) {
    std::unique_ptr<engine::Player> player = engine::makePlayer(name.toStdString(), seed);
    if (!player) {
        return false;
    }
    auto* learner = dynamic_cast<engine::LearnerPlayer*>(player.get());
    std::unique_ptr<engine::LearnerFile> file;
    if (const auto path = engine::learnerFileOf(name.toStdString())) {
        const QByteArray native = QFile::encodeName(QString::fromStdString(*path));
        if (learnerFile_ && learnerFile_->path() == native.toStdString()) {
            return true;  // the learner of this file plays already, and holds the file
        }
        file = std::make_unique<engine::LearnerFile>(native.toStdString(), engine::kWindowProgram);
        const engine::MemoryWriter::Taken taken = file->open(*learner);
        if (!taken.message.empty() && report_) {
            report_(QString::fromStdString(taken.message));
        }
        if (taken.kind != engine::MemoryWriter::Taken::Kind::Ok) {
            return false;
        }
    }
    // The learner that played so far keeps what it learnt.
    saveLearner();
    player_ = std::move(player);
    learner_ = learner;
    learnerFile_ = std::move(file);
    sinceLearnerSave_.start();
    return true;
}

void WatchMode::gameFinished(const engine::FinishedGame& game) {
    inGame_ = false;
    if (!played_) {
        return;  // a game the player played alone teaches the learner nothing
    }
    // A learning player grades what it played.
    player_->gameOver(game.outcome);
    if (learnerFile_) {
        learnerFile_->noteGame(*learner_, game);
        if (sinceLearnerSave_.elapsed() >= kLearnerSaveMs) {
            saveLearner();
        }
    }
}

void WatchMode::saveLearner() {
    if (!learnerFile_) {
        return;
    }
    sinceLearnerSave_.start();
    const engine::MemoryWriter::Outcome saved = learnerFile_->save(*learner_);
    for (const std::string& message : {saved.notice, saved.failure}) {
        if (!message.empty() && report_) {
            report_(QString::fromStdString(message));
        }
    }
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
    saveLearner();
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
