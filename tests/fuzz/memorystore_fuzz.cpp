// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the window's memory file kept by the real store, saving on its own thread. Each
// input starts with a file (missing, any bytes, a memory the game played, or one of those
// damaged with or without fresh checksums), loads it, then plays games, wipes (with or without
// a backup), flushes, and changes the file under the store (new bytes, removed, a folder in its
// place, a link to another file). After every save, flushed, the store must have:
//  - brought back exactly the memory of a readable file, but for the used marks of the last game
//    played on it, which it drops; reported an unreadable one once and started empty;
//  - never written over an unreadable file before a wipe; after every game and wipe, left the
//    memory of the game in its file;
//  - kept the file as it was before a wipe with a backup in FILE.bak;
//  - never written over a file changed under it: the memory went to a new file beside it,
//    told once, and the saves after it went there; a file removed under it is made again.
#include <fuzzer/FuzzedDataProvider.h>

#include <QCoreApplication>
#include <QString>

#include <sys/stat.h>
#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "engine/game/errors.h"
#include "engine/game/players.h"
#include "engine/store/atomicfile.h"
#include "engine/store/memorybackup.h"
#include "engine/store/memorydocument.h"
#include "engine/store/memoryfile.h"
#include "fuzzcheck.h"
#include "tests/common/memorylayout.h"
#include "train/trainflow.h"
#include "ui/store/memorylocation.h"
#include "ui/store/memorystore.h"

