// SPDX-License-Identifier: GPL-3.0-or-later
// The window as the program makes it, with its session beside it, under one name for the tests
// that use both.
#pragma once

#include "ui/form/unit1.h"
#include "ui/session.h"

namespace zelmo::ui::test {

struct SessionForm : TForm1 {
    Session session{*this};

    void useMemoryFile(const QString& path, FolderPolicy policy = FolderPolicy::MustExist) {
        session.useMemoryFile(path, policy);
    }
    void useKeptMemory() { session.useKeptMemory(); }
    MemoryStore* memoryStore() const { return session.memoryStore(); }
    void finishSaving() { session.finishSaving(); }
    void setWipeQuestion(WipeQuestion question) { session.setWipeQuestion(std::move(question)); }
    void setMemoryWriter(SaveThread::Writer writer) { session.setMemoryWriter(std::move(writer)); }
    bool watch(const QString& opponent, int paceMs) { return session.watch(opponent, paceMs); }
    WatchMode& watchMode() const { return session.watchMode(); }
};

}  // namespace zelmo::ui::test
