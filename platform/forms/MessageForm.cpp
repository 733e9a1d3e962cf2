// The plain message form of MessageBox and ShowException: the stock icon of
// the message's type, the text, and a row of buttons.
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"

#include <algorithm>

namespace {

struct TButtonSpec {
    const char* Caption;
    int Result;
};

std::vector<TButtonSpec> ButtonsOf(UINT Flags) {
    switch (Flags & 0x0F) {
    case MB_OKCANCEL:
        return {{"OK", IDOK}, {"Cancel", IDCANCEL}};
    case MB_ABORTRETRYIGNORE:
        return {{"&Abort", IDABORT}, {"&Retry", IDRETRY}, {"&Ignore", IDIGNORE}};
    case MB_YESNOCANCEL:
        return {{"&Yes", IDYES}, {"&No", IDNO}, {"Cancel", IDCANCEL}};
    case MB_YESNO:
        return {{"&Yes", IDYES}, {"&No", IDNO}};
    case MB_RETRYCANCEL:
        return {{"&Retry", IDRETRY}, {"Cancel", IDCANCEL}};
    default:
        return {{"OK", IDOK}};
    }
}

std::uintptr_t IconOf(UINT Flags) {
    switch (Flags & 0xF0) {
    case MB_ICONHAND:
        return IDI_HAND;
    case MB_ICONQUESTION:
        return IDI_QUESTION;
    case MB_ICONEXCLAMATION:
        return IDI_EXCLAMATION;
    case MB_ICONASTERISK:
        return IDI_ASTERISK;
    default:
        return 0;
    }
}

class TMessageForm : public TForm {
public:
    TMessageForm(TComponent* AOwner, const std::string& Text, const std::string& Caption,
                 UINT Flags)
        : TForm(AOwner), FMessage(Text) {
        SetName("MessageForm");
        SetBorderStyle(bsDialog);
        SetBorderIcons({biSystemMenu});
        SetPosition(poScreenCenter);
        SetCaption(Caption);
        std::uintptr_t IconId = IconOf(Flags);
        if (IconId)
            FIconHandle = LoadIcon(nullptr, IconId);
        Layout(Flags);
    }

    HICON IconHandle() const { return FIconHandle; }
    const std::string& Message() const { return FMessage; }

protected:
    void Paint() override {
        TCanvas* C = Canvas();
        if (FIconHandle)
            DrawIconEx(C->Handle(), 12, 12, FIconHandle, 32, 32, 0, nullptr, DI_NORMAL);
        C->Font()->Assign(Font());
        C->Brush()->SetStyle(bsClear);
        TRect R = FTextRect;
        DrawText(C->Handle(), FMessage, -1, &R, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    }

private:
    void Layout(UINT Flags) {
        int TextLeft = FIconHandle ? 56 : 12;
        TRect Measure{0, 0, 400, 0};
        HDC DC = CreateCompatibleDC(nullptr);
        HGDIOBJ Old = SelectObject(DC, ToObj(Font()->Handle()));
        DrawText(DC, FMessage, -1, &Measure, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        SelectObject(DC, Old);
        DeleteDC(DC);
        int TextHeight = std::max(Measure.Height(), FIconHandle ? 32 : 0);
        FTextRect = Bounds(TextLeft, 12 + std::max(0, (32 - Measure.Height()) / 2), Measure.Width(),
                           Measure.Height());
        auto Specs = ButtonsOf(Flags);
        const int ButtonWidth = 75, ButtonHeight = 23, Gap = 6;
        int RowWidth = int(Specs.size()) * ButtonWidth + int(Specs.size() - 1) * Gap;
        int Width = std::max(TextLeft + Measure.Width() + 12, RowWidth + 24);
        int ButtonTop = 12 + TextHeight + 14;
        SetClientSize(Width, ButtonTop + ButtonHeight + 12);
        int X = (Width - RowWidth) / 2;
        int DefaultIndex = (Flags & MB_DEFBUTTON2) && Specs.size() > 1 ? 1 : 0;
        bool HasCancel = std::any_of(Specs.begin(), Specs.end(),
                                     [](const TButtonSpec& S) { return S.Result == IDCANCEL; });
        for (std::size_t I = 0; I < Specs.size(); ++I) {
            auto* Button = new TButton(this);
            Button->SetCaption(Specs[I].Caption);
            Button->SetModalResult(Specs[I].Result);
            Button->SetBounds(X, ButtonTop, ButtonWidth, ButtonHeight);
            Button->SetParent(this);
            Button->SetDefault(int(I) == DefaultIndex);
            // Escape answers Cancel, or the only button there is.
            Button->SetCancel(Specs[I].Result == IDCANCEL || (!HasCancel && Specs.size() == 1));
            if (int(I) == DefaultIndex)
                SetActiveControl(Button);
            X += ButtonWidth + Gap;
        }
    }

    std::string FMessage;
    HICON FIconHandle = nullptr;
    TRect FTextRect;
};

} // namespace

int TApplication::MessageBox(const std::string& Text, const std::string& Caption, UINT Flags) {
    TMessageForm Form(nullptr, Text, Caption.empty() ? FTitle : Caption, Flags);
    int Result = Form.ShowModal();
    // Closed by its frame or by the application: that is a cancel.
    return Result == mrNone || Result == mrCancel ? (ButtonsOf(Flags).size() == 1 ? IDOK : IDCANCEL)
                                                  : Result;
}
