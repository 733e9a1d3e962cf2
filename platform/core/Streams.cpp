#include "platform/core/Streams.h"

#include "platform/core/Exceptions.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <string>

namespace {

// The position Origin + Offset, or -1 when it lies before the start or
// does not fit in 64 bits.
std::int64_t TargetPosition(std::int64_t Offset, TSeekOrigin Origin, std::int64_t Current,
                            std::int64_t Size) {
    std::int64_t base = 0;
    if (Origin == soCurrent)
        base = Current;
    else if (Origin == soEnd)
        base = Size;
    std::int64_t target = 0;
    if (__builtin_add_overflow(base, Offset, &target) || target < 0)
        return -1;
    return target;
}

// Bytes available from Position in a buffer of Size bytes, at most Count.
std::int64_t Available(std::int64_t Position, std::int64_t Size, std::int64_t Count) {
    if (Count <= 0 || Position >= Size)
        return 0;
    return std::min(Count, Size - Position);
}

// Writes Count bytes at Position into a growable container, zero-filling a
// gap left by a seek beyond the end.
template <typename TContainer>
std::int64_t WriteAt(TContainer& Data, std::int64_t& Position, const void* Buffer,
                     std::int64_t Count) {
    if (Count <= 0)
        return 0;
    // A position far beyond the end (any seek forward is allowed) must not
    // wrap around or ask for more memory than there is: nothing is written,
    // and WriteBuffer reports it.
    std::int64_t end = 0;
    if (__builtin_add_overflow(Position, Count, &end) ||
        static_cast<std::uint64_t>(end) > Data.max_size())
        return 0;
    if (end > static_cast<std::int64_t>(Data.size())) {
        try {
            Data.resize(static_cast<std::size_t>(end));
        } catch (const std::bad_alloc&) {
            return 0;
        }
    }
    std::memcpy(Data.data() + Position, Buffer, static_cast<std::size_t>(Count));
    Position = end;
    return Count;
}

// Moves Count bytes through Transfer (read or write) in pieces the system
// takes, again after a signal; answers the bytes moved before the end of the
// file or an error.
template <typename TByte, typename TTransfer>
std::int64_t TransferAll(TByte* Data, std::int64_t Count, TTransfer Transfer) {
    std::int64_t done = 0;
    while (done < Count) {
        const auto n = Transfer(
            Data + done, static_cast<std::size_t>(std::min<std::int64_t>(Count - done, 1 << 30)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    return done;
}

} // namespace

// ---- TStream ---------------------------------------------------------------

std::int64_t TStream::Position() {
    return Seek(0, soCurrent);
}

void TStream::SetPosition(std::int64_t Value) {
    Seek(Value, soBeginning);
}

std::int64_t TStream::Size() {
    const std::int64_t position = Seek(0, soCurrent);
    const std::int64_t size = Seek(0, soEnd);
    Seek(position, soBeginning);
    return size;
}

void TStream::SetSize(std::int64_t) {
    throw EStreamError("Stream size cannot be changed on a " + ClassName());
}

void TStream::ReadBuffer(void* Buffer, std::int64_t Count) {
    if (Count > 0 && Read(Buffer, Count) != Count)
        throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, std::int64_t Count) {
    if (Count > 0 && Write(Buffer, Count) != Count)
        throw EWriteError("Stream write error");
}

std::int64_t TStream::CopyFrom(TStream& Source, std::int64_t Count) {
    if (Count < 0)
        return 0;
    if (Count == 0) {
        Source.SetPosition(0);
        Count = Source.Size();
        // A source that cannot tell its size cannot be copied whole.
        if (Count < 0)
            throw EReadError("Stream read error");
        if (Count == 0)
            return 0;
    }
    constexpr std::int64_t chunk = 64 * 1024;
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::min(Count, chunk)));
    std::int64_t left = Count;
    while (left > 0) {
        const std::int64_t n = std::min(left, chunk);
        Source.ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        left -= n;
    }
    return Count;
}

// ---- TMemoryStream ---------------------------------------------------------

std::int64_t TMemoryStream::Read(void* Buffer, std::int64_t Count) {
    const std::int64_t n = Available(FPosition, Size(), Count);
    if (n > 0) {
        std::memcpy(Buffer, FData.data() + FPosition, static_cast<std::size_t>(n));
        FPosition += n;
    }
    return n;
}

std::int64_t TMemoryStream::Write(const void* Buffer, std::int64_t Count) {
    return WriteAt(FData, FPosition, Buffer, Count);
}

std::int64_t TMemoryStream::Seek(std::int64_t Offset, TSeekOrigin Origin) {
    const std::int64_t target = TargetPosition(Offset, Origin, FPosition, Size());
    if (target < 0)
        return -1;
    FPosition = target;
    return FPosition;
}

void TMemoryStream::SetSize(std::int64_t NewSize) {
    FData.resize(static_cast<std::size_t>(std::max<std::int64_t>(NewSize, 0)));
    FPosition = std::min(FPosition, Size());
}

void TMemoryStream::Clear() {
    FData.clear();
    FData.shrink_to_fit();
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& Stream) {
    Stream.SetPosition(0);
    const std::int64_t size = Stream.Size();
    SetSize(size);
    FPosition = 0;
    Stream.ReadBuffer(FData.data(), size);
}

void TMemoryStream::LoadFromFile(const std::string& FileName) {
    TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TMemoryStream::SaveToStream(TStream& Stream) {
    Stream.WriteBuffer(FData.data(), Size());
}

void TMemoryStream::SaveToFile(const std::string& FileName) {
    const int error = ReplaceFileContent(FileName, FData);
    if (error != 0)
        RaiseFileCreateError(FileName, error);
}

// ---- TFileStream -----------------------------------------------------------

TFileStream::TFileStream(const std::string& FileName, std::uint16_t Mode) : FFileName(FileName) {
    if (Mode == fmCreate || (Mode & 0xFF00) == fmCreate) {
        FHandle = ::open(FileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (FHandle < 0)
            RaiseFileCreateError(FileName, errno);
        return;
    }
    int flags = O_RDONLY;
    if ((Mode & 0x3) == fmOpenWrite)
        flags = O_WRONLY;
    else if ((Mode & 0x3) == fmOpenReadWrite)
        flags = O_RDWR;
    FHandle = ::open(FileName.c_str(), flags | O_CLOEXEC);
    int error = FHandle < 0 ? errno : 0;
    // A folder opens for reading on Linux but reads nothing; refuse it here
    // so that the caller gets the error at the open, as it expects.
    struct stat info {};
    if (FHandle >= 0 && ::fstat(FHandle, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(FHandle);
        FHandle = -1;
        error = EISDIR;
    }
    if (FHandle < 0)
        throw EFOpenError("Cannot open file \"" + FileName + "\". " + SysErrorMessage(error));
}

TFileStream::~TFileStream() {
    if (FHandle >= 0)
        ::close(FHandle);
}

std::int64_t TFileStream::Read(void* Buffer, std::int64_t Count) {
    return TransferAll(
        static_cast<std::uint8_t*>(Buffer), Count,
        [this](std::uint8_t* Data, std::size_t Size) { return ::read(FHandle, Data, Size); });
}

std::int64_t TFileStream::Write(const void* Buffer, std::int64_t Count) {
    return TransferAll(static_cast<const std::uint8_t*>(Buffer), Count,
                       [this](const std::uint8_t* Data, std::size_t Size) {
                           return ::write(FHandle, Data, Size);
                       });
}

std::int64_t TFileStream::Seek(std::int64_t Offset, TSeekOrigin Origin) {
    const int whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
    const off_t result = ::lseek(FHandle, static_cast<off_t>(Offset), whence);
    return result < 0 ? -1 : static_cast<std::int64_t>(result);
}

std::int64_t TFileStream::Size() {
    struct stat info {};
    if (::fstat(FHandle, &info) != 0)
        return TStream::Size();
    return static_cast<std::int64_t>(info.st_size);
}

void TFileStream::SetSize(std::int64_t NewSize) {
    if (NewSize < 0 || ::ftruncate(FHandle, static_cast<off_t>(NewSize)) != 0)
        throw EStreamError(SysErrorMessage(NewSize < 0 ? EINVAL : errno));
    if (Position() > NewSize)
        SetPosition(NewSize);
}

// ---- TStringStream ---------------------------------------------------------

std::string TStringStream::ReadString(std::int64_t Count) {
    const std::int64_t n = Available(FPosition, Size(), Count);
    if (n == 0)
        return {};
    std::string result =
        FData.substr(static_cast<std::size_t>(FPosition), static_cast<std::size_t>(n));
    FPosition += n;
    return result;
}

void TStringStream::WriteString(const std::string& AString) {
    Write(AString.data(), static_cast<std::int64_t>(AString.size()));
}

// ---- Whole files -----------------------------------------------------------

void RaiseFileCreateError(const std::string& FileName, int Error) {
    throw EFCreateError("Cannot create file \"" + FileName + "\". " + SysErrorMessage(Error));
}

int ReplaceFileContent(const std::string& FileName, std::string_view Bytes) {
    if (FileName.empty())
        return ENOENT;

    // Replacing a link would cut it; write where it points instead.
    std::string target = FileName;
    struct stat info {};
    if (::lstat(target.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        if (char* resolved = ::realpath(target.c_str(), nullptr)) {
            target = resolved;
            std::free(resolved);
        }
    }
    const bool exists = ::stat(target.c_str(), &info) == 0;

    static std::atomic<unsigned> counter{0};
    // The temporary name adds to the file's own, which may already be as long
    // as a name can be; then a short hidden name in the same folder serves.
    const std::size_t nameStart = target.rfind('/') + 1;
    const std::string stem = target.size() - nameStart + 40 > NAME_MAX
                                 ? target.substr(0, nameStart) + ".ostrela"
                                 : target;
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = stem + "." + std::to_string(::getpid()) + "." +
                    std::to_string(counter.fetch_add(1)) + ".tmp";
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return errno;

    // errno of the first step that failed.
    int error = 0;
    const auto check = [&error](bool Ok) {
        if (!Ok && error == 0)
            error = errno != 0 ? errno : EIO;
        return Ok;
    };
    bool ok = check(!exists || ::fchmod(fd, info.st_mode & 07777) == 0);
    for (std::size_t done = 0; ok && done < Bytes.size();) {
        const ssize_t n = ::write(fd, Bytes.data() + done, Bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        ok = check(n > 0);
        if (ok)
            done += static_cast<std::size_t>(n);
    }
    ok = check(::close(fd) == 0) && ok;
    ok = ok && check(::rename(temporary.c_str(), target.c_str()) == 0);
    if (!ok) {
        ::unlink(temporary.c_str());
        return error;
    }
    return 0;
}
