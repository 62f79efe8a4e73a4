// The tool's one window. It owns every piece of the tool's state: its
// controls, the race engine and results, the hotkey atoms and the low-level
// mouse hook, and the paths of the two files start-up extracts.
#pragma once

#include <windows.h>

#include <string>

#include <functional>
#include <memory>

#include "controls.h"
#include "grid.h"
#include "race_engine.h"
#include "race_platform.h"
#include "results_table.h"
#include "unique_handle.h"
#include "zavure_modelsbar.h"

namespace cpk {

using skin::classTZavureModelsbar;

// What the window tells the maker's devices; replaceable so that tests can
// watch the order of the commands.
class DeviceCommands {
public:
    virtual ~DeviceCommands() = default;
    virtual void TestStart() = 0;
    virtual void TestStop() = 0;
};

// A global atom this window added, deleted again with the window.
class GlobalAtom {
public:
    GlobalAtom() noexcept = default;
    explicit GlobalAtom(const wchar_t* name) noexcept : atom_(GlobalAddAtomW(name)) {}
    ~GlobalAtom()
    {
        if (atom_)
            GlobalDeleteAtom(atom_);
    }
    GlobalAtom(GlobalAtom&& other) noexcept : atom_(std::exchange(other.atom_, ATOM{0})) {}
    GlobalAtom& operator=(GlobalAtom&& other) noexcept
    {
        if (this != &other) {
            GlobalAtom old(std::move(*this));
            atom_ = std::exchange(other.atom_, ATOM{0});
        }
        return *this;
    }
    GlobalAtom(const GlobalAtom&) = delete;
    GlobalAtom& operator=(const GlobalAtom&) = delete;
    [[nodiscard]] ATOM get() const noexcept { return atom_; }

private:
    ATOM atom_ = 0;
};

inline constexpr TColor kHotkeyRed = 255;       // R 255, G 0, B 0
inline constexpr TColor kHotkeyYellow = 64767;  // R 255, G 252, B 0

class TMainForm : public TForm {
public:
    TMainForm();
    ~TMainForm() override;

    // The results the grid and bar show; they come before the controls that
    // display them.
    GridModel FGrid;
    ScrollModel FScroll;

    // ---- controls, in creation order ----
    TShaper AdvShaper1{this};
    TLabel le_Version{this};
    TLabel le_UseCommend{this};
    TLabel lb_F1{this};
    TLabel lb_ESC{this};
    TLabel lb_F2{this};
    TLabel le_SofewareCommend1{this};
    TLabel le_SofewareCommend2{this};
    TLabel le_SofewareCommend3{this};
    TLabel le_SofewareCommendTitle{this};
    TLabel le_AMouse{this};
    TLabel le_BMouse{this};
    TLabel le_Bump{this};
    TLabel le_CollisionTimes{this};
    TLabel le_Winner{this};
    TLabel le_FasterBy{this};
    TGradientLabel advle_Title{this};
    TImage image_Logo{this};
    TImage image_Title{this};
    TStringGrid asg_SpeedAnalysis{this, 1, FGrid};
    TSmoothScrollBar assb_SpeedAnalysis{this, 2, FScroll};
    TButton btn_Cancel{this, 3};
    TButton btn_Web{this, 4};
    TTimer tm_LeftDown{this};
    TTimer tm_RightDown{this};

    // ---- events ----
    void FormCreate();
    void FormClose(TCloseAction& action);
    void MainWindowProc(TMessage& message);
    void tm_LeftDownTimer();
    void tm_RightDownTimer();
    void btn_CancelClick();
    void btn_WebClick();
    void image_LogoMouseDown(UINT button);
    void asg_SpeedAnalysisDrawCell(TCanvas& canvas, int col, int row, const RECT& rect);
    void assb_SpeedAnalysisPositionChanged(int position);
    void asg_SpeedAnalysisMouseWheelDown(bool& handled);

    // Lowers the label fonts for a screen of the given pixels per inch.
    void ShrinkLabelFonts(int pixelsPerInch);

    // ---- test runs and the race ----
    void StartTestRun();
    void StopTestRun();
    void HandleButtonDown(MouseButton button);
    void AddBumpResult(bool paired);
    static LRESULT CALLBACK MouseHookProc(int code, WPARAM message, LPARAM data);

    // Stops the run, closes the device library, deletes both extracted files
    // and closes the window (ESC and the exit button).
    void RunExitSequence();

    // ---- state ----
    ResultsTable FResults{FGrid, FScroll};
    QpcCounter FCounter;
    FormTimer FLeftTimer{tm_LeftDown};
    FormTimer FRightTimer{tm_RightDown};
    WindowCursor FCursor{*this};
    ClickRaceEngine FRace{FCounter, FLeftTimer, FRightTimer, FCursor, FResults};
    UniqueHook FHookHandle;
    TWndMethod FOldWindowProc;
    std::wstring FDeviceLibraryPath;
    std::wstring FLayoutTextPath;
    DeviceCommands* FDeviceCommands;
    std::unique_ptr<classTZavureModelsbar> FCancelSkin;
    std::unique_ptr<classTZavureModelsbar> FWebSkin;
    // Opens a web address; the shell's default action unless replaced.
    std::function<void(const std::wstring& url)> FOpenUrl;

private:
    void CreateSteps();
    void ApplyOutline();
    void RegisterHotkeys();
    void UnregisterHotkeys();

    GlobalAtom FAtomOpenMouseHook;
    GlobalAtom FAtomStopTest;
    GlobalAtom FAtomClose;
};

// The one main window, set before its creation handler runs.
extern TMainForm* MainForm;

// The user's Documents folder, or empty when the shell cannot say.
[[nodiscard]] std::wstring DocumentsFolder();

// Writes the module's resource "resource" of the given type into path,
// byte for byte. Raises cpk::Exception when the resource is missing or the
// file cannot be written; a partly written file is removed again.
void ExtractResourceToFile(const wchar_t* type, const std::wstring& path);

}  // namespace cpk
