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

void TForm::PaintBuffered()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    RECT client;
    GetClientRect(Handle(), &client);
    UniqueMemoryDc buffer(CreateCompatibleDC(dc));
    UniqueBitmap bits(CreateCompatibleBitmap(dc, client.right, client.bottom));
    if (buffer && bits) {
        SelectedObject selected(buffer.get(), bits.get());
        PaintBackground(buffer.get(), client);
        for (TComponent* c : components_)
            if (auto* g = dynamic_cast<TGraphicControl*>(c); g && g->Visible)
                g->Paint(buffer.get());
        BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
               ps.rcPaint.bottom - ps.rcPaint.top, buffer.get(), ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
    }
    EndPaint(Handle(), &ps);
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
