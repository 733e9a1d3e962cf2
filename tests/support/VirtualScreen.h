// The end-to-end tests' way to a virtual X screen: a demonstration's driver
// script runs inside xvfb-run on a server of its own, with a time limit, and
// leaves its files in the test's folder.
#pragma once

#include <string>

// Whether a command of that name is on PATH.
bool ToolAvailable(const std::string& Tool);

// A whole text file; empty when it cannot be read.
std::string ReadTextFile(const std::string& Path);

// Runs "SCRIPT DEMO SCREENSHOT OUTDIR" inside xvfb-run on a screen of Screen
// ("1280x800x24"), with Qt's platform left to the display and a private
// runtime folder; xvfb-run's own output goes to OUTDIR/xvfb.txt and the
// server's errors to OUTDIR/xvfb-errors.txt. Answers system()'s status.
int RunDemoOnVirtualScreen(const std::string& Script, const std::string& Demo,
                           const std::string& Screenshot, const std::string& OutDir,
                           const std::string& Screen = "1280x800x24", int Seconds = 300);
