// Results table model: the rows the grid shows and the logic that appends
// them. Portable; the Windows grid and scroll bar display this model.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "race_engine.h"

namespace cpk {

enum class TextFamily { Latin, Chinese };

// "ChineseT" and "ChineseS" use the Chinese words, every other name the Latin ones.
[[nodiscard]] TextFamily FamilyForLanguage(std::u16string_view languageName);
[[nodiscard]] std::u16string_view OutcomeText(TextFamily family, BumpOutcome outcome);

// Text colours (0x00BBGGRR) of the outcome texts in the results grid.
inline constexpr std::uint32_t kLeftFasterColor = 11447982;  // grey
inline constexpr std::uint32_t kRightFasterColor = 301739;   // gold
inline constexpr std::uint32_t kFailedColor = 1694;          // dark red

// The colour a grid cell's text takes: an outcome text of the family by
// exact equality, whatever the column; any other text keeps gridColor.
[[nodiscard]] std::uint32_t CellTextColor(TextFamily family, std::u16string_view text, std::uint32_t gridColor);

// General form, at most 15 significant digits, no trailing zeros, with the
// given decimal separator: 3.4 -> "3.4", 12 -> "12", 0.1 -> "0.1".
[[nodiscard]] std::u16string FormatMargin(double margin, std::u16string_view decimalSeparator);

// Cells by (column, row); three columns.
class GridModel {
public:
    static constexpr int kColumns = 3;

    [[nodiscard]] int RowCount() const { return static_cast<int>(rows_.size()); }
    void SetRowCount(int count);
    [[nodiscard]] const std::u16string& Cell(int col, int row) const;
    void SetCell(int col, int row, std::u16string text);

    int currentRow = 0;
    int currentCol = 0;

private:
    std::vector<std::array<std::u16string, kColumns>> rows_{1};
};

// Vertical scroll bar model: position clamped into [min, max]; a change of
// position raises onPositionChanged.
class ScrollModel {
public:
    [[nodiscard]] int Min() const { return min_; }
    [[nodiscard]] int Max() const { return max_; }
    [[nodiscard]] int Position() const { return position_; }
    void SetMin(int v);
    void SetMax(int v);
    void SetPosition(int v);

    std::function<void(int)> onPositionChanged;

private:
    void Clamp();
    int min_ = 0;
    int max_ = 7;
    int position_ = 0;
};

// The results table: appends bump rows into the grid and keeps the newest
// row in view once there are more than seven.
class ResultsTable final : public ResultSink {
public:
    ResultsTable(GridModel& grid, ScrollModel& bar);

    void SetFamily(TextFamily family) { family_ = family; }
    void SetDecimalSeparator(std::u16string separator) { separator_ = std::move(separator); }
    // Called after every change of cells, so that the view repaints later.
    std::function<void()> onChanged;

    // Test-run start: one row of three empty cells, count 0, bar 0 within 0..7.
    void Reset();
    void AppendResult(const BumpResult& result) override;

    // The bar moved: its position becomes the grid's current row where the row exists.
    void ScrollPositionChanged(int position);
    // A wheel step is about to move the grid: the bar shows the row current before it.
    void WheelStep();

    std::int32_t FBumpCount = 0;

private:
    void SelectRow(int row);

    GridModel& grid_;
    ScrollModel& bar_;
    TextFamily family_ = TextFamily::Latin;
    std::u16string separator_ = u".";
};

}  // namespace cpk
