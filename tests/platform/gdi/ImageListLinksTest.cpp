// Image lists: change links, inserting and moving images, unmasked drawing.
#include "platform/core/Exceptions.h"
#include "platform/gdi/ImageList.h"
#include "tests/platform/gdi/GdiTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A strip of 1 x 1 images, one per colour.
void AddColours(TCustomImageList& List, const std::vector<TColor>& Colours) {
    TBitmap Strip;
    Strip.SetPixelFormat(pf24bit);
    Strip.SetSize(int(Colours.size()), 1);
    for (std::size_t I = 0; I < Colours.size(); ++I)
        Strip.Canvas()->SetPixels(int(I), 0, Colours[I]);
    List.Add(&Strip, nullptr);
}

// The colours of the images in order, one letter each.
std::string Order(const TCustomImageList& List) {
    std::string Out;
    for (int I = 0; I < List.Count(); ++I) {
        switch (List.Image(I)->At(0, 0) & 0xFFFFFF) {
        case 0xFF0000:
            Out += 'r';
            break;
        case 0x00FF00:
            Out += 'g';
            break;
        case 0x0000FF:
            Out += 'b';
            break;
        default:
            Out += '?';
        }
    }
    return Out;
}

TImageList* MakeList() {
    auto* List = new TImageList(nullptr);
    List->SetWidth(1);
    List->SetHeight(1);
    return List;
}

} // namespace

TEST(ImageListLinks, LinksHearEveryChangeBeforeTheListsOwnHandler) {
    std::unique_ptr<TImageList> List(MakeList());
    std::vector<std::string> Heard;
    List->OnChange = [&](TObject* Sender) {
        EXPECT_EQ(Sender, List.get());
        Heard.push_back("list");
    };
    TChangeLink A, B;
    A.OnChange = [&](TObject* Sender) {
        EXPECT_EQ(Sender, List.get());
        Heard.push_back("A");
    };
    B.OnChange = [&](TObject*) { Heard.push_back("B"); };
    List->RegisterChanges(&A);
    List->RegisterChanges(&B);
    List->RegisterChanges(&A); // twice is once
    EXPECT_EQ(A.Sender(), List.get());

    TBitmap One;
    One.SetSize(1, 1);
    const std::vector<std::pair<const char*, std::function<void()>>> Changes = {
        {"Add",
         [&] {
             AddColours(*List, {clRed, clLime});
         }},
        {"Insert", [&] { List->Insert(0, &One, nullptr); }},
        {"Move", [&] { List->Move(0, 2); }},
        {"Replace", [&] { List->Replace(1, &One, nullptr); }},
        {"Delete", [&] { List->Delete(0); }},
        {"BkColor", [&] { List->SetBkColor(clWhite); }},
        {"Masked", [&] { List->SetMasked(false); }},
        {"Clear", [&] { List->Clear(); }},
    };
    for (const auto& [Name, Change] : Changes) {
        Heard.clear();
        Change();
        EXPECT_EQ(Heard, (std::vector<std::string>{"A", "B", "list"})) << Name;
    }

    // A link freed or unregistered hears nothing more; one that unregisters
    // another from its handler keeps that one from being called.
    {
        TChangeLink Gone;
        Gone.OnChange = [&](TObject*) { Heard.push_back("gone"); };
        List->RegisterChanges(&Gone);
    }
    A.OnChange = [&](TObject*) {
        Heard.push_back("A");
        List->UnRegisterChanges(&B);
    };
    Heard.clear();
    AddColours(*List, {clBlue});
    EXPECT_EQ(Heard, (std::vector<std::string>{"A", "list"}));
    EXPECT_EQ(B.Sender(), nullptr);

    // Registering with another list moves the link.
    std::unique_ptr<TImageList> Other(MakeList());
    Other->RegisterChanges(&A);
    EXPECT_EQ(A.Sender(), Other.get());
    Heard.clear();
    List->Clear();
    EXPECT_EQ(Heard, (std::vector<std::string>{"list"}));
}

TEST(ImageListLinks, AFreedListLeavesItsLinksWithoutASender) {
    auto* List = MakeList();
    TChangeLink A, B;
    List->RegisterChanges(&A);
    List->RegisterChanges(&B);
    delete List;
    EXPECT_EQ(A.Sender(), nullptr);
    EXPECT_EQ(B.Sender(), nullptr);
    // Freeing the links afterwards touches no freed list (sanitizer build).
}

TEST(ImageListLinks, InsertAndMoveKeepTheOtherImagesInOrder) {
    std::unique_ptr<TImageList> List(MakeList());
    AddColours(*List, {clRed, clLime});
    TBitmap Blue;
    Blue.SetPixelFormat(pf24bit);
    Blue.SetSize(1, 1);
    Blue.Canvas()->SetPixels(0, 0, clBlue);
    List->Insert(1, &Blue, nullptr);
    EXPECT_EQ(Order(*List), "rbg");
    List->Insert(3, &Blue, nullptr); // at the end
    EXPECT_EQ(Order(*List), "rbgb");
    List->Move(0, 3);
    EXPECT_EQ(Order(*List), "bgbr");
    List->Move(3, 1);
    EXPECT_EQ(Order(*List), "brgb");

    // Out of range: an error, the list and its listeners untouched.
    int Changes = 0;
    List->OnChange = [&](TObject*) { ++Changes; };
    EXPECT_THROW(List->Insert(-1, &Blue, nullptr), EInvalidOperation);
    EXPECT_THROW(List->Insert(5, &Blue, nullptr), EInvalidOperation);
    EXPECT_THROW(List->Move(0, 4), EInvalidOperation);
    EXPECT_THROW(List->Move(-1, 0), EInvalidOperation);
    EXPECT_EQ(Order(*List), "brgb");
    EXPECT_EQ(Changes, 0);
    // Nothing to insert, or a move onto itself: no change.
    TBitmap Empty;
    List->Insert(0, &Empty, nullptr);
    List->Move(2, 2);
    EXPECT_EQ(Changes, 0);
}

TEST(ImageListLinks, AnUnmaskedListDrawsItsImagesOpaque) {
    std::unique_ptr<TImageList> List(MakeList());
    List->SetWidth(2);
    TBitmap Strip;
    Strip.SetPixelFormat(pf24bit);
    Strip.SetSize(2, 1);
    Strip.Canvas()->SetPixels(0, 0, clRed);
    Strip.Canvas()->SetPixels(1, 0, clFuchsia);
    List->AddMasked(&Strip, clFuchsia);
    EXPECT_TRUE(List->Masked());
    const std::map<COLORREF, char> Legend{
        {RGB(255, 0, 0), 'r'}, {RGB(255, 0, 255), 'f'}, {RGB(1, 1, 1), '_'}};
    TTestSurface S(3, 1, RGB(1, 1, 1));
    TCanvas C;
    C.SetHandle(S.DC());
    List->Draw(&C, 0, 0, 0);
    EXPECT_EQ(S.Picture(Legend), Rows({"r__"}));
    List->SetMasked(false);
    S.Fill(RGB(1, 1, 1));
    List->Draw(&C, 0, 0, 0);
    EXPECT_EQ(S.Picture(Legend), Rows({"rf_"}));
    C.SetHandle(nullptr);

    List->SetAllocBy(0);
    EXPECT_EQ(List->AllocBy(), 1);
}
