// TbsSkinForm: the caption objects on the frame: building, placing,
// enabling, hints, the hot object and input routing.
#include "skin/forms/SkinForm.h"

#include "platform/win/Windows.h"
#include "skin/model/bsUtils.h"

namespace {

struct THintRow {
    TbsStdCommand Command;
    const char* Key;
    const char* Text;
};
constexpr THintRow HintRows[] = {
    {cmClose, "CLOSEBUTTON_HINT", "Close"},
    {cmMaximize, "MAXBUTTON_HINT", "Maximize"},
    {cmMinimize, "MINBUTTON_HINT", "Minimize"},
    {cmSysMenu, "MENUBUTTON_HINT", "System menu"},
    {cmRollUp, "ROLLUPBUTTON_HINT", "Roll Up"},
    {cmMinimizeToTray, "TRAYBUTTON_HINT", "Minimize to Tray"},
};

// The row's command order: close first, the system menu apart.
constexpr TbsStdCommand RowOrder[] = {cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray};

bool CommandOf(TbsActiveSkinObject* O, TbsStdCommand& C) {
    if (auto* S = dynamic_cast<TbsSkinStdButtonObject*>(O)) {
        C = S->Command;
        return true;
    }
    if (auto* A = dynamic_cast<TbsSkinAnimateObject*>(O)) {
        C = A->Command;
        return true;
    }
    return false;
}

} // namespace

TbsActiveSkinObject* TbsSkinForm::Object(int Index) const {
    if (Index < 0 || Index >= ObjectCount())
        return nullptr;
    return ObjectList[Index].get();
}

void TbsSkinForm::CreateObjects() {
    ClearObjects();
    if (!FSD)
        return;
    for (auto& E : FSD->ObjectList) {
        TbsDataSkinObject* D = E.get();
        std::unique_ptr<TbsActiveSkinObject> O;
        if (dynamic_cast<TbsDataSkinMainMenuItem*>(D) || dynamic_cast<TbsDataSkinMenuItem*>(D) ||
            dynamic_cast<TbsDataSkinMainMenuBarButton*>(D))
            continue;
        if (dynamic_cast<TbsDataSkinStdButton*>(D))
            O = std::make_unique<TbsSkinStdButtonObject>(this, D);
        else if (dynamic_cast<TbsDataSkinButton*>(D))
            O = std::make_unique<TbsSkinButtonObject>(this, D);
        else if (dynamic_cast<TbsDataSkinCaption*>(D))
            O = std::make_unique<TbsSkinCaptionObject>(this, D);
        else if (dynamic_cast<TbsDataSkinAnimate*>(D))
            O = std::make_unique<TbsSkinAnimateObject>(this, D);
        else if (dynamic_cast<TbsDataUserObject*>(D))
            O = std::make_unique<TbsUserObject>(this, D);
        if (O)
            ObjectList.push_back(std::move(O));
    }
}

void TbsSkinForm::CreateDefaultObjects() {
    ClearObjects();
    const std::pair<const char*, TbsStdCommand> Defaults[] = {
        {"closebutton", cmClose},   {"maxbutton", cmMaximize},    {"minbutton", cmMinimize},
        {"rollupbutton", cmRollUp}, {"sysmenubutton", cmSysMenu}, {"traybutton", cmMinimizeToTray}};
    for (const auto& [Name, Command] : Defaults) {
        auto B = std::make_unique<TbsSkinStdButtonObject>(this, nullptr);
        B->SkinRectInAPicture = true;
        B->IDName = Name;
        B->Command = Command;
        B->SkinRect = B->ActiveSkinRect = B->DownRect = TRect{0, 0, 1, 1};
        ObjectList.push_back(std::move(B));
    }
    CheckObjects();
}

void TbsSkinForm::ClearObjects() {
    // Indices into the list must not outlive it.
    ActiveObject = OldActiveObject = MouseCaptureObject = -1;
    if (FCapturedForObject) {
        FCapturedForObject = false;
        if (FForm && FForm->HandleAllocated() && GetCapture() == FForm->Handle())
            ReleaseCapture();
    }
    ObjectList.clear();
}

