#include "FFmpegTestEngine.h"
#include "platform/core/Environment.h"

#include <fstream>
#include <functional>

namespace {

std::string Numbers(int ACount) {
    std::string Text;
    for (int I = 1; I <= ACount; ++I)
        Text += (I > 1 ? "," : "") + std::to_string(I);
    return Text;
}

void WriteFile(const std::string& AFileName, const std::string& AText) {
    std::ofstream(AFileName, std::ios::binary) << AText;
}

std::string RaisedBy(const std::function<void()>& AAction) {
    try {
        AAction();
    } catch (const Exception& E) {
        return E.Message();
    }
    return "(nothing raised)";
}

using OptionsTest = EngineTest;

} // namespace

// ---- The dispatcher ---------------------------------------------------------------

// One row per option name: its value, and what it must change, raise or log.
TEST_F(OptionsTest, EveryOptionNameReachesItsAction) {
    struct TRow {
        TRow(const char* AName, std::string AValue, std::function<bool(TTestEngine&)> ACheck,
             std::string ARaises = "", TLogLevel ALogLevel = llInfo, std::string ALogLine = "",
             std::function<void(TTestEngine&)> ABefore = nullptr)
            : Name(AName), Value(std::move(AValue)), Check(std::move(ACheck)),
              Raises(std::move(ARaises)), LogLevel(ALogLevel), LogLine(std::move(ALogLine)),
              Before(std::move(ABefore)) {}
        const char* Name;
        std::string Value;
        std::function<bool(TTestEngine&)> Check;
        std::string Raises; // the exception text, when the option refuses
        TLogLevel LogLevel; // with LogLine: the one line it logs
        std::string LogLine;
        std::function<void(TTestEngine&)> Before;
    };
    const std::string Preset = Temp.File("preset.txt");
    WriteFile(Preset, "g=12\n");
    const std::string AudioPreset = Temp.File("audio.txt");
    WriteFile(AudioPreset, "ab=64000\n");
    const std::string SubtitlePreset = Temp.File("subtitle.txt");
    WriteFile(SubtitlePreset, "scodec=mov_text\n");
    const auto Nothing = [](TTestEngine&) { return true; };
    const auto NamedX264 = [](TTestEngine& E) { E.OptVideoCodec("libx264"); };
    const auto Sized = [](TTestEngine& E) {
        E.Fframe_width = 100;
        E.Fframe_height = 100;
    };
    const auto Value = [](const TFFOptionEntry* AEntry) {
        return AEntry ? AEntry->Value : std::string("(none)");
    };
    const std::string NoOutput = "At least one output file must be specified";

    std::vector<TRow> Rows = {
        // Do nothing, refused, or outside the engine.
        {"L", "1", Nothing, "", llInfo, "Do nothing: option - L"},
        {"h", "1", Nothing, "", llInfo, "Do nothing: option - h"},
        {"version", "", Nothing, "", llInfo, "Do nothing: option - version"},
        {"formats", "", Nothing, "", llInfo, "Do nothing: option - formats"},
        {"codecs", "", Nothing, "", llInfo, "Do nothing: option - codecs"},
        {"bsfs", "", Nothing, "", llInfo, "Do nothing: option - bsfs"},
        {"protocols", "", Nothing, "", llInfo, "Do nothing: option - protocols"},
        {"filters", "", Nothing, "", llInfo, "Do nothing: option - filters"},
        {"i", "in.avi", Nothing, "", llInfo, "Do nothing: option - i"},
        {"y", "", Nothing, "", llInfo, "Do nothing: option - y"},
        {"benchmark", "", Nothing, "", llInfo, "Do nothing: option - benchmark"},
        {"timelimit", "10", Nothing, "", llWarning,
         "Warning: -timelimit not implemented on Windows"},
        {"loglevel", "debug", [](TTestEngine&) { return GetFFLogger()->LogLevel() == llDebug; }},
        {"threads", "2", nullptr, "TODO: option - threads"},
        {"padtop", "1", nullptr, "Please use vfilters=pad"},
        {"padbottom", "1", nullptr, "Please use vfilters=pad"},
        {"padleft", "1", nullptr, "Please use vfilters=pad"},
        {"padright", "1", nullptr, "Please use vfilters=pad"},
        {"padcolor", "000000", nullptr, "Please use vfilters=pad"},
        // Files, times, maps, muxing and general options.
        {"f", "mp4", [](TTestEngine& E) { return E.Flast_asked_format == "mp4"; }},
        {"map", "0:1", [](TTestEngine& E) { return E.Fnb_stream_maps == 1; }},
        {"map_meta_data", "1:0", [](TTestEngine& E) { return E.Fnb_meta_data_maps == 1; }},
        {"t", "90", [](TTestEngine& E) { return E.Frecording_time == 90000000; }},
        {"ss", "5", [](TTestEngine& E) { return E.Fstart_time == 5000000; }},
        {"itsoffset", "2", [](TTestEngine& E) { return E.Finput_ts_offset == 2000000; }},
        {"timestamp", "2010-05-04 10:20:30",
         [](TTestEngine& E) { return E.Frecording_timestamp > 1272800000; }},
        {"itsscale", "1:0.5", [](TTestEngine& E) { return E.Finput_files_ts_scale[0][1] == 0.5; }},
        {"metadata", "a=b", [](TTestEngine& E) { return E.Fmetadata.size() == 1; }},
        {"fs", "5000000000", [](TTestEngine& E) { return E.Flimit_filesize == 5000000000; }},
        {"dframes", "7", [](TTestEngine& E) { return E.Fmax_frames[2] == 7; }},
        {"dump", "1", [](TTestEngine& E) { return E.Fdo_pkt_dump; }},
        {"hex", "1", [](TTestEngine& E) { return E.Fdo_hex_dump; }},
        {"re", "1", [](TTestEngine& E) { return E.Frate_emu; }},
        {"loop_input", "1", [](TTestEngine& E) { return E.Floop_input; }},
        {"loop_output", "3", [](TTestEngine& E) { return E.Floop_output == 3; }},
        {"v", "$10", [](TTestEngine& E) { return E.Fverbose == 16; }},
        {"target", "pal-dvd", [](TTestEngine& E) { return E.Fframe_width == 720; }},
        {"vsync", "1", [](TTestEngine& E) { return E.Fvideo_sync_method == 1; }},
        {"async", "0x10", [](TTestEngine& E) { return E.Faudio_sync_method == 16; }},
        {"adrift_threshold", "0.5",
         [](TTestEngine& E) { return E.Faudio_drift_threshold == 0.5f; }},
        {"vglobal", "1", [](TTestEngine& E) { return E.Fvideo_global_header == 1; }},
        {"copyts", "0", [](TTestEngine& E) { return E.Fcopy_ts; }},
        {"shortest", "", [](TTestEngine& E) { return E.Fopt_shortest; }},
        {"dts_delta_threshold", "5", [](TTestEngine& E) { return E.Fdts_delta_threshold == 5.0f; }},
        {"programid", "-3", [](TTestEngine& E) { return E.Fopt_programid == -3; }},
        {"xerror", "0", [](TTestEngine& E) { return E.Fexit_on_error; }},
        {"copyinkf", "1", [](TTestEngine& E) { return E.Fcopy_initial_nonkeyframes == 1; }},
        {"pass", "1", [](TTestEngine& E) { return E.Fdo_pass == 1; }},
        {"passlogfile", "prefix",
         [](TTestEngine& E) { return E.Fpass_logfilename_prefix == "prefix"; }},
        {"vstats", "ignored",
         [](TTestEngine& E) {
             return E.Fvstats_filename.rfind(GetAppPath() + "vstats_", 0) == 0 &&
                    E.Fvstats_filename.size() == GetAppPath().size() + 17;
         }},
        {"vstats_file", "s.log", [](TTestEngine& E) { return E.Fvstats_filename == "s.log"; }},
        {"streamid", "1:300", [](TTestEngine& E) { return E.Fstreamid_map[1] == 300; }},
        {"isync", "1", [](TTestEngine& E) { return E.Finput_sync; }},
        {"muxdelay", "0.25", [](TTestEngine& E) { return E.Fmux_max_delay == 0.25f; }},
        {"muxpreload", "0.25", [](TTestEngine& E) { return E.Fmux_preload == 0.25f; }},
        {"fpre", Preset, [&](TTestEngine& E) { return Value(E.Entry(otVideo, "g")) == "12"; }},
        // Video options.
        {"b", "500000", [&](TTestEngine& E) { return Value(E.Entry(otVideo, "b")) == "500000"; }},
        {"vb", "600000", [&](TTestEngine& E) { return Value(E.Entry(otVideo, "b")) == "600000"; }},
        {"vframes", "3", [](TTestEngine& E) { return E.Fmax_frames[0] == 3; }},
        {"r", "25",
         [](TTestEngine& E) { return E.Fframe_rate.num == 25 && E.Fframe_rate.den == 1; }},
        {"s", "640x480",
         [](TTestEngine& E) { return E.Fframe_width == 640 && E.Fframe_height == 480; }},
        {"aspect", "2", [](TTestEngine& E) { return E.Fframe_aspect_ratio == 2.0f; }},
        {"pix_fmt", "yuv422p",
         [](TTestEngine& E) { return E.Fframe_pix_fmt == AV_PIX_FMT_YUV422P; }},
        {"croptop", "10",
         [](TTestEngine& E) { return E.Fframe_topBand == 10 && E.Fframe_height == 90; }, "", llInfo,
         "", Sized},
        {"cropbottom", "10",
         [](TTestEngine& E) { return E.Fframe_bottomBand == 10 && E.Fframe_height == 90; }, "",
         llInfo, "", Sized},
        {"cropleft", "10",
         [](TTestEngine& E) { return E.Fframe_leftBand == 10 && E.Fframe_width == 90; }, "", llInfo,
         "", Sized},
        {"cropright", "10",
         [](TTestEngine& E) { return E.Fframe_rightBand == 10 && E.Fframe_width == 90; }, "",
         llInfo, "", Sized},
        {"intra", "1", [](TTestEngine& E) { return E.Fintra_only; }},
        {"vn", "1", [](TTestEngine& E) { return E.Fvideo_disable; }},
        {"vdt", "2", [](TTestEngine& E) { return E.Fvideo_discard == 2; }},
        {"qscale", "3.5", [](TTestEngine& E) { return E.Fvideo_qscale == 3.5f; }},
        {"rc_override", "0,10,2",
         [](TTestEngine& E) { return E.Fvideo_rc_override_string == "0,10,2"; }},
        {"vcodec", "mpeg4", [](TTestEngine& E) { return E.Fvideo_codec_name == "mpeg4"; }},
        {"me_threshold", "3", [](TTestEngine& E) { return E.Fme_threshold == 3; }},
        {"sameq", "1", [](TTestEngine& E) { return E.Fsame_quality; }},
        {"deinterlace", "1", [](TTestEngine& E) { return E.Fdo_deinterlace; }},
        {"psnr", "1", [](TTestEngine& E) { return E.Fdo_psnr; }},
        {"vhook", "hook.so a", [](TTestEngine& E) { return !E.Fusing_vhook; },
         "Failed to add video hook function: hook.so a"},
        {"vfilters", "null", [](TTestEngine& E) { return E.Fvfilters == "null"; }},
        {"vf", "hflip", [](TTestEngine& E) { return E.Fvfilters == "hflip"; }},
        {"intra_matrix", Numbers(64), [](TTestEngine& E) { return (*E.Fintra_matrix)[63] == 64; }},
        {"inter_matrix", Numbers(64), [](TTestEngine& E) { return (*E.Finter_matrix)[0] == 1; }},
        {"top", "1", [](TTestEngine& E) { return E.Ftop_field_first == 1; }},
        {"dc", "9", [](TTestEngine& E) { return E.Fintra_dc_precision == 9; }},
        {"vtag", "XVID", [](TTestEngine& E) { return E.Fvideo_codec_tag == 1145656920u; }},
        {"newvideo", "", nullptr, NoOutput},
        {"vlang", "eng", [](TTestEngine& E) { return E.Fvideo_language == "eng"; }},
        {"qphist", "1", [](TTestEngine& E) { return E.Fqp_hist; }},
        {"force_fps", "1", [](TTestEngine& E) { return E.Fforce_fps; }},
        {"vc", "2", [](TTestEngine& E) { return E.Fvideo_channel == 2; }},
        {"tvstd", "pal", [](TTestEngine& E) { return E.Fvideo_standard == "pal"; }},
        {"vbsf", "null", [](TTestEngine& E) { return E.Fvideo_bitstream_filters.size() == 1; }},
        {"vpre", "libx264-main",
         [&](TTestEngine& E) { return Value(E.Entry(otVideo, "8x8dct")) == "false"; }, "", llInfo,
         "", NamedX264},
        // Audio and subtitle options.
        {"ab", "128000", [&](TTestEngine& E) { return Value(E.Entry(otAudio, "ab")) == "128000"; }},
        {"aframes", "4", [](TTestEngine& E) { return E.Fmax_frames[1] == 4; }},
        {"aq", "3", [](TTestEngine& E) { return E.Faudio_qscale == 3.0f; }},
        {"ar", "22050", [](TTestEngine& E) { return E.Faudio_sample_rate == 22050; }},
        {"ac", "6", [](TTestEngine& E) { return E.Faudio_channels == 6; }},
        {"an", "1", [](TTestEngine& E) { return E.Faudio_disable; }},
        {"acodec", "mp2", [](TTestEngine& E) { return E.Faudio_codec_name == "mp2"; }},
        {"atag", "mp4a", [](TTestEngine& E) { return E.Faudio_codec_tag == 0x6134706Du; }},
        {"vol", "-5", [](TTestEngine& E) { return E.Faudio_volume == -5; }},
        {"newaudio", "", nullptr, NoOutput},
        {"alang", "ger", [](TTestEngine& E) { return E.Faudio_language == "ger"; }},
        {"sample_fmt", "s16",
         [](TTestEngine& E) { return E.Faudio_sample_fmt == AV_SAMPLE_FMT_S16; }},
        {"absf", "null", [](TTestEngine& E) { return E.Faudio_bitstream_filters.size() == 1; }},
        {"apre", AudioPreset,
         [&](TTestEngine& E) { return Value(E.Entry(otAudio, "ab")) == "64000"; }},
        {"sn", "1", [](TTestEngine& E) { return E.Fsubtitle_disable; }},
        {"scodec", "copy", [](TTestEngine& E) { return E.Fsubtitle_stream_copy == 1; }},
        {"newsubtitle", "", nullptr, NoOutput},
        {"slang", "fre", [](TTestEngine& E) { return E.Fsubtitle_language == "fre"; }},
        {"stag", "tx3g", [](TTestEngine& E) { return E.Fsubtitle_codec_tag == 0x67337874u; }},
        {"sbsf", "null", [](TTestEngine& E) { return E.Fsubtitle_bitstream_filters.size() == 1; }},
        {"spre", SubtitlePreset,
         [](TTestEngine& E) { return E.Fsubtitle_codec_name == "mov_text"; }},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        Engine = std::make_unique<TTestEngine>(4);
        Engine->ResetJob();
        ClearLog();
        if (Row.Before)
            Row.Before(*Engine);
        if (Row.Raises.empty()) {
            EXPECT_NO_THROW(Engine->ParseOption(Row.Name, Row.Value));
        } else {
            EXPECT_EQ(RaisedBy([&] { Engine->ParseOption(Row.Name, Row.Value); }), Row.Raises);
        }
        if (Row.Check) {
            EXPECT_TRUE(Row.Check(*Engine));
        }
        if (!Row.LogLine.empty()) {
            EXPECT_EQ(CountLogged(Row.LogLevel, Row.LogLine), 1);
            EXPECT_EQ(Logged().size(), 1u);
        }
    }
}

