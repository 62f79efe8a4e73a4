#include "MainUnit.h"

#include <shellapi.h>
#include <shlobj.h>

#include "application.h"
#include "bridge.h"
#include "exception.h"
#include "file_paths.h"
#include "language_win32.h"
#include "color_key_region.h"
#include "layout_win32.h"
#include "test_mode.h"
#include "window_commands.h"

namespace cpk {

TMainForm* MainForm = nullptr;

namespace {

constexpr int kClientWidth = 813;
constexpr int kClientHeight = 553;

class LibraryDeviceCommands final : public DeviceCommands {
public:
    void TestStart() override { NotifyDevicesTestStart(); }
    void TestStop() override { NotifyDevicesTestStop(); }
};
LibraryDeviceCommands gLibraryDeviceCommands;

std::wstring ToWide(const std::u16string& s)
{
    return std::wstring(s.begin(), s.end());
}

std::wstring SystemMessage(DWORD code)
{
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = n && text ? std::wstring(text, n) : std::wstring();
    if (text)
        LocalFree(text);
    while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' || message.back() == L' '))
        message.pop_back();
    return message;
}

UniqueBitmap LoadBitmapResource(const wchar_t* name)
{
    return UniqueBitmap(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

std::wstring View(std::u16string_view s)
{
    return std::wstring(s.begin(), s.end());
}

std::u16string UserDecimalSeparator()
{
    wchar_t buf[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buf, 8) <= 1)
        return u".";
    return std::u16string(reinterpret_cast<const char16_t*>(buf));
}

// The window's outline: every mask pixel but those of the mask colour.
constexpr COLORREF kMaskColor = 0x00FFFFF5;

void SetupLabel(TLabel& label, int left, int top, int width, int height, int tag, int fontHeight,
                TColor color, bool bold = false)
{
    label.SetBounds(left, top, width, height);
    label.Tag = tag;
    label.Font.Height = -fontHeight;
    label.Font.Color = color;
    label.Font.Bold = bold;
}

}  // namespace

std::wstring DocumentsFolder()
{
    // The shell's answer is not examined: on failure the buffer stays
    // zero-filled and the paths fall back to the current drive's root.
    wchar_t folder[MAX_PATH] = {};
    (void)SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, folder);
    return folder;
}

void ExtractResourceToFile(const wchar_t* type, const std::wstring& path)
{
    const HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, L"resource", type);
    HGLOBAL loaded = info ? LoadResource(module, info) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        throw Exception(L"Resource resource not found");
    const DWORD size = SizeofResource(module, info);

    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        throw Exception(L"Cannot create file \"" + path + L"\". " + SystemMessage(error));
    }
    DWORD written = 0;
    const BOOL ok = WriteFile(file.get(), bytes, size, &written, nullptr);
    const DWORD error = GetLastError();
    file.reset();
    if (!ok || written != size) {
        // A truncated library or layout file would be used as found at the
        // next start: leave nothing behind instead.
        DeleteFileW(path.c_str());
        throw Exception(L"Cannot write file \"" + path + L"\". " + SystemMessage(ok ? ERROR_DISK_FULL : error));
    }
}

