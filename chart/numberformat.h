// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace zelmo::chart {

// Formats a number with a picture such as "#,##0.###": '0' is a digit that is always shown, '#'
// a digit shown only when significant, a ',' in the integer part groups thousands, '.' starts
// the decimals. Trailing decimal zeros beyond the '0' places and a bare decimal point are left
// out; "###" gives an empty text for 0. The separators are passed in so that callers choose
// between the user's locale and fixed ones.
QString FormatFloat(const QString& picture, double value, QChar thousandsSeparator,
                    QChar decimalSeparator);

// FormatFloat with the separators of the system locale.
QString FormatFloat(const QString& picture, double value);

}  // namespace zelmo::chart
