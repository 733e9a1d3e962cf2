// Frame-hook libraries, the custom hook and deinterlacing on decoded pictures.
#include "platform/core/StringLists.h"
#include "platform/core/Strings.h"
#include "platform/gdi/Graphics.h"
#include "tests/media/HookTestEngine.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

std::string HookPath(const std::string& AName) {
    return std::string(OSTRELA_TEST_HOOKS_DIR) + "/libtesthook_" + AName + ".so";
}

std::vector<std::string> ReadLines(const std::string& AFileName) {
    std::ifstream In(AFileName);
    std::vector<std::string> Lines;
    for (std::string Line; std::getline(In, Line);)
        Lines.push_back(Line);
    return Lines;
}

// The loaded libraries whose names equal AName without regard to case.
int LoadedAs(const std::string& AName) {
    std::lock_guard Guard(FrameHookLibrariesLock());
    TStringList* List = FrameHookLibraries();
    int Count = 0;
    for (int I = 0; List && I < List->Count(); ++I)
        Count += SameText(List->Strings(I), AName);
    return Count;
}

class FrameHookTest : public HookEngineTest {
protected:
    std::string Log = Temp.File("hook.log");

    // A picture whose plane bytes differ from place to place.
    static TFramePtr Pattern(AVPixelFormat AFormat, int AWidth, int AHeight) {
        return MakeFrame(AFormat, AWidth, AHeight,
                         [](int P, int X, int Y) { return (X * 7 + Y * 13 + P * 50) % 256; });
    }
};

TEST_F(FrameHookTest, RefusedHooksReturnTheirCodeLogTheReasonAndTheOptionRaises) {
    setenv("OSTRELA_TEST_HOOK_LOG", Log.c_str(), 1);
    struct TCase {
        std::string Words;
        int Result;
        std::string Logged; // at FFmpeg's error level
    };
    const std::string Missing = Temp.File("libnothere.so");
    const std::vector<TCase> Cases = {
        {HookPath("noconf") + " arg", -2,
         "Failed to find Configure entrypoint in " + HookPath("noconf")},
        {HookPath("refuse"), -22, "Failed to Configure " + HookPath("refuse")},
        {HookPath("noproc"), -2, "Failed to find Process entrypoint in " + HookPath("noproc")},
        {Missing, -1, Missing + ": cannot open shared object file: No such file or directory"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Words);
        ClearAll();
        std::vector<std::string> Words = SplitHookArgs(Case.Words);
        std::vector<char*> Argv;
        for (std::string& Word : Words)
            Argv.push_back(Word.data());
        Argv.push_back(nullptr);
        PFrameHookEntry Chain = nullptr;
        EXPECT_EQ(AddFrameHook(Chain, int(Words.size()), Argv.data()), Case.Result);
        EXPECT_EQ(Chain, nullptr);
        EXPECT_EQ(CountAll(llError, Case.Logged), 1);

        try {
            Engine->ParseOption("vhook", Case.Words);
            ADD_FAILURE() << "accepted";
        } catch (const FFmpegException& E) {
            EXPECT_EQ(E.Message(), "Failed to add video hook function: " + Case.Words);
        }
        EXPECT_FALSE(Hooked->Fusing_vhook);
        EXPECT_EQ(Hooked->FFirstHook, nullptr);
    }
    PFrameHookEntry Chain = nullptr;
    EXPECT_EQ(AddFrameHook(Chain, 0, nullptr), -2);
    unsetenv("OSTRELA_TEST_HOOK_LOG");
}

TEST_F(FrameHookTest, AHookWithoutConfigureTakesNoWordsAndProcessesEachPicture) {
    setenv("OSTRELA_TEST_HOOK_LOG", Log.c_str(), 1);
    Engine->ParseOption("vhook", HookPath("noconf"));
    EXPECT_TRUE(Hooked->Fusing_vhook);
    TFramePtr Frame = Pattern(AV_PIX_FMT_YUV420P, 64, 48);
    Hooked->Process(Frame.get(), 40000);
    Hooked->Process(Frame.get(), 80000);
    unsetenv("OSTRELA_TEST_HOOK_LOG");
    EXPECT_EQ(ReadLines(Log), (std::vector<std::string>{"Process 40000 0 64x48 ctx=null",
                                                        "Process 80000 0 64x48 ctx=null"}));
}