// A value that does not convert raises before anything is stored.
TEST_F(OptionsTest, NumberFormsRaiseTheConversionError) {
    struct TRow {
        const char* Name;
        std::function<double(TTestEngine&)> Field;
        bool Real;
    };
    const TRow Rows[] = {
        {"fs", [](TTestEngine& E) { return double(E.Flimit_filesize); }, false},
        {"dframes", [](TTestEngine& E) { return double(E.Fmax_frames[2]); }, false},
        {"vframes", [](TTestEngine& E) { return double(E.Fmax_frames[0]); }, false},
        {"aframes", [](TTestEngine& E) { return double(E.Fmax_frames[1]); }, false},
        {"loop_output", [](TTestEngine& E) { return double(E.Floop_output); }, false},
        {"v", [](TTestEngine& E) { return double(E.Fverbose); }, false},
        {"vsync", [](TTestEngine& E) { return double(E.Fvideo_sync_method); }, false},
        {"async", [](TTestEngine& E) { return double(E.Faudio_sync_method); }, false},
        {"vglobal", [](TTestEngine& E) { return double(E.Fvideo_global_header); }, false},
        {"programid", [](TTestEngine& E) { return double(E.Fopt_programid); }, false},
        {"copyinkf", [](TTestEngine& E) { return double(E.Fcopy_initial_nonkeyframes); }, false},
        {"pass", [](TTestEngine& E) { return double(E.Fdo_pass); }, false},
        {"croptop", [](TTestEngine& E) { return double(E.Fframe_topBand); }, false},
        {"cropbottom", [](TTestEngine& E) { return double(E.Fframe_bottomBand); }, false},
        {"cropleft", [](TTestEngine& E) { return double(E.Fframe_leftBand); }, false},
        {"cropright", [](TTestEngine& E) { return double(E.Fframe_rightBand); }, false},
        {"vdt", [](TTestEngine& E) { return double(E.Fvideo_discard); }, false},
        {"me_threshold", [](TTestEngine& E) { return double(E.Fme_threshold); }, false},
        {"top", [](TTestEngine& E) { return double(E.Ftop_field_first); }, false},
        {"dc", [](TTestEngine& E) { return double(E.Fintra_dc_precision); }, false},
        {"vc", [](TTestEngine& E) { return double(E.Fvideo_channel); }, false},
        {"ar", [](TTestEngine& E) { return double(E.Faudio_sample_rate); }, false},
        {"ac", [](TTestEngine& E) { return double(E.Faudio_channels); }, false},
        {"vol", [](TTestEngine& E) { return double(E.Faudio_volume); }, false},
        {"adrift_threshold", [](TTestEngine& E) { return double(E.Faudio_drift_threshold); }, true},
        {"dts_delta_threshold", [](TTestEngine& E) { return double(E.Fdts_delta_threshold); },
         true},
        {"muxdelay", [](TTestEngine& E) { return double(E.Fmux_max_delay); }, true},
        {"muxpreload", [](TTestEngine& E) { return double(E.Fmux_preload); }, true},
        {"aq", [](TTestEngine& E) { return double(E.Faudio_qscale); }, true},
        {"qscale", [](TTestEngine& E) { return double(E.Fvideo_qscale); }, true},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        const double Before = Row.Field(*Engine);
        try {
            Engine->ParseOption(Row.Name, "x");
            ADD_FAILURE() << "nothing raised";
        } catch (const EConvertError& E) {
            EXPECT_EQ(E.Message(), Row.Real ? "'x' is not a valid floating point value"
                                            : "'x' is not a valid integer value");
        }
        EXPECT_EQ(Row.Field(*Engine), Before);
    }
}

