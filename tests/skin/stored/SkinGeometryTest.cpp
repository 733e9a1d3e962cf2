// Every stored skin serves the lookups of the program's forms and the
// skin library's controls, and none of its geometry reaches an unguarded
// path of a painter: indices valid, rectangles inside their pictures,
// nine-part corners in order, no tiled part of length 0, the window region
// holding the whole client.
#include "platform/gdi/Gdi.h"
#include "skin/model/bsSkinData.Kinds.h"
#include "skin/model/bsUtils.NinePart.h"
#include "skin/stored/sheet/MockUp.h"
#include "tests/skin/stored/StoredSkinFixture.h"

#include <functional>
#include <set>
#include <typeindex>

using namespace storedtest;

namespace {

template <class T> std::function<bool(TObject*)> Is() {
    return [](TObject* O) { return dynamic_cast<T*>(O) != nullptr; };
}

// The controls the forms and the skin library look up, with the class the
// consumer checks.
const std::vector<std::pair<const char*, std::function<bool(TObject*)>>> Controls = {
    {"button", Is<TbsDataSkinButtonControl>()},
    {"resizebutton", Is<TbsDataSkinButtonControl>()},
    {"resizetoolbutton", Is<TbsDataSkinButtonControl>()},
    {"toolbutton", Is<TbsDataSkinButtonControl>()},
    {"toolmenubutton", Is<TbsDataSkinMenuButtonControl>()},
    {"panel", Is<TbsDataSkinPanelControl>()},
    {"groupbox", Is<TbsDataSkinPanelControl>()},
    {"toolpanel", Is<TbsDataSkinPanelControl>()},
    {"resizetoolpanel", Is<TbsDataSkinPanelControl>()},
    {"checkbox", Is<TbsDataSkinCheckRadioControl>()},
    {"radiobox", Is<TbsDataSkinCheckRadioControl>()},
    {"hscrollbar", Is<TbsDataSkinScrollBarControl>()},
    {"vscrollbar", Is<TbsDataSkinScrollBarControl>()},
    {"bothhscrollbar", Is<TbsDataSkinScrollBarControl>()},
    {"slider", Is<TbsDataSkinSlider>()},
    {"stdlabel", Is<TbsDataSkinStdLabelControl>()},
    {"edit", Is<TbsDataSkinEditControl>()},
    {"combobox", Is<TbsDataSkinComboBox>()},
    {"listbox", Is<TbsDataSkinListBox>()},
    {"listview", Is<TbsDataSkinListView>()},
    {"treeview", Is<TbsDataSkinTreeView>()},
    {"bevel", Is<TbsDataSkinBevel>()},
    {"mainmenubar", Is<TbsDataSkinMainMenuBar>()},
    {"editbutton", Is<TbsDataSkinButtonControl>()},
    {"combobutton", Is<TbsDataSkinButtonControl>()},
    {"officequickbutton", Is<TbsDataSkinButtonControl>()},
    {"menuitembutton", Is<TbsDataSkinButtonControl>()},
    {"bigtoolbutton", Is<TbsDataSkinButtonControl>()},
    {"htracktoolbutton", Is<TbsDataSkinButtonControl>()},
    {"vtracktoolbutton", Is<TbsDataSkinButtonControl>()},
    {"toolmenutrackbutton", Is<TbsDataSkinMenuButtonControl>()},
    {"bigtoolmenubutton", Is<TbsDataSkinMenuButtonControl>()},
    {"bigtoolmenutrackbutton", Is<TbsDataSkinMenuButtonControl>()},
    {"bigtoolpanel", Is<TbsDataSkinPanelControl>()},
    {"statusbar", Is<TbsDataSkinPanelControl>()},
    {"buttonedit", Is<TbsDataSkinEditControl>()},
    {"memo", Is<TbsDataSkinMemoControl>()},
    {"hupdown", Is<TbsDataSkinUpDownControl>()},
    {"vupdown", Is<TbsDataSkinUpDownControl>()},
    {"tab", Is<TbsDataSkinTabControl>()},
    {"scrollbox", Is<TbsDataSkinScrollBoxControl>()},
    {"hsplitter", Is<TbsDataSkinSplitterControl>()},
    {"vsplitter", Is<TbsDataSkinSplitterControl>()},
    {"label", Is<TbsDataSkinLabelControl>()},
    {"menuheader", Is<TbsDataSkinLabelControl>()},
};

const std::vector<std::pair<const char*, TbsStdCommand>> CaptionButtons = {
    {"closebutton", cmClose},   {"maxbutton", cmMaximize},    {"minbutton", cmMinimize},
    {"rollupbutton", cmRollUp}, {"sysmenubutton", cmSysMenu}, {"traybutton", cmMinimizeToTray},
};

// Rectangles placed in the element rather than in its picture.
const std::set<std::string> InElement = {
    "clientrect",   "textarea",        "checkimagearea", "captionrect", "trackarea",
    "upbuttonrect", "trackbuttonrect", "buttonsarea",    "textrect",    "imagerect",
    "itemsrect",    "framerect",       "frametextrect",  "gripperrect", "borderrect"};

class TRects : public TbsIniKeyVisitor {
public:
    std::vector<std::pair<std::string, TRect>> All;
    void Integer(const char*, int&, int) override {}
    void Color(const char*, TColor&, TColor) override {}
    void Text(const char*, std::string&, const char*) override {}
    void Rect(const char* Key, TRect& R) override { All.emplace_back(Key, R); }
    void Point(const char*, TPoint&) override {}
    void Boolean(const char*, bool&) override {}
    void FontStyles(const char*, TFontStyles&) override {}
    void Alignment(const char*, TAlignment&) override {}
    void StretchType(const char*, TbsStretchType&) override {}
    void MorphKind(const char*, TbsMorphKind&) override {}
    void Command(const char*, TbsStdCommand&) override {}
};

bool Within(const TRect& R, int W, int H) {
    return R.Left >= 0 && R.Top >= 0 && R.Right <= W && R.Bottom <= H;
}

class StoredSkinGeometry : public TStoredSkinTest {
protected:
    bool ValidPicture(int Index) const { return Skin->ActivePicture(Index) != nullptr; }
};

} // namespace

