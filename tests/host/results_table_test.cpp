#include <gtest/gtest.h>

#include "results_table.h"

namespace cpk {
namespace {

struct Table {
    GridModel grid;
    ScrollModel bar;
    ResultsTable table{grid, bar};
    std::vector<int> barEvents;
    Table()
    {
        bar.onPositionChanged = [this](int p) {
            barEvents.push_back(p);
            table.ScrollPositionChanged(p);
        };
        table.Reset();
        barEvents.clear();
    }
    void Append(int n, BumpOutcome o = BumpOutcome::LeftFaster, double m = 1.0)
    {
        for (int i = 0; i < n; ++i)
            table.AppendResult({o, m});
    }
};

TEST(ResultsTable, ResetLeavesOneBlankRowAndTheFirstResultReplacesIt)
{
    Table t;
    t.grid.SetCell(1, 0, u"stale");
    t.table.Reset();
    EXPECT_EQ(t.grid.RowCount(), 1);
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(t.grid.Cell(c, 0), u"");
    EXPECT_EQ(t.table.FBumpCount, 0);

    t.table.AppendResult({BumpOutcome::RightFaster, 3.4});
    EXPECT_EQ(t.grid.RowCount(), 1);
    EXPECT_EQ(t.grid.Cell(0, 0), u"1");
    EXPECT_EQ(t.grid.Cell(1, 0), u"B");
    EXPECT_EQ(t.grid.Cell(2, 0), u"3.4 ms");
}

TEST(ResultsTable, FailedRowsShowTheirTextAndNoMargin)
{
    struct Case {
        TextFamily family;
        BumpOutcome outcome;
        std::u16string text;
    } const cases[] = {
        {TextFamily::Latin, BumpOutcome::LeftFaster, u"A"},
        {TextFamily::Latin, BumpOutcome::RightFaster, u"B"},
        {TextFamily::Latin, BumpOutcome::Failed, u"Failed"},
        {TextFamily::Chinese, BumpOutcome::LeftFaster, u"\u5DE6\u9375\u8F03\u5FEB"},
        {TextFamily::Chinese, BumpOutcome::RightFaster, u"\u53F3\u9375\u8F03\u5FEB"},
        {TextFamily::Chinese, BumpOutcome::Failed, u"\u78B0\u649E\u5931\u6557"},
    };
    for (const auto& c : cases) {
        Table t;
        t.table.SetFamily(c.family);
        t.table.AppendResult({c.outcome, 7.5});
        EXPECT_EQ(t.grid.Cell(1, 0), c.text);
        EXPECT_EQ(t.grid.Cell(2, 0), c.outcome == BumpOutcome::Failed ? u"" : u"7.5 ms");
    }
    EXPECT_EQ(FamilyForLanguage(u"ChineseT"), TextFamily::Chinese);
    EXPECT_EQ(FamilyForLanguage(u"ChineseS"), TextFamily::Chinese);
    EXPECT_EQ(FamilyForLanguage(u"German"), TextFamily::Latin);
    EXPECT_EQ(FamilyForLanguage(u"chineset"), TextFamily::Latin);  // exact, case-sensitive
}

TEST(FormatMargin, GeneralFormWithTheUsersSeparator)
{
    struct Case {
        double margin;
        std::u16string separator;
        std::u16string text;
    } const cases[] = {
        {3.4, u".", u"3.4"}, {12.0, u".", u"12"}, {0.0, u".", u"0"}, {0.1, u".", u"0.1"},
        {3.4, u",", u"3,4"}, {49.9, u",", u"49,9"}, {1234.5, u".", u"1234.5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatMargin(c.margin, c.separator), c.text) << c.margin;
}

TEST(ResultsTable, FromTheEighthRowTheNewestRowStaysInView)
{
    Table t;
    t.Append(7);
    EXPECT_EQ(t.bar.Max(), 7);
    EXPECT_EQ(t.bar.Position(), 0);
    EXPECT_EQ(t.grid.currentRow, 0);

    t.Append(1);
    EXPECT_EQ(t.bar.Min(), 0);
    EXPECT_EQ(t.bar.Max(), 7);
    EXPECT_EQ(t.bar.Position(), 7);
    EXPECT_EQ(t.grid.currentRow, 7);
    EXPECT_EQ(t.grid.Cell(0, 7), u"8");

    t.Append(1);
    EXPECT_EQ(t.bar.Max(), 8);
    EXPECT_EQ(t.bar.Position(), 8);
    EXPECT_EQ(t.grid.currentRow, 8);
    EXPECT_EQ(t.grid.currentCol, 0);
    EXPECT_EQ(t.barEvents, (std::vector<int>{7, 8}));
}

TEST(ResultsTable, BarMovesTheGridOnlyToRowsThatExist)
{
    struct Case {
        int rows;
        int position;
        int expectedRow;
    } const cases[] = {
        {10, 3, 3},  // inside: follows
        {1, 0, 2},   // a single row: left alone
        {5, 5, 2},   // at the row count: left alone
        {5, 6, 2},
    };
    for (const auto& c : cases) {
        Table t;
        t.Append(c.rows);
        t.grid.currentRow = 2;
        t.table.ScrollPositionChanged(c.position);
        EXPECT_EQ(t.grid.currentRow, c.expectedRow) << c.rows << " rows, bar at " << c.position;
    }
}

TEST(ResultsTable, WheelSetsTheBarToTheRowCurrentBeforeTheGridsStep)
{
    Table t;
    t.Append(12);
    t.grid.currentRow = 4;
    t.table.WheelStep();
    EXPECT_EQ(t.bar.Position(), 4);
    t.grid.currentRow = 40;  // clamped into the bar's range
    t.table.WheelStep();
    EXPECT_EQ(t.bar.Position(), 11);
}

}  // namespace
}  // namespace cpk
