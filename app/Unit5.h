// The options dialog "选项": what happens after all jobs are done, what
// happens to an existing output file, the thread count, the live preview
// and the workers' priority. Its controls are the settings in force; the
// main window reads them through the accessors at the moment it needs one.
// Creating it reads [Options] of option.ini; "确定" writes it.
#pragma once

#include "platform/forms/Forms.h"

#include <string>

class TbsSkinForm;
class TbsSkinData;
class TbsSkinPanel;
class TbsSkinCheckRadioBox;
class TbsSkinComboBox;
class TbsSkinStdLabel;
class TbsSkinButton;

class TForm5 : public TForm {
public:
    explicit TForm5(TComponent* AOwner);
    ~TForm5() override;

    TbsSkinForm* bsSkinForm1 = nullptr;
    TbsSkinPanel* bsSkinPanel1 = nullptr; // 转换工作完成后
    TbsSkinPanel* bsSkinPanel2 = nullptr; // 如果输出文件存在时
    TbsSkinPanel* bsSkinPanel3 = nullptr; // 转换参数
    TbsSkinPanel* bsSkinPanel4 = nullptr; // 转换时CPU利用方式
    TbsSkinCheckRadioBox* bsSkinCheckRadioBox1 = nullptr;
    TbsSkinCheckRadioBox* bsSkinCheckRadioBox2 = nullptr;
    TbsSkinCheckRadioBox* bsSkinCheckRadioBox4 = nullptr;
    TbsSkinCheckRadioBox* bsSkinCheckRadioBox5 = nullptr;
    TbsSkinCheckRadioBox* bsSkinCheckRadioBox3 = nullptr;
    TbsSkinCheckRadioBox* bsSkinCheckRadioBox6 = nullptr;
    TbsSkinStdLabel* bsSkinStdLabel1 = nullptr;
    TbsSkinComboBox* bsSkinComboBox2 = nullptr;
    TbsSkinCheckRadioBox* bsSkinCheckRadioBox7 = nullptr;
    TbsSkinCheckRadioBox* bsSkinCheckRadioBox8 = nullptr;
    TbsSkinCheckRadioBox* bsSkinCheckRadioBox9 = nullptr;
    TbsSkinCheckRadioBox* bsSkinCheckRadioBox10 = nullptr;
    TbsSkinCheckRadioBox* bsSkinCheckRadioBox11 = nullptr;
    TbsSkinCheckRadioBox* bsSkinCheckRadioBox12 = nullptr;
    TbsSkinButton* bsSkinButton6 = nullptr; // 确定
    TbsSkinButton* bsSkinButton1 = nullptr; // 取消

    void FormCreate(TObject* Sender);
    // Reads [Options] into the controls.
    void Button1Click(TObject* Sender);
    // Writes [Options] from the controls.
    void Button2Click(TObject* Sender);
    void bsSkinButton6Click(TObject* Sender);
    void bsSkinButton1Click(TObject* Sender);
    void bsSkinCheckRadioBox7Click(TObject* Sender);
    void bsSkinCheckRadioBox8Click(TObject* Sender);

    // The settings in force, read from the controls at the call.
    // 0 open the output folder, 1 shut down, 2 play the sound, 3 nothing.
    int AfterDoneChoice() const;
    bool OverwriteOutput() const;
    std::string ThreadCountText() const;
    bool MultiThread() const;
    // 0 idle, 1 lowest, 2 lower, 3 normal.
    int PriorityChoice() const;
    bool LivePreview() const;

private:
    TbsSkinCheckRadioBox* NewBox(TbsSkinPanel* Panel, const char* Name, const char* Caption,
                                 bool Radio, int Left, int Top, int Width);
    TbsSkinPanel* NewGroup(const char* Name, const char* Caption, int Left, int Top, int Width,
                           int Height);

    TbsSkinData* FSkin = nullptr;
};

extern TForm5* Form5;
