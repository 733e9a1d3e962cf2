#include "app/SoundPlayer.h"

#include "app/ProgramServices.h"
#include "media/FFmpegLoader.h"
#include "media/libsdl.h"

#include <atomic>
#include <cstdio>
#include <cstring>

namespace {

constexpr const char* SoundSwitch = "--play-sound";

struct TPlayback {
    const Uint8* Data = nullptr;
    Uint32 Length = 0;
    std::atomic<Uint32> Played{0};
    // Buffers of silence asked for after the end: once the device asks for
    // a second one, the buffer holding the last samples has gone out.
    std::atomic<int> QuietBuffers{0};
};

// SDL's audio thread asks for the next samples; past the end it hears
// silence.
void Feed(void* User, Uint8* Stream, int Length) {
    auto* P = static_cast<TPlayback*>(User);
    const Uint32 Done = P->Played.load();
    const Uint32 Left = P->Length - Done;
    if (Left == 0)
        P->QuietBuffers.fetch_add(1);
    const Uint32 Take = Left < Uint32(Length) ? Left : Uint32(Length);
    std::memcpy(Stream, P->Data + Done, Take);
    std::memset(Stream + Take, 0, std::size_t(Length) - Take);
    P->Played.store(Done + Take);
}

int Fail(const std::string& Error) {
    std::fprintf(stderr, "ostrela: %s\n", Error.c_str());
    return 1;
}

std::string SDLError() {
    const char* Text = sdl::SDL_GetError ? sdl::SDL_GetError() : nullptr;
    return Text && *Text ? Text : "unknown SDL error";
}

} // namespace

bool IsSoundChildCommand(int argc, char** argv, std::string& WaveFile) {
    if (argc != 3 || std::strcmp(argv[1], SoundSwitch) != 0)
        return false;
    WaveFile = argv[2];
    return true;
}

int PlaySoundFile(const std::string& WaveFile) {
    FFLoader().SetLibraryPath(ProgramFolder() + "LibAV");
    if (!FFLoader().Load(SoundLibs))
        return Fail(FFLoader().LastErrMsg());
    if (sdl::SDL_Init(SDL_INIT_AUDIO) != 0)
        return Fail("cannot start the sound: " + SDLError());
    SDL_AudioSpec Spec{};
    Uint8* Buffer = nullptr;
    Uint32 Length = 0;
    if (!sdl::SDL_LoadWAV_RW(sdl::SDL_RWFromFile(WaveFile.c_str(), "rb"), 1, &Spec, &Buffer,
                             &Length)) {
        const std::string Error = WaveFile + ": " + SDLError();
        sdl::SDL_Quit();
        return Fail(Error);
    }
    TPlayback Playback;
    Playback.Data = Buffer;
    Playback.Length = Length;
    Spec.callback = Feed;
    Spec.userdata = &Playback;
    // No obtained format: SDL converts the file's own format for the device.
    if (sdl::SDL_OpenAudio(&Spec, nullptr) != 0) {
        const std::string Error = "cannot open the sound device: " + SDLError();
        sdl::SDL_FreeWAV(Buffer);
        sdl::SDL_Quit();
        return Fail(Error);
    }
    sdl::SDL_PauseAudio(0);
    while (Playback.Played.load() < Playback.Length)
        sdl::SDL_Delay(20);
    // The last samples handed over still have to leave the device, which may
    // hold them until its next buffer is full; on a busy machine that takes
    // longer than a buffer's time. The guard only ends a device that stalls.
    const Uint32 BufferTime = Uint32(1000.0 * Spec.samples / (Spec.freq > 0 ? Spec.freq : 44100));
    for (Uint32 Waited = 0; Playback.QuietBuffers.load() < 2 && Waited < 4 * BufferTime + 2000;
         Waited += 10)
        sdl::SDL_Delay(10);
    sdl::SDL_CloseAudio();
    sdl::SDL_FreeWAV(Buffer);
    sdl::SDL_Quit();
    return 0;
}
