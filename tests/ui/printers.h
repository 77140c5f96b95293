// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <ostream>

// Readable failure messages for texts. Every test file of this program includes it, so that all
// of them print a QString the same way (the printer is a template instantiated once).
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