TEST_F(FrameHookTest, TheChainWorksOnACopyConfiguredOnceAndReleasedWithTheJob) {
    const std::string Words = HookPath("invert") + " " + Log + " a b";
    Engine->ParseOption("vhook", Words);
    ASSERT_TRUE(Hooked->Fusing_vhook);
    TFramePtr Frame = Pattern(AV_PIX_FMT_YUV420P, 320, 240);
    const TFramePtr Original = Pattern(AV_PIX_FMT_YUV420P, 320, 240);
    AVFrame* Out = nullptr;
    for (std::int64_t PTS : {0, 40000, 80000})
        Out = Hooked->Process(Frame.get(), PTS);
    ASSERT_NE(Out->data[0], Frame->data[0]);
    // Three inversions: plane 0 inverted, the others as they were; the
    // decoder's frame is never written.
    for (int Y = 0; Y < 240; ++Y)
        for (int X = 0; X < 320; ++X) {
            ASSERT_EQ(ByteAt(Out, 0, X, Y), 255 - ByteAt(Original.get(), 0, X, Y));
            ASSERT_EQ(ByteAt(Frame.get(), 0, X, Y), ByteAt(Original.get(), 0, X, Y));
        }
    EXPECT_EQ(ByteAt(Out, 1, 5, 7), ByteAt(Original.get(), 1, 5, 7));
    EXPECT_EQ(Out->pts, Frame->pts);
    EXPECT_EQ(Hooked->FHookFrameNumber, 3);

    Hooked->ReleaseAll();
    EXPECT_EQ(Hooked->FFirstHook, nullptr);
    EXPECT_EQ(ReadLines(Log),
              (std::vector<std::string>{"Configure " + Words + " high=63 end=null",
                                        "Process 0 0 320x240", "Process 40000 0 320x240",
                                        "Process 80000 0 320x240", "Release"}));
}

TEST_F(FrameHookTest, ALibraryNamedTwiceInAnyCaseIsLoadedOnceWithAContextPerHook) {
    const std::string Path = HookPath("invert");
    std::string Shouted = Path;
    Shouted.replace(Shouted.size() - 9, 6, "INVERT");
    Engine->ParseOption("vhook", Path + " " + Log + " first");
    Engine->ParseOption("vhook", Shouted + " " + Log + " second");
    THookEngine Other(1);
    Other.ResetJob();
    Other.ParseOption("vhook", Path + " " + Log + " third");
    EXPECT_EQ(LoadedAs(Path), 1);

    // Two hooks in one chain invert twice.
    TFramePtr Frame = Pattern(AV_PIX_FMT_GRAY8, 16, 16);
    AVFrame* Out = Hooked->Process(Frame.get(), 0);
    EXPECT_EQ(ByteAt(Out, 0, 3, 3), ByteAt(Frame.get(), 0, 3, 3));
    Hooked->ReleaseAll();
    Other.ReleaseAll();
    std::vector<std::string> Lines = ReadLines(Log);
    ASSERT_EQ(Lines.size(), 8u);
    EXPECT_NE(Lines[0].find(" first "), std::string::npos);
    EXPECT_NE(Lines[1].find(" second "), std::string::npos);
    EXPECT_NE(Lines[2].find(" third "), std::string::npos);
    EXPECT_EQ(std::count(Lines.begin(), Lines.end(), "Release"), 3);
}

