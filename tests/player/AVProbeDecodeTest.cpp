#include "tests/player/ProbeTestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

namespace {

class DecodeTest : public ProbeTest {
protected:
    // Decodes from the start until frame ANumber (0-based) is the current one.
    void DecodeTo(int ANumber) {
        ASSERT_TRUE(Probe->Seek(0, {})) << Probe->LastErrMsg();
        for (int I = 0; I <= ANumber; ++I)
            ASSERT_TRUE(Probe->Decode(-1)) << "frame " << I << ": " << Probe->LastErrMsg();
    }
    std::int64_t PTS() const { return Probe->FrameInfo().PTS; }
};

const std::int64_t Frame = 40000; // microseconds at 25 frames a second

} // namespace

TEST_F(DecodeTest, FramesComeInOrderUntilTheEnd) {
    Load("av.mp4");
    for (int I = 0; I < 50; ++I) {
        SCOPED_TRACE(I);
        ASSERT_TRUE(Probe->Decode(-1)) << Probe->LastErrMsg();
        const TFrameInfo& Info = Probe->FrameInfo();
        EXPECT_EQ(Info.PTS, I * Frame);
        EXPECT_EQ(Info.StreamIndex, 0);
        EXPECT_EQ(Info.Width, 320);
        EXPECT_EQ(Info.Height, 240);
        EXPECT_EQ(Info.PixFmt, AV_PIX_FMT_YUV420P);
        EXPECT_TRUE(Info.Ready);
        EXPECT_GE(Info.Position, 0);
        const bool Key = I % 12 == 0;
        EXPECT_EQ(Info.IsKeyFrame, Key);
        EXPECT_EQ(Info.PictureType, Key ? ptI : ptP);
    }
    EXPECT_FALSE(Probe->Decode(-1));
    EXPECT_EQ(Probe->LastErrMsg(), "stream eof reached.");
    EXPECT_TRUE(Probe->Eof());
    EXPECT_FALSE(Probe->Decode(-1));
    EXPECT_EQ(Logged.back(), (TLogLine{llInfo, "stream eof reached."}));

    EXPECT_TRUE(Probe->Seek(0, {}));
    EXPECT_FALSE(Probe->Eof());
    ASSERT_TRUE(Probe->Decode(-1));
    EXPECT_EQ(PTS(), 0);
}

// The last frames a decoder with delay holds come out through draining.
TEST_F(DecodeTest, ADecoderWithDelayIsDrainedAtTheEnd) {
    Load("bframes.mp4");
    int Frames = 0;
    while (Probe->Decode(-1))
        ++Frames;
    EXPECT_EQ(Frames, 50);
    EXPECT_TRUE(Probe->Eof());
}

TEST_F(DecodeTest, SeekingLandsOnKeyFrames) {
    Load("av.mp4");
    DecodeTo(20);
    // Backward to the start, also from a negative time.
    for (const std::int64_t Target : {std::int64_t(0), std::int64_t(-5)}) {
        EXPECT_TRUE(Probe->Seek(Target, {})) << Target;
        EXPECT_FALSE(Probe->FrameInfo().Ready);
        ASSERT_TRUE(Probe->Decode(-1));
        EXPECT_EQ(PTS(), 0) << Target;
    }
    // Forward to the first key frame at or after the time.
    EXPECT_TRUE(Probe->Seek(1000000, {}));
    ASSERT_TRUE(Probe->Decode(-1));
    EXPECT_EQ(PTS(), 36 * Frame);
    EXPECT_TRUE(Probe->FrameInfo().IsKeyFrame);
    EXPECT_GE(Probe->Position(), 0);
}

TEST_F(DecodeTest, NextKeyFrame) {
    Load("av.mp4");
    DecodeTo(0);
    ASSERT_TRUE(Probe->DecodeNextKeyFrame(-1)) << Probe->LastErrMsg();
    EXPECT_EQ(PTS(), 12 * Frame);
    DecodeTo(13);
    ASSERT_TRUE(Probe->DecodeNextKeyFrame(-1)) << Probe->LastErrMsg();
    EXPECT_EQ(PTS(), 24 * Frame);
}

