#include "GdiTestSupport.h"
#include "platform/gdi/ImageList.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TArgbImage Solid(int Size, std::uint32_t Argb) {
    TArgbImage I;
    I.Width = I.Height = Size;
    I.Pixels.assign(std::size_t(Size * Size), Argb);
    return I;
}

void Put32(std::vector<std::uint8_t>& Out, std::uint32_t V, int Size = 4) {
    for (int i = 0; i < Size; ++i)
        Out.push_back(std::uint8_t(V >> (8 * i)));
}

// An ICO file with one 24-bit image (and mask) per size; the mask clears (0,0).
std::vector<std::uint8_t> TwoSizeIco() {
    struct Entry {
        int Size;
        std::uint32_t Color;
    };
    const Entry Entries[] = {{16, 0xFF0000}, {32, 0x0000FF}};
    std::vector<std::vector<std::uint8_t>> Images;
    for (const Entry& E : Entries) {
        std::vector<std::uint8_t> D;
        Put32(D, 40);
        Put32(D, std::uint32_t(E.Size));
        Put32(D, std::uint32_t(E.Size * 2));
        Put32(D, 1, 2);
        Put32(D, 24, 2);
        for (int i = 0; i < 6; ++i)
            Put32(D, 0);
        const int Stride = ((E.Size * 3 + 3) / 4) * 4;
        for (int Y = 0; Y < E.Size; ++Y) {
            for (int X = 0; X < E.Size; ++X)
                Put32(D, E.Color, 3);
            for (int P = E.Size * 3; P < Stride; ++P)
                D.push_back(0);
        }
        const int MaskStride = ((E.Size + 31) / 32) * 4;
        for (int Y = 0; Y < E.Size; ++Y)
            for (int B = 0; B < MaskStride; ++B)
                D.push_back(Y == E.Size - 1 && B == 0 ? 0x80 : 0); // top row, first pixel
        Images.push_back(D);
    }
    std::vector<std::uint8_t> File;
    Put32(File, 0, 2);
    Put32(File, 1, 2);
    Put32(File, 2, 2);
    std::uint32_t Offset = 6 + 16 * 2;
    for (std::size_t i = 0; i < 2; ++i) {
        File.push_back(std::uint8_t(Entries[i].Size));
        File.push_back(std::uint8_t(Entries[i].Size));
        File.push_back(0);
        File.push_back(0);
        Put32(File, 1, 2);
        Put32(File, 24, 2);
        Put32(File, std::uint32_t(Images[i].size()));
        Put32(File, Offset);
        Offset += std::uint32_t(Images[i].size());
    }
    for (const auto& I : Images)
        File.insert(File.end(), I.begin(), I.end());
    return File;
}

} // namespace

TEST(Icon, ReadsEveryImageDrawsTheLargeOneAndCopiesTheSmallOne) {
    const auto Bytes = TwoSizeIco();
    TMemoryStream M;
    M.WriteBuffer(Bytes.data(), std::int64_t(Bytes.size()));
    M.SetPosition(0);
    TIcon Icon;
    Icon.LoadFromStream(&M);
    EXPECT_EQ(Icon.Images().size(), 2u);
    EXPECT_EQ(Icon.Width(), 32);
    TTestSurface S(40, 40);
    ASSERT_TRUE(DrawIconEx(S.DC(), 0, 0, Icon.Handle(), 0, 0, 0, 0, DI_NORMAL));
    EXPECT_EQ(S.PixelAt(5, 5), RGB(0, 0, 255));     // the 32 x 32 image is blue
    EXPECT_EQ(S.PixelAt(0, 0), RGB(255, 255, 255)); // masked out
    EXPECT_EQ(S.PixelAt(32, 5), RGB(255, 255, 255));

    HICON Small = CopyImage(Icon.Handle(), IMAGE_ICON, 16, 16, LR_COPYFROMRESOURCE);
    ASSERT_NE(Small, nullptr);
    ICONINFO Info;
    ASSERT_TRUE(GetIconInfo(Small, &Info));
    BITMAP Bm;
    GetObject(ToObj(Info.hbmColor), sizeof(Bm), &Bm);
    EXPECT_EQ(Bm.bmWidth, 16);
    TArgbImage Pixels = BitmapToArgb(Info.hbmColor);
    EXPECT_EQ(Pixels.At(3, 3) & 0xFFFFFF, 0xFF0000u); // the 16 x 16 image is red
    DeleteObject(ToObj(Info.hbmColor));
    DeleteObject(ToObj(Info.hbmMask));
    DestroyIcon(Small);
    EXPECT_FALSE(DestroyIcon(Small));

    // What it writes it reads back.
    TMemoryStream Out;
    Icon.SaveToStream(&Out);
    Out.SetPosition(0);
    TIcon Again;
    Again.LoadFromStream(&Out);
    ASSERT_EQ(Again.Images().size(), 1u);
    EXPECT_EQ(Again.Images()[0].Pixels, Icon.Images()[1].Pixels);

    std::vector<std::uint8_t> Bad(Bytes.begin(), Bytes.begin() + 40);
    TMemoryStream B;
    B.WriteBuffer(Bad.data(), std::int64_t(Bad.size()));
    B.SetPosition(0);
    EXPECT_THROW(Again.LoadFromStream(&B), EInvalidGraphic);
    EXPECT_EQ(Again.Images().size(), 1u);
}

