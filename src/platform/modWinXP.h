#pragma once

// Registers the common control classes (Windows); true when the registration raised no error. Elsewhere does
// nothing and returns true.
bool InitVisualStyles();
