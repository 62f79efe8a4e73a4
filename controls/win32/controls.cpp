#include "controls.h"

#include <algorithm>
#include <stdexcept>

#include "application.h"

namespace cpk {

// ---- components --------------------------------------------------------

TComponent::TComponent(TForm* owner) : owner_(owner)
{
    if (owner_)
        owner_->Register(this);
}

// ---- fonts -------------------------------------------------------------

int ScreenPixelsPerInch()
{
    HDC screen = GetDC(nullptr);
    const int ppi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    return ppi > 0 ? ppi : 96;
}

int TFont::Size() const
{
    return -MulDiv(Height, 72, PixelsPerInch);
}

void TFont::SetSize(int points)
{
    Height = -MulDiv(points, PixelsPerInch, 72);
}

UniqueFont TFont::Create() const
{
    LOGFONTW lf{};
    lf.lfHeight = Height;
    lf.lfWeight = Bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(lf.lfFaceName, Name.c_str(), LF_FACESIZE);
    return UniqueFont(CreateFontIndirectW(&lf));
}

// ---- graphic controls ----------------------------------------------------

RECT TGraphicControl::BoundsRect() const
{
    auto sat = [](long long v) {
        return static_cast<LONG>(v > 0x7FFFFFFF ? 0x7FFFFFFF : v < -0x7FFFFFFF - 1 ? -0x7FFFFFFF - 1 : v);
    };
    return {Left, Top, sat(static_cast<long long>(Left) + Width), sat(static_cast<long long>(Top) + Height)};
}

void TGraphicControl::SetBounds(int left, int top, int width, int height)
{
    Invalidate();
    Left = left;
    Top = top;
    Width = width;
    Height = height;
    Invalidate();
}

void TGraphicControl::Invalidate()
{
    if (owner_) {
        const RECT r = BoundsRect();
        owner_->Invalidate(&r);
    }
}

void TLabel::SetCaption(std::wstring caption)
{
    Caption = std::move(caption);
    if (AutoSize) {
        // Sized to the caption: one line in the label's own font.
        HDC screen = GetDC(nullptr);
        UniqueFont font = Font.Create();
        RECT r{0, 0, 0, 0};
        {
            SelectedObject selected(screen, font.get());
            DrawTextW(screen, Caption.c_str(), static_cast<int>(Caption.size()), &r,
                      DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        }
        ReleaseDC(nullptr, screen);
        SetBounds(Left, Top, r.right, r.bottom);
    }
    Invalidate();
}

void TLabel::SetFontColor(TColor color)
{
    Font.Color = color;
    Invalidate();
}

void TLabel::Paint(HDC dc)
{
    UniqueFont font = Font.Create();
    SelectedObject selected(dc, font.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, Font.Color);
    RECT r = BoundsRect();
    UINT format = DT_LEFT | DT_TOP | DT_NOPREFIX;
    format |= WordWrap ? DT_WORDBREAK : DT_SINGLELINE;
    DrawTextW(dc, Caption.c_str(), static_cast<int>(Caption.size()), &r, format);
}

// ---- pictures -------------------------------------------------------------

void TImage::SetBitmap(HBITMAP bitmap)
{
    bitmap_.reset(bitmap);
    Invalidate();
}

void TImage::Paint(HDC dc)
{
    if (!bitmap_)
        return;
    BITMAP info{};
    GetObjectW(bitmap_.get(), sizeof info, &info);
    UniqueMemoryDc source(CreateCompatibleDC(dc));
    SelectedObject selected(source.get(), bitmap_.get());
    // Unscaled from the top-left corner, cut to the frame.
    const int w = info.bmWidth < Width ? info.bmWidth : Width;
    const int h = info.bmHeight < Height ? info.bmHeight : Height;
    BitBlt(dc, Left, Top, w, h, source.get(), 0, 0, SRCCOPY);
}

bool TImage::MouseDown(UINT button, int x, int y)
{
    if (!OnMouseDown)
        return false;
    OnMouseDown(button, x, y);
    return true;
}

bool TShaper::MouseDown(UINT button, int, int)
{
    if (button == WM_LBUTTONDOWN && owner_ && owner_->Handle()) {
        // The system's move command with the caption hit-test code: the
        // window follows the mouse until the button is released.
        ReleaseCapture();
        SendMessageW(owner_->Handle(), WM_SYSCOMMAND, 0xF012, 0);
    }
    return true;
}

// ---- gradient label ---------------------------------------------------------

namespace {

struct Dib32 {
    UniqueMemoryDc dc;
    UniqueBitmap bitmap;
    std::uint32_t* bits = nullptr;
    HGDIOBJ original = nullptr;

    Dib32(HDC reference, int width, int height)
    {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;  // top-down
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        void* raw = nullptr;
        dc.reset(CreateCompatibleDC(reference));
        bitmap.reset(CreateDIBSection(reference, &bi, DIB_RGB_COLORS, &raw, nullptr, 0));
        bits = static_cast<std::uint32_t*>(raw);
        if (dc && bitmap)
            original = SelectObject(dc.get(), bitmap.get());
    }
    ~Dib32()
    {
        if (original)
            SelectObject(dc.get(), original);
    }
    Dib32(const Dib32&) = delete;
    Dib32& operator=(const Dib32&) = delete;
    [[nodiscard]] bool Ok() const { return bits && original; }
};

int Lerp(int a, int b, int num, int den)
{
    return den <= 0 ? a : a + (b - a) * num / den;
}

}  // namespace

void TGradientLabel::Paint(HDC dc)
{
    if (Caption.Text.empty() || Width <= 0 || Height <= 0)
        return;
    // The caption is drawn white on black with anti-aliasing; its grey
    // levels then blend the gradient colour over what lies beneath.
    Dib32 coverage(dc, Width, Height);
    Dib32 scene(dc, Width, Height);
    if (!coverage.Ok() || !scene.Ok())
        return;
    std::fill(coverage.bits, coverage.bits + Width * Height, 0u);
    TFont font = Caption.Font;
    UniqueFont hfont;
    {
        LOGFONTW lf{};
        lf.lfHeight = font.Height;
        lf.lfWeight = font.Bold ? FW_BOLD : FW_NORMAL;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfQuality = ANTIALIASED_QUALITY;
        lstrcpynW(lf.lfFaceName, font.Name.c_str(), LF_FACESIZE);
        hfont.reset(CreateFontIndirectW(&lf));
    }
    {
        SelectedObject selected(coverage.dc.get(), hfont.get());
        SetBkMode(coverage.dc.get(), TRANSPARENT);
        SetTextColor(coverage.dc.get(), RGB(255, 255, 255));
        RECT r{0, 0, Width, Height};
        DrawTextW(coverage.dc.get(), Caption.Text.c_str(), static_cast<int>(Caption.Text.size()), &r,
                  DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    }
    GdiFlush();
    BitBlt(scene.dc.get(), 0, 0, Width, Height, dc, Left, Top, SRCCOPY);
    GdiFlush();
    const int r0 = GetRValue(Caption.ColorStart), g0 = GetGValue(Caption.ColorStart), b0 = GetBValue(Caption.ColorStart);
    const int r1 = GetRValue(Caption.ColorEnd), g1 = GetGValue(Caption.ColorEnd), b1 = GetBValue(Caption.ColorEnd);
    for (int y = 0; y < Height; ++y) {
        const int r = Lerp(r0, r1, y, Height - 1), g = Lerp(g0, g1, y, Height - 1), b = Lerp(b0, b1, y, Height - 1);
        for (int x = 0; x < Width; ++x) {
            const std::uint32_t c = coverage.bits[y * Width + x];
            const int a = static_cast<int>(((c >> 16 & 0xFF) + (c >> 8 & 0xFF) + (c & 0xFF)) / 3);
            if (!a)
                continue;
            std::uint32_t& p = scene.bits[y * Width + x];
            const int pr = p >> 16 & 0xFF, pg = p >> 8 & 0xFF, pb = p & 0xFF;
            p = static_cast<std::uint32_t>(((pr + (r - pr) * a / 255) << 16) | ((pg + (g - pg) * a / 255) << 8) |
                                           (pb + (b - pb) * a / 255));
        }
    }
    BitBlt(dc, Left, Top, Width, Height, scene.dc.get(), 0, 0, SRCCOPY);
}

void TCanvas::FillRect(const RECT& r) const
{
    HBRUSH brush = CreateSolidBrush(Brush.Color);
    ::FillRect(Handle, &r, brush);
    DeleteObject(brush);
}

// ---- windowed controls -------------------------------------------------------

TWinControl::TWinControl(TForm* owner, const wchar_t* className, DWORD style, int id) : TComponent(owner), id_(id)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &TWinControl::StaticWndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = className;
    RegisterClassExW(&wc);
    window_ = CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, owner->Handle(),
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
}

TWinControl::~TWinControl()
{
    if (window_ && IsWindow(window_) && GetWindowLongPtrW(window_, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this))
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
}

void TWinControl::SetBounds(int left, int top, int width, int height)
{
    if (window_)
        SetWindowPos(window_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::Invalidate()
{
    if (window_)
        InvalidateRect(window_, nullptr, FALSE);
}

LRESULT TWinControl::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        PaintThroughBuffer(window_, [this](HDC dc, const RECT& client, const RECT&) { PaintClient(dc, client); });
        return 0;
    default:
        return DefWindowProcW(window_, msg, wParam, lParam);
    }
}

LRESULT CALLBACK TWinControl::StaticWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* self = static_cast<TWinControl*>(cs->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<TWinControl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        return DefWindowProcW(window, msg, wParam, lParam);
    }
    LRESULT result = 0;
    bool handled = false;
    Guarded([&] {
        result = self->WndProc(msg, wParam, lParam);
        handled = true;
    });
    return handled ? result : DefWindowProcW(window, msg, wParam, lParam);
}

TButton::TButton(TForm* owner, int id) : TWinControl(owner, id)
{
    window_ = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0,
                              owner->Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              GetModuleHandleW(nullptr), nullptr);
    if (window_)
        SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(owner->WindowFont()), FALSE);
}

