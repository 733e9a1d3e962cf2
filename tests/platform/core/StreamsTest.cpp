#include "platform/core/Streams.h"

#include "platform/core/Exceptions.h"
#include "tests/support/TempDir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>

namespace {

std::string ReadAll(const std::string& FileName) {
    std::ifstream in(FileName, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::string& FileName, const std::string& Bytes) {
    std::ofstream(FileName, std::ios::binary) << Bytes;
}

std::string Content(TMemoryStream& Stream) {
    return {static_cast<const char*>(Stream.Memory()), static_cast<std::size_t>(Stream.Size())};
}

} // namespace

TEST(Streams, MemorySeekOriginsAndSize) {
    TMemoryStream stream;
    stream.WriteBuffer("0123456789", 10);
    EXPECT_EQ(stream.Position(), 10);

    struct Row {
        std::int64_t Offset;
        TSeekOrigin Origin;
        std::int64_t Expected;
    };
    // Starting from position 10 each time: a target before the start is refused
    // and leaves the position alone; a target past the end is allowed.
    const Row rows[] = {{3, soBeginning, 3}, {-4, soCurrent, 6}, {-2, soEnd, 8},
                        {5, soEnd, 15},      {-11, soEnd, -1},   {-1, soBeginning, -1}};
    for (const Row& row : rows) {
        stream.SetPosition(10);
        EXPECT_EQ(stream.Seek(row.Offset, row.Origin), row.Expected)
            << row.Offset << " from " << row.Origin;
        EXPECT_EQ(stream.Position(), row.Expected < 0 ? 10 : row.Expected);
    }

    // Writing after a seek past the end fills the gap with zeros.
    stream.Seek(2, soEnd);
    stream.WriteBuffer("X", 1);
    EXPECT_EQ(Content(stream), std::string("0123456789\0\0X", 13));

    // Grow keeps the position and adds zeros; shrink clamps the position.
    stream.SetPosition(4);
    stream.SetSize(16);
    EXPECT_EQ(stream.Position(), 4);
    EXPECT_EQ(Content(stream).substr(13), std::string(3, '\0'));
    stream.SetPosition(12);
    stream.SetSize(5);
    EXPECT_EQ(stream.Position(), 5);
    EXPECT_EQ(Content(stream), "01234");

    stream.Clear();
    EXPECT_EQ(stream.Size(), 0);
    EXPECT_EQ(stream.Position(), 0);
}

TEST(Streams, ReadBufferPastTheEndRaisesAndReadAnswersShort) {
    TMemoryStream stream;
    stream.WriteBuffer("abc", 3);
    stream.SetPosition(1);
    char buffer[8] = {};
    EXPECT_EQ(stream.Read(buffer, 8), 2);
    EXPECT_EQ(std::string(buffer, 2), "bc");
    EXPECT_EQ(stream.Read(buffer, 8), 0);

    stream.SetPosition(1);
    try {
        stream.ReadBuffer(buffer, 3);
        FAIL() << "no error";
    } catch (const EReadError& e) {
        EXPECT_STREQ(e.what(), "Stream read error");
    }
    // Reading from beyond the end is not an error for Read.
    stream.SetPosition(100);
    EXPECT_EQ(stream.Read(buffer, 1), 0);
}

// Any seek forward is allowed, so a write may start where its end would not
// fit in a position: it writes nothing, WriteBuffer says so, and the content
// stays.
TEST(Streams, MemoryWriteFarBeyondTheEndRaisesAndKeepsTheContent) {
    TMemoryStream stream;
    stream.WriteBuffer("abc", 3);
    const std::int64_t position = std::numeric_limits<std::int64_t>::max() - 1;
    ASSERT_EQ(stream.Seek(position, soBeginning), position);
    EXPECT_EQ(stream.Write("wxyz", 4), 0);
    EXPECT_THROW(stream.WriteBuffer("wxyz", 4), EWriteError);
    EXPECT_EQ(Content(stream), "abc");
}

TEST(Streams, CopyFrom) {
    TStringStream source("hello world");
    source.SetPosition(6);
    TMemoryStream dest;

    // Count 0 copies everything from the source's beginning.
    EXPECT_EQ(dest.CopyFrom(source, 0), 11);
    EXPECT_EQ(Content(dest), "hello world");

    // A count copies from the source's position.
    source.SetPosition(6);
    dest.Clear();
    EXPECT_EQ(dest.CopyFrom(source, 3), 3);
    EXPECT_EQ(Content(dest), "wor");

    source.SetPosition(8);
    EXPECT_THROW(dest.CopyFrom(source, 5), EReadError);

    // A source that cannot tell its size cannot be copied whole.
    class TUnsizedStream : public TStream {
    public:
        std::int64_t Read(void*, std::int64_t) override { return 0; }
        std::int64_t Write(const void*, std::int64_t) override { return 0; }
        std::int64_t Seek(std::int64_t, TSeekOrigin) override { return -1; }
    } unsized;
    EXPECT_THROW(dest.CopyFrom(unsized, 0), EReadError);
    TMemoryStream empty;
    EXPECT_EQ(dest.CopyFrom(empty, 0), 0);
}

TEST(Streams, FileStreamOpenErrorsNameTheFileAndTheReason) {
    TTempDir dir;
    const std::string missing = dir.File("missing.bin");
    try {
        TFileStream stream(missing, fmOpenRead | fmShareDenyNone);
        FAIL() << "no error";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file \"" + missing + "\". No such file or directory");
    }

