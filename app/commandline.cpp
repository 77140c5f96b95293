// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commandline.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

#include <initializer_list>
#include <optional>
#include <string>

#include "app/abbreviations.h"
#include "engine/game/players.h"
#include "engine/game/texts.h"
#include "ui/helpkeys.h"

namespace zelmo::app {

namespace {

// The command line's texts (UTF-8), printed on the terminal.
namespace texts {
const QString kUsage = QStringLiteral(
    "Использование: zelmo [--memory ФАЙЛ | --keep-memory] [--opponent ИГРОК [--pace МС]]\n"
    "               zelmo [--keep-memory] [--opponent ИГРОК [--pace МС]] ФАЙЛ\n"
    "Зельмо: крестики-нолики с компьютером, который учится.\n"
    "\n"
    "  --memory ФАЙЛ     хранить выученное компьютером в ФАЙЛЕ: прочитать его при запуске\n"
    "                    (если файла нет, он будет создан) и сохранять после каждой партии\n"
    "                    и после «промыть мозги»\n"
    "  --keep-memory     то же с файлом $XDG_DATA_HOME/zelmo/memory.zelmo\n"
    "                    (обычно ~/.local/share/zelmo/memory.zelmo); так запускает меню\n"
    "  ФАЙЛ              то же, что --memory ФАЙЛ (так открывает файл памяти файловый\n"
    "                    менеджер); вместе с --keep-memory используется ФАЙЛ\n"
    "  --opponent ИГРОК  сразу смотреть, как компьютер учится: окно само играет за «X»\n"
    "                    игроком random (случайные ходы), perfect (никогда не проигрывает),\n"
    "                    mixed:P (perfect с вероятностью P от 0 до 1, иначе random),\n"
    "                    learner (ученик: сам учится играть за «X», пока окно открыто) или\n"
    "                    learner:ФАЙЛ (ученик со своей памятью в ФАЙЛЕ; файл создаётся,\n"
    "                    если его нет), партию за партией, пока его не остановят (как F5)\n"
    "  --pace МС         сколько миллисекунд окно тратит на ход: от 0 (так быстро, как\n"
    "                    можно) до %1, без --pace %2; только вместе с --opponent\n"
    "  -h, --help        показать эту справку\n"
    "  --version         показать версию\n"
    "\n"
    "Длинные параметры можно сокращать, пока сокращение однозначно: --keep, --mem=ФАЙЛ.\n"
    "Без параметров ничего не читается и не сохраняется.\n"
    "\n"
    "Клавиши окна (как в его справке, F1):\n"
    "%3"
    "\n"
    "Один файл памяти открыт в одном окне: запуск на файле, открытом в другом окне,\n"
    "выводит то окно вперёд и завершается.\n");
const QString kVersion = QStringLiteral("zelmo " ZELMO_VERSION
                                        "\n"
                                        "Лицензия GPL-3.0-or-later.\n");
const QString kUnknownOption = QStringLiteral("zelmo: неизвестный параметр «%1»\n");
const QString kMissingValue = QStringLiteral("zelmo: после --memory нужно имя файла\n");
const QString kMissingOther = QStringLiteral("zelmo: после «%1» нужно значение\n");
const QString kNoValue = QStringLiteral("zelmo: у параметра «%1» не бывает значения\n");
const QString kTwice = QStringLiteral("zelmo: %1 указан дважды\n");
const QString kAmbiguous = QStringLiteral("zelmo: неоднозначный параметр «%1»: %2?\n");
const QString kBadValue = QStringLiteral("zelmo: неверное значение «%1» у параметра %2: %3\n");
const QString kLearnerOwnFile = QStringLiteral(
    "zelmo: у ученика за «X» (--opponent learner:ФАЙЛ) своя память: его файл не может быть "
    "файлом памяти окна\n");
const QString kPaceRange = QStringLiteral("нужно целое число миллисекунд от 0 до %1");
const QString kPaceAlone = QStringLiteral("zelmo: --pace задаётся только вместе с --opponent\n");
const QString kBoth = QStringLiteral("zelmo: --memory и --keep-memory вместе не указываются\n");
const QString kExtraArgument = QStringLiteral("zelmo: лишний аргумент «%1»\n");
const QString kEmptyFile = QStringLiteral("zelmo: пустое имя файла памяти\n");
const QString kFileTwice =
    QStringLiteral("zelmo: файл памяти указан дважды: после --memory и без параметра\n");
const QString kTryHelp = QStringLiteral("Справка: zelmo --help\n");
}  // namespace texts

// The window's keys from the help's own table, each wrapped to the terminal's customary 80
// columns under its key.
QString keyLines() {
    constexpr int kWidth = 79;
    constexpr int kIndent = 6;
    QString out;
    for (const ui::texts::HelpKey& key : ui::texts::kHelpKeys) {
        QString line = QStringLiteral("  ") + key.keys + QStringLiteral(" —");
        for (const QString& word : key.what.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (line.size() + 1 + word.size() > kWidth) {
                out += line + QLatin1Char('\n');
                line = QString(kIndent, QLatin1Char(' ')) + word;
            } else {
                line += QLatin1Char(' ') + word;
            }
        }
        out += line + QLatin1Char('\n');
    }
    return out;
}

// Qt's own options, which QApplication takes out of the arguments later; accepted here so
// that "zelmo -platform offscreen" or "zelmo -style fusion" keep working.
constexpr std::initializer_list<const char*> kQtValueOptions = {"platform",
                                                                "platformpluginpath",
                                                                "platformtheme",
                                                                "plugin",
                                                                "qwindowgeometry",
                                                                "qwindowtitle",
                                                                "qwindowicon",
                                                                "geometry",
                                                                "display",
                                                                "style",
                                                                "stylesheet",
                                                                "session",
                                                                "qmljsdebugger",
                                                                "title",
                                                                "name",
                                                                "qwindowstate"};
constexpr std::initializer_list<const char*> kQtFlagOptions = {"reverse", "widgetcount", "nograb",
                                                               "dograb", "sync"};

QCommandLineOption hidden(QCommandLineOption option) {
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    return option;
}

// A pace: a whole decimal number 0..kMaxPace and nothing else (no sign, blank or other base).
std::optional<int> paceOf(const QString& text) {
    if (text.isEmpty() || text.size() > 5) {
        return std::nullopt;
    }
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return std::nullopt;
        }
    }
    const int pace = text.toInt();
    return pace <= kMaxPace ? std::optional<int>(pace) : std::nullopt;
}

