#include "media/CodecLock.h"

namespace {

thread_local int CodecLockDepth = 0;

} // namespace

void TCodecLock::Enter() {
    FLock.Enter();
    ++CodecLockDepth;
}

void TCodecLock::Leave() {
    --CodecLockDepth;
    FLock.Leave();
}

bool TCodecLock::TryEnter() {
    if (!FLock.TryEnter())
        return false;
    ++CodecLockDepth;
    return true;
}

int TCodecLock::HeldByCurrentThread() {
    return CodecLockDepth;
}

TCodecLock& CodecLock() {
    static TCodecLock& Lock = *new TCodecLock;
    return Lock;
}
