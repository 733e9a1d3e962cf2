// The parameter lists and the per-profile rows. Item texts and positions
// are kept exactly as the program shows and stores them.
#include "catalogue/ParameterLists.h"

namespace {

// clang-format off

// Item texts of every list, in order.
constexpr std::string_view FrameSizeList1[] = {"保持原分辨率", "128*96", "176*144", "240*176", "320*240", "352*240", "352*288", "384*288", "480*480", "480*576", "640*368", "640*480", "704*480", "704*576", "720*480", "720*576", "800*600", "852*480", "1024*768", "1280*720", "1280*1024", "1600*1024", "1600*1200", "1920*1080", "1920*1200", "1920*1440", "2048*1536", "2560*1600"};
constexpr std::string_view FrameSizeList2[] = {"保持原分辨率", "128*96", "176*144", "240*176", "320*240", "352*240", "352*288", "384*288", "480*480", "480*576", "640*368", "640*480", "704*480", "704*576", "720*480", "720*576", "800*600", "852*480", "1024*768", "1280*720", "1280*1024", "1600*1024", "1600*1200", "1920*1080", "1920*1200", "2048*1536", "2560*1600"};
constexpr std::string_view FrameSizeList3[] = {"保持原分辨率", "128*96", "176*144", "240*176", "320*240", "352*240", "352*288", "384*288", "480*480", "480*576", "640*368", "640*480", "704*480", "704*576", "720*480", "720*576", "800*600", "852*480", "1024*768"};
constexpr std::string_view FrameSizeList4[] = {"保持原分辨率", "1024*768", "1280*720", "1280*1024", "1600*1024", "1600*1200", "1920*1080", "1920*1200", "1920*1440", "2048*1536", "2560*1600"};
constexpr std::string_view FrameSizeList5[] = {"保持原分辨率", "1024*768", "1280*720", "1280*1024", "1600*1024", "1600*1200", "1920*1080", "1920*1200", "2048*1536", "2560*1600"};
constexpr std::string_view FrameSizeList6[] = {"保持原分辨率", "640*480", "704*480", "704*576", "720*480", "720*576", "800*600", "852*480", "1024*768", "1280*720", "1280*1024", "1600*1024", "1600*1200", "1920*1080", "1920*1200", "2048*1536", "2560*1600"};
constexpr std::string_view FrameSizeList7[] = {"保持原分辨率", "640*480", "704*480", "704*576", "720*480", "720*576", "800*600", "852*480", "1024*768", "1280*720", "1280*1024", "1600*1024", "1600*1200", "1920*1080", "1920*1200", "2048*1536", "2560*1600", "3840*2160"};
constexpr std::string_view FrameSizeList8[] = {"保持原分辨率", "640*480", "720*480", "720*576", "960*540", "1024*768", "1280*720", "1280*1024", "1600*1024", "1600*1200", "1920*1080", "1920*1200", "2048*1536", "2560*1600"};
constexpr std::string_view FrameSizeList9[] = {"保持原分辨率", "128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "480*320", "480*368", "512*384", "640*272", "640*353", "640*480", "704*480", "704*576", "720*480", "720*576", "800*600", "852*480", "1024*768", "1280*720", "1280*1024", "1600*1024", "1600*1200", "1920*1080"};
constexpr std::string_view FrameSizeList10[] = {"保持原分辨率", "128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "480*320", "480*368", "512*384", "640*272", "640*353", "640*480", "704*480", "704*576", "720*480", "720*576", "800*600", "852*480", "1024*768", "1280*720", "1280*1024", "1600*1024", "1600*1200", "1920*1080", "2048*1536", "2560*1600", "3840*2160"};
constexpr std::string_view FrameSizeList11[] = {"128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "480*320", "480*368", "512*384", "640*272", "640*353", "640*480", "720*406"};
constexpr std::string_view FrameSizeList12[] = {"128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "480*320", "480*368", "512*384", "640*272", "640*353", "640*480", "720*406", "704*480", "704*576", "720*480", "720*576", "800*600", "852*480", "1024*768", "1280*720", "1280*1024", "1600*1024", "1600*1200", "1920*1080"};
constexpr std::string_view FrameSizeList13[] = {"128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "480*272", "640*480", "704*576", "1280*720", "1440*1080", "1920*1080"};
constexpr std::string_view FrameSizeList14[] = {"160*120", "320*240", "480*272", "640*480", "720*480"};
constexpr std::string_view FrameSizeList15[] = {"320*240", "640*480"};
constexpr std::string_view FrameSizeList16[] = {"112*96", "128*96", "160*112", "160*120", "176*144", "192*144", "208*176", "220*176", "320*208", "320*224", "320*240"};
constexpr std::string_view FrameSizeList17[] = {"该格式无视频"};
constexpr std::string_view VideoBitrateList1[] = {"128 kbps", "288 kbps", "528 kbps", "816 kbps", "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps"};
constexpr std::string_view VideoBitrateList2[] = {"128 kbps", "288 kbps", "528 kbps", "816 kbps", "1000 kbps", "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps"};
constexpr std::string_view VideoBitrateList3[] = {"128 kbps", "288 kbps", "528 kbps", "768 kbps", "816 kbps", "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps"};
constexpr std::string_view VideoBitrateList4[] = {"128 kbps", "288 kbps", "528 kbps", "600 kbps", "816 kbps", "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps"};
constexpr std::string_view VideoBitrateList5[] = {"128 kbps", "288 kbps", "528 kbps", "816 kbps", "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps"};
constexpr std::string_view VideoBitrateList6[] = {"128 kbps", "288 kbps", "528 kbps", "600 kbps", "816 kbps", "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps", "2500 kbps"};
constexpr std::string_view VideoBitrateList7[] = {"128 kbps", "288 kbps", "528 kbps", "600 kbps", "816 kbps", "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps"};
constexpr std::string_view VideoBitrateList8[] = {"128 kbps", "288 kbps", "528 kbps", "768 kbps", "816 kbps", "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps"};
constexpr std::string_view VideoBitrateList9[] = {"128 kbps", "288 kbps", "528 kbps", "768 kbps", "816 kbps", "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps", "3500 kbps"};
constexpr std::string_view VideoBitrateList10[] = {"128 kbps", "288 kbps", "528 kbps", "768 kbps", "816 kbps", "1000 kbps", "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps"};
constexpr std::string_view VideoBitrateList11[] = {"128 kbps", "288 kbps", "528 kbps", "768 kbps", "816 kbps", "1000 kbps", "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps", "3500 kbps"};
constexpr std::string_view VideoBitrateList12[] = {"128 kbps", "288 kbps", "528 kbps", "816 kbps", "1000 kbps", "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps", "4000 kbps"};
constexpr std::string_view VideoBitrateList13[] = {"128 kbps", "288 kbps", "528 kbps", "816 kbps", "1000 kbps", "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps", "3500 kbps"};
constexpr std::string_view VideoBitrateList14[] = {"816 kbps", "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps", "4000 kbps"};
constexpr std::string_view VideoBitrateList15[] = {"816 kbps", "1000 kbps", "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps", "4000 kbps"};
constexpr std::string_view VideoBitrateList16[] = {"528 kbps", "768 kbps", "816 kbps", "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps", "4000 kbps"};
constexpr std::string_view VideoBitrateList17[] = {"192 kbps", "384 kbps", "600 kbps", "768 kbps", "1000 kbps", "1200 kbps", "1500 kbps", "1800 kbps", "2000 kbps"};
constexpr std::string_view VideoBitrateList18[] = {"192 kbps", "384 kbps", "600 kbps", "768 kbps", "1000 kbps", "1200 kbps", "1500 kbps", "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps"};
constexpr std::string_view VideoBitrateList19[] = {"192 kbps", "384 kbps", "600 kbps", "768 kbps", "1000 kbps", "1200 kbps", "1500 kbps", "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps", "3500 kbps"};
constexpr std::string_view VideoBitrateList20[] = {"192 kbps", "384 kbps", "600 kbps", "768 kbps", "1000 kbps", "1200 kbps", "1500 kbps", "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps", "4000 kbps"};
constexpr std::string_view VideoBitrateList21[] = {"192 kbps", "384 kbps", "600 kbps", "768 kbps", "1000 kbps", "1200 kbps", "1500 kbps", "1800 kbps", "2000 kbps", "3000 kbps", "4000 kbps"};
constexpr std::string_view VideoBitrateList22[] = {"384 kbps", "600 kbps", "768 kbps", "1000 kbps", "1200 kbps", "1500 kbps", "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps", "3500 kbps"};
constexpr std::string_view VideoBitrateList23[] = {"8 kbps", "16 kbps", "24 kbps", "32 kbps", "48 kbps", "56 kbps", "64 kbps", "80 kbps", "96 kbps", "128 kbps", "160 kbps", "192 kbps", "256 kbps", "320 kbps", "384 kbps"};
constexpr std::string_view VideoBitrateList24[] = {"无视频"};
constexpr std::string_view FrameRateList1[] = {"保持原帧速率", "10.00", "13.00", "15.00", "18.00", "20.00", "23.00", "23.97", "24.00", "25.00", "29.97", "30.00"};
constexpr std::string_view FrameRateList2[] = {"保持原帧速率", "25.00", "29.97", "30.00"};
constexpr std::string_view FrameRateList3[] = {"保持原帧速率", "10.00", "12.00", "15.00", "20.00", "23.98", "24.00", "25.00", "29.97", "30.00"};
constexpr std::string_view FrameRateList4[] = {"保持原帧速率", "23.98", "24.00", "25.00", "29.97", "30.00"};
constexpr std::string_view FrameRateList5[] = {"1", "2", "3", "5", "10", "12", "15"};
constexpr std::string_view FrameRateList6[] = {"无视频"};
constexpr std::string_view AudioBitrateList1[] = {"16 kbps", "24 kbps", "32 kbps", "40 kbps", "48 kbps", "56 kbps", "64 kbps", "80 kbps", "96 kbps", "112 kbps", "128 kbps", "144 kbps", "160 kbps", "192 kbps", "224 kbps", "256 kbps", "320 kbps"};
constexpr std::string_view AudioBitrateList2[] = {"64 kbps", "96 kbps", "128 kbps", "160 kbps", "192 kbps"};
constexpr std::string_view AudioBitrateList3[] = {"5 kbps", "6 kbps", "7 kbps", "8 kbps", "10 kbps", "12 kbps"};
constexpr std::string_view AudioBitrateList4[] = {"4.75 kbps", "5.15 kbps", "5.9 kbps", "6.7 kbps", "7.4 kbps", "7.95 kbps", "10.2 kbps", "12.2 kbps"};
constexpr std::string_view SampleRateList1[] = {"11025", "16000", "22050", "32000", "44100", "48000"};
constexpr std::string_view SampleRateList2[] = {"22050", "32000", "44100", "48000"};
constexpr std::string_view SampleRateList3[] = {"22050", "24000", "32000", "44100", "48000"};
constexpr std::string_view SampleRateList4[] = {"11025", "22050", "44100"};
constexpr std::string_view SampleRateList5[] = {"8000"};
constexpr std::string_view AspectModeList1[] = {"保持原视频模式", "普通视频4:3模式", "宽屏视频16:9模式", "宽屏视频37:20模式", "宽屏视频47:20模式"};
constexpr std::string_view AspectModeList2[] = {"保持原视频模式", "普通视频4:3模式"};
constexpr std::string_view AspectModeList3[] = {"无视频"};

// clang-format on

// The lists of each kind by number: entry 0 is list 1.
constexpr std::span<const std::string_view> FrameSizeLists[] = {
    FrameSizeList1,  FrameSizeList2,  FrameSizeList3,  FrameSizeList4,  FrameSizeList5,
    FrameSizeList6,  FrameSizeList7,  FrameSizeList8,  FrameSizeList9,  FrameSizeList10,
    FrameSizeList11, FrameSizeList12, FrameSizeList13, FrameSizeList14, FrameSizeList15,
    FrameSizeList16, FrameSizeList17};

constexpr std::span<const std::string_view> VideoBitrateLists[] = {
    VideoBitrateList1,  VideoBitrateList2,  VideoBitrateList3,  VideoBitrateList4,
    VideoBitrateList5,  VideoBitrateList6,  VideoBitrateList7,  VideoBitrateList8,
    VideoBitrateList9,  VideoBitrateList10, VideoBitrateList11, VideoBitrateList12,
    VideoBitrateList13, VideoBitrateList14, VideoBitrateList15, VideoBitrateList16,
    VideoBitrateList17, VideoBitrateList18, VideoBitrateList19, VideoBitrateList20,
    VideoBitrateList21, VideoBitrateList22, VideoBitrateList23, VideoBitrateList24};

constexpr std::span<const std::string_view> FrameRateLists[] = {
    FrameRateList1, FrameRateList2, FrameRateList3, FrameRateList4, FrameRateList5, FrameRateList6};

constexpr std::span<const std::string_view> AudioBitrateLists[] = {
    AudioBitrateList1, AudioBitrateList2, AudioBitrateList3, AudioBitrateList4};

constexpr std::span<const std::string_view> SampleRateLists[] = {
    SampleRateList1, SampleRateList2, SampleRateList3, SampleRateList4, SampleRateList5};

constexpr std::span<const std::string_view> AspectModeLists[] = {AspectModeList1, AspectModeList2,
                                                                 AspectModeList3};

// clang-format off

// Key, Title, then list and default position of frame size, video bit rate, frame rate,
// audio bit rate, sample rate and aspect mode.
constexpr TParameterRow ParameterRowTable[] = {
    {200, "高清AVI视频格式(*.avi)", {4, 2}, {14, 2}, {2, 2}, {1, 10}, {1, 5}, {1, 0}},
    {201, "高清AVI视频格式(*.avi)", {4, 2}, {14, 1}, {2, 3}, {1, 10}, {1, 5}, {1, 0}},
    {202, "高清H264视频格式(*.mp4)", {4, 2}, {14, 1}, {2, 2}, {1, 13}, {1, 5}, {1, 0}},
    {203, "高清MPEG-4视频格式(*.mp4)", {4, 3}, {14, 2}, {2, 3}, {1, 13}, {1, 5}, {1, 0}},
    {204, "高清MOV视频格式(*.mov)", {4, 3}, {14, 2}, {2, 2}, {1, 12}, {1, 5}, {1, 0}},
    {205, "高清ASF视频格式(*.asf)", {4, 3}, {14, 1}, {2, 2}, {1, 10}, {1, 5}, {1, 0}},
    {206, "高清WMV视频格式(*.wmv)", {4, 3}, {14, 2}, {2, 2}, {1, 10}, {1, 5}, {1, 0}},
    {207, "高清DVD视频格式(*.vob)", {4, 2}, {14, 1}, {2, 2}, {1, 10}, {1, 5}, {1, 0}},
    {208, "高清MPEG-2视频格式(*.mpg)", {4, 3}, {14, 2}, {2, 2}, {1, 10}, {1, 5}, {1, 0}},
    {209, "高清MKV视频格式(*.mkv)", {4, 3}, {14, 2}, {2, 3}, {1, 10}, {1, 5}, {1, 0}},
    {2000, "VOB标准视频(*.vob)", {1, 14}, {15, 1}, {2, 2}, {1, 10}, {1, 4}, {1, 0}},
    {2001, "HD高清VOB视频(*.vob)", {1, 19}, {14, 2}, {2, 2}, {1, 10}, {1, 5}, {1, 0}},
    {2002, "高清DVD视频格式(*.vob)", {1, 14}, {14, 1}, {2, 2}, {1, 10}, {1, 5}, {1, 0}},
    {2003, "电脑上常用的VOB标准视频(*.vob)", {1, 0}, {15, 1}, {2, 2}, {1, 11}, {1, 5}, {1, 0}},
    {2004, "优化的VOB视频(*.vob)", {1, 11}, {16, 0}, {2, 0}, {1, 10}, {1, 4}, {1, 0}},
    {2005, "高压缩的VOB视频(*.vob)", {1, 4}, {16, 0}, {2, 0}, {1, 10}, {1, 3}, {1, 0}},
    {0, "AVI - 音频视频交错格式(*.avi)", {1, 0}, {1, 3}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {1, "MP4 - MPEG-4视频格式(*.mp4)", {1, 0}, {3, 3}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {2, "DivX - 视频格式(*.avi)", {1, 0}, {2, 4}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {3, "MOV - 苹果QuickTime视频格式(*.mov)", {1, 0}, {3, 3}, {1, 9}, {1, 10}, {1, 5}, {1, 0}},
    {4, "XviD - 视频格式(*.avi)", {1, 0}, {2, 4}, {1, 0}, {1, 10}, {1, 4}, {1, 0}},
    {5, "MKV - Matroska视频格式(*.mkv)", {1, 0}, {1, 4}, {1, 10}, {1, 10}, {1, 4}, {1, 0}},
    {6, "MPEG-1视频格式(*.mpg)", {1, 4}, {1, 3}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {7, "MPEG-2视频格式(*.mpg)", {1, 0}, {1, 3}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {8, "ASF - 高级流视频格式(*.asf)", {1, 0}, {1, 3}, {1, 0}, {1, 10}, {1, 5}, {1, 0}},
    {9, "3GP - 视频格式(*.3gp)", {16, 4}, {23, 9}, {5, 5}, {3, 5}, {5, 0}, {2, 0}},
    {10, "WMV - 视频格式(*.wmv)", {1, 0}, {4, 3}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {11, "DVD - 视频格式(*.mpg)", {1, 12}, {1, 4}, {1, 10}, {1, 10}, {1, 4}, {1, 0}},
    {12, "SVCD - 视频格式(*.mpg)", {1, 8}, {1, 2}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {13, "VCD - 视频格式(*.mpg)", {1, 4}, {1, 2}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {14, "RM - REAL视频格式(*.rm)", {1, 4}, {1, 2}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {100, "MP3 - MPEG Layer-3音频格式(*.mp3)", {17, 0}, {24, 0}, {6, 0}, {1, 10}, {1, 4}, {3, 0}},
    {101, "WMA - Windows媒体音频格式(*.wma)", {17, 0}, {24, 0}, {6, 0}, {1, 10}, {1, 4}, {3, 0}},
    {102, "WAV - 波形音频格式(*.wav)", {17, 0}, {24, 0}, {6, 0}, {1, 13}, {1, 5}, {3, 0}},
    {103, "AAC - 高级音频格式(*.aac)", {17, 0}, {24, 0}, {6, 0}, {1, 10}, {1, 5}, {3, 0}},
    {104, "M4A - MPEG-4音频格式(*.m4a)", {17, 0}, {24, 0}, {6, 0}, {1, 9}, {1, 4}, {3, 0}},
    {105, "OGG - Ogg Vorbis音频格式(*.ogg)", {17, 0}, {24, 0}, {6, 0}, {1, 10}, {1, 4}, {3, 0}},
    {106, "RA - RealAudio音频格式(*.ra)", {17, 0}, {24, 0}, {6, 0}, {1, 9}, {1, 4}, {3, 0}},
    {107, "AC3 - 杜比数字AC-3音频格式(*.ac3)", {17, 0}, {24, 0}, {6, 0}, {1, 10}, {1, 4}, {3, 0}},
    {108, "AIFF - 音频交换文件格式(*.aiff)", {17, 0}, {24, 0}, {6, 0}, {1, 10}, {1, 4}, {3, 0}},
    {109, "MP2 - MPEG Layer-2音频格式(*.mp2)", {17, 0}, {24, 0}, {6, 0}, {1, 10}, {1, 4}, {3, 0}},
    {110, "FLAC-音频格式(*.flac)", {17, 0}, {24, 0}, {6, 0}, {1, 13}, {1, 5}, {3, 0}},
    {111, "MP4-MP4音频格式(*.m4a)", {17, 0}, {24, 0}, {6, 0}, {1, 12}, {1, 5}, {3, 0}},
    {112, "AMR-手机音频格式(*.amr)", {17, 0}, {24, 0}, {6, 0}, {4, 4}, {5, 0}, {3, 0}},
    {400, "标准iPhone MPEG-4视频(*.mp4)", {9, 7}, {17, 3}, {3, 7}, {2, 2}, {2, 3}, {1, 0}},
    {401, "iPhone MPEG-4视频480P(*.mp4)", {9, 12}, {17, 3}, {3, 7}, {2, 2}, {2, 3}, {1, 0}},
    {402, "高清iPhone MPEG-4视频720P(*.mp4)", {9, 20}, {18, 5}, {3, 8}, {2, 2}, {2, 3}, {1, 2}},
    {403, "高清iPhone H264视频720P(*.mp4)", {9, 20}, {18, 7}, {3, 8}, {2, 2}, {2, 3}, {1, 0}},
    {404, "高清iPhone H264视频1080P(*.mp4)", {9, 24}, {18, 8}, {3, 8}, {2, 2}, {2, 3}, {1, 0}},
    {405, "iPhone MPEG-4视频宽屏(*.mp4)", {11, 12}, {17, 3}, {3, 7}, {2, 2}, {2, 3}, {1, 2}},
    {406, "iPhone MPEG-4高清晰视频(*.mp4)", {12, 12}, {18, 5}, {3, 8}, {2, 2}, {2, 3}, {1, 0}},
    {407, "iPhone MPEG-4视频(320X240)(*.mp4)", {11, 3}, {17, 3}, {3, 7}, {2, 2}, {2, 2}, {1, 0}},
    {408, "iPhone MPEG-4视频(480X320)(*.mp4)", {11, 6}, {17, 3}, {3, 7}, {2, 2}, {2, 3}, {1, 0}},
    {409, "iPhone 标准MOV视频(*.mov)", {2, 0}, {3, 3}, {1, 9}, {1, 10}, {1, 5}, {1, 0}},
    {410, "iPhone 高清MOV视频(*.mov)", {2, 19}, {10, 5}, {1, 10}, {1, 10}, {1, 5}, {1, 0}},
    {411, "iPhone 标准AVI视频-Xvid(*.avi)", {2, 0}, {12, 3}, {2, 1}, {1, 10}, {1, 5}, {1, 0}},
    {412, "iPhone 高清DivX视频(*.avi)", {2, 19}, {13, 5}, {1, 10}, {1, 10}, {1, 4}, {1, 0}},
    {413, "iPhone 高清AVI视频(*.avi)", {13, 9}, {20, 5}, {3, 8}, {2, 2}, {2, 3}, {1, 0}},
    {414, "iPhone 高清WMV视频(*.wmv)", {2, 19}, {14, 2}, {2, 2}, {1, 10}, {1, 5}, {1, 0}},
    {2600, "智能电视高清MP4视频(*.mp4)", {7, 0}, {22, 5}, {3, 8}, {2, 2}, {2, 3}, {1, 0}},
    {2601, "4K高清电视DivX视频(*.mp4)", {7, 17}, {21, 5}, {3, 9}, {2, 2}, {2, 3}, {1, 0}},
    {2602, "电视高清Xvid视频(*.mp4)", {10, 24}, {18, 6}, {3, 7}, {2, 2}, {2, 3}, {1, 0}},
    {2603, "H.264编码高清视频(*.mp4)", {10, 20}, {18, 7}, {3, 8}, {2, 2}, {2, 3}, {1, 0}},
    {2604, "高清智能电视AVI视频(*.avi)", {5, 2}, {14, 2}, {2, 2}, {1, 10}, {1, 5}, {1, 0}},
    {2605, "4K高清电视AVI视频(*.avi)", {7, 17}, {15, 6}, {1, 0}, {1, 10}, {1, 4}, {1, 0}},
    {2606, "智能电视适用的MKV视频(*.mkv)", {7, 9}, {5, 4}, {1, 10}, {1, 10}, {1, 4}, {1, 0}},
    {2607, "高清MOV格式视频(*.mov)", {2, 0}, {8, 5}, {1, 10}, {1, 10}, {1, 5}, {1, 0}},
    {2608, "FLV网络视频(*.flv)", {1, 0}, {1, 3}, {1, 9}, {1, 10}, {4, 1}, {1, 0}},
    {2609, "WMV高清视频(*.wmv)", {2, 0}, {6, 5}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {2610, "高清MPEG视频(*.mpg)", {2, 0}, {7, 5}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {2611, "MPEG-4超高清视频(*.mp4)", {9, 24}, {18, 8}, {3, 8}, {2, 2}, {2, 3}, {1, 0}},
    {900, "爱可视AV500/GMini402视频(*.avi)", {14, 2}, {17, 4}, {3, 7}, {2, 2}, {2, 3}, {1, 0}},
    {901, "爱可视AV700视频(*.avi)", {14, 4}, {17, 4}, {3, 7}, {2, 2}, {2, 3}, {1, 0}},
    {902, "Creative Zen Vision视频(*.avi)", {14, 1}, {17, 2}, {3, 7}, {2, 2}, {2, 3}, {1, 0}},
    {903, "Zune MPEG-4 AVC视频(*.mp4)", {15, 0}, {17, 3}, {3, 7}, {2, 2}, {2, 3}, {1, 0}},
    {904, "Zune MPEG-4 AVC视频(*.mp4)", {15, 0}, {17, 3}, {3, 7}, {2, 2}, {2, 3}, {1, 0}},
    {905, "Zune MPEG-4视频(*.mp4)", {15, 0}, {17, 5}, {3, 7}, {2, 2}, {2, 3}, {1, 0}},
    {906, "Zune WMV多媒体视频(*.wmv)", {15, 0}, {17, 3}, {3, 7}, {2, 2}, {2, 3}, {1, 0}},
    {907, "iRiver PMP-100视频(*.avi)", {14, 3}, {17, 3}, {3, 7}, {2, 2}, {2, 3}, {1, 0}},
    {1000, "MP4机播放的MP4视频格式(*.mp4)", {3, 4}, {1, 3}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {1001, "电脑上使用的MP4视频格式(*.mp4)", {1, 0}, {1, 4}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {1002, "MPEG-4视频高清晰视频(*.mp4)", {1, 0}, {1, 4}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {1003, "MP4 AVC视频(*.mp4)", {1, 0}, {1, 4}, {1, 10}, {1, 10}, {1, 4}, {1, 0}},
    {1004, "MP4 H264编码视频(*.mp4)", {1, 0}, {1, 4}, {1, 10}, {1, 10}, {1, 4}, {1, 0}},
    {1200, "iPad标准视频格式(*.mp4)", {8, 0}, {19, 5}, {4, 5}, {2, 2}, {3, 2}, {1, 0}},
    {1201, "iPad高清视频格式H.264编码(*.mp4)", {8, 2}, {19, 5}, {4, 5}, {2, 2}, {3, 3}, {1, 0}},
    {1202, "iPad MPEG-4视频格式 XviD编码 (*.mp4)", {8, 0}, {19, 4}, {4, 5}, {2, 2}, {3, 2}, {1, 0}},
    {1203, "iPad 720P HD高清晰视频MPEG-4(*.mp4)", {8, 6}, {19, 6}, {4, 5}, {2, 3}, {3, 4}, {1, 0}},
    {1204, "iPad 优化视频方案1(*.mp4)", {8, 0}, {19, 4}, {4, 5}, {2, 2}, {3, 1}, {1, 0}},
    {1205, "iPad 优化视频方案2(*.mp4)", {8, 0}, {19, 5}, {4, 4}, {2, 2}, {3, 3}, {1, 0}},
    {1206, "iPad 1080P FHD全高清晰视频MPEG-4(*.mp4)", {8, 10}, {19, 6}, {4, 5}, {2, 3}, {3, 4}, {1, 0}},
    {1207, "iPad 标准MOV视频(*.mov)", {6, 0}, {9, 3}, {1, 9}, {1, 10}, {1, 5}, {1, 0}},
    {1208, "iPad 高清MOV视频(*.mov)", {6, 9}, {11, 6}, {1, 10}, {1, 10}, {1, 5}, {1, 0}},
    {1209, "iPad 标准AVI视频(*.avi)", {6, 0}, {12, 3}, {2, 1}, {1, 10}, {1, 5}, {1, 0}},
    {1210, "iPad 高清AVI视频(*.avi)", {6, 9}, {13, 5}, {1, 10}, {1, 10}, {1, 4}, {1, 0}},
    {1300, "MPG标准视频(*.mpg)", {1, 0}, {2, 4}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {1301, "MPEG-1标准视频(*.mpg)", {1, 4}, {1, 3}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {1302, "MPEG-2标准视频(*.mpg)", {1, 0}, {2, 3}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {1303, "MPEG-4标准视频(*.mp4)", {1, 0}, {3, 3}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {1304, "MPEG-2高清HD视频(*.mpg)", {4, 3}, {14, 2}, {2, 2}, {1, 10}, {1, 5}, {1, 0}},
    {1305, "MPEG-4高清HD视频(*.mp4)", {4, 3}, {14, 2}, {2, 3}, {1, 13}, {1, 5}, {1, 0}},
    {1306, "MPEG-2优化视频(*.mpg)", {1, 11}, {4, 3}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {1307, "MPEG-2高压缩视频(*.mpg)", {1, 4}, {1, 2}, {1, 9}, {1, 8}, {1, 3}, {1, 0}},
    {1308, "DVD格式高清晰视频(*.mpg)", {1, 12}, {1, 4}, {1, 10}, {1, 10}, {1, 4}, {1, 0}},
    {1309, "SVCD格式标清视频(*.mpg)", {1, 8}, {1, 2}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {1310, "VCD格式清晰视频(*.mpg)", {1, 4}, {1, 2}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {1400, "标准的SWF视频格式(*.swf)", {1, 0}, {1, 3}, {1, 9}, {1, 10}, {4, 1}, {1, 0}},
    {1401, "高清的SWF动画视频FLASH动画视频(*.swf)", {1, 19}, {1, 5}, {1, 10}, {1, 10}, {4, 1}, {1, 0}},
    {1402, "优化的SWF视频格式(*.swf)", {1, 4}, {4, 3}, {1, 9}, {1, 10}, {4, 1}, {1, 0}},
    {1403, "高压缩的SWF视频格式(*.swf)", {1, 4}, {1, 2}, {1, 5}, {1, 8}, {4, 1}, {1, 0}},
    {1404, "FLV在线网络视频(*.flv)", {1, 0}, {1, 3}, {1, 9}, {1, 10}, {4, 1}, {1, 0}},
    {1405, "SWF动画视频FLASH动画音频格式(*.swf)", {17, 0}, {24, 0}, {6, 0}, {1, 10}, {4, 1}, {3, 0}},
    {1406, "FLV在线网络音频格式(*.flv)", {17, 0}, {24, 0}, {6, 0}, {1, 10}, {4, 1}, {3, 0}},
    {1500, "AVI标准视频(*.avi)", {1, 0}, {1, 3}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {1501, "HD高清晰AVI标准视频(*.avi)", {1, 19}, {14, 2}, {2, 2}, {1, 10}, {1, 5}, {1, 0}},
    {1502, "网络上常用的AVI视频(*.avi)", {1, 4}, {1, 2}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {1503, "电脑上常用的AVI视频(*.avi)", {1, 0}, {2, 4}, {1, 10}, {1, 10}, {1, 4}, {1, 0}},
    {1504, "优化的AVI视频(*.avi)", {1, 4}, {4, 3}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {1505, "高压缩的AVI视频(*.avi)", {1, 0}, {1, 2}, {1, 5}, {1, 8}, {1, 3}, {1, 0}},
    {1506, "高清的HD AVI视频(*.avi)", {1, 19}, {14, 2}, {2, 2}, {1, 10}, {1, 5}, {1, 0}},
    {1600, "MKV标准视频(*.mkv)", {1, 0}, {1, 3}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {1601, "HD高清MKV视频(*.mkv)", {1, 19}, {14, 2}, {2, 2}, {1, 10}, {1, 5}, {1, 0}},
    {1602, "网络上常用的MKV视频(*.mkv)", {1, 4}, {1, 2}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {1603, "电脑上常用的MKV标准视频(*.mkv)", {1, 0}, {2, 4}, {1, 10}, {1, 10}, {1, 4}, {1, 0}},
    {1604, "优化的MKV视频(*.mkv)", {1, 4}, {4, 3}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {1605, "高压缩的MKV视频(*.mkv)", {1, 0}, {1, 2}, {1, 5}, {1, 8}, {1, 3}, {1, 0}},
    {1606, "高清的HD MKV视频(*.mkv)", {1, 19}, {14, 2}, {2, 2}, {1, 10}, {1, 5}, {1, 0}},
    {1700, "WMV标准视频(*.wmv)", {1, 0}, {1, 3}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {1701, "HD高清WMV视频(*.wmv)", {1, 19}, {14, 2}, {2, 2}, {1, 10}, {1, 5}, {1, 0}},
    {1702, "网络上常用的WMV视频(*.wmv)", {1, 4}, {1, 2}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {1703, "电脑上常用的WMV标准视频(*.wmv)", {1, 0}, {2, 4}, {1, 10}, {1, 10}, {1, 4}, {1, 0}},
    {1704, "优化的WMV视频(*.wmv)", {1, 4}, {4, 3}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {1705, "高压缩的WMV视频(*.wmv)", {1, 0}, {1, 2}, {1, 5}, {1, 8}, {1, 3}, {1, 0}},
    {1706, "高清的HD WMV视频(*.wmv)", {1, 19}, {14, 2}, {2, 2}, {1, 10}, {1, 5}, {1, 0}},
    {2100, "MTS转换为标准AVI视频(*.avi)", {1, 12}, {2, 3}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {2101, "Sony HD高清MTS视频转换为HD高清AVI视频(*.avi)", {1, 19}, {2, 6}, {1, 10}, {1, 10}, {1, 4}, {1, 0}},
    {2102, "Sony AVCHD高清视频格式(*.avi)", {1, 19}, {1, 5}, {1, 11}, {1, 10}, {1, 4}, {1, 0}},
    {2103, "MTS转换为MPEG-2视频格式标准视频(*.mpg)", {1, 0}, {1, 4}, {1, 10}, {1, 10}, {1, 4}, {1, 0}},
    {2104, "MTS转换为MPG视频格式(*.mpg)", {1, 12}, {2, 4}, {1, 10}, {1, 10}, {1, 4}, {1, 0}},
    {2105, "MTS转换为MP4视频(*.mp4)", {1, 4}, {3, 3}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {2106, "MTS转换为AVI视频(*.avi)", {1, 0}, {1, 5}, {1, 10}, {1, 10}, {1, 4}, {1, 0}},
    {2107, "MTS转换为3GP视频(*.3gp)", {16, 4}, {23, 9}, {5, 5}, {3, 5}, {5, 0}, {2, 0}},
    {2108, "MTS转换为电脑常用WMV视频(*.wmv)", {1, 0}, {4, 3}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {2109, "MTS转换为网络在线常用FLV视频(*.flv)", {1, 0}, {1, 3}, {1, 9}, {1, 10}, {4, 1}, {1, 0}},
    {2110, "MTS视频转换为DVD视频(*.mpg)", {1, 12}, {1, 4}, {1, 10}, {1, 10}, {1, 4}, {1, 0}},
    {2111, "MTS视频转换为SVCD视频(*.mpg)", {1, 8}, {1, 2}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {2112, "MTS视频转换为VCD视频(*.mpg)", {1, 4}, {1, 2}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {2200, "MOD视频转换为标准AVI视频(*.avi)", {1, 12}, {2, 3}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {2201, "JVC HD高清MOD视频转换为HD高清AVI视频(*.avi)", {1, 19}, {2, 6}, {1, 10}, {1, 10}, {1, 4}, {1, 0}},
    {2202, "JVC DV摄像机MOD高清视频格式，转换为AVI视频格式(*.avi)", {1, 19}, {1, 5}, {1, 11}, {1, 10}, {1, 4}, {1, 0}},
    {2203, "MOD视频转换为MPEG-2视频格式标准视频(*.mpg)", {1, 0}, {1, 4}, {1, 10}, {1, 10}, {1, 4}, {1, 0}},
    {2204, "MOD视频转换为MPG视频格式(*.mpg)", {1, 12}, {2, 4}, {1, 10}, {1, 10}, {1, 4}, {1, 0}},
    {2205, "MOD视频转换为MP4视频(*.mp4)", {1, 4}, {3, 3}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {2206, "MOD视频转换为AVI视频(*.avi)", {1, 0}, {1, 5}, {1, 10}, {1, 10}, {1, 4}, {1, 0}},
    {2207, "MOD视频转换为3GP视频(*.3gp)", {16, 4}, {23, 9}, {5, 5}, {3, 5}, {5, 0}, {2, 0}},
    {2208, "MOD视频转换为电脑常用WMV视频(*.wmv)", {1, 0}, {4, 3}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {2209, "MOD视频转换为网络在线常用FLV视频(*.flv)", {1, 0}, {1, 3}, {1, 9}, {1, 10}, {4, 1}, {1, 0}},
    {2210, "MOD视频转换为DVD视频(*.mpg)", {1, 12}, {1, 4}, {1, 10}, {1, 10}, {1, 4}, {1, 0}},
    {2211, "MOD视频转换为SVCD视频(*.mpg)", {1, 8}, {1, 2}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {2212, "MOD视频转换为VCD视频(*.mpg)", {1, 4}, {1, 2}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {2300, "RMVB视频转换为标准AVI视频(*.avi)", {1, 12}, {2, 3}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {2301, "HD高清RMVB视频转换为HD高清AVI视频(*.avi)", {1, 19}, {2, 6}, {1, 10}, {1, 10}, {1, 4}, {1, 0}},
    {2302, "RM视频格式，转换为AVI视频格式(*.avi)", {1, 19}, {1, 5}, {1, 11}, {1, 10}, {1, 4}, {1, 0}},
    {2303, "RMVB视频转换为MPEG-2视频格式标准视频(*.mpg)", {1, 0}, {1, 4}, {1, 10}, {1, 10}, {1, 4}, {1, 0}},
    {2304, "RMVB视频转换为MPG视频格式(*.mpg)", {1, 12}, {2, 4}, {1, 10}, {1, 10}, {1, 4}, {1, 0}},
    {2305, "RMVB视频转换为MP4视频(*.mp4)", {1, 4}, {3, 3}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {2306, "RMVB视频转换为AVI视频(*.avi)", {1, 0}, {1, 5}, {1, 10}, {1, 10}, {1, 4}, {1, 0}},
    {2307, "RMVB视频转换为3GP视频(*.3gp)", {16, 4}, {23, 9}, {5, 5}, {3, 5}, {5, 0}, {2, 0}},
    {2308, "RMVB视频转换为电脑常用WMV视频(*.wmv)", {1, 0}, {4, 3}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {2309, "RMVB视频转换为网络在线常用FLV视频(*.flv)", {1, 0}, {1, 3}, {1, 9}, {1, 10}, {4, 1}, {1, 0}},
    {2310, "RMVB视频转换为SWF视频(*.swf)", {1, 0}, {1, 3}, {1, 9}, {1, 10}, {4, 1}, {1, 0}},
    {2311, "RMVB视频转换为VOB视频(*.vob)", {4, 2}, {14, 1}, {2, 2}, {1, 10}, {1, 5}, {1, 0}},
    {2312, "RMVB视频转换为DVD视频(*.mpg)", {1, 12}, {1, 4}, {1, 10}, {1, 10}, {1, 4}, {1, 0}},
    {2313, "RMVB视频转换为SVCD视频(*.mpg)", {1, 8}, {1, 2}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
    {2314, "RMVB视频转换为VCD视频(*.mpg)", {1, 4}, {1, 2}, {1, 9}, {1, 10}, {1, 4}, {1, 0}},
};

// clang-format on

std::span<const std::span<const std::string_view>> ListsOfKind(TParameterKind Kind) {
    switch (Kind) {
    case TParameterKind::FrameSize:
        return FrameSizeLists;
    case TParameterKind::VideoBitrate:
        return VideoBitrateLists;
    case TParameterKind::FrameRate:
        return FrameRateLists;
    case TParameterKind::AudioBitrate:
        return AudioBitrateLists;
    case TParameterKind::SampleRate:
        return SampleRateLists;
    case TParameterKind::AspectMode:
        return AspectModeLists;
    }
    return {};
}

} // namespace

int ParameterListCount(TParameterKind Kind) {
    return static_cast<int>(ListsOfKind(Kind).size());
}

std::span<const std::string_view> ParameterList(TParameterKind Kind, int Number) {
    std::span<const std::span<const std::string_view>> Lists = ListsOfKind(Kind);
    if (Number < 1 || Number > static_cast<int>(Lists.size()))
        return {};
    return Lists[Number - 1];
}

std::span<const TParameterRow> ParameterRows() {
    return ParameterRowTable;
}
