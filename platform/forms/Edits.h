// The edit control (window class "EDIT") and its class-library wrappers:
// TCustomEdit/TEdit, TCustomMaskEdit/TMaskEdit and TCustomMemo/TMemo.
//
// The native control keeps its text as UTF-8; every position it reports or
// accepts counts bytes and lies on a character boundary (a position inside
// a character moves to the character's start). A multi-line edit stores and
// returns its line breaks as CR LF. The wrappers talk to it only through
// messages, so a subclass sees everything they ask.
#pragma once

#include "platform/core/StringLists.h"
#include "platform/forms/Controls.h"

#include <memory>

// ---------------------------------------------------------------- edit styles and messages

constexpr DWORD ES_LEFT = 0x0;
constexpr DWORD ES_CENTER = 0x1;
constexpr DWORD ES_RIGHT = 0x2;
constexpr DWORD ES_MULTILINE = 0x4;
constexpr DWORD ES_UPPERCASE = 0x8;
constexpr DWORD ES_LOWERCASE = 0x10;
constexpr DWORD ES_PASSWORD = 0x20;
constexpr DWORD ES_AUTOVSCROLL = 0x40;
constexpr DWORD ES_AUTOHSCROLL = 0x80;
constexpr DWORD ES_NOHIDESEL = 0x100;
constexpr DWORD ES_OEMCONVERT = 0x400;
constexpr DWORD ES_READONLY = 0x800;
constexpr DWORD ES_WANTRETURN = 0x1000;
constexpr DWORD ES_NUMBER = 0x2000;

constexpr UINT EM_GETSEL = 0xB0;
constexpr UINT EM_SETSEL = 0xB1;
constexpr UINT EM_GETRECT = 0xB2;
constexpr UINT EM_SETRECT = 0xB3;
constexpr UINT EM_SETRECTNP = 0xB4;
constexpr UINT EM_SCROLL = 0xB5;
constexpr UINT EM_LINESCROLL = 0xB6;
constexpr UINT EM_SCROLLCARET = 0xB7;
constexpr UINT EM_GETMODIFY = 0xB8;
constexpr UINT EM_SETMODIFY = 0xB9;
constexpr UINT EM_GETLINECOUNT = 0xBA;
constexpr UINT EM_LINEINDEX = 0xBB;
constexpr UINT EM_LINELENGTH = 0xC1;
constexpr UINT EM_REPLACESEL = 0xC2;
constexpr UINT EM_GETLINE = 0xC4;
constexpr UINT EM_LIMITTEXT = 0xC5;
constexpr UINT EM_SETLIMITTEXT = 0xC5;
constexpr UINT EM_CANUNDO = 0xC6;
constexpr UINT EM_UNDO = 0xC7;
constexpr UINT EM_LINEFROMCHAR = 0xC9;
constexpr UINT EM_SETPASSWORDCHAR = 0xCC;
constexpr UINT EM_EMPTYUNDOBUFFER = 0xCD;
constexpr UINT EM_GETFIRSTVISIBLELINE = 0xCE;
constexpr UINT EM_SETREADONLY = 0xCF;
constexpr UINT EM_GETPASSWORDCHAR = 0xD2;
constexpr UINT EM_SETMARGINS = 0xD3;
constexpr UINT EM_GETMARGINS = 0xD4;
constexpr UINT EM_GETLIMITTEXT = 0xD5;
constexpr UINT EM_POSFROMCHAR = 0xD6;
constexpr UINT EM_CHARFROMPOS = 0xD7;

constexpr WPARAM EC_LEFTMARGIN = 1;
constexpr WPARAM EC_RIGHTMARGIN = 2;
constexpr WPARAM EC_USEFONTINFO = 0xFFFF;

constexpr UINT EN_SETFOCUS = 0x100;
constexpr UINT EN_KILLFOCUS = 0x200;
constexpr UINT EN_CHANGE = 0x300;
constexpr UINT EN_UPDATE = 0x400;
constexpr UINT EN_MAXTEXT = 0x501;
constexpr UINT EN_HSCROLL = 0x601;
constexpr UINT EN_VSCROLL = 0x602;

