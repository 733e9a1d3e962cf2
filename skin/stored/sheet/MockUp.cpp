#include "skin/stored/sheet/MockUp.h"

#include "platform/gdi/Gdi.h"
#include "skin/model/bsUtils.NinePart.h"
#include "skin/model/bsUtils.Regions.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

TBitmap* Pic(TbsSkinData& S, int Index) {
    return S.ActivePicture(Index);
}

template <class E> E* Control(TbsSkinData& S, const std::string& Name) {
    const int I = S.GetControlIndex(Name);
    return I < 0 ? nullptr : dynamic_cast<E*>(S.CtrlList[std::size_t(I)].get());
}
template <class E> E* Object(TbsSkinData& S, const std::string& Name) {
    const int I = S.GetIndex(Name);
    return I < 0 ? nullptr : dynamic_cast<E*>(S.ObjectList[std::size_t(I)].get());
}

void Blit(TBitmap* Dest, int X, int Y, TBitmap* Source) {
    Dest->Canvas()->CopyRect({X, Y, X + Source->Width(), Y + Source->Height()}, Source->Canvas(),
                             {0, 0, Source->Width(), Source->Height()});
}

void BlitPart(TBitmap* Dest, int X, int Y, TBitmap* Source, const TRect& R) {
    if (!Source || R.Width() <= 0 || R.Height() <= 0)
        return;
    Dest->Canvas()->CopyRect({X, Y, X + R.Width(), Y + R.Height()}, Source->Canvas(), R);
}

// A custom control's look State (a rectangle of its picture, SkinRect for
// none) at the size of R, painted as the skinned controls paint it.
void NinePart(TbsSkinData& S, TBitmap* Dest, const TbsDataSkinCustomControl* E, const TRect& R,
              TRect State = {}) {
    if (!E)
        return;
    TBitmap* P = Pic(S, E->PictureIndex);
    if (!P)
        return;
    if (State.Width() <= 0)
        State = E->SkinRect;
    const int DX = R.Width() - E->SkinRect.Width(), DY = R.Height() - E->SkinRect.Height();
    TBitmap B;
    MakeNinePartBitmap(E->LTPoint, E->RTPoint, E->LBPoint, E->RBPoint, E->ClRect, E->LTPoint,
                       {E->RTPoint.X + DX, E->RTPoint.Y}, {E->LBPoint.X, E->LBPoint.Y + DY},
                       {E->RBPoint.X + DX, E->RBPoint.Y + DY},
                       {E->ClRect.Left, E->ClRect.Top, E->ClRect.Right + DX, E->ClRect.Bottom + DY},
                       &B, P, State, R.Width(), R.Height(), true, E->LeftStretch, E->TopStretch,
                       E->RightStretch, E->BottomStretch, E->StretchEffect, E->StretchType);
    Blit(Dest, R.Left, R.Top, &B);
}

TRect ClientOf(const TbsDataSkinCustomControl* E, const TRect& R) {
    if (!E)
        return R;
    return {R.Left + E->ClRect.Left, R.Top + E->ClRect.Top,
            R.Right - (E->SkinRect.Width() - E->ClRect.Right),
            R.Bottom - (E->SkinRect.Height() - E->ClRect.Bottom)};
}

class TComposer {
public:
    TComposer(TbsSkinData& Skin, bool Text) : S(Skin), FText(Text) {}

    void Label(TBitmap* D, const TRect& R, const std::string& T, TColor C, bool Bold = false,
               TAlignment A = taLeftJustify) {
        if (!FText || T.empty())
            return;
        TCanvas* Cv = D->Canvas();
        Cv->Font()->SetName("Arial");
        Cv->Font()->SetHeight(14);
        Cv->Font()->SetColor(C);
        Cv->Font()->SetStyle(Bold ? TFontStyles{fsBold} : TFontStyles{});
        Cv->Brush()->SetStyle(bsClear);
        const int W = Cv->TextWidth(T), H = Cv->TextHeight(T);
        const int X = A == taCenter         ? (R.Left + R.Right - W) / 2
                      : A == taRightJustify ? R.Right - W
                                            : R.Left;
        Cv->TextRect(R, X, (R.Top + R.Bottom - H) / 2, T);
    }