TEST_P(StoredSkinGeometry, EveryLookupFindsItsKind) {
    for (const auto& [Name, IsKind] : Controls) {
        const int I = Skin->GetControlIndex(Name);
        ASSERT_GE(I, 0) << Name;
        EXPECT_TRUE(IsKind(Skin->CtrlList[std::size_t(I)].get())) << Name;
    }
    for (const auto& [Name, Command] : CaptionButtons) {
        auto* B = Object<TbsDataSkinStdButton>(Name);
        ASSERT_NE(B, nullptr) << Name;
        EXPECT_EQ(B->Command, Command) << Name;
        EXPECT_TRUE(B->SkinRectInAPicture) << Name;
    }
    EXPECT_NE(Object<TbsDataSkinCaption>("caption"), nullptr);
    EXPECT_NE(Object<TbsDataSkinMenuItem>("menuitem"), nullptr);
    auto* Bar = Control<TbsDataSkinMainMenuBar>("mainmenubar");
    ASSERT_NE(Bar, nullptr);
    EXPECT_NE(Object<TbsDataSkinMainMenuBarItem>(Bar->MenuBarItem), nullptr);
    for (const std::string& N :
         {Bar->CloseButton, Bar->MaxButton, Bar->MinButton, Bar->SysMenuButton})
        EXPECT_NE(Object<TbsDataSkinMainMenuBarButton>(N), nullptr) << N;
    auto* Combo = Control<TbsDataSkinComboBox>("combobox");
    ASSERT_NE(Combo, nullptr);
    EXPECT_NE(Control<TbsDataSkinListBox>(Combo->ListBoxName), nullptr);
    EXPECT_TRUE(ValidPicture(Skin->PopupWindow->WindowPictureIndex));
    EXPECT_TRUE(ValidPicture(Skin->PopupWindow->MaskPictureIndex));
    EXPECT_TRUE(ValidPicture(Skin->HintWindow->WindowPictureIndex));
    EXPECT_TRUE(ValidPicture(Skin->HintWindow->MaskPictureIndex));
    if (Theme().Shadow) {
        EXPECT_TRUE(ValidPicture(Skin->LayerFrame->PictureIndex));
        EXPECT_TRUE(ValidPicture(Skin->LayerFrame->MaskPictureIndex));
        EXPECT_EQ(Skin->LayerFrame->AlphaBlendValue, 255);
        EXPECT_EQ(Skin->LayerFrame->InActiveAlphaBlendValue, 255);
    } else {
        EXPECT_EQ(Skin->LayerFrame->PictureIndex, -1);
    }
}

