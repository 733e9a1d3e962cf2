#include "skin/model/bsUtils.Platform.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#define BS_HAVE_CPUID 1
#endif

namespace {

struct TCpuLeaf1 {
    bool Available = false;
    std::uint32_t Signature = 0;
    std::uint32_t Features = 0;
};

TCpuLeaf1 ReadLeaf1() {
    TCpuLeaf1 L;
#ifdef BS_HAVE_CPUID
    unsigned A = 0, B = 0, C = 0, D = 0;
    if (__get_cpuid(1, &A, &B, &C, &D)) {
        L.Available = true;
        L.Signature = A;
        L.Features = D;
    }
#endif
    return L;
}

const TCpuLeaf1& Leaf1() {
    static const TCpuLeaf1 L = ReadLeaf1();
    return L;
}

} // namespace

bool IsCPUIDAvailable() {
    return Leaf1().Available;
}

std::uint32_t GetCPUSignature() {
    return Leaf1().Signature;
}

std::uint32_t GetCPUFeatures() {
    return Leaf1().Features;
}

bool HasMMXRule(bool CPUIDAvailable, std::uint32_t Signature, std::uint32_t Features) {
    return CPUIDAvailable && ((Signature >> 8) & 0xF) >= 5 && (Features & 0x800000) != 0;
}

bool HasMMX() {
    return HasMMXRule(IsCPUIDAvailable(), GetCPUSignature(), GetCPUFeatures());
}

void ClearMMXState() {}

const bool MMXAvailable = HasMMX();

bool LoadMsimg32() {
    return false;
}

bool IsMsimg32Loaded() {
    return false;
}

void SetLayeredAlpha(HWND Wnd, BYTE Alpha) {
    SetLayeredWindowAttributes(Wnd, 0, Alpha, LWA_ALPHA);
}

bool IsMultiMonitorAvailable() {
    return GetSystemMetrics(SM_CMONITORS) > 1;
}

void GetScreenWorkArea(bool WorkArea, TRect& R) {
    if (WorkArea)
        SystemParametersInfo(SPI_GETWORKAREA, 0, &R, 0);
    else
        R = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

void GetMonitorWorkArea(HWND Wnd, bool WorkArea, TRect& R) {
    if (!IsMultiMonitorAvailable()) {
        GetScreenWorkArea(WorkArea, R);
        return;
    }
    MONITORINFO Info;
    Info.cbSize = 40;
    if (GetMonitorInfo(MonitorFromWindow(Wnd, MONITOR_DEFAULTTONEAREST), &Info))
        R = WorkArea ? Info.rcWork : Info.rcMonitor;
}

void GetWinVersion(int& Major, int& Minor) {
    const DWORD V = GetVersion();
    Major = int(V & 0xFF);
    Minor = int((V >> 8) & 0xFF);
}

bool IsVistaOrLaterVersion(int Major, int /*Minor*/) {
    return Major > 5;
}

bool IsXPOrLaterVersion(int Major, int Minor) {
    return Major > 5 || (Major == 5 && Minor == 1);
}

bool IsLayeredWindowVersion(int Major, int Minor) {
    return Major > 5 || (Major == 5 && Minor >= 0 && Minor <= 2);
}

bool IsVistaOrLater() {
    int Major, Minor;
    GetWinVersion(Major, Minor);
    return IsVistaOrLaterVersion(Major, Minor);
}

bool IsXPOrLater() {
    int Major, Minor;
    GetWinVersion(Major, Minor);
    return IsXPOrLaterVersion(Major, Minor);
}
