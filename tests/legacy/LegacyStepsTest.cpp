// The settings step and the parameter read-back of the legacy form.
#include "legacy/LegacySteps.h"

#include "legacy/LegacyTables.h"
#include "tests/support/CommaLocale.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <clocale>
#include <fstream>
#include <string>

namespace {

// Every field holds a value no row writes, so a kept field shows.
TProfileWorkingSet Sentinels() {
    TProfileWorkingSet Set;
    Set.Video_OutPutFileName = "s:out";
    Set.Video_AddFileName = "/media/in/clip.mkv";
    for (std::string* Field :
         {&Set.Video_FileExt, &Set.Video_VideoCodec, &Set.Video_VideoTag, &Set.Video_AudioCodec,
          &Set.Video_FrameSize, &Set.Video_FrameRate, &Set.Video_FrameAspectRatio,
          &Set.Video_AudioSampleRate, &Set.Video_AudioChannels, &Set.Video_AudioVolume,
          &Set.Video_TargetType, &Set.Video_NormType, &Set.Video_FileFormat,
          &Set.Video_VideoFilters, &Set.Video_CopyTimestamp})
        *Field = "s:kept";
    Set.Video_VideoBitrate = 424242;
    Set.Video_AudioBitrate = 434343;
    Set.Video_DisableVideo = true;
    return Set;
}

void Touch(const std::string& Path) {
    std::ofstream(Path) << "x";
}

class LegacySettingsStep : public ::testing::Test {
protected:
    TTempDir Out;
    bool OverwriteChosen = false;
    TProfileWorkingSet Set = Sentinels();

    void Write(int Key, const std::string& Folder) {
        WriteLegacySettings(Set, Key, Folder, [this] { return OverwriteChosen; });
    }
    void Write(int Key) { Write(Key, Out.Path()); }
};

// The texts the lists show for a key's defaults, indexed by kind.
TLegacyParameterTexts DefaultTexts(int Key) {
    TLegacyParameterTexts Texts;
    const TLegacyParameterRow& Row = *FindLegacyParameterRow(Key);
    for (TParameterKind Kind : ParameterKinds)
        Texts[KindIndex(Kind)] =
            std::string(LegacyParameterList(Kind, Row.Choice(Kind).List)[Row.Choice(Kind).Default]);
    return Texts;
}

} // namespace

TEST_F(LegacySettingsStep, AudioRowKeepsTheVideoFieldsOfTheProfileBefore) {
    Write(100);
    Write(200);
    EXPECT_EQ(Set.Video_VideoCodec, "mpeg4");
    EXPECT_EQ(Set.Video_VideoTag, "XVID");
    EXPECT_EQ(Set.Video_FrameSize, "");
    EXPECT_EQ(Set.Video_FrameRate, "25");
    EXPECT_EQ(Set.Video_VideoBitrate, 816000);
    EXPECT_TRUE(Set.Video_DisableVideo);
    EXPECT_EQ(Set.Video_AudioCodec, "libmp3lame");
    EXPECT_EQ(Set.Video_AudioBitrate, 128000);
    EXPECT_EQ(Set.Video_AudioSampleRate, "48000");
    EXPECT_EQ(Set.Video_AudioChannels, "2");
    EXPECT_EQ(Set.Video_FileExt, ".mp3");
    EXPECT_EQ(Set.Video_OutPutFileName, Out.File("clip.mp3"));

    Write(100);
    EXPECT_FALSE(Set.Video_DisableVideo);
    EXPECT_EQ(Set.Video_AudioVolume, "256");
    EXPECT_EQ(Set.Video_VideoFilters, "");
    EXPECT_EQ(Set.Video_TargetType, "");
}

