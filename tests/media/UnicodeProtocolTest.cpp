#include "media/UnicodeProtocol.h"

#include "media/AVFormatStubs.h"
#include "media/AVUtilStubs.h"
#include "media/FFmpegLoader.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

namespace {

void PutLE(std::ofstream& AOut, std::uint32_t AValue, int ABytes) {
    for (int I = 0; I < ABytes; ++I)
        AOut.put(static_cast<char>((AValue >> (8 * I)) & 0xFF));
}

// A tenth of a second of 16-bit mono silence at 8000 Hz.
void WriteWav(const std::string& AFileName) {
    constexpr std::uint32_t Samples = 800;
    constexpr std::uint32_t DataSize = Samples * 2;
    std::ofstream Out(AFileName, std::ios::binary);
    Out << "RIFF";
    PutLE(Out, 36 + DataSize, 4);
    Out << "WAVEfmt ";
    PutLE(Out, 16, 4);
    PutLE(Out, 1, 2); // PCM
    PutLE(Out, 1, 2); // mono
    PutLE(Out, 8000, 4);
    PutLE(Out, 16000, 4);
    PutLE(Out, 2, 2);
    PutLE(Out, 16, 2);
    Out << "data";
    PutLE(Out, DataSize, 4);
    for (std::uint32_t I = 0; I < DataSize; ++I)
        Out.put('\0');
}

std::string ReadFile(const std::string& AFileName) {
    std::ifstream In(AFileName, std::ios::binary);
    return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
}

class UnicodeIOTest : public testing::Test {
protected:
    TTempDir Dir;
    void SetUp() override { ASSERT_TRUE(FFLoader().Load(ProbeLibs)) << FFLoader().LastErrMsg(); }
    void TearDown() override { FFLoader().Unload(ProbeLibs); }
};

} // namespace

TEST(UnicodeNames, EveryNameGoesToFFmpegAsItIs) {
    const std::string Long = "/tmp/" + std::string(3000, 'n') + "中.avi";
    for (const std::string& Name :
         {std::string("movie.avi"), std::string("/home/用户/电影 1.mkv"), std::string("http://x"),
          std::string("HTTP:中"), std::string("C:\\x.avi"), Long}) {
        EXPECT_FALSE(NeedsUnicodeProtocol(Name)) << Name;
        EXPECT_EQ(FileNameToAV(Name), Name);
    }
}

TEST(UnicodeNames, EncodedNamesComeBackAsThemselves) {
    const std::string Name = "/home/用户/视频/片段.mp4";
    EXPECT_EQ(EncodeUnicodeName(Name), "unicode:utf8:" + Name);
    EXPECT_EQ(FileNameFromAV(EncodeUnicodeName(Name)), Name);
    EXPECT_EQ(FileNameFromAV("unicode:utf8:"), "unicode:utf8:");
    EXPECT_EQ(FileNameFromAV("plain/name.avi"), "plain/name.avi");
    EXPECT_TRUE(IsUnicodeName("unicode:utf8:x"));
    EXPECT_FALSE(IsUnicodeName("unicode:utf8:"));
    EXPECT_FALSE(IsUnicodeName("UNICODE:utf8:x"));
    EXPECT_EQ(DecodeUnicodeName("unicode:utf8:/a:b"), "/a:b");
}

TEST_F(UnicodeIOTest, AnEncodedNameOpensAsInputOnAContextWithTheUnicodeIO) {
    const std::string Path = Dir.File("中文 声音.wav");
    WriteWav(Path);

    AVFormatContext* Plain = avformat::avformat_alloc_context();
    EXPECT_LT(
        avformat::avformat_open_input(&Plain, EncodeUnicodeName(Path).c_str(), nullptr, nullptr),
        0);

    AVFormatContext* Context = avformat::avformat_alloc_context();
    InstallUnicodeIO(Context);
    ASSERT_EQ(
        avformat::avformat_open_input(&Context, EncodeUnicodeName(Path).c_str(), nullptr, nullptr),
        0);
    ASSERT_GE(avformat::avformat_find_stream_info(Context, nullptr), 0);
    ASSERT_EQ(Context->nb_streams, 1u);
    EXPECT_EQ(Context->streams[0]->codecpar->codec_type, AVMEDIA_TYPE_AUDIO);
    EXPECT_EQ(FileNameFromAV(Context->url), Path);
    avformat::avformat_close_input(&Context);
}

TEST_F(UnicodeIOTest, WritingEmptiesAnExistingFileAndReadingAMissingOneFails) {
    const std::string Path = Dir.File("输出.bin");
    std::ofstream(Path) << "old content that is longer";

    AVIOContext* Output = nullptr;
    ASSERT_EQ(UnicodeAVIOOpen(&Output, EncodeUnicodeName(Path), AVIO_FLAG_WRITE, nullptr, nullptr),
              0);
    const unsigned char Data[] = {'n', 'e', 'w'};
    avformat::avio_write(Output, Data, sizeof(Data));
    avformat::avio_closep(&Output);
    EXPECT_EQ(ReadFile(Path), "new");

    AVIOContext* Input = nullptr;
    ASSERT_EQ(UnicodeAVIOOpen(&Input, EncodeUnicodeName(Path), AVIO_FLAG_READ, nullptr, nullptr),
              0);
    avformat::avio_seek(Input, 1, SEEK_SET);
    EXPECT_EQ(avformat::avio_size(Input), 3);
    EXPECT_EQ(avformat::avio_tell(Input), 1);
    avformat::avio_closep(&Input);

    AVIOContext* Missing = nullptr;
    EXPECT_EQ(UnicodeAVIOOpen(&Missing, EncodeUnicodeName(Dir.File("无.bin")), AVIO_FLAG_READ,
                              nullptr, nullptr),
              AVERROR(ENOENT));
    EXPECT_EQ(Missing, nullptr);
}

// The hook opens what a demuxer opens in turn (playlist segments, further
// files) and keeps to the protocols the input allows, as FFmpeg's own
// opening does: a list read from a local file must not reach out through
// other protocols.
TEST_F(UnicodeIOTest, TheHookKeepsToTheProtocolsTheInputAllows) {
    const std::string Sound = Dir.File("a.wav");
    WriteWav(Sound);
    const std::string Nested = "subfile,,start,0,end,10,,:" + Sound;
    struct TCase {
        const char* WhiteList;
        const char* BlackList;
        std::string Name;
        bool Opens;
    };
    const TCase Cases[] = {
        {nullptr, nullptr, Nested, true},
        {"file,crypto,data", nullptr, Sound, true},
        {"file,crypto,data", nullptr, EncodeUnicodeName(Sound), true},
        {"file,crypto,data", nullptr, Nested, false},
        {nullptr, "subfile", Nested, false},
        {nullptr, "subfile", Sound, true},
    };
    for (const TCase& Case : Cases) {
        AVFormatContext* Context = avformat::avformat_alloc_context();
        InstallUnicodeIO(Context);
        if (Case.WhiteList)
            Context->protocol_whitelist = avutil::av_strdup(Case.WhiteList);
        if (Case.BlackList)
            Context->protocol_blacklist = avutil::av_strdup(Case.BlackList);
        AVIOContext* IO = nullptr;
        const int Result =
            Context->io_open(Context, &IO, Case.Name.c_str(), AVIO_FLAG_READ, nullptr);
        EXPECT_EQ(Result >= 0, Case.Opens) << Case.Name;
        EXPECT_EQ(IO != nullptr, Case.Opens) << Case.Name;
        if (IO)
            avformat::avio_closep(&IO);
        avformat::avformat_free_context(Context);
    }
}
