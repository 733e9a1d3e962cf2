// The legacy form's own tables: its 12 categories and 109 profiles, each
// profile's settings row and its six parameter lists. Texts are kept byte for
// byte as the form shows them, trailing blanks and doubled characters included.
#include "catalogue/KeyIndex.h"
#include "legacy/LegacyTables.h"

namespace {

// clang-format off

constexpr TLegacyProfile Category0Profiles[] = {
    {"AVI - 音频视频交错格式(*.avi)", "AVI最常用的视频格式,语音和影像同步组合在一起的文件格式", 0},
    {"MP4 - MPEG-4视频格式(*.mp4)", "MPEG-4标准的视频格式,压缩率高,画质好,被各种播放器和设备广泛支持", 1},
    {"DivX - 视频格式(*.avi)", "DivX编码的AVI视频格式,以较小的体积保存接近DVD画质的影像", 2},
    {"MOV - 苹果QuickTime视频格式(*.mov)", "苹果QuickTime影片格式,适合在苹果电脑和QuickTime播放器上播放", 3},
    {"XviD - 视频格式(*.avi)", "XviD编码的AVI视频格式,开放源代码的MPEG-4编码,画质清晰,体积小巧", 4},
    {"MKV - Matroska视频格式(*.mkv)", "Matroska多媒体容器格式,一个文件中可容纳多种视频、音频和字幕", 5},
    {"MPEG-1视频格式(*.mpg)", "MPEG-1视频格式,兼容性极好,常用于VCD光盘和网络视频", 6},
    {"MPEG-2视频格式(*.mpg)", "MPEG-2视频格式,画质优良,常用于DVD光盘和数字电视", 7},
    {"ASF - 高级流视频格式(*.asf)", "高级流视频格式,适合在网络上边下载边播放", 8},
    {"3GP - 视频格式(*.3gp)", "第三代移动通信使用的视频格式,体积小,适合在手机上播放", 9},
    {"WMV - 视频格式(*.wmv)", "Windows媒体视频格式,压缩率高,适合在Windows媒体播放器上播放", 10},
    {"DVD - 视频格式(*.mpg)", "DVD-数字视频光盘通,常用来播放标准电视机清晰度的电影,高质量的音乐", 11},
    {"SVCD - 视频格式(*.mpg)", "SVCD-超级视频光盘,画质优于VCD,可在大多数DVD播放机上播放", 12},
    {"VCD - 视频格式(*.mpg)", "VCD-视频光盘,兼容性最好,几乎所有的影碟机都能播放", 13},
    {"RM - REAL视频格式(*.rm)", "REAL视频格式,体积小,常用于网络视频点播", 14},
};
constexpr TLegacyProfile Category1Profiles[] = {
    {"MP3 - MPEG Layer-3音频格式(*.mp3)", "最流行的音频格式,具有体积小,音质高的特点,几乎成为网上音乐的代名词", 0},
    {"WMA - Windows媒体音频格式(*.wma)", "Windows媒体音频格式,在较低的比特率下也能保持较好的音质", 1},
    {"WAV - 波形音频格式(*.wav) ", "波形声音格式,未经压缩,音质最好,文件体积较大", 2},
    {"AAC - 高级音频格式(*.aac)", "高级音频编码格式,音质好于同比特率的MP3,体积更小", 3},
    {"M4A - MPEG-4音频格式(*.m4a)", "MPEG-4音频格式,数字音乐播放器上常用的音乐格式", 4},
    {"OGG - Ogg Vorbis音频格式(*.ogg)", "开放免费的Ogg Vorbis音频格式,音质好,体积小", 5},
    {"RA - RealAudio音频格式(*.ra)", "RealAudio音频格式,常用于网络广播和在线音乐", 6},
    {"AC3 - 杜比数字AC-3音频格式(*.ac3)", "杜比数字AC-3音频格式,支持多声道,常用于DVD和家庭影院", 7},
    {"AIFF - 音频交换文件格式(*.aiff)", "音频交换文件格式,未经压缩,音质出色", 8},
    {"MP2 - MPEG Layer-2音频格式(*.mp2)", "MPEG Layer-2音频格式,常用于数字广播和VCD光盘", 9},
    {"FLAC-音频格式(*.flac)", "自由无损音频压缩格式,压缩后音质没有任何损失", 10},
    {"ALAC-Apple Lossless无损音频格式(*.alac) ", "Apple Lossless无损音频格式,适合欣赏无损音乐", 11},
    {"AMR-手机音频格式(*.amr)", "自适应多速率音频格式,体积极小,常用于手机铃声和录音", 12},
};
constexpr TLegacyProfile Category2Profiles[] = {
    {"高清AVI视频格式(*.avi)", "高清晰AVI视频格式(DivX视频编码)", 20},
    {"高清AVI视频格式(*.avi)", "高清晰AVI视频格式(XviD视频编码)", 21},
    {"高清H264视频格式(*.mp4)", "高清晰H264视频格式(H.264视频编码)", 21},
    {"高清MPEG-4视频格式(*.mp4)", "高清晰MPEG-4视频格式(MPEG-4视频编码)", 21},
    {"高清MOV视频格式(*.mov)", "高清晰MOV视频格式(QuickTime影片)", 21},
    {"高清ASF视频格式(*.asf)", "高清晰ASF视频格式(MPEG-4视频编码)", 21},
    {"高清WMV视频格式(*.wmv)", "高清晰WMV视频格式(WMV视频编码)", 21},
    {"高清DVD视频格式(*.vob)", "高清晰DVD视频格式(VOB视频文件)", 21},
    {"高清MPEG-2视频格式(*.mpg)", "高清晰MPEG-2视频格式(MPEG-2视频编码)", 21},
    {"高清MKV视频格式(*.mkv)", "高清晰MKV视频格式(MPEG-4视频编码)", 21},
};
constexpr TLegacyProfile Category3Profiles[] = {
    {"iPod (320X240) 高清晰视频(*.mp4)", "为iPod优化的MPEG-4视频预置方案.(320*240高质量)", 20},
    {"iPod (320X240) 高压缩视频(*.mp4)", "为iPod优化的MPEG-4视频预置方案.(320*240高压缩)", 21},
    {"iPod (320X240) 标准视频(*.mp4)", "为iPod优化的MPEG-4视频预置方案.(320*240标准)", 21},
    {"iPod Video2 TV OutPut视频(*.mp4)", "为iPod Video2优化的MPEG-4视频预置方案.(电视输出)", 21},
    {"iPod Video2 (640X480)视频(*.mp4)", "为iPod Video2优化的MPEG-4视频预置方案.(640*480)", 21},
    {"iPod Video2 (640X480)高清晰视频(*.mp4)", "为iPod Video2优化的MPEG-4视频预置方案.(640*480高清晰)", 21},
    {"iPod Video2 (640X480)高压缩视频(*.mp4)", "为iPod Video2优化的MPEG-4视频预置方案.(640*480高压缩)", 21},
    {"iPod touch MPEG-4视频(*.mp4)", "为iPod touch优化的MPEG-4视频预置方案.", 21},
    {"iPod touch MPEG-4 480P视频(*.mp4)", "为iPod touch优化的MPEG-4视频预置方案.(480P)", 21},
    {"iPod touch MPEG-4 480P高清晰视频(*.mp4)", "为iPod touch优化的MPEG-4视频预置方案.(480P高清晰)", 21},
    {"iPod touch MPEG-4 480P高压缩视频(*.mp4)", "为iPod touch优化的MPEG-4视频预置方案.(480P高压缩)", 21},
    {"iPod touch MPEG-4 480P宽屏视频(*.mp4)", "为iPod touch优化的MPEG-4视频预置方案.(480P宽屏)", 21},
    {"iPod touch MPEG-4 (320X240)视频(*.mp4)", "为iPod touch优化的MPEG-4视频预置方案.(320*240)", 21},
    {"iPod touch MPEG-4 (480X320)视频(*.mp4)", "为iPod touch优化的MPEG-4视频预置方案.(480*320)", 21},
};
constexpr TLegacyProfile Category4Profiles[] = {
    {"iPhone MPEG-4视频(*.mp4)", "为iPhone优化的MPEG-4视频预置方案.", 20},
    {"iPhone MPEG-4视频480P(*.mp4)", "为iPhone优化的MPEG-4视频预置方案.(480P)", 21},
    {"iPhone MPEG-4视频宽屏(*.mp4)", "为iPhone优化的MPEG-4视频预置方案.(宽屏)", 20},
    {"iPhone MPEG-4高清晰视频(*.mp4)", "为iPhone优化的MPEG-4视频预置方案.(高清晰)", 21},
    {"iPhone MPEG-4视频(320X240)(*.mp4)", "为iPhone优化的MPEG-4视频预置方案.(320*240)", 20},
    {"iPhone MPEG-4视频(480X320)(*.mp4)", "为iPhone优化的MPEG-4视频预置方案.(480*320)", 21},
};
constexpr TLegacyProfile Category5Profiles[] = {
    {"PSP MPEG-4视频(*.mp4)", "为PSP优化的MPEG-4视频预置方案.", 20},
    {"PSP AVC MPEG-4视频(*.mp4)", "为PSP优化的MPEG-4 AVC视频预置方案.", 21},
    {"PSP高清晰MPEG-4视频(*.mp4)", "为PSP优化的MPEG-4视频预置方案.(高清晰)", 20},
    {"PSP高压缩MPEG-4视频(*.mp4)", "为PSP优化的MPEG-4视频预置方案.(高压缩)", 21},
    {"PSP Video MPEG-4视频480P(*.mp4)", "为PSP优化的MPEG-4视频预置方案.(480P)", 20},
};
constexpr TLegacyProfile Category6Profiles[] = {
    {"3GPP -  第三代合作项目-3GP视频+AMR音频(*.3gp)", "为3G手机优化的3GP视频预置方案.(3GP视频+AMR音频)", 20},
    {"3GPP -  第三代合作项目-3GP视频+AAC音频(*.3gp)", "为3G手机优化的3GP视频预置方案.(3GP视频+AAC音频)", 20},
    {"3GPP2 -  第三代合作项目2-3G2视频+AMR音频(*.3g2))", "为3G手机优化的3G2视频预置方案.(3G2视频+AMR音频)", 21},
    {"3GPP2 -  第三代合作项目2-3G2视频+AAC音频(*.3g2)", "为3G手机优化的3G2视频预置方案.(3G2视频+AAC音频)", 21},
    {"黑莓手机3GP视频+AMR音频(*.3gp)", "为黑莓手机优化的3GP视频预置方案.(AMR音频)", 20},
    {"黑莓手机3GP视频+AAC音频(*.3gp)", "为黑莓手机优化的3GP视频预置方案.(AAC音频)", 21},
    {"黑莓手机AVI视频(*.avi)", "为黑莓手机优化的AVI视频预置方案.", 20},
    {"黑莓手机MPEG-4视频(*.mp4)", "为黑莓手机优化的MPEG-4视频预置方案.", 21},
    {"黑莓手机AMR音频格式(*.amr)", "为黑莓手机优化的AMR音频预置方案.(铃声和录音)", 21},
    {"Symbian智能平台手机专用MP4视频(*.mp4)", "为Symbian智能平台手机优化的MP4视频预置方案.", 21},
    {"各种手机常用的MP4视频(*.mp4)", "为常用手机优化的MP4视频预置方案.(如索爱/三星/摩托罗拉等)", 21},
    {"各种手机常用的AVI视频(*.avi)", "为常用手机优化的AVI视频预置方案.", 21},
    {"各种手机常用的MOV视频(*.mov)", "为常用手机优化的MOV视频预置方案.", 21},
    {"各种手机常用的MP4视频(*.mp4)", "为手机优化的MP4视频预置方案.", 21},
};
constexpr TLegacyProfile Category7Profiles[] = {
    {"Apple TV H264视频(320X240)(*.mp4)", "为Apple TV优化的H264视频预置方案.(320*240)", 22},
    {"Apple TV H264视频480P(640X480)(*.mp4)", "为Apple TV优化的H264视频预置方案.(480P)", 23},
    {"Apple TV H264视频720P(1280X720)(*.mp4)", "为Apple TV优化的H264视频预置方案.(720P)", 24},
    {"Apple TV H264高清晰视频480P(640X480)(*.mp4)", "为Apple TV优化的H264视频预置方案.(480P高清晰)", 25},
    {"Apple TV MPEG-4高压缩视频480P(640X480)(*.mp4)", "为Apple TV优化的MPEG-4视频预置方案.(480P高压缩)", 26},
};
constexpr TLegacyProfile Category8Profiles[] = {
    {"Xbox360 HD H.264视频(*.mp4)", "为Xbox360优化的高清晰H.264视频预置方案.", 22},
    {"Xbox360 MCE HD MPEG-2视频(*.mpg)", "为Xbox360优化的高清晰MPEG-2视频预置方案.", 23},
    {"Xbox360 MCE HD MPEG-2视频(*.mpg)", "为Xbox360优化的高清晰MPEG-2视频预置方案.", 24},
    {"Xbox360 MPEG-4视频(*.mp4)", "为Xbox360优化的MPEG-4视频预置方案.", 25},
    {"Xbox360 MP4高清晰视频(*.mp4)", "为Xbox360优化的MPEG-4视频预置方案.(高清晰)", 26},
    {"Xbox360 WMV视频(*.wmv)", "为Xbox360优化的WMV视频预置方案.", 21},
    {"Xbox360 WMV HDTV视频(*.wmv)", "为Xbox360优化的WMV视频预置方案.(HDTV)", 21},
    {"Xbox360 MCE 高清晰AVI视频(*.avi)", "为Xbox360优化的AVI视频预置方案.(高清晰).", 21},
    {"Xbox360 MCE 高清晰AVI视频(*.avi)", "为Xbox360优化的AVI视频预置方案.(微软编码1).", 21},
    {"Xbox360 MCE 高清晰AVI视频(*.avi)", "为Xbox360优化的AVI视频预置方案.(微软编码2).", 21},
};
constexpr TLegacyProfile Category9Profiles[] = {
    {"爱可视AV500/GMini402视频(*.avi)", "为爱可视AV500/GMini402优化的AVI视频预置方案.", 22},
    {"爱可视AV700视频(*.avi)", "为爱可视AV700优化的AVI视频预置方案.", 23},
    {"Creative Zen Vision视频(*.avi)", "为Creative Zen Vision优化的AVI视频预置方案.", 24},
    {"Zune MPEG-4 AVC视频(*.mp4)", "为微软Zune优化的MPEG-4 AVC视频预置方案", 25},
    {"Zune MPEG-4 AVC视频(*.mp4)", "为微软Zune优化的MPEG-4 AVC视频预置方案", 26},
    {"Zune MPEG-4视频(*.mp4)", "为微软Zune优化的MPEG-4视频预置方案", 21},
    {"Zune WMV多媒体视频(*.wmv)", "为微软Zune优化的WMV视频预置方案", 21},
    {"iRiver PMP-100视频(*.avi)", "为iRiver PMP-100优化的AVI视频预置方案.", 21},
};
constexpr TLegacyProfile Category10Profiles[] = {
    {"MP4机播放的MP4视频格式(*.mp4)", "为MP4播放机优化的MP4视频预置方案.", 22},
    {"电脑上使用的MP4视频格式(*.mp4)", "为电脑播放优化的MP4视频预置方案.", 23},
    {"MPEG-4视频高清晰视频(*.mp4)", "为电脑播放优化的MPEG-4视频预置方案.(高清晰)", 24},
    {"MP4 AVC视频(*.mp4)", "为MP4播放机优化的MPEG-4 AVC视频预置方案.", 25},
    {"MP4 H264编码视频(*.mp4)", "为MP4播放机优化的H264视频预置方案.", 26},
};
constexpr TLegacyProfile Category11Profiles[] = {
    {"FLV在线网络视频(*.flv)", "在线视频网站常用的视频预置方案.(FLV视频)", 22},
    {"SWF动画视频FLASH动画视频(*.swf)", "网页中常用的SWF动画视频预置方案.", 23},
    {"FLV在线网络音频格式(*.flv)", "在线视频网站常用的视频预置方案如(优酷、酷六、土豆网)(音频格式)", 24},
    {"SWF动画视频FLASH动画音频格式(*.swf)", "网页中常用的SWF动画视频预置方案.(音频格式)", 25},
};

constexpr TLegacyCategory Categories[] = {
    {"常用视频", 0, Category0Profiles},
    {"常用音频", 1, Category1Profiles},
    {"HD视频", 2, Category2Profiles},
    {"iPod视频", 3, Category3Profiles},
    {"iPhone视频", 4, Category4Profiles},
    {"PSP视频", 5, Category5Profiles},
    {"3GP视频", 6, Category6Profiles},
    {"APPLE视频", 7, Category7Profiles},
    {"XboX视频", 8, Category8Profiles},
    {"PMP视频", 9, Category9Profiles},
    {"MP4视频", 10, Category10Profiles},
    {"Flash视频", 11, Category11Profiles},
};

// A field left out of a row is one the row does not hold.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
constexpr TLegacySettingsRow LegacySettings[] = {
    {.Key = 100, .NameExt = ".avi", .FileExt = ".avi", .VideoCodec = "mpeg4", .VideoTag = "XVID", .AudioCodec = "libmp3lame", .FrameSize = "", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 816000, .AudioBitrate = 128000, .AudioSampleRate = "44100", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 101, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "mpeg4", .VideoTag = "", .AudioCodec = "libmp3lame", .FrameSize = "", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 816000, .AudioBitrate = 128000, .AudioSampleRate = "44100", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 102, .NameExt = ".avi", .FileExt = ".avi", .VideoCodec = "mpeg4", .VideoTag = "DX50", .AudioCodec = "libmp3lame", .FrameSize = "", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 816000, .AudioBitrate = 128000, .AudioSampleRate = "44100", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 103, .NameExt = ".mov", .FileExt = ".mov", .VideoCodec = "", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 816000, .AudioBitrate = 128000, .AudioSampleRate = "44100", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 104, .NameExt = ".avi", .FileExt = ".avi", .VideoCodec = "libxvid", .VideoTag = "", .AudioCodec = "libmp3lame", .FrameSize = "", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 816000, .AudioBitrate = 128000, .AudioSampleRate = "44100", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 105, .NameExt = ".mkv", .FileExt = ".mkv", .VideoCodec = "mpeg4", .VideoTag = "", .AudioCodec = "libmp3lame", .FrameSize = "", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 1200000, .AudioBitrate = 128000, .AudioSampleRate = "44100", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 106, .NameExt = ".mpg", .FileExt = ".mpg", .VideoCodec = "mpeg1video", .VideoTag = "", .AudioCodec = "", .FrameSize = "", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 528000, .AudioBitrate = 128000, .AudioSampleRate = "44100", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 107, .NameExt = ".mpg", .FileExt = ".mpg", .VideoCodec = "mpeg2video", .VideoTag = "", .AudioCodec = "", .FrameSize = "", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 816000, .AudioBitrate = 128000, .AudioSampleRate = "44100", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 108, .NameExt = ".asf", .FileExt = ".asf", .VideoCodec = "msmpeg4", .VideoTag = "", .AudioCodec = "wmav2", .FrameSize = "", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 816000, .AudioBitrate = 128000, .AudioSampleRate = "44100", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 109, .NameExt = ".3gp", .FileExt = ".3gp", .VideoCodec = "mpeg4", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "176*144", .FrameRate = "12", .FrameAspectRatio = "4:3", .VideoBitrate = 128000, .AudioBitrate = 12000, .AudioSampleRate = "8000", .AudioChannels = "1", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 110, .NameExt = ".wmv", .FileExt = ".wmv", .VideoCodec = "wmv2", .VideoTag = "", .AudioCodec = "wmav2", .FrameSize = "", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 816000, .AudioBitrate = 128000, .AudioSampleRate = "44100", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 111, .NameExt = ".mpg", .VideoCodec = "", .VideoTag = "", .AudioCodec = "", .FrameSize = "", .FrameRate = "", .FrameAspectRatio = "", .VideoBitrate = -1000, .AudioBitrate = -1000, .AudioSampleRate = "", .AudioChannels = "", .AudioVolume = "256", .NormType = "PAL", .FileFormat = "", .TargetType = "dvd"},
    {.Key = 112, .NameExt = ".mpg", .VideoCodec = "", .VideoTag = "", .AudioCodec = "", .FrameSize = "", .FrameRate = "", .FrameAspectRatio = "", .VideoBitrate = -1000, .AudioBitrate = -1000, .AudioSampleRate = "", .AudioChannels = "", .AudioVolume = "256", .NormType = "PAL", .FileFormat = "", .TargetType = "svcd"},
    {.Key = 113, .NameExt = ".mpg", .VideoCodec = "", .VideoTag = "", .AudioCodec = "", .FrameSize = "", .FrameRate = "", .FrameAspectRatio = "", .VideoBitrate = -1000, .AudioBitrate = -1000, .AudioSampleRate = "", .AudioChannels = "", .AudioVolume = "256", .NormType = "PAL", .FileFormat = "", .TargetType = "vcd"},
    {.Key = 114, .NameExt = ".rm", .VideoCodec = "rv20", .FrameSize = "320*240", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 200, .NameExt = ".mp3", .FileExt = ".mp3", .AudioCodec = "libmp3lame", .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = "", .DisableVideo = true},
    {.Key = 201, .NameExt = ".wma", .FileExt = ".wma", .AudioCodec = "wmav2", .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = "", .DisableVideo = true},
    {.Key = 202, .NameExt = ".wav", .FileExt = ".wav", .AudioCodec = "", .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = "", .DisableVideo = true},
    {.Key = 203, .NameExt = ".aac", .FileExt = ".aac", .AudioCodec = "libfaac", .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = "", .DisableVideo = true},
    {.Key = 204, .NameExt = ".m4a", .FileExt = ".m4a", .AudioCodec = "", .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = "", .DisableVideo = true},
    {.Key = 205, .NameExt = ".ogg", .FileExt = ".ogg", .AudioCodec = "libvorbis", .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = "", .DisableVideo = true},
    {.Key = 206, .NameExt = ".ra", .FileExt = ".rm", .AudioCodec = "", .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = "", .DisableVideo = true},
    {.Key = 207, .NameExt = ".ac3", .FileExt = ".ac3", .AudioCodec = "ac3", .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = "", .DisableVideo = true},
    {.Key = 208, .NameExt = ".aiff", .FileExt = ".aiff", .AudioCodec = "", .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = "", .DisableVideo = true},
    {.Key = 209, .NameExt = ".mp2", .FileExt = ".mp2", .AudioCodec = "", .AudioBitrate = 128000, .AudioSampleRate = "44100", .AudioChannels = "2", .AudioVolume = "256", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = "", .DisableVideo = true},
    {.Key = 210, .NameExt = ".flac", .FileExt = ".flac", .AudioCodec = "flac", .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = "", .DisableVideo = true},
    {.Key = 211, .NameExt = ".m4a", .FileExt = ".alac", .AudioCodec = "alac", .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = "", .DisableVideo = true},
    {.Key = 212, .NameExt = ".amr", .FileExt = ".amr", .AudioCodec = "libopencore_amrnb", .AudioBitrate = 7400, .AudioSampleRate = "8000", .AudioChannels = "1", .AudioVolume = "256", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = "", .DisableVideo = true},
    {.Key = 300, .NameExt = ".avi", .FileExt = ".avi", .VideoCodec = "mpeg4", .VideoTag = "", .AudioCodec = "libmp3lame", .FrameSize = "1280*720", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 1600000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 301, .NameExt = ".avi", .FileExt = ".avi", .VideoCodec = "libxvid", .VideoTag = "", .AudioCodec = "libmp3lame", .FrameSize = "1280*720", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 1600000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 302, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "libx264", .VideoTag = "", .AudioCodec = "libmp3lame", .FrameSize = "1280*720", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 1600000, .AudioBitrate = 256000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 303, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "mpeg4", .VideoTag = "", .AudioCodec = "libmp3lame", .FrameSize = "1280*720", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 1600000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 304, .NameExt = ".mov", .FileExt = ".mov", .VideoCodec = "", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "1280*720", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 1600000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 305, .NameExt = ".asf", .FileExt = ".asf", .VideoCodec = "msmpeg4", .AudioCodec = "wmav2", .FrameSize = "1280*720", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 1600000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 306, .NameExt = ".wmv", .FileExt = ".asf", .VideoCodec = "wmv2", .VideoTag = "", .AudioCodec = "wmav2", .FrameSize = "1280*720", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 1600000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 307, .NameExt = ".vob", .FileExt = ".vob", .VideoCodec = "", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "1280*720", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 1600000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 308, .NameExt = ".mpg", .FileExt = ".mpg", .VideoCodec = "mpeg2video", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "1280*720", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 1600000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 309, .NameExt = ".mkv", .FileExt = ".mkv", .VideoCodec = "mpeg4", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "1280*720", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 1600000, .AudioBitrate = 192000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 400, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "libx264", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "320*240", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 512000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 401, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "libxvid", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "320*240", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 768000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 402, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "libxvid", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "640*480", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 768000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 403, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "libxvid", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "640*480", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 768000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = ""},
    {.Key = 404, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "mpeg4", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "640*480", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 600000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = ""},
    {.Key = 405, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "libx264", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "640*480", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 1200000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = ""},
    {.Key = 406, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "libxvid", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "640*480", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 512000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = ""},
    {.Key = 407, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "mpeg4", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "320*240", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 600000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 408, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "libxvid", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "640*480", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 7680000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 409, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "libx264", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "640*480", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 1200000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 410, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "libxvid", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "640*480", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 512000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 411, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "libxvid", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "640*480", .FrameRate = "25", .FrameAspectRatio = "16:9", .VideoBitrate = 1200000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 412, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "libxvid", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "320*240", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 768000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 413, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "libxvid", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "480*320", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 1000000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 500, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "mpeg4", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "320*240", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 600000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 501, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "libxvid", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "640*480", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 1000000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 502, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "mpeg4", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "640*480", .FrameRate = "25", .FrameAspectRatio = "16:9", .VideoBitrate = 600000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 503, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "libx264", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "320*240", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 1200000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 504, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "mpeg4", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "320*240", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 600000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 505, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "mpeg4", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "480*320", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 768000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 600, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "mpeg4", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "320*240", .FrameRate = "29.97", .FrameAspectRatio = "", .VideoBitrate = 600000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 601, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "libx264", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "320*240", .FrameRate = "29.97", .FrameAspectRatio = "", .VideoBitrate = 768000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 602, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "libx264", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "320*240", .FrameRate = "29.97", .FrameAspectRatio = "", .VideoBitrate = 1200000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 603, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "libxvid", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "320*240", .FrameRate = "29.97", .FrameAspectRatio = "", .VideoBitrate = 384000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 604, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "libx264", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "640*480", .FrameRate = "29.97", .FrameAspectRatio = "", .VideoBitrate = 1000000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 700, .NameExt = ".3gp", .FileExt = ".3gp", .VideoCodec = "h263", .VideoTag = "", .AudioCodec = "libamr_nb", .FrameSize = "176*144", .FrameRate = "12", .FrameAspectRatio = "", .VideoBitrate = 128000, .AudioBitrate = 12000, .AudioSampleRate = "8000", .AudioChannels = "1", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 701, .NameExt = ".3gp", .FileExt = ".3gp", .VideoCodec = "h263", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "176*144", .FrameRate = "12", .FrameAspectRatio = "", .VideoBitrate = 128000, .AudioBitrate = 48000, .AudioSampleRate = "16000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 702, .NameExt = ".3gp", .FileExt = ".3gp", .VideoCodec = "mpeg4", .VideoTag = "", .AudioCodec = "libamr_nb", .FrameSize = "176*144", .FrameRate = "12", .FrameAspectRatio = "", .VideoBitrate = 128000, .AudioBitrate = 12000, .AudioSampleRate = "8000", .AudioChannels = "1", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 703, .NameExt = ".3g2", .FileExt = ".3g2", .VideoCodec = "mpeg4", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "176*144", .FrameRate = "12", .FrameAspectRatio = "", .VideoBitrate = 128000, .AudioBitrate = 48000, .AudioSampleRate = "32000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 704, .NameExt = ".3gp", .FileExt = ".3gp", .VideoCodec = "mpeg4", .VideoTag = "", .AudioCodec = "libamr_nb", .FrameSize = "176*144", .FrameRate = "12", .FrameAspectRatio = "", .VideoBitrate = 128000, .AudioBitrate = 10200, .AudioSampleRate = "8000", .AudioChannels = "1", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 705, .NameExt = ".3gp", .FileExt = ".3gp", .VideoCodec = "mpeg4", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "320*240", .FrameRate = "15", .FrameAspectRatio = "", .VideoBitrate = 128000, .AudioBitrate = 32000, .AudioSampleRate = "16000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 706, .NameExt = ".avi", .FileExt = ".avi", .VideoCodec = "h263", .VideoTag = "", .AudioCodec = "libmp3lame", .FrameSize = "352*288", .FrameRate = "15", .FrameAspectRatio = "", .VideoBitrate = 256000, .AudioBitrate = 128000, .AudioSampleRate = "44100", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 707, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "mpeg4", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "352*288", .FrameRate = "15", .FrameAspectRatio = "", .VideoBitrate = 128000, .AudioBitrate = 128000, .AudioSampleRate = "44100", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 708, .NameExt = ".amr", .FileExt = ".amr", .AudioCodec = "libopencore_amrnb", .AudioBitrate = 7400, .AudioSampleRate = "8000", .AudioChannels = "1", .AudioVolume = "256", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = "", .DisableVideo = true},
    {.Key = 709, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "mpeg4", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "352*288", .FrameRate = "15", .FrameAspectRatio = "", .VideoBitrate = 160000, .AudioBitrate = 64000, .AudioSampleRate = "44100", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 710, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "mpeg4", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "352*288", .FrameRate = "12", .FrameAspectRatio = "", .VideoBitrate = 128000, .AudioBitrate = 32000, .AudioSampleRate = "32000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 711, .NameExt = ".avi", .FileExt = ".avi", .VideoCodec = "mpeg4", .VideoTag = "DX50", .AudioCodec = "libmp3lame", .FrameSize = "320*240", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 256000, .AudioBitrate = 128000, .AudioSampleRate = "44100", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 712, .NameExt = ".mov", .FileExt = ".mov", .VideoCodec = "", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "320*240", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 256000, .AudioBitrate = 128000, .AudioSampleRate = "44100", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 713, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "mpeg4", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "176*144", .FrameRate = "12", .FrameAspectRatio = "", .VideoBitrate = 128000, .AudioBitrate = 32000, .AudioSampleRate = "32000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 800, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "libx264", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "320*240", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 768000, .AudioBitrate = 192000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 801, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "libx264", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "640*480", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 1000000, .AudioBitrate = 192000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 802, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "libx264", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "1280*720", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 1000000, .AudioBitrate = 192000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 803, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "mpeg4", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "640*480", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 1200000, .AudioBitrate = 192000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 804, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "libxvid", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "640*480", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 600000, .AudioBitrate = 192000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 900, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "libx264", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "640*480", .FrameRate = "29.97", .FrameAspectRatio = "", .VideoBitrate = 1200000, .AudioBitrate = 192000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 901, .NameExt = ".mpeg", .FileExt = ".mpeg", .VideoCodec = "mpeg2video", .VideoTag = "", .AudioCodec = "ac3", .FrameSize = "1280*720", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 1200000, .AudioBitrate = 192000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 902, .NameExt = ".mpg", .FileExt = ".mpg", .VideoCodec = "mpeg2video", .VideoTag = "", .AudioCodec = "ac3", .FrameSize = "1280*720", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 1200000, .AudioBitrate = 192000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 903, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "mpeg4", .VideoTag = "", .AudioCodec = "libmp3lame", .FrameSize = "640*480", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 1200000, .AudioBitrate = 192000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 904, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "mpeg4", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "1280*720", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 1200000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 905, .NameExt = ".wmv", .FileExt = ".wmv", .VideoCodec = "wmv2", .VideoTag = "", .AudioCodec = "wmav2", .FrameSize = "640*480", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 1200000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 906, .NameExt = ".avi", .FileExt = ".avi", .VideoCodec = "wmv2", .VideoTag = "", .AudioCodec = "libmp3lame", .FrameSize = "1280*720", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 1200000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 907, .NameExt = ".avi", .FileExt = ".avi", .VideoCodec = "msmpeg4v2", .VideoTag = "", .AudioCodec = "libmp3lame", .FrameSize = "1280*720", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 1200000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 908, .NameExt = ".avi", .FileExt = ".avi", .VideoCodec = "msmpeg4", .VideoTag = "", .AudioCodec = "libmp3lame", .FrameSize = "1280*720", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 1200000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 909, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "msmpeg4v1", .VideoTag = "", .AudioCodec = "libmp3lame", .FrameSize = "1280*720", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 1200000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 1000, .NameExt = ".avi", .FileExt = ".avi", .VideoCodec = "mpeg4", .VideoTag = "", .AudioCodec = "libmp3lame", .FrameSize = "480*272", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 1000000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 1001, .NameExt = ".avi", .FileExt = ".avi", .VideoCodec = "mpeg4", .VideoTag = "", .AudioCodec = "libmp3lame", .FrameSize = "720*480", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 1000000, .AudioBitrate = 128000, .AudioSampleRate = "48000", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 1002, .NameExt = ".avi", .FileExt = ".avi", .VideoCodec = "mpeg4", .VideoTag = "", .AudioCodec = "libmp3lame", .FrameSize = "320*240", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 768000, .AudioBitrate = 128000, .AudioSampleRate = "44100", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 1003, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "mpeg4", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "320*240", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 512000, .AudioBitrate = 128000, .AudioSampleRate = "44100", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 1004, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "libx264", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "320*240", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 768000, .AudioBitrate = 128000, .AudioSampleRate = "44100", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 1005, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "libxvid", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "320*240", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 768000, .AudioBitrate = 128000, .AudioSampleRate = "44100", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 1006, .NameExt = ".wmv", .FileExt = ".wmv", .VideoCodec = "wmv2", .VideoTag = "", .AudioCodec = "wmav2", .FrameSize = "320*240", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 1000000, .AudioBitrate = 128000, .AudioSampleRate = "44100", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 1007, .NameExt = ".avi", .FileExt = ".avi", .VideoCodec = "mpeg4", .VideoTag = "", .AudioCodec = "libmp3lame", .FrameSize = "640*480", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 1000000, .AudioBitrate = 128000, .AudioSampleRate = "44100", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 1100, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "mpeg4", .VideoTag = "", .AudioCodec = "libmp3lame", .FrameSize = "320*240", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 528000, .AudioBitrate = 128000, .AudioSampleRate = "44100", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 1101, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "mpeg4", .VideoTag = "", .AudioCodec = "libmp3lame", .FrameSize = "", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 768000, .AudioBitrate = 128000, .AudioSampleRate = "44100", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 1102, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "libx264", .VideoTag = "", .AudioCodec = "libmp3lame", .FrameSize = "", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 1200000, .AudioBitrate = 128000, .AudioSampleRate = "44100", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 1103, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "libx264", .VideoTag = "", .AudioCodec = "libfaac", .FrameSize = "320*240", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 1200000, .AudioBitrate = 128000, .AudioSampleRate = "44100", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 1104, .NameExt = ".mp4", .FileExt = ".mp4", .VideoCodec = "libx264", .VideoTag = "", .AudioCodec = "libmp3lame", .FrameSize = "", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 1200000, .AudioBitrate = 128000, .AudioSampleRate = "44100", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 1200, .NameExt = ".flv", .FileExt = ".flv", .VideoCodec = "", .VideoTag = "", .AudioCodec = "libmp3lame", .FrameSize = "", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 1200000, .AudioBitrate = 128000, .AudioSampleRate = "22050", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 1201, .NameExt = ".swf", .FileExt = ".swf", .VideoCodec = "", .VideoTag = "", .AudioCodec = "libmp3lame", .FrameSize = "", .FrameRate = "25", .FrameAspectRatio = "", .VideoBitrate = 528000, .AudioBitrate = 128000, .AudioSampleRate = "22050", .AudioChannels = "2", .AudioVolume = "256", .VideoFilters = "", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = ""},
    {.Key = 1202, .NameExt = ".flv", .AudioCodec = "libmp3lame", .AudioBitrate = 128000, .AudioSampleRate = "22050", .AudioChannels = "2", .AudioVolume = "256", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = "", .DisableVideo = true},
    {.Key = 1203, .NameExt = ".swf", .AudioCodec = "libmp3lame", .AudioBitrate = 128000, .AudioSampleRate = "22050", .AudioChannels = "2", .AudioVolume = "256", .NormType = "", .CopyTimestamp = "", .FileFormat = "", .TargetType = "", .DisableVideo = true},
};
#pragma GCC diagnostic pop

constexpr std::string_view FrameSizeList1[] = {"保持原分辨率", "128*96", "176*144", "240*176", "320*240", "352*240", "352*288", "384*288", "480*480", "480*576", "640*368", "640*480", "704*480", "704*576", "720*480", "720*576", "800*600", "852*480", "1024*768", "1280*720", "1280*1024", "1600*1024", "1600*1200", "1920*1080", "1920*1200", "1920*1440", "2048*1536", "2560*1600"};
constexpr std::string_view FrameSizeList2[] = {"112*96", "128*96", "160*112", "160*120", "176*144", "192*144", "208*176", "220*176", "320*208", "320*224", "320*240"};
constexpr std::string_view FrameSizeList3[] = {"该格式无视频"};
constexpr std::string_view FrameSizeList4[] = {"保持原分辨率", "1024*768", "1280*720", "1280*1024", "1600*1024", "1600*1200", "1920*1080", "1920*1200", "1920*1440", "2048*1536", "2560*1600"};
constexpr std::string_view FrameSizeList5[] = {"128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "640*480"};
constexpr std::string_view FrameSizeList6[] = {"128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "480*320", "480*368", "512*384", "640*272", "640*353", "640*480"};
constexpr std::string_view FrameSizeList7[] = {"128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "480*320", "480*368", "512*384", "640*272", "640*353", "640*480", "720*406"};
constexpr std::string_view FrameSizeList8[] = {"320*240", "368*208", "480*272", "640*480", "720*480"};
constexpr std::string_view FrameSizeList9[] = {"112*96", "128*96", "160*112", "160*120", "176*144", "192*144", "208*176", "220*176", "320*208", "320*224", "320*240", "352*288", "480*360"};
constexpr std::string_view FrameSizeList10[] = {"128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "640*480", "1280*720"};
constexpr std::string_view FrameSizeList11[] = {"128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "480*272", "640*480", "704*576"};
constexpr std::string_view FrameSizeList12[] = {"1280*720", "1440*1080", "1920*1080"};
constexpr std::string_view FrameSizeList13[] = {"640*480", "704*576", "720*480", "720*576", "800*600", "852*480", "1024*768", "1280*720", "1280*1024", "1600*1024", "1600*1200", "1920*1080", "1920*1200", "1920*1440", "2048*1536", "2560*1600"};
constexpr std::string_view FrameSizeList14[] = {"704*576", "1280*720", "1440*1080", "1920*1080"};
constexpr std::string_view FrameSizeList15[] = {"128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "640*480", "704*576", "1280*720", "1440*1080", "1920*1080"};
constexpr std::string_view FrameSizeList16[] = {"128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "480*272", "640*480", "704*576", "1280*720", "1440*1080", "1920*1080"};
constexpr std::string_view FrameSizeList17[] = {"160*120", "320*240", "480*272", "640*480", "720*480"};
constexpr std::string_view FrameSizeList18[] = {"320*240", "640*480"};
constexpr std::string_view FrameSizeList19[] = {"保持原分辨率", "128*96", "176*144", "240*176", "320*240", "352*240", "352*288", "384*288", "480*480", "480*576", "640*368", "640*480", "704*480", "704*576", "720*480", "720*576", "800*600", "852*480", "1024*768"};
constexpr std::span<const std::string_view> FrameSizeLists[] = {FrameSizeList1, FrameSizeList2, FrameSizeList3, FrameSizeList4, FrameSizeList5, FrameSizeList6, FrameSizeList7, FrameSizeList8, FrameSizeList9, FrameSizeList10, FrameSizeList11, FrameSizeList12, FrameSizeList13, FrameSizeList14, FrameSizeList15, FrameSizeList16, FrameSizeList17, FrameSizeList18, FrameSizeList19};

constexpr std::string_view VideoBitrateList1[] = {"128 kbps", "288 kbps", "528 kbps", "816 kbps", "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps"};
constexpr std::string_view VideoBitrateList2[] = {"128 kbps", "288 kbps", "528 kbps", "768 kbps", "816 kbps", "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps"};
constexpr std::string_view VideoBitrateList3[] = {"128 kbps", "288 kbps", "528 kbps", "816 kbps", "1000 kbps", "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps"};
constexpr std::string_view VideoBitrateList4[] = {"8 kbps", "16 kbps", "24 kbps", "32 kbps", "48 kbps", "56 kbps", "64 kbps", "80 kbps", "96 kbps", "128 kbps", "160 kbps", "192 kbps", "256 kbps", "320 kbps", "384 kbps"};
constexpr std::string_view VideoBitrateList5[] = {"128 kbps", "288 kbps", "528 kbps", "600 kbps", "816 kbps", "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps"};
constexpr std::string_view VideoBitrateList6[] = {"无视频"};
constexpr std::string_view VideoBitrateList7[] = {"816 kbps", "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps", "4000 kbps"};
constexpr std::string_view VideoBitrateList8[] = {"192 kbps", "384 kbps", "600 kbps", "768 kbps", "1000 kbps", "1200 kbps", "1500 kbps", "1800 kbps", "2000 kbps"};
constexpr std::string_view VideoBitrateList9[] = {"216 kbps", "384 kbps", "512 kbps", "768 kbps", "1000 kbps", "1200 kbps", "1500 kbps"};
constexpr std::string_view VideoBitrateList10[] = {"8 kbps", "16 kbps", "24 kbps", "32 kbps", "48 kbps", "56 kbps", "64 kbps", "80 kbps", "96 kbps", "128 kbps", "160 kbps", "192 kbps", "256 kbps", "320 kbps", "384 kbps", "512 kbps", "600 kbps"};
constexpr std::span<const std::string_view> VideoBitrateLists[] = {VideoBitrateList1, VideoBitrateList2, VideoBitrateList3, VideoBitrateList4, VideoBitrateList5, VideoBitrateList6, VideoBitrateList7, VideoBitrateList8, VideoBitrateList9, VideoBitrateList10};

constexpr std::string_view FrameRateList1[] = {"保持原帧速率", "10.00", "13.00", "15.00", "18.00", "20.00", "23.00", "23.97", "24.00", "25.00", "29.97", "30.00"};
constexpr std::string_view FrameRateList2[] = {"1", "2", "3", "5", "10", "12", "15"};
constexpr std::string_view FrameRateList3[] = {"无视频"};
constexpr std::string_view FrameRateList4[] = {"保持原帧速率", "25.00", "29.97", "30.00"};
constexpr std::string_view FrameRateList5[] = {"保持原帧速率", "10.00", "12.00", "15.00", "20.00", "23.98", "24.00", "25.00", "29.97", "30.00"};
constexpr std::string_view FrameRateList6[] = {"15.00", "23.98", "29.97"};
constexpr std::string_view FrameRateList7[] = {"1", "2", "3", "5", "10", "12", "15", "25"};
constexpr std::span<const std::string_view> FrameRateLists[] = {FrameRateList1, FrameRateList2, FrameRateList3, FrameRateList4, FrameRateList5, FrameRateList6, FrameRateList7};

constexpr std::string_view AudioBitrateList1[] = {"16 kbps", "24 kbps", "32 kbps", "40 kbps", "48 kbps", "56 kbps", "64 kbps", "80 kbps", "96 kbps", "112 kbps", "128 kbps", "144 kbps", "160 kbps", "192 kbps", "224 kbps", "256 kbps", "320 kbps"};
constexpr std::string_view AudioBitrateList2[] = {"5 kbps", "6 kbps", "7 kbps", "8 kbps", "10 kbps", "12 kbps"};
constexpr std::string_view AudioBitrateList3[] = {"4.75 kbps", "5.15 kbps", "5.9 kbps", "6.7 kbps", "7.4 kbps", "7.95 kbps", "10.2 kbps", "12.2 kbps"};
constexpr std::string_view AudioBitrateList4[] = {"64 kbps", "96 kbps", "128 kbps", "160 kbps", "192 kbps"};
constexpr std::string_view AudioBitrateList5[] = {"48 kbps", "56 kbps", "64 kbps", "80 kbps", "96 kbps", "112 kbps", "116 kbps", "128 kbps"};
constexpr std::string_view AudioBitrateList6[] = {"32 kbps", "48 kbps", "56 kbps", "64 kbps", "80 kbps", "96 kbps", "112 kbps", "116 kbps", "128 kbps"};
constexpr std::span<const std::string_view> AudioBitrateLists[] = {AudioBitrateList1, AudioBitrateList2, AudioBitrateList3, AudioBitrateList4, AudioBitrateList5, AudioBitrateList6};

constexpr std::string_view SampleRateList1[] = {"11025", "16000", "22050", "32000", "44100", "48000"};
constexpr std::string_view SampleRateList2[] = {"8000"};
constexpr std::string_view SampleRateList3[] = {"22050", "32000", "44100", "48000"};
constexpr std::string_view SampleRateList4[] = {"8000", "11025", "16000", "22050", "32000", "44100", "48000"};
constexpr std::string_view SampleRateList5[] = {"11025", "22050", "44100"};
constexpr std::span<const std::string_view> SampleRateLists[] = {SampleRateList1, SampleRateList2, SampleRateList3, SampleRateList4, SampleRateList5};

constexpr std::string_view AspectModeList1[] = {"保持原视频模式", "普通视频4:3模式", "宽屏视频16:9模式", "宽屏视频37:20模式", "宽屏视频47:20模式"};
constexpr std::string_view AspectModeList2[] = {"保持原视频模式", "普通视频4:3模式"};
constexpr std::string_view AspectModeList3[] = {"无视频"};
constexpr std::span<const std::string_view> AspectModeLists[] = {AspectModeList1, AspectModeList2, AspectModeList3};

// Per key: the list of each kind and its default position, in the order
// frame size, video bit rate, frame rate, audio bit rate, sample rate, aspect.
constexpr TLegacyParameterRow LegacyRows[] = {
    {100, {{{1, 0}, {1, 3}, {1, 9}, {1, 10}, {1, 4}, {1, 0}}}},
    {101, {{{1, 0}, {2, 3}, {1, 9}, {1, 10}, {1, 4}, {1, 0}}}},
    {102, {{{1, 0}, {3, 4}, {1, 9}, {1, 10}, {1, 4}, {1, 0}}}},
    {103, {{{1, 0}, {2, 3}, {1, 9}, {1, 10}, {1, 5}, {1, 0}}}},
    {104, {{{1, 0}, {3, 4}, {1, 0}, {1, 10}, {1, 4}, {1, 0}}}},
    {105, {{{1, 0}, {1, 4}, {1, 10}, {1, 10}, {1, 4}, {1, 0}}}},
    {106, {{{1, 4}, {1, 3}, {1, 9}, {1, 10}, {1, 4}, {1, 0}}}},
    {107, {{{1, 0}, {1, 3}, {1, 9}, {1, 10}, {1, 4}, {1, 0}}}},
    {108, {{{1, 0}, {1, 3}, {1, 0}, {1, 10}, {1, 5}, {1, 0}}}},
    {109, {{{2, 4}, {4, 9}, {2, 5}, {2, 5}, {2, 0}, {2, 0}}}},
    {110, {{{1, 0}, {5, 3}, {1, 9}, {1, 10}, {1, 4}, {1, 0}}}},
    {111, {{{1, 12}, {1, 4}, {1, 10}, {1, 10}, {1, 4}, {1, 0}}}},
    {112, {{{1, 8}, {1, 2}, {1, 9}, {1, 10}, {1, 4}, {1, 0}}}},
    {113, {{{1, 4}, {1, 2}, {1, 9}, {1, 10}, {1, 4}, {1, 0}}}},
    {114, {{{1, 4}, {1, 2}, {1, 9}, {1, 10}, {1, 4}, {1, 0}}}},
    {200, {{{3, 0}, {6, 0}, {3, 0}, {1, 10}, {1, 4}, {3, 0}}}},
    {201, {{{3, 0}, {6, 0}, {3, 0}, {1, 10}, {1, 4}, {3, 0}}}},
    {202, {{{3, 0}, {6, 0}, {3, 0}, {1, 13}, {1, 5}, {3, 0}}}},
    {203, {{{3, 0}, {6, 0}, {3, 0}, {1, 10}, {1, 5}, {3, 0}}}},
    {204, {{{3, 0}, {6, 0}, {3, 0}, {1, 9}, {1, 4}, {3, 0}}}},
    {205, {{{3, 0}, {6, 0}, {3, 0}, {1, 10}, {1, 4}, {3, 0}}}},
    {206, {{{3, 0}, {6, 0}, {3, 0}, {1, 9}, {1, 4}, {3, 0}}}},
    {207, {{{3, 0}, {6, 0}, {3, 0}, {1, 10}, {1, 4}, {3, 0}}}},
    {208, {{{3, 0}, {6, 0}, {3, 0}, {1, 10}, {1, 4}, {3, 0}}}},
    {209, {{{3, 0}, {6, 0}, {3, 0}, {1, 10}, {1, 4}, {3, 0}}}},
    {210, {{{3, 0}, {6, 0}, {3, 0}, {1, 13}, {1, 5}, {3, 0}}}},
    {211, {{{3, 0}, {6, 0}, {3, 0}, {1, 12}, {1, 5}, {3, 0}}}},
    {212, {{{3, 0}, {6, 0}, {3, 0}, {3, 4}, {2, 0}, {3, 0}}}},
    {300, {{{4, 2}, {7, 2}, {4, 2}, {1, 10}, {1, 5}, {1, 0}}}},
    {301, {{{4, 2}, {7, 1}, {4, 3}, {1, 10}, {1, 5}, {1, 0}}}},
    {302, {{{4, 2}, {7, 1}, {4, 2}, {1, 13}, {1, 5}, {1, 0}}}},
    {303, {{{4, 3}, {7, 2}, {4, 3}, {1, 13}, {1, 5}, {1, 0}}}},
    {304, {{{4, 3}, {7, 2}, {4, 2}, {1, 12}, {1, 5}, {1, 0}}}},
    {305, {{{4, 3}, {7, 1}, {4, 2}, {1, 10}, {1, 5}, {1, 0}}}},
    {306, {{{4, 3}, {7, 2}, {4, 2}, {1, 10}, {1, 5}, {1, 0}}}},
    {307, {{{4, 2}, {7, 1}, {4, 2}, {1, 10}, {1, 5}, {1, 0}}}},
    {308, {{{4, 3}, {7, 2}, {4, 2}, {1, 10}, {1, 5}, {1, 0}}}},
    {309, {{{4, 3}, {7, 2}, {4, 3}, {1, 10}, {1, 5}, {1, 0}}}},
    {400, {{{5, 3}, {8, 4}, {5, 7}, {4, 2}, {3, 3}, {1, 0}}}},
    {401, {{{5, 3}, {8, 2}, {5, 7}, {4, 2}, {3, 3}, {1, 0}}}},
    {402, {{{5, 3}, {8, 3}, {5, 7}, {4, 2}, {3, 3}, {1, 0}}}},
    {403, {{{5, 6}, {8, 3}, {5, 7}, {4, 2}, {3, 3}, {1, 0}}}},
    {404, {{{5, 6}, {8, 3}, {5, 7}, {4, 2}, {3, 3}, {1, 0}}}},
    {405, {{{5, 6}, {8, 5}, {5, 7}, {4, 2}, {3, 3}, {1, 0}}}},
    {406, {{{5, 6}, {8, 2}, {5, 7}, {4, 2}, {3, 3}, {1, 0}}}},
    {407, {{{6, 6}, {8, 3}, {5, 7}, {4, 2}, {3, 3}, {1, 0}}}},
    {408, {{{6, 11}, {8, 3}, {5, 7}, {4, 2}, {3, 3}, {1, 0}}}},
    {409, {{{6, 11}, {8, 5}, {5, 7}, {4, 2}, {3, 3}, {1, 0}}}},
    {410, {{{6, 11}, {8, 2}, {5, 7}, {4, 2}, {3, 3}, {1, 0}}}},
    {411, {{{6, 9}, {8, 3}, {5, 7}, {4, 2}, {3, 3}, {1, 2}}}},
    {412, {{{6, 3}, {8, 3}, {5, 7}, {4, 2}, {3, 3}, {1, 0}}}},
    {413, {{{6, 6}, {8, 3}, {5, 7}, {4, 2}, {3, 3}, {1, 0}}}},
    {500, {{{6, 6}, {8, 3}, {5, 7}, {4, 2}, {3, 3}, {1, 0}}}},
    {501, {{{6, 11}, {8, 3}, {5, 7}, {4, 2}, {3, 3}, {1, 0}}}},
    {502, {{{7, 12}, {8, 3}, {5, 7}, {4, 2}, {3, 3}, {1, 2}}}},
    {503, {{{7, 11}, {8, 5}, {5, 7}, {4, 2}, {3, 3}, {1, 0}}}},
    {504, {{{7, 3}, {8, 3}, {5, 7}, {4, 2}, {3, 3}, {1, 0}}}},
    {505, {{{7, 6}, {8, 3}, {5, 7}, {4, 2}, {3, 3}, {1, 0}}}},
    {600, {{{8, 0}, {9, 3}, {6, 2}, {4, 2}, {3, 3}, {1, 0}}}},
    {601, {{{8, 1}, {9, 4}, {6, 2}, {4, 2}, {3, 3}, {1, 0}}}},
    {602, {{{8, 1}, {9, 5}, {6, 2}, {4, 2}, {3, 3}, {1, 0}}}},
    {603, {{{8, 1}, {9, 2}, {6, 2}, {4, 2}, {3, 3}, {1, 0}}}},
    {604, {{{8, 4}, {9, 4}, {6, 2}, {4, 2}, {3, 3}, {1, 0}}}},
    {700, {{{2, 4}, {4, 9}, {2, 5}, {2, 5}, {2, 0}, {1, 0}}}},
    {701, {{{2, 4}, {4, 9}, {2, 5}, {5, 0}, {4, 4}, {1, 0}}}},
    {702, {{{2, 4}, {4, 9}, {2, 5}, {2, 5}, {2, 0}, {1, 0}}}},
    {703, {{{2, 4}, {4, 9}, {2, 5}, {5, 0}, {4, 4}, {1, 0}}}},
    {704, {{{9, 4}, {4, 9}, {2, 5}, {2, 5}, {2, 0}, {1, 0}}}},
    {705, {{{9, 4}, {4, 9}, {2, 5}, {5, 0}, {4, 4}, {1, 0}}}},
    {706, {{{9, 4}, {4, 9}, {2, 5}, {5, 0}, {4, 4}, {1, 0}}}},
    {707, {{{9, 4}, {10, 10}, {7, 6}, {5, 0}, {4, 4}, {1, 0}}}},
    {708, {{{3, 0}, {6, 0}, {3, 0}, {3, 4}, {2, 0}, {3, 0}}}},
    {709, {{{9, 4}, {10, 9}, {7, 5}, {6, 0}, {4, 4}, {1, 0}}}},
    {710, {{{9, 4}, {10, 9}, {7, 5}, {6, 0}, {4, 4}, {1, 0}}}},
    {711, {{{9, 4}, {10, 9}, {7, 5}, {6, 0}, {4, 4}, {1, 0}}}},
    {712, {{{9, 4}, {10, 9}, {7, 5}, {6, 0}, {4, 4}, {1, 0}}}},
    {713, {{{9, 4}, {10, 9}, {7, 5}, {6, 0}, {4, 4}, {1, 0}}}},
    {800, {{{5, 3}, {8, 3}, {5, 7}, {4, 2}, {3, 3}, {1, 0}}}},
    {801, {{{5, 6}, {8, 3}, {5, 7}, {4, 2}, {3, 3}, {1, 0}}}},
    {802, {{{10, 7}, {8, 6}, {5, 8}, {4, 2}, {3, 3}, {1, 0}}}},
    {803, {{{5, 6}, {8, 7}, {5, 8}, {4, 2}, {3, 3}, {1, 0}}}},
    {804, {{{5, 6}, {8, 2}, {5, 7}, {4, 2}, {3, 3}, {1, 0}}}},
    {900, {{{11, 7}, {8, 5}, {5, 8}, {4, 2}, {3, 3}, {1, 0}}}},
    {901, {{{12, 0}, {8, 5}, {5, 9}, {4, 2}, {3, 3}, {1, 0}}}},
    {902, {{{12, 0}, {8, 5}, {5, 9}, {4, 2}, {3, 3}, {1, 0}}}},
    {903, {{{11, 7}, {8, 4}, {5, 7}, {4, 2}, {3, 3}, {1, 0}}}},
    {904, {{{13, 7}, {8, 5}, {5, 9}, {4, 2}, {3, 3}, {1, 0}}}},
    {905, {{{11, 7}, {8, 5}, {5, 7}, {4, 2}, {3, 3}, {1, 0}}}},
    {906, {{{14, 2}, {8, 7}, {5, 9}, {4, 2}, {3, 3}, {1, 0}}}},
    {907, {{{15, 8}, {8, 7}, {5, 9}, {4, 2}, {3, 3}, {1, 0}}}},
    {908, {{{16, 9}, {8, 5}, {5, 8}, {4, 2}, {3, 3}, {1, 0}}}},
    {909, {{{15, 8}, {8, 7}, {5, 9}, {4, 2}, {3, 3}, {1, 0}}}},
    {1000, {{{17, 2}, {8, 4}, {5, 7}, {4, 2}, {3, 3}, {1, 0}}}},
    {1001, {{{17, 4}, {8, 4}, {5, 7}, {4, 2}, {3, 3}, {1, 0}}}},
    {1002, {{{17, 1}, {8, 2}, {5, 7}, {4, 2}, {3, 3}, {1, 0}}}},
    {1003, {{{18, 0}, {8, 3}, {5, 7}, {4, 2}, {3, 3}, {1, 0}}}},
    {1004, {{{18, 0}, {8, 3}, {5, 7}, {4, 2}, {3, 3}, {1, 0}}}},
    {1005, {{{18, 0}, {8, 5}, {5, 7}, {4, 2}, {3, 3}, {1, 0}}}},
    {1006, {{{18, 0}, {8, 3}, {5, 7}, {4, 2}, {3, 3}, {1, 0}}}},
    {1007, {{{17, 3}, {8, 3}, {5, 7}, {4, 2}, {3, 3}, {1, 0}}}},
    {1100, {{{19, 4}, {1, 3}, {1, 9}, {1, 10}, {1, 4}, {1, 0}}}},
    {1101, {{{1, 0}, {1, 4}, {1, 9}, {1, 10}, {1, 4}, {1, 0}}}},
    {1102, {{{1, 0}, {1, 4}, {1, 9}, {1, 10}, {1, 4}, {1, 0}}}},
    {1103, {{{1, 0}, {1, 4}, {1, 10}, {1, 10}, {1, 4}, {1, 0}}}},
    {1104, {{{1, 0}, {1, 4}, {1, 10}, {1, 10}, {1, 4}, {1, 0}}}},
    {1200, {{{1, 0}, {1, 3}, {1, 9}, {1, 10}, {5, 1}, {1, 0}}}},
    {1201, {{{1, 0}, {1, 3}, {1, 9}, {1, 10}, {5, 1}, {1, 0}}}},
    {1202, {{{3, 0}, {6, 0}, {3, 0}, {1, 10}, {5, 1}, {3, 0}}}},
    {1203, {{{3, 0}, {6, 0}, {3, 0}, {1, 10}, {5, 1}, {3, 0}}}},
};

// clang-format on

// The lists of each kind, numbered from 1, in the order of ParameterKinds.
constexpr std::span<const std::span<const std::string_view>> ListsByKind[] = {
    FrameSizeLists,    VideoBitrateLists, FrameRateLists,
    AudioBitrateLists, SampleRateLists,   AspectModeLists};

std::span<const std::span<const std::string_view>> LegacyListsOf(TParameterKind Kind) {
    return ListsByKind[KindIndex(Kind)];
}

// The frame-size list of the profiles without video: its one item says so.
constexpr int NoVideoFrameSizeLegacyList = 3;

} // namespace

std::span<const TLegacyCategory> LegacyCategories() {
    return Categories;
}

std::span<const TLegacySettingsRow> LegacySettingsRows() {
    return LegacySettings;
}

const TLegacySettingsRow* FindLegacySettingsRow(int Key) {
    static const auto Index = SortedByKey<TLegacySettingsRow>(LegacySettings);
    return FindByKey(Index, Key);
}

int LegacyParameterListCount(TParameterKind Kind) {
    return static_cast<int>(LegacyListsOf(Kind).size());
}

std::span<const std::string_view> LegacyParameterList(TParameterKind Kind, int Number) {
    std::span<const std::span<const std::string_view>> Lists = LegacyListsOf(Kind);
    if (Number < 1 || Number > static_cast<int>(Lists.size()))
        return {};
    return Lists[Number - 1];
}

std::span<const TLegacyParameterRow> LegacyParameterRows() {
    return LegacyRows;
}

const TLegacyParameterRow* FindLegacyParameterRow(int Key) {
    static const auto Index = SortedByKey<TLegacyParameterRow>(LegacyRows);
    return FindByKey(Index, Key);
}

bool IsLegacyAudioOnlyKey(int Key) {
    const TLegacyParameterRow* Row = FindLegacyParameterRow(Key);
    return Row && Row->Choice(TParameterKind::FrameSize).List == NoVideoFrameSizeLegacyList;
}