TEST_F(OptionsTest, FlagsAreOffOnlyForZero) {
    const std::pair<const char*, bool> Cases[] = {
        {"0", false}, {"1", true}, {"", true}, {"no", true}, {"-1", true}};
    for (const auto& [Value, Disabled] : Cases) {
        Engine->Faudio_disable = !Disabled;
        Engine->ParseOption("an", Value);
        EXPECT_EQ(Engine->Faudio_disable, Disabled) << '"' << Value << '"';
    }
}

TEST_F(OptionsTest, NamesAreExactAndOthersTakeTheGenericPath) {
    for (const char* Name : {"-s", "S", "size"}) {
        EXPECT_NO_THROW(Engine->ParseOption(Name, "640x480")) << Name;
        EXPECT_EQ(Engine->Fframe_width, 0) << Name;
    }
    EXPECT_NO_THROW(Engine->ParseOption("nosuch_option", "1"));
    ASSERT_FALSE(Engine->Generic.empty());
    EXPECT_FALSE(Engine->Generic.back().second);
    // "g" is nobody's name here: FFmpeg's own option takes it.
    Engine->ParseOption("g", "12");
    EXPECT_EQ(Engine->Entry(otVideo, "g")->Value, "12");
    // The later of the two filter names wins.
    Engine->ParseOption("vf", "hflip");
    Engine->ParseOption("vfilters", "vflip");
    EXPECT_EQ(Engine->Fvfilters, "vflip");
    Engine->ParseOption("vf", "");
    EXPECT_EQ(Engine->Fvfilters, "vflip");
}

