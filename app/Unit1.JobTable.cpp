// The job table's cell texts.
#include "app/Unit1.h"

#include "platform/core/Conversions.h"
#include "platform/core/Format.h"

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
