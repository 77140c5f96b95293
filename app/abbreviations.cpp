// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/abbreviations.h"

namespace zelmo::app {

Expansion expandAbbreviations(const QStringList& arguments, const QStringList& names,
                              const QStringList& valueNames, const QStringList& flagNames) {
    Expansion result;
    bool isValue = false;  // this argument is the value of the option before it
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString argument = arguments.at(i);
        if (isValue) {
            isValue = false;
            result.arguments.append(argument);
            continue;
        }
        if (argument == QStringLiteral("--")) {
            result.arguments.append(arguments.mid(i));
            break;
        }
        if (!argument.startsWith(QLatin1Char('-')) || argument.size() == 1) {
            result.arguments.append(argument);
            continue;
        }
        const qsizetype dashes = argument.startsWith(QStringLiteral("--")) ? 2 : 1;
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        QString name = argument.mid(dashes, equals < 0 ? -1 : equals - dashes);
        if (dashes == 2 && !name.isEmpty() && !names.contains(name)) {
            QStringList matches;
            for (const QString& candidate : names) {
                if (candidate.startsWith(name)) {
                    matches.append(candidate);
                }
            }
            if (matches.size() > 1) {
                result.ambiguous = argument.left(equals < 0 ? argument.size() : equals);
                for (const QString& match : matches) {
                    result.candidates.append(QStringLiteral("--") + match);
                }
                return result;
            }
            if (matches.size() == 1) {
                name = matches.constFirst();
                argument =
                    QStringLiteral("--") + name + (equals < 0 ? QString() : argument.mid(equals));
            }
        }
        isValue = equals < 0 && valueNames.contains(name);
        if (isValue && i + 1 == arguments.size() && result.missingValue.isEmpty()) {
            result.missingValue = argument;
        }
        if (equals >= 0 && flagNames.contains(name)) {
            result.unexpectedValues.append(argument.left(argument.indexOf(QLatin1Char('='))));
        }
        result.arguments.append(argument);
    }
    return result;
}

}  // namespace zelmo::app
