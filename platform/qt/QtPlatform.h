// Qt's platform choice, made before the application object exists: the
// user's QT_QPA_PLATFORM wins; otherwise X11 whenever there is a display
// (also under Wayland, whose native platform cannot place windows by
// position, grab the pointer or make override-redirect popups). High-DPI
// scaling is switched off so that one window pixel is one device pixel.
#pragma once

#include <string>

// Sets the environment Qt reads at start-up. Answers false, with the one
// line to show the user in Error, when the program has no display to use.
bool PrepareQtPlatform(std::string& Error);
