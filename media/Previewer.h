// The preview window of a conversion job: a small stay-on-top tool window
// that shows the latest picture the job hands it.
//
// A previewer is made and used by the job's worker thread; its window lives
// on the user-interface thread and is reached only through CallInMainThread,
// so PaintFrame and the destructor wait for that thread. Neither may be
// called while holding a lock the user-interface thread may take.
#pragma once

#include "platform/core/Objects.h"
#include "platform/win/Messages.h"

#include <atomic>
#include <cstdint>

class TBitmap;
class TForm;

class TPreviewer : public TObject {
public:
    TPreviewer() = default;
    // Frees the window on the user-interface thread.
    ~TPreviewer() override;
    TPreviewer(const TPreviewer&) = delete;
    TPreviewer& operator=(const TPreviewer&) = delete;

    // Shows ABitmap (which must stay valid until the call returns) with the
    // time APTS (microseconds) as the caption; the first picture opens the
    // window. False once the user has closed the window.
    bool PaintFrame(TBitmap* ABitmap, int AFrameNumber, std::int64_t APTS);

    // The window's handle, null until the first picture.
    HWND FormHandle() const { return FFormHandle; }
    bool Closed() const { return FClosed; }

private:
    void DoPaint();
    void CreatePreviewForm();
    void FreePreviewForm();
    // The application's message hook: a press anywhere in the window drags it.
    void AppMessage(MSG& Msg, bool& Handled);
    void FormCloseQuery(TObject* Sender, bool& CanClose);

    HWND FFormHandle = nullptr;
    TForm* FForm = nullptr;
    // Set on the user-interface thread, read by the worker.
    std::atomic<bool> FClosed{false};
    TBitmap* FBitmap = nullptr;
    int FFrameNumber = 0;
    std::int64_t FPTS = 0;
};
