#include "app/PreviewPlayer.h"

#include "player/AVProbe.h"

std::string TRIVavovaPlayer::FileInfoText() const {
    return FPlayer.AVProbe()->FileInfoText();
}

int TRIVavovaPlayer::StreamCount() const {
    return FPlayer.AVProbe()->StreamCount();
}

bool TRIVavovaPlayer::IsVideoStream(int Index) const {
    return FPlayer.AVProbe()->IsVideoStream(Index);
}

bool TRIVavovaPlayer::IsAudioStream(int Index) const {
    return FPlayer.AVProbe()->IsAudioStream(Index);
}

bool TRIVavovaPlayer::IsSubtitleStream(int Index) const {
    return FPlayer.AVProbe()->IsSubtitleStream(Index);
}