void TButton::SetCaption(const std::wstring& caption)
{
    if (window_)
        SetWindowTextW(window_, caption.c_str());
}

// ---- timers --------------------------------------------------------------

namespace {
UINT_PTR NextTimerId()
{
    static UINT_PTR next = 1;
    return next++;
}
}  // namespace

TTimer::TTimer(TForm* owner) : TComponent(owner), id_(NextTimerId()) {}

TTimer::~TTimer()
{
    SetEnabled(false);
}

void TTimer::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    if (!owner_ || !owner_->Handle())
        return;
    if (enabled_)
        SetTimer(owner_->Handle(), id_, Interval, nullptr);
    else
        KillTimer(owner_->Handle(), id_);
}

void TTimer::Fire()
{
    if (enabled_ && OnTimer)
        OnTimer();
}

// ---- forms ---------------------------------------------------------------

TForm::TForm(const wchar_t* className, int clientWidth, int clientHeight)
    : clientWidth_(clientWidth), clientHeight_(clientHeight)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &TForm::StaticWndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = className;
    RegisterClassExW(&wc);  // fails harmlessly when the class exists already

    WindowProc = [this](TMessage& m) { WndProc(m); };

    // No border and no caption: the client area is the whole window.
    const DWORD style = WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT r{0, 0, clientWidth_, clientHeight_};
    AdjustWindowRectEx(&r, style, FALSE, 0);
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int x = work.left + ((work.right - work.left) - w) / 2;
    const int y = work.top + ((work.bottom - work.top) - h) / 2;
    HWND window = CreateWindowExW(0, className, L"", style, x, y, w, h, nullptr, nullptr, instance, this);
    window_.reset(window);
    if (!window)
        throw std::runtime_error("window creation failed");
}

