// TClipboard: the class library's door to the window system's clipboard for
// pictures. A picture goes there as a packed 32-bit DIB (CF_DIB) and comes
// back as a 32-bit TBitmap, alpha kept. Text goes through the edits' own
// clipboard messages, not through this class.
#pragma once

#include "platform/core/Exceptions.h"
#include "platform/core/Objects.h"

class TBitmap;

// Raised when the clipboard cannot be opened or holds no picture.
class EClipboardException : public Exception {
public:
    using Exception::Exception;
};

class TClipboard : public TPersistent {
public:
    // A TBitmap, or a TPicture holding a graphic, replaces what the
    // clipboard holds; anything else raises the assign error.
    void Assign(TPersistent* Source) override;
    // Into a TBitmap, or the bitmap of a TPicture; a clipboard without a
    // picture raises and leaves the target as it was.
    void AssignTo(TPersistent* Dest) override;
    bool HasFormat(unsigned Format) const;

private:
    void SetBitmap(TBitmap* Bitmap);
    void GetBitmap(TBitmap* Bitmap);
};

// The one clipboard of the program.
TClipboard* Clipboard();
