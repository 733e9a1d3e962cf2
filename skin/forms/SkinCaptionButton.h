// The plain look of a caption button: the standard caption buttons of a
// form without skin, and the MDI child buttons of the menu bar.
#pragma once

#include "platform/gdi/Graphics.h"

enum TbsCaptionGlyph {
    cgNone,
    cgClose,
    cgMaximize,
    cgRestore,
    cgMinimize,
    cgSysMenu,
    cgRollUp,
    cgRollDown,
    cgTray
};

// Fills R on Cnvs (hot: a navy frame around the light fill; pressed and hot:
// the darker fill with the glyph one pixel right and down; otherwise
// clBtnFace) and draws Glyph, in clBtnShadow when not Enabled.
void DrawDefaultCaptionButton(TCanvas* Cnvs, const TRect& R, TbsCaptionGlyph Glyph, bool Pressed,
                              bool Hot, bool Enabled);
