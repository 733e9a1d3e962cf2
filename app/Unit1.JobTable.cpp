// The job table: its columns, its cell texts and the slots' reset.
#include "app/Unit1.h"

#include "platform/core/Conversions.h"
#include "platform/core/Format.h"
#include "platform/forms/ListViews.h"
#include "skin/controls/bsSkinCtrls.Views.h"

#include <array>

namespace {

constexpr std::array<TJobColumn, 25> Columns{{
    {"输入文件", 80},  {"视频时间", 70},  {"文件大小", 70},  {"输出文件", 80},  {"转换进度", 70},
    {"", 0},           {"当前时间", 80},  {"转换大小", 80},  {"视频序号", 0},   {"视频类别", 0},
    {"视频选项", 0},   {"视频编码", 0},   {"音频编码", 0},   {"声音频道", 0},   {"VideoTag", 0},
    {"FileExt", 0},    {"视频分辨率", 0}, {"视频比特率", 0}, {"视频帧率", 0},   {"音频比特率", 0},
    {"音频采样率", 0}, {"视频缩放", 0},   {"视频能否", 0},   {"TargetType", 0}, {"NormType", 0},
}};

} // namespace

std::span<const TJobColumn> JobColumns() {
    return Columns;
}

void TForm1::CreateJobColumns() {
    for (const TJobColumn& Spec : Columns) {
        TListColumn* Column = lvFiles->Columns()->Add();
        Column->SetCaption(Spec.Caption);
        Column->SetWidth(Spec.Width);
        // A hidden column carries data: the user cannot widen it.
        if (Spec.Width == 0)
            Column->SetMaxWidth(1);
    }
}

void TForm1::Button15Click(TObject*) {
    Slots.ResetAll();
}

std::string SecToDate(int Sec) {
    // A negative elapsed time (a clock stepping back) is no duration yet.
    if (Sec < 0)
        Sec = 0;
    const int S = Sec % 60;
    const int M = ((Sec - S) / 60) % 60;
    const int H = ((Sec - S - 60 * M) / 3600) % 24;
    return Format("%.2d:%.2d:%.2d", {H, M, S});
}

std::string MegabyteText(std::int64_t Bytes) {
    const double Hundredths =
        static_cast<double>(Round(static_cast<double>(Bytes) / 1024 / 1024 * 100));
    return FloatToStr(Hundredths / 100) + "MB";
}
