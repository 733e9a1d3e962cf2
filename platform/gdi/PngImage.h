// PNG pictures over libpng. A picture with alpha is kept as a 32-bit bitmap
// with straight alpha and drawn blended.
#pragma once

#include "platform/gdi/DecodedGraphic.h"

class TPngImage : public TDecodedGraphic {
public:
    std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TPngImage>(); }
    // Raises EInvalidGraphic "PNG image is not valid: ..." and keeps the picture.
    void LoadFromStream(TStream* Stream) override;
    // RGB from 24 bits, a palette from 8 bits and below, RGBA from a 32-bit
    // bitmap with defined alpha, RGB from other 32-bit ones.
    void SaveToStream(TStream* Stream) override;
    void Assign(TPersistent* Source) override;
};