TEST_F(FrameHookTest, TheHookBufferOnlyGrowsAcrossPictureSizes) {
    Engine->ParseOption("vhook", HookPath("invert") + " " + Log);
    TFramePtr Large = Pattern(AV_PIX_FMT_YUV420P, 320, 240);
    TFramePtr Small = Pattern(AV_PIX_FMT_YUV420P, 176, 144);
    AVFrame* Out = Hooked->Process(Large.get(), 0);
    const int Size = Hooked->FHookBufSize;
    EXPECT_EQ(Size, 320 * 240 * 3 / 2);
    Out = Hooked->Process(Small.get(), 0);
    EXPECT_EQ(Hooked->FHookBufSize, Size);
    ASSERT_EQ(Out->width, 176);
    for (int Y = 0; Y < 144; ++Y)
        for (int X = 0; X < 176; ++X)
            ASSERT_EQ(ByteAt(Out, 0, X, Y), 255 - ByteAt(Small.get(), 0, X, Y));
    EXPECT_EQ(ByteAt(Out, 2, 87, 71), ByteAt(Small.get(), 2, 87, 71));
}

TEST_F(FrameHookTest, ACopiedVideoStreamCountsItsPacketsAsPictures) {
    ASSERT_TRUE(Engine->OpenInputFile(Clip("clip25.mp4")));
    Engine->ParseOption("vcodec", "copy");
    ASSERT_GE(Engine->OpenOutputFile(Temp.File("copy.mkv")), 0) << Engine->LastErrMsg();
    Engine->StartConvert(false);
    ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    EXPECT_EQ(Hooked->FHookFrameNumber, 10); // 0.4 s at 25 frames a second
}

TEST_F(FrameHookTest, WithoutHooksThePictureIsNotCopiedButStillCounted) {
    TFramePtr Frame = Pattern(AV_PIX_FMT_YUV420P, 64, 48);
    EXPECT_EQ(Hooked->Process(Frame.get(), 0)->data[0], Frame->data[0]);
    Hooked->PreProcessPicture(nullptr, nullptr); // a copied stream
    EXPECT_EQ(Hooked->FHookFrameNumber, 2);
    EXPECT_EQ(Hooked->FHookBuf, nullptr);
}

// ---- The custom hook --------------------------------------------------------------

class CustomHookTest : public FrameHookTest {
protected:
    int Calls = 0;
    std::vector<int> Numbers;

    // Paints a red 16x16 square at the top left.
    static void PaintRed(TBitmap* ABitmap) {
        ABitmap->Canvas()->Brush()->SetStyle(bsSolid);
        ABitmap->Canvas()->Brush()->SetColor(clRed);
        ABitmap->Canvas()->FillRect(TRect(0, 0, 16, 16));
    }
    static bool IsRed(const AVFrame* AFrame, int X, int Y) {
        return ByteAt(AFrame, 0, X * 3, Y) == 0 && ByteAt(AFrame, 0, X * 3 + 1, Y) == 0 &&
               ByteAt(AFrame, 0, X * 3 + 2, Y) == 255;
    }
    // Every byte of plane 0 outside the square equals the original's.
    static void ExpectUnchangedOutsideSquare(const AVFrame* AOut, const AVFrame* AOriginal,
                                             int ASquare) {
        for (int Y = 0; Y < AOut->height; ++Y)
            for (int X = 0; X < AOut->width * 3; ++X)
                if (Y >= ASquare || X >= ASquare * 3) {
                    ASSERT_EQ(ByteAt(AOut, 0, X, Y), ByteAt(AOriginal, 0, X, Y)) << X << "," << Y;
                }
    }
};

