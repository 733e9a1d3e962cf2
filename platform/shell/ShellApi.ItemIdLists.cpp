#include "platform/core/Environment.h"
#include "platform/core/Strings.h"
#include "platform/shell/ShellInternal.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

namespace {

// Every live block of the shell allocator, so that a list can be walked no
// further than the block that holds it.
std::mutex BlocksLock;
std::map<std::uintptr_t, std::size_t> Blocks;

std::mutex EnvironmentLock;
std::optional<TShellEnvironment> CurrentEnvironment;

thread_local int LastError = 0;

// The bytes from ID to the end of its block; SIZE_MAX for a list that did
// not come from the shell allocator.
std::size_t BytesAvailable(const void* ID) {
    const auto Address = reinterpret_cast<std::uintptr_t>(ID);
    std::lock_guard Guard(BlocksLock);
    auto Block = Blocks.upper_bound(Address);
    if (Block == Blocks.begin())
        return SIZE_MAX;
    --Block;
    if (Address >= Block->first + Block->second)
        return SIZE_MAX;
    return Block->first + Block->second - Address;
}

} // namespace

EOleSysError::EOleSysError(HRESULT Code)
    : Exception("OLE error %.8X", {static_cast<std::uint32_t>(Code)}), FErrorCode(Code) {}

HRESULT OleCheck(HRESULT Result) {
    if (FAILED(Result))
        throw EOleSysError(Result);
    return Result;
}

void* ShellAlloc(std::size_t Size) {
    void* Block = std::calloc(1, Size ? Size : 1);
    if (!Block)
        throw std::bad_alloc();
    std::lock_guard Guard(BlocksLock);
    Blocks[reinterpret_cast<std::uintptr_t>(Block)] = Size;
    return Block;
}

void ShellFree(void* Block) {
    if (!Block)
        return;
    {
        std::lock_guard Guard(BlocksLock);
        Blocks.erase(reinterpret_cast<std::uintptr_t>(Block));
    }
    std::free(Block);
}

int ShellLastError() {
    return LastError;
}

TShellEnvironment DefaultShellEnvironment() {
    TShellEnvironment Env;
    Env.Home = GetEnvironmentVariable("HOME");
    Env.ConfigHome = GetEnvironmentVariable("XDG_CONFIG_HOME");
    if (Env.ConfigHome.empty() || Env.ConfigHome[0] != '/')
        Env.ConfigHome = Env.Home + "/.config";
    Env.DataHome = GetEnvironmentVariable("XDG_DATA_HOME");
    if (Env.DataHome.empty() || Env.DataHome[0] != '/')
        Env.DataHome = Env.Home + "/.local/share";
    Env.UserDirsFile = Env.ConfigHome + "/user-dirs.dirs";
    return Env;
}

void SetShellEnvironment(const TShellEnvironment& Environment) {
    std::lock_guard Guard(EnvironmentLock);
    CurrentEnvironment = Environment;
}

TShellEnvironment ShellEnvironment() {
    {
        std::lock_guard Guard(EnvironmentLock);
        if (CurrentEnvironment)
            return *CurrentEnvironment;
    }
    return DefaultShellEnvironment();
}

namespace shell_detail {

void SetLastError(int Code) {
    LastError = Code;
}

bool IsValidEntryName(const std::string& Name) {
    return !Name.empty() && Name.size() <= 255 && Name != "." && Name != ".." &&
           Name.find('/') == std::string::npos && Name.find('\0') == std::string::npos &&
           IsValidUtf8(Name);
}

namespace {

bool IsValidMountName(const std::string& Name) {
    if (Name.empty() || Name[0] != '/' || Name.find('\0') != std::string::npos ||
        !IsValidUtf8(Name))
        return false;
    if (Name == "/")
        return true;
    if (Name.back() == '/')
        return false;
    std::size_t Start = 1;
    while (Start <= Name.size()) {
        std::size_t End = Name.find('/', Start);
        if (End == std::string::npos)
            End = Name.size();
        const std::string Part = Name.substr(Start, End - Start);
        if (Part.empty() || Part == "." || Part == "..")
            return false;
        Start = End + 1;
    }
    return true;
}

} // namespace

std::optional<std::vector<TItem>> DecodeList(const ITEMIDLIST* ID) {
    if (!ID)
        return std::nullopt;
    const auto* Bytes = reinterpret_cast<const std::uint8_t*>(ID);
    const std::size_t Available = BytesAvailable(ID);
    std::vector<TItem> Items;
    std::size_t Pos = 0;
    for (;;) {
        if (Available < 2 || Pos > Available - 2)
            return std::nullopt;
        const std::size_t Count = Bytes[Pos] | (Bytes[Pos + 1] << 8);
        if (Count == 0)
            return Items;
        if (Count < 4 || Count > Available - Pos)
            return std::nullopt;
        TItem Item;
        const std::uint8_t Kind = Bytes[Pos + 2];
        if (Kind < ikComputer || Kind > ikEntry)
            return std::nullopt;
        Item.Kind = static_cast<TItemKind>(Kind);
        Item.Flags = Bytes[Pos + 3];
        Item.Name.assign(reinterpret_cast<const char*>(Bytes + Pos + 4), Count - 4);
        const bool NameOk = Item.Kind == ikMount   ? IsValidMountName(Item.Name)
                            : Item.Kind == ikEntry ? IsValidEntryName(Item.Name)
                                                   : Item.Name.empty();
        if (!NameOk)
            return std::nullopt;
        Items.push_back(std::move(Item));
        Pos += Count;
    }
}

PItemIDList EncodeList(const std::vector<TItem>& Items) {
    std::size_t Size = 2;
    for (const TItem& Item : Items)
        Size += 4 + Item.Name.size();
    auto* Bytes = static_cast<std::uint8_t*>(ShellAlloc(Size));
    std::size_t Pos = 0;
    for (const TItem& Item : Items) {
        const std::size_t Count = 4 + Item.Name.size();
        Bytes[Pos] = static_cast<std::uint8_t>(Count & 0xFF);
        Bytes[Pos + 1] = static_cast<std::uint8_t>(Count >> 8);
        Bytes[Pos + 2] = Item.Kind;
        Bytes[Pos + 3] = Item.Flags;
        std::memcpy(Bytes + Pos + 4, Item.Name.data(), Item.Name.size());
        Pos += Count;
    }
    return reinterpret_cast<PItemIDList>(Bytes);
}

} // namespace shell_detail