TEST_F(LegacySettingsStep, DiscAndRealRowsWriteOnlyWhatTheyHold) {
    Write(100);
    Write(111);
    EXPECT_EQ(Set.Video_FileExt, ".avi");
    EXPECT_EQ(Set.Video_OutPutFileName, Out.File("clip.mpg"));
    EXPECT_EQ(Set.Video_TargetType, "dvd");
    EXPECT_EQ(Set.Video_NormType, "PAL");
    EXPECT_EQ(Set.Video_VideoBitrate, -1000);
    EXPECT_EQ(Set.Video_AudioBitrate, -1000);
    EXPECT_EQ(Set.Video_VideoCodec, "");
    EXPECT_EQ(Set.Video_FileFormat, "");

    Write(205);
    Write(114);
    EXPECT_EQ(Set.Video_VideoCodec, "rv20");
    EXPECT_EQ(Set.Video_FrameSize, "320*240");
    EXPECT_EQ(Set.Video_AudioCodec, "libvorbis");
    EXPECT_EQ(Set.Video_AudioBitrate, 128000);
    EXPECT_EQ(Set.Video_FileExt, ".ogg");
    EXPECT_EQ(Set.Video_OutPutFileName, Out.File("clip.rm"));
    EXPECT_FALSE(Set.Video_DisableVideo);
}

TEST_F(LegacySettingsStep, RowsThatNameAnotherExtensionOrHoldLess) {
    struct Case {
        int Key;
        const char* Name;
        const char* FileExt;
    };
    for (Case C :
         {Case{206, "clip.ra", ".rm"}, {211, "clip.m4a", ".alac"}, {306, "clip.wmv", ".asf"}}) {
        Write(C.Key);
        EXPECT_EQ(Set.Video_OutPutFileName, Out.File(C.Name)) << C.Key;
        EXPECT_EQ(Set.Video_FileExt, C.FileExt) << C.Key;
    }
    Set = Sentinels();
    Write(305);
    EXPECT_EQ(Set.Video_VideoTag, "s:kept");
    for (int Key : {403, 404, 405, 406}) {
        Set = Sentinels();
        Write(Key);
        EXPECT_EQ(Set.Video_TargetType, "s:kept") << Key;
        EXPECT_EQ(Set.Video_VideoTag, "") << Key;
    }
    Write(411);
    EXPECT_EQ(Set.Video_FrameAspectRatio, "16:9");
    Write(413);
    EXPECT_EQ(Set.Video_FrameSize, "480*320");
}

TEST_F(LegacySettingsStep, TheOutputTakesAFreeNameUnlessOverwriteIsChosen) {
    Touch(Out.File("clip.avi"));
    Write(100);
    EXPECT_EQ(Set.Video_OutPutFileName, Out.File("clip_1.avi"));
    Touch(Out.File("clip_1.avi"));
    Write(100);
    EXPECT_EQ(Set.Video_OutPutFileName, Out.File("clip_2.avi"));
    OverwriteChosen = true;
    Write(100);
    EXPECT_EQ(Set.Video_OutPutFileName, Out.File("clip.avi"));
}

TEST_F(LegacySettingsStep, NamesFromOddFoldersAndInputs) {
    Write(100, Out.Path() + "/");
    EXPECT_EQ(Set.Video_OutPutFileName, Out.Path() + "//clip.avi");
    Write(100, Out.File("missing"));
    EXPECT_EQ(Set.Video_OutPutFileName, Out.File("missing/clip.avi"));
    Set.Video_AddFileName = "";
    Write(100);
    EXPECT_EQ(Set.Video_OutPutFileName, Out.File(".avi"));
    Set.Video_AddFileName = "/media/in/clip";
    Write(100);
    EXPECT_EQ(Set.Video_OutPutFileName, Out.File("clip.avi"));
    // A folder in the way of the name is no file: the plain name stays.
    ASSERT_EQ(mkdir(Out.File("clip.avi").c_str(), 0755), 0);
    Write(100);
    EXPECT_EQ(Set.Video_OutPutFileName, Out.File("clip.avi"));
}

TEST_F(LegacySettingsStep, AKeyWithoutARowOnlyRenamesAndEnablesVideo) {
    Set.Video_OutPutFileName = "/old/place/x.avi";
    const TProfileWorkingSet Before = Set;
    Write(LegacyProfileKey(-1, 0), Out.File("new"));
    EXPECT_FALSE(Set.Video_DisableVideo);
    EXPECT_EQ(Set.Video_OutPutFileName, Out.File("new/x.avi"));
    EXPECT_EQ(Set.Video_VideoCodec, Before.Video_VideoCodec);
    EXPECT_EQ(Set.Video_AudioBitrate, Before.Video_AudioBitrate);
}

