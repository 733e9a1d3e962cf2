#include "skin/controls/bsSkinLists.h"

#include "skin/controls/bsSkinCtrls.ScrollBar.h"
#include "skin/model/bsMessages.h"
#include "skin/model/bsUtils.Glyphs.h"
#include "skin/model/bsUtils.NinePart.h"
#include "skin/model/bsUtils.Rects.h"
#include "skin/model/bsUtils.Text.h"

#include <algorithm>
#include <vector>

int GetTabStopValue(const std::string& S) {
    if (S.empty() || S.size() > 9)
        return 0;
    for (char C : S)
        if (C < '0' || C > '9')
            return 0;
    return std::stoi(S);
}

namespace {

TFontCharset ListCharset(TbsSkinCustomListBox* Owner) {
    TbsSkinData* SD = Owner->SkinData();
    if (SD && SD->ResourceStrData())
        return SD->ResourceStrData()->CharSet();
    return Owner->DefaultFont()->Charset();
}

} // namespace

TbsListBox::TbsListBox(TComponent* AOwner) : TListBox(AOwner) {
    SetBorderStyle(bsNone);
    FControlStyle = TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks};
}

void TbsListBox::CreateParams(TCreateParams& Params) {
    TListBox::CreateParams(Params);
    Params.Style &= ~DWORD(WS_BORDER);
    Params.ExStyle &= ~DWORD(WS_EX_CLIENTEDGE);
    Params.WindowClass.style = CS_DBLCLKS;
    Params.Style |= WS_TABSTOP;
}

void TbsListBox::CreateWnd() {
    TListBox::CreateWnd();
    if (SkinListBox)
        SkinListBox->ListBoxCreateWnd();
}

void TbsListBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    const int OldWidth = FWidth;
    TListBox::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (OldWidth != FWidth && FHorizontalExtentValue >= 1) {
        FHorizontalExtentValue = std::max(0, FHorizontalExtentValue + OldWidth - FWidth);
        Repaint();
    }
}

void TbsListBox::WndProc(TMessage& Message) {
    if (SkinListBox) {
        bool CallDefault = true;
        SkinListBox->ListBoxWndProc(Message, CallDefault);
        if (!CallDefault)
            return;
    }
    TListBox::WndProc(Message);
    if (!SkinListBox)
        return;
    switch (Message.Msg) {
    case WM_ERASEBKGND:
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_DELETESTRING:
        SkinListBox->UpDateScrollBar();
        break;
    case WM_LBUTTONDBLCLK:
        SkinListBox->ListBoxDblClick();
        break;
    case WM_MOUSEWHEEL: {
        const bool Away = std::int32_t(Message.WParam) > 0;
        if (SkinListBox->ScrollBar) {
            SendMessage(Handle(), WM_VSCROLL, Away ? SB_LINEUP : SB_LINEDOWN, 0);
            SkinListBox->UpDateScrollBar();
        } else if (TbsSkinScrollBar* H = SkinListBox->HScrollBar) {
            H->SetPosition(H->Position() + (Away ? -H->SmallChange() : H->SmallChange()));
        }
        break;
    }
    case WM_PAINTBGTODC:
        if (Count() == 0 && Message.LParam == PAINTTODC_TOKEN) {
            if (Message.WParam != 0)
                PaintBackgroundToDC(reinterpret_cast<HDC>(Message.WParam));
            Message.Result = PAINTTODC_TOKEN;
        }
        break;
    default:
        break;
    }
}

void TbsListBox::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_PAINT:
        // Every paint goes through PaintWindow: the native list never draws.
        PaintHandler(Message);
        return;
    case WM_ERASEBKGND:
        if (FWidth > 0 && FHeight > 0)
            PaintBackgroundToDC(reinterpret_cast<HDC>(Message.WParam));
        Message.Result = 1;
        return;
    case WM_NCCALCSIZE:
        // The whole window is client: native bars take no room.
        Message.Result = 0;
        return;
    case WM_NCPAINTTODC:
        Message.Result = NCPAINTTODC_ANSWER;
        return;
    case CM_ENTER:
        if (SkinListBox)
            SkinListBox->ListBoxEnter();
        break;
    case CM_EXIT:
        if (SkinListBox)
            SkinListBox->ListBoxExit();
        break;
    default:
        break;
    }
    TListBox::Dispatch(Message);
}

