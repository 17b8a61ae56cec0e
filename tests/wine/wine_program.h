// The Windows build's programs under Wine, for the tests that drive them from outside.
#pragma once

#include <string>
#include <vector>

#include "e2e/quorvane_run.h"

// A program of the Windows build ("quorvane.exe", "quorvane-capture.exe", or a copy's absolute path)
// with its arguments, run by Wine in the tier's own prefix. Wine reports every message box it builds, text
// and all, on standard error (its "msgbox" channel).
ProgramCommand UnderWine(const std::string& program, const std::vector<std::string>& args = {});

// Ends the prefix's Wine session and waits until it is gone. A wineserver keeps the desktop (the
// screen size and display modes) of the X server its first program ran on, so a test that brings
// an X server of its own ends the session with it.
void EndWineSession();

// The texts of the message boxes that Wine reported in a program's output, in order.
std::vector<std::string> MessageBoxTexts(const std::string& output);
