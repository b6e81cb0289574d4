#pragma once
// Test builds only: lets a benchmark see when the main dialog is shown and fully painted (an event it
// names in TAMRIVEL_TEST_PAINTED_EVENT is set), and time full repaints of it (TAMRIVEL_TEST_REPAINTS
// repaints, the seconds written to the file named by TAMRIVEL_TEST_REPAINT_LOG, then the dialog ends).
#include <windows.h>

namespace startup_probe {

// The skin stays off when TAMRIVEL_TEST_NO_SKIN is set, for figures against the system's own look.
bool SkinWanted();
// Called at each paint of the dialog; acts once, after every paint then pending is done.
void NotePainted(HWND dialog);

}  // namespace startup_probe
