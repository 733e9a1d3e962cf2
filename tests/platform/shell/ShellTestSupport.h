// The shell provider's tests: a home folder, configuration and trash inside a
// temporary folder, and small helpers over the folder interfaces.
#pragma once

#include "platform/core/Paths.h"
#include "platform/shell/ShellApi.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// An item-identifier list freed with the object.
class TOwnedList {
public:
    TOwnedList() = default;
    explicit TOwnedList(PItemIDList ID) : FID(ID) {}
    ~TOwnedList() { ShellFree(FID); }
    TOwnedList(const TOwnedList&) = delete;
    TOwnedList& operator=(const TOwnedList&) = delete;
    TOwnedList(TOwnedList&& Other) noexcept : FID(Other.FID) { Other.FID = nullptr; }

    PItemIDList Get() const { return FID; }
    PItemIDList* Out() {
        ShellFree(FID);
        FID = nullptr;
        return &FID;
    }

private:
    PItemIDList FID = nullptr;
};

class TShellTest : public testing::Test {
protected:
    void SetUp() override {
        Home = Dir.File("home");
        Work = Home + "/work";
        ForceDirectories(Work);
        TShellEnvironment Env;
        Env.Home = Home;
        Env.ConfigHome = Home + "/.config";
        Env.DataHome = Home + "/.local/share";
        Env.UserDirsFile = Env.ConfigHome + "/user-dirs.dirs";
        SetShellEnvironment(Env);
        ASSERT_EQ(SHGetDesktopFolder(Desktop), S_OK);
    }
    void TearDown() override { SetShellEnvironment(DefaultShellEnvironment()); }

    TOwnedList Parse(const std::string& Path) {
        TOwnedList ID;
        EXPECT_EQ(Desktop->ParseDisplayName(nullptr, Path, nullptr, ID.Out(), nullptr), S_OK)
            << Path;
        return ID;
    }
    PShellFolder FolderAt(const std::string& Path) {
        TOwnedList ID = Parse(Path);
        PUnknown Object;
        EXPECT_EQ(Desktop->BindToObject(ID.Get(), IID_IShellFolder, Object), S_OK) << Path;
        return std::dynamic_pointer_cast<IShellFolder>(Object);
    }
    static std::string NameOf(const PShellFolder& Folder, const ITEMIDLIST* ID,
                              DWORD Flags = SHGDN_INFOLDER) {
        STRRET Name;
        if (FAILED(Folder->GetDisplayNameOf(ID, Flags, &Name)))
            return "(failed)";
        return Name.pOleStr;
    }
    static ULONG AttributesOf(const PShellFolder& Folder, const ITEMIDLIST* ID) {
        ULONG Attributes = 0xFFFFFFFF;
        const ITEMIDLIST* IDs[] = {ID};
        Folder->GetAttributesOf(1, IDs, &Attributes);
        return Attributes;
    }
    // The children's display names, in the folder's order.
    static std::vector<std::string> Names(const PShellFolder& Folder, DWORD Flags) {
        std::vector<std::string> Result;
        std::shared_ptr<IEnumIDList> Enum;
        if (FAILED(Folder->EnumObjects(nullptr, Flags, Enum)))
            return {"(failed)"};
        PItemIDList ID = nullptr;
        ULONG Fetched = 0;
        while (Enum->Next(1, &ID, &Fetched) == S_OK && Fetched == 1) {
            Result.push_back(NameOf(Folder, ID));
            ShellFree(ID);
        }
        return Result;
    }
    // A relative one-item list of a child, by its name.
    static TOwnedList Child(const PShellFolder& Folder, const std::string& Name) {
        std::shared_ptr<IEnumIDList> Enum;
        if (FAILED(Folder->EnumObjects(
                nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN, Enum)))
            return TOwnedList();
        PItemIDList ID = nullptr;
        ULONG Fetched = 0;
        while (Enum->Next(1, &ID, &Fetched) == S_OK && Fetched == 1) {
            if (NameOf(Folder, ID) == Name)
                return TOwnedList(ID);
            ShellFree(ID);
        }
        return TOwnedList();
    }

    TTempDir Dir;
    std::string Home, Work;
    PShellFolder Desktop;
};
