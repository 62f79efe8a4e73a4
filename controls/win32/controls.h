// The control layer: a small stand-in for the form framework, with only what
// the main window needs. A form owns its components; graphic controls
// (labels, pictures) have no window of their own and are painted by the form
// into one off-screen buffer, so nothing flickers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "unique_handle.h"

namespace cpk {

using TColor = std::uint32_t;  // 0x00BBGGRR

struct TMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};
using TWndMethod = std::function<void(TMessage&)>;

// Answers WM_PAINT through one off-screen buffer: paint(buffer, client,
// dirty) draws into a bitmap of the client's size, which is then copied to
// the window in one go, so nothing flickers.
template <typename Paint>
void PaintThroughBuffer(HWND window, Paint&& paint)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    UniqueMemoryDc buffer(CreateCompatibleDC(dc));
    UniqueBitmap bits(CreateCompatibleBitmap(dc, client.right, client.bottom));
    if (buffer && bits) {
        SelectedObject selected(buffer.get(), bits.get());
        paint(buffer.get(), client, ps.rcPaint);
        BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
               ps.rcPaint.bottom - ps.rcPaint.top, buffer.get(), ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
    }
    EndPaint(window, &ps);
}

class TForm;

class TComponent {
public:
    explicit TComponent(TForm* owner);
    virtual ~TComponent() = default;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    [[nodiscard]] virtual const char* ClassName() const = 0;
    int Tag = 0;

protected:
    TForm* owner_;
};

// Logical pixels per inch of the screen, as fonts carry it.
[[nodiscard]] int ScreenPixelsPerInch();

struct TFont {
    std::wstring Name = L"Tahoma";
    int Height = -11;       // negative: character height in pixels
    TColor Color = 0;
    bool Bold = false;
    int PixelsPerInch = ScreenPixelsPerInch();  // Size() and SetSize() convert with it

    [[nodiscard]] int Size() const;  // points
    void SetSize(int points);
    // Creates a GDI font for this description; the caller owns it.
    [[nodiscard]] UniqueFont Create() const;
};

// A control without a window of its own, painted by its form.
class TGraphicControl : public TComponent {
public:
    using TComponent::TComponent;

    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool Visible = true;

    void SetBounds(int left, int top, int width, int height);
    // Saturated, so that extreme places from the layout text cannot overflow.
    [[nodiscard]] RECT BoundsRect() const;
    void Invalidate();
    virtual void Paint(HDC dc) = 0;
    // Left, right or middle press inside the control; returns true if taken.
    virtual bool MouseDown(UINT /*button message*/, int /*x*/, int /*y*/) { return false; }
};

class TLabel : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    [[nodiscard]] const char* ClassName() const override { return "TLabel"; }

    std::wstring Caption;
    TFont Font;
    bool AutoSize = false;
    bool WordWrap = false;

    void SetCaption(std::wstring caption);
    void SetFontColor(TColor color);
    void Paint(HDC dc) override;
    // A press on a label does nothing, and in particular does not drag.
    bool MouseDown(UINT, int, int) override { return true; }
};

// A bitmap shown unscaled from its top-left corner, cut to the control's
// frame. The picture owns the bitmap it is given.
class TImage : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    [[nodiscard]] const char* ClassName() const override { return "TImage"; }

    void SetBitmap(HBITMAP bitmap);  // adopts it
    [[nodiscard]] HBITMAP Bitmap() const { return bitmap_.get(); }
    void Paint(HDC dc) override;
    bool MouseDown(UINT button, int x, int y) override;

    // Button message (WM_LBUTTONDOWN, ...) and the point in control pixels.
    std::function<void(UINT button, int x, int y)> OnMouseDown;

private:
    UniqueBitmap bitmap_;
};

// The window's background and outline from one mask picture: painted
// first, beneath everything, and dragging the window by a left press.
class TShaper : public TImage {
public:
    using TImage::TImage;
    [[nodiscard]] const char* ClassName() const override { return "TShaper"; }
    bool MouseDown(UINT button, int x, int y) override;
};

// Only its caption, anti-aliased, filled with a vertical gradient from
// ColorStart at the top to ColorEnd at the bottom; no background.
class TGradientLabel : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    [[nodiscard]] const char* ClassName() const override { return "TGradientLabel"; }

    struct TCaption {
        std::wstring Text;
        TFont Font;
        TColor ColorStart = 0;
        TColor ColorEnd = 0;
    } Caption;

    void Paint(HDC dc) override;
    bool MouseDown(UINT, int, int) override { return true; }
};