void TbsListBox::Click() {
    if (SkinListBox)
        SkinListBox->ListBoxClick();
    TListBox::Click();
}

void TbsListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (SkinListBox)
        SkinListBox->ListBoxMouseDown(Button, Shift, X, Y);
    TListBox::MouseDown(Button, Shift, X, Y);
}

void TbsListBox::MouseMove(TShiftState Shift, int X, int Y) {
    if (SkinListBox)
        SkinListBox->ListBoxMouseMove(Shift, X, Y);
    TListBox::MouseMove(Shift, X, Y);
}

void TbsListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (SkinListBox)
        SkinListBox->ListBoxMouseUp(Button, Shift, X, Y);
    TListBox::MouseUp(Button, Shift, X, Y);
}

void TbsListBox::KeyDown(WORD& Key, TShiftState Shift) {
    if (SkinListBox) {
        SkinListBox->ListBoxKeyDown(Key, Shift);
        if (TbsSkinScrollBar* H = SkinListBox->HScrollBar) {
            if (Key == VK_LEFT) {
                H->SetPosition(H->Position() - H->SmallChange());
                Key = 0;
            } else if (Key == VK_RIGHT) {
                H->SetPosition(H->Position() + H->SmallChange());
                Key = 0;
            }
        }
    }
    TListBox::KeyDown(Key, Shift);
}

void TbsListBox::KeyUp(WORD& Key, TShiftState Shift) {
    if (SkinListBox)
        SkinListBox->ListBoxKeyUp(Key, Shift);
    TListBox::KeyUp(Key, Shift);
}

void TbsListBox::KeyPress(unsigned& Key) {
    if (SkinListBox)
        SkinListBox->ListBoxKeyPress(Key);
    TListBox::KeyPress(Key);
}

TOwnerDrawState TbsListBox::GetItemState(int Index) {
    TOwnerDrawState State;
    if (Index == ItemIndex()) {
        State.Include(odSelected);
        if (Focused())
            State.Include(odFocused);
    } else if (SelCount() > 0 && Selected(Index)) {
        State.Include(odSelected);
    }
    return State;
}

// ---------------------------------------------------------------- painting

void TbsListBox::PaintWindow(HDC DC) {
    if (FWidth <= 0 || FHeight <= 0)
        return;
    const int Saved = SaveDC(DC);
    if (Columns() <= 0)
        PaintList(DC);
    else
        PaintColumnsList(DC);
    RestoreDC(DC, Saved);
}

void TbsListBox::PaintList(HDC DC) {
    TCanvas C;
    C.SetHandle(DC);
    const int IH = std::max(1, ItemHeight());
    const int Last = std::min(TopIndex() + FHeight / IH, Count() - 1);
    int Bottom = 0;
    for (int I = TopIndex(); I <= Last && Count() > 0; ++I) {
        const TRect R = ItemRect(I);
        DrawItemWith(&C, I, GetItemState(I), R);
        Bottom = R.Bottom;
    }
    if (Bottom < FHeight && SkinListBox) {
        SkinListBox->GetSkinData();
        if (SkinListBox->FIndex == -1) {
            C.Brush()->SetColor(clWindow);
            C.FillRect({0, Bottom, FWidth, FHeight});
        } else {
            DrawSkinBackground(&C, 0, Bottom, FWidth, FHeight - Bottom);
        }
    }
    C.SetHandle(nullptr);
}