TEST_F(CustomHookTest, APaintedSquareIsWrittenBackExactlyForBGRPictures) {
    // 66 wide: rows of the picture are not the bitmap's padded rows.
    for (int Width : {64, 66}) {
        SCOPED_TRACE(Width);
        Engine->ResetJob();
        Engine->SetOnCustomHook([&](TObject* Sender, TBitmap* ABitmap, int AFrameNumber,
                                    std::int64_t APTS, bool& AUpdate, bool& AStopHook) {
            EXPECT_EQ(Sender, Engine.get());
            EXPECT_TRUE(AUpdate);
            EXPECT_FALSE(AStopHook);
            EXPECT_EQ(APTS, 120000);
            Numbers.push_back(AFrameNumber);
            PaintRed(ABitmap);
        });
        TFramePtr Frame = Pattern(AV_PIX_FMT_BGR24, Width, 48);
        const TFramePtr Original = Pattern(AV_PIX_FMT_BGR24, Width, 48);
        AVFrame* Out = nullptr;
        for (int I = 0; I < 2; ++I)
            Out = Hooked->Process(Frame.get(), 120000);
        EXPECT_TRUE(IsRed(Out, 0, 0) && IsRed(Out, 15, 15));
        EXPECT_FALSE(IsRed(Out, 16, 15));
        ExpectUnchangedOutsideSquare(Out, Original.get(), 16);
        ExpectUnchangedOutsideSquare(Frame.get(), Original.get(), 0);
    }
    EXPECT_EQ(Numbers, (std::vector<int>{1, 2, 1, 2}));
}

TEST_F(CustomHookTest, YUVPicturesGoThroughRGBAndBack) {
    Engine->SetOnCustomHook(
        [&](TObject*, TBitmap* ABitmap, int, std::int64_t, bool&, bool&) { PaintRed(ABitmap); });
    TFramePtr Frame =
        MakeFrame(AV_PIX_FMT_YUV444P, 64, 48, [](int P, int, int) { return P == 0 ? 128 : 128; });
    AVFrame* Out = Hooked->Process(Frame.get(), 0);
    // Red is Y 81, U 90, V 240 in limited range; grey stays grey.
    EXPECT_NEAR(ByteAt(Out, 0, 2, 2), 81, 2);
    EXPECT_NEAR(ByteAt(Out, 1, 2, 2), 90, 2);
    EXPECT_NEAR(ByteAt(Out, 2, 2, 2), 240, 2);
    EXPECT_NEAR(ByteAt(Out, 0, 40, 40), 128, 2);
    EXPECT_NEAR(ByteAt(Out, 2, 40, 40), 128, 2);
}

TEST_F(CustomHookTest, StoppingKeepsThatPictureAndEndsTheHookForTheJob) {
    Engine->ParseOption("vhook", HookPath("invert") + " " + Log);
    Engine->SetOnCustomHook(
        [&](TObject*, TBitmap* ABitmap, int AFrameNumber, std::int64_t, bool&, bool& AStopHook) {
            ++Calls;
            PaintRed(ABitmap);
            AStopHook = AFrameNumber == 5;
        });
    TFramePtr Frame = Pattern(AV_PIX_FMT_BGR24, 32, 32);
    for (int Number = 1; Number <= 8; ++Number) {
        AVFrame* Out = Hooked->Process(Frame.get(), 0);
        EXPECT_EQ(IsRed(Out, 3, 3), Number <= 5) << Number;
        if (Number > 5) {
            EXPECT_EQ(Out->data[0], Frame->data[0]) << "no hook is left";
        }
    }
    EXPECT_EQ(Calls, 5);
    EXPECT_FALSE(Engine->OnCustomHook());
    EXPECT_FALSE(Hooked->Fusing_vhook);
    // The custom hook excluded the chain: configured and released, never run.
    Hooked->ReleaseAll();
    const std::vector<std::string> Lines = ReadLines(Log);
    ASSERT_EQ(Lines.size(), 2u);
    EXPECT_EQ(Lines[1], "Release");
}

TEST_F(CustomHookTest, AHandlerThatRaisesIsLoggedAndKeptAndItsPictureDropped) {
    Engine->SetOnCustomHook([&](TObject*, TBitmap* ABitmap, int, std::int64_t, bool&, bool&) {
        ++Calls;
        PaintRed(ABitmap);
        throw EConvertError("bad paint");
    });
    TFramePtr Frame = Pattern(AV_PIX_FMT_BGR24, 32, 32);
    const TFramePtr Original = Pattern(AV_PIX_FMT_BGR24, 32, 32);
    for (int I = 0; I < 3; ++I) {
        AVFrame* Out = Hooked->Process(Frame.get(), 0);
        ExpectUnchangedOutsideSquare(Out, Original.get(), 0);
    }
    EXPECT_EQ(Calls, 3);
    EXPECT_EQ(CountAll(llError, "Error occurs OnCustomHook: bad paint"), 3);
    EXPECT_TRUE(Engine->OnCustomHook());
}

