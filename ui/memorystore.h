// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <string>

namespace zelmo::engine {
class GameFlow;
}

namespace zelmo::ui {

// Keeps the computer's memory in a file for a window started with `zelmo --memory FILE`: reads
// it once at start-up, writes it after every finished game and after every wipe. A file that
// cannot be read (damaged, foreign, from a newer version) is reported once and never written
// over until the player wipes the memory; a failed save is reported once until a save succeeds.
class MemoryStore {
  public:
    // Shows an error in the window's error box.
    using Report = std::function<void(const QString& text)>;

    MemoryStore(engine::GameFlow& flow, const QString& path, Report report);

    // Reads the file into the game flow; a missing file leaves the memory empty.
    void load();
    // The player wiped the memory: the next check saves, whatever the file held.
    void noteWipe() { wipePending_ = true; }
    // Called after every event handler: saves when a game has ended since the last save or
    // the memory was wiped.
    void afterEvent();

    // The file that was read is kept as it was (unreadable) until the next wipe.
    bool keepsUnreadableFile() const { return keepFile_; }

  private:
    void save();

    engine::GameFlow& flow_;
    std::string path_;
    Report report_;
    std::int32_t lastFinishedGame_ = 0;
    bool wipePending_ = false;
    bool keepFile_ = false;
    bool saveFailing_ = false;
};

// What the command line asks for: run the game (with the memory file, if one is given), show
// the help, or refuse (the text says why).
struct CommandLine {
    enum class Action { Run, Help, Error };
    Action action = Action::Run;
    QString memoryPath;
    QString text;  // the help or the error message, for the terminal
};

// Reads the program's arguments (without the program name and without the options Qt itself
// took): "--memory FILE", "--memory=FILE", "-h", "--help".
CommandLine parseCommandLine(const QStringList& arguments);

}  // namespace zelmo::ui
