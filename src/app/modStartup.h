#pragma once

#include <memory>

class frmMain;

// Starts the program once the application object exists: sets the globals, loads the main window over the
// user's registry (so a list that cannot be read is reported before the window shows) and shows it. The
// program runs until that window closes; the caller keeps it alive until then.
std::unique_ptr<frmMain> Main();
