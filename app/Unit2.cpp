#include "app/Unit2.h"

#include "app/MainWindowLink.h"
#include "app/Pictures.h"
#include "platform/forms/ExtCtrls.h"
#include "skin/controls/bsSkinCtrls.Button.h"
#include "skin/controls/bsSkinCtrls.Labels.h"
#include "skin/controls/bsSkinEdits.h"
#include "skin/forms/SkinForm.h"

TForm2* Form2 = nullptr;

const char* OstrelaVersion() {
    return OSTRELA_VERSION;
}

TForm2::TForm2(TComponent* AOwner) : TForm(AOwner) {
    Form2 = this;
    SetName("Form2");
    SetCaption("关于软件");
    SetBorderStyle(bsDialog);
    SetBorderIcons({});
    SetPosition(poDesktopCenter);
    Font()->SetName("MS Sans Serif");
    TbsSkinData* Skin = MainWindowLink() ? MainWindowLink()->MainSkinData() : nullptr;
    bsSkinForm1 = new TbsSkinForm(this);
    bsSkinForm1->SetName("bsSkinForm1");
    bsSkinForm1->SetBorderIcons({TbsBorderIcon::biRollUp});
    bsSkinForm1->SetMagnetic(true);
    bsSkinForm1->SetMagneticSize(10);
    bsSkinForm1->SetSkinData(Skin);
    bsSkinForm1->SetMenusSkinData(Skin);
    HandleNeeded();
    SetClientWidth(332);
    SetClientHeight(259);

    auto Label = [&](const char* Name, const char* Caption, int Left, int Top, int Width,
                     int Height) {
        auto* L = new TbsSkinStdLabel(this);
        L->SetName(Name);
        L->SetParent(this);
        L->SetSkinData(Skin);
        L->SetCaption(Caption);
        L->SetBounds(Left, Top, Width, Height);
        return L;
    };
    auto Link = [&](const char* Name, const std::string& Caption, const std::string& Url, int Top) {
        auto* L = new TbsSkinLinkLabel(this);
        L->SetName(Name);
        L->SetParent(this);
        L->SetSkinData(Skin);
        L->SetCaption(Caption);
        L->SetURL(Url);
        L->SetBounds(24, Top, 284, 16);
        return L;
    };

    Image1 = new TImage(this);
    Image1->SetName("Image1");
    Image1->SetParent(this);
    Image1->SetBounds(24, 20, 53, 57);
    Image1->Picture()->SetGraphic(MakeAboutPicture().get());
    Image1->SetTransparent(true);

    bsSkinStdLabel3 = Label("bsSkinStdLabel3", "Ostrela", 96, 26, 200, 24);
    bsSkinStdLabel3->SetUseSkinFont(false);
    bsSkinStdLabel3->Font()->SetHeight(-20);
    bsSkinStdLabel4 = Label("bsSkinStdLabel4", OstrelaVersion(), 96, 56, 200, 16);
    bsSkinStdLabel4->SetUseSkinFont(false);
    bsSkinStdLabel4->Font()->SetStyle({fsBold});

    bsSkinStdLabel1 = Label("bsSkinStdLabel1", "官方网站：", 24, 100, 200, 16);
    bsSkinLinkLabel1 = Link("bsSkinLinkLabel1", OstrelaWebSite, OstrelaWebSite, 122);
    bsSkinLinkLabel1->SetUseUnderLine(true);
    bsSkinLinkLabel1->SetAlignment(taCenter);
    bsSkinLinkLabel1->SetGlowEffect(true);
    bsSkinLinkLabel1->SetGlowSize(6);
    bsSkinStdLabel2 = Label("bsSkinStdLabel2", "支持E-Mail：", 24, 150, 200, 16);
    bsSkinLinkLabel2 = Link("bsSkinLinkLabel2", OstrelaSupportMail,
                            std::string("mailto:") + OstrelaSupportMail, 172);

    bsSkinButton1 = new TbsSkinButton(this);
    bsSkinButton1->SetName("bsSkinButton1");
    bsSkinButton1->SetParent(this);
    bsSkinButton1->SetSkinDataName("button");
    bsSkinButton1->SetSkinData(Skin);
    bsSkinButton1->SetCaption("确定");
    bsSkinButton1->SetBounds((332 - 69) / 2, 259 - 25 - 14, 69, 25);
    bsSkinButton1->SetModalResult(mrOk);
    bsSkinButton1->SetDefault(true);
    bsSkinButton1->OnClick = TNotifyEvent(this, &TForm2::bsSkinButton1Click);
}

TForm2::~TForm2() {
    if (Form2 == this)
        Form2 = nullptr;
}

void TForm2::bsSkinButton1Click(TObject*) {
    // The button's modal result ends the box.
}
