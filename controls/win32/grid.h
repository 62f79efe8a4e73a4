// The results grid and the slim scroll bar beside it: windowed views of the
// portable grid and scroll models, with the events the main window handles.
#pragma once

#include <windows.h>

#include <array>
#include <functional>

#include "controls.h"
#include "results_table.h"

namespace cpk {

// Three columns over a GridModel; no fixed rows or columns, no border, no
// scroll bars of its own. Each cell is painted by the grid (black, its text
// in the grid's font colour, grid lines right and below), then handed to
// OnDrawCell, which paints over it.
class TStringGrid : public TWinControl {
public:
    TStringGrid(TForm* owner, int id, GridModel& model);
    [[nodiscard]] const char* ClassName() const override { return "TAdvStringGrid"; }

    std::array<int, GridModel::kColumns> ColWidths{71, 73, 65};
    int DefaultRowHeight = 22;
    TFont Font;
    TColor GridLineColor = 0x434343;
    TColor CellColor = 0;

    [[nodiscard]] GridModel& Model() { return model_; }
    // The current row: setting it brings the row into view.
    void SetRow(int row);
    void SetCol(int col) { model_.currentCol = col; }
    [[nodiscard]] int Row() const { return model_.currentRow; }
    [[nodiscard]] int TopRow() const { return topRow_; }
    [[nodiscard]] int VisibleRowCount() const;
    // Re-reads the model after a change (rows added, cells set).
    void Changed();

    // Canvas with font colour and brush set for the cell, the cell's
    // rectangle (grid line excluded).
    std::function<void(TCanvas& canvas, int col, int row, const RECT& rect)> OnDrawCell;
    // Run before the grid's own one-row wheel step; setting handled skips it.
    std::function<void(bool& handled)> OnMouseWheelDown;
    std::function<void(bool& handled)> OnMouseWheelUp;

    // One wheel notch as the system delivers it (tests call it directly).
    void Wheel(int delta);

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void PaintClient(HDC dc, const RECT& client) override;
    void KeepCurrentInView();

    GridModel& model_;
    int topRow_ = 0;
};

// Vertical scroll bar over a ScrollModel: transparent track showing the
// window's background, the thumb picture centred on the thumb; dragging the
// thumb, clicking the track and the wheel move it.
class TSmoothScrollBar : public TWinControl {
public:
    TSmoothScrollBar(TForm* owner, int id, ScrollModel& model);
    [[nodiscard]] const char* ClassName() const override { return "TAdvSmoothScrollBar"; }

    int PageSize = 2;
    int LargeChange = 3;
    int SmallChange = 1;
    void SetThumbPicture(HBITMAP bitmap) { thumb_.reset(bitmap); }  // adopts it

    [[nodiscard]] ScrollModel& Model() { return model_; }
    // The thumb's rectangle in client pixels.
    [[nodiscard]] RECT ThumbRect() const;

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void PaintClient(HDC dc, const RECT& client) override;
    void DragTo(int y);

    ScrollModel& model_;
    UniqueBitmap thumb_;
    bool dragging_ = false;
    int dragOffset_ = 0;
};

}  // namespace cpk