TEST(LegacyReadBack, DefaultsOfTellingKeys) {
    struct Case {
        int Key;
        const char* FrameSize;
        const char* FrameRate;
        int VideoBitrate;
        int AudioBitrate;
        const char* SampleRate;
        const char* Aspect;
    };
    const Case Cases[] = {
        {100, "", "25.00", 816000, 128000, "44100", ""},
        {200, "", "", -1000, 128000, "44100", ""},
        {212, "", "", -1000, 7400, "8000", ""},
        {708, "", "", -1000, 7400, "8000", ""},
        {109, "176*144", "12", 128000, 12000, "8000", ""},
        {411, "640*272", "25.00", 768000, 128000, "48000", "16:9"},
        {502, "720*406", "25.00", 768000, 128000, "48000", "16:9"},
        {1100, "320*240", "25.00", 816000, 128000, "44100", ""},
        {400, "320*240", "25.00", 1000000, 128000, "48000", ""},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Key);
        TProfileWorkingSet Set = Sentinels();
        ReadLegacyParameterTexts(Set, DefaultTexts(C.Key));
        EXPECT_EQ(Set.Video_FrameSize, C.FrameSize);
        EXPECT_EQ(Set.Video_FrameRate, C.FrameRate);
        EXPECT_EQ(Set.Video_VideoBitrate, C.VideoBitrate);
        EXPECT_EQ(Set.Video_AudioBitrate, C.AudioBitrate);
        EXPECT_EQ(Set.Video_AudioSampleRate, C.SampleRate);
        EXPECT_EQ(Set.Video_FrameAspectRatio, C.Aspect);
    }
}

TEST(LegacyReadBack, ListsKeepTheirGivenOrder) {
    auto FrameSizes = [](int Key) {
        return LegacyParameterList(
            TParameterKind::FrameSize,
            FindLegacyParameterRow(Key)->Choice(TParameterKind::FrameSize).List);
    };
    EXPECT_EQ(FrameSizes(1100).size(), 19u);
    EXPECT_EQ(FrameSizes(1100).back(), "1024*768");
    EXPECT_EQ(FrameSizes(400)[1], "176*144");
    EXPECT_EQ(FrameSizes(400)[2], "160*120");
    EXPECT_EQ(
        LegacyParameterList(TParameterKind::AspectMode,
                            FindLegacyParameterRow(109)->Choice(TParameterKind::AspectMode).List)
            .size(),
        2u);
}

TEST(LegacyReadBack, FractionalAudioRatesAreExactUnderADecimalComma) {
    TCommaNumericLocale Comma;
    if (!Comma.Active())
        GTEST_SKIP() << "no locale with a decimal comma could be had";
    std::vector<int> Read;
    for (std::string_view Item : LegacyParameterList(TParameterKind::AudioBitrate, 3)) {
        TProfileWorkingSet Set;
        TLegacyParameterTexts Texts;
        Texts[KindIndex(TParameterKind::AudioBitrate)] = std::string(Item);
        ReadLegacyParameterTexts(Set, Texts);
        Read.push_back(Set.Video_AudioBitrate);
    }
    EXPECT_EQ(Read, (std::vector<int>{4750, 5150, 5900, 6700, 7400, 7950, 10200, 12200}));
}

TEST(LegacyReadBack, AnUnknownAspectKeepsTheFieldAndEmptyTextsAreNoNumbers) {
    TProfileWorkingSet Set = Sentinels();
    TLegacyParameterTexts Texts;
    Texts[KindIndex(TParameterKind::AspectMode)] = "宽屏";
    ReadLegacyParameterTexts(Set, Texts);
    EXPECT_EQ(Set.Video_FrameAspectRatio, "s:kept");
    EXPECT_EQ(Set.Video_FrameSize, "");
    EXPECT_EQ(Set.Video_VideoBitrate, -1000);
    EXPECT_EQ(Set.Video_AudioBitrate, -1000);
    for (auto [Text, Ratio] : {std::pair{"普通视频4:3模式", "4:3"},
                               {"宽屏视频37:20模式", "37:20"},
                               {"宽屏视频47:20模式", "47:20"},
                               {"保持原视频模式", ""},
                               {"无视频", ""}}) {
        Texts[KindIndex(TParameterKind::AspectMode)] = Text;
        ReadLegacyParameterTexts(Set, Texts);
        EXPECT_EQ(Set.Video_FrameAspectRatio, Ratio) << Text;
    }
}