// ---- Handlers ----------------------------------------------------------------------

TEST_F(OptionsTest, FormatNamesTheMuxerAndMapsPgmyuv) {
    Engine->ParseOption("f", "pgmyuv");
    EXPECT_EQ(Engine->Flast_asked_format, "image2");
    EXPECT_EQ(Engine->Fpgmyuv_compatibility_hack, 1);
    EXPECT_EQ(CountLogged(llInfo, "pgmyuv format is deprecated, use image2"), 1);
    // A muxer's private option is accepted once the format names it.
    EXPECT_FALSE(Engine->OptDefault("muxrate", "1000"));
    Engine->ParseOption("f", "mpeg");
    EXPECT_TRUE(Engine->OptDefault("muxrate", "1000"));
    ASSERT_NE(Engine->Entry(otFormat, "muxrate"), nullptr);
    EXPECT_TRUE(Engine->Entry(otFormat, "muxrate")->Private);
    // A name without a muxer drops the target.
    Engine->ParseOption("f", "nosuchformat");
    EXPECT_FALSE(Engine->OptDefault("preload", "1000"));
}

TEST_F(OptionsTest, CropsNeedRoomInTheSizeGivenBefore) {
    const std::string Vertical = "Vertical crop dimensions are outside the range of the original "
                                 "image.\nRemember to crop first and scale second.";
    EXPECT_EQ(RaisedBy([&] { Engine->ParseOption("croptop", "1"); }), Vertical);
    Engine->ParseOption("s", "720x576");
    EXPECT_EQ(RaisedBy([&] { Engine->ParseOption("croptop", "576"); }), Vertical);
    EXPECT_EQ(Engine->Fframe_height, 576);
    Engine->ParseOption("croptop", "575");
    EXPECT_EQ(Engine->Fframe_height, 1);
    EXPECT_EQ(Engine->Fframe_topBand, 575);
    EXPECT_EQ(CountLogged(llWarning, "CropXXX is deprecated in favor of the crop avfilter"), 1);
    EXPECT_EQ(RaisedBy([&] { Engine->ParseOption("croptop", "100"); }), Vertical);
    EXPECT_EQ(RaisedBy([&] { Engine->ParseOption("cropleft", "720"); }),
              "Horizontal crop dimensions are outside the range of the original image.\n"
              "Remember to crop first and scale second.");
    Engine->ParseOption("cropright", "0");
    EXPECT_EQ(Engine->Fframe_rightBand, 0);
}