    // A frame of W x H around a client and the caption with the buttons of
    // Commands, right to left.
    TRect Frame(TBitmap* D, int X, int Y, int W, int H, const std::string& Caption,
                const std::vector<TbsStdCommand>& Commands) {
        const int DX = W - S.FPicture->Width(), DY = H - S.FPicture->Height();
        TBitmap F;
        MakeNinePartBitmap(S.LTPoint, S.RTPoint, S.LBPoint, S.RBPoint, S.ClRect, S.LTPoint,
                           {S.RTPoint.X + DX, S.RTPoint.Y}, {S.LBPoint.X, S.LBPoint.Y + DY},
                           {S.RBPoint.X + DX, S.RBPoint.Y + DY},
                           {S.ClRect.Left, S.ClRect.Top, S.ClRect.Right + DX, S.ClRect.Bottom + DY},
                           &F, S.FPicture.get(), {0, 0, S.FPicture->Width(), S.FPicture->Height()},
                           W, H, true, S.LeftStretch, S.TopStretch, S.RightStretch, S.BottomStretch,
                           S.StretchEffect, S.StretchType);
        TRect Buttons = S.ButtonsRect;
        if (Buttons.Left > S.FPicture->Width() / 2)
            Buttons = {Buttons.Left + DX, Buttons.Top, Buttons.Right + DX, Buttons.Bottom};
        int Right = Buttons.Right;
        for (TbsStdCommand Cmd : Commands)
            for (auto& O : S.ObjectList)
                if (auto* B = dynamic_cast<TbsDataSkinStdButton*>(O.get());
                    B && B->Command == Cmd) {
                    Right -= B->SkinRect.Width();
                    BlitPart(&F, Right, Buttons.Top, Pic(S, B->ActivePictureIndex), B->SkinRect);
                    Right -= S.ButtonsOffset;
                    break;
                }
        if (auto* Cap = Object<TbsDataSkinCaption>(S, "caption")) {
            const TRect R{Cap->SkinRect.Left + Cap->TextRct.Left,
                          Cap->SkinRect.Top + Cap->TextRct.Top,
                          Cap->SkinRect.Left + Cap->TextRct.Right + DX,
                          Cap->SkinRect.Top + Cap->TextRct.Bottom};
            Label(&F, {R.Left, R.Top, std::min(R.Right, Right), R.Bottom}, Caption,
                  Cap->ActiveFontColor, true);
        }
        Blit(D, X, Y, &F);
        return {X + S.ClRect.Left, Y + S.ClRect.Top, X + S.ClRect.Right + DX,
                Y + S.ClRect.Bottom + DY};
    }

    void Button(TBitmap* D, const TRect& R, const std::string& T, const char* Name = "button",
                int State = 0) {
        auto* B = Control<TbsDataSkinButtonControl>(S, Name);
        if (!B)
            return;
        const TRect States[] = {B->SkinRect, B->ActiveSkinRect, B->DownSkinRect,
                                B->DisabledSkinRect, B->FocusedSkinRect};
        NinePart(S, D, B, R, States[State]);
        const TColor Colours[] = {B->FontColor, B->ActiveFontColor, B->DownFontColor,
                                  B->DisabledFontColor, B->FontColor};
        Label(D, ClientOf(B, R), T, Colours[State], false, taCenter);
    }

    void Panel(TBitmap* D, const TRect& R, const char* Name = "panel") {
        NinePart(S, D, Control<TbsDataSkinCustomControl>(S, Name), R);
    }

    TRect GroupBox(TBitmap* D, const TRect& R, const std::string& T) {
        auto* G = Control<TbsDataSkinPanelControl>(S, "groupbox");
        NinePart(S, D, G, R);
        if (!G)
            return R;
        Label(D,
              {R.Left + G->CaptionRect.Left, R.Top + G->CaptionRect.Top,
               R.Right - (G->SkinRect.Width() - G->CaptionRect.Right),
               R.Top + G->CaptionRect.Bottom},
              T, G->FontColor, true);
        return ClientOf(G, R);
    }