TMainForm::TMainForm() : TForm(L"TMainForm", kClientWidth, kClientHeight), FDeviceCommands(&gLibraryDeviceCommands)
{
    MainForm = this;
    SetCaption(L"Vorla\u6309\u9375\u97FF\u61C9\u6E2C\u8A66\u6BD4\u8F03\u8EDF\u4EF6 V1.6");
    Font.Name = L"Tahoma";
    Font.Height = -11;

    // Design values of the labels; the layout text moves and restyles them.
    le_Version.SetCaption(L"\u7248\u672C\uFF1AV1.6");
    le_Version.AutoSize = true;
    SetupLabel(le_Version, 40, 529, 71, 16, 0, 13, 0xFFFFFF);
    SetupLabel(le_UseCommend, 288, 385, 248, 119, 1, 12, 0);
    le_UseCommend.WordWrap = true;
    SetupLabel(lb_F1, 290, 333, 63, 16, 0, 15, 0, true);
    SetupLabel(lb_ESC, 290, 356, 143, 16, 0, 15, 0, true);
    SetupLabel(lb_F2, 453, 333, 58, 16, 0, 15, 0, true);
    SetupLabel(le_SofewareCommend1, 228, 257, 365, 17, 1, 13, 0);
    SetupLabel(le_SofewareCommend2, 190, 271, 435, 17, 1, 13, 0);
    SetupLabel(le_SofewareCommend3, 147, 294, 519, 13, 1, 13, 0);
    SetupLabel(le_SofewareCommendTitle, 313, 238, 192, 18, 1, 15, 0);
    SetupLabel(le_AMouse, 54, 362, 51, 13, 0, 13, 0);
    SetupLabel(le_BMouse, 219, 367, 51, 13, 0, 13, 0);
    SetupLabel(le_Bump, 130, 443, 55, 23, 0, 19, 0);
    SetupLabel(le_CollisionTimes, 584, 330, 22, 13, 1, 12, 0);
    SetupLabel(le_Winner, 642, 330, 39, 13, 1, 12, 0);
    SetupLabel(le_FasterBy, 707, 329, 51, 13, 1, 12, 0);

    // The shaper: mask picture as background and outline.
    AdvShaper1.SetBounds(0, 0, kClientWidth, kClientHeight);
    AdvShaper1.SetBitmap(LoadBitmapResource(L"Bitmap_Mask").release());
    advle_Title.SetBounds(33, 326, 203, 25);
    advle_Title.Caption.Font.Height = -13;
    image_Logo.SetBounds(288, 3, 236, 70);
    image_Title.SetBounds(219, 99, 379, 123);
    image_Logo.OnMouseDown = [this](UINT button, int, int) { image_LogoMouseDown(button); };
    image_Title.OnMouseDown = [this](UINT button, int, int) { image_LogoMouseDown(button); };

    asg_SpeedAnalysis.SetBounds(553, 347, 208, 157);
    asg_SpeedAnalysis.OnDrawCell = [this](TCanvas& c, int col, int row, const RECT& r) {
        asg_SpeedAnalysisDrawCell(c, col, row, r);
    };
    asg_SpeedAnalysis.OnMouseWheelDown = [this](bool& handled) { asg_SpeedAnalysisMouseWheelDown(handled); };
    asg_SpeedAnalysis.OnMouseWheelUp = [this](bool& handled) { asg_SpeedAnalysisMouseWheelDown(handled); };
    assb_SpeedAnalysis.SetBounds(765, 356, 8, 139);
    assb_SpeedAnalysis.SetThumbPicture(LoadBitmapResource(L"Bitmap_Thumb").release());
    FScroll.onPositionChanged = [this](int position) { assb_SpeedAnalysisPositionChanged(position); };

    btn_Cancel.SetBounds(712, 519, 103, 38);
    btn_Cancel.SetCaption(L"離開");
    btn_Cancel.OnClick = [this] { btn_CancelClick(); };
    btn_Web.SetBounds(289, 522, 259, 34);
    btn_Web.SetCaption(L"網址");
    btn_Web.OnClick = [this] { btn_WebClick(); };

    tm_LeftDown.Interval = 50;
    tm_RightDown.Interval = 50;
    tm_LeftDown.OnTimer = [this] { tm_LeftDownTimer(); };
    tm_RightDown.OnTimer = [this] { tm_RightDownTimer(); };
    OnClose = [this](TCloseAction& action) { FormClose(action); };

    FResults.SetFamily(FamilyForLanguage(GetLanguageName()));
    FResults.SetDecimalSeparator(UserDecimalSeparator());
    // Appends run inside the hook call: they only mark the views for a
    // later repaint.
    FResults.onChanged = [this] {
        asg_SpeedAnalysis.Changed();
        assb_SpeedAnalysis.Invalidate();
    };
    FOpenUrl = [](const std::wstring& url) {
        ShellExecuteW(nullptr, nullptr, url.c_str(), nullptr, nullptr, SW_SHOW);
    };

    ApplyOutline();
    FormCreate();
    SetFocus(asg_SpeedAnalysis.Handle());
}

TMainForm::~TMainForm()
{
    if (MainForm == this)
        MainForm = nullptr;
}

void TMainForm::ApplyOutline()
{
    // Built once from the mask before the window is first shown; the window
    // owns the region from then on.
    if (UniqueRegion outline = skin::CreateColorKeyRegion(AdvShaper1.Bitmap(), kMaskColor))
        if (SetWindowRgn(Handle(), outline.get(), TRUE))
            (void)outline.release();
}

void TMainForm::FormCreate()
{
    // An error ends the remaining steps; the window still opens.
    try {
        CreateSteps();
    } catch (...) {
        Application.HandleException(std::current_exception());
    }
}