TEST_F(OptionsTest, AspectRatios) {
    const std::pair<const char*, float> Stored[] = {
        {"4:3", 1.3333334f}, {"16:9", 1.7777778f}, {"-4:3", -1.3333334f}, {"2.35", 2.35f}};
    for (const auto& [Text, Ratio] : Stored) {
        Engine->ParseOption("aspect", Text);
        EXPECT_EQ(Engine->Fframe_aspect_ratio, Ratio) << Text;
    }
    for (const char* Bad : {"0", "x", "5:0", "x:3"}) {
        EXPECT_EQ(RaisedBy([&] { Engine->ParseOption("aspect", Bad); }),
                  "Incorrect aspect ratio: give it as w:h or as a number.")
            << Bad;
        EXPECT_EQ(Engine->Fframe_aspect_ratio, 2.35f) << Bad;
    }
}

TEST_F(OptionsTest, FrameRateAndSize) {
    Engine->ParseOption("r", "ntsc");
    EXPECT_EQ(Engine->Fframe_rate.num, 30000);
    EXPECT_EQ(Engine->Fframe_rate.den, 1001);
    Engine->ParseOption("r", "30000/1001");
    EXPECT_EQ(Engine->Fframe_rate.num, 30000);
    EXPECT_EQ(RaisedBy([&] { Engine->ParseOption("r", "x"); }), "Incorrect frame rate");
    EXPECT_EQ(Engine->Fframe_rate.num, 30000);
    Engine->ParseOption("s", "vga");
    EXPECT_EQ(Engine->Fframe_width, 640);
    EXPECT_EQ(Engine->Fframe_height, 480);
    EXPECT_EQ(RaisedBy([&] { Engine->ParseOption("s", "x"); }), "Incorrect frame size");
    EXPECT_EQ(Engine->Fframe_width, 640);
}

