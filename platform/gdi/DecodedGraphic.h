// The common part of the picture classes whose files a library decodes:
// the picture lives as a TBitmap, which draws it and which Assign copies.
#pragma once

#include "platform/gdi/Graphics.h"

#include <cstdint>
#include <vector>

class TDecodedGraphic : public TGraphic {
public:
    TDecodedGraphic() = default;
    TDecodedGraphic(const TDecodedGraphic&) = delete;
    TDecodedGraphic& operator=(const TDecodedGraphic&) = delete;

    bool Empty() const override { return FBitmap.Empty(); }
    int Width() const override { return FBitmap.Width(); }
    int Height() const override { return FBitmap.Height(); }
    void SetWidth(int) override {}
    void SetHeight(int) override {}
    void Draw(TCanvas* Canvas, const TRect& R) override;
    // The decoded picture.
    TBitmap* Bitmap() { return &FBitmap; }
    void AssignTo(TPersistent* Dest) override;

protected:
    // Takes a decoded picture in; the previous one goes only on success.
    void SetDecoded(TBitmap& Decoded);
    // The rest of a stream, from its position to its end.
    static std::vector<std::uint8_t> ReadRest(TStream& Stream);
    // The bitmap's pixels as 24-bit rows, top-down.
    static std::vector<std::uint8_t> Rgb24Rows(TBitmap& Source, int& Stride);

    TBitmap FBitmap;
};