// The byte position of the read buffer tells nothing about where a seek
// landed; only the decoded frame's time does.
TEST_F(DecodeTest, PreviousKeyFrameIsTheKeyFrameOfTheGroup) {
    for (const char* File : {"av.mp4", "av.mkv", "av.avi"}) {
        SCOPED_TRACE(File);
        Load(File);
        DecodeTo(13);
        ASSERT_TRUE(Probe->DecodePreviousKeyFrame(-1)) << Probe->LastErrMsg();
        EXPECT_EQ(PTS(), 12 * Frame);
        EXPECT_TRUE(Probe->FrameInfo().IsKeyFrame);
        DecodeTo(12);
        ASSERT_TRUE(Probe->DecodePreviousKeyFrame(-1)) << Probe->LastErrMsg();
        EXPECT_EQ(PTS(), 0);
    }
}

// Seeking to the start of this transport stream lands on its first flagged
// key frame, at or after the reference: the search must still end.
TEST_F(DecodeTest, PreviousKeyFrameFromTheFirstFrameOfATransportStreamEnds) {
    Load("programs.ts");
    DecodeTo(0);
    const std::int64_t Reference = PTS();
    if (Probe->DecodePreviousKeyFrame(-1))
        EXPECT_TRUE(PTS() < Reference || PTS() <= 0) << PTS();
    else
        EXPECT_TRUE(Probe->LastErrMsg().starts_with("Could not seek to the previous key-frame. "))
            << Probe->LastErrMsg();
}

// With the stream's start unknown, times count from zero, so the first
// frame of this transport stream lies well after zero: every seek towards
// the start lands on it again, at the reference. Once the steps pass zero
// that answer is final.
TEST_F(DecodeTest, PreviousKeyFrameGivesUpWhenTheStartLandsAtTheReference) {
    Load("programs.ts");
    Probe->FileHandle()->streams[0]->start_time = AV_NOPTS_VALUE;
    Probe->Recount();
    DecodeTo(0);
    const std::int64_t Reference = PTS();
    ASSERT_GT(Reference, 1000000);
    EXPECT_FALSE(Probe->DecodePreviousKeyFrame(-1));
    EXPECT_TRUE(Probe->LastErrMsg().starts_with("Could not seek to the previous key-frame. "))
        << Probe->LastErrMsg();
}

TEST_F(DecodeTest, PreviousFrame) {
    Load("av.mp4");
    DecodeTo(20);
    ASSERT_TRUE(Probe->DecodePreviousFrame(-1)) << Probe->LastErrMsg();
    EXPECT_EQ(PTS(), 19 * Frame);
    ASSERT_TRUE(Probe->DecodePreviousFrame(-1)) << Probe->LastErrMsg();
    EXPECT_EQ(PTS(), 18 * Frame);

    // Nothing decoded yet: the search starts from the file's duration.
    Load("av.mp4");
    ASSERT_TRUE(Probe->DecodePreviousFrame(-1)) << Probe->LastErrMsg();
    EXPECT_EQ(PTS(), 48 * Frame);
}

TEST_F(DecodeTest, APictureFileHasOneFrameAndNoSeeking) {
    Load("still.png");
    for (int I = 0; I < 2; ++I) {
        EXPECT_FALSE(Probe->Seek(0, {}));
        EXPECT_EQ(Probe->LastErrMsg(), "\"image2\" format cannot to be seeked.");
    }
    EXPECT_EQ(Logged, (std::vector<TLogLine>{{llInfo, "\"image2\" format cannot to be seeked."},
                                             {llInfo, "\"image2\" format cannot to be seeked."}}));
    ASSERT_TRUE(Probe->Decode(-1)) << Probe->LastErrMsg();
    const std::int64_t Position = Probe->Position();
    ASSERT_TRUE(Probe->Decode(-1)) << Probe->LastErrMsg();
    EXPECT_EQ(Probe->Position(), Position);
    EXPECT_EQ(Probe->FrameInfo().Width, 64);
    EXPECT_FALSE(Probe->Eof());
}