TEST(Icon, StockIconsAreDistinctAndHaveTransparentCorners) {
    std::set<std::vector<std::uint32_t>> Seen;
    for (std::uintptr_t Id :
         {IDI_APPLICATION, IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION, IDI_ASTERISK}) {
        HICON I = LoadIcon(0, Id);
        ASSERT_NE(I, nullptr) << Id;
        EXPECT_EQ(LoadIcon(0, Id), I);
        TIcon T;
        T.SetHandle(I);
        ASSERT_EQ(T.Images().size(), 2u);
        for (const TArgbImage& Img : T.Images()) {
            EXPECT_EQ(Img.At(0, 0) >> 24, 0u) << Id;
            EXPECT_EQ(Img.At(Img.Width - 1, 0) >> 24, 0u) << Id;
            int Opaque = 0;
            for (std::uint32_t P : Img.Pixels)
                Opaque += (P >> 24) == 255;
            EXPECT_GT(Opaque, Img.Width * Img.Height / 4) << Id;
        }
        Seen.insert(T.Images()[0].Pixels);
    }
    EXPECT_EQ(Seen.size(), 5u);
}

TEST(Icon, DrawIconExBlendsByAlpha) {
    TArgbImage Half = Solid(2, 0x80FF0000);
    HICON I = CreateIconFromImages({Half});
    TTestSurface S(4, 4);
    DrawIconEx(S.DC(), 1, 1, I, 0, 0, 0, 0, DI_NORMAL);
    EXPECT_EQ(S.PixelAt(1, 1), RGB(255, 127, 127));
    EXPECT_EQ(S.PixelAt(0, 0), RGB(255, 255, 255));
    DrawIconEx(S.DC(), 0, 0, I, 4, 4, 0, 0, DI_NORMAL); // scaled
    EXPECT_EQ(S.PixelAt(3, 3), RGB(255, 127, 127));
    DestroyIcon(I);
}

TEST(ImageList, MaskedImagesDrawEnabledDisabledAndOverBkColor) {
    TImageList List(nullptr);
    List.SetWidth(3);
    List.SetHeight(2);
    TBitmap Strip;
    Strip.SetPixelFormat(pf24bit);
    Strip.SetSize(6, 2);
    Strip.Canvas()->Brush()->SetColor(clFuchsia);
    Strip.Canvas()->FillRect(Rect(0, 0, 6, 2));
    Strip.Canvas()->SetPixels(0, 0, clRed);
    Strip.Canvas()->SetPixels(1, 1, clWhite);
    Strip.Canvas()->SetPixels(4, 0, clBlue);
    EXPECT_EQ(List.AddMasked(&Strip, clFuchsia), 0);
    EXPECT_EQ(List.Count(), 2);

    const std::map<COLORREF, char> Legend{{RGB(255, 0, 0), 'r'},
                                          {RGB(0, 0, 255), 'b'},
                                          {RGB(0, 255, 0), 'g'},
                                          {RGB(128, 128, 128), 's'},
                                          {RGB(1, 1, 1), '_'}};
    TTestSurface S(5, 4, RGB(1, 1, 1));
    TCanvas C;
    C.SetHandle(S.DC());
    List.Draw(&C, 0, 0, 0);
    List.Draw(&C, 99, 0, 7); // outside the list: nothing
    EXPECT_EQ(S.Picture(Legend), Rows({"r____", "_.___", "_____", "_____"}));

    // Disabled: highlight (white) at +1, +1, then shadow; white pixels skipped.
    S.Fill(RGB(1, 1, 1));
    List.Draw(&C, 0, 0, 0, false);
    EXPECT_EQ(S.Picture(Legend), Rows({"s____", "_.___", "_____", "_____"}));
    S.Fill(RGB(1, 1, 1));
    List.Draw(&C, 0, 0, 1, false);
    EXPECT_EQ(S.Picture(Legend), Rows({"_s___", "__.__", "_____", "_____"}));

    S.Fill(RGB(1, 1, 1));
    List.SetBkColor(clLime);
    List.Draw(&C, 1, 1, 1);
    EXPECT_EQ(S.Picture(Legend), Rows({"_____", "_gbg_", "_ggg_", "_____"}));

    // The flat interface draws transparently with CLR_NONE whatever BkColor says.
    S.Fill(RGB(1, 1, 1));
    EXPECT_TRUE(
        ImageList_DrawEx(List.Handle(), 1, S.DC(), 0, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_NORMAL));
    EXPECT_EQ(S.Picture(Legend), Rows({"_b___", "_____", "_____", "_____"}));
    int CX, CY;
    ASSERT_TRUE(ImageList_GetIconSize(List.Handle(), &CX, &CY));
    EXPECT_EQ(CX, 3);
    EXPECT_EQ(CY, 2);

    TIcon Icon;
    List.GetIcon(0, &Icon);
    EXPECT_EQ(Icon.Width(), 3);
    EXPECT_EQ(Icon.Images()[0].At(0, 0), 0xFFFF0000u);
    EXPECT_EQ(Icon.Images()[0].At(2, 0) >> 24, 0u);
    C.SetHandle(0);
}