void TMainForm::CreateSteps()
{
    // 1-3: the device library and the layout text, extracted when absent; a
    // file already there is used as found, whatever it holds.
    FDeviceLibraryPath = ToWide(JoinDocumentsPath(reinterpret_cast<const char16_t*>(DocumentsFolder().c_str()),
                                                  u"resource.dll"));
    if (GetFileAttributesW(FDeviceLibraryPath.c_str()) == INVALID_FILE_ATTRIBUTES)
        ExtractResourceToFile(L"DLL", FDeviceLibraryPath);
    FLayoutTextPath =
        ToWide(JoinDocumentsPath(reinterpret_cast<const char16_t*>(DocumentsFolder().c_str()), u"Text.txt"));
    if (GetFileAttributesW(FLayoutTextPath.c_str()) == INVALID_FILE_ATTRIBUTES)
        ExtractResourceToFile(L"TXT", FLayoutTextPath);

    // 4: the device library, and device notices for this window.
    OpenDeviceLibrary(Handle(), FDeviceLibraryPath);
    RegisterDeviceArrivalNotification(Handle());

    // 5: this window's procedure in front of the form's own.
    FOldWindowProc = WindowProc;
    WindowProc = [this](TMessage& m) { MainWindowProc(m); };

    // 6
    FHookHandle.reset();

    // 7: the layout text: captions, fonts, colours and places of the labels.
    GradientLabelLayout<TGradientLabel> title(advle_Title);
    LayoutTargets targets;
    targets.le_SofewareCommendTitle = &le_SofewareCommendTitle;
    targets.le_SofewareCommend1 = &le_SofewareCommend1;
    targets.le_SofewareCommend2 = &le_SofewareCommend2;
    targets.le_SofewareCommend3 = &le_SofewareCommend3;
    targets.advle_Title = &title;
    targets.le_AMouse = &le_AMouse;
    targets.le_BMouse = &le_BMouse;
    targets.le_Bump = &le_Bump;
    targets.lb_F1 = &lb_F1;
    targets.lb_F2 = &lb_F2;
    targets.lb_ESC = &lb_ESC;
    targets.le_UseCommend = &le_UseCommend;
    targets.le_CollisionTimes = &le_CollisionTimes;
    targets.le_Winner = &le_Winner;
    targets.le_FasterBy = &le_FasterBy;
    LoadLanguageLayout(FLayoutTextPath, GetLanguageName(), targets);
    Invalidate();

    // 8-9: the language's pictures, window caption and version text. A
    // bitmap that cannot be loaded leaves its picture empty.
    const LanguageArt& art = LanguageArtFor(GetLanguageName());
    UniqueBitmap titleBitmap = LoadBitmapResource(art.titleBitmap);
    UniqueBitmap logoBitmap = LoadBitmapResource(art.logoBitmap);
    UniqueBitmap exitBitmap = LoadBitmapResource(art.exitBitmap);
    image_Logo.SetBounds(art.logoLeft, 3, art.logoWidth, 70);
    image_Title.SetBounds(art.titleLeft, art.titleTop, art.titleWidth, art.titleHeight);
    SetCaption(View(art.caption));
    le_Version.SetCaption(View(art.version));
    image_Title.SetBitmap(titleBitmap.release());
    image_Logo.SetBitmap(logoBitmap.release());

    // 10: the skins of the exit and web buttons; each owns its strip and
    // sizes its button to one frame.
    FCancelSkin = std::make_unique<classTZavureModelsbar>(btn_Cancel.Handle());
    FCancelSkin->SetStripBitmap(exitBitmap.release());
    UniqueBitmap webBitmap = LoadBitmapResource(L"Bitmap_WebIcon");
    FWebSkin = std::make_unique<classTZavureModelsbar>(btn_Web.Handle());
    FWebSkin->SetStripBitmap(webBitmap.release());

    // 11
    RegisterHotkeys();

    // 12: label fonts shrunk on screens of 120, 144 and 192 pixels per inch.
    ShrinkLabelFonts(Font.PixelsPerInch);
}

void TMainForm::ShrinkLabelFonts(int pixelsPerInch)
{
    for (int i = 0; i < ComponentCount(); ++i) {
        TComponent* c = Components(i);
        if (std::string_view(c->ClassName()) != "TLabel")
            continue;
        auto* label = static_cast<TLabel*>(c);
        const int points = FontShrinkPoints(pixelsPerInch, label->Tag);
        if (points) {
            label->Font.SetSize(label->Font.Size() - points);
            label->Invalidate();
        }
    }
}

void TMainForm::RegisterHotkeys()
{
    FAtomOpenMouseHook = GlobalAtom(L"OpenMouseHook");
    FAtomStopTest = GlobalAtom(L"StopTest");
    FAtomClose = GlobalAtom(L"Close");
    // A key another program holds simply never reaches this window.
    RegisterHotKey(Handle(), FAtomOpenMouseHook.get(), 0, VK_F1);
    RegisterHotKey(Handle(), FAtomStopTest.get(), 0, VK_F2);
    RegisterHotKey(Handle(), FAtomClose.get(), 0, VK_ESCAPE);
}

void TMainForm::UnregisterHotkeys()
{
    UnregisterHotKey(Handle(), FAtomOpenMouseHook.get());
    UnregisterHotKey(Handle(), FAtomStopTest.get());
    UnregisterHotKey(Handle(), FAtomClose.get());
}

