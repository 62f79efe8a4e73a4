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

struct TFont {
    std::wstring Name = L"Tahoma";
    int Height = -11;       // negative: character height in pixels
    TColor Color = 0;
    bool Bold = false;
    int PixelsPerInch = 96;  // of the screen the form was designed for

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
    [[nodiscard]] RECT BoundsRect() const { return {Left, Top, Left + Width, Top + Height}; }
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
    void Register(TComponent* component) { components_.push_back(component); }
    void Unregister(TComponent* component);

    UniqueWindow window_;
    std::vector<TComponent*> components_;
    bool closing_ = false;
    int clientWidth_, clientHeight_;
};

}  // namespace cpk
