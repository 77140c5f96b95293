// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/fonts.h"

#include "chart/chartmath.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QHash>

namespace zelmo::ui::fonts {

namespace {

// Original families first, then the look-alikes in order of preference. DejaVu Sans Condensed
// at 11 px has the original's 13 px line height and nearly its widths, so the labels keep
// their designed widths and do not run into each other.
const QStringList kSansCandidates = {
    QStringLiteral("MS Sans Serif"),         QStringLiteral("Microsoft Sans Serif"),
    QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans"),
    QStringLiteral("Liberation Sans"),       QStringLiteral("Nimbus Sans"),
};
const QStringList kBookmanCandidates = {
    QStringLiteral("Bookman Old Style"),
    QStringLiteral("URW Bookman"),
    QStringLiteral("URW Bookman L"),
    QStringLiteral("TeX Gyre Bonum"),
};

// "URW Bookman [urw]" -> "URW Bookman".
QString withoutFoundry(const QString& family) {
    const qsizetype bracket = family.indexOf(QLatin1String(" ["));
    return bracket < 0 ? family : family.left(bracket);
}

// No style hint: the family is always an installed one or a generic name ("Sans Serif",
// "Serif"), so a hint would choose nothing. It would cost, though: a painter on an image fills a
// font's unset attributes from the application font, so a hint there would make every font drawn
// on an image (the chart's) differ from the same font measured, and load a second copy of it.
QFont pixelFont(const QString& family, int pixelSize) {
    QFont font(family);
    font.setPixelSize(pixelSize);
    return font;
}

// The line height of "MS Sans Serif" at 11 px, the only size the original family is
// measured at here; other sizes scale in proportion.
int originalLineHeight(int pixelSize) {
    return chart::MulDiv(pixelSize, kDesignLineHeight, 11);
}

// The installed families without foundry suffixes. Read once: the list does not change while
// the program runs, and each reading copies the whole font database.
const QStringList& installedFamilies() {
    static const QStringList installed = [] {
        QStringList names;
        for (const QString& family : QFontDatabase::families()) {
            names.append(withoutFoundry(family));
        }
        return names;
    }();
    return installed;
}

}  // namespace

QString firstInstalled(const QStringList& candidates) {
    for (const QString& candidate : candidates) {
        if (installedFamilies().contains(candidate, Qt::CaseInsensitive)) {
            return candidate;
        }
    }
    return QString();
}

namespace {

QString pickSansSerifFamily(int pixelSize) {
    QString exact = firstInstalled({kSansCandidates.at(0), kSansCandidates.at(1)});
    if (!exact.isEmpty()) {
        return exact;
    }
    QString fallback;
    for (const QString& candidate : kSansCandidates.mid(2)) {
        if (firstInstalled({candidate}).isEmpty()) {
            continue;
        }
        if (fallback.isEmpty()) {
            fallback = candidate;
        }
        if (QFontMetrics(pixelFont(candidate, pixelSize)).height() ==
            originalLineHeight(pixelSize)) {
            return candidate;
        }
    }
    return fallback.isEmpty() ? QStringLiteral("Sans Serif") : fallback;
}

}  // namespace

QString sansSerifFamily(int pixelSize) {
    // Decided once per size: every control asks, and deciding measures fonts.
    static QHash<int, QString> chosen;
    if (const auto known = chosen.constFind(pixelSize); known != chosen.cend()) {
        return *known;
    }
    QString family = pickSansSerifFamily(pixelSize);
    chosen.insert(pixelSize, family);
    return family;
}

QString bookmanFamily() {
    static const QString family = [] {
        const QString installed = firstInstalled(kBookmanCandidates);
        return installed.isEmpty() ? QStringLiteral("Serif") : installed;
    }();
    return family;
}

QFont windowFont() {
    return pixelFont(sansSerifFamily(11), 11);
}

QFont cellFont() {
    return pixelFont(sansSerifFamily(11), 19);
}

QFont gradeFont() {
    QFont font = pixelFont(bookmanFamily(), 13);
    font.setBold(true);
    return font;
}

QFont linkFont(bool underline) {
    QFont font = windowFont();
    font.setUnderline(underline);
    return font;
}

}  // namespace zelmo::ui::fonts