    void Edit(TBitmap* D, const TRect& R, const std::string& T, bool Hot = false) {
        auto* E = Control<TbsDataSkinEditControl>(S, "edit");
        if (!E)
            return;
        NinePart(S, D, E, {R.Left, R.Top, R.Right, R.Top + E->SkinRect.Height()},
                 Hot ? E->ActiveSkinRect : E->SkinRect);
        Label(D, ClientOf(E, {R.Left, R.Top, R.Right, R.Top + E->SkinRect.Height()}), T,
              E->FontColor);
    }

    void Combo(TBitmap* D, const TRect& R, const std::string& T, bool Hot = false) {
        auto* C = Control<TbsDataSkinComboBox>(S, "combobox");
        if (!C)
            return;
        const TRect F{R.Left, R.Top, R.Right, R.Top + C->SkinRect.Height()};
        NinePart(S, D, C, F, Hot ? C->ActiveSkinRect : C->SkinRect);
        const int DX = F.Width() - C->SkinRect.Width();
        const TRect Button{F.Left + C->ButtonRect.Left + DX, F.Top + C->ButtonRect.Top,
                           F.Left + C->ButtonRect.Right + DX, F.Top + C->ButtonRect.Bottom};
        if (Hot)
            BlitPart(D, Button.Left, Button.Top, Pic(S, C->PictureIndex), C->ActiveButtonRect);
        else
            BlitPart(D, Button.Left, Button.Top, Pic(S, C->PictureIndex),
                     {C->SkinRect.Left + C->ButtonRect.Left, C->SkinRect.Top + C->ButtonRect.Top,
                      C->SkinRect.Left + C->ButtonRect.Right,
                      C->SkinRect.Top + C->ButtonRect.Bottom});
        Label(D, {F.Left + C->ClRect.Left + 2, F.Top, Button.Left - 2, F.Bottom}, T, C->FontColor);
    }

    void Check(TBitmap* D, int X, int Y, const std::string& T, const char* Name, int State) {
        auto* C = Control<TbsDataSkinCheckRadioControl>(S, Name);
        if (!C)
            return;
        const TRect Images[] = {C->UnCheckImageRect,          C->CheckImageRect,
                                C->ActiveUnCheckImageRect,    C->ActiveCheckImageRect,
                                C->UnEnabledUnCheckImageRect, C->UnEnabledCheckImageRect,
                                C->GrayedCheckImageRect};
        const TRect& I = Images[State];
        const TRect Area = C->CheckImageArea;
        BlitPart(D, X + Area.Left + (Area.Width() - I.Width()) / 2,
                 Y + Area.Top + (Area.Height() - I.Height()) / 2, Pic(S, C->PictureIndex), I);
        Label(D,
              {X + C->TextArea.Left, Y + C->TextArea.Top, X + C->TextArea.Right + 60,
               Y + C->TextArea.Bottom},
              T, State >= 4 && State < 6 ? C->UnEnabledFontColor : C->FontColor);
    }

    void Slider(TBitmap* D, const TRect& R) {
        auto* Sl = Control<TbsDataSkinSlider>(S, "slider");
        if (!Sl)
            return;
        TBitmap* P = Pic(S, Sl->PictureIndex);
        TBitmap Ruler;
        const int RH = Sl->HRulerRect.Height();
        MakeHorzThreePartBitmap(Sl->EdgeSize, Sl->EdgeSize, &Ruler, P, Sl->HRulerRect, R.Width(),
                                RH, true);
        const int CY = (R.Top + R.Bottom) / 2;
        Blit(D, R.Left, CY - RH / 2, &Ruler);
        const int CW = Sl->HThumbRect.Width() / 2;
        BlitPart(D, R.Left + R.Width() / 3, CY - Sl->HThumbRect.Height() / 2, P,
                 {Sl->HThumbRect.Left, Sl->HThumbRect.Top, Sl->HThumbRect.Left + CW,
                  Sl->HThumbRect.Bottom});
    }

