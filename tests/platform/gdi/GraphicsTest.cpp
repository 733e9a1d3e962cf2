#include "platform/gdi/Graphics.h"

#include "GdiTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

TEST(Canvas, TextBackgroundFollowsTheBrush) {
    TBitmap B;
    B.SetSize(40, 20);
    TCanvas* C = B.Canvas();
    C->Brush()->SetColor(clRed);
    C->FillRect(Rect(0, 0, 40, 20));
    C->Brush()->SetColor(clBlue);
    C->TextOut(0, 0, "ab");
    const TSize Cell = C->TextExtent("ab");
    EXPECT_EQ(C->Pixels(Cell.cx - 1, Cell.cy - 1), clBlue);
    C->Brush()->SetColor(clRed);
    C->FillRect(Rect(0, 0, 40, 20));
    C->Brush()->SetStyle(bsClear);
    C->TextOut(0, 0, "ab");
    EXPECT_EQ(C->Pixels(Cell.cx - 1, Cell.cy - 1), clRed);
    EXPECT_EQ(C->PenPos(), Point(Cell.cx, 0));

    // TextRect clips to its rectangle.
    C->Brush()->SetColor(clWhite);
    C->FillRect(Rect(0, 0, 40, 20));
    C->Font()->SetColor(clBlack);
    C->Brush()->SetStyle(bsClear);
    C->TextRect(Rect(0, 0, 3, 20), 0, 0, "WWW");
    for (int Y = 0; Y < 20; ++Y)
        for (int X = 3; X < 40; ++X)
            ASSERT_EQ(C->Pixels(X, Y), clWhite) << X << "," << Y;
}