// Registers the class "EDIT" with the window system when it is not yet
// registered; safe to call often.
void RegisterEditClass();

// ---------------------------------------------------------------- TCustomEdit

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(TComponent* AOwner);

    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    char32_t PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(char32_t Value);
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase Value);
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool Value) { FAutoSelect = Value; }
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value);
    bool OEMConvert() const { return FOEMConvert; }
    void SetOEMConvert(bool Value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    void SetAutoSize(bool Value) override;

    // Byte positions on character boundaries.
    int SelStart();
    void SetSelStart(int Value);
    int SelLength();
    void SetSelLength(int Value);
    std::string SelText();
    void SetSelText(const std::string& Value);
    void SelectAll();
    void ClearSelection();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    void Undo();
    void ClearUndo();
    bool CanUndo();
    bool Modified();
    void SetModified(bool Value);

    TNotifyEvent OnChange;

protected:
    // Fired by EN_CHANGE.
    virtual void Change();
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& Message) override;
    void AdjustSize() override;
    virtual void CNCommand(TMessage& Message);
    void CMEnter(TMessage& Message) override;

    int FMaxLength = 0;
    bool FReadOnly = false;
    char32_t FPasswordChar = 0;
    TEditCharCase FCharCase = ecNormal;
    bool FAutoSelect = true;
    bool FHideSelection = true;
    bool FOEMConvert = false;
    TBorderStyle FBorderStyle = bsSingle;
    // Kept while the window is away.
    int FSavedSelStart = 0;
    int FSavedSelEnd = 0;
    bool FSavedModified = false;
    bool FHasSavedState = false;
};

class TEdit : public TCustomEdit {
public:
    explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};

// ---------------------------------------------------------------- TCustomMaskEdit

// The mask is stored only; with an empty mask the control is exactly
// TCustomEdit.
class TCustomMaskEdit : public TCustomEdit {
public:
    explicit TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

    const std::string& EditMask() const { return FEditMask; }
    void SetEditMask(const std::string& Value) { FEditMask = Value; }
    bool IsMasked() const { return !FEditMask.empty(); }
    std::string EditText() { return Text(); }
    void SetEditText(const std::string& Value) { SetText(Value); }

protected:
    std::string FEditMask;
};

class TMaskEdit : public TCustomMaskEdit {
public:
    explicit TMaskEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {}
};

// ---------------------------------------------------------------- TCustomMemo

class TCustomMemo;

// The lines of a memo: the edit's own lines while the window exists, the
// memo's text before.
class TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(TCustomMemo* Memo) : FMemo(Memo) {}

    int Count() const override;
    std::string Strings(int Index) const override;
    void SetStrings(int Index, const std::string& S) override;
    void Insert(int Index, const std::string& S) override;
    void Delete(int Index) override;
    void Clear() override;
    void SetText(std::string_view Value) override;

private:
    // The lines as the memo's text splits them.
    std::vector<std::string> Split() const;
    void Join(const std::vector<std::string>& Lines);
    void AppendToWindow(const std::string& S);
    TCustomMemo* FMemo;
};

class TCustomMemo : public TCustomEdit {
public:
    explicit TCustomMemo(TComponent* AOwner);
    ~TCustomMemo() override;

    TStrings* Lines() { return FLines.get(); }
    void SetLines(TStrings* Value) { FLines->Assign(Value); }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool Value) { FWantReturns = Value; }
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool Value) { FWantTabs = Value; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    // X: the byte column in the line, Y: the line.
    TPoint CaretPos();
    void SetCaretPos(TPoint Value);

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    void KeyPress(unsigned& Key) override;

    std::unique_ptr<TMemoStrings> FLines;
    bool FWordWrap = true;
    TScrollStyle FScrollBars = ssNone;
    bool FWantReturns = true;
    bool FWantTabs = false;
    TAlignment FAlignment = taLeftJustify;
};

class TMemo : public TCustomMemo {
public:
    explicit TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {}
};
