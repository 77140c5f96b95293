// SPDX-License-Identifier: GPL-3.0-or-later
#include "train/trainer.h"
#include "engine/memoryfile.h"
#include "train/texts.h"

#include <chrono>
#include <fstream>
#include <memory>
#include <ostream>
#include <sstream>

namespace zelmo::train {

namespace {

// Errors shown one by one before the rest are only counted: a huge grade can overflow a weight
// in every game, and a million identical lines help nobody.
constexpr int kErrorsShown = 10;

struct BlockCounts {
    std::int64_t wins[3] = {};  // player, computer, draw
    std::int64_t errors = 0;
};

// A progress bar drawn on one terminal line, at most ten times a second: a game takes about a
// microsecond and a terminal cannot take a line per game.
class ProgressBar {
  public:
    ProgressBar(std::ostream& err, bool enabled, std::int64_t total)
        : err_(err), enabled_(enabled), total_(total) {}

    void update(std::int64_t done) {
        if (!enabled_ || (done % 256 != 0 && done != total_)) {
            return;
        }
        const auto now = std::chrono::steady_clock::now();
        if (visible_ && done != total_ && now - drawn_ < std::chrono::milliseconds(100)) {
            return;
        }
        drawn_ = now;
        const int permille = static_cast<int>(done * 1000 / total_);
        constexpr int kWidth = 40;
        const int filled = permille * kWidth / 1000;
        err_ << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
             << std::string(static_cast<std::size_t>(kWidth - filled), '.') << "] " << permille / 10
             << '.' << permille % 10 << "% " << done << '/' << total_ << std::flush;
        visible_ = true;
    }
    // Clears the bar's line before other text is written.
    void hide() {
        if (visible_) {
            err_ << "\r\033[K" << std::flush;
            visible_ = false;
        }
    }

  private:
    std::ostream& err_;
    bool enabled_;
    std::int64_t total_;
    bool visible_ = false;
    std::chrono::steady_clock::time_point drawn_;
};

std::string blockLine(std::int64_t games, const BlockCounts& counts, std::int32_t positions,
                      char separator) {
    std::ostringstream line;
    line << games << separator << counts.wins[0] << separator << counts.wins[1] << separator
         << counts.wins[2] << separator << counts.errors << separator << positions << '\n';
    return line.str();
}

std::string prefixed(const std::string& message) {
    return std::string(texts::kProgram) + ": " + message + "\n";
}

}  // namespace

int runTraining(const TrainOptions& options, std::ostream& out, std::ostream& err, bool progress) {
    const std::unique_ptr<engine::Player> player = engine::makePlayer(options.player, options.seed);
    if (!player) {
        err << prefixed(std::string(texts::kBadPlayer) + ": «" + options.player + "»");
        return kExitUsage;
    }
    auto flow = std::make_unique<TrainFlow>(options.grades);
    if (options.clockStart) {
        flow->setClock(SteppingClock(*options.clockStart, options.clockStep));
    }
    if (!options.loadPath.empty()) {
        auto snapshot = std::make_unique<engine::MemorySnapshot>();
        const engine::MemoryLoadResult loaded = engine::loadMemoryFile(options.loadPath, *snapshot);
        if (loaded.status != engine::MemoryFileStatus::Ok) {
            err << prefixed(loaded.message);
            return kExitIoError;
        }
        flow->restoreMemory(snapshot->memory, snapshot->entryCount);
    }
    std::ofstream csv;
    if (!options.csvPath.empty()) {
        csv.open(options.csvPath, std::ios::out | std::ios::trunc);
        csv << texts::kCsvHeader << '\n';
        if (!csv) {
            err << prefixed(std::string(texts::kCannotWrite) + " " + options.csvPath);
            return kExitIoError;
        }
    }

    out << texts::kTableHeader << '\n';
    ProgressBar bar(err, progress, options.games);
    std::int64_t errors = 0;
    std::int64_t gameNumber = 0;
    BlockCounts block, total;
    const auto onError = [&](const std::exception& error) {
        ++errors;
        if (errors <= kErrorsShown) {
            bar.hide();
            std::ostringstream message;
            message << texts::kGame << ' ' << gameNumber << ": " << error.what() << '.';
            if (errors == kErrorsShown) {
                message << ' ' << texts::kMoreErrors;
            }
            err << prefixed(message.str());
        }
    };
    const auto started = std::chrono::steady_clock::now();
    for (gameNumber = 1; gameNumber <= options.games; ++gameNumber) {
        const TrainFlow::GameResult result = flow->playGame(*player, onError);
        if (result.outcome >= 0) {
            ++block.wins[result.outcome];
            ++total.wins[result.outcome];
        }
        block.errors += result.errors;
        total.errors += result.errors;
        if (gameNumber % options.block == 0 || gameNumber == options.games) {
            const std::string line = blockLine(gameNumber, block, flow->entryCount(), '\t');
            bar.hide();
            out << line << std::flush;
            if (csv.is_open()) {
                csv << blockLine(gameNumber, block, flow->entryCount(), ',');
            }
            block = BlockCounts{};
        }
        bar.update(gameNumber);
    }
    bar.hide();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    out << texts::kTotal << '\t' << total.wins[0] << '\t' << total.wins[1] << '\t' << total.wins[2]
        << '\t' << total.errors << '\t' << flow->entryCount() << '\n';
    if (progress) {
        err << options.games << ' ' << texts::kGamesIn << ' ' << seconds << ' ' << texts::kSeconds
            << ": " << static_cast<std::int64_t>(static_cast<double>(options.games) / seconds)
            << ' ' << texts::kSpeed << '\n';
    }
    if (errors > kErrorsShown) {
        err << prefixed(std::string(texts::kErrorCount) + ": " + std::to_string(errors));
    }

    int code = kExitOk;
    if (csv.is_open()) {
        csv.close();
        if (!csv) {
            err << prefixed(std::string(texts::kCannotWrite) + " " + options.csvPath);
            code = kExitIoError;
        }
    }
    if (!options.savePath.empty()) {
        auto snapshot = std::make_unique<engine::MemorySnapshot>();
        snapshot->memory = flow->memory();
        snapshot->entryCount = flow->entryCount();
        const std::string failure = engine::saveMemoryFile(options.savePath, *snapshot);
        if (!failure.empty()) {
            err << prefixed(failure);
            code = kExitIoError;
        }
    }
    out.flush();
    if (!out) {
        err << prefixed(std::string(texts::kCannotWrite) + " stdout");
        code = kExitIoError;
    }
    return code;
}

}  // namespace zelmo::train
