// The legacy format-settings form: an older copy of the output format
// choice with its own twelve categories and 109 profiles. The program
// creates it hidden and never shows it; creating it fills the profile list
// for the first category and the six parameter lists for its first profile.
#pragma once

#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"

class TLegacyFormHost;
class TbsSkinData;
class TbsSkinForm;
class TbsSkinPanel;
class TbsSkinTextLabel;
class TbsSkinOfficeComboBox;
class TbsSkinComboBox;
class TbsSkinButton;
class TbsSkinPageControl;
class TbsSkinTabSheet;
class TPanel;
class TImage;
class TImageList;
class TFFmpegQueue;

class TForm6 : public TForm {
public:
    // Build it with CreateFormInCode so that its design fires no event and
    // OnCreate runs once it stands.
    TForm6(TComponent* AOwner, TLegacyFormHost& AHost);

    TbsSkinForm* bsSkinForm1;
    TbsSkinPanel* bsSkinPanel2;
    TbsSkinTextLabel* bsSkinTextLabel5;
    TbsSkinOfficeComboBox* bsSkinOfficeComboBox1;
    TbsSkinOfficeComboBox* bsSkinOfficeComboBox2;
    TbsSkinButton* bsSkinButton1;
    TPanel* Panel1;
    TImage* Image1;
    TButton* Button6;
    TButton* Button5;
    TButton* Button7;
    TButton* Button2;
    TButton* Button13;
    TButton* Button11;
    TButton* Button18;
    TFFmpegQueue* FFQueue;
    TImageList* ImageList1;
    TImageList* ImageList2;
    TbsSkinPageControl* bsSkinPageControl1;
    TbsSkinTabSheet* bsSkinTabSheet1;
    TbsSkinTabSheet* bsSkinTabSheet2;
    TbsSkinTabSheet* bsSkinTabSheetFilter;
    TbsSkinTabSheet* bsSkinTabSheet3;
    TbsSkinButton* bsSkinButton3;
    TbsSkinButton* bsSkinButton2;
    TbsSkinTextLabel* bsSkinTextLabel3;
    TbsSkinTextLabel* bsSkinTextLabel2;
    TbsSkinTextLabel* bsSkinTextLabel6;
    TbsSkinTextLabel* bsSkinTextLabel4;
    TbsSkinTextLabel* bsSkinTextLabel7;
    TbsSkinTextLabel* bsSkinTextLabel9;
    TbsSkinComboBox* bsSkinComboBox1;
    TbsSkinComboBox* bsSkinComboBox2;
    TbsSkinComboBox* bsSkinComboBox9;
    TbsSkinComboBox* bsSkinComboBox3;
    TbsSkinComboBox* bsSkinComboBox10;
    TbsSkinComboBox* bsSkinComboBox4;

    void FormCreate(TObject* Sender);
    void bsSkinOfficeComboBox2Change(TObject* Sender);
    void bsSkinOfficeComboBox1Click(TObject* Sender);
    void bsSkinButton2Click(TObject* Sender);
    void bsSkinButton3Click(TObject* Sender);
    void Button6Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button5Click(TObject* Sender);
    void Button18Click(TObject* Sender);
    void Button13Click(TObject* Sender);

    // The key of the profile the two combos select now.
    int ProfileKey() const;

private:
    void BuildTopPanel(TbsSkinData* Skin);
    void BuildPages(TbsSkinData* Skin);
    void BuildStepPanel();
    TbsSkinComboBox* AddParameterList(TbsSkinData* Skin, TbsSkinTextLabel*& Label,
                                      const char* LabelName, const char* Caption,
                                      const char* ListName, int X, int Y);

    TLegacyFormHost& Host;
};

extern TForm6* Form6;
