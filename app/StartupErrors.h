// The errors of a start-up are shown through the application's error
// display, only the first one of a start: one cause (an unwritable
// option.ini) fails several steps of several forms.
#pragma once

#include <exception>

void ShowStartupError(const std::exception& E);
void ResetStartupErrors();