TEST_F(OptionsTest, PixelAndSampleFormats) {
    Engine->ParseOption("pix_fmt", "list");
    EXPECT_EQ(Logged().size(), 207u);
    EXPECT_EQ(Logged().front().Msg.rfind("name", 0), 0u) << Logged().front().Msg;
    EXPECT_EQ(Engine->Fframe_pix_fmt, AV_PIX_FMT_NONE);
    ClearLog();
    Engine->ParseOption("sample_fmt", "list");
    EXPECT_EQ(Logged().size(), 13u);
    for (const TLoggedLine& Line : Logged())
        EXPECT_EQ(Line.Level, llInfo);
    EXPECT_EQ(Engine->Faudio_sample_fmt, AV_SAMPLE_FMT_NONE);

    Engine->ParseOption("pix_fmt", "yuv420p");
    EXPECT_EQ(RaisedBy([&] { Engine->ParseOption("pix_fmt", "nosuch"); }),
              "Unknown pixel format requested: nosuch");
    EXPECT_EQ(Engine->Fframe_pix_fmt, AV_PIX_FMT_NONE);
    Engine->ParseOption("sample_fmt", "fltp");
    EXPECT_EQ(Engine->Faudio_sample_fmt, AV_SAMPLE_FMT_FLTP);
    Engine->ParseOption("sample_fmt", "nosuch");
    EXPECT_EQ(Engine->Faudio_sample_fmt, AV_SAMPLE_FMT_NONE);
}

