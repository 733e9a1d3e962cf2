// The preview player as the main window uses it. TRIVavovaPlayer passes
// every call to the window's TRIVavova component; tests put a recording fake
// in its place through ProgramServices.
#pragma once

#include "player/FFPlay.h"

#include <cstdint>
#include <string>

class TBitmap;

class IPreviewPlayer {
public:
    virtual ~IPreviewPlayer() = default;

    virtual bool AVLibLoaded() const = 0;
    virtual bool LoadAVLib(const std::string& Path) = 0;
    virtual bool Open(const std::string& FileName, HWND Screen, bool Paused) = 0;
    virtual void Stop(bool WaitForStop) = 0;
    virtual void Pause() = 0;
    virtual void Resume() = 0;
    virtual void Seek(std::int64_t Position, TSeekFlags Flags, bool WaitForSeekEnd) = 0;
    virtual TBitmap* CurrentFrame() = 0;
    virtual void UpdateScreenPosition() = 0;

    virtual TAudioDriver AudioDriver() const = 0;
    virtual void SetAudioDriver(TAudioDriver Value) = 0;
    virtual TVideoDriver VideoDriver() const = 0;
    virtual void SetVideoDriver(TVideoDriver Value) = 0;
    virtual int AudioVolume() const = 0;
    virtual void SetAudioVolume(int Value) = 0;
    virtual bool Mute() const = 0;
    virtual void SetMute(bool Value) = 0;
    virtual HWND ScreenHandle() const = 0;
    virtual std::string LastErrMsg() const = 0;

    virtual int VideoStreamIndex() const = 0;
    virtual int AudioStreamIndex() const = 0;
    virtual int SubtitleStreamIndex() const = 0;
    // The open file's report and streams, as the player's prober gives them.
    virtual std::string FileInfoText() const = 0;
    virtual int StreamCount() const = 0;
    virtual bool IsVideoStream(int Index) const = 0;
    virtual bool IsAudioStream(int Index) const = 0;
    virtual bool IsSubtitleStream(int Index) const = 0;

    virtual void SetOnFileOpen(TFileOpenEvent Value) = 0;
    virtual void SetOnPosition(TPositionEvent Value) = 0;
    virtual void SetOnState(TPlayStateEvent Value) = 0;
    virtual void SetOnHook(THookEvent Value) = 0;
};

class TRIVavovaPlayer : public IPreviewPlayer {
public:
    explicit TRIVavovaPlayer(TRIVavova& Player) : FPlayer(Player) {}

    bool AVLibLoaded() const override { return FPlayer.AVLibLoaded(); }
    bool LoadAVLib(const std::string& Path) override { return FPlayer.LoadAVLib(Path); }
    bool Open(const std::string& FileName, HWND Screen, bool Paused) override {
        return FPlayer.Open(FileName, Screen, Paused);
    }
    void Stop(bool WaitForStop) override { FPlayer.Stop(WaitForStop); }
    void Pause() override { FPlayer.Pause(); }
    void Resume() override { FPlayer.Resume(); }
    void Seek(std::int64_t Position, TSeekFlags Flags, bool WaitForSeekEnd) override {
        FPlayer.Seek(Position, Flags, WaitForSeekEnd);
    }
    TBitmap* CurrentFrame() override { return FPlayer.CurrentFrame(); }
    void UpdateScreenPosition() override { FPlayer.UpdateScreenPosition(); }

    TAudioDriver AudioDriver() const override { return FPlayer.AudioDriver(); }
    void SetAudioDriver(TAudioDriver Value) override { FPlayer.SetAudioDriver(Value); }
    TVideoDriver VideoDriver() const override { return FPlayer.VideoDriver(); }
    void SetVideoDriver(TVideoDriver Value) override { FPlayer.SetVideoDriver(Value); }
    int AudioVolume() const override { return FPlayer.AudioVolume(); }
    void SetAudioVolume(int Value) override { FPlayer.SetAudioVolume(Value); }
    bool Mute() const override { return FPlayer.Mute(); }
    void SetMute(bool Value) override { FPlayer.SetMute(Value); }
    HWND ScreenHandle() const override { return FPlayer.ScreenHandle(); }
    std::string LastErrMsg() const override { return FPlayer.LastErrMsg(); }

    int VideoStreamIndex() const override { return FPlayer.VideoStreamIndex(); }
    int AudioStreamIndex() const override { return FPlayer.AudioStreamIndex(); }
    int SubtitleStreamIndex() const override { return FPlayer.SubtitleStreamIndex(); }
    std::string FileInfoText() const override;
    int StreamCount() const override;
    bool IsVideoStream(int Index) const override;
    bool IsAudioStream(int Index) const override;
    bool IsSubtitleStream(int Index) const override;

    void SetOnFileOpen(TFileOpenEvent Value) override { FPlayer.OnFileOpen = Value; }
    void SetOnPosition(TPositionEvent Value) override { FPlayer.SetOnPosition(Value); }
    void SetOnState(TPlayStateEvent Value) override { FPlayer.SetOnState(Value); }
    void SetOnHook(THookEvent Value) override { FPlayer.SetOnHook(Value); }

private:
    TRIVavova& FPlayer;
};