TEST_F(DecodeTest, DamageInTheMiddleIsDecodedPast) {
    const std::string Name = Temp.File("damaged.ts");
    std::string Clip = ReadFile(Media("damaged.ts"));
    ASSERT_GT(Clip.size(), 16384u);
    std::mt19937 Random(4711);
    for (std::size_t I = 0; I < 4096; ++I)
        Clip[Clip.size() / 2 + I] = static_cast<char>(Random());
    WriteFile(Name, Clip);

    ASSERT_TRUE(Probe->LoadFile(Name)) << Probe->LastErrMsg();
    int Frames = 0;
    std::int64_t Last = AV_NOPTS_VALUE;
    while (Probe->Decode(-1)) {
        ++Frames;
        Last = PTS();
    }
    EXPECT_TRUE(Probe->Eof());
    EXPECT_GT(Frames, 30);
    EXPECT_GE(Last, 45 * Frame); // frames after the damage came out
}

TEST_F(DecodeTest, DecodingNeedsAVideoStreamAndAFile) {
    EXPECT_FALSE(Probe->Decode(-1));
    EXPECT_EQ(Probe->LastErrMsg(), "file not loaded.");
    EXPECT_EQ(Probe->Position(), -1);
    Load("audio.mp3");
    EXPECT_FALSE(Probe->Decode(-1));
    EXPECT_EQ(Probe->LastErrMsg(), "no video stream.");
    EXPECT_FALSE(Probe->Decode(0));
    EXPECT_EQ(Probe->LastErrMsg(), "stream #0 is not video stream.");
    EXPECT_FALSE(Probe->Decode(1));
    EXPECT_EQ(Probe->LastErrMsg(), "stream index #1 is invalid.");
    Load("nosize.ts");
    EXPECT_FALSE(Probe->Decode(-1));
    EXPECT_EQ(Probe->LastErrMsg(), "frame size of codec is invalid.");
    EXPECT_EQ(Logged.back(), (TLogLine{llError, "frame size of codec is invalid."}));

    Load("audio.mp3");
    // Seeking goes by the audio stream.
    EXPECT_TRUE(Probe->Seek(1000000, {}));

    // An input without I/O has no position.
    TSyntheticInput Input;
    Input.AddVideo();
    Probe->SetFileHandle(Input.Context());
    Logged.clear();
    EXPECT_EQ(Probe->Position(), -1);
    EXPECT_EQ(Logged, (std::vector<TLogLine>{{llWarning, "cannot get position"}}));
    Probe->CloseFile();
}

TEST_F(DecodeTest, CopyToBitmapNeedsADecodedPicture) {
    TBitmap Bitmap;
    EXPECT_FALSE(Probe->CopyToBitmap(&Bitmap));
    EXPECT_EQ(Probe->LastErrMsg(), "picture not ready, please decode first");
    EXPECT_EQ(Logged, (std::vector<TLogLine>{{llError, "picture not ready, please decode first"}}));
}

TEST_F(DecodeTest, CopyToBitmapGivesTheFramesExactPixels) {
    for (const int Width : {64, 65, 66}) {
        SCOPED_TRACE(Width);
        const std::string Name = "bgr24_" + std::to_string(Width);
        Load(Name + ".nut");
        ASSERT_TRUE(Probe->Decode(-1)) << Probe->LastErrMsg();
        EXPECT_EQ(Probe->FrameInfo().PixFmt, AV_PIX_FMT_BGR24);
        TBitmap Bitmap;
        ASSERT_TRUE(Probe->CopyToBitmap(&Bitmap));
        const TRGBConvertContext& Context = Probe->RGBContext();
        // Only a row without padding can be copied as it is.
        EXPECT_EQ(Context.toRGB_convert_ctx == nullptr, Width == 64);

        const std::string Reference = ReadFile(Media("ref_" + std::to_string(Width) + ".bgr"));
        ASSERT_EQ(Reference.size(), std::size_t(Width * 3 * 48));
        ASSERT_EQ(Bitmap.Width(), Width);
        ASSERT_EQ(Bitmap.Height(), 48);
        ASSERT_EQ(Bitmap.PixelFormat(), pf24bit);
        for (int Y = 0; Y < 48; ++Y)
            ASSERT_EQ(std::memcmp(Bitmap.ScanLine(Y), Reference.data() + Y * Width * 3, Width * 3),
                      0)
                << "row " << Y;
    }
}

