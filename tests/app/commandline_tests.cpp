// SPDX-License-Identifier: GPL-3.0-or-later
// The program's command line: what each line asks for, and why a refused one is refused.
#include <gtest/gtest.h>

#include <QString>
#include <QStringList>

#include <optional>

#include "app/abbreviations.h"
#include "app/commandline.h"

namespace {

using zelmo::app::CommandLine;

TEST(CommandLineTest, OptionsHelpVersionAndRefusals) {
    using Action = CommandLine::Action;
    struct Row {
        QStringList arguments;
        Action action;
        QString memoryPath;
        bool keepMemory;
        QString inText;
        QString opponent = {};
        std::optional<int> pace = {};
    };
    const QString players = QStringLiteral(
        "у параметра --opponent: нужно random, perfect, mixed:P, где P — десятичное число от 0 "
        "до 1, learner или learner:ФАЙЛ\n");
    const Row rows[] = {
        {{}, Action::Run, {}, false, {}},
        {{"--memory", "a b.zelmo"}, Action::Run, "a b.zelmo", false, {}},
        {{"--memory=/tmp/m"}, Action::Run, "/tmp/m", false, {}},
        {{"--memory", "-odd-name"}, Action::Run, "-odd-name", false, {}},
        {{"--keep-memory"}, Action::Run, {}, true, {}},
        {{"--keep-memory", "--"}, Action::Run, {}, true, {}},
        {{"-platform", "offscreen", "-style=fusion", "-reverse"}, Action::Run, {}, false, {}},
        {{"--help"}, Action::Help, {}, false, "--keep-memory"},
        {{"--help"}, Action::Help, {}, false, "без --pace 321;"},
        {{"-h", "--bogus"}, Action::Help, {}, false, "--memory ФАЙЛ"},
        {{"--version"}, Action::Version, {}, false, "zelmo " ZELMO_TEST_VERSION},
        {{"--bogus"}, Action::Error, {}, false, "неизвестный параметр «--bogus»"},
        {{"-x"}, Action::Error, {}, false, "«-x»"},
        // A file without an option is a memory file, also after --keep-memory (the menu entry's
        // line with a file) and after "--"; one only.
        {{"file.zelmo"}, Action::Run, "file.zelmo", false, {}},
        {{"--keep-memory", "/a/b.zelmo"}, Action::Run, "/a/b.zelmo", false, {}},
        {{"--", "--help"}, Action::Run, "--help", false, {}},
        {{"a.zelmo", "b.zelmo"}, Action::Error, {}, false, "лишний аргумент «b.zelmo»"},
        {{"--memory", "a", "b"}, Action::Error, {}, false, "указан дважды"},
        {{""}, Action::Error, {}, false, "пустое имя файла"},
        {{"--memory"}, Action::Error, {}, false, "нужно имя файла"},
        {{"--memory="}, Action::Error, {}, false, "нужно имя файла"},
        {{"-platform"}, Action::Error, {}, false, "после «-platform» нужно значение"},
        {{"--keep-memory=yes"}, Action::Error, {}, false, "«--keep-memory» не бывает значения"},
        {{"--memory", "a", "--memory", "b"}, Action::Error, {}, false, "дважды"},
        {{"--keep-memory", "--memory", "a"}, Action::Error, {}, false, "вместе"},
        {{"--keep-memory", "--keep"}, Action::Error, {}, false, "--keep-memory указан дважды"},
        {{"--help=1"}, Action::Error, {}, false, "«--help» не бывает значения"},
        {{"--reverse=1", "--help=1"}, Action::Error, {}, false, "«--reverse» не бывает значения"},
        {{"--keep-memory=1", "-h=1"}, Action::Error, {}, false, "«--keep-memory» не бывает"},
        {{"-hv"}, Action::Error, {}, false, "неизвестный параметр «-hv»"},
        // Watching a player: the names the trainer knows, a pace 0..60000 with --opponent only.
        {{"--opponent", "perfect"}, Action::Run, {}, false, {}, "perfect"},
        {{"--opponent=mixed:0.25", "--pace", "0"}, Action::Run, {}, false, {}, "mixed:0.25", 0},
        {{"--pace=60000", "--opponent", "random"}, Action::Run, {}, false, {}, "random", 60000},
        {{"--opponent", "mixed:1.5"}, Action::Error, {}, false, "«mixed:1.5» " + players},
        {{"--opponent", "mixed: 0.5"}, Action::Error, {}, false, "«mixed: 0.5» " + players},
        {{"--opponent", "mixed:0x0.8"}, Action::Error, {}, false, "«mixed:0x0.8» " + players},
        {{"--opponent"}, Action::Error, {}, false, "после «--opponent» нужно значение"},
        {{"--opponent", "random", "--opponent", "random"},
         Action::Error,
         {},
         false,
         "--opponent указан дважды"},
        {{"--opponent", "random", "--pace", "60001"},
         Action::Error,
         {},
         false,
         "«60001» у параметра --pace: нужно целое число миллисекунд от 0 до 60000"},
        {{"--opponent", "random", "--pace", "-1"}, Action::Error, {}, false, "«-1»"},
        {{"--opponent", "random", "--pace=+5"}, Action::Error, {}, false, "«+5»"},
        {{"--pace", "100"}, Action::Error, {}, false, "только вместе с --opponent"},
        {{"--opponent", "learner:x.zelmo", "o.zelmo"},
         Action::Run,
         "o.zelmo",
         false,
         {},
         "learner:x.zelmo"},
        {{"--opponent", "learner:m.zelmo", "m.zelmo"}, Action::Error, {}, false, "своя память"},
        // Unique abbreviations of our own long options; values and what follows "--" untouched.
        {{"--mem=m", "--p", "5", "--opp", "mixed:1"}, Action::Run, "m", false, {}, "mixed:1", 5},
        {{"--keep", "--o", "random"}, Action::Run, {}, true, {}, "random"},
        {{"--memory", "--keep"}, Action::Run, "--keep", false, {}},
        {{"-platform", "--opp", "--opp", "random"}, Action::Run, {}, false, {}, "random"},
        {{"--h", "--bogus"}, Action::Help, {}, false, "--opponent ИГРОК"},
        {{"--vers"}, Action::Version, {}, false, "zelmo " ZELMO_TEST_VERSION},
        {{"--mem"}, Action::Error, {}, false, "нужно имя файла"},
        {{"--keep=yes"}, Action::Error, {}, false, "«--keep-memory» не бывает значения"},
        {{"-reverse=1"}, Action::Error, {}, false, "«-reverse» не бывает значения"},
        {{"--opponent", "random", "--p"},
         Action::Error,
         {},
         false,
         "после «--pace» нужно значение"},
        {{"--", "--keep"}, Action::Run, "--keep", false, {}},
    };
    for (const Row& row : rows) {
        const CommandLine result = zelmo::app::parseCommandLine(row.arguments, 321);
        const std::string what = row.arguments.join(' ').toStdString();
        EXPECT_EQ(result.action, row.action) << what;
        EXPECT_EQ(result.memoryPath, row.memoryPath) << what;
        EXPECT_EQ(result.keepMemory, row.keepMemory) << what;
        EXPECT_EQ(result.opponent, row.opponent) << what;
        EXPECT_EQ(result.pace, row.pace) << what;
        EXPECT_TRUE(result.text.contains(row.inText)) << what << ": " << result.text.toStdString();
        if (row.action == Action::Error) {
            EXPECT_TRUE(result.text.endsWith(QStringLiteral("Справка: zelmo --help\n"))) << what;
        }
    }
}

// No two of the window's own options begin alike, so a made-up set shows the ambiguity.
TEST(CommandLineTest, AmbiguousAbbreviationNamesTheCandidates) {
    const QStringList names = {"keep-memory", "keep-score", "memory"};
    const zelmo::app::Expansion ambiguous =
        zelmo::app::expandAbbreviations({"--memory", "--ke", "--kee=1"}, names, {"memory"}, {});
    EXPECT_EQ(ambiguous.ambiguous, "--kee");
    EXPECT_EQ(ambiguous.candidates, QStringList({"--keep-memory", "--keep-score"}));
    const zelmo::app::Expansion unique = zelmo::app::expandAbbreviations(
        {"--keep-s", "--m=--k", "--", "--k"}, names, {"memory"}, {});
    EXPECT_TRUE(unique.ambiguous.isEmpty());
    EXPECT_EQ(unique.arguments, QStringList({"--keep-score", "--memory=--k", "--", "--k"}));
}

}  // namespace