    void ScrollBar(TBitmap* D, const TRect& R, bool Vertical) {
        auto* B = Control<TbsDataSkinScrollBarControl>(S, Vertical ? "vscrollbar" : "hscrollbar");
        if (!B)
            return;
        NinePart(S, D, B, R);
        TBitmap* P = Pic(S, B->PictureIndex);
        const int L = Vertical ? R.Height() : R.Width();
        const int T0 = Vertical ? B->SkinRect.Width() : B->SkinRect.Height();
        const int Start = T0 + (L - 2 * T0) / 4, Len = (L - 2 * T0) / 3;
        TBitmap Thumb;
        if (Vertical)
            MakeVertThreePartBitmap(B->ThumbOffset1, B->ThumbOffset2, &Thumb, P, B->ThumbRect,
                                    B->ThumbRect.Width(), Len, true);
        else
            MakeHorzThreePartBitmap(B->ThumbOffset1, B->ThumbOffset2, &Thumb, P, B->ThumbRect, Len,
                                    B->ThumbRect.Height(), true);
        Blit(D, Vertical ? R.Left : R.Left + Start, Vertical ? R.Top + Start : R.Top, &Thumb);
    }

    void MenuBar(TBitmap* D, const TRect& R, const std::vector<std::string>& Items) {
        auto* Bar = Control<TbsDataSkinMainMenuBar>(S, "mainmenubar");
        auto* Item = Object<TbsDataSkinMainMenuBarItem>(S, "mainmenubaritem");
        if (!Bar || !Item)
            return;
        TBitmap* P = Pic(S, Bar->PictureIndex);
        TBitmap B;
        MakeHorzThreePartBitmap(Bar->ItemsRect.Left, Bar->SkinRect.Width() - Bar->ItemsRect.Right,
                                &B, P, Bar->SkinRect, R.Width(), Bar->SkinRect.Height(), true);
        Blit(D, R.Left, R.Top, &B);
        int X = R.Left + Bar->ItemsRect.Left;
        for (std::size_t i = 0; i < Items.size(); ++i) {
            const int W = FText ? D->Canvas()->TextWidth(Items[i]) + 20 : 44;
            TBitmap It;
            MakeHorzThreePartBitmap(
                Item->ItemLO, Item->ItemRO, &It, Pic(S, Item->ActivePictureIndex),
                i == 1 ? Item->ActiveSkinRect : Item->SkinRect, W, Item->SkinRect.Height(), true);
            Blit(D, X, R.Top, &It);
            Label(D, {X, R.Top, X + W, R.Top + Item->SkinRect.Height()}, Items[i],
                  i == 1 ? Item->ActiveFontColor : Item->FontColor, false, taCenter);
            X += W;
        }
    }

    void PopupMenu(TBitmap* D, int X, int Y, int W) {
        auto& Pw = *S.PopupWindow;
        auto* M = Object<TbsDataSkinMenuItem>(S, "menuitem");
        TBitmap* WP = Pic(S, Pw.WindowPictureIndex);
        if (!M || !WP)
            return;
        TBitmap* IP = Pic(S, M->ActivePictureIndex);
        const int IH = M->SkinRect.Height(), DH = M->DividerRect.Height();
        const int H = Pw.ItemsRect.Top + 4 * IH + DH + (WP->Height() - Pw.ItemsRect.Bottom);
        const int DX = W - WP->Width(), DY = H - WP->Height();
        TBitmap F;
        MakeNinePartBitmap(Pw.LTPoint, Pw.RTPoint, Pw.LBPoint, Pw.RBPoint,
                           {Pw.LTPoint.X, Pw.LTPoint.Y, Pw.RBPoint.X, Pw.RBPoint.Y}, Pw.LTPoint,
                           {Pw.RTPoint.X + DX, Pw.RTPoint.Y}, {Pw.LBPoint.X, Pw.LBPoint.Y + DY},
                           {Pw.RBPoint.X + DX, Pw.RBPoint.Y + DY},
                           {Pw.LTPoint.X, Pw.LTPoint.Y, Pw.RBPoint.X + DX, Pw.RBPoint.Y + DY}, &F,
                           WP, {0, 0, WP->Width(), WP->Height()}, W, H, true, true, true, true,
                           true, true, bsstFull);
        const int IW = W - Pw.ItemsRect.Left - (WP->Width() - Pw.ItemsRect.Right);
        int IY = Pw.ItemsRect.Top;
        struct TItem {
            const char* Text;
            bool Hot, Checked, Divider, Arrow;
        };
        const TItem Items[] = {{"打开文件", true, false, false, false},
                               {"显示日志", false, true, false, false},
                               {"", false, false, true, false},
                               {"输出格式", false, false, false, true},
                               {"退出", false, false, false, false}};
        for (const TItem& I : Items) {
            TBitmap B;
            if (I.Divider) {
                MakeHorzThreePartBitmap(M->DividerLO, M->DividerRO, &B, IP, M->DividerRect, IW, DH,
                                        true);
                Blit(&F, Pw.ItemsRect.Left, IY, &B);
                IY += DH;
                continue;
            }
            MakeHorzThreePartBitmap(M->ItemLO, M->ItemRO, &B, IP,
                                    I.Hot ? M->ActiveSkinRect : M->SkinRect, IW, IH, true);
            Blit(&F, Pw.ItemsRect.Left, IY, &B);
            if (I.Checked)
                BlitPart(&F, Pw.ItemsRect.Left + M->ImageRct.Left + 2, IY + 3, IP,
                         M->CheckImageRect);
            if (I.Arrow)
                BlitPart(&F, Pw.ItemsRect.Left + IW - 18, IY + 3, IP,
                         I.Hot ? M->ActiveArrowImageRect : M->ArrowImageRect);
            Label(&F,
                  {Pw.ItemsRect.Left + M->TextRct.Left, IY, Pw.ItemsRect.Left + IW - 20, IY + IH},
                  I.Text, I.Hot ? M->ActiveFontColor : M->FontColor);
            IY += IH;
        }
        Blit(D, X, Y, &F);
    }

