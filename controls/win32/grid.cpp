#include "grid.h"

#include <windowsx.h>

namespace cpk {

namespace {

int ClientHeight(HWND w)
{
    RECT r{};
    GetClientRect(w, &r);
    return r.bottom;
}

}  // namespace

TStringGrid::TStringGrid(TForm* owner, int id, GridModel& model)
    : TWinControl(owner, L"CpkStringGrid", WS_TABSTOP, id), model_(model)
{
    Font.Height = -11;
    Font.Color = 13290185;
}

int TStringGrid::VisibleRowCount() const
{
    const int h = window_ ? ClientHeight(window_) : 0;
    const int n = DefaultRowHeight > 0 ? h / DefaultRowHeight : 0;
    return n < 1 ? 1 : n;
}

void TStringGrid::SetRow(int row)
{
    if (row < 0 || row >= model_.RowCount())
        return;
    model_.currentRow = row;
    KeepCurrentInView();
    Invalidate();
}

void TStringGrid::Changed()
{
    if (model_.currentRow >= model_.RowCount())
        model_.currentRow = model_.RowCount() > 0 ? model_.RowCount() - 1 : 0;
    KeepCurrentInView();
    Invalidate();
}

void TStringGrid::KeepCurrentInView()
{
    const int visible = VisibleRowCount();
    if (model_.currentRow < topRow_)
        topRow_ = model_.currentRow;
    else if (model_.currentRow >= topRow_ + visible)
        topRow_ = model_.currentRow - visible + 1;
    const int maxTop = model_.RowCount() - visible;
    if (topRow_ > maxTop)
        topRow_ = maxTop > 0 ? maxTop : 0;
    if (topRow_ < 0)
        topRow_ = 0;
}

void TStringGrid::Wheel(int delta)
{
    bool handled = false;
    if (delta < 0 && OnMouseWheelDown)
        OnMouseWheelDown(handled);
    if (delta > 0 && OnMouseWheelUp)
        OnMouseWheelUp(handled);
    if (handled || delta == 0)
        return;
    SetRow(model_.currentRow + (delta < 0 ? 1 : -1));
}

void TStringGrid::PaintClient(HDC dc, const RECT& client)
{
    // Beyond the last row or column: black like the cells.
    TCanvas canvas(dc);
    canvas.Brush.Color = CellColor;
    canvas.FillRect(client);
    UniqueFont font = Font.Create();
    SelectedObject selectedFont(dc, font.get());
    SetBkMode(dc, TRANSPARENT);
    HPEN pen = CreatePen(PS_SOLID, 1, GridLineColor);
    for (int row = topRow_, y = 0; row < model_.RowCount() && y < client.bottom; ++row, y += DefaultRowHeight) {
        for (int col = 0, x = 0; col < GridModel::kColumns && x < client.right; x += ColWidths[col], ++col) {
            const RECT cell{x, y, x + ColWidths[col] - 1, y + DefaultRowHeight - 1};
            canvas.Brush.Color = CellColor;
            canvas.Font.Color = Font.Color;  // selection looks like any other cell
            canvas.FillRect(cell);
            const std::u16string& text = model_.Cell(col, row);
            RECT textRect{cell.left + 2, cell.top, cell.right, cell.bottom};
            SetTextColor(dc, canvas.Font.Color);
            DrawTextW(dc, reinterpret_cast<const wchar_t*>(text.c_str()), static_cast<int>(text.size()),
                      &textRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
            HGDIOBJ oldPen = SelectObject(dc, pen);
            MoveToEx(dc, cell.right, cell.top, nullptr);
            LineTo(dc, cell.right, cell.bottom + 1);
            MoveToEx(dc, cell.left, cell.bottom, nullptr);
            LineTo(dc, cell.right + 1, cell.bottom);
            SelectObject(dc, oldPen);
            if (OnDrawCell) {
                SetTextColor(dc, canvas.Font.Color);
                OnDrawCell(canvas, col, row, cell);
            }
        }
    }
    DeleteObject(pen);
}

LRESULT TStringGrid::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_MOUSEWHEEL:
        Wheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_LBUTTONDOWN: {
        SetFocus(window_);
        const int row = topRow_ + GET_Y_LPARAM(lParam) / DefaultRowHeight;
        SetRow(row);
        return 0;
    }
    case WM_SIZE:
        KeepCurrentInView();
        break;
    default:
        break;
    }
    return TWinControl::WndProc(msg, wParam, lParam);
}

