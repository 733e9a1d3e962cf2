// Three skinned forms side by side on a real X display: the plain look, the
// standard test skin and a stored skin, each with a skinned panel, a label
// and a status bar. Writes the forms' screen rectangles and their caption
// and caption-button places to OUTDIR/layout.txt and prints "ready"; runs
// until the first form closes (Alt+F4 on it ends the program).
// Usage: skin_form_demo [OUTDIR [STORED-SKIN-INDEX]]
#include "platform/core/Paths.h"
#include "platform/forms/Forms.h"
#include "platform/win/Windows.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/forms/SkinForm.h"
#include "skin/stored/StoredSkins.h"
#include "tests/fixtures/skins/TestSkin.h"
#include "tests/skin/forms/demo/DemoExpectations.h"
#include "tests/support/DemoDesktop.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace {

const char* const Title = "视频转换 Skinned form";

TForm* MakeForm(TComponent* Owner, int Left, TbsSkinData* Skin, const std::string& Name) {
    auto* F = Owner ? new TForm(Owner) : Application->CreateForm<TForm>();
    F->SetName(Name);
    F->SetCaption(Title);
    F->SetBounds(Left, 60, 400, 300);
    auto* C = new TbsSkinForm(F);
    auto* Panel = new TbsSkinPanel(F);
    Panel->SetParent(F);
    Panel->SetAlign(alClient);
    auto* Label = new TbsSkinStdLabel(F);
    Label->SetParent(Panel);
    Label->SetBounds(20, 20, 300, 24);
    Label->SetCaption("标签 Label");
    auto* Bar = new TbsSkinStatusBar(F);
    Bar->SetParent(F);
    Bar->SetAlign(alBottom);
    Bar->SetHeight(22);
    Bar->SetCaption("状态栏 Status bar");
    Bar->SetSizeGrip(true);
    C->SetStatusBar(Bar);
    if (Skin) {
        Panel->SetSkinData(Skin);
        Label->SetSkinData(Skin);
        Bar->SetSkinData(Skin);
        C->SetSkinData(Skin);
    }
    return F;
}

void WriteLayout(const std::string& File, const std::vector<TForm*>& Forms) {
    std::ofstream Out(File);
    for (TForm* F : Forms) {
        const std::string N = F->Name();
        Out << "form " << N << " " << F->Left() << " " << F->Top() << " " << F->Width() << " "
            << F->Height() << "\n";
        TbsSkinForm* C = FindSkinFormComponent(F);
        Out << "minheight " << N << " " << C->GetMinHeight() << "\n";
        for (int I = 0; I < C->ObjectCount(); ++I) {
            TbsActiveSkinObject* O = C->Object(I);
            if (!O->Visible)
                continue;
            const bool Caption = dynamic_cast<TbsSkinCaptionObject*>(O) != nullptr;
            const TRect& R = O->ObjectRect;
            Out << (Caption ? "caption " : "button ") << N << " " << O->IDName << " "
                << F->Left() + R.Left << " " << F->Top() + R.Top << " " << R.Width() << " "
                << R.Height() << "\n";
        }
        if (!C->FSkinSupport) {
            const TRect& R = C->NewDefCaptionRect;
            Out << "caption " << N << " plain " << F->Left() + R.Left << " " << F->Top() + R.Top
                << " " << R.Width() << " " << R.Height() << "\n";
        }
    }
}

