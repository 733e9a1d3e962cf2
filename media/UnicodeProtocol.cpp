#include "media/UnicodeProtocol.h"

#include "media/AVFormatStubs.h"
#include "media/AVUtilStubs.h"

#include <cstring>

namespace {

constexpr std::size_t PrefixLength = sizeof(UnicodePrefix) - 1;

// Names of these protocols go to FFmpeg unchanged (exact letter case).
constexpr char PassedProtocols[] = ":unicode:stream:gopher:http:pipe:rtp:tcp:udp:";

// The platform's code page is UTF-8: the round trip keeps every name.
std::string ThroughCodePage(const std::string& AName) {
    return AName;
}

bool InList(const std::string& AName, const char* AList) {
    const std::string List = std::string(",") + AList + ",";
    return List.find("," + AName + ",") != std::string::npos;
}

// FFmpeg's own opening keeps the files a demuxer opens in turn (playlist
// segments, further files) to the protocols the input allows; this hook
// replaces that opening, so it keeps to them too. A crafted playlist must
// not reach out through other protocols.
bool ProtocolAllowed(AVFormatContext* AContext, const std::string& APath) {
    if (!AContext->protocol_whitelist && !AContext->protocol_blacklist)
        return true;
    const char* Found = avformat::avio_find_protocol_name(APath.c_str());
    if (!Found)
        return true; // avio_open2 fails with its own error
    const std::string Protocol = Found;
    if ((AContext->protocol_whitelist && !InList(Protocol, AContext->protocol_whitelist)) ||
        (AContext->protocol_blacklist && InList(Protocol, AContext->protocol_blacklist))) {
        avutil::av_log(AContext, AV_LOG_ERROR, "Protocol '%s' not allowed for '%s'!\n",
                       Protocol.c_str(), APath.c_str());
        return false;
    }
    return true;
}

int OpenIO(AVFormatContext* AContext, AVIOContext** APB, const char* AUrl, int AFlags,
           AVDictionary** AOptions) {
    const std::string Name = AUrl ? AUrl : "";
    if (!ProtocolAllowed(AContext, IsUnicodeName(Name) ? DecodeUnicodeName(Name) : Name))
        return AVERROR(EINVAL);
    return UnicodeAVIOOpen(APB, Name, AFlags, &AContext->interrupt_callback, AOptions);
}

} // namespace

bool NeedsUnicodeProtocol(const std::string& AName) {
    const std::size_t Colon = AName.find(':');
    if (Colon != std::string::npos) {
        const std::string Protocol = ":" + AName.substr(0, Colon) + ":";
        if (std::strstr(PassedProtocols, Protocol.c_str()))
            return false;
    }
    return ThroughCodePage(AName) != AName;
}

std::string FileNameToAV(const std::string& AName) {
    return NeedsUnicodeProtocol(AName) ? EncodeUnicodeName(AName) : ThroughCodePage(AName);
}

std::string FileNameFromAV(const std::string& AText) {
    return IsUnicodeName(AText) ? DecodeUnicodeName(AText) : AText;
}

bool IsUnicodeName(const std::string& AText) {
    return AText.size() > PrefixLength && AText.compare(0, PrefixLength, UnicodePrefix) == 0;
}

std::string EncodeUnicodeName(const std::string& AName) {
    return UnicodePrefix + AName;
}

std::string DecodeUnicodeName(const std::string& AText) {
    std::string Text = AText;
    for (int Pass = 0; Pass < 2; ++Pass) {
        const std::size_t Colon = Text.find(':');
        if (Colon != std::string::npos)
            Text.erase(0, Colon + 1);
    }
    return Text;
}

void InstallUnicodeIO(AVFormatContext* AContext) {
    // The context's default io_close2 closes what OpenIO opened.
    AContext->io_open = OpenIO;
}

int UnicodeAVIOOpen(AVIOContext** APB, const std::string& AName, int AFlags,
                    const AVIOInterruptCB* AInterrupt, AVDictionary** AOptions) {
    const std::string Path = IsUnicodeName(AName) ? DecodeUnicodeName(AName) : AName;
    return avformat::avio_open2(APB, Path.c_str(), AFlags, AInterrupt, AOptions);
}