TForm::~TForm()
{
    // Components are members of the derived form and are gone by now.
    if (window_)
        SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
}

void TForm::Unregister(TComponent* component)
{
    components_.erase(std::remove(components_.begin(), components_.end(), component), components_.end());
}

void TForm::SetCaption(const std::wstring& caption)
{
    SetWindowTextW(Handle(), caption.c_str());
}

void TForm::Show()
{
    ShowWindow(Handle(), SW_SHOW);
    UpdateWindow(Handle());
}

void TForm::Close()
{
    if (closing_ || !window_)
        return;
    TCloseAction action = TCloseAction::caFree;
    if (OnClose)
        OnClose(action);
    if (action == TCloseAction::caNone)
        return;
    closing_ = true;
    DestroyWindow(Handle());
}

void TForm::Invalidate(const RECT* area)
{
    if (window_)
        InvalidateRect(Handle(), area, FALSE);
}

void TForm::PaintBackground(HDC dc, const RECT& area)
{
    HBRUSH brush = CreateSolidBrush(Color);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

HFONT TForm::WindowFont()
{
    if (!windowFont_)
        windowFont_ = Font.Create();
    return windowFont_.get();
}

void TForm::PaintScene(HDC dc, const RECT& area)
{
    PaintBackground(dc, area);
    for (TComponent* c : components_)
        if (auto* g = dynamic_cast<TGraphicControl*>(c); g && g->Visible) {
            RECT r = g->BoundsRect(), common;
            if (IntersectRect(&common, &r, &area))
                g->Paint(dc);
        }
}

void TForm::PaintSceneUnder(HDC dc, const RECT& area)
{
    POINT old;
    SetViewportOrgEx(dc, -area.left, -area.top, &old);
    PaintScene(dc, area);
    SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

void TForm::PaintBuffered()
{
    PaintThroughBuffer(Handle(), [this](HDC buffer, const RECT&, const RECT& dirty) { PaintScene(buffer, dirty); });
}

void TForm::WndProc(TMessage& m)
{
    const HWND self = Handle();
    switch (m.Msg) {
    case WM_ERASEBKGND:
        m.Result = 1;  // everything is painted from the buffer
        return;
    case WM_PAINT:
        PaintBuffered();
        m.Result = 0;
        return;
    case WM_TIMER:
        for (TComponent* c : components_)
            if (auto* t = dynamic_cast<TTimer*>(c); t && t->Id() == m.WParam) {
                t->Fire();
                break;
            }
        m.Result = 0;
        return;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        const int x = static_cast<short>(LOWORD(m.LParam));
        const int y = static_cast<short>(HIWORD(m.LParam));
        // Topmost control first: the last one created is drawn last.
        for (auto it = components_.rbegin(); it != components_.rend(); ++it)
            if (auto* g = dynamic_cast<TGraphicControl*>(*it); g && g->Visible) {
                const RECT r = g->BoundsRect();
                const POINT p{x, y};
                if (PtInRect(&r, p) && g->MouseDown(m.Msg, x - g->Left, y - g->Top)) {
                    m.Result = 0;
                    return;
                }
            }
        break;
    }
    case WM_COMMAND:
        if (HIWORD(m.WParam) == BN_CLICKED && m.LParam) {
            for (TComponent* c : components_)
                if (auto* b = dynamic_cast<TButton*>(c); b && b->Handle() == reinterpret_cast<HWND>(m.LParam)) {
                    if (b->OnClick)
                        b->OnClick();
                    m.Result = 0;
                    return;
                }
        }
        break;
    case WM_CLOSE:
        Close();
        m.Result = 0;
        return;
    case WM_DESTROY:
        if (Application.MainForm == this)
            Application.Terminate();
        break;
    case WM_NCDESTROY:
        // The window is gone: nothing is left to destroy.
        (void)window_.release();
        break;
    default:
        break;
    }
    m.Result = DefWindowProcW(self, m.Msg, m.WParam, m.LParam);
}

LRESULT CALLBACK TForm::StaticWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* form = reinterpret_cast<TForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!form || !form->window_)
        return DefWindowProcW(window, msg, wParam, lParam);

    TMessage m{msg, wParam, lParam, 0};
    bool handled = false;
    Guarded([&] {
        form->WindowProc(m);
        handled = true;
    });
    return handled ? m.Result : DefWindowProcW(window, msg, wParam, lParam);
}

}  // namespace cpk