    void Hint(TBitmap* D, int X, int Y, int W, int H, const std::string& T) {
        auto& Hw = *S.HintWindow;
        TBitmap* P = Pic(S, Hw.WindowPictureIndex);
        if (!P)
            return;
        const int DX = W - P->Width(), DY = H - P->Height();
        TBitmap F;
        MakeNinePartBitmap(
            Hw.LTPoint, Hw.RTPoint, Hw.LBPoint, Hw.RBPoint, Hw.ClRect, Hw.LTPoint,
            {Hw.RTPoint.X + DX, Hw.RTPoint.Y}, {Hw.LBPoint.X, Hw.LBPoint.Y + DY},
            {Hw.RBPoint.X + DX, Hw.RBPoint.Y + DY},
            {Hw.ClRect.Left, Hw.ClRect.Top, Hw.ClRect.Right + DX, Hw.ClRect.Bottom + DY}, &F, P,
            {0, 0, P->Width(), P->Height()}, W, H, true, true, true, true, true, true, bsstFull);
        Label(&F, {Hw.ClRect.Left, 0, W - 4, H}, T, Hw.FontColor);
        Blit(D, X, Y, &F);
    }

    TbsSkinData& S;
    bool FText;
};

TColor SurfaceColour(TbsSkinData& S) {
    return S.SkinColors()->cBtnFace();
}

std::unique_ptr<TBitmap> NewPicture(int W, int H, TColor Background) {
    auto B = std::make_unique<TBitmap>();
    B->SetPixelFormat(pf24bit);
    B->SetSize(W, H);
    B->Canvas()->Brush()->SetStyle(bsSolid);
    B->Canvas()->Brush()->SetColor(Background);
    B->Canvas()->FillRect({0, 0, W, H});
    return B;
}

} // namespace

TSize FrameSizeFor(TbsSkinData& Skin, int ClientWidth, int ClientHeight) {
    return {Skin.FPicture->Width() - Skin.ClRect.Width() + ClientWidth,
            Skin.FPicture->Height() - Skin.ClRect.Height() + ClientHeight};
}

