// The engine's progress report (status line, OnProgress, the size summary)
// and the per-frame video statistics file.
#include "media/FFmpeg.h"

#include "media/FFmpegLogger.h"
#include "media/MyUtilStubs.h"
#include "platform/core/Format.h"

#include <array>
#include <cmath>
#include <cstring>

namespace {

// The report line: a fixed buffer filled by bounded appends with the C
// library's formatting, whose decimal mark the process keeps at ".".
class TReportLine {
public:
    template <class... TArgs> void Append(const char* AFormat, TArgs... AArgs) {
        const std::size_t Used = std::strlen(FText.data());
        if (Used + 1 < FText.size())
            myutil::snprintf(FText.data() + Used, FText.size() - Used, AFormat, AArgs...);
    }
    std::string Text() const { return FText.data(); }

private:
    std::array<char, 1024> FText{};
};

double PSNR(double AError) {
    return -10.0 * std::log10(AError);
}

double Quantiser(int AQuality) {
    return AQuality / double(FF_QP2LAMBDA);
}

// Counts the stream's quantiser, then one hexadecimal digit per quantiser
// 0..31: about log2 of its count.
void AppendQuantiserHistogram(TReportLine& ALine, std::array<int, 52>& AHistogram,
                              const TCustomFFmpeg::TStreamReport& AStream) {
    const long QP = std::lrint(Quantiser(AStream.Quality));
    if (QP >= 0 && QP < long(AHistogram.size()))
        ++AHistogram[std::size_t(QP)];
    for (std::size_t J = 0; J < 32; ++J)
        ALine.Append("%X", int(std::lrint(std::log2(AHistogram[J] + 1))));
}

// The last report rates the whole stream from the encoder's sums, the others
// the last packet.
void AppendPSNR(TReportLine& ALine, const TCustomFFmpeg::TStreamReport& AStream, bool ALast) {
    const AVCodecContext* Enc = AStream.enc;
    ALine.Append("PSNR=");
    double ErrorSum = 0;
    double ScaleSum = 0;
    static const char Planes[] = {'Y', 'U', 'V'};
    for (int J = 0; J < 3; ++J) {
        const double Error = ALast ? double(Enc->error[J]) : double(AStream.Error[std::size_t(J)]);
        double Scale = double(Enc->width) * Enc->height * 255.0 * 255.0;
        if (ALast)
            Scale *= AStream.FrameNumber;
        if (J > 0)
            Scale /= 4;
        ErrorSum += Error;
        ScaleSum += Scale;
        ALine.Append("%c:%2.2f ", Planes[J], PSNR(Error / Scale));
    }
    ALine.Append("*:%2.2f ", PSNR(ErrorSum / ScaleSum));
}

// The summary keeps its literal backslash-r-backslash-n; a job that wrote
// nothing has no overhead to state.
std::string SizeSummary(std::int64_t AVideo, std::int64_t AAudio, std::int64_t AExtra,
                        std::int64_t ATotal) {
    const std::int64_t Raw = AVideo + AAudio + AExtra;
    const double Overhead = Raw ? 100.0 * double(ATotal - Raw) / double(Raw) : 0.0;
    return Format("video:%1.0fkB audio:%1.0fkB global headers:%1.0fkB muxing overhead %f%%\\r\\n",
                  {AVideo / 1024.0, AAudio / 1024.0, AExtra / 1024.0, Overhead});
}

} // namespace

TCustomFFmpeg::TStreamReport TCustomFFmpeg::StreamReportOf(const TAVOutputStream& AOst) const {
    TStreamReport Stream;
    Stream.enc = AOst.enc_ctx;
    Stream.ShowFps = AOst.show_fps == 1;
    Stream.FrameNumber = AOst.frame_number;
    Stream.SyncOpts = AOst.sync_opts;
    if (const TAVOutputSlot* Slot = AOst.slot) {
        Stream.StreamCopy = Slot->StreamCopy;
        Stream.Quality = Slot->CodedFrame.quality;
        Stream.PictType = Slot->CodedFrame.pict_type;
        for (std::size_t J = 0; J < Stream.Error.size(); ++J)
            Stream.Error[J] = std::int64_t(Slot->CodedFrame.error[J]);
        if (AOst.st)
            Stream.Time = double(Slot->LastPts) * av_q2d(AOst.st->time_base);
    }
    return Stream;
}

void TCustomFFmpeg::ReportProgress(bool ALast, int AFileIndex) {
    std::vector<TStreamReport> Streams;
    Streams.reserve(Fost_table.size());
    for (const auto& Ost : Fost_table)
        Streams.push_back(StreamReportOf(*Ost));
    ReportProgress(ALast, AFileIndex, Streams);
}

