// SPDX-License-Identifier: GPL-3.0-or-later
// The program's command line: what each line asks for, and why a refused one is refused.
#include <gtest/gtest.h>

#include <QString>
#include <QStringList>

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
    };
    const Row rows[] = {
        {{}, Action::Run, {}, false, {}},
        {{"--memory", "a b.zelmo"}, Action::Run, "a b.zelmo", false, {}},
        {{"--memory=/tmp/m"}, Action::Run, "/tmp/m", false, {}},
        {{"--memory", "-odd-name"}, Action::Run, "-odd-name", false, {}},
        {{"--keep-memory"}, Action::Run, {}, true, {}},
        {{"--keep-memory", "--"}, Action::Run, {}, true, {}},
        {{"-platform", "offscreen", "-style=fusion", "-reverse"}, Action::Run, {}, false, {}},
        {{"--help"}, Action::Help, {}, false, "--keep-memory"},
        {{"-h", "--bogus"}, Action::Help, {}, false, "--memory ФАЙЛ"},
        {{"--version"}, Action::Version, {}, false, "zelmo " ZELMO_TEST_VERSION},
        {{"--bogus"}, Action::Error, {}, false, "неизвестный параметр «--bogus»"},
        {{"-x"}, Action::Error, {}, false, "«-x»"},
        {{"file.zelmo"}, Action::Error, {}, false, "лишний аргумент «file.zelmo»"},
        {{"--", "--help"}, Action::Error, {}, false, "«--help»"},
        {{"--memory"}, Action::Error, {}, false, "нужно имя файла"},
        {{"--memory="}, Action::Error, {}, false, "нужно имя файла"},
        {{"-platform"}, Action::Error, {}, false, "после «-platform» нужно значение"},
        {{"--keep-memory=yes"}, Action::Error, {}, false, "«--keep-memory» не бывает значения"},
        {{"--memory", "a", "--memory", "b"}, Action::Error, {}, false, "дважды"},
        {{"--keep-memory", "--memory", "a"}, Action::Error, {}, false, "вместе"},
    };
    for (const Row& row : rows) {
        const CommandLine result = zelmo::app::parseCommandLine(row.arguments);
        const std::string what = row.arguments.join(' ').toStdString();
        EXPECT_EQ(result.action, row.action) << what;
        EXPECT_EQ(result.memoryPath, row.memoryPath) << what;
        EXPECT_EQ(result.keepMemory, row.keepMemory) << what;
        EXPECT_TRUE(result.text.contains(row.inText)) << what << ": " << result.text.toStdString();
        if (row.action == Action::Error) {
            EXPECT_TRUE(result.text.endsWith(QStringLiteral("Справка: zelmo --help\n"))) << what;
        }
    }
}

}  // namespace
