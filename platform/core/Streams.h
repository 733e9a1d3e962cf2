// Byte streams of the class library: the abstract TStream, streams in
// memory, over a file and over a text. Positions and sizes are 64-bit.
//
// Read and Write answer how many bytes they did; ReadBuffer and WriteBuffer
// are the forms that raise EReadError/EWriteError when fewer were done.
#pragma once

#include "platform/core/Objects.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
public:
    // Both answer the number of bytes done (0 at the end or on an error).
    virtual std::int64_t Read(void* Buffer, std::int64_t Count) = 0;
    virtual std::int64_t Write(const void* Buffer, std::int64_t Count) = 0;
    // Answers the new position, or -1 when the move is impossible (a
    // position before the start); the position then stays where it was.
    virtual std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) = 0;

    std::int64_t Position();
    void SetPosition(std::int64_t Value);
    virtual std::int64_t Size();
    virtual void SetSize(std::int64_t NewSize);

    // Raise EReadError "Stream read error" / EWriteError "Stream write error"
    // when fewer than Count bytes were done.
    void ReadBuffer(void* Buffer, std::int64_t Count);
    void WriteBuffer(const void* Buffer, std::int64_t Count);

    // Count 0 copies the whole source from its beginning; otherwise Count
    // bytes from the source's position (a short source raises EReadError).
    // Answers the number of bytes copied.
    std::int64_t CopyFrom(TStream& Source, std::int64_t Count);
};

class TMemoryStream : public TStream {
public:
    std::int64_t Read(void* Buffer, std::int64_t Count) override;
    std::int64_t Write(const void* Buffer, std::int64_t Count) override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    std::int64_t Size() override { return static_cast<std::int64_t>(FData.size()); }
    // New bytes are zero; the position stays, clamped to the new size.
    void SetSize(std::int64_t NewSize) override;

    void* Memory() { return FData.data(); }
    const void* Memory() const { return FData.data(); }
    void Clear();

    // Replace the content with the whole of Stream (from its beginning) or
    // of the file; the position goes to 0.
    void LoadFromStream(TStream& Stream);
    void LoadFromFile(const std::string& FileName);
    // Write the whole content, whatever the position.
    void SaveToStream(TStream& Stream);
    void SaveToFile(const std::string& FileName);

protected:
    std::string FData;
    std::int64_t FPosition = 0;
};

// Open modes of TFileStream. Linux has no mandatory sharing, so the share
// flags are accepted and not enforced.
enum : std::uint16_t {
    fmCreate = 0xFF00,
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmShareCompat = 0x0000,
    fmShareExclusive = 0x0010,
    fmShareDenyWrite = 0x0020,
    fmShareDenyRead = 0x0030,
    fmShareDenyNone = 0x0040,
};

class TFileStream : public TStream {
public:
    // fmCreate creates the file or truncates it and opens it for reading
    // and writing. Failures raise EFCreateError / EFOpenError naming the
    // file and the system's reason.
    TFileStream(const std::string& FileName, std::uint16_t Mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    std::int64_t Read(void* Buffer, std::int64_t Count) override;
    std::int64_t Write(const void* Buffer, std::int64_t Count) override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    std::int64_t Size() override;
    // Raises EStreamError with the system's text when the file cannot be
    // resized.
    void SetSize(std::int64_t NewSize) override;

    const std::string& FileName() const { return FFileName; }
    int Handle() const { return FHandle; }

private:
    std::string FFileName;
    int FHandle = -1;
};

// A memory stream whose bytes are a text.
class TStringStream : public TMemoryStream {
public:
    explicit TStringStream(std::string AString = {}) { FData = std::move(AString); }

    const std::string& DataString() const { return FData; }
    // Up to Count bytes from the position.
    std::string ReadString(std::int64_t Count);
    void WriteString(const std::string& AString);
};

// Writes Bytes as the whole content of FileName without ever leaving a
// half-written file: the text goes to a temporary file in the same folder,
// which then replaces the original (a link is followed, the mode kept).
// Answers 0, or the system's error number when nothing was replaced.
int ReplaceFileContent(const std::string& FileName, std::string_view Bytes);

// Raises EFCreateError "Cannot create file "<name>". <system text>".
[[noreturn]] void RaiseFileCreateError(const std::string& FileName, int Error);