std::unique_ptr<TBitmap> DrawMainWindow(TbsSkinData& Skin, bool Text) {
    const TSize Size = FrameSizeFor(Skin, MainClientWidth, MainClientHeight);
    auto D = NewPicture(Size.cx, Size.cy, SurfaceColour(Skin));
    TComposer C(Skin, Text);
    const TRect Cl = C.Frame(D.get(), 0, 0, Size.cx, Size.cy, "Ostrela 视频转换", {cmMinimize});
    const int X = Cl.Left, Y = Cl.Top, W = Cl.Width();
    C.MenuBar(D.get(), {X, Y, X + W, Y + 22}, {"文件", "编辑", "动作", "功能", "帮助"});
    // The tool bar, 59 high, with its ten buttons.
    C.Panel(D.get(), {X, Y + 22, X + W, Y + 81}, "resizetoolpanel");
    const char* Tools[] = {"添加", "删除", "清空", "上移", "下移",
                           "开始", "停止", "播放", "选项", "关于"};
    auto* TB = Control<TbsDataSkinButtonControl>(Skin, "resizetoolbutton");
    for (int i = 0; i < 10; ++i) {
        const TRect R{X + 4 + i * 60, Y + 24, X + 60 + i * 60, Y + 79};
        C.Button(D.get(), R, "", "resizetoolbutton", i == 5 ? 1 : i == 6 ? 2 : 0);
        D->Canvas()->Brush()->SetStyle(bsSolid);
        D->Canvas()->Brush()->SetColor(Skin.SkinColors()->cHighLight());
        D->Canvas()->FillRect({R.Left + 20, R.Top + 8, R.Left + 36, R.Top + 24});
        if (TB)
            C.Label(D.get(), {R.Left, R.Top + 30, R.Right, R.Bottom - 4}, Tools[i], TB->FontColor,
                    false, taCenter);
    }
    // The job list: a framed view with its header.
    const TRect List{X + 4, Y + 85, X + W - 4, Y + 300};
    C.Panel(D.get(), List);
    auto* View = Control<TbsDataSkinViewControl>(Skin, "listview");
    const TRect Inner{List.Left + 1, List.Top + 1, List.Right - 20, List.Bottom - 1};
    if (View) {
        D->Canvas()->Brush()->SetStyle(bsSolid);
        D->Canvas()->Brush()->SetColor(View->BGColor);
        D->Canvas()->FillRect(Inner);
    }
    const char* Columns[] = {"文件名", "格式", "时长", "大小", "状态"};
    const int ColW[] = {300, 100, 110, 110, 140};
    int HX = Inner.Left;
    for (int i = 0; i < 5; ++i) {
        // The last column takes what is left, as the list view's does.
        const int Right = i == 4 ? Inner.Right : HX + ColW[i];
        C.Button(D.get(), {HX, Inner.Top, Right, Inner.Top + 22}, Columns[i], "resizetoolbutton");
        HX = Right;
    }
    C.ScrollBar(D.get(), {List.Right - 20, List.Top + 1, List.Right - 1, List.Bottom - 1}, true);
    const char* Rows[] = {"旅行记录.mp4", "会议.avi", "音乐会.mkv"};
    const TColor Sel = Skin.SkinColors()->cHighLight();
    for (int i = 0; i < 3; ++i) {
        const TRect R{Inner.Left, Inner.Top + 24 + i * 22, Inner.Right, Inner.Top + 46 + i * 22};
        if (i == 1) {
            D->Canvas()->Brush()->SetStyle(bsSolid);
            D->Canvas()->Brush()->SetColor(Sel);
            D->Canvas()->FillRect(R);
        }
        if (View)
            C.Label(D.get(), {R.Left + 6, R.Top, R.Right, R.Bottom}, Rows[i],
                    i == 1 ? Skin.SkinColors()->cHighLightText() : View->FontColor);
    }
    // The output panel.
    const TRect Out{X + 4, Y + 304, X + W - 4, Y + 356};
    C.Panel(D.get(), Out);
    auto* Lbl = Control<TbsDataSkinStdLabelControl>(Skin, "stdlabel");
    const TColor LabelColour = Lbl ? Lbl->FontColor : TColor(0);
    C.Label(D.get(), {Out.Left + 10, Out.Top + 4, Out.Left + 80, Out.Top + 25}, "输出格式",
            LabelColour);
    C.Combo(D.get(), {Out.Left + 80, Out.Top + 4, Out.Left + 330, Out.Bottom}, "MP4 (H.264 + AAC)");
    C.Combo(D.get(), {Out.Left + 340, Out.Top + 4, Out.Left + 560, Out.Bottom}, "高质量", true);
    C.Label(D.get(), {Out.Left + 10, Out.Top + 28, Out.Left + 80, Out.Top + 49}, "输出目录",
            LabelColour);
    C.Edit(D.get(), {Out.Left + 80, Out.Top + 28, Out.Left + 560, Out.Bottom}, "/home/user/视频");
    C.Button(D.get(), {Out.Right - 170, Out.Top + 26, Out.Right - 90, Out.Top + 51}, "浏览",
             "resizebutton");
    C.Button(D.get(), {Out.Right - 84, Out.Top + 26, Out.Right - 6, Out.Top + 51}, "打开",
             "resizebutton", 4);
    // The two group boxes with the six lists and the slider.
    const int GTop = Y + 360, GBottom = Cl.Bottom - 4;
    const TRect Video = C.GroupBox(D.get(), {X + 4, GTop, X + W / 2 - 2, GBottom}, "视频参数");
    const TRect Audio = C.GroupBox(D.get(), {X + W / 2 + 2, GTop, X + W - 4, GBottom}, "音频参数");
    const char* VL[] = {"分辨率", "帧率", "比特率"};
    const char* VV[] = {"1280 x 720", "25", "2000 kbps"};
    const char* AL[] = {"采样率", "声道", "比特率"};
    const char* AV[] = {"44100 Hz", "立体声", "128 kbps"};
    for (int i = 0; i < 3; ++i) {
        C.Label(D.get(),
                {Video.Left + 8, Video.Top + 6 + i * 28, Video.Left + 70, Video.Top + 27 + i * 28},
                VL[i], LabelColour);
        C.Combo(D.get(), {Video.Left + 70, Video.Top + 6 + i * 28, Video.Right - 10, 0}, VV[i]);
        C.Label(D.get(),
                {Audio.Left + 8, Audio.Top + 6 + i * 28, Audio.Left + 70, Audio.Top + 27 + i * 28},
                AL[i], LabelColour);
        C.Combo(D.get(), {Audio.Left + 70, Audio.Top + 6 + i * 28, Audio.Right - 10, 0}, AV[i]);
    }
    C.Slider(D.get(), {Video.Left + 8, Video.Bottom - 34, Video.Left + 208, Video.Bottom - 3});
    C.Check(D.get(), Audio.Left + 8, Audio.Bottom - 28, "音量标准化", "checkbox", 1);
    return D;
}

