#include "platform/gdi/GifImage.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>

namespace {

struct TGifIo {
    const std::uint8_t* Data = nullptr;
    std::size_t Size = 0;
    std::size_t Pos = 0;
    std::vector<std::uint8_t>* Out = nullptr;
};

int ReadData(GifFileType* Gif, GifByteType* Buffer, int Count) {
    auto* Io = static_cast<TGifIo*>(Gif->UserData);
    const std::size_t N = std::min<std::size_t>(std::size_t(Count), Io->Size - Io->Pos);
    std::memcpy(Buffer, Io->Data + Io->Pos, N);
    Io->Pos += N;
    return int(N);
}

int WriteData(GifFileType* Gif, const GifByteType* Buffer, int Count) {
    auto* Io = static_cast<TGifIo*>(Gif->UserData);
    Io->Out->insert(Io->Out->end(), Buffer, Buffer + Count);
    return Count;
}

[[noreturn]] void Invalid(const std::string& Reason) {
    throw EInvalidGraphic("GIF image is not valid: " + Reason);
}

std::string ErrorText(int Code) {
    const char* Text = GifErrorString(Code);
    return Text ? Text : "unknown error " + std::to_string(Code);
}

struct TGifCloser {
    void operator()(GifFileType* Gif) const {
        int Error;
        DGifCloseFile(Gif, &Error);
    }
};

// ---------------------------------------------------------------- median cut

struct TColourCount {
    std::uint32_t Rgb; // 0xRRGGBB
    std::uint32_t Count;
};

int Channel(std::uint32_t Rgb, int C) {
    return int((Rgb >> (16 - 8 * C)) & 0xFF);
}

// A run of the colour list that becomes one entry of the table.
struct TColourBox {
    std::size_t Begin, End;
    std::uint64_t Pixels = 0;
    int Widest = 0; // the channel with the largest spread
    int Spread = 0;
};

TColourBox MakeBox(const std::vector<TColourCount>& Colours, std::size_t Begin, std::size_t End) {
    TColourBox Box{Begin, End};
    int Low[3] = {255, 255, 255}, High[3] = {0, 0, 0};
    for (std::size_t I = Begin; I < End; ++I) {
        Box.Pixels += Colours[I].Count;
        for (int C = 0; C < 3; ++C) {
            Low[C] = std::min(Low[C], Channel(Colours[I].Rgb, C));
            High[C] = std::max(High[C], Channel(Colours[I].Rgb, C));
        }
    }
    for (int C = 0; C < 3; ++C)
        if (High[C] - Low[C] > Box.Spread) {
            Box.Spread = High[C] - Low[C];
            Box.Widest = C;
        }
    return Box;
}

// The pixels' distinct colours with how often each occurs, in colour order.
std::vector<TColourCount> CountColours(const std::vector<std::uint8_t>& Rgb, int Stride, int W,
                                       int H) {
    std::vector<std::uint32_t> Keys;
    Keys.reserve(std::size_t(W) * std::size_t(H));
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            const std::uint8_t* P = Rgb.data() + std::size_t(Y) * Stride + std::size_t(X) * 3;
            Keys.push_back((std::uint32_t(P[2]) << 16) | (std::uint32_t(P[1]) << 8) | P[0]);
        }
    std::sort(Keys.begin(), Keys.end());
    std::vector<TColourCount> Colours;
    for (std::uint32_t Key : Keys)
        if (!Colours.empty() && Colours.back().Rgb == Key)
            ++Colours.back().Count;
        else
            Colours.push_back({Key, 1});
    return Colours;
}

// Splits the box that holds the most error (pixels times spread) at the
// pixel median of its widest channel, until 256 boxes or every box holds a
// single colour. A large flat area is a heavy colour of its own, so it is
// cut loose early and keeps its exact value.
std::vector<TColourBox> CutBoxes(std::vector<TColourCount>& Colours) {
    std::vector<TColourBox> Boxes{MakeBox(Colours, 0, Colours.size())};
    while (Boxes.size() < 256) {
        std::size_t Pick = Boxes.size();
        std::uint64_t Worst = 0;
        for (std::size_t I = 0; I < Boxes.size(); ++I) {
            const std::uint64_t Error = Boxes[I].Pixels * std::uint64_t(Boxes[I].Spread);
            if (Boxes[I].End - Boxes[I].Begin > 1 && Error > Worst) {
                Worst = Error;
                Pick = I;
            }
        }
        if (Pick == Boxes.size())
            break;
        const TColourBox Box = Boxes[Pick];
        const int C = Box.Widest;
        std::stable_sort(Colours.begin() + std::ptrdiff_t(Box.Begin),
                         Colours.begin() + std::ptrdiff_t(Box.End),
                         [C](const TColourCount& A, const TColourCount& B) {
                             return Channel(A.Rgb, C) < Channel(B.Rgb, C);
                         });
        std::uint64_t Seen = 0;
        std::size_t Mid = Box.Begin;
        while (Mid < Box.End && 2 * (Seen + Colours[Mid].Count) <= Box.Pixels)
            Seen += Colours[Mid++].Count;
        // The cut goes before or after the colour that crosses the median,
        // whichever side of it lies nearer the median.
        if (Mid < Box.End && 2 * Seen + Colours[Mid].Count < Box.Pixels)
            ++Mid;
        Mid = std::clamp(Mid, Box.Begin + 1, Box.End - 1);
        Boxes[Pick] = MakeBox(Colours, Box.Begin, Mid);
        Boxes.push_back(MakeBox(Colours, Mid, Box.End));
    }
    return Boxes;
}