TEST_F(OptionsTest, BitRatesWarnWhenTooLowOnTheirOwnContext) {
    EXPECT_TRUE(Engine->OptBitrate("b", "500"));
    EXPECT_EQ(Engine->Entry(otVideo, "b")->Value, "500");
    EXPECT_EQ(Engine->Entry(otAudio, "b"), nullptr);
    EXPECT_TRUE(Engine->OptBitrate("ab", "500"));
    ASSERT_NE(Engine->Entry(otAudio, "ab"), nullptr);
    EXPECT_EQ(Engine->Entry(otAudio, "ab")->Value, "500");
    const std::string Warning =
        "WARNING: The bitrate parameter is set too low. It takes bits/s as argument, not kbits/s";
    EXPECT_EQ(CountLogged(llWarning, Warning), 2);
    EXPECT_FALSE(Engine->OptBitrate("nosuch", "1"));
    EXPECT_FALSE(Engine->OptBitrate("b", ""));
    EXPECT_TRUE(Engine->OptBitrate("b", "64000"));
    EXPECT_EQ(CountLogged(llWarning, Warning), 2);
}

TEST_F(OptionsTest, CodersAndCopying) {
    Engine->ParseOption("acodec", "copy");
    EXPECT_EQ(Engine->Faudio_stream_copy, 1);
    EXPECT_EQ(Engine->Faudio_codec_name, "");
    Engine->ParseOption("acodec", "mp2");
    EXPECT_EQ(Engine->Faudio_stream_copy, 1);
    EXPECT_EQ(Engine->Faudio_codec_name, "mp2");
    // libx264's private options are accepted once it is the video encoder.
    EXPECT_FALSE(Engine->OptDefault("preset", "fast"));
    Engine->ParseOption("vcodec", "libx264");
    EXPECT_TRUE(Engine->OptDefault("preset", "fast"));
    EXPECT_TRUE(Engine->Entry(otVideo, "preset")->Private);
    // An unknown name keeps the name but names no encoder.
    Engine->ParseOption("vcodec", "nosuch");
    EXPECT_EQ(Engine->Fvideo_codec_name, "nosuch");
    EXPECT_FALSE(Engine->OptDefault("tune", "film"));
}

TEST_F(OptionsTest, EncoderLookupServesMissingNames) {
    const AVCodec* Aac = Engine->FindEncoderByName("libfaac");
    ASSERT_NE(Aac, nullptr);
    EXPECT_STREQ(Aac->name, avcodec::avcodec_find_encoder_by_name("libfaac") ? "libfaac" : "aac");
    // The substitute opens like any encoder.
    AVCodecContext* Context = avcodec::avcodec_alloc_context3(Aac);
    Context->sample_rate = 44100;
    Context->sample_fmt = Aac->sample_fmts[0];
    avutil::av_channel_layout_default(&Context->ch_layout, 2);
    EXPECT_EQ(avcodec::avcodec_open2(Context, Aac, nullptr), 0);
    avcodec::avcodec_free_context(&Context);

    EXPECT_EQ(Engine->FindEncoderByName("libopencore_amrnb_nosuch"), nullptr);
    EXPECT_EQ(RaisedBy([&] { Engine->FindEncoderByName("libopencore_amrnb_nosuch", true); }),
              "Unknown encoder 'libopencore_amrnb_nosuch'");
}