std::unique_ptr<TBitmap> DrawPreview(TbsSkinData& Skin, bool Text) {
    auto D = NewPicture(PreviewWidth, PreviewHeight, SurfaceColour(Skin));
    TComposer C(Skin, Text);
    const TRect Cl =
        C.Frame(D.get(), 0, 0, PreviewWidth, PreviewHeight, "预览", {cmClose, cmMinimize});
    C.MenuBar(D.get(), {Cl.Left, Cl.Top, Cl.Right, Cl.Top + 22}, {"文件", "帮助"});
    C.Check(D.get(), Cl.Left + 8, Cl.Top + 30, "复选框", "checkbox", 1);
    C.Check(D.get(), Cl.Left + 8, Cl.Top + 52, "单选框", "radiobox", 0);
    C.Button(D.get(), {Cl.Right - 83, Cl.Bottom - 31, Cl.Right - 8, Cl.Bottom - 6}, "确定");
    return D;
}

std::unique_ptr<TBitmap> DrawStates(TbsSkinData& Skin, bool Text) {
    constexpr int W = 820, H = 330;
    auto D = NewPicture(W, H, SurfaceColour(Skin));
    TComposer C(Skin, Text);
    const char* Names[] = {"正常", "悬停", "按下", "禁用", "焦点"};
    for (int i = 0; i < 5; ++i)
        C.Button(D.get(), {10 + i * 82, 10, 85 + i * 82, 35}, Names[i], "button", i);
    const char* Checks[] = {"未选", "选中", "悬停", "悬停选中", "禁用", "禁用选中", "不确定"};
    for (int i = 0; i < 7; ++i) {
        C.Check(D.get(), 10 + (i % 4) * 105, 45 + (i / 4) * 24, Checks[i], "checkbox", i);
        C.Check(D.get(), 10 + (i % 4) * 105, 95 + (i / 4) * 24, Checks[i], "radiobox", i);
    }
    C.ScrollBar(D.get(), {10, 150, 410, 169}, false);
    C.ScrollBar(D.get(), {420, 10, 439, 170}, true);
    C.PopupMenu(D.get(), 450, 10, 160);
    C.Hint(D.get(), 450, 150, 150, 26, "添加文件到列表");
    // The message box in miniature.
    const TSize MB = FrameSizeFor(Skin, 300, 90);
    const TRect M = C.Frame(D.get(), 10, 180, MB.cx, MB.cy, "提示", {cmClose});
    auto* Lbl = Control<TbsDataSkinStdLabelControl>(Skin, "stdlabel");
    C.Label(D.get(), {M.Left + 12, M.Top + 10, M.Right - 12, M.Top + 40}, "转换已完成。",
            Lbl ? Lbl->FontColor : TColor(0));
    C.Button(D.get(), {M.Right - 160, M.Bottom - 35, M.Right - 85, M.Bottom - 10}, "确定", "button",
             4);
    C.Button(D.get(), {M.Right - 80, M.Bottom - 35, M.Right - 5, M.Bottom - 10}, "取消");
    // The options dialog in miniature.
    const TSize OB = FrameSizeFor(Skin, 380, 110);
    const TRect O = C.Frame(D.get(), MB.cx + 30, 180, OB.cx, OB.cy, "选项", {cmClose});
    const TRect G =
        C.GroupBox(D.get(), {O.Left + 6, O.Top + 6, O.Right - 6, O.Bottom - 36}, "常规");
    C.Check(D.get(), G.Left + 6, G.Top + 6, "完成后关机", "checkbox", 0);
    C.Combo(D.get(), {G.Left + 180, G.Top + 4, G.Right - 6, 0}, "线程数 2");
    C.Button(D.get(), {O.Right - 160, O.Bottom - 31, O.Right - 85, O.Bottom - 6}, "确定");
    C.Button(D.get(), {O.Right - 80, O.Bottom - 31, O.Right - 5, O.Bottom - 6}, "取消");
    return D;
}