void TbsListBox::PaintColumnsList(HDC DC) {
    TCanvas C;
    C.SetHandle(DC);
    const int IH = std::max(1, ItemHeight());
    const int Last = std::min(TopIndex() + (FHeight / IH) * Columns(), Count() - 1);
    for (int I = TopIndex(); I <= Last && Count() > 0; ++I)
        DrawItemWith(&C, I, GetItemState(I), ItemRect(I));
    C.SetHandle(nullptr);
}

void TbsListBox::CNDrawItem(TMessage& Message) {
    auto* DIS = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
    TCanvas* C = Canvas();
    C->SetHandle(DIS->hDC);
    C->Font()->Assign(Font());
    DrawItemWith(C, int(DIS->itemID), OwnerDrawStateOf(DIS->itemState), DIS->rcItem);
    C->SetHandle(nullptr);
    Message.Result = 1;
}

void TbsListBox::DrawItemWith(TCanvas* Cnvs, int Index, TOwnerDrawState State, TRect Rct) {
    if (!SkinListBox || SkinListBox->FIndex == -1)
        DefaultDrawItem(Cnvs, Index, State, Rct);
    else if (SkinListBox->UseSkinItemHeight())
        SkinDrawItem(Cnvs, Index, State, Rct);
    else
        SkinDrawStretchItem(Cnvs, Index, State, Rct);
}

void TbsListBox::PaintBackgroundToDC(HDC DC) {
    TCanvas C;
    C.SetHandle(DC);
    if (SkinListBox)
        SkinListBox->GetSkinData();
    if (!SkinListBox || SkinListBox->FIndex == -1) {
        C.Brush()->SetColor(clWindow);
        C.FillRect({0, 0, FWidth, FHeight});
    } else {
        DrawSkinBackground(&C, 0, 0, FWidth, FHeight);
    }
    C.SetHandle(nullptr);
}

void TbsListBox::DrawSkinBackground(TCanvas* Cnvs, int X, int Y, int W, int H) {
    TbsSkinCustomListBox* O = SkinListBox;
    const int CW = RectWidth(O->ClRect), CH = RectHeight(O->ClRect);
    if (CW <= 0 || CH <= 0 || W <= 0 || H <= 0 || !O->Picture)
        return;
    const TRect Src{O->SkinRect.Left + O->ClRect.Left, O->SkinRect.Top + O->ClRect.Top,
                    O->SkinRect.Left + O->ClRect.Right, O->SkinRect.Top + O->ClRect.Bottom};
    TBitmap B;
    B.SetSize(W, H);
    for (int I = 0; I <= W / CW; ++I)
        for (int J = 0; J <= H / CH; ++J) {
            const int DX = I * CW, DY = J * CH;
            const int TW = std::min(CW, W - DX), TH = std::min(CH, H - DY);
            if (TW > 0 && TH > 0)
                CopyPart(&B, {DX, DY, DX + TW, DY + TH}, O->Picture,
                         {Src.Left, Src.Top, Src.Left + TW, Src.Top + TH});
        }
    Cnvs->Draw(X, Y, &B);
}

void TbsListBox::SetItemFont(TCanvas* Cnvs, bool Skinned) {
    TbsSkinCustomListBox* O = SkinListBox;
    if (Skinned && O->UseSkinFont()) {
        Cnvs->Font()->SetName(O->FontName);
        Cnvs->Font()->SetStyle(O->FontStyle);
        Cnvs->Font()->SetHeight(O->FontHeight);
    } else if (Skinned) {
        Cnvs->Font()->Assign(O->DefaultFont());
    } else {
        Cnvs->Font()->SetName(O->Font()->Name());
        Cnvs->Font()->SetStyle(O->Font()->Style());
        Cnvs->Font()->SetHeight(O->Font()->Height());
    }
    Cnvs->Font()->SetCharset(ListCharset(O));
}