// A table of at most 256 colours for a picture with more, and each pixel's
// entry in it: the pixel-weighted mean of its box.
std::vector<GifColorType> ReduceByMedianCut(const std::vector<std::uint8_t>& Rgb, int Stride, int W,
                                            int H, std::vector<GifByteType>& Indices) {
    std::vector<TColourCount> Colours = CountColours(Rgb, Stride, W, H);
    const std::vector<TColourBox> Boxes = CutBoxes(Colours);
    std::vector<GifColorType> Table;
    std::vector<std::pair<std::uint32_t, GifByteType>> EntryOf;
    EntryOf.reserve(Colours.size());
    for (const TColourBox& Box : Boxes) {
        std::uint64_t Sum[3] = {0, 0, 0};
        for (std::size_t I = Box.Begin; I < Box.End; ++I) {
            for (int C = 0; C < 3; ++C)
                Sum[C] += std::uint64_t(Channel(Colours[I].Rgb, C)) * Colours[I].Count;
            EntryOf.emplace_back(Colours[I].Rgb, GifByteType(Table.size()));
        }
        auto Mean = [&](int C) { return GifByteType((Sum[C] + Box.Pixels / 2) / Box.Pixels); };
        Table.push_back({Mean(0), Mean(1), Mean(2)});
    }
    std::sort(EntryOf.begin(), EntryOf.end());
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            const std::uint8_t* P = Rgb.data() + std::size_t(Y) * Stride + std::size_t(X) * 3;
            const std::uint32_t Key =
                (std::uint32_t(P[2]) << 16) | (std::uint32_t(P[1]) << 8) | P[0];
            const auto It = std::lower_bound(EntryOf.begin(), EntryOf.end(),
                                             std::make_pair(Key, GifByteType(0)));
            Indices[std::size_t(Y) * W + std::size_t(X)] = It->second;
        }
    return Table;
}

} // namespace

void TGIFImage::LoadFromStream(TStream* Stream) {
    const std::vector<std::uint8_t> Bytes = ReadRest(*Stream);
    TGifIo Io{Bytes.data(), Bytes.size()};
    int Error = 0;
    std::unique_ptr<GifFileType, TGifCloser> Gif(DGifOpen(&Io, ReadData, &Error));
    if (!Gif)
        Invalid(ErrorText(Error));
    if (DGifSlurp(Gif.get()) != GIF_OK)
        Invalid(ErrorText(Gif->Error));
    if (Gif->ImageCount < 1)
        Invalid("the file holds no image");
    const SavedImage& Image = Gif->SavedImages[0];
    const ColorMapObject* Map =
        Image.ImageDesc.ColorMap ? Image.ImageDesc.ColorMap : Gif->SColorMap;
    if (!Map)
        Invalid("the image has no colour table");
    const int W = Gif->SWidth, H = Gif->SHeight;
    if (W <= 0 || H <= 0 || W > 32767 || H > 32767)
        Invalid("the picture's size is out of range");
    GraphicsControlBlock Gcb;
    Gcb.TransparentColor = NO_TRANSPARENT_COLOR;
    DGifSavedExtensionToGCB(Gif.get(), 0, &Gcb);

    std::vector<RGBQUAD> Table(256, RGBQUAD{0, 0, 0, 0});
    for (int i = 0; i < Map->ColorCount && i < 256; ++i)
        Table[std::size_t(i)] = {Map->Colors[i].Blue, Map->Colors[i].Green, Map->Colors[i].Red, 0};
    const int Stride = ((W + 3) / 4) * 4;
    const int Background =
        Gcb.TransparentColor != NO_TRANSPARENT_COLOR ? Gcb.TransparentColor : Gif->SBackGroundColor;
    std::vector<std::uint8_t> Rows(std::size_t(Stride) * std::size_t(H), std::uint8_t(Background));
    // The image may cover part of the screen; giflib has put interlaced rows in order.
    const GifImageDesc& D = Image.ImageDesc;
    for (int Y = 0; Y < D.Height; ++Y) {
        const int TY = D.Top + Y;
        if (TY < 0 || TY >= H)
            continue;
        for (int X = 0; X < D.Width; ++X) {
            const int TX = D.Left + X;
            if (TX >= 0 && TX < W)
                Rows[std::size_t(TY) * Stride + std::size_t(TX)] =
                    Image.RasterBits[std::size_t(Y) * std::size_t(D.Width) + std::size_t(X)];
        }
    }
    TBitmap Decoded;
    Decoded.LoadPixels(W, H, pf8bit, Rows.data(), Table);
    if (Gcb.TransparentColor != NO_TRANSPARENT_COLOR && Gcb.TransparentColor < 256) {
        const RGBQUAD& Q = Table[std::size_t(Gcb.TransparentColor)];
        FTransparentColor = TColor(RGB(Q.rgbRed, Q.rgbGreen, Q.rgbBlue));
        Decoded.SetTransparentColor(FTransparentColor);
        FTransparent = true;
    } else {
        FTransparentColor = clNone;
        FTransparent = false;
    }
    SetDecoded(Decoded);
}

