#include "platform/gdi/BmpCodec.h"
#include "platform/gdi/Graphics.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::vector<std::uint8_t> Bytes(TMemoryStream& M) {
    std::vector<std::uint8_t> Out(std::size_t(M.Size()));
    M.SetPosition(0);
    M.ReadBuffer(Out.data(), M.Size());
    return Out;
}

void Put(std::vector<std::uint8_t>& B, std::size_t At, std::uint32_t V, int Size = 4) {
    for (int i = 0; i < Size; ++i)
        B.at(At + std::size_t(i)) = std::uint8_t(V >> (8 * i));
}

TMemoryStream StreamOf(const std::vector<std::uint8_t>& B) {
    TMemoryStream M;
    M.WriteBuffer(B.data(), std::int64_t(B.size()));
    M.SetPosition(0);
    return M;
}

// A 7 x 3 picture of the given depth with a pattern of known colours.
void Paint(TBitmap& B, TPixelFormat F) {
    B.SetPixelFormat(F);
    B.SetSize(7, 3);
    const TColor Colors[] = {clBlack, clWhite, clRed, clBlue, clLime, clYellow, clNavy};
    for (int Y = 0; Y < 3; ++Y)
        for (int X = 0; X < 7; ++X)
            B.Canvas()->SetPixels(
                X, Y, F == pf1bit ? ((X + Y) % 2 ? clWhite : clBlack) : Colors[(X + Y) % 7]);
}

} // namespace

TEST(Bmp, RoundTripsEveryDepthWithOddWidths) {
    for (TPixelFormat F : {pf1bit, pf4bit, pf8bit, pf24bit, pf32bit}) {
        TBitmap A;
        Paint(A, F);
        TMemoryStream M;
        A.SaveToStream(&M);
        const auto File = Bytes(M);
        EXPECT_EQ(File.size(), File[2] | (File[3] << 8) | (File[4] << 16)); // bfSize
        M.SetPosition(0);
        TBitmap B;
        B.LoadFromStream(&M);
        EXPECT_EQ(B.PixelFormat(), F);
        EXPECT_EQ(B.ColorTable().size(), A.ColorTable().size());
        for (int Y = 0; Y < 3; ++Y)
            for (int X = 0; X < 7; ++X)
                ASSERT_EQ(B.Canvas()->Pixels(X, Y), A.Canvas()->Pixels(X, Y)) << F << " " << X;
        EXPECT_EQ(std::memcmp(B.ScanLine(2), A.ScanLine(2), std::size_t(A.RowSize())), 0);
    }
}

TEST(Bmp, ReadsTopDownAndV5HeadersAndPicturesInTurn) {
    TBitmap A;
    Paint(A, pf24bit);
    TMemoryStream M;
    A.SaveToStream(&M);
    auto File = Bytes(M);
    // The same picture as a top-down file with a 124-byte header.
    std::vector<std::uint8_t> V5(File.begin(), File.begin() + 14);
    V5.resize(14 + 124, 0);
    std::memcpy(V5.data() + 14, File.data() + 14, 40);
    Put(V5, 14, 124);
    Put(V5, 22, std::uint32_t(-3));
    const std::size_t Stride = 24;
    for (int Y = 0; Y < 3; ++Y) {
        const auto* Row = File.data() + 54 + (2 - Y) * Stride;
        V5.insert(V5.end(), Row, Row + Stride);
    }
    Put(V5, 2, std::uint32_t(V5.size()));
    Put(V5, 10, 14 + 124);

    // Two pictures one after the other; each read takes exactly its bfSize.
    std::vector<std::uint8_t> Both = V5;
    Both.insert(Both.end(), File.begin(), File.end());
    TMemoryStream S = StreamOf(Both);
    TBitmap B, C;
    B.LoadFromStream(&S);
    EXPECT_EQ(S.Position(), std::int64_t(V5.size()));
    C.LoadFromStream(&S);
    EXPECT_EQ(S.Position(), S.Size());
    for (int X = 0; X < 7; ++X) {
        EXPECT_EQ(B.Canvas()->Pixels(X, 0), A.Canvas()->Pixels(X, 0));
        EXPECT_EQ(C.Canvas()->Pixels(X, 2), A.Canvas()->Pixels(X, 2));
    }
}

TEST(Bmp, DamagedFilesRaiseAndLeaveTheBitmap) {
    TBitmap A;
    Paint(A, pf8bit);
    TMemoryStream M;
    A.SaveToStream(&M);
    const auto Good = Bytes(M);
    struct Row {
        const char* Name;
        std::vector<std::uint8_t> File;
    };
    auto With = [&](std::size_t At, std::uint32_t V, int Size = 4) {
        auto B = Good;
        Put(B, At, V, Size);
        return B;
    };
    const Row Rows[] = {
        {"signature", With(0, 'X', 1)},
        {"truncated header", std::vector<std::uint8_t>(Good.begin(), Good.begin() + 30)},
        {"bfSize 20", With(2, 20)},
        {"width 0", With(18, 0)},
        {"width 100000", With(18, 100000)},
        {"16 bits", With(28, 16, 2)},
        {"RLE", With(30, BI_RLE8)},
        {"header size", With(14, 64)},
        {"planes", With(26, 2, 2)},
        {"pixel data cut short", std::vector<std::uint8_t>(Good.begin(), Good.end() - 5)},
    };
    for (const Row& R : Rows) {
        TBitmap B;
        Paint(B, pf24bit);
        TMemoryStream S = StreamOf(R.File);
        try {
            B.LoadFromStream(&S);
            ADD_FAILURE() << R.Name << " was accepted";
        } catch (const EInvalidGraphic& E) {
            EXPECT_EQ(E.Message().rfind("Bitmap image is not valid: ", 0), 0u) << E.Message();
        }
        EXPECT_EQ(B.Width(), 7) << R.Name;
        EXPECT_EQ(B.PixelFormat(), pf24bit) << R.Name;
        EXPECT_EQ(B.Canvas()->Pixels(1, 0), clWhite) << R.Name;
    }
}
