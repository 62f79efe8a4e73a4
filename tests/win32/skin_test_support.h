// Helpers of the skin tests: small bitmaps drawn from text, region read-back,
// a counting seam for SetWindowRgn, injected input. Message pumping is the
// shared one of win_test_support.h.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "color_key_runs.h"
#include "unique_handle.h"

namespace cpk::skin::test {

// Colours of the text pictures: '.' black, 'W' white, 'R' 'G' 'B' 'Y' 'C'
// 'M' pure colours, anything else a dark grey.
[[nodiscard]] COLORREF ColorOf(char c);

// A device bitmap, at the screen's depth, drawn from rows of text.
[[nodiscard]] HBITMAP MakeBitmap(const std::vector<std::string>& rows);
// A device bitmap of width × height where pixel (x, y) has colour at(x, y).
[[nodiscard]] HBITMAP MakeBitmap(int width, int height, const std::function<COLORREF(int, int)>& at);

// A bitmap file of the committed artwork (resources/art/name); null if the
// file is absent.
[[nodiscard]] HBITMAP LoadArt(const wchar_t* name);

// The rectangles of a region, in the order the system reports them.
[[nodiscard]] std::vector<PixelRect> RegionRects(HRGN region);
// The rectangles of a window's region; empty if it has none.
[[nodiscard]] std::vector<PixelRect> WindowRegionRects(HWND window, bool* hasRegion = nullptr);

// Runs of a bitmap's pixels with the key taken from pixel (0, 0), and the
// banded form of them: what a skin must give its window for this image.
[[nodiscard]] std::vector<RowRun> TopLeftKeyRuns(HBITMAP bitmap);

// Counts SetWindowRgn calls made through the seam, and forwards them.
struct RegionCallCounter {
    static int calls;
    static int WINAPI Call(HWND window, HRGN region, BOOL redraw);
};

// Injected input, as a user would give it.
void MoveMouseTo(POINT screen);
void MouseButton(DWORD flags);
void Key(WORD vk, bool down);

}  // namespace cpk::skin::test