HRGN MakeFrameRegion(TbsSkinData& S, int Width, int Height) {
    if (S.FMask->Empty())
        return 0;
    const int DX = Width - S.FPicture->Width(), DY = Height - S.FPicture->Height();
    const TRect Area{S.MaskRectArea.Left, S.MaskRectArea.Top, S.MaskRectArea.Right + DX,
                     S.MaskRectArea.Bottom + DY};
    TBitmap Top, Left, Right, Bottom;
    MakeFrameMaskBitmaps(S.LTPoint, S.RTPoint, S.LBPoint, S.RBPoint, S.MaskRectArea, S.LTPoint,
                         {S.RTPoint.X + DX, S.RTPoint.Y}, {S.LBPoint.X, S.LBPoint.Y + DY},
                         {S.RBPoint.X + DX, S.RBPoint.Y + DY}, Area, S.FMask.get(), &Top, &Left,
                         &Right, &Bottom, Width, Height);
    HRGN Rgn = CreateRectRgn(Area.Left, Area.Top, Area.Right, Area.Bottom);
    auto Join = [&](TBitmap& Strip, int X, int Y, bool Sized) {
        if (!Sized)
            return;
        std::vector<BYTE> Data;
        const DWORD Size = MaskToRegionData(&Strip, X, Y, Data);
        if (Size == 0)
            return;
        HRGN Part = ExtCreateRegion(nullptr, Size, reinterpret_cast<const RGNDATA*>(Data.data()));
        CombineRgn(Rgn, Rgn, Part, RGN_OR);
        DeleteObject(ToObj(Part));
    };
    Join(Top, 0, 0, Top.Height() > 0);
    Join(Bottom, 0, Area.Bottom, Bottom.Height() > 0);
    Join(Left, 0, Area.Top, Left.Width() > 0);
    Join(Right, Area.Right, Area.Top, Right.Width() > 0);
    return Rgn;
}