void TbsSkinForm::ArrangeObjects() {
    auto Size = [this](TbsActiveSkinObject* O, int& W, int& H) {
        auto* S = dynamic_cast<TbsSkinStdButtonObject*>(O);
        if (S && S->Command == cmSysMenu && FShowIcon && S->SkinRectInAPicture)
            GetSmallIconSize(W, H);
        else {
            W = O->SkinRect.Width();
            H = O->SkinRect.Height();
        }
    };
    for (auto& O : ObjectList)
        if (!O->SkinRectInAPicture)
            MapSkinRect(O->SkinRect, O->ObjectRect);

    TRect Row;
    if (!IsNullRect(NewButtonsRect))
        Row = NewButtonsRect;
    else if (!IsNullRect(NewCaptionRect))
        Row = NewCaptionRect;
    else
        return;
    const int Y = Row.Top;
    auto Takes = [](TbsActiveSkinObject* O) {
        TbsStdCommand C;
        return O->Visible && O->SkinRectInAPicture && CommandOf(O, C);
    };
    auto ForCommand = [&](TbsStdCommand Wanted) -> TbsActiveSkinObject* {
        for (auto& O : ObjectList) {
            TbsStdCommand C;
            if (Takes(O.get()) && CommandOf(O.get(), C) && C == Wanted)
                return O.get();
        }
        return nullptr;
    };
    TbsSkinCaptionObject* Caption = nullptr;
    for (auto& O : ObjectList)
        if ((Caption = dynamic_cast<TbsSkinCaptionObject*>(O.get())))
            break;
    const bool Shared = IsNullRect(NewButtonsRect);
    int W, H;
    // A system-menu button the rules below give no place (no caption
    // rectangle to sit in, or a left-hand row of its own) stays off the
    // frame: its rectangle would otherwise be the one in its picture, or
    // half above the window.
    if (TbsActiveSkinObject* O = ForCommand(cmSysMenu))
        O->ObjectRect = TRect{};

    if (!NewButtonsInLeft) {
        int X = Row.Right;
        auto Place = [&](TbsActiveSkinObject* O) {
            Size(O, W, H);
            O->ObjectRect = TRect{X - W, Y, X, Y + H};
            X -= NewButtonsOffset + W;
        };
        for (TbsStdCommand C : RowOrder)
            if (TbsActiveSkinObject* O = ForCommand(C))
                Place(O);
        for (auto& O : ObjectList) {
            TbsStdCommand C;
            if (Takes(O.get()) && CommandOf(O.get(), C) && C == cmDefault)
                Place(O.get());
        }
        if (Shared && Caption)
            Caption->ObjectRect.Right = X + NewButtonsOffset;
        X = NewCaptionRect.Left;
        TbsActiveSkinObject* O = IsNullRect(NewCaptionRect) ? nullptr : ForCommand(cmSysMenu);
        if (O) {
            Size(O, W, H);
            const int T = NewCaptionRect.Top + NewCaptionRect.Height() / 2 - H / 2;
            O->ObjectRect = TRect{X, T, X + W, T + H};
            X += NewButtonsOffset + W;
            if (Caption)
                Caption->ObjectRect.Left = X - NewButtonsOffset;
        }
    } else {
        int X = Row.Left;
        auto Place = [&](TbsActiveSkinObject* O) {
            Size(O, W, H);
            O->ObjectRect = TRect{X, Y, X + W, Y + H};
            X += NewButtonsOffset + W;
        };
        for (TbsStdCommand C : RowOrder)
            if (TbsActiveSkinObject* O = ForCommand(C))
                Place(O);
        for (auto& O : ObjectList) {
            TbsStdCommand C;
            if (Takes(O.get()) && CommandOf(O.get(), C) && C == cmDefault)
                Place(O.get());
        }
        if (Shared) {
            if (TbsActiveSkinObject* O = ForCommand(cmSysMenu))
                Place(O);
            if (Caption)
                Caption->ObjectRect.Left = X + NewButtonsOffset;
        }
    }
}