TEST_F(OptionsTest, TagsNeedFourCharacters) {
    Engine->ParseOption("vtag", "XVID");
    EXPECT_EQ(Engine->Fvideo_codec_tag, 1145656920u);
    try {
        Engine->ParseOption("vtag", "XVIDX");
        ADD_FAILURE() << "nothing raised";
    } catch (const EAssertionFailed& E) {
        EXPECT_EQ(E.Message().rfind("video tag parameter must be 4 chars", 0), 0u) << E.Message();
    }
    EXPECT_EQ(Engine->Fvideo_codec_tag, 1145656920u);
    EXPECT_NE(RaisedBy([&] {
                  Engine->ParseOption("atag", "abc");
              }).find("audio tag parameter must be 4 chars"),
              std::string::npos);
    EXPECT_NE(RaisedBy([&] {
                  Engine->ParseOption("stag", "abcde");
              }).find("subtitle tag parameter must be 4 chars"),
              std::string::npos);
    Engine->ParseOption("vtag", "");
    EXPECT_EQ(Engine->Fvideo_codec_tag, 1145656920u);
}

TEST_F(OptionsTest, QuantisationMatrices) {
    EXPECT_EQ(RaisedBy([&] { Engine->ParseOption("intra_matrix", Numbers(63)); }),
              "Syntax error in matrix \"" + Numbers(63) + "\" at coeff 62");
    ASSERT_TRUE(Engine->Fintra_matrix.has_value());
    EXPECT_EQ((*Engine->Fintra_matrix)[62], 63);
    EXPECT_EQ((*Engine->Fintra_matrix)[63], 0);
    Engine->ParseOption("intra_matrix", Numbers(64));
    for (int I = 0; I < 64; ++I)
        EXPECT_EQ((*Engine->Fintra_matrix)[I], I + 1);
    Engine->ParseOption("inter_matrix", " 8, 9," + Numbers(63) + ",99");
    EXPECT_EQ((*Engine->Finter_matrix)[0], 8);
    EXPECT_EQ((*Engine->Finter_matrix)[1], 9);
    EXPECT_EQ((*Engine->Finter_matrix)[63], 62);
    EXPECT_EQ(RaisedBy([&] { Engine->ParseOption("qscale", "0"); }),
              "qscale must be > 0.0 and <= 255");
    EXPECT_EQ(RaisedBy([&] { Engine->ParseOption("qscale", "256"); }),
              "qscale must be > 0.0 and <= 255");
    Engine->ParseOption("qscale", "255");
    EXPECT_EQ(Engine->Fvideo_qscale, 255.0f);
}

TEST(EngineHooks, HookTextsSplitIntoWords) {
    ASSERT_TRUE(FFLoader().Load(ConverterLibs));
    std::string Seventy;
    for (int I = 0; I < 70; ++I)
        Seventy += "w" + std::to_string(I) + " ";
    const std::pair<std::string, std::vector<std::string>> Cases[] = {
        {"a b  c", {"a", "b", "c"}},
        {"lib.so|x y|z", {"lib.so", "x y", "z"}},
        {"||a||", {"a"}},
        {"", {}},
    };
    for (const auto& [Text, Words] : Cases)
        EXPECT_EQ(SplitHookArgs(Text), Words) << Text;
    const std::vector<std::string> Many = SplitHookArgs(Seventy);
    ASSERT_EQ(Many.size(), 63u);
    EXPECT_EQ(Many.back(), "w62");
    FFLoader().Unload(ConverterLibs);
}

TEST_F(OptionsTest, SampleRateAndChannelsTakeOnlyPositiveValues) {
    for (const char* Value : {"0", "-1"}) {
        Engine->ParseOption("ar", Value);
        Engine->ParseOption("ac", Value);
    }
    EXPECT_EQ(Engine->Faudio_sample_rate, 44100);
    EXPECT_EQ(Engine->Faudio_channels, 2);
}
