// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the spin editor's text-to-number conversion against a second, plain reading of
// its rules (parseoracle.h). The input is the text as UTF-8, so any Unicode character (other
// scripts' digits, wide forms, blanks) can reach the parser.
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "parseoracle.h"
#include "ui/spin/spinparse.h"

namespace {

QString describe(const std::optional<std::int32_t>& v) {
    return v ? QString::number(*v) : QStringLiteral("failure");
}

void expectSame(const QString& text, const std::optional<std::int32_t>& got,
                const std::optional<std::int32_t>& want, const char* what) {
    if (got == want) {
        return;
    }
    std::fprintf(stderr, "%s: text \"%s\" (%lld UTF-16 units) parsed to %s, expected %s\n", what,
                 qPrintable(text), static_cast<long long>(text.size()), qPrintable(describe(got)),
                 qPrintable(describe(want)));
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using zelmo::fuzz::OracleParseInteger;
    using zelmo::ui::ParseInteger;

    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<std::int32_t> parsed = ParseInteger(text);
    expectSame(text, parsed, OracleParseInteger(text), "parse");

    // Leading blanks are skipped and trailing ones are not, whatever the text is.
    const QString padded = QStringLiteral("  ") + text;
    expectSame(padded, ParseInteger(padded), parsed, "leading blanks");
    const QString trailing = text + QStringLiteral(" ");
    expectSame(trailing, ParseInteger(trailing), std::nullopt, "trailing blank");

    // Every accepted number written back in decimal reads as the same number.
    if (parsed) {
        const QString written = QString::number(*parsed);
        expectSame(written, ParseInteger(written), parsed, "decimal round trip");
    }
    return 0;
}