namespace {

namespace fs = std::filesystem;
using namespace zelmo::engine;
using Bytes = std::vector<std::uint8_t>;
namespace layout = zelmo::memorylayout;
using zelmo::fuzz::check;
using zelmo::fuzz::fail;

fs::path folder;  // made once; every input starts it afresh

std::optional<Bytes> readFile(const fs::path& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    Bytes bytes(static_cast<std::size_t>(fs::file_size(path, error)));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (error || !in) {
        return std::nullopt;
    }
    return bytes;
}

void writeFile(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

void clearPath(const fs::path& path) {
    std::error_code ignored;
    fs::remove_all(path, ignored);
}

// A document is large: one kept for all inputs spares a fresh mapping of memory for each.
zelmo::engine::MemoryDocument& scratch() {
    static const auto kept = std::make_unique<zelmo::engine::MemoryDocument>();
    return *kept;
}

Bytes encoded(const zelmo::engine::LiveDocument& document) {
    return encodeMemory(document.view());
}

// One game; only an overflow of a weight at the 32-bit limit may be reported on the way.
void playGame(zelmo::train::TrainFlow& flow, zelmo::engine::Player& player) {
    flow.playGame(player, [](const std::exception& error) {
        if (dynamic_cast<const EIntOverflow*>(&error) == nullptr) {
            fail("an error other than an overflow during a game");
        }
    });
}

// A memory file the game itself wrote after a few games.
Bytes playedFile(FuzzedDataProvider& fdp) {
    zelmo::train::TrainFlow flow(zelmo::train::Grades{5, 2, 4});
    flow.setClock([] { return 0u; });
    zelmo::engine::RandomPlayer player(fdp.ConsumeIntegral<std::uint16_t>());
    const int games = fdp.ConsumeIntegralInRange<int>(0, 8);
    for (int i = 0; i < games; ++i) {
        playGame(flow, player);
    }
    zelmo::engine::LearningHistory history;
    const zelmo::engine::FlowDocument document(flow, history);
    return encoded(document);
}

Bytes someBytes(FuzzedDataProvider& fdp) {
    switch (fdp.ConsumeIntegralInRange<int>(0, 3)) {
        case 0:
            return fdp.ConsumeBytes<std::uint8_t>(fdp.ConsumeIntegralInRange<std::size_t>(0, 200));
        case 1:
            return playedFile(fdp);
        default: {
            // A played file with one byte changed; half of them sealed again, so that only the
            // entry checks can refuse them.
            Bytes bytes = playedFile(fdp);
            const std::size_t at = fdp.ConsumeIntegralInRange<std::size_t>(0, bytes.size() - 1);
            bytes[at] = fdp.ConsumeIntegral<std::uint8_t>();
            if (fdp.ConsumeBool() && bytes.size() >= layout::kHeaderSize + layout::kTrailerSize) {
                bytes = layout::seal(
                    Bytes(bytes.begin() + layout::kHeaderSize, bytes.end() - layout::kTrailerSize));
            }
            return bytes;
        }
    }
}

class Run {
  public:
    explicit Run(const std::uint8_t* data, std::size_t size)
        : fdp_(data, size), player_(fdp_.ConsumeIntegral<std::uint16_t>()) {}

    void execute() {
        clearPath(folder);
        fs::create_directories(folder);
        if (fdp_.ConsumeBool()) {
            writeFile(file_, someBytes(fdp_));
        }
        const std::optional<Bytes> before = readFile(file_);
        seen_ = identityOf(file_.string());
        flow_.setClock([] { return 0u; });
        zelmo::ui::MemoryStore store(document_, QString::fromStdString(file_.string()),
                                     [this](const QString& text) {
                                         check(!text.isEmpty(), "an empty report");
                                         ++reports_;
                                     });
        store.load(zelmo::ui::FolderPolicy::MustExist);
        expectLoaded(before, store);

        for (int steps = 0; steps < 12 && fdp_.remaining_bytes() > 0; ++steps) {
            step(store);
        }
    }

  private:
    void expectLoaded(const std::optional<Bytes>& before, const zelmo::ui::MemoryStore& store) {
        if (!before) {
            check(reports_ == 0 && flow_.entryCount() == 0 && !store.keepsUnreadableFile(),
                  "a missing file is an empty memory, silently");
            return;
        }
        if (decodeMemory(before->data(), before->size(), scratch()).status ==
            MemoryFileStatus::Ok) {
            check(reports_ == 0 && !store.keepsUnreadableFile(), "a readable file reported");
            // Used marks belong to the last game played on the file: the store drops them.
            scratch().positions.memory.clearUsed(scratch().positions.entryCount);
            const Bytes file = encodeMemory(scratch());
            check(encoded(document_) == file, "the document loaded is not the file's");
        } else {
            check(reports_ == 1 && store.keepsUnreadableFile(),
                  "an unreadable file is reported once and kept");
            check(flow_.entryCount() == 0, "an unreadable file leaves the memory empty");
        }
    }

    // A save was due: the file now holds the game's memory, or, when another program had
    // put a file of its own in its place, that file is left and the memory is in a new one.
    void expectSaved(const zelmo::ui::MemoryStore& store, const std::optional<Bytes>& before,
                     int reportsBefore) {
        if (store.keepsUnreadableFile()) {
            check(readFile(target_) == before && reports_ == reportsBefore,
                  "an unreadable file written over before a wipe");
            return;
        }
        const fs::path saved = store.path().toStdString();
        if (diverted_) {
            check(saved != target_ && reports_ == reportsBefore + 1,
                  "a file changed under the store is not told once and kept apart");
            check(readFile(target_) == before, "a file changed under the store written over");
            if (link_) {
                check(fs::is_symlink(target_) && fs::read_symlink(target_) == *link_,
                      "the link put in the file's place was replaced");
            }
            target_ = saved;
            link_.reset();
            diverted_ = false;
        } else {
            check(saved == target_, "the store's file moved without a reason");
            check(reports_ == reportsBefore, "a save that worked reported");
        }
        check(readFile(target_) == encoded(document_), "the file does not hold the game's memory");
        seen_ = identityOf(target_.string());
    }

    // The save handed to the saving thread is written; its outcome reaches the store.
    static void settle(zelmo::ui::MemoryStore& store) {
        store.flush();
        QCoreApplication::processEvents();
    }

    void step(zelmo::ui::MemoryStore& store) {
        const std::optional<Bytes> before = readFile(target_);
        const int reportsBefore = reports_;
        switch (fdp_.ConsumeIntegralInRange<int>(0, 4)) {
            case 0:
            case 1:
                playGame(flow_, player_);
                store.gameFinished();
                settle(store);
                expectSaved(store, before, reportsBefore);
                break;
            case 2: {
                const bool backup = fdp_.ConsumeBool();
                const fs::path backupPath = zelmo::engine::backupPathOf(target_.string());
                const std::optional<Bytes> keptBefore = readFile(backupPath);
                flow_.Button1Click();
                store.wiped(backup);
                check(!store.keepsUnreadableFile(), "a wipe gives the file up");
                settle(store);
                expectSaved(store, before, reportsBefore);
                if (backup && before) {
                    check(readFile(backupPath) == before, "the backup is not the file as it was");
                } else if (!backup) {
                    check(readFile(backupPath) == keptBefore, "a backup nobody asked for");
                }
                break;
            }
            case 3:
                // Nothing waits: a flush writes nothing and reports nothing.
                settle(store);
                check(readFile(target_) == before && reports_ == reportsBefore,
                      "a flush with nothing to save changed something");
                break;
            default:
                changeUnder();
                break;
        }
    }

    // Someone else changes the file between two saves. Whatever is there then and is not the
    // file the store last read or wrote is kept apart at the next save.
    void changeUnder() {
        clearPath(target_);
        link_.reset();
        switch (fdp_.ConsumeIntegralInRange<int>(0, 3)) {
            case 0:
                writeFile(target_, someBytes(fdp_));
                break;
            case 1:
                break;  // removed
            case 2:
                fs::create_directory(target_);
                break;
            default: {
                const fs::path elsewhere = folder / "elsewhere.memory";
                clearPath(elsewhere);
                writeFile(elsewhere, someBytes(fdp_));
                fs::create_symlink(elsewhere, target_);
                link_ = elsewhere;
                break;
            }
        }
        const FileIdentity now = identityOf(target_.string());
        diverted_ = now.exists && now != seen_;
    }

    FuzzedDataProvider fdp_;
    zelmo::engine::RandomPlayer player_;
    zelmo::train::TrainFlow flow_{zelmo::train::Grades{5, 2, 4}};
    zelmo::engine::LearningHistory history_;
    zelmo::engine::FlowDocument document_{flow_, history_};
    const fs::path file_ = folder / "zelmo.memory";
    fs::path target_ = file_;  // where the store saves: the file, or the new one beside it
    FileIdentity seen_;        // the target as the store last read or wrote it
    bool diverted_ = false;    // the next save must go beside the target
    std::optional<fs::path> link_;
    int reports_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    static int argc = 1;
    static char name[] = "memorystore_fuzz";
    static char* argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);
    // Saves flush to disk; in memory that costs nothing.
    const fs::path base =
        ::access("/dev/shm", W_OK) == 0 ? fs::path("/dev/shm") : fs::temp_directory_path();
    std::string pattern = (base / "zelmo-memorystore-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        std::abort();
    }
    folder = fs::path(pattern) / "store";
    // libFuzzer ends with exit(): the folder goes with the process (a crash leaves it behind).
    static const fs::path made = pattern;
    std::atexit([] { clearPath(made); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Run(data, size).execute();
    return 0;
}
