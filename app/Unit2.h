// The about box "关于软件": the product's title, version and picture, with
// links to the web site and the support address. Created once at start-up;
// every call shows the same box.
#pragma once

#include "platform/forms/Forms.h"

// Placeholders in a reserved domain until the project has its own.
inline constexpr const char* OstrelaWebSite = "https://www.example.com/ostrela/";
inline constexpr const char* OstrelaSupportMail = "support@example.com";

class TbsSkinForm;
class TbsSkinStdLabel;
class TbsSkinLinkLabel;
class TbsSkinButton;
class TImage;

// The program's version as the build names it.
const char* OstrelaVersion();

class TForm2 : public TForm {
public:
    explicit TForm2(TComponent* AOwner);
    ~TForm2() override;

    TbsSkinForm* bsSkinForm1 = nullptr;
    TbsSkinStdLabel* bsSkinStdLabel3 = nullptr; // title
    TbsSkinStdLabel* bsSkinStdLabel4 = nullptr; // version
    TImage* Image1 = nullptr;
    TbsSkinStdLabel* bsSkinStdLabel1 = nullptr; // 官方网站：
    TbsSkinLinkLabel* bsSkinLinkLabel1 = nullptr;
    TbsSkinStdLabel* bsSkinStdLabel2 = nullptr; // 支持E-Mail：
    TbsSkinLinkLabel* bsSkinLinkLabel2 = nullptr;
    TbsSkinButton* bsSkinButton1 = nullptr; // 确定

    void bsSkinButton1Click(TObject* Sender);
};

extern TForm2* Form2;
