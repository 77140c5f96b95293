// SPDX-License-Identifier: GPL-3.0-or-later
// The window under the crash-consistency script: the real main window with a memory file,
// playing games by clicks (a seeded random player, a stepping clock) so that every run with the
// same file plays the same games and saves the same memories.
//
//   crash_window_driver FILE GAMES          prints "ready" once FILE is loaded, then plays
//   crash_window_driver FILE GAMES --dump   writes the encoded memory after every game to
//                                           standard output, for the script to compare with,
//                                           each after its length (4 bytes, little-endian)
#include <QApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/game/players.h"
#include "engine/store/memoryformat.h"
#include "tests/common/windowgame.h"
#include "train/trainflow.h"
#include "ui/form/unit1.h"
#include "ui/session.h"
#include "ui/store/windowdocument.h"
#include "ui/widgets/controls.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fputs("usage: crash_window_driver FILE GAMES [--dump]\n", stderr);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const long games = std::atol(argv[2]);
    const bool dump = argc > 3 && std::string(argv[3]) == "--dump";

    zelmo::ui::TForm1 form;
    form.setClock(zelmo::train::SteppingClock(1778, 1777));
    form.setErrorBox([](QWidget*, const QString&, const QString& text) {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    });
    zelmo::ui::Session session(form);
    session.useMemoryFile(path);
    if (!dump) {
        std::puts("ready");
        std::fflush(stdout);
    }
    zelmo::engine::RandomPlayer player(1);
    for (long game = 1; game <= games; ++game) {
        zelmo::windowgame::playGame(form, player);
        if (dump) {
            const std::vector<std::uint8_t> bytes =
                zelmo::engine::encodeMemory(session.document().view());
            const auto size = static_cast<std::uint32_t>(bytes.size());
            for (int shift = 0; shift < 32; shift += 8) {
                std::fputc(static_cast<int>((size >> shift) & 0xFFu), stdout);
            }
            std::fwrite(bytes.data(), 1, bytes.size(), stdout);
        }
    }
    std::fflush(stdout);
    return 0;
}
