// GIF pictures over giflib: the first image of a file, kept as an 8-bit
// bitmap with its table and its transparent colour.
#pragma once

#include "platform/gdi/DecodedGraphic.h"

class TGIFImage : public TDecodedGraphic {
public:
    std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TGIFImage>(); }
    // Raises EInvalidGraphic "GIF image is not valid: ..." and keeps the picture.
    void LoadFromStream(TStream* Stream) override;
    // A single-image GIF89a: at most 256 distinct colours are kept exactly,
    // more are reduced by median cut, without dithering.
    void SaveToStream(TStream* Stream) override;
    void Assign(TPersistent* Source) override;
    void AssignTo(TPersistent* Dest) override;
    // The transparent colour, clNone when the picture has none.
    TColor TransparentColor() const { return FTransparentColor; }

private:
    TColor FTransparentColor = clNone;
};