void TbsListBox::DefaultDrawItem(TCanvas* Cnvs, int Index, TOwnerDrawState State, TRect Rct) {
    if (Index < 0 || Index > Count() - 1 || !SkinListBox)
        return;
    const int W = RectWidth(Rct), H = RectHeight(Rct);
    if (W <= 0 || H <= 0)
        return;
    TBitmap B;
    B.SetSize(W, H);
    TCanvas* C = B.Canvas();
    SetItemFont(C, false);
    if (State.Contains(odSelected)) {
        C->Brush()->SetColor(clHighlight);
        C->Font()->SetColor(clHighlightText);
    } else {
        C->Brush()->SetColor(clWindow);
        C->Font()->SetColor(SkinListBox->Font()->Color());
    }
    C->FillRect({0, 0, W, H});
    C->Brush()->SetStyle(bsClear);
    DrawContent(C, Index, {2, 0, W - 2, H}, State, W, H);
    if (State.Contains(odFocused))
        C->DrawFocusRect({0, 0, W, H});
    Cnvs->Draw(Rct.Left, Rct.Top, &B);
}

void TbsListBox::SkinDrawItem(TCanvas* Cnvs, int Index, TOwnerDrawState State, TRect Rct) {
    TbsSkinCustomListBox* O = SkinListBox;
    if (Index < 0 || Index > Count() - 1 || !O || !O->Picture)
        return;
    if (IsNullRect(O->SItemRect)) {
        DrawBareSkinItem(Cnvs, Index, State, Rct);
        return;
    }
    const int W = RectWidth(Rct), H = RectHeight(O->SItemRect);
    if (W <= 0 || H <= 0)
        return;
    TBitmap B;
    B.SetSize(W, H);
    TCanvas* C = B.Canvas();
    const bool Focus = State.Contains(odFocused), Sel = State.Contains(odSelected);
    TRect Src = O->SItemRect;
    bool Stretch = O->StretchEffect;
    TColor Colour = O->FontColor;
    if (Focus && Sel) {
        Src = O->FocusItemRect;
        Colour = O->FocusFontColor;
    } else if (Sel) {
        Src = O->ActiveItemRect;
        Colour = O->ActiveFontColor;
    } else if (!Focus) {
        Stretch = false;
    }
    MakeHorzThreePartBitmap(O->ItemLeftOffset, O->ItemRightOffset, &B, O->Picture, Src, W, H,
                            Stretch);
    if (Focus && !Sel)
        DrawFocusRectangle(C, {0, 0, W, H});
    SetItemFont(C, true);
    C->Font()->SetColor(Colour);
    C->Brush()->SetStyle(bsClear);
    if (Focus && O->ShowFocus && !O->OnDrawItem)
        DrawFocusRectangle(C, {0, 0, W, H});
    TRect TR = O->ItemTextRect;
    TR.Right += W - RectWidth(O->SItemRect);
    DrawContent(C, Index, TR, State, W, H);
    Cnvs->Draw(Rct.Left, Rct.Top, &B);
}

void TbsListBox::SkinDrawStretchItem(TCanvas* Cnvs, int Index, TOwnerDrawState State, TRect Rct) {
    TbsSkinCustomListBox* O = SkinListBox;
    if (Index < 0 || Index > Count() - 1 || !O || !O->Picture)
        return;
    if (IsNullRect(O->SItemRect)) {
        DrawBareSkinItem(Cnvs, Index, State, Rct);
        return;
    }
    const int W = RectWidth(Rct), H = RectHeight(Rct);
    if (W <= 0 || H <= 0)
        return;
    TBitmap B;
    B.SetSize(W, H);
    TCanvas* C = B.Canvas();
    TRect Src = O->SItemRect;
    TColor Colour = O->FontColor;
    if (State.Contains(odFocused)) {
        Src = O->FocusItemRect;
        Colour = O->FocusFontColor;
    } else if (State.Contains(odSelected)) {
        Src = O->ActiveItemRect;
        Colour = O->ActiveFontColor;
    }
    TRect Corner = O->ItemTextRect;
    Corner = {Corner.Left + 1, Corner.Top + 1, Corner.Right - 1, Corner.Bottom - 1};
    MakeNinePartBitmapByClRect(&B, O->Picture, Src, Corner, true);
    SetItemFont(C, true);
    C->Font()->SetColor(Colour);
    C->Brush()->SetStyle(bsClear);
    if (State.Contains(odFocused) && O->ShowFocus && !O->OnDrawItem)
        DrawFocusRectangle(C, {0, 0, W, H});
    TRect TR = O->ItemTextRect;
    TR.Right += W - RectWidth(O->SItemRect);
    TR.Bottom += H - RectHeight(O->SItemRect);
    DrawContent(C, Index, TR, State, W, H);
    Cnvs->Draw(Rct.Left, Rct.Top, &B);
}

