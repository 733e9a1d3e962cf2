#include "skin/model/bsUtils.Regions.h"

#include "skin/model/bsUtils.FBitmap.h"
#include "skin/model/bsUtils.NinePart.h"

#include <cstring>

DWORD MaskToRegionData(TBitmap* Mask, int X, int Y, std::vector<BYTE>& Data) {
    if (!Mask || Mask->Empty())
        return 0;
    TbsFBitmap Pixels(Mask->Handle());
    // As many runs as the mask has; no fixed buffer to overflow.
    std::vector<TRect> Runs;
    for (int R = 0; R < Pixels.Height; ++R) {
        const BYTE* Row = Pixels.Pixels[std::size_t(R)];
        int C = 0;
        while (C < Pixels.Width) {
            if (Row[C * 3] + Row[C * 3 + 1] + Row[C * 3 + 2] != 0) {
                ++C;
                continue;
            }
            const int C0 = C;
            while (C < Pixels.Width && Row[C * 3] + Row[C * 3 + 1] + Row[C * 3 + 2] == 0)
                ++C;
            Runs.push_back({X + C0, Y + R, X + C, Y + R + 1});
        }
    }
    const std::size_t Size = sizeof(RGNDATAHEADER) + Runs.size() * sizeof(TRect);
    std::vector<BYTE> Block(Size, 0);
    RGNDATAHEADER Header;
    Header.dwSize = sizeof(RGNDATAHEADER);
    Header.iType = RDH_RECTANGLES;
    Header.nCount = DWORD(Runs.size());
    Header.nRgnSize = 0;
    Header.rcBound = {X, Y, X + Mask->Width(), Y + Mask->Height()};
    std::memcpy(Block.data(), &Header, sizeof(Header));
    if (!Runs.empty())
        std::memcpy(Block.data() + sizeof(Header), Runs.data(), Runs.size() * sizeof(TRect));
    Data = std::move(Block);
    return DWORD(Size);
}

void MaskToRegion(HRGN& Rgn, TBitmap* Mask) {
    std::vector<BYTE> Data;
    const DWORD Size = MaskToRegionData(Mask, 0, 0, Data);
    Rgn = Size ? ExtCreateRegion(nullptr, Size, reinterpret_cast<const RGNDATA*>(Data.data()))
               : HRGN(0);
}

namespace {

void NewPiece(TBitmap* Piece, int W, int H) {
    Piece->SetSize(W, H);
    Piece->Canvas()->Brush()->SetStyle(bsSolid);
    Piece->Canvas()->Brush()->SetColor(clWhite);
    Piece->Canvas()->FillRect({0, 0, W, H});
}

} // namespace

void MakeFrameMaskBitmaps(TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, TRect ClRect,
                          TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint,
                          TPoint NewRBPoint, TRect NewClRect, TBitmap* Mask, TBitmap* TopB,
                          TBitmap* LeftB, TBitmap* RightB, TBitmap* BottomB, int Width,
                          int /*Height*/) {
    if (!Mask || Mask->Empty())
        return;
    const int MW = Mask->Width(), MH = Mask->Height();
    const int PH = NewClRect.Height();
    auto SidePiece = [&](TBitmap* Piece, int X0, int X1, int First, int Last) {
        const int W = X1 - X0;
        NewPiece(Piece, W, PH);
        // The tiles start where the repeatable rows begin, so the pattern of
        // a patterned edge stays in place (at the mask's own size the piece
        // is the mask's own border).
        if (Last != First)
            TilePartY(Piece, First - ClRect.Top, PH, 0, W, Mask, {X0, First, X1, Last});
        if (First - ClRect.Top > 0)
            CopyPart(Piece, {0, 0, W, First - ClRect.Top}, Mask, {X0, ClRect.Top, X1, First});
        if (ClRect.Bottom - Last > 0)
            CopyPart(Piece, {0, PH - (ClRect.Bottom - Last), W, PH}, Mask,
                     {X0, Last, X1, ClRect.Bottom});
    };
    if (ClRect.Left > 0 && PH > 0)
        SidePiece(LeftB, 0, ClRect.Left, LTPt.Y, LBPt.Y);
    if (MW - ClRect.Right > 0 && PH > 0)
        SidePiece(RightB, ClRect.Right, MW, RTPt.Y, RBPt.Y);
    if (Width > 0 && ClRect.Top > 0) {
        const int TH = ClRect.Top;
        NewPiece(TopB, Width, TH);
        if (RTPt.X != LTPt.X)
            TilePartX(TopB, NewLTPoint.X, NewRTPoint.X, 0, TH, Mask, {LTPt.X, 0, RTPt.X, TH});
        CopyPart(TopB, {0, 0, LTPt.X, TH}, Mask, {0, 0, LTPt.X, TH});
        CopyPart(TopB, {NewRTPoint.X, 0, Width, TH}, Mask, {RTPt.X, 0, MW, TH});
    }
    if (Width >= 1 && MH - ClRect.Bottom >= 1) {
        const int BH = MH - ClRect.Bottom;
        NewPiece(BottomB, Width, BH);
        if (RBPt.X != LBPt.X)
            TilePartX(BottomB, NewLBPoint.X, NewRBPoint.X, 0, BH, Mask,
                      {LBPt.X, ClRect.Bottom, RBPt.X, MH});
        CopyPart(BottomB, {0, 0, LBPt.X, BH}, Mask, {0, ClRect.Bottom, LBPt.X, MH});
        CopyPart(BottomB, {NewRBPoint.X, 0, Width, BH}, Mask, {RBPt.X, ClRect.Bottom, MW, MH});
    }
}

void MakeNinePartRegion(HRGN& Rgn, TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, TRect ClRect,
                        TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                        TRect NewClRect, TBitmap* Mask, int Width, int Height) {
    Rgn = 0;
    if (NewRTPoint.X < NewLTPoint.X || NewLBPoint.Y < NewLTPoint.Y)
        return;
    TBitmap Top, Left, Right, Bottom;
    MakeFrameMaskBitmaps(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint,
                         NewRBPoint, NewClRect, Mask, &Top, &Left, &Right, &Bottom, Width, Height);
    auto Join = [&](HRGN Part) {
        if (!Part)
            return;
        if (!Rgn) {
            Rgn = Part;
            return;
        }
        CombineRgn(Rgn, Rgn, Part, RGN_OR);
        DeleteObject(ToObj(Part));
    };
    if (NewClRect.Width() > 0 && NewClRect.Height() > 0)
        Join(CreateRectRgnIndirect(&NewClRect));
    const struct {
        TBitmap* Piece;
        TPoint At;
    } Pieces[] = {{&Top, {0, 0}},
                  {&Bottom, {0, NewClRect.Bottom}},
                  {&Left, {0, NewClRect.Top}},
                  {&Right, {NewClRect.Right, NewClRect.Top}}};
    for (const auto& P : Pieces) {
        std::vector<BYTE> Data;
        const DWORD Size = MaskToRegionData(P.Piece, P.At.X, P.At.Y, Data);
        if (Size)
            Join(ExtCreateRegion(nullptr, Size, reinterpret_cast<const RGNDATA*>(Data.data())));
    }
}