TEST_P(StoredSkinGeometry, EveryRectangleLiesInItsPicture) {
    auto Check = [&](const std::string& Name, TBitmap* Picture, TBitmap* SkinPicture, TRect Own,
                     bool PressedPictures, const std::function<void(TbsIniKeyVisitor&)>& Visit,
                     TRect Item) {
        TRects Rects;
        Visit(Rects);
        for (const auto& [Key, R] : Rects.All) {
            if (R.Width() <= 0 || R.Height() <= 0)
                continue;
            if (Key == "itemtextrect") {
                EXPECT_TRUE(Within(R, Item.Width(), Item.Height())) << Name << " " << Key;
            } else if (InElement.count(Key) || (Key == "downbuttonrect" && !PressedPictures)) {
                EXPECT_TRUE(Within(R, Own.Width(), Own.Height())) << Name << " " << Key;
            } else {
                TBitmap* P = Key == "skinrect" ? SkinPicture : Picture;
                ASSERT_NE(P, nullptr) << Name << " " << Key;
                EXPECT_TRUE(Within(R, P->Width(), P->Height())) << Name << " " << Key;
            }
        }
    };
    for (auto& E : Skin->CtrlList) {
        EXPECT_TRUE(E->PictureIndex == -1 || ValidPicture(E->PictureIndex)) << E->IDName;
        EXPECT_EQ(E->MaskPictureIndex, -1) << E->IDName;
        if (auto* B = dynamic_cast<TbsDataSkinButtonControl*>(E.get())) {
            EXPECT_EQ(B->GlowLayerPictureIndex, -1) << E->IDName;
        }
        TRect Item;
        if (auto* C = dynamic_cast<TbsDataSkinComboBox*>(E.get()))
            Item = C->SItemRect;
        if (auto* L = dynamic_cast<TbsDataSkinListBox*>(E.get()))
            Item = L->SItemRect;
        TBitmap* P = Skin->ActivePicture(E->PictureIndex);
        const bool Pressed = dynamic_cast<TbsDataSkinEditControl*>(E.get()) ||
                             dynamic_cast<TbsDataSkinComboBox*>(E.get());
        Check(
            E->IDName, P, P, E->SkinRect, Pressed, [&](TbsIniKeyVisitor& V) { E->VisitKeys(V); },
            Item);
    }
    for (auto& O : Skin->ObjectList) {
        EXPECT_TRUE(O->ActivePictureIndex == -1 || ValidPicture(O->ActivePictureIndex))
            << O->IDName;
        EXPECT_EQ(O->GlowLayerPictureIndex, -1) << O->IDName;
        TBitmap* P = Skin->ActivePicture(O->ActivePictureIndex);
        Check(
            O->IDName, P, O->SkinRectInAPicture ? P : Skin->FPicture.get(), O->SkinRect, false,
            [&](TbsIniKeyVisitor& V) { O->VisitKeys(V); }, O->SkinRect);
    }
    auto SameSize = [&](int Picture, int Mask) {
        TBitmap* P = Skin->ActivePicture(Picture);
        TBitmap* M = Skin->ActivePicture(Mask);
        ASSERT_TRUE(P && M);
        EXPECT_EQ(P->Width(), M->Width());
        EXPECT_EQ(P->Height(), M->Height());
    };
    SameSize(Skin->PopupWindow->WindowPictureIndex, Skin->PopupWindow->MaskPictureIndex);
    SameSize(Skin->HintWindow->WindowPictureIndex, Skin->HintWindow->MaskPictureIndex);
    if (Theme().Shadow)
        SameSize(Skin->LayerFrame->PictureIndex, Skin->LayerFrame->MaskPictureIndex);
    EXPECT_EQ(Skin->FMask->Width(), Skin->FPicture->Width());
    EXPECT_EQ(Skin->FMask->Height(), Skin->FPicture->Height());
    const int W = Skin->FPicture->Width(), H = Skin->FPicture->Height();
    for (const TRect& R : {Skin->ClRect, Skin->MaskRectArea, Skin->ButtonsRect})
        EXPECT_TRUE(Within(R, W, H));
    EXPECT_GT(Skin->ButtonsRect.Left, W / 2);
    EXPECT_EQ(Skin->BGPictureIndex, -1);
}

