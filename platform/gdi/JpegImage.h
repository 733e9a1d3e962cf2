// JPEG pictures over libjpeg-turbo.
#pragma once

#include "platform/gdi/DecodedGraphic.h"

class TJPEGImage : public TDecodedGraphic {
public:
    std::unique_ptr<TGraphic> NewInstance() const override {
        return std::make_unique<TJPEGImage>();
    }
    int CompressionQuality() const { return FCompressionQuality; }
    void SetCompressionQuality(int Value) { FCompressionQuality = Value; }

    // Raises EInvalidGraphic "JPEG image is not valid: ..." and keeps the picture.
    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) override;
    void Assign(TPersistent* Source) override;

private:
    int FCompressionQuality = 90;
};