TEST(Canvas, AttachingToAForeignDcLeavesItsObjects) {
    TTestSurface S(8, 8);
    HPEN Pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    SelectObject(S.DC(), ToObj(Pen));
    const HGDIOBJ Brush = GetCurrentObject(S.DC(), OBJ_BRUSH);
    const HGDIOBJ Font = GetCurrentObject(S.DC(), OBJ_FONT);
    {
        TCanvas C;
        C.SetHandle(S.DC());
        C.Pen()->SetColor(clRed);
        C.Brush()->SetColor(clBlue);
        C.Rectangle(0, 0, 4, 4);
        C.TextWidth("x");
        EXPECT_NE(GetCurrentObject(S.DC(), OBJ_PEN), ToObj(Pen));
        C.SetHandle(0);
        EXPECT_EQ(GetCurrentObject(S.DC(), OBJ_PEN), ToObj(Pen));
        EXPECT_EQ(GetCurrentObject(S.DC(), OBJ_BRUSH), Brush);
        EXPECT_EQ(GetCurrentObject(S.DC(), OBJ_FONT), Font);
    }
    EXPECT_EQ(S.PixelAt(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(S.PixelAt(1, 1), RGB(0, 0, 255));
    SelectObject(S.DC(), GetStockObject(BLACK_PEN));
    DeleteObject(ToObj(Pen));
}

TEST(Canvas, LockIsRecursiveAndExcludesOtherThreads) {
    TBitmap B;
    TCanvas* C = B.Canvas();
    C->Lock();
    C->Lock();
    EXPECT_EQ(C->LockCount(), 2);
    std::atomic<bool> Got{true};
    std::thread([&] { Got = C->TryLock(); }).join();
    EXPECT_FALSE(Got);
    C->Unlock();
    C->Unlock();
    std::atomic<bool> Locked{false}, Release{false};
    std::thread Worker([&] {
        C->Lock();
        Locked = true;
        while (!Release)
            std::this_thread::yield();
        C->Unlock();
    });
    while (!Locked)
        std::this_thread::yield();
    EXPECT_FALSE(C->TryLock());
    Release = true;
    Worker.join();
    EXPECT_TRUE(C->TryLock());
    C->Unlock();
}

TEST(Bitmap, SetSizeKeepsTheTopLeftAndFillsWithTheBrush) {
    TBitmap B;
    B.SetPixelFormat(pf24bit);
    B.SetSize(2, 2);
    B.Canvas()->SetPixels(0, 0, clRed);
    B.Canvas()->Brush()->SetColor(clLime);
    B.SetSize(3, 3);
    EXPECT_EQ(B.Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(B.Canvas()->Pixels(2, 2), clLime);
    EXPECT_EQ(B.Canvas()->Pixels(2, 0), clLime);
    B.Canvas()->Brush()->SetStyle(bsClear);
    B.SetSize(4, 3);
    EXPECT_EQ(B.Canvas()->Pixels(3, 0), clBlack); // new memory, no fill
    EXPECT_EQ(B.Canvas()->Pixels(2, 2), clLime);
}

TEST(Bitmap, PixelFormatConvertsAndScanLinesArePadded) {
    TBitmap B;
    B.SetPixelFormat(pf24bit);
    B.SetSize(5, 2);
    EXPECT_EQ(static_cast<std::uint8_t*>(B.ScanLine(1)) - static_cast<std::uint8_t*>(B.ScanLine(0)),
              16);
    EXPECT_THROW(B.ScanLine(2), EInvalidGraphic);
    // A picture that cannot be made leaves the bitmap as it was.
    const std::uint8_t Row[4] = {};
    EXPECT_THROW(B.LoadPixels(40000, 1, pf8bit, Row, {}), EInvalidGraphic);
    EXPECT_EQ(B.Width(), 5);
    EXPECT_EQ(B.PixelFormat(), pf24bit);
    B.Canvas()->SetPixels(0, 0, TColor(RGB(250, 5, 5)));
    B.Canvas()->SetPixels(1, 0, clWhite);
    B.SetPixelFormat(pf4bit); // nearest of the 16 standard colours
    EXPECT_EQ(B.Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(B.Canvas()->Pixels(1, 0), clWhite);
    B.SetPixelFormat(pf32bit); // exact upwards
    EXPECT_EQ(B.Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(B.PixelFormat(), pf32bit);
}

TEST(Bitmap, TransparentDrawingLeavesTheKeyColour) {
    TBitmap Glyph;
    Glyph.SetPixelFormat(pf24bit);
    Glyph.SetSize(2, 2);
    Glyph.Canvas()->Brush()->SetColor(clFuchsia);
    Glyph.Canvas()->FillRect(Rect(0, 0, 2, 2));
    Glyph.Canvas()->SetPixels(1, 0, clBlue);
    Glyph.Canvas()->SetPixels(0, 0, clGreen);
    Glyph.SetTransparent(true);

    TBitmap Target;
    Target.SetSize(2, 2);
    Target.Canvas()->Brush()->SetColor(clWhite);
    Target.Canvas()->FillRect(Rect(0, 0, 2, 2));
    Target.Canvas()->Draw(0, 0, &Glyph); // tmAuto: bottom-left is fuchsia
    EXPECT_EQ(Target.Canvas()->Pixels(0, 0), clGreen);
    EXPECT_EQ(Target.Canvas()->Pixels(1, 0), clBlue);
    EXPECT_EQ(Target.Canvas()->Pixels(0, 1), clWhite);

    Glyph.SetTransparentColor(clBlue);
    Target.Canvas()->FillRect(Rect(0, 0, 2, 2));
    Target.Canvas()->Draw(0, 0, &Glyph);
    EXPECT_EQ(Target.Canvas()->Pixels(1, 0), clWhite);
    EXPECT_EQ(Target.Canvas()->Pixels(0, 1), clFuchsia);
}

TEST(Bitmap, AssignCopiesAndRefusesForeignClasses) {
    TBitmap A;
    A.SetPixelFormat(pf8bit);
    A.SetSize(3, 1);
    A.Canvas()->SetPixels(2, 0, clRed);
    A.SetTransparent(true);
    TBitmap B;
    B.Assign(&A);
    EXPECT_EQ(B.PixelFormat(), pf8bit);
    EXPECT_EQ(B.Width(), 3);
    EXPECT_TRUE(B.Transparent());
    EXPECT_EQ(B.Canvas()->Pixels(2, 0), clRed);
    TFont F;
    EXPECT_THROW(B.Assign(&F), EConvertError);
    EXPECT_EQ(B.Width(), 3);
    B.Assign(nullptr);
    EXPECT_TRUE(B.Empty());

    TPicture P;
    P.Assign(&A);
    ASSERT_NE(P.Graphic(), nullptr);
    EXPECT_EQ(P.Width(), 3);
    TBitmap C;
    C.Assign(&P);
    EXPECT_EQ(C.Canvas()->Pixels(2, 0), clRed);
}

TEST(Font, SizeAndAssign) {
    TFont F;
    EXPECT_EQ(F.Name(), "MS Sans Serif");
    EXPECT_EQ(F.Height(), -11);
    EXPECT_EQ(F.Size(), 8);
    F.SetSize(10);
    EXPECT_EQ(F.Height(), -13);
    int Changes = 0;
    TFont G;
    G.OnChange = [&](TObject*) { ++Changes; };
    G.Assign(&F);
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(G.Height(), -13);
    TBrush Brush;
    Brush.SetStyle(bsClear);
    Brush.SetColor(clRed);
    EXPECT_EQ(Brush.Style(), bsSolid);
}

TEST(Resources, RegisteredPicturesLoadByName) {
    TBitmap Source;
    Source.SetPixelFormat(pf24bit);
    Source.SetSize(2, 1);
    Source.Canvas()->SetPixels(1, 0, clRed);
    TMemoryStream M;
    Source.SaveToStream(&M);
    std::vector<std::uint8_t> Bytes(std::size_t(M.Size()));
    M.SetPosition(0);
    M.ReadBuffer(Bytes.data(), M.Size());
    RegisterResource("BS_TEST", Bytes);
    TBitmap B;
    B.LoadFromResourceName(nullptr, "BS_TEST");
    EXPECT_EQ(B.Canvas()->Pixels(1, 0), clRed);
    try {
        B.LoadFromResourceName(nullptr, "BS_MISSING");
        FAIL();
    } catch (const EResNotFound& E) {
        EXPECT_EQ(E.Message(), "Resource BS_MISSING not found");
    }
}
