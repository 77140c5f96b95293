// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/game/plural.h"

#include <gtest/gtest.h>

namespace {

using zelmo::engine::countOf;
using zelmo::engine::RussianForms;

constexpr RussianForms kGames{"партия", "партии", "партий"};
constexpr RussianForms kBytes{"байт", "байта", "байт"};

TEST(PluralTest, RussianFormsByLastDigits) {
    const struct {
        std::int64_t n;
        const char* games;
    } rows[] = {
        {0, "0 партий"},     {1, "1 партия"},       {2, "2 партии"},
        {4, "4 партии"},     {5, "5 партий"},       {11, "11 партий"},
        {12, "12 партий"},   {14, "14 партий"},     {21, "21 партия"},
        {22, "22 партии"},   {101, "101 партия"},   {111, "111 партий"},
        {112, "112 партий"}, {1001, "1001 партия"}, {320404, "320404 партии"},
        {-1, "-1 партия"},   {-12, "-12 партий"},   {INT64_MIN, "-9223372036854775808 партий"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(countOf(row.n, kGames), row.games) << row.n;
    }
    EXPECT_EQ(countOf(1, kBytes), "1 байт");
    EXPECT_EQ(countOf(22, kBytes), "22 байта");
    EXPECT_EQ(countOf(5, kBytes), "5 байт");
}

}  // namespace
