#include "zavure_modelsbar.h"

namespace cpk::skin {

namespace {

// The skin of a hooked button, and the handler it replaced. The second stays
// behind when a skin is destroyed while somebody else's handler sits on top
// of its own: the button then keeps calling ButtonWndProc, which passes
// every message straight on.
constexpr wchar_t kSkinProperty[] = L"cpk.skin.instance";
constexpr wchar_t kPreviousProperty[] = L"cpk.skin.previous";

}  // namespace

classTZavureModelsbar::classTZavureModelsbar(HWND button) noexcept
    : AppliedRegion(CreateRectRgn(0, 0, 0, 0)), Button(button)
{
}

classTZavureModelsbar::~classTZavureModelsbar()
{
    if (destroyedFlag_ != nullptr)
        *destroyedFlag_ = true;
    Unhook();
    // The bitmaps, the engine and AppliedRegion release themselves, buffer
    // and frame first, the strip (with the adopted handle) after them.
}

void classTZavureModelsbar::Unhook() noexcept
{
    if (OldWndProc == nullptr || Button == nullptr)
        return;
    const auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(Button, GWLP_WNDPROC));
    RemovePropW(Button, kSkinProperty);
    if (current == &ButtonWndProc) {
        SetWindowLongPtrW(Button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OldWndProc));
        RemovePropW(Button, kPreviousProperty);
    }
    OldWndProc = nullptr;
}

void classTZavureModelsbar::SetStripBitmap(HBITMAP bitmap) noexcept
{
    if (bitmap != nullptr)
        StripBitmap.Adopt(bitmap);
    if (Button == nullptr)
        return;
    SetWindowPos(Button, nullptr, 0, 0, StripBitmap.Width() / kFrameCount, StripBitmap.Height(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (OldWndProc != nullptr)
        return;
    if (GetPropW(Button, kSkinProperty) != nullptr)
        return;  // another skin holds this button
    const auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(Button, GWLP_WNDPROC));
    if (previous == nullptr)
        return;
    if (!SetPropW(Button, kSkinProperty, this) ||
        !SetPropW(Button, kPreviousProperty, reinterpret_cast<HANDLE>(previous))) {
        RemovePropW(Button, kSkinProperty);
        return;
    }
    OldWndProc = previous;
    SetWindowLongPtrW(Button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ButtonWndProc));
}

int classTZavureModelsbar::CurrentFrame() const noexcept
{
    if (Button != nullptr && !IsWindowEnabled(Button))
        return kDisabled;
    if (Pressed)
        return kPressed;
    if (Hover)
        return kHover;
    return kNormal;
}

LRESULT CALLBACK classTZavureModelsbar::ButtonWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (auto* skin = static_cast<classTZavureModelsbar*>(GetPropW(window, kSkinProperty)))
        return skin->Filter(message, wParam, lParam);
    const auto previous = reinterpret_cast<WNDPROC>(GetPropW(window, kPreviousProperty));
    if (message == WM_NCDESTROY)
        RemovePropW(window, kPreviousProperty);
    if (previous != nullptr)
        return CallWindowProcW(previous, window, message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT classTZavureModelsbar::Filter(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The button's handler may run code that destroys this skin (a click
    // that closes the main window); the flag tells this frame, and the
    // frames of any message this one is nested in, to stop touching it.
    bool destroyed = false;
    bool* const outer = destroyedFlag_;
    destroyedFlag_ = &destroyed;
    const HWND button = Button;
    const LRESULT result = CallWindowProcW(OldWndProc, button, message, wParam, lParam);
    if (destroyed) {
        if (outer != nullptr)
            *outer = true;
        return result;
    }
    destroyedFlag_ = outer;

    if (message == WM_NCDESTROY) {
        // The button goes before its skin: forget it, so the skin's
        // destruction leaves no handler behind on a window that is gone.
        RemovePropW(button, kSkinProperty);
        RemovePropW(button, kPreviousProperty);
        OldWndProc = nullptr;
        Button = nullptr;
        return result;
    }

    NeedRedraw = false;
    switch (message) {
    case WM_SIZE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_PAINT:
    case WM_ERASEBKGND:
    case WM_NCPAINT:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        NeedRedraw = true;
        break;
    case BM_SETSTATE:
        Pressed = wParam != 0;
        NeedRedraw = true;
        break;
    case WM_MOUSEMOVE:
        if (!TrackingLeave) {
            // Ask for WM_MOUSELEAVE, which clears the hover look again.
            TRACKMOUSEEVENT track{};
            track.cbSize = sizeof track;
            track.dwFlags = TME_LEAVE;
            track.hwndTrack = button;
            TrackingLeave = TrackMouseEvent(&track) != FALSE;
        }
        Hover = true;
        NeedRedraw = true;
        break;
    case WM_MOUSELEAVE:
        TrackingLeave = false;
        Hover = false;
        NeedRedraw = true;
        break;
    default:
        break;
    }

    if (NeedRedraw) {
        destroyedFlag_ = &destroyed;
        try {
            Redraw();
        } catch (...) {
            // Out of memory while scanning: this redraw is lost, the next
            // message draws again. Nothing may leave a window procedure.
        }
        if (destroyed) {
            if (outer != nullptr)
                *outer = true;
            return result;
        }
        destroyedFlag_ = outer;
    }
    return result;
}

void classTZavureModelsbar::Redraw()
{
    if (Button == nullptr)
        return;
    RECT bounds{};
    GetWindowRect(Button, &bounds);
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    if (BufferBitmap.Height() != height || BufferBitmap.Width() != width)
        BufferBitmap.SetSize(width, height);

    Engine.CutFrame(FrameBitmap, StripBitmap, kFrameCount, CurrentFrame());
    if (BufferBitmap.Canvas() != nullptr && FrameBitmap.Canvas() != nullptr)
        BitBlt(BufferBitmap.Canvas(), 0, 0, FrameBitmap.Width(), FrameBitmap.Height(), FrameBitmap.Canvas(), 0, 0,
               SRCCOPY);
    if (BufferBitmap.Canvas() != nullptr) {
        WindowDc ButtonCanvas(Button);
        if (ButtonCanvas.get() != nullptr)
            BitBlt(ButtonCanvas.get(), 0, 0, width, height, BufferBitmap.Canvas(), 0, 0, SRCCOPY);
    }
    Engine.ApplyColorKeyRegion(Button, AppliedRegion.get(), BufferBitmap.Canvas());
}

}  // namespace cpk::skin
