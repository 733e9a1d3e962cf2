// Prints the prober's report of a media file, decodes its first video frame
// and saves that frame as FILE.bmp beside the file.
//
//   probe_report FILE
#include "media/FFmpegLoader.h"
#include "media/FFmpegLogger.h"
#include "platform/core/Exceptions.h"
#include "player/AVProbe.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: probe_report FILE\n");
        return 2;
    }
    const std::string FileName = argv[1];
    InitializeMediaUnits();
    GetFFLogger()->SetTriggerEventInMainThread(false);
    if (!FFLoader().Load(ProbeLibs)) {
        std::fprintf(stderr, "%s\n", FFLoader().LastErrMsg().c_str());
        return 1;
    }
    int Result = 0;
    try {
        // The prober goes before the libraries it calls.
        TAVProbe Probe(nullptr);
        if (!Probe.LoadFile(FileName)) {
            std::fprintf(stderr, "%s\n", Probe.LastErrMsg().c_str());
            return 1;
        }
        std::fputs(Probe.FileInfoText().c_str(), stdout);
        TBitmap Bitmap;
        if (Probe.VideoStreamCount() > 0 && Probe.Decode(-1) && Probe.CopyToBitmap(&Bitmap)) {
            Bitmap.SaveToFile(FileName + ".bmp");
            std::printf("First frame (%dx%d) saved as %s.bmp\r\n", Bitmap.Width(), Bitmap.Height(),
                        FileName.c_str());
        } else if (Probe.VideoStreamCount() > 0) {
            std::fprintf(stderr, "No frame: %s\n", Probe.LastErrMsg().c_str());
            Result = 1;
        }
    } catch (const Exception& E) {
        std::fprintf(stderr, "%s\n", E.Message().c_str());
        Result = 1;
    }
    FFLoader().Unload(ProbeLibs);
    return Result;
}