TEST_F(CustomHookTest, APictureTheRGBConversionRefusesEndsTheHook) {
    Engine->SetOnCustomHook([&](TObject*, TBitmap*, int, std::int64_t, bool&, bool&) { ++Calls; });
    // A format the scaler cannot read.
    TFramePtr Frame = Pattern(AV_PIX_FMT_NV16, 32, 32);
    AVFrame* Out = Hooked->Process(Frame.get(), 0);
    EXPECT_EQ(ByteAt(Out, 1, 3, 3), ByteAt(Frame.get(), 1, 3, 3));
    EXPECT_EQ(Calls, 0);
    EXPECT_EQ(CountAll(llError, "Cannot initialize the toRGB conversion context"), 1);
    EXPECT_FALSE(Engine->OnCustomHook());
}

// ---- Deinterlacing -----------------------------------------------------------------

TEST_F(FrameHookTest, DeinterlacingRebuildsTheSecondFieldFromTheFirst) {
    Engine->ParseOption("deinterlace", "1");
    // A vertical ramp whose second field is combed white: the filter keeps
    // a ramp as it is, so the comb goes and the ramp stays.
    const auto Ramp = [](int P, int, int Y) { return 20 + Y * (P == 0 ? 2 : 4); };
    TFramePtr Frame = MakeFrame(AV_PIX_FMT_YUV420P, 32, 24,
                                [&](int P, int X, int Y) { return Y % 2 ? 255 : Ramp(P, X, Y); });
    AVFrame* Out = Hooked->Process(Frame.get(), 0);
    ASSERT_NE(Out->data[0], Frame->data[0]);
    for (int P = 0; P < 3; ++P) {
        const int H = P ? 12 : 24;
        for (int Y = 0; Y < H; ++Y) {
            SCOPED_TRACE(testing::Message() << "plane " << P << " line " << Y);
            const int Got = ByteAt(Out, P, 5, Y);
            if (Y % 2 == 0) {
                EXPECT_EQ(Got, Ramp(P, 0, Y));
            } else if (Y > 1 && Y < H - 1) {
                EXPECT_EQ(Got, (Ramp(P, 0, Y - 1) + Ramp(P, 0, Y + 1)) / 2);
            } else {
                // At the edges a line of the first field stands in for a
                // missing one of the second: some white remains.
                EXPECT_GT(Got, Ramp(P, 0, Y - 1));
                EXPECT_LT(Got, 255);
            }
        }
    }
    EXPECT_EQ(ByteAt(Frame.get(), 0, 5, 1), 255);
    EXPECT_EQ(CountAll(llError, "Deinterlacing failed."), 0);
}

TEST_F(FrameHookTest, APictureThatCannotBeDeinterlacedReachesTheHooksAsItIs) {
    Engine->ParseOption("deinterlace", "1");
    Engine->ParseOption("vhook", HookPath("invert") + " " + Log);
    TFramePtr Frame = Pattern(AV_PIX_FMT_RGB24, 32, 24);
    for (int I = 0; I < 2; ++I) {
        AVFrame* Out = Hooked->Process(Frame.get(), 0);
        EXPECT_EQ(ByteAt(Out, 0, 7, 3), 255 - ByteAt(Frame.get(), 0, 7, 3));
        EXPECT_EQ(ByteAt(Out, 0, 7, 4), 255 - ByteAt(Frame.get(), 0, 7, 4));
    }
    EXPECT_EQ(CountAll(llError, "Deinterlacing failed."), 2);
}

} // namespace
