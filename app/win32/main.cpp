// Program entry: one main window and its message loop.
#include <windows.h>

#include <memory>

#include "MainUnit.h"
#include "application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    using namespace cpk;
    Guarded([] {
        Application.Initialize();
        auto form = std::make_unique<TMainForm>();
        Application.MainForm = form.get();
        form->Show();
        Application.Run();
    });
    return 0;
}