TEST_P(StoredSkinGeometry, NinePartsAreValidAndDrawEveryPart) {
    for (auto& E : Skin->CtrlList) {
        auto* C = dynamic_cast<TbsDataSkinCustomControl*>(E.get());
        if (!C || dynamic_cast<TbsDataSkinUpDownControl*>(C))
            continue;
        SCOPED_TRACE(C->IDName);
        const int W = C->SkinRect.Width(), H = C->SkinRect.Height();
        const TRect& Cl = C->ClRect;
        EXPECT_TRUE(0 <= C->LTPoint.X && C->LTPoint.X <= C->RTPoint.X && C->RTPoint.X <= W);
        EXPECT_TRUE(Cl.Left <= C->LTPoint.X && C->RTPoint.X <= Cl.Right);
        EXPECT_TRUE(Cl.Left <= C->LBPoint.X && C->RBPoint.X <= Cl.Right);
        EXPECT_TRUE(C->LTPoint.Y >= Cl.Top && C->LBPoint.Y <= Cl.Bottom);
        EXPECT_TRUE(C->RTPoint.Y >= Cl.Top && C->RBPoint.Y <= Cl.Bottom);
        EXPECT_TRUE(C->LTPoint.Y <= C->LBPoint.Y && C->RTPoint.Y <= C->RBPoint.Y);
        EXPECT_TRUE(C->LBPoint.X <= C->RBPoint.X);
        EXPECT_TRUE(C->RBPoint.X != 0 && C->RBPoint.Y != 0);
        // Every part has a length: corners, edges and the client.
        EXPECT_GE(C->LTPoint.X, 1);
        EXPECT_GE(C->LTPoint.Y, 1);
        EXPECT_GE(W - C->RTPoint.X, 1);
        EXPECT_GE(H - C->LBPoint.Y, 1);
        EXPECT_GE(C->RTPoint.X - C->LTPoint.X, 1);
        EXPECT_GE(C->LBPoint.Y - C->LTPoint.Y, 1);

        TBitmap* P = Skin->ActivePicture(C->PictureIndex);
        ASSERT_NE(P, nullptr);
        for (const TSize Grow : {TSize{0, 0}, TSize{37, 23}}) {
            const int NW = W + Grow.cx, NH = H + Grow.cy;
            // A part that is skipped leaves the sentinel behind.
            TBitmap Out;
            Out.SetPixelFormat(pf24bit);
            Out.SetSize(NW, NH);
            Out.Canvas()->Brush()->SetColor(TColor(0xFF00FF));
            Out.Canvas()->FillRect({0, 0, NW, NH});
            MakeNinePartBitmap(C->LTPoint, C->RTPoint, C->LBPoint, C->RBPoint, Cl, C->LTPoint,
                               {C->RTPoint.X + Grow.cx, C->RTPoint.Y},
                               {C->LBPoint.X, C->LBPoint.Y + Grow.cy},
                               {C->RBPoint.X + Grow.cx, C->RBPoint.Y + Grow.cy},
                               {Cl.Left, Cl.Top, Cl.Right + Grow.cx, Cl.Bottom + Grow.cy}, &Out, P,
                               C->SkinRect, NW, NH, true, C->LeftStretch, C->TopStretch,
                               C->RightStretch, C->BottomStretch, C->StretchEffect, C->StretchType);
            int Differ = 0, Sentinel = 0;
            for (int Y = 0; Y < NH; ++Y)
                for (int X = 0; X < NW; ++X) {
                    const std::uint32_t V = Pixel(Out, X, Y);
                    Sentinel += V == 0xFF00FF;
                    if (Grow.cx == 0)
                        Differ += V != Pixel(*P, C->SkinRect.Left + X, C->SkinRect.Top + Y);
                }
            EXPECT_EQ(Sentinel, 0) << "grown by " << Grow.cx;
            EXPECT_EQ(Differ, 0);
        }
    }
}

