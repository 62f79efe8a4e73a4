#include "results_table.h"

#include <cstdio>
#include <string>

namespace cpk {

TextFamily FamilyForLanguage(std::u16string_view languageName)
{
    return languageName == u"ChineseT" || languageName == u"ChineseS" ? TextFamily::Chinese : TextFamily::Latin;
}

std::u16string_view OutcomeText(TextFamily family, BumpOutcome outcome)
{
    const bool zh = family == TextFamily::Chinese;
    switch (outcome) {
    case BumpOutcome::LeftFaster: return zh ? u"\u5DE6\u9375\u8F03\u5FEB" : u"A";   // 左鍵較快
    case BumpOutcome::RightFaster: return zh ? u"\u53F3\u9375\u8F03\u5FEB" : u"B";  // 右鍵較快
    case BumpOutcome::Failed: break;
    }
    return zh ? u"\u78B0\u649E\u5931\u6557" : u"Failed";  // 碰撞失敗
}

std::uint32_t CellTextColor(TextFamily family, std::u16string_view text, std::uint32_t gridColor)
{
    if (text == OutcomeText(family, BumpOutcome::LeftFaster))
        return kLeftFasterColor;
    if (text == OutcomeText(family, BumpOutcome::RightFaster))
        return kRightFasterColor;
    if (text == OutcomeText(family, BumpOutcome::Failed))
        return kFailedColor;
    return gridColor;
}

static std::u16string Widen(const char* s, std::size_t n, std::u16string_view decimalSeparator)
{
    std::u16string out;
    for (std::size_t i = 0; i < n; ++i) {
        // snprintf follows the C locale here: its point is replaced by the
        // user's separator.
        if (s[i] == '.')
            out.append(decimalSeparator);
        else
            out.push_back(static_cast<char16_t>(s[i]));
    }
    return out;
}

std::u16string FormatMargin(double margin, std::u16string_view decimalSeparator)
{
    char buf[64];
    const int n = std::snprintf(buf, sizeof buf, "%.15g", margin);
    return n > 0 ? Widen(buf, static_cast<std::size_t>(n) < sizeof buf ? static_cast<std::size_t>(n) : sizeof buf - 1, decimalSeparator) : u"";
}

void GridModel::SetRowCount(int count)
{
    rows_.resize(static_cast<std::size_t>(count < 0 ? 0 : count));
}

const std::u16string& GridModel::Cell(int col, int row) const
{
    static const std::u16string empty;
    if (col < 0 || col >= kColumns || row < 0 || row >= RowCount())
        return empty;
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

void GridModel::SetCell(int col, int row, std::u16string text)
{
    if (col < 0 || col >= kColumns || row < 0 || row >= RowCount())
        return;
    rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = std::move(text);
}

void ScrollModel::SetMin(int v)
{
    min_ = v;
    Clamp();
}

void ScrollModel::SetMax(int v)
{
    max_ = v;
    Clamp();
}

void ScrollModel::SetPosition(int v)
{
    if (v < min_)
        v = min_;
    if (v > max_)
        v = max_;
    if (v == position_)
        return;
    position_ = v;
    if (onPositionChanged)
        onPositionChanged(position_);
}

void ScrollModel::Clamp()
{
    SetPosition(position_);
}

ResultsTable::ResultsTable(GridModel& grid, ScrollModel& bar) : grid_(grid), bar_(bar) {}

void ResultsTable::Reset()
{
    FBumpCount = 0;
    grid_.SetRowCount(1);
    for (int c = 0; c < GridModel::kColumns; ++c)
        grid_.SetCell(c, 0, {});
    bar_.SetPosition(0);
    bar_.SetMin(0);
    bar_.SetMax(7);
    if (onChanged)
        onChanged();
}

void ResultsTable::AppendResult(const BumpResult& result)
{
    const int n = ++FBumpCount;
    const int row = n - 1;
    grid_.SetRowCount(n);
    const std::string number = std::to_string(n);
    grid_.SetCell(0, row, Widen(number.data(), number.size(), u""));
    grid_.SetCell(1, row, std::u16string(OutcomeText(family_, result.outcome)));
    grid_.SetCell(2, row, FormatMargin(result.margin, separator_) + u" ms");
    if (result.outcome == BumpOutcome::Failed)
        grid_.SetCell(2, row, {});
    if (n > 7) {
        bar_.SetMin(0);
        bar_.SetMax(n - 1);
        bar_.SetPosition(n - 1);
        SelectRow(bar_.Position());
    }
    if (onChanged)
        onChanged();
}

void ResultsTable::ScrollPositionChanged(int position)
{
    if (grid_.RowCount() >= 2 && position < grid_.RowCount())
        SelectRow(position);
}

void ResultsTable::WheelStep()
{
    bar_.SetPosition(grid_.currentRow);
}

void ResultsTable::SelectRow(int row)
{
    grid_.currentRow = row;
    grid_.currentCol = 0;
    if (onChanged)
        onChanged();
}

}  // namespace cpk