// An element without item pictures: the rows stand on the client tile, the
// chosen one in the system's selection colours, so the items stay readable.
void TbsListBox::DrawBareSkinItem(TCanvas* Cnvs, int Index, TOwnerDrawState State, TRect Rct) {
    TbsSkinCustomListBox* O = SkinListBox;
    const int W = RectWidth(Rct), H = RectHeight(Rct);
    if (W <= 0 || H <= 0)
        return;
    TBitmap B;
    B.SetSize(W, H);
    TCanvas* C = B.Canvas();
    SetItemFont(C, true);
    if (State.Contains(odSelected)) {
        C->Brush()->SetColor(clHighlight);
        C->FillRect({0, 0, W, H});
        C->Font()->SetColor(clHighlightText);
    } else {
        DrawSkinBackground(C, 0, 0, W, H);
        C->Font()->SetColor(O->FontColor);
    }
    C->Brush()->SetStyle(bsClear);
    DrawContent(C, Index, {2, 0, W - 2, H}, State, W, H);
    if (State.Contains(odFocused) && O->ShowFocus && !O->OnDrawItem)
        DrawFocusRectangle(C, {0, 0, W, H});
    Cnvs->Draw(Rct.Left, Rct.Top, &B);
}

void TbsListBox::DrawContent(TCanvas* Cnvs, int Index, TRect TextRect, TOwnerDrawState State,
                             int BmpWidth, int BmpHeight) {
    TbsSkinCustomListBox* O = SkinListBox;
    if (O->OnDrawItem) {
        O->OnDrawItem(Cnvs, Index, BmpWidth, BmpHeight, TextRect, State);
        return;
    }
    int Offset = 0;
    if (TCustomImageList* IL = O->Images()) {
        const int ImgIndex = O->ImageIndex() >= 0 ? O->ImageIndex() : Index;
        if (ImgIndex < IL->Count())
            IL->Draw(Cnvs, TextRect.Left - FHorizontalExtentValue,
                     TextRect.Top + RectHeight(TextRect) / 2 - IL->Height() / 2, ImgIndex, true);
        Offset = IL->Width() + 2;
    }
    const std::string S = Items()->Strings(Index);
    if (O->TabWidths()->Count() > 0 && Columns() == 0)
        DrawTabbedString(S, O->TabWidths(), Offset, TextRect, Cnvs);
    else
        DrawTextCenterYOffset(Cnvs, S, TextRect, Offset - FHorizontalExtentValue);
}

void TbsListBox::DrawTabbedString(const std::string& S, TStrings* TW, int Offset, TRect Rct,
                                  TCanvas* Cnvs) {
    const int N = std::min(TW->Count(), 10);
    std::vector<int> Stops(std::size_t(std::max(N, 1)), 0);
    for (int I = 0; I < N; ++I)
        Stops[std::size_t(I)] = GetTabStopValue(TW->Strings(I));
    const int X = Rct.Left + Offset + 2;
    const int Y = Rct.Top + RectHeight(Rct) / 2 - Cnvs->TextHeight(S) / 2;
    TabbedTextOut(CanvasTextDC(Cnvs), X, Y, S, N, Stops.data(), 0);
}