void TMainForm::MainWindowProc(TMessage& m)
{
    if (m.Msg == WM_HOTKEY) {
        const WPARAM id = m.WParam;
        if (FAtomOpenMouseHook.get() && id == FAtomOpenMouseHook.get())
            StartTestRun();
        else if (FAtomStopTest.get() && id == FAtomStopTest.get())
            StopTestRun();
        else if (FAtomClose.get() && id == FAtomClose.get())
            RunExitSequence();
    } else if (m.Msg == WM_DEVICECHANGE) {
        // Whatever the event: every device present ends in test mode 4.
        FDeviceCommands->TestStop();
        FDeviceCommands->TestStart();
    }
    // Nothing is swallowed. The exit sequence may have destroyed the window:
    // its procedure chain still ends in the form's own handling.
    FOldWindowProc(m);
}

void TMainForm::StartTestRun()
{
    FDeviceCommands->TestStart();
    if (!FHookHandle)
        FHookHandle.reset(SetWindowsHookExW(WH_MOUSE_LL, &TMainForm::MouseHookProc, GetModuleHandleW(nullptr), 0));
    FRace.ResetForRun();
    FResults.Reset();
    PinCursor(FCursor);
    FRace.FPinnedCursorPos = FCursor.Position();
    lb_F1.SetFontColor(kHotkeyRed);
    lb_F2.SetFontColor(kHotkeyYellow);
}

void TMainForm::StopTestRun()
{
    if (FHookHandle) {
        FHookHandle.reset();
        FCursor.Release();
    }
    lb_F1.SetFontColor(kHotkeyYellow);
    lb_F2.SetFontColor(kHotkeyRed);
    FDeviceCommands->TestStop();
}

void TMainForm::HandleButtonDown(MouseButton button)
{
    FRace.HandleButtonDown(button);
}

void TMainForm::AddBumpResult(bool paired)
{
    FRace.AddBumpResult(paired);
}

void TMainForm::tm_LeftDownTimer()
{
    FRace.LeftTimerExpired();
}

void TMainForm::tm_RightDownTimer()
{
    FRace.RightTimerExpired();
}

LRESULT CALLBACK TMainForm::MouseHookProc(int code, WPARAM message, LPARAM data)
{
    if (code >= 0 && MainForm) {
        try {
            if (message == WM_LBUTTONDOWN)
                MainForm->HandleButtonDown(MouseButton::Left);
            else if (message == WM_RBUTTONDOWN)
                MainForm->HandleButtonDown(MouseButton::Right);
        } catch (...) {
            // No box inside a low-level hook: it would hold up all input.
        }
    }
    return CallNextHookEx(nullptr, code, message, data);
}

void TMainForm::btn_CancelClick()
{
    RunExitSequence();
}

void TMainForm::btn_WebClick()
{
    // The shell's answer is not examined; nothing of the tool changes.
    const std::u16string url = WebPageFor(GetLanguageName());
    FOpenUrl(std::wstring(url.begin(), url.end()));
}

void TMainForm::image_LogoMouseDown(UINT button)
{
    if (button != WM_LBUTTONDOWN)
        return;
    ReleaseCapture();
    // Through the window's own procedure, synchronously: the system then
    // moves the window with the mouse until the button is released.
    TMessage m{WM_SYSCOMMAND, 0xF012, 0, 0};
    WindowProc(m);
}

void TMainForm::asg_SpeedAnalysisDrawCell(TCanvas& canvas, int col, int row, const RECT& rect)
{
    const std::u16string& text = FGrid.Cell(col, row);
    const TextFamily family = FamilyForLanguage(GetLanguageName());
    canvas.Font.Color = CellTextColor(family, text, canvas.Font.Color);
    canvas.FillRect(rect);
    SetTextColor(canvas.Handle, canvas.Font.Color);
    SetBkMode(canvas.Handle, TRANSPARENT);
    RECT r = rect;
    DrawTextW(canvas.Handle, reinterpret_cast<const wchar_t*>(text.c_str()), static_cast<int>(text.size()), &r,
              DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

void TMainForm::assb_SpeedAnalysisPositionChanged(int position)
{
    FResults.ScrollPositionChanged(position);
    assb_SpeedAnalysis.Invalidate();
}

void TMainForm::asg_SpeedAnalysisMouseWheelDown(bool& /*handled: left as it is*/)
{
    FResults.WheelStep();
}

void TMainForm::RunExitSequence()
{
    StopTestRun();
    CloseDeviceLibrary();
    DeleteFileW(FDeviceLibraryPath.c_str());
    DeleteFileW(FLayoutTextPath.c_str());
    Close();
}

void TMainForm::FormClose(TCloseAction& /*action*/)
{
    UnregisterHotkeys();
    // The skins go while their buttons still exist: each puts its button's
    // procedure back.
    FCancelSkin.reset();
    FWebSkin.reset();
    FHookHandle.reset();
}

}  // namespace cpk