void TbsSkinForm::CheckObjects() {
    for (auto& O : ObjectList) {
        auto* Std = dynamic_cast<TbsSkinStdButtonObject*>(O.get());
        auto* Anim = dynamic_cast<TbsSkinAnimateObject*>(O.get());
        if (!Std && !Anim)
            continue;
        if (FHideCaptionButtons) {
            O->Enabled = false;
            O->Visible = !O->SkinRectInAPicture;
            continue;
        }
        if (Anim && !Anim->ButtonStyle)
            continue;
        const TbsStdCommand C = Std ? Std->Command : Anim->Command;
        auto Apply = [&](bool On) {
            O->Enabled = On;
            O->Visible = O->SkinRectInAPicture ? On : true;
        };
        switch (C) {
        case cmClose:
            break;
        case cmMaximize:
            Apply(FBorderIcons.Contains(TbsBorderIcon::biMaximize));
            break;
        case cmMinimize:
            Apply(FBorderIcons.Contains(TbsBorderIcon::biMinimize));
            break;
        case cmRollUp:
            Apply(FBorderIcons.Contains(TbsBorderIcon::biRollUp));
            break;
        case cmMinimizeToTray:
            Apply(FBorderIcons.Contains(TbsBorderIcon::biMinimizeToTray));
            break;
        case cmSysMenu:
            Apply(FBorderIcons.Contains(TbsBorderIcon::biSystemMenu) && !FDisableSystemMenu);
            break;
        case cmDefault: {
            bool V = false;
            if (OnActivateCustomObject)
                OnActivateCustomObject(O->IDName, V);
            O->Visible = V;
            break;
        }
        }
    }
    UpdateObjectHints();
}

void TbsSkinForm::UpdateObjectHints() {
    if (!FUseDefaultObjectHint || !FSD)
        return;
    TbsResourceStrData* Words = FSD->ResourceStrData();
    auto Word = [Words](const char* Key, const char* Text) {
        return Words ? Words->GetResStr(Key) : std::string(Text);
    };
    for (auto& O : ObjectList) {
        auto* Std = dynamic_cast<TbsSkinStdButtonObject*>(O.get());
        auto* Anim = dynamic_cast<TbsSkinAnimateObject*>(O.get());
        if (!Std && !Anim)
            continue;
        const TbsStdCommand C = Std ? Std->Command : Anim->Command;
        for (const THintRow& Row : HintRows)
            if (Row.Command == C)
                O->Hint = Word(Row.Key, Row.Text);
        const std::string Restore = Word("RESTORE_HINT", "Restore");
        if (Std) {
            Std->FTempHint = O->Hint;
            Std->RestoreHint = Restore;
        } else {
            Anim->FTempHint = O->Hint;
            Anim->RestoreHint = Restore;
        }
    }
}

void TbsSkinForm::SetCaptionActive(bool Animate) {
    const bool A = GetFormActive();
    for (auto& O : ObjectList) {
        auto* C = dynamic_cast<TbsSkinCaptionObject*>(O.get());
        if (!C || C->Active == A)
            continue;
        C->Active = A;
        if (Animate) {
            if (C->EnableAnimation()) {
                C->FIncTime = 25;
                C->CurrentFrame = A ? 1 : (C->InActiveAnimation ? C->FrameCount : 0);
                AnimateTimer->SetEnabled(true);
            }
            RepaintFrame();
            if (C->EnableMorphing())
                MorphTimer->SetEnabled(true);
        } else if (C->EnableMorphing())
            C->SetMorphKf(A ? 1.0 : 0.0);
        break;
    }
    if (A) {
        if (OnActivate)
            OnActivate(this);
    } else if (OnDeActivate)
        OnDeActivate(this);
}

void TbsSkinForm::TestActive(int X, int Y, bool InFrame) {
    if (ObjectList.empty() || !GetFormActive() || FSizeMove || FBorderLayerChangeSize ||
        PreviewMode || (IsMDIChild() && FWindowState == wsMaximized) ||
        FForm->BorderStyle() == bsNone)
        return;
    OldActiveObject = ActiveObject;
    int I = 0;
    bool Hit = false;
    for (; I < ObjectCount(); ++I) {
        TbsActiveSkinObject* O = ObjectList[I].get();
        if (!O->Enabled || !O->Visible)
            continue;
        Hit = PtInRect(&O->ObjectRect, TPoint{X, Y});
        if (Hit)
            Hit = O->PointInMask(X - O->ObjectRect.Left, Y - O->ObjectRect.Top);
        if (Hit)
            break;
    }
    ActiveObject = (InFrame && Hit) ? I : -1;
    if (MouseCaptureObject != -1 && ActiveObject != -1 && MouseCaptureObject != ActiveObject)
        ActiveObject = -1;
    if (OldActiveObject >= ObjectCount())
        OldActiveObject = -1;
    if (ActiveObject >= ObjectCount())
        ActiveObject = -1;
    if (OldActiveObject == ActiveObject)
        return;
    if (TbsActiveSkinObject* Old = Object(OldActiveObject); Old && Old->Enabled && Old->Visible) {
        Old->MouseLeave();
        if (FShowObjectHint && FSkinHint && !Old->Hint.empty())
            HideObjectHint();
    }
    if (TbsActiveSkinObject* New = Object(ActiveObject); New && New->Enabled && New->Visible) {
        New->MouseEnter();
        if (FShowObjectHint && FSkinHint && !New->Hint.empty())
            ShowObjectHintText(New->Hint);
    }
}

