// Alignment and anchoring of children.
#include "platform/forms/Controls.h"

#include <algorithm>

void TWinControl::DisableAlign() {
    ++FAlignLevel;
}

void TWinControl::EnableAlign() {
    --FAlignLevel;
    if (FAlignLevel == 0 && FControlState.Contains(csAlignmentNeeded))
        Realign();
}

void TWinControl::Realign() {
    AlignControl(nullptr);
}

void TWinControl::AlignControl(TControl* AControl) {
    if (ComponentState().Contains(csDestroying) || ComponentState().Contains(csLoading))
        return;
    if (FAlignLevel != 0) {
        FControlState.Include(csAlignmentNeeded);
        return;
    }
    DisableAlign();
    TRect R = ClientRect();
    AlignControls(AControl, R);
    FControlState.Exclude(csAlignmentNeeded);
    EnableAlign();
}

void TWinControl::AdjustClientRect(TRect&) {}

void TWinControl::Loaded() {
    TControl::Loaded();
    Realign();
}

namespace {

// Whether C1 goes before C2 among controls of alignment A: the one nearer
// the edge it aligns to first; ties keep the order found so far.
bool InsertBefore(TControl* C1, TControl* C2, TAlign A) {
    switch (A) {
    case alTop:
        return C1->Top() < C2->Top();
    case alBottom:
        return C1->Top() + C1->Height() >= C2->Top() + C2->Height();
    case alLeft:
        return C1->Left() < C2->Left();
    case alRight:
        return C1->Left() + C1->Width() >= C2->Left() + C2->Width();
    default:
        return false;
    }
}

} // namespace

void TWinControl::AlignControls(TControl* AControl, TRect& Rect) {
    if (FControls.empty())
        return;
    AdjustClientRect(Rect);
    auto DoPosition = [&](TControl* Control, TAlign A) {
        int NewLeft = Rect.Left, NewTop = Rect.Top;
        int NewWidth = Rect.Width(), NewHeight = Rect.Height();
        switch (A) {
        case alTop:
            NewHeight = Control->Height();
            break;
        case alBottom:
            NewHeight = Control->Height();
            NewTop = Rect.Bottom - NewHeight;
            break;
        case alLeft:
            NewWidth = Control->Width();
            break;
        case alRight:
            NewWidth = Control->Width();
            NewLeft = Rect.Right - NewWidth;
            break;
        case alCustom:
            return;
        default:
            break;
        }
        Control->FAnchorMove = true;
        Control->SetBounds(NewLeft, NewTop, NewWidth, NewHeight);
        Control->FAnchorMove = false;
        // The constraints may have kept another size: the rest of the area
        // follows the size the control took.
        switch (A) {
        case alTop:
            Rect.Top += Control->Height();
            break;
        case alBottom:
            Rect.Bottom -= Control->Height();
            Control->FAnchorMove = true;
            Control->SetBounds(Control->Left(), Rect.Bottom, Control->Width(), Control->Height());
            Control->FAnchorMove = false;
            break;
        case alLeft:
            Rect.Left += Control->Width();
            break;
        case alRight:
            Rect.Right -= Control->Width();
            Control->FAnchorMove = true;
            Control->SetBounds(Rect.Right, Control->Top(), Control->Width(), Control->Height());
            Control->FAnchorMove = false;
            break;
        default:
            break;
        }
    };
    auto Aligned = [&](TControl* C, TAlign A) {
        return C->Align() == A && C->Visible() &&
               !(dynamic_cast<TWinControl*>(C) && static_cast<TWinControl*>(C)->IsTopLevelPopup());
    };
    for (TAlign A : {alTop, alBottom, alLeft, alRight, alClient, alCustom}) {
        std::vector<TControl*> List;
        // The control being changed keeps its place against equal ones.
        if (AControl && Aligned(AControl, A) &&
            std::find(FControls.begin(), FControls.end(), AControl) != FControls.end())
            List.push_back(AControl);
        for (TControl* C : FControls) {
            if (C == AControl || !Aligned(C, A))
                continue;
            std::size_t J = 0;
            while (J < List.size() && !InsertBefore(C, List[J], A))
                ++J;
            List.insert(List.begin() + J, C);
        }
        for (TControl* C : List)
            DoPosition(C, A);
    }
    AdjustAnchoredChildren();
    AlignControlsDone();
    if (FAutoSize)
        AdjustSize();
}

bool TWinControl::CanAutoSize(int& NewWidth, int& NewHeight) {
    int Right = 0, Bottom = 0;
    bool Any = false;
    for (TControl* C : FControls) {
        auto* Win = dynamic_cast<TWinControl*>(C);
        if (!C->Visible() || (Win && Win->IsTopLevelPopup()) || C->Align() == alClient)
            continue;
        Any = true;
        Right = std::max(Right, C->Left() + C->Width());
        Bottom = std::max(Bottom, C->Top() + C->Height());
    }
    if (!Any)
        return false;
    TRect Client = ClientRect();
    NewWidth = Right + (FWidth - Client.Width());
    NewHeight = Bottom + (FHeight - Client.Height());
    return true;
}

void TWinControl::AdjustAnchoredChildren() {
    TRect Client = ClientRect();
    for (TControl* C : FControls)
        if (C->Align() == alNone && C->Anchors() != TAnchors{akLeft, akTop})
            C->ApplyAnchorRules(Client.Width(), Client.Height());
}

// ---------------------------------------------------------------- anchors

void TControl::UpdateAnchorRules() {
    FAnchorBase = BoundsRect();
    if (FParent) {
        TRect Client = FParent->ClientRect();
        FAnchorParentSize = {Client.Width(), Client.Height()};
    } else {
        FAnchorParentSize = {};
    }
}

void TControl::ApplyAnchorRules(int ParentWidth, int ParentHeight) {
    // Not yet measured against a sized parent: this size becomes the base.
    if (FAnchorParentSize.cx <= 0 || FAnchorParentSize.cy <= 0) {
        UpdateAnchorRules();
        return;
    }
    auto Axis = [](bool Near, bool Far, int Pos, int Size, int OldParent, int NewParent,
                   int& NewPos, int& NewSize) {
        int Delta = NewParent - OldParent;
        NewPos = Pos;
        NewSize = Size;
        if (Near && Far)
            NewSize = Size + Delta;
        else if (Far)
            NewPos = Pos + Delta;
        else if (!Near) {
            // Neither edge: the centre keeps its proportional place.
            int Centre = Pos + Size / 2;
            NewPos = (OldParent > 0 ? Centre * NewParent / OldParent : Centre) - Size / 2;
        }
    };
    int L, W, T, H;
    Axis(FAnchors.Contains(akLeft), FAnchors.Contains(akRight), FAnchorBase.Left,
         FAnchorBase.Width(), FAnchorParentSize.cx, ParentWidth, L, W);
    Axis(FAnchors.Contains(akTop), FAnchors.Contains(akBottom), FAnchorBase.Top,
         FAnchorBase.Height(), FAnchorParentSize.cy, ParentHeight, T, H);
    FAnchorMove = true;
    SetBounds(L, T, W, H);
    FAnchorMove = false;
}
