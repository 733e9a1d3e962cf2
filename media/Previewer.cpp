#include "media/Previewer.h"

#include "media/FFUtils.h"
#include "media/MyUtils.h"
#include "platform/forms/Forms.h"
#include "platform/gdi/Graphics.h"
#include "platform/win/Windows.h"

TPreviewer::~TPreviewer() {
    // The window exists only once a picture was painted, and the paint's
    // call into the user-interface thread makes it visible here.
    if (FForm)
        CallInMainThread([this] { FreePreviewForm(); });
}

bool TPreviewer::PaintFrame(TBitmap* ABitmap, int AFrameNumber, std::int64_t APTS) {
    if (!FClosed) {
        FBitmap = ABitmap;
        FFrameNumber = AFrameNumber;
        FPTS = APTS;
        CallInMainThread([this] { DoPaint(); });
    }
    return !FClosed;
}

void TPreviewer::DoPaint() {
    if (FClosed)
        return;
    if (!FForm) {
        CreatePreviewForm();
        FForm->Show();
    }
    FForm->SetCaption(FormatTimeUS(FPTS));
    // A new caption leaves the whole client due for a paint, and painting it
    // would fill and send a full-size window to the screen only for the
    // picture to cover it at once: only what the picture leaves uncovered
    // (the window's first paint, a smaller later picture) is painted.
    const TRect Covered = Rect(0, 0, FBitmap->Width(), FBitmap->Height());
    ValidateRect(FFormHandle, &Covered);
    // The window draws nothing of its own: a paint still due happens now,
    // not over the picture later.
    FForm->Update();
    FForm->Canvas()->Draw(0, 0, FBitmap);
    // Letting the window's DC go hands the picture to the screen now.
    static_cast<TControlCanvas*>(FForm->Canvas())->FreeHandle();
}

void TPreviewer::CreatePreviewForm() {
    FForm = new TForm(nullptr);
    FForm->SetFormStyle(fsStayOnTop);
    FForm->SetBorderStyle(bsToolWindow);
    FForm->SetBorderIcons({biSystemMenu});
    FForm->SetPosition(poScreenCenter);
    FForm->OnCloseQuery = TCloseQueryEvent(this, &TPreviewer::FormCloseQuery);
    FForm->SetClientWidth(FBitmap->Width());
    FForm->SetClientHeight(FBitmap->Height());
    FFormHandle = FForm->Handle();
    if (!Application)
        return;
    // Each window adds and removes its own hook, so windows freed in any
    // order leave the others' hooks working.
    Application->AddMessageHook(TMessageEvent(this, &TPreviewer::AppMessage));
}

void TPreviewer::FreePreviewForm() {
    if (!FForm)
        return;
    if (Application)
        Application->RemoveMessageHook(TMessageEvent(this, &TPreviewer::AppMessage));
    delete FForm;
    FForm = nullptr;
    FFormHandle = nullptr;
}

void TPreviewer::AppMessage(MSG& Msg, bool& Handled) {
    if (Msg.message != WM_LBUTTONDOWN || !FFormHandle || Msg.hwnd != FFormHandle)
        return;
    SendMessage(FFormHandle, WM_NCLBUTTONDOWN, HTCAPTION, static_cast<LPARAM>(GetMessagePos()));
    Handled = true;
}

void TPreviewer::FormCloseQuery(TObject*, bool& CanClose) {
    FClosed = true;
    CanClose = true;
}
