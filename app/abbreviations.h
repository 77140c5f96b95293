// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Unique abbreviations of long options, as getopt_long reads them ("--keep" for
// "--keep-memory", "--mem=F"), for a parser that has none (QCommandLineParser).
namespace zelmo::app {

struct Expansion {
    QStringList arguments;   // the arguments with every abbreviation written out in full
    QString ambiguous;       // an abbreviation of more than one option, as given; empty if none
    QStringList candidates;  // the options it could mean, "--name" each
    QString missingValue;    // an option in `valueNames` given last, with no value; empty if none
    QStringList unexpectedValues;  // each flag given as "--flag=V", without "=V", in order
};

// Writes out each "--pre" or "--pre=VALUE" whose "pre" begins exactly one of `names` (and is
// none of them). A name that begins no option is left for the parser to refuse; so are
// single-dash words such as Qt's "-platform". The argument after an option in `valueNames`
// given without "=" is that option's value and is never touched, nor is anything after "--".
// The first option in `valueNames` left without a value and every option in `flagNames` given
// one are named (written out, with their dashes) for the caller to refuse.
Expansion expandAbbreviations(const QStringList& arguments, const QStringList& names,
                              const QStringList& valueNames, const QStringList& flagNames);

}  // namespace zelmo::app
