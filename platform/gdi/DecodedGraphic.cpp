#include "platform/gdi/DecodedGraphic.h"

#include <cstring>

void TDecodedGraphic::Draw(TCanvas* Canvas, const TRect& R) {
    FBitmap.SetTransparent(Transparent());
    FBitmap.Draw(Canvas, R);
}

void TDecodedGraphic::AssignTo(TPersistent* Dest) {
    if (auto* B = dynamic_cast<TBitmap*>(Dest)) {
        B->Assign(&FBitmap);
        B->SetTransparent(Transparent());
        return;
    }
    if (auto* P = dynamic_cast<TPicture*>(Dest)) {
        P->SetGraphic(this);
        return;
    }
    TGraphic::AssignTo(Dest);
}

void TDecodedGraphic::SetDecoded(TBitmap& Decoded) {
    FBitmap.Assign(&Decoded);
    Changed();
}

std::vector<std::uint8_t> TDecodedGraphic::ReadRest(TStream& Stream) {
    const std::int64_t Count = Stream.Size() - Stream.Position();
    std::vector<std::uint8_t> Bytes(std::size_t(std::max<std::int64_t>(Count, 0)));
    if (Count > 0)
        Stream.ReadBuffer(Bytes.data(), Count);
    return Bytes;
}

std::vector<std::uint8_t> TDecodedGraphic::Rgb24Rows(TBitmap& Source, int& Stride) {
    TBitmap Copy;
    Copy.Assign(&Source);
    Copy.SetPixelFormat(pf24bit);
    Stride = Copy.RowSize();
    std::vector<std::uint8_t> Rows(std::size_t(Stride) * std::size_t(Copy.Height()));
    for (int Y = 0; Y < Copy.Height(); ++Y)
        std::memcpy(Rows.data() + std::size_t(Y) * std::size_t(Stride), Copy.ScanLine(Y),
                    std::size_t(Stride));
    return Rows;
}
