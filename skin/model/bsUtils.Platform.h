// Processor test for the pixel kernels, the optional window-system entries
// (layered alpha, monitors), screen work areas and the version tests.
//
// The window system always provides layered windows and monitors, so the
// wrappers call it directly. There is no TransparentBlt library to load:
// LoadMsimg32 loads nothing and IsMsimg32Loaded stays false.
#pragma once

#include "platform/win/Windows.h"

#include <cstdint>

bool IsCPUIDAvailable();
// EAX and EDX of CPUID leaf 1; 0 without CPUID.
std::uint32_t GetCPUSignature();
std::uint32_t GetCPUFeatures();
// Family ((Signature >> 8) and 15) of 5 or more and feature bit 23.
bool HasMMXRule(bool CPUIDAvailable, std::uint32_t Signature, std::uint32_t Features);
bool HasMMX();
// No MMX register is ever used by the kernels: nothing to clear.
void ClearMMXState();
extern const bool MMXAvailable;

bool LoadMsimg32();
bool IsMsimg32Loaded();

void SetLayeredAlpha(HWND Wnd, BYTE Alpha);
bool IsMultiMonitorAvailable();
void GetScreenWorkArea(bool WorkArea, TRect& R);
void GetMonitorWorkArea(HWND Wnd, bool WorkArea, TRect& R);

// Major version in the low byte of GetVersion, minor in the second.
void GetWinVersion(int& Major, int& Minor);
bool IsVistaOrLaterVersion(int Major, int Minor);
bool IsXPOrLaterVersion(int Major, int Minor);
// The version half of the layered-window test.
bool IsLayeredWindowVersion(int Major, int Minor);
bool IsVistaOrLater();
bool IsXPOrLater();