// What the photograph must show, in screen coordinates (see ShotCheck.cpp):
// - every form: points of its frame as the frame painter paints them into a
//   picture of its own, so the screen shows that frame, whole and opaque;
// - the test-skin form: its strips in the colours the skin's pictures were
//   drawn with, and its cut corners not in the frame's colour;
// - the plain form: the engraved stripes in the system's light and shadow
//   colours, and text in its caption.
void WriteExpectations(const std::string& File, const std::vector<TForm*>& Forms,
                       const testskin::TTestSkin& TestSkin) {
    std::ofstream Out(File);
    for (TForm* F : Forms) {
        const std::string N = F->Name();
        TbsSkinForm* C = FindSkinFormComponent(F);
        const int L = F->Left(), T = F->Top(), W = F->Width(), H = F->Height();
        WriteFramePoints(Out, F, N);

        if (N == "testskin") {
            const bool Active = C->GetFormActive();
            const testskin::TTestPicture* Picture =
                Active ? TestSkin.FramePicture() : TestSkin.InactivePicture();
            const std::string Prefix = Active ? "" : "inactive.";
            auto Expect = [&](const char* Region, int X, int Y) {
                if (!InAnyObject(C, X, Y))
                    Out << "pixel testskin-" << Region << " " << L + X << " " << T + Y << " "
                        << Hex(Picture->ColourOf(Prefix + Region)) << "\n";
            };
            for (int X = 10; X < W - 10; X += 30)
                Expect("caption", X, 10);
            Expect("left", 2, H / 2);
            Expect("right", W - 2, H / 2);
            Expect("bottom", W / 2, H - 2);
            Expect("bottom", 10, H - 2);
            for (TPoint Corner :
                 {TPoint{0, 0}, TPoint{W - 1, 0}, TPoint{0, H - 1}, TPoint{W - 1, H - 1}})
                Out << "notpixel testskin-corner " << L + Corner.X << " " << T + Corner.Y << " "
                    << Hex(Picture->ColourOf(Prefix + (Corner.Y == 0 ? "caption" : "bottom")))
                    << "\n";
        }
        if (N == "plain") {
            const TRect& R = C->NewDefCaptionRect;
            const std::string Light = Hex(RgbOf(clBtnHighlight)), Dark = Hex(RgbOf(clBtnShadow));
            // The stripes run from the caption's left end; the text sits in
            // the middle on the face colour.
            const int X = R.Left + 3;
            for (int Y = 2; Y <= 8; ++Y)
                if (!InAnyObject(C, X, 3 + Y))
                    Out << "pixel plain-stripe " << L + X << " " << T + 3 + Y << " "
                        << (Y % 2 == 0 ? Light : Dark) << "\n";
            // Three rings: outer light and dark, then highlight and shadow,
            // then the face colour.
            const TColor Rings[3][2] = {
                {cl3DLight, cl3DDkShadow}, {clBtnHighlight, clBtnShadow}, {clBtnFace, clBtnFace}};
            for (int I = 0; I < 3; ++I) {
                Out << "pixel plain-ring-left " << L + I << " " << T + H / 2 << " "
                    << Hex(RgbOf(Rings[I][0])) << "\n";
                Out << "pixel plain-ring-right " << L + W - 1 - I << " " << T + H / 2 << " "
                    << Hex(RgbOf(Rings[I][1])) << "\n";
                Out << "pixel plain-ring-bottom " << L + W / 2 << " " << T + H - 1 - I << " "
                    << Hex(RgbOf(Rings[I][1])) << "\n";
            }
            Out << "ink plain-caption-text " << L + R.Left + R.Width() / 4 << " " << T + R.Top
                << " " << R.Width() / 2 << " " << R.Height() << " 20 " << Hex(RgbOf(clBtnFace))
                << " " << Light << " " << Dark << "\n";
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::string Out = argc > 1 ? argv[1] : ".";
    const int StoredIndex = argc > 2 ? std::atoi(argv[2]) : 0;
    TDemoDesktop Desktop("skin_form_demo");
    if (!Desktop.OpenDisplay(argv[0]))
        return 1;
    Desktop.Start();
    auto* Holder = new TComponent(nullptr);
    auto* TestSkin = new TbsSkinData(Holder);
    const std::string Folder = Out + "/test-skin";
    ForceDirectories(Folder);
    const testskin::TTestSkin TestSkinPictures = testskin::StandardTestSkin();
    TestSkin->LoadFromFile(TestSkinPictures.WriteFolder(Folder));
    auto* Stored = new TbsSkinData(Holder);
    if (StoredIndex >= 0 && StoredIndex < StoredSkinCount()) {
        Stored->SetSkinIndex(StoredIndex);
        Stored->SetSkinList(CreateStoredSkinList(Holder));
    }
    std::vector<TForm*> Forms;
    Forms.push_back(MakeForm(nullptr, 40, nullptr, "plain"));
    Forms.push_back(MakeForm(Application, 480, TestSkin, "testskin"));
    Forms.push_back(MakeForm(Application, 920, Stored, "stored"));
    for (TForm* F : Forms)
        F->Show();
    Desktop.Pump(20);
    WriteLayout(Out + "/layout.txt", Forms);
    WriteExpectations(Out + "/expect.txt", Forms, TestSkinPictures);
    Announce();
    // Until the first form is closed (Alt+F4 on it).
    Desktop.RunWhile([&] { return Forms[0]->Visible() && !Application->Terminated(); }, 25);
    Desktop.Close();
    delete Holder;
    return 0;
}