TEST_P(StoredSkinGeometry, TheFrameRegionHoldsTheClientAndCutsTheCorners) {
    const int PW = Skin->FPicture->Width(), PH = Skin->FPicture->Height();
    EXPECT_LE(PW, 200);
    EXPECT_LE(PH - Skin->ClRect.Height(), 40);
    EXPECT_EQ(Skin->FormMinWidth, 0);
    for (const TSize Client : {TSize{MainClientWidth, MainClientHeight}, TSize{0, 0}}) {
        const TSize Size = Client.cx ? FrameSizeFor(*Skin, Client.cx, Client.cy)
                                     : TSize{PreviewWidth, PreviewHeight};
        SCOPED_TRACE(Size.cx);
        HRGN Rgn = MakeFrameRegion(*Skin, Size.cx, Size.cy);
        ASSERT_NE(Rgn, HRGN(0));
        const int DX = Size.cx - PW, DY = Size.cy - PH;
        const TRect Cl{Skin->ClRect.Left, Skin->ClRect.Top, Skin->ClRect.Right + DX,
                       Skin->ClRect.Bottom + DY};
        int Outside = 0;
        for (int Y = Cl.Top; Y < Cl.Bottom; Y += 1)
            for (int X = Cl.Left; X < Cl.Right;
                 X += (Y == Cl.Top || Y == Cl.Bottom - 1) ? 1 : Cl.Width() - 1)
                Outside += !PtInRegion(Rgn, X, Y);
        EXPECT_EQ(Outside, 0);
        // Corners: cut for a rounded theme, whole for a square one.
        const int R = Theme().Radius;
        for (const TPoint Corner : {TPoint{0, 0}, TPoint{Size.cx - 1, 0}, TPoint{0, Size.cy - 1},
                                    TPoint{Size.cx - 1, Size.cy - 1}})
            EXPECT_EQ(bool(PtInRegion(Rgn, Corner.X, Corner.Y)), R == 0)
                << Corner.X << "," << Corner.Y;
        EXPECT_TRUE(PtInRegion(Rgn, R, R));
        EXPECT_TRUE(PtInRegion(Rgn, Size.cx / 2, 0));
        EXPECT_TRUE(PtInRegion(Rgn, 0, Size.cy / 2));
        DeleteObject(ToObj(Rgn));
    }
}

INSTANTIATE_TEST_SUITE_P(Stored, StoredSkinGeometry, testing::Range(0, 11), SkinLabel);