    const std::string inMissingFolder = dir.File("no/such/folder.bin");
    try {
        TFileStream stream(inMissingFolder, fmCreate);
        FAIL() << "no error";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message(),
                  "Cannot create file \"" + inMissingFolder + "\". No such file or directory");
    }

    // A folder opens on Linux but cannot be read; the error comes at the open.
    EXPECT_THROW(TFileStream(dir.Path(), fmOpenRead), EFOpenError);
}

TEST(Streams, FileStreamModes) {
    TTempDir dir;
    const std::string name = dir.File("data.bin");
    WriteAll(name, "old content that is long");

    {
        // fmCreate truncates an existing file and can read back what it wrote.
        TFileStream stream(name, fmCreate | fmShareExclusive);
        EXPECT_EQ(stream.Size(), 0);
        stream.WriteBuffer("abcdef", 6);
        stream.SetPosition(2);
        char buffer[4];
        stream.ReadBuffer(buffer, 4);
        EXPECT_EQ(std::string(buffer, 4), "cdef");
    }
    EXPECT_EQ(ReadAll(name), "abcdef");

    {
        TFileStream stream(name, fmOpenRead | fmShareDenyWrite);
        EXPECT_EQ(stream.Write("x", 1), 0);
        EXPECT_THROW(stream.WriteBuffer("x", 1), EWriteError);
        EXPECT_EQ(stream.Seek(-2, soEnd), 4);
        char buffer[2];
        stream.ReadBuffer(buffer, 2);
        EXPECT_EQ(std::string(buffer, 2), "ef");
    }
    {
        // Opening for writing keeps the content; the share flags are not enforced.
        TFileStream writer(name, fmOpenWrite | fmShareExclusive);
        TFileStream reader(name, fmOpenRead | fmShareExclusive);
        writer.Seek(1, soBeginning);
        writer.WriteBuffer("XY", 2);
        char buffer[6];
        reader.ReadBuffer(buffer, 6);
        EXPECT_EQ(std::string(buffer, 6), "aXYdef");
    }
    {
        TFileStream stream(name, fmOpenReadWrite);
        stream.SetPosition(6);
        stream.SetSize(3);
        EXPECT_EQ(stream.Position(), 3);
    }
    EXPECT_EQ(ReadAll(name), "aXY");
}

TEST(Streams, FileStreamBeyondFourGiB) {
    TTempDir dir;
    const std::string name = dir.File("sparse.bin");
    const std::int64_t fiveGiB = 5LL << 30;
    {
        TFileStream stream(name, fmCreate);
        // Sparse, so the test needs no real disk space.
        EXPECT_EQ(stream.Seek(fiveGiB, soBeginning), fiveGiB);
        stream.WriteBuffer("Z", 1);
        EXPECT_EQ(stream.Size(), fiveGiB + 1);
    }
    TFileStream stream(name, fmOpenRead);
    EXPECT_EQ(stream.Size(), fiveGiB + 1);
    EXPECT_EQ(stream.Seek(-1, soEnd), fiveGiB);
    char c = 0;
    stream.ReadBuffer(&c, 1);
    EXPECT_EQ(c, 'Z');
}

TEST(Streams, MemoryStreamFilesRoundTrip) {
    TTempDir dir;
    const std::string name = dir.File("视频.bin");
    const std::string bytes("\0\x01\xff 视频", 11);

    TMemoryStream out;
    out.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    out.SetPosition(3); // saving writes everything, whatever the position
    out.SaveToFile(name);
    EXPECT_EQ(ReadAll(name), bytes);

    TMemoryStream in;
    in.WriteBuffer("previous", 8);
    in.LoadFromFile(name);
    EXPECT_EQ(Content(in), bytes);
    EXPECT_EQ(in.Position(), 0);

    EXPECT_THROW(in.LoadFromFile(dir.File("missing")), EFOpenError);

    // A name as long as the file system allows can be saved too, though the
    // temporary file beside it cannot add to that name.
    const std::string longest = dir.File(std::string(NAME_MAX - 4, 'n') + ".bin");
    out.SaveToFile(longest);
    EXPECT_EQ(ReadAll(longest), bytes);
    out.SaveToFile(longest);
    EXPECT_EQ(ReadAll(longest), bytes);
}

TEST(Streams, StringStreamWithChineseText) {
    TStringStream stream("视频 abc");
    EXPECT_EQ(stream.Size(), 10);
    EXPECT_EQ(stream.ReadString(3), "视");
    EXPECT_EQ(stream.ReadString(100), "频 abc");
    EXPECT_EQ(stream.ReadString(5), "");

    stream.SetPosition(3);
    // Writing overwrites in place and grows at the end.
    stream.WriteString("音乐");
    EXPECT_EQ(stream.DataString(), "视音乐c");
    stream.Seek(0, soEnd);
    stream.WriteString("!");
    EXPECT_EQ(stream.DataString(), "视音乐c!");

    stream.SetSize(3);
    EXPECT_EQ(stream.DataString(), "视");
    EXPECT_EQ(stream.Position(), 3);
}