// ---- scroll bar ---------------------------------------------------------------

TSmoothScrollBar::TSmoothScrollBar(TForm* owner, int id, ScrollModel& model)
    : TWinControl(owner, L"CpkSmoothScrollBar", WS_TABSTOP, id), model_(model)
{
}

RECT TSmoothScrollBar::ThumbRect() const
{
    RECT client{};
    GetClientRect(window_, &client);
    const int range = model_.Max() - model_.Min();
    const int track = client.bottom;
    int length = range + PageSize > 0 ? track * PageSize / (range + PageSize) : track;
    if (length < 8)
        length = track < 8 ? track : 8;
    const int travel = track - length;
    const int top = range > 0 ? travel * (model_.Position() - model_.Min()) / range : 0;
    return {0, top, client.right, top + length};
}

void TSmoothScrollBar::DragTo(int y)
{
    RECT client{};
    GetClientRect(window_, &client);
    const RECT thumb = ThumbRect();
    const int travel = client.bottom - (thumb.bottom - thumb.top);
    const int range = model_.Max() - model_.Min();
    if (travel <= 0 || range <= 0)
        return;
    const int top = y - dragOffset_;
    model_.SetPosition(model_.Min() + (top * range + travel / 2) / travel);
}

void TSmoothScrollBar::PaintClient(HDC dc, const RECT& client)
{
    // Every fill is transparent or black: the window's background shows
    // through the track.
    RECT inParent = client;
    MapWindowPoints(window_, GetParent(window_), reinterpret_cast<POINT*>(&inParent), 2);
    owner_->PaintSceneUnder(dc, inParent);
    if (thumb_) {
        BITMAP info{};
        GetObjectW(thumb_.get(), sizeof info, &info);
        const RECT t = ThumbRect();
        UniqueMemoryDc source(CreateCompatibleDC(dc));
        SelectedObject selectedThumb(source.get(), thumb_.get());
        const int x = (client.right - info.bmWidth) / 2;
        const int y = t.top + ((t.bottom - t.top) - info.bmHeight) / 2;
        BitBlt(dc, x, y, info.bmWidth, info.bmHeight, source.get(), 0, 0, SRCCOPY);
    }
}

LRESULT TSmoothScrollBar::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_LBUTTONDOWN: {
        const int y = GET_Y_LPARAM(lParam);
        const RECT t = ThumbRect();
        if (y >= t.top && y < t.bottom) {
            dragging_ = true;
            dragOffset_ = y - t.top;
            SetCapture(window_);
        } else {
            model_.SetPosition(model_.Position() + (y < t.top ? -LargeChange : LargeChange));
        }
        Invalidate();
        return 0;
    }
    case WM_MOUSEMOVE:
        if (dragging_) {
            DragTo(GET_Y_LPARAM(lParam));
            Invalidate();
        }
        return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (dragging_) {
            dragging_ = false;
            if (msg == WM_LBUTTONUP)
                ReleaseCapture();
        }
        return 0;
    case WM_MOUSEWHEEL:
        model_.SetPosition(model_.Position() + (GET_WHEEL_DELTA_WPARAM(wParam) < 0 ? SmallChange : -SmallChange));
        Invalidate();
        return 0;
    default:
        break;
    }
    return TWinControl::WndProc(msg, wParam, lParam);
}

}  // namespace cpk