void TGIFImage::SaveToStream(TStream* Stream) {
    if (Empty())
        Invalid("the picture is empty");
    const int W = Width(), H = Height();
    int Stride = 0;
    const std::vector<std::uint8_t> Rgb = Rgb24Rows(FBitmap, Stride);

    // Exactly the picture's colours when there are at most 256 of them.
    std::vector<GifByteType> Indices(std::size_t(W) * std::size_t(H));
    std::vector<GifColorType> Colors;
    std::map<std::uint32_t, int> Seen;
    bool Fits = true;
    for (int Y = 0; Y < H && Fits; ++Y)
        for (int X = 0; X < W; ++X) {
            const std::uint8_t* P = Rgb.data() + std::size_t(Y) * Stride + std::size_t(X) * 3;
            const std::uint32_t Key = (std::uint32_t(P[2]) << 16) | (P[1] << 8) | P[0];
            auto It = Seen.find(Key);
            if (It == Seen.end()) {
                if (Seen.size() == 256) {
                    Fits = false;
                    break;
                }
                It = Seen.emplace(Key, int(Colors.size())).first;
                Colors.push_back({P[2], P[1], P[0]});
            }
            Indices[std::size_t(Y) * W + std::size_t(X)] = GifByteType(It->second);
        }
    if (!Fits)
        Colors = ReduceByMedianCut(Rgb, Stride, W, H, Indices);
    int Bits = 1;
    while ((1 << Bits) < int(Colors.size()))
        ++Bits;
    Colors.resize(std::size_t(1) << Bits, GifColorType{0, 0, 0});

    std::vector<std::uint8_t> Out;
    TGifIo Io;
    Io.Out = &Out;
    int Error = 0;
    GifFileType* Gif = EGifOpen(&Io, WriteData, &Error);
    if (!Gif)
        Invalid(ErrorText(Error));
    ColorMapObject* Map = GifMakeMapObject(int(Colors.size()), Colors.data());
    EGifSetGifVersion(Gif, true);
    bool Ok = Map && EGifPutScreenDesc(Gif, W, H, Bits, 0, Map) == GIF_OK;
    if (Ok && Fits && Transparent() && FTransparentColor != clNone) {
        const COLORREF C = COLORREF(ColorToRGB(FTransparentColor));
        auto It =
            Seen.find((std::uint32_t(GetRValue(C)) << 16) | (GetGValue(C) << 8) | GetBValue(C));
        if (It != Seen.end()) {
            GraphicsControlBlock Gcb;
            Gcb.DisposalMode = DISPOSAL_UNSPECIFIED;
            Gcb.UserInputFlag = false;
            Gcb.DelayTime = 0;
            Gcb.TransparentColor = It->second;
            GifByteType Ext[4];
            EGifGCBToExtension(&Gcb, Ext);
            Ok = EGifPutExtension(Gif, GRAPHICS_EXT_FUNC_CODE, 4, Ext) == GIF_OK;
        }
    }
    Ok = Ok && EGifPutImageDesc(Gif, 0, 0, W, H, false, nullptr) == GIF_OK;
    for (int Y = 0; Ok && Y < H; ++Y)
        Ok = EGifPutLine(Gif, Indices.data() + std::size_t(Y) * W, W) == GIF_OK;
    const int Code = Gif->Error;
    GifFreeMapObject(Map);
    int CloseError = 0;
    if (EGifCloseFile(Gif, &CloseError) != GIF_OK && Ok) {
        Ok = false;
    }
    if (!Ok)
        Invalid(ErrorText(Code ? Code : CloseError));
    Stream->WriteBuffer(Out.data(), std::int64_t(Out.size()));
}

void TGIFImage::Assign(TPersistent* Source) {
    if (auto* G = dynamic_cast<TGIFImage*>(Source)) {
        FTransparentColor = G->FTransparentColor;
        FTransparent = G->FTransparent;
        SetDecoded(G->FBitmap);
        return;
    }
    if (auto* B = dynamic_cast<TBitmap*>(Source)) {
        FTransparent = B->Transparent();
        FTransparentColor = B->Transparent() ? B->TransparentColor() : clNone;
        SetDecoded(*B);
        return;
    }
    TDecodedGraphic::Assign(Source);
}

void TGIFImage::AssignTo(TPersistent* Dest) {
    TDecodedGraphic::AssignTo(Dest);
    if (auto* B = dynamic_cast<TBitmap*>(Dest); B && FTransparentColor != clNone)
        B->SetTransparentColor(FTransparentColor);
}
