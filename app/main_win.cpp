// The program entry: start the units in link order, make the main window
// from its stored layout, run the message loop, and stop the units in
// reverse order when the window has closed.
#include "app/main_form_win.h"
#include "app/program_units_win.h"
#include "classlib/os/win.h"
#include "classlib/ui/forms.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    TUnitList units = ProgramUnits();
    units.InitializeAll();
    RegisterClass(TfrmMain::StaticClass());
    try {
        Application->Initialize();
        Application->SetMainFormOnTaskBar(true);
        Application->CreateForm(frmMain);
        Application->Run();
    } catch (...) {
        // A window that cannot be made is reported like any other error.
        Application->HandleException(nullptr);
    }
    units.FinalizeAll();
    return 0;
}