void TbsSkinForm::TestMouse(TObject*) {
    if (!GetFormActive())
        return;
    TPoint P;
    GetCursorPos(&P);
    if (WindowFromPoint(P) != FForm->Handle()) {
        MouseTimer->SetEnabled(false);
        TestActive(-1, -1, false);
        return;
    }
    if (FSizeMove || FBorderLayerChangeSize) {
        MouseTimer->SetEnabled(false);
        return;
    }
    PointToFrame(P);
    if (!PtInRect(&NewClRect, P))
        TestActive(P.X, P.Y, true);
    else if (ActiveObject != -1)
        TestActive(-1, -1, true);
}

void TbsSkinForm::ObjectsMouseMove(int X, int Y) {
    const int I = MouseCaptureObject != -1 ? MouseCaptureObject : ActiveObject;
    if (TbsActiveSkinObject* O = Object(I))
        O->MouseMove(X, Y);
}

void TbsSkinForm::ObjectsDblClick() {
    if (TbsActiveSkinObject* O = Object(ActiveObject))
        O->DblClick();
}

void TbsSkinForm::ObjectsMouseDown(TMouseButton Button, int X, int Y) {
    TbsActiveSkinObject* O = Object(ActiveObject);
    if (!O)
        return;
    if (!dynamic_cast<TbsSkinCaptionObject*>(O)) {
        SetCapture(FForm->Handle());
        FCapturedForObject = true;
    }
    MouseCaptureObject = ActiveObject;
    O->MouseDown(X, Y, Button);
}

void TbsSkinForm::ObjectsMouseUp(TMouseButton Button, int X, int Y) {
    TbsActiveSkinObject* O = Object(MouseCaptureObject);
    if (!O)
        return;
    if (!dynamic_cast<TbsSkinCaptionObject*>(O)) {
        FCapturedForObject = false;
        ReleaseCapture();
    }
    // The object may close the form; nothing of it is touched after.
    MouseCaptureObject = -1;
    O->MouseUp(X, Y, Button);
}

void TbsSkinForm::DoPaintEvent(const std::string& IDName, TCanvas* Canvas, TRect ObjectRect) {
    if (OnPaintEvent)
        OnPaintEvent(IDName, Canvas, ObjectRect);
}

void TbsSkinForm::DoMouseUpEvent(const std::string& IDName, int X, int Y, TRect ObjectRect,
                                 TMouseButton Button) {
    if (OnMouseUpEvent)
        OnMouseUpEvent(IDName, X, Y, ObjectRect, Button);
}

void TbsSkinForm::DoMouseDownEvent(const std::string& IDName, int X, int Y, TRect ObjectRect,
                                   TMouseButton Button) {
    if (OnMouseDownEvent)
        OnMouseDownEvent(IDName, X, Y, ObjectRect, Button);
}

void TbsSkinForm::DoMouseMoveEvent(const std::string& IDName, int X, int Y, TRect ObjectRect) {
    if (OnMouseMoveEvent)
        OnMouseMoveEvent(IDName, X, Y, ObjectRect);
}

void TbsSkinForm::DoMouseEnterEvent(const std::string& IDName) {
    if (OnMouseEnterEvent)
        OnMouseEnterEvent(IDName);
}

void TbsSkinForm::DoMouseLeaveEvent(const std::string& IDName) {
    if (OnMouseLeaveEvent)
        OnMouseLeaveEvent(IDName);
}
