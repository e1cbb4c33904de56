#include <gtest/gtest.h>

#include "report/figures.h"
#include "report/statistics_row.h"
#include "test_support.h"

namespace korvanel {
namespace {

using testing::page_text;

ValueSeries series(std::initializer_list<int> values) {
    ValueSeries s;
    for (int v : values) s.push(v);
    return s;
}

TEST(StatisticsRow, FourOrFiveCells) {
    const ValueSeries hits = series({100, 200, kExcludedValue});
    const ValueSeries crits = series({50});
    EXPECT_EQ(page_text([&](PageWriter& p) { write_statistics_row(p, hits, nullptr, &crits); }),
              "<td width=\"80\">3</td><td width=\"80\">150</td><td width=\"80\">33%</td>"
              "<td width=\"80\">100-200</td><td width=\"80\">33%</td>");
    EXPECT_EQ(page_text([&](PageWriter& p) { write_statistics_row(p, hits, nullptr, nullptr); }),
              "<td width=\"80\">3</td><td width=\"80\">150</td><td width=\"80\">33%</td>"
              "<td width=\"80\">100-200</td>");
}

TEST(StatisticsRow, ModifierSigns) {
    const ValueSeries values = series({75});
    const std::pair<ValueSeries, const char*> cases[] = {
        {series({-3}), "75(-3)"}, {series({3}), "75(+3)"}, {series({0}), "75(0)"}};
    for (const auto& entry : cases) {
        const ValueSeries& mods = entry.first;
        const std::string cell = entry.second;
        const std::string text = page_text([&](PageWriter& p) { write_statistics_row(p, values, &mods, nullptr); });
        EXPECT_NE(text.find("<td width=\"80\">" + cell + "</td>"), std::string::npos) << cell;
    }
}

TEST(StatisticsRow, ZeroDivisorsShowADash) {
    const ValueSeries empty;
    const ValueSeries crits = series({5});
    EXPECT_EQ(page_text([&](PageWriter& p) { write_statistics_row(p, empty, nullptr, &crits); }),
              "<td width=\"80\">0</td><td width=\"80\">0</td><td width=\"80\">-</td>"
              "<td width=\"80\">0-0</td><td width=\"80\">-</td>");
}

TEST(Figures, DecimalPrinterAndSpeed) {
    EXPECT_EQ(page_text([](PageWriter& p) { write_decimal(p, 12.36, "%%,"); }), "12.3%,");
    EXPECT_EQ(page_text([](PageWriter& p) { write_decimal(p, 54.0 / 45.0, "%%"); }), "1.2%");
    EXPECT_EQ(page_text([](PageWriter& p) { write_decimal(p, std::nullopt, "%% rat\xe9s, "); }), "- rat\xe9s, ");
    EXPECT_EQ(page_text([](PageWriter& p) { write_decimal(p, -100.0 / 7.0, "%%"); }), "-14.2%");
    EXPECT_EQ(page_text([](PageWriter& p) { write_decimal(p, -0.5, "%%"); }), "-0.5%");

    ValueSeries forty;
    for (int i = 0; i < 40; ++i) forty.push(3);
    EXPECT_EQ(page_text([&](PageWriter& p) { write_speed(p, forty); }), "");
    ValueSeries more;  // mean 3.46 over 41 then over 101 values
    for (int i = 0; i < 41; ++i) more.push(i < 19 ? 4 : 3);
    EXPECT_NEAR(more.mean(), 3.4634, 0.001);
    EXPECT_EQ(page_text([&](PageWriter& p) { write_speed(p, more); }), " (vitesse : 3,4s)");
    ValueSeries carried;  // mean 2.596: the second decimal rounds to 10 and carries
    for (int i = 0; i < 250; ++i) carried.push(i < 149 ? 3 : 2);
    EXPECT_NEAR(carried.mean(), 2.596, 1e-9);
    EXPECT_EQ(page_text([&](PageWriter& p) { write_speed(p, carried); }), " (vitesse : 2,60s)");
    EXPECT_EQ(tenths_with_carry(3, 0.96).whole, 4);
    EXPECT_EQ(tenths_with_carry(3, 0.96).tenth, 0);
}

}  // namespace
}  // namespace korvanel