void TCustomFFmpeg::ReportProgress(bool is_last_report, int AFileIndex,
                                   const std::vector<TStreamReport>& AStreams) {
    int FrameNumber = -1;
    int FPS = -1;
    float Q = -1.0f;

    std::int64_t TotalSize = 0;
    AVFormatContext* Output = Fnb_output_files > 0 ? Foutput_files[0] : nullptr;
    if (Output && Output->pb) {
        TotalSize = avformat::avio_size(Output->pb);
        if (TotalSize < 0)
            TotalSize = avformat::avio_tell(Output->pb);
    }

    TReportLine Line;
    double ti1 = 1e10;
    bool Vid = false;
    for (const TStreamReport& Stream : AStreams) {
        const AVCodecContext* Enc = Stream.enc;
        const bool Video = Enc && Enc->codec_type == AVMEDIA_TYPE_VIDEO;
        const double StreamQ = Stream.StreamCopy ? -1.0 : Quantiser(Stream.Quality);
        if (Vid && Video)
            Line.Append("q=%2.1f ", StreamQ);
        if (!Vid && Video && Stream.ShowFps) {
            const float T = float(NowUS() - Ftimer_start) / 1000000.0f;
            FrameNumber = Stream.FrameNumber;
            // Nothing to say before the first picture, not even at the end.
            if (FrameNumber < 1)
                return;
            FPS = T > 1 ? int(std::trunc(FrameNumber / T + 0.5f)) : 0;
            Q = float(StreamQ);
            Line.Append("frame=%5d fps=%3d q=%3.1f ", FrameNumber, FPS, double(Q));
            if (is_last_report)
                Line.Append("L");
            if (Fqp_hist)
                AppendQuantiserHistogram(Line, Fqp_histogram, Stream);
            if (Enc->flags & AV_CODEC_FLAG_PSNR)
                AppendPSNR(Line, Stream, is_last_report);
            Vid = true;
        }
        if (Stream.Time > 0 && Stream.Time < ti1)
            ti1 = Stream.Time;
    }
    // Before any stream has a time, the report says 0.01 s rather than the
    // search's starting value.
    if (ti1 < 0.01 || ti1 == 1e10)
        ti1 = 0.01;

    if (FOnProgress || Fverbose > 0 || is_last_report) {
        const double BitRate = double(TotalSize) * 8 / ti1 / 1000;
        Line.Append("size=%8.0fkB time=%0.2f bitrate=%6.1fkbits/s", TotalSize / 1024.0, ti1,
                    BitRate);
        if (Fnb_frames_dup || Fnb_frames_drop) {
            Line.Append(" dup=%d drop=%d", Fnb_frames_dup, Fnb_frames_drop);
            // Progress goes to the event, yet each new duplicate or drop
            // still reaches the log once.
            if (FShowDupOrDrop && Fverbose >= 0 && FOnProgress) {
                FShowDupOrDrop = false;
                Log(llVerbose, Line.Text());
            }
        }
        if (FOnProgress)
            FOnProgress(this, AFileIndex, FrameNumber, FPS, Q, float(BitRate), TotalSize,
                        std::int64_t(std::trunc(ti1 * 1000000)), FTotalOutputDuration);
        else if (Fverbose >= 0)
            Log(llVerbose, Line.Text());
    }

    if (is_last_report && Fverbose >= 0)
        Log(llVerbose, SizeSummary(Fvideo_size, Faudio_size, Fextra_size, TotalSize));
}

void TCustomFFmpeg::WriteVideoStats(TAVOutputStream* AOst, int AFrameSize) {
    WriteVideoStats(StreamReportOf(*AOst), AFrameSize);
}

void TCustomFFmpeg::WriteVideoStats(const TStreamReport& AStream, int AFrameSize) {
    if (!Fvstats_file) {
        Fvstats_file = myutil::fopen(Fvstats_filename.c_str(), "w");
        if (!Fvstats_file)
            throw FFmpegException("fopen fail: " + Fvstats_filename);
    }
    const AVCodecContext* Enc = AStream.enc;
    if (!Enc || Enc->codec_type != AVMEDIA_TYPE_VIDEO)
        return;
    myutil::fprintf(Fvstats_file, "frame= %5d q= %2.1f ", AStream.FrameNumber,
                    Quantiser(AStream.Quality));
    if (Enc->flags & AV_CODEC_FLAG_PSNR)
        myutil::fprintf(
            Fvstats_file, "PSNR= %6.2f ",
            PSNR(double(AStream.Error[0]) / (double(Enc->width) * Enc->height * 255.0 * 255.0)));
    myutil::fprintf(Fvstats_file, "f_size= %6d ", AFrameSize);
    const double FrameTime = av_q2d(Enc->time_base);
    double ti1 = double(AStream.SyncOpts) * FrameTime;
    if (ti1 < 0.01)
        ti1 = 0.01;
    const double BitRate = AFrameSize * 8 / FrameTime / 1000;
    const double Average = double(Fvideo_size) * 8 / ti1 / 1000;
    myutil::fprintf(Fvstats_file,
                    "s_size= %8.0fkB time= %0.3f br= %7.1fkbits/s avg_br= %7.1fkbits/s ",
                    Fvideo_size / 1024.0, ti1, BitRate, Average);
    myutil::fprintf(Fvstats_file, "type= %c\n",
                    avutil::av_get_picture_type_char(static_cast<AVPictureType>(AStream.PictType)));
}
