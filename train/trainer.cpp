// SPDX-License-Identifier: GPL-3.0-or-later
#include "train/trainer.h"
#include "engine/game/explanation.h"
#include "engine/game/lesson.h"
#include "engine/store/filetexts.h"
#include "engine/store/learnerfile.h"
#include "engine/store/memorybackup.h"
#include "engine/store/memoryfile.h"
#include "engine/store/memorywriter.h"
#include "engine/store/systemerrors.h"
#include "train/history.h"
#include "train/texts.h"

#include <algorithm>
#include <cassert>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>

namespace zelmo::train {

namespace {

// Errors shown one by one before the rest are only counted: a huge grade can overflow a weight
// in every game, and a million identical lines help nobody.
constexpr int kErrorsShown = 10;

// A report line's counts: player wins, computer wins, draws (the game flow's score points)
// and errors.
struct BlockCounts {
    std::int64_t wins[3] = {};
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

// The positions remembered at the end of a report line: the computer's, then the learner's
// for "X" when one plays.
struct Positions {
    std::int32_t computer = 0;
    std::optional<std::int32_t> learner;
};

std::string positionsText(const Positions& positions, char separator) {
    std::string text = std::to_string(positions.computer);
    if (positions.learner) {
        text += separator + std::to_string(*positions.learner);
    }
    return text;
}

std::string blockLine(std::int64_t games, const BlockCounts& counts, const Positions& positions,
                      char separator) {
    std::ostringstream line;
    line << games << separator << counts.wins[0] << separator << counts.wins[1] << separator
         << counts.wins[2] << separator << counts.errors << separator
         << positionsText(positions, separator) << '\n';
    return line.str();
}

std::string signalName(int signal) {
    switch (signal) {
        case SIGINT:
            return "SIGINT";
        case SIGTERM:
            return "SIGTERM";
        case SIGHUP:
            return "SIGHUP";
        default:
            return std::to_string(signal);
    }
}

// "не удалось записать CSV-файл «PATH» (cause)." from the errno the stream's failure left.
std::string csvFailure(const std::string& path, int error) {
    return std::string(texts::kCannotWriteCsv) + " «" + path + "» (" +
           (error != 0 ? engine::systemErrorText(error) : std::string(texts::kWriteError)) + ").";
}

std::string prefixed(const std::string& message) {
    return std::string(texts::kProgram) + ": " + message + "\n";
}

// A game told move by move: «партия 1, ход 2: клетка 5: позиция новая, …» for each move of the
// computer and «партия 1, ход 1 (X): …» for each of a learner for "X", in the order played, then
// «партия 1: ничья».
std::string traceOf(std::int64_t number, const TrainFlow& flow, const TrainFlow::GameResult& game,
                    const engine::LearnerPlayer* learner) {
    std::ostringstream text;
    static const std::vector<engine::MoveExplanation> kNone;
    for (const engine::PlayedMove& played : engine::inPlayOrder(
             flow.moveExplanations(), learner != nullptr ? learner->moveExplanations() : kNone)) {
        text << texts::kGame << ' ' << number << ", " << texts::kMove << ' '
             << played.move->marks + 1 << (played.cross ? texts::kLearnerMove : "") << ": "
             << engine::explanationText(*played.move) << '\n';
    }
    text << texts::kGame << ' ' << number << ": "
         << (!game.finished                                           ? std::string_view("?")
             : game.finished->outcome == engine::Outcome::PlayerWin   ? texts::kPlayerWonGame
             : game.finished->outcome == engine::Outcome::ComputerWin ? texts::kComputerWonGame
                                                                      : texts::kDrawGame)
         << '\n';
    return text.str();
}

// Before a run saves to a file it did not load: a file that holds a taught memory, or anything
// but a memory, is refused unless the run starts over on purpose, and is then kept as its
// backup. Returns 0 to go on, else the exit code (the message written).
int checkReplacedMemory(const TrainOptions& options, std::ostream& err) {
    if (options.loadPath == options.savePath) {
        return 0;
    }
    auto existing = std::make_unique<engine::MemoryDocument>();
    const engine::MemoryLoadResult read = engine::loadMemoryFile(options.savePath, *existing);
    if (read.status == engine::MemoryFileStatus::Missing ||
        (read.status == engine::MemoryFileStatus::Ok && existing->positions.entryCount == 0 &&
         existing->history.empty())) {
        return 0;  // nothing learnt is lost
    }
    const std::string backup = engine::backupPathOf(options.savePath);
    if (options.startOver) {
        const std::string failure = engine::keepBackup(options.savePath);
        if (!failure.empty()) {
            err << prefixed(failure);
            return kExitIoError;
        }
        return 0;
    }
    const std::string what =
        read.status == engine::MemoryFileStatus::Ok
            ? engine::fileTexts::format(
                  texts::kTaughtMemory, options.savePath,
                  engine::countOf(existing->positions.entryCount, engine::texts::kPositions),
                  engine::countOf(static_cast<std::int64_t>(existing->history.games()),
                                  engine::texts::kGames))
            : read.message + " " + std::string(texts::kNotAMemory);
    err << prefixed(what + "\n" +
                    engine::fileTexts::format(texts::kTaughtAdvice, options.savePath, backup));
    return kExitTaught;
}

// A file the run writes, taken for the run: its message told (with what happens next, and with
// `heldAdvice` when another program holds it), and 0 to go on or the exit code.
int tellTaken(const engine::MemoryWriter::Taken& taken, std::string_view heldAdvice,
              std::ostream& err) {
    using Kind = engine::MemoryWriter::Taken::Kind;
    switch (taken.kind) {
        case Kind::Held:
            err << prefixed(taken.message + " " + std::string(heldAdvice));
            return kExitBusy;
        case Kind::Failed:
            err << prefixed(taken.message);
            return kExitIoError;
        case Kind::Ok:
            break;
    }
    // As the window does: the run goes on without a lock, after saying so.
    if (!taken.message.empty()) {
        err << prefixed(taken.message + " " + std::string(texts::kUnlocked));
    }
    return 0;
}

}  // namespace

std::string plainSeconds(double seconds) {
    if (!(seconds > 0)) {
        return "0";
    }
    // Two decimals from one second up; below it enough decimals for three significant digits.
    int decimals = 2;
    if (seconds < 1) {
        decimals = 2 - static_cast<int>(std::floor(std::log10(seconds)));
        decimals = decimals < 9 ? decimals : 9;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, seconds);
    return text;
}

int runTraining(const TrainOptions& options, std::ostream& out, std::ostream& err, bool progress,
                const volatile std::sig_atomic_t* stop) {
    if (!options.historyPath.empty()) {
        return printHistory(options.historyPath, out, err) ? kExitOk : kExitIoError;
    }
    // parseArguments has already refused a name that makePlayer does not know.
    const std::unique_ptr<engine::Player> player = engine::makePlayer(options.player, options.seed);
    assert(player != nullptr);
    // A learner for "X" is the one player with a memory of its own, and maybe a file for it.
    auto* const learner = dynamic_cast<engine::LearnerPlayer*>(player.get());
    const std::optional<std::string> learnerPath = engine::learnerFileOf(options.player);
    auto flow = std::make_unique<TrainFlow>(options.grades);
    // The memory this run goes on from: loaded before anything is locked or played, so that a
    // file that cannot be read costs nothing. Its grades stand where none were given.
    auto document = std::make_unique<engine::MemoryDocument>();
    if (!options.loadPath.empty()) {
        const engine::MemoryLoadResult loaded = engine::loadMemoryFile(options.loadPath, *document);
        if (loaded.status != engine::MemoryFileStatus::Ok) {
            err << prefixed(loaded.message);
            return kExitIoError;
        }
        const Grades kept = document->gradesInForce();
        for (const engine::Grade grade :
             {engine::Grade::Win, engine::Grade::Loss, engine::Grade::Draw}) {
            if (!options.gradeGiven[static_cast<std::size_t>(grade)]) {
                flow->grades.set(grade, kept[grade]);
            }
        }
        flow->restoreMemory(document->positions.memory, document->positions.entryCount);
    }
    if (options.clockStart) {
        flow->setClock(SteppingClock(*options.clockStart, options.clockStep));
    }
    // The file to be saved is this run's alone from here to the end: a window that holds it
    // would overwrite the run's learning, or the run the window's.
    std::optional<engine::MemoryWriter> saver;
    if (!options.savePath.empty()) {
        saver.emplace(options.savePath, engine::kTrainerProgram);
        if (const int refused = tellTaken(saver->take(), texts::kHeldAdvice, err)) {
            return refused;
        }
    }
    // The learner's file is the run's alone too, and read before the first game.
    std::optional<engine::LearnerFile> learnerFile;
    if (learnerPath) {
        learnerFile.emplace(*learnerPath, engine::kTrainerProgram);
        if (const int refused =
                tellTaken(learnerFile->open(*learner), texts::kLearnerHeldAdvice, err)) {
            return refused;
        }
    }
    // A memory the run did not start from is replaced only when asked, and then kept: the last
    // check, since starting over keeps the old file as the backup.
    if (saver) {
        if (const int refused = checkReplacedMemory(options, err)) {
            return refused;
        }
    }
    const auto positions = [&] {
        return Positions{flow->entryCount(),
                         learner != nullptr ? std::optional(learner->entryCount()) : std::nullopt};
    };
    // The history of the memory goes on with this run's games and is saved with it.
    engine::LearningHistory& history = document->history;
    // Everything that can fail at the end is tried before the first game, so no run is lost.
    if (!options.savePath.empty()) {
        const std::string failure = engine::checkMemorySavePath(options.savePath);
        if (!failure.empty()) {
            err << prefixed(failure);
            return kExitIoError;
        }
    }
    std::ofstream csv;
    if (!options.csvPath.empty()) {
        errno = 0;
        csv.open(options.csvPath, std::ios::out | std::ios::trunc);
        csv << texts::kCsvHeader << (learner != nullptr ? texts::kLearnerCsvColumn : "") << '\n'
            << std::flush;
        if (!csv) {
            err << prefixed(csvFailure(options.csvPath, errno));
            return kExitIoError;
        }
    }

    ProgressBar bar(err, progress, options.games);
    bool outFailed = false;
    const auto write = [&](const std::string& text) {
        if (!outFailed) {
            out << text << std::flush;
            outFailed = !out;
        }
    };
    write(std::string(texts::kTableHeader) +
          std::string(learner != nullptr ? texts::kLearnerColumn : "") + "\n");
    std::int64_t errors = 0;
    std::int64_t gameNumber = 0;
    // The outcomes of the games played, in the block and in all.
    BlockCounts block;
    BlockCounts total;
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
    const auto stopSignal = [stop] { return stop != nullptr ? static_cast<int>(*stop) : 0; };
    const auto started = std::chrono::steady_clock::now();
    for (gameNumber = 1; gameNumber <= options.games; ++gameNumber) {
        const TrainFlow::GameResult game = flow->playGame(*player, onError);
        block.errors += game.errors;
        if (gameNumber <= options.trace) {
            bar.hide();
            write(traceOf(gameNumber, *flow, game, learner));
        }
        if (game.finished) {
            const auto point =
                static_cast<std::size_t>(engine::scorePointOf(game.finished->outcome));
            ++block.wins[point];
            ++total.wins[point];
            // A history at its largest count (2^53 games) stays as it is, as in the window: the
            // games go on, and so does the memory.
            if (history.games() < engine::LearningHistory::kMaxGames) {
                history.add(engine::historyGame(*game.finished),
                            engine::LearningHistory::kWhileRunning);
            }
            if (learnerFile) {
                learnerFile->noteGame(*learner, *game.finished);
            }
        }
        const bool stopping = stopSignal() != 0;
        if (gameNumber % options.block == 0 || gameNumber == options.games || stopping) {
            bar.hide();
            write(blockLine(gameNumber, block, positions(), '\t'));
            if (csv.is_open()) {
                csv << blockLine(gameNumber, block, positions(), ',') << std::flush;
            }
            block = BlockCounts{};
        }
        if (stopping) {
            break;
        }
        bar.update(gameNumber);
    }
    bar.hide();
    // The loop leaves gameNumber one past the last game, or at the game it stopped after.
    const std::int64_t played = std::min(gameNumber, options.games);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::ostringstream totalLine;
    totalLine << texts::kTotal << '\t' << total.wins[0] << '\t' << total.wins[1] << '\t'
              << total.wins[2] << '\t' << errors << '\t' << positionsText(positions(), '\t')
              << '\n';
    write(totalLine.str());
    const int signal = stopSignal();
    if (signal != 0) {
        err << prefixed(std::string(texts::kStopped) + " " + signalName(signal) + " " +
                        std::string(texts::kAfter) + " " +
                        engine::countOf(played, texts::kGamesAfter));
    }
    if (progress) {
        const auto perSecond =
            seconds > 0 ? static_cast<std::int64_t>(static_cast<double>(played) / seconds) : 0;
        err << engine::countOf(played, engine::texts::kGames) << ' ' << texts::kIn << ' '
            << plainSeconds(seconds) << ' ' << texts::kSeconds << ": "
            << engine::countOf(perSecond, engine::texts::kGames) << ' ' << texts::kPerSecond
            << '\n';
    }
    if (errors > kErrorsShown) {
        err << prefixed(std::string(texts::kErrorCount) + " " +
                        engine::countOf(errors, texts::kErrors));
    }

    int code = kExitOk;
    // Saved beside the file is still not saved where it was asked for.
    const auto report = [&](const engine::MemoryWriter::Outcome& saved) {
        for (const std::string& message : {saved.notice, saved.failure}) {
            if (!message.empty()) {
                err << prefixed(message);
                code = kExitIoError;
            }
        }
    };
    if (csv.is_open()) {
        errno = 0;
        csv.close();
        if (!csv) {
            err << prefixed(csvFailure(options.csvPath, errno));
            code = kExitIoError;
        }
    }
    if (saver) {
        report(saver->save(engine::encodeMemory(
            engine::DocumentView{flow->memory(), flow->entryCount(), history, flow->grades})));
    }
    if (learnerFile) {
        report(learnerFile->save(*learner));
    }
    if (outFailed) {
        err << prefixed(std::string(texts::kCannotWrite) + " " + std::string(texts::kStdout));
        code = kExitIoError;
    }
    // An interrupted run that wrote everything ends as the signal asks, as shells expect.
    if (code == kExitOk && signal != 0) {
        code = 128 + signal;
    }
    return code;
}

}  // namespace zelmo::train