// The same file's buffer across closes: a larger frame first, then a
// smaller one that converts through the scaler.
TEST_F(DecodeTest, TheConversionBufferIsNotShrunkWhileAFileIsOpen) {
    Load("bgr24_66.nut");
    ASSERT_TRUE(Probe->Decode(-1));
    TBitmap Bitmap;
    ASSERT_TRUE(Probe->CopyToBitmap(&Bitmap));
    const int Size = Probe->RGBContext().RGBBufSize;
    ASSERT_GT(Size, 0);
    // Pretend the next picture is smaller, as after a size change.
    Probe->Picture().Width = 65;
    Probe->Picture().Picture.linesize[0] = 65 * 3;
    ASSERT_TRUE(Probe->CopyToBitmap(&Bitmap));
    EXPECT_EQ(Probe->RGBContext().RGBBufSize, Size);
    EXPECT_EQ(Bitmap.Width(), 65);
}

// The frame says what it holds: around a size change the decoder context
// may already describe the next pictures.
TEST_F(DecodeTest, EachFrameIsCopiedAtItsOwnSize) {
    Load("size_change.ts");
    std::vector<int> Widths;
    TBitmap Bitmap;
    while (Probe->Decode(-1)) {
        const TFrameInfo& Info = Probe->FrameInfo();
        Widths.push_back(Info.Width);
        EXPECT_EQ(Info.Height * 4, Info.Width * 3);
        ASSERT_TRUE(Probe->CopyToBitmap(&Bitmap));
        EXPECT_EQ(Bitmap.Width(), Info.Width);
    }
    ASSERT_GE(Widths.size(), 16u);
    const auto Change = std::find(Widths.begin(), Widths.end(), 160);
    ASSERT_NE(Change, Widths.end());
    EXPECT_TRUE(std::all_of(Widths.begin(), Change, [](int W) { return W == 320; }));
    EXPECT_TRUE(std::all_of(Change, Widths.end(), [](int W) { return W == 160; }));
    EXPECT_EQ(Change - Widths.begin(), 9);
}

TEST_F(DecodeTest, AYUVFrameMatchesTheCommandsOwnConversion) {
    Load("av.mp4");
    ASSERT_TRUE(Probe->Decode(-1));
    TBitmap Bitmap;
    ASSERT_TRUE(Probe->CopyToBitmap(&Bitmap));
    const std::string Reference = ReadFile(Media("av_first.bgr"));
    ASSERT_EQ(Reference.size(), std::size_t(320 * 240 * 3));
    int Worst = 0;
    for (int Y = 0; Y < 240; ++Y) {
        const auto* Row = static_cast<const std::uint8_t*>(Bitmap.ScanLine(Y));
        for (int X = 0; X < 320 * 3; ++X)
            Worst = std::max(Worst,
                             std::abs(int(Row[X]) - int(std::uint8_t(Reference[Y * 320 * 3 + X]))));
    }
    EXPECT_LE(Worst, 2);
}

TEST_F(DecodeTest, AFormatTheScalerRefusesGivesABlackBitmap) {
    Load("bgr24_64.nut");
    ASSERT_TRUE(Probe->Decode(-1));
    Probe->Picture().PixFmt = AV_PIX_FMT_VAAPI;
    TBitmap Bitmap;
    Bitmap.SetPixelFormat(pf24bit);
    Bitmap.SetSize(10, 10);
    Bitmap.Canvas()->Brush()->SetColor(clWhite);
    Bitmap.Canvas()->FillRect(TRect(0, 0, 10, 10));
    AllLogged.clear();
    EXPECT_FALSE(Probe->CopyToBitmap(&Bitmap));
    ASSERT_EQ(Bitmap.Width(), 64);
    ASSERT_EQ(Bitmap.Height(), 48);
    for (int Y = 0; Y < 48; ++Y)
        for (int X = 0; X < 64; ++X)
            ASSERT_EQ(Bitmap.Canvas()->Pixels(X, Y), clBlack) << X << "," << Y;
    EXPECT_NE(std::find(AllLogged.begin(), AllLogged.end(),
                        TLogLine{llError, "convert picture to bitmap failed"}),
              AllLogged.end());
}
