// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class QWidget;

namespace zelmo::engine {
class LiveDocument;
}  // namespace zelmo::engine

namespace zelmo::ui {

class MemoryStore;
class TForm1;

// The memory files the player handles from the window: Ctrl+O opens a memory file (a file that
// another window holds brings that window forward instead), Ctrl+Shift+S saves a copy of the
// memory document under a new name, and the restore command brings back the document from
// before the last wipe, after a question: the file's backup (FILE.bak) for a window with a
// file, else the document this object kept when the window wiped it. Every one of them takes
// the whole document (positions, history, grades). The session holds one and runs it from its
// actions, and gives it what it needs of the session as a Host; the dialogs and the question are
// functions, so that tests answer them.
class MemoryFiles {
  public:
    // Asks for a file: the chosen path, or "" when the player cancels.
    using FileDialog = std::function<QString(QWidget* owner, const QString& caption,
                                             const QString& folder, const QString& filter)>;
    // A question with a confirming button `confirm` beside «Оставить память»; true when the
    // player confirms, false (the safe answer) keeps the memory as it is.
    using Question = std::function<bool(QWidget* owner, const QString& caption, const QString& text,
                                        const QString& confirm)>;

    // What the files need of the window's session.
    struct Host {
        std::function<void()> stopWatching;                // the window stops playing by itself
        std::function<MemoryStore*()> store;               // the store of the file in use, if any
        std::function<void(const QString& path)> useFile;  // goes on with the memory in `path`
    };

    MemoryFiles(Host host, TForm1& form, engine::LiveDocument& document);

    void setOpenDialog(FileDialog dialog);
    void setSaveDialog(FileDialog dialog);
    void setQuestion(Question question);

    void open();
    void saveCopy();
    void restore();
    // The window is about to wipe its memory: without a file of its own, the document as it is
    // now is kept for restore().
    void aboutToWipe();

  private:
    // The folder the dialogs start in: the open file's, else the kept memory's.
    QString startFolder() const;
    // restore() for a window without a file: the document kept before the last wipe.
    void restoreKept();

    Host host_;
    TForm1& form_;
    engine::LiveDocument& document_;
    std::vector<std::uint8_t> beforeWipe_;  // encoded; empty when nothing was wiped
    FileDialog openDialog_;
    FileDialog saveDialog_;
    Question question_;
};

// The real dialogs: the desktop's file dialogs (a new name for a copy gets the suffix
// .zelmo when it has none).
QString askOpenFile(QWidget* owner, const QString& caption, const QString& folder,
                    const QString& filter);
QString askSaveFile(QWidget* owner, const QString& caption, const QString& folder,
                    const QString& filter);

}  // namespace zelmo::ui