// An unknown option's name as the user wrote it: "-hv" or "--hv" (without a value).
QString asTyped(const QStringList& arguments, const QString& name) {
    for (const QString& argument : arguments) {
        if (argument == QStringLiteral("--")) {
            break;
        }
        QString option = argument.left(argument.indexOf(QLatin1Char('=')));
        if (option == QStringLiteral("-") + name || option == QStringLiteral("--") + name) {
            return option;
        }
    }
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

// An option's name without its one or two dashes: "memory" for "--memory" and "-memory".
QString nameOf(const QString& option) {
    return option.mid(option.startsWith(QStringLiteral("--")) ? 2 : 1);
}

}  // namespace

CommandLine parseCommandLine(const QStringList& arguments, int defaultPace) {
    QCommandLineParser parser;
    // Single-dash words are long options, as Qt's own "-platform" and "-style" are.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption memory(QStringLiteral("memory"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption keepMemory(QStringLiteral("keep-memory"));
    const QCommandLineOption opponent(QStringLiteral("opponent"), QString(),
                                      QStringLiteral("PLAYER"));
    const QCommandLineOption pace(QStringLiteral("pace"), QString(), QStringLiteral("MS"));
    const QList<QCommandLineOption> own = {help, version, memory, keepMemory, opponent, pace};
    parser.addOptions(own);
    QStringList ownNames;
    QStringList valueNames;
    QStringList flagNames;
    for (const QCommandLineOption& option : own) {
        for (const QString& name : option.names()) {
            if (name.size() > 1) {
                ownNames.append(name);
            }
            (option.valueName().isEmpty() ? flagNames : valueNames).append(name);
        }
    }
    for (const char* name : kQtValueOptions) {
        valueNames.append(QString::fromLatin1(name));
        parser.addOption(hidden(
            QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("VALUE"))));
    }
    for (const char* name : kQtFlagOptions) {
        flagNames.append(QString::fromLatin1(name));
        parser.addOption(hidden(QCommandLineOption(QString::fromLatin1(name))));
    }

    auto refuse = [](const QString& why) {
        CommandLine refused;
        refused.action = CommandLine::Action::Error;
        refused.text = why + texts::kTryHelp;
        return refused;
    };
    // Only our own long options are abbreviated, as getopt_long would; Qt's stay as they are.
    const Expansion expanded = expandAbbreviations(arguments, ownNames, valueNames, flagNames);
    if (!expanded.ambiguous.isEmpty()) {
        return refuse(texts::kAmbiguous.arg(expanded.ambiguous,
                                            expanded.candidates.join(QStringLiteral(", "))));
    }

    // The parser reads the program name first; it goes on after a bad option, so a help
    // request anywhere on the line still wins.
    const bool parsed = parser.parse(QStringList{QStringLiteral("zelmo")} + expanded.arguments);
    CommandLine result;
    // A help request given a value ("--help=1") is no help request.
    bool helpWithValue = false;
    for (const QString& flag : expanded.unexpectedValues) {
        helpWithValue = helpWithValue || help.names().contains(nameOf(flag));
    }
    if (parser.isSet(help) && !helpWithValue) {
        result.action = CommandLine::Action::Help;
        result.text = texts::kUsage.arg(kMaxPace).arg(defaultPace).arg(keyLines());
        return result;
    }
    if (parsed && parser.isSet(version)) {
        result.action = CommandLine::Action::Version;
        result.text = texts::kVersion;
        return result;
    }
    if (!parsed) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            return refuse(
                texts::kUnknownOption.arg(asTyped(expanded.arguments, unknown.constFirst())));
        }
        // The parser's two other complaints, found while the abbreviations were written out.
        if (!expanded.unexpectedValues.isEmpty()) {
            return refuse(texts::kNoValue.arg(expanded.unexpectedValues.constFirst()));
        }
        if (nameOf(expanded.missingValue) == memory.names().constFirst()) {
            return refuse(texts::kMissingValue);
        }
        if (!expanded.missingValue.isEmpty()) {
            return refuse(texts::kMissingOther.arg(expanded.missingValue));
        }
        return refuse(parser.errorText() + QLatin1Char('\n'));
    }
    // One file may be named without an option (a file manager opening it): as --memory FILE.
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        return refuse(texts::kExtraArgument.arg(files.at(1)));
    }
    if (!files.isEmpty() && files.constFirst().isEmpty()) {
        return refuse(texts::kEmptyFile);
    }
    if (!files.isEmpty() && parser.isSet(memory)) {
        return refuse(texts::kFileTwice);
    }
    for (const QCommandLineOption* once : {&memory, &keepMemory, &opponent, &pace}) {
        if (parser.optionNames().count(once->names().constFirst()) > 1) {
            return refuse(texts::kTwice.arg(QStringLiteral("--") + once->names().constFirst()));
        }
    }
    const QString memoryPath = parser.value(memory);
    if (parser.isSet(memory) && memoryPath.isEmpty()) {
        return refuse(texts::kMissingValue);
    }
    if (parser.isSet(memory) && parser.isSet(keepMemory)) {
        return refuse(texts::kBoth);
    }
    if (parser.isSet(opponent)) {
        result.opponent = parser.value(opponent);
        // The window's watch mode and the trainer know the same players by the same names.
        if (engine::makePlayer(result.opponent.toStdString(), 0) == nullptr) {
            return refuse(texts::kBadValue.arg(
                result.opponent, QStringLiteral("--opponent"),
                QString::fromUtf8(engine::texts::kPlayerNames.data(),
                                  static_cast<qsizetype>(engine::texts::kPlayerNames.size()))));
        }
    }
    if (parser.isSet(pace)) {
        if (!parser.isSet(opponent)) {
            return refuse(texts::kPaceAlone);
        }
        const std::optional<int> milliseconds = paceOf(parser.value(pace));
        if (!milliseconds) {
            return refuse(texts::kBadValue.arg(parser.value(pace), QStringLiteral("--pace"),
                                               texts::kPaceRange.arg(kMaxPace)));
        }
        result.pace = *milliseconds;
    }
    // The menu entry passes --keep-memory and the file it was given, if any: a file wins.
    result.memoryPath = files.isEmpty() ? memoryPath : files.constFirst();
    result.keepMemory = parser.isSet(keepMemory) && files.isEmpty();
    // The learner keeps a memory of its own (the same file under another name is taken by the
    // window's lock, and the learner is then refused as any file another program holds).
    if (const auto learnerFile = engine::learnerFileOf(result.opponent.toStdString());
        learnerFile && !result.memoryPath.isEmpty() &&
        QString::fromStdString(*learnerFile) == result.memoryPath) {
        return refuse(texts::kLearnerOwnFile);
    }
    return result;
}

QStringList argumentsOf(int argc, const char* const* argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    return arguments;
}

}  // namespace zelmo::app
