// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commandline.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

#include <initializer_list>

namespace zelmo::app {

namespace {

// The command line's texts (UTF-8), printed on the terminal.
namespace texts {
const QString kUsage = QStringLiteral(
    "Использование: zelmo [--memory ФАЙЛ | --keep-memory]\n"
    "Зельмо: крестики-нолики с компьютером, который учится.\n"
    "\n"
    "  --memory ФАЙЛ   хранить выученное компьютером в ФАЙЛЕ: прочитать его при запуске\n"
    "                  (если файла нет, он будет создан) и сохранять после каждой партии\n"
    "                  и после «промыть мозги»\n"
    "  --keep-memory   то же с файлом $XDG_DATA_HOME/zelmo/memory.zelmo\n"
    "                  (обычно ~/.local/share/zelmo/memory.zelmo); так запускает меню\n"
    "  -h, --help      показать эту справку\n"
    "  --version       показать версию\n"
    "\n"
    "Без параметров ничего не читается и не сохраняется.\n"
    "Клавиши окна: F1 справка, F2 или Ctrl+N новая партия, 1..9 ход в клетку,\n"
    "F3 память компьютера, F5 компьютер играет сам, Ctrl+Q выход.\n");
const QString kVersion = QStringLiteral("zelmo " ZELMO_VERSION
                                        "\n"
                                        "Лицензия GPL-3.0-or-later.\n");
const QString kUnknownOption = QStringLiteral("zelmo: неизвестный параметр «%1»\n");
const QString kMissingValue = QStringLiteral("zelmo: после --memory нужно имя файла\n");
const QString kMissingOther = QStringLiteral("zelmo: после «%1» нужно значение\n");
const QString kNoValue = QStringLiteral("zelmo: у параметра «%1» не бывает значения\n");
const QString kTwice = QStringLiteral("zelmo: --memory указан дважды\n");
const QString kBoth = QStringLiteral("zelmo: --memory и --keep-memory вместе не указываются\n");
const QString kExtraArgument = QStringLiteral("zelmo: лишний аргумент «%1»\n");
const QString kTryHelp = QStringLiteral("Справка: zelmo --help\n");
}  // namespace texts

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

}  // namespace

CommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    // Single-dash words are long options, as Qt's own "-platform" and "-style" are.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption memory(QStringLiteral("memory"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption keepMemory(QStringLiteral("keep-memory"));
    parser.addOptions({help, version, memory, keepMemory});
    for (const char* name : kQtValueOptions) {
        parser.addOption(hidden(
            QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("VALUE"))));
    }
    for (const char* name : kQtFlagOptions) {
        parser.addOption(hidden(QCommandLineOption(QString::fromLatin1(name))));
    }

    // The parser reads the program name first; it goes on after a bad option, so a help
    // request anywhere on the line still wins.
    const bool parsed = parser.parse(QStringList{QStringLiteral("zelmo")} + arguments);
    CommandLine result;
    if (parser.isSet(help)) {
        result.action = CommandLine::Action::Help;
        result.text = texts::kUsage;
        return result;
    }
    if (parsed && parser.isSet(version)) {
        result.action = CommandLine::Action::Version;
        result.text = texts::kVersion;
        return result;
    }
    auto refuse = [](const QString& why) {
        CommandLine refused;
        refused.action = CommandLine::Action::Error;
        refused.text = why + texts::kTryHelp;
        return refused;
    };
    if (!parsed) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            const QString& name = unknown.constFirst();
            return refuse(texts::kUnknownOption.arg(
                (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name));
        }
        // Qt's two other complaints, in its own wording: a value missing after an option
        // that needs one, or a value given to an option that takes none.
        const QString error = parser.errorText();
        const QString name = error.section(QLatin1Char('\''), 1, 1);
        if (error.startsWith(QStringLiteral("Unexpected value"))) {
            return refuse(texts::kNoValue.arg(name));
        }
        if (name.endsWith(QStringLiteral("-memory"))) {
            return refuse(texts::kMissingValue);
        }
        return refuse(texts::kMissingOther.arg(name));
    }
    if (!parser.positionalArguments().isEmpty()) {
        return refuse(texts::kExtraArgument.arg(parser.positionalArguments().constFirst()));
    }
    const QStringList memoryPaths = parser.values(memory);
    if (memoryPaths.size() > 1) {
        return refuse(texts::kTwice);
    }
    if (!memoryPaths.isEmpty() && memoryPaths.constFirst().isEmpty()) {
        return refuse(texts::kMissingValue);
    }
    if (!memoryPaths.isEmpty() && parser.isSet(keepMemory)) {
        return refuse(texts::kBoth);
    }
    if (!memoryPaths.isEmpty()) {
        result.memoryPath = memoryPaths.constFirst();
    }
    result.keepMemory = parser.isSet(keepMemory);
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
