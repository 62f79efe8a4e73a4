// The sprite-strip button skin: gives a push button (a BUTTON window) the
// look of a four-frame strip, normal, hover, pressed and disabled side by
// side. It subclasses the button's window, lets the button's own handler do
// all its work first (focus, keyboard, click), then follows the hover and
// pushed state from the messages that passed and, after every message that
// can change the look, draws the frame over the whole button and shapes the
// button's window to the frame's non-black pixels.
//
// The main window owns its skins and destroys each before its button; the
// button is not owned. A skin destroyed while its button is inside one of
// its messages (an exit click that closes the tool) is safe: the message
// finishes without touching the skin again.
#pragma once

#include <windows.h>

#include "skin_bitmap.h"
#include "unique_handle.h"
#include "zavure_graphics_engine.h"

namespace cpk::skin {

class classTZavureModelsbar {
public:
    static constexpr int kFrameCount = 4;
    enum Frame : int { kNormal = 0, kHover = 1, kPressed = 2, kDisabled = 3 };

    // Binds the skin to button; the button itself is not touched until the
    // first SetStripBitmap.
    explicit classTZavureModelsbar(HWND button) noexcept;
    ~classTZavureModelsbar();
    classTZavureModelsbar(const classTZavureModelsbar&) = delete;
    classTZavureModelsbar& operator=(const classTZavureModelsbar&) = delete;

    // Adopts bitmap (the skin owns it from now on; null keeps the strip it
    // has), sizes the button to one frame and, on the first call only,
    // hooks the button's window procedure.
    void SetStripBitmap(HBITMAP bitmap) noexcept;

    // Draws the frame of the current state and shapes the button.
    void Redraw();

    [[nodiscard]] bool IsHover() const noexcept { return Hover; }
    [[nodiscard]] bool IsPressed() const noexcept { return Pressed; }
    [[nodiscard]] bool IsHooked() const noexcept { return OldWndProc != nullptr; }
    // The frame the current state selects.
    [[nodiscard]] int CurrentFrame() const noexcept;
    // For tests: the engine, to put a seam in its SetWindowRgn call.
    [[nodiscard]] classTZavureGraphicsEngine& EngineForTesting() noexcept { return Engine; }

private:
    static LRESULT CALLBACK ButtonWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Filter(UINT message, WPARAM wParam, LPARAM lParam);
    void Unhook() noexcept;

    WNDPROC OldWndProc = nullptr;
    classTZavureGraphicsEngine Engine;
    UniqueRegion AppliedRegion;
    SkinBitmap StripBitmap;
    SkinBitmap BufferBitmap;
    SkinBitmap FrameBitmap;
    bool Hover = false;
    bool Pressed = false;
    bool NeedRedraw = false;
    bool TrackingLeave = false;
    HWND Button;
    // Set by the destructor when it runs inside one of this skin's messages.
    bool* destroyedFlag_ = nullptr;
};

}  // namespace cpk::skin