// Drawing surface handed to paint events.
class TCanvas {
public:
    explicit TCanvas(HDC dc) : Handle(dc) {}
    HDC Handle;
    struct {
        TColor Color = 0;
    } Font, Brush;
    void FillRect(const RECT& r) const;
};

// Base of the controls with windows of their own. The child window belongs
// to the form's window (the system destroys it with its parent); the
// control only detaches itself from it when it goes.
class TWinControl : public TComponent {
public:
    TWinControl(TForm* owner, const wchar_t* className, DWORD style, int id);
    ~TWinControl() override;

    [[nodiscard]] HWND Handle() const { return window_; }
    void SetBounds(int left, int top, int width, int height);
    void Invalidate();
    [[nodiscard]] int Id() const { return id_; }

protected:
    // For controls of the system's own classes: no procedure of ours.
    TWinControl(TForm* owner, int id) : TComponent(owner), id_(id) {}
    // Handles painting (through one buffer, no background erase) and passes
    // everything else to the system.
    virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // Draws the whole client area into the paint buffer.
    virtual void PaintClient(HDC /*dc*/, const RECT& /*client*/) {}
    HWND window_ = nullptr;

private:
    static LRESULT CALLBACK StaticWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    int id_;
};

// A real push button. Its window procedure can be replaced (the skins do);
// clicks arrive through the form as OnClick.
class TButton : public TWinControl {
public:
    TButton(TForm* owner, int id);
    [[nodiscard]] const char* ClassName() const override { return "TButton"; }
    void SetCaption(const std::wstring& caption);
    std::function<void()> OnClick;
};

// A window timer. Setting Enabled to the value it has changes nothing, so a
// running timer keeps its expiry.
class TTimer : public TComponent {
public:
    explicit TTimer(TForm* owner);
    ~TTimer() override;
    [[nodiscard]] const char* ClassName() const override { return "TTimer"; }

    UINT Interval = 1000;
    std::function<void()> OnTimer;

    void SetEnabled(bool enabled);
    [[nodiscard]] bool Enabled() const { return enabled_; }
    void Fire();  // called by the form on WM_TIMER

    [[nodiscard]] UINT_PTR Id() const { return id_; }

private:
    bool enabled_ = false;
    UINT_PTR id_;
};

enum class TCloseAction { caNone, caHide, caFree, caMinimize };

// A borderless top-level window of a fixed client size, centred when first
// shown. WindowProc is replaceable: an interposed handler saves the current
// one and passes every message on to it.
class TForm {
public:
    TForm(const wchar_t* className, int clientWidth, int clientHeight);
    virtual ~TForm();
    TForm(const TForm&) = delete;
    TForm& operator=(const TForm&) = delete;

    [[nodiscard]] HWND Handle() const { return window_.get(); }
    TWndMethod WindowProc;
    TFont Font;
    TColor Color = 0;  // background where no picture covers it

    void SetCaption(const std::wstring& caption);
    void Show();
    void Close();
    void Invalidate(const RECT* area = nullptr);

    // Paints background and graphic controls of the given client area into
    // dc with dc's origin at that area's top-left (see-through controls).
    void PaintSceneUnder(HDC dc, const RECT& area);
    [[nodiscard]] HFONT WindowFont();

    [[nodiscard]] int ComponentCount() const { return static_cast<int>(components_.size()); }
    [[nodiscard]] TComponent* Components(int index) const { return components_[static_cast<std::size_t>(index)]; }

    std::function<void(TCloseAction&)> OnClose;

    // The form's own handling, the end of every WindowProc chain.
    void WndProc(TMessage& message);

protected:
    virtual void PaintBackground(HDC dc, const RECT& area);

private:
    friend class TComponent;
    friend class TTimer;
    static LRESULT CALLBACK StaticWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    void PaintBuffered();
    void PaintScene(HDC dc, const RECT& area);
    void Register(TComponent* component) { components_.push_back(component); }
    void Unregister(TComponent* component);

    UniqueWindow window_;
    std::vector<TComponent*> components_;
    bool closing_ = false;
    UniqueFont windowFont_;
    int clientWidth_, clientHeight_;
};

}  // namespace cpk
