// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/numberformat.h"

#include <QLocale>

#include <cmath>

namespace zelmo::chart {

namespace {

struct Picture {
    int minIntegerDigits = 0;
    int minDecimals = 0;
    int maxDecimals = 0;
    bool grouped = false;
    QString prefix;
    QString suffix;
};

Picture ParsePicture(const QString& picture) {
    Picture p;
    int first = -1;
    int last = -1;
    for (int i = 0; i < picture.size(); ++i) {
        const QChar c = picture[i];
        if (c == u'#' || c == u'0' || c == u',' || c == u'.') {
            if (first < 0) {
                first = i;
            }
            last = i;
        }
    }
    if (first < 0) {
        p.prefix = picture;
        return p;
    }
    p.prefix = picture.left(first);
    p.suffix = picture.mid(last + 1);
    bool decimals = false;
    for (int i = first; i <= last; ++i) {
        const QChar c = picture[i];
        if (c == u'.') {
            decimals = true;
        } else if (c == u',') {
            p.grouped = p.grouped || !decimals;
        } else if (decimals) {
            ++p.maxDecimals;
            if (c == u'0') {
                p.minDecimals = p.maxDecimals;
            }
        } else if (c == u'0' || p.minIntegerDigits > 0) {
            // Every digit place after the first '0' is shown as well.
            ++p.minIntegerDigits;
        }
    }
    return p;
}

}  // namespace

QString FormatFloat(const QString& picture, double value, QChar thousandsSeparator,
                    QChar decimalSeparator) {
    const Picture p = ParsePicture(picture);
    if (!std::isfinite(value)) {
        return QString::number(value);
    }
    QString digits = QString::number(std::fabs(value), 'f', p.maxDecimals);
    QString integer = digits.section(u'.', 0, 0);
    QString fraction = p.maxDecimals > 0 ? digits.section(u'.', 1, 1) : QString();
    while (fraction.size() > p.minDecimals && fraction.endsWith(u'0')) {
        fraction.chop(1);
    }
    // Leading zeros of the integer part are only kept as far as the picture demands.
    while (!integer.isEmpty() && integer.startsWith(u'0') && integer.size() > p.minIntegerDigits) {
        integer.remove(0, 1);
    }
    while (integer.size() < p.minIntegerDigits) {
        integer.prepend(u'0');
    }
    if (p.grouped) {
        for (qsizetype i = integer.size() - 3; i > 0; i -= 3) {
            integer.insert(i, thousandsSeparator);
        }
    }
    QString text = integer;
    if (!fraction.isEmpty()) {
        text += decimalSeparator + fraction;
    }
    // A value that rounds to zero is shown without its sign.
    bool significant = false;
    for (const QChar c : integer + fraction) {
        significant = significant || (c.isDigit() && c != u'0');
    }
    const bool negative = value < 0 && significant;
    return p.prefix + (negative ? QStringLiteral("-") : QString()) + text + p.suffix;
}

QString FormatFloat(const QString& picture, double value) {
    const QLocale locale = QLocale::system();
    const QString group = locale.groupSeparator();
    const QString point = locale.decimalPoint();
    return FormatFloat(picture, value, group.isEmpty() ? QChar(u',') : group.at(0),
                       point.isEmpty() ? QChar(u'.') : point.at(0));
}

}  // namespace zelmo::chart
