#include "media/AVCodecStubs.h"
#include "media/AVUtilStubs.h"
#include "media/FFmpegLoader.h"
#include "media/libsdl.h"
#include "platform/core/Environment.h"
#include "platform/core/Exceptions.h"
#include "tests/support/TempDir.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <future>
#include <map>
#include <sstream>
#include <string>
#include <thread>

namespace {

bool EveryEntryBound(TLibrary ALibrary) {
    const auto Entries = LibraryItem(ALibrary).Entries();
    return BoundEntryCount(Entries) == static_cast<int>(Entries.size());
}

bool NoEntryBound(TLibrary ALibrary) {
    return BoundEntryCount(LibraryItem(ALibrary).Entries()) == 0;
}

std::string DlopenError(const std::string& AName) {
    void* Handle = dlopen(AName.c_str(), RTLD_NOW | RTLD_LOCAL);
    EXPECT_EQ(Handle, nullptr);
    return dlerror();
}

std::string RunCommand(const std::string& ACommand) {
    std::string Output;
    FILE* Pipe = popen(ACommand.c_str(), "r");
    if (!Pipe)
        return Output;
    char Buffer[4096];
    std::size_t Count;
    while ((Count = fread(Buffer, 1, sizeof(Buffer), Pipe)) > 0)
        Output.append(Buffer, Count);
    pclose(Pipe);
    return Output;
}

// Every test leaves the loader as it found it: nothing held, no override.
class LoaderTest : public testing::Test {
protected:
    TFFmpegLoader& Loader = FFLoader();

    void TearDown() override {
        for (int I = 0; I < LibraryCount; ++I) {
            TLibraryStatus& Row = Loader.Status(static_cast<TLibrary>(I));
            Row.Name.clear();
            EXPECT_EQ(Row.UseCount, 0) << Loader.LibraryFileName(Row.Lib);
        }
        Loader.SetLibraryPath("");
    }
};

} // namespace

TEST_F(LoaderTest, LibraryFileNamesComeFromTheHeadersMajors) {
    const std::map<TLibrary, std::string> Expected = {
        {avCodec, "libavcodec.so.59"},      {avDevice, "libavdevice.so.59"},
        {avFilter, "libavfilter.so.8"},     {avFormat, "libavformat.so.59"},
        {avUtil, "libavutil.so.57"},        {swScale, "libswscale.so.6"},
        {swResample, "libswresample.so.4"}, {myUtil, "libc.so.6"},
        {lbSDL, "libSDL-1.2.so.0"}};
    for (const auto& [Lib, Name] : Expected)
        EXPECT_EQ(Loader.LibraryFileName(Lib), Name);
    Loader.Status(avUtil).Name = "/opt/x/libavutil.so";
    EXPECT_EQ(Loader.LibraryFileName(avUtil), "/opt/x/libavutil.so");
}

TEST_F(LoaderTest, EachSetLoadsAndBindsEveryEntry) {
    const std::pair<const char*, TLibraries> Sets[] = {
        {"ConverterLibs", ConverterLibs}, {"ProbeLibs", ProbeLibs}, {"PlayerLibs", PlayerLibs}};
    for (const auto& [Name, Set] : Sets) {
        SCOPED_TRACE(Name);
        ASSERT_TRUE(Loader.Load(Set)) << Loader.LastErrMsg();
        EXPECT_TRUE(Loader.Loaded(Set));
        for (int I = 0; I < LibraryCount; ++I) {
            const auto Lib = static_cast<TLibrary>(I);
            if (Set.Contains(Lib)) {
                EXPECT_TRUE(EveryEntryBound(Lib)) << Loader.LibraryFileName(Lib);
            }
        }
        Loader.Unload(Set);
        EXPECT_FALSE(Loader.Loaded(Set));
    }
}

TEST_F(LoaderTest, AvdeviceBelongsToNoSetButStillLoadsAndRegisters) {
    for (TLibraries Set : {ConverterLibs, ProbeLibs, PlayerLibs})
        EXPECT_FALSE(Set.Contains(avDevice));
    ASSERT_TRUE(Loader.Load(avDevice)) << Loader.LastErrMsg();
    EXPECT_TRUE(EveryEntryBound(avDevice));
    Loader.Unload(avDevice);
    EXPECT_TRUE(NoEntryBound(avDevice));
    EXPECT_EQ(Loader.Status(avDevice).Handle, nullptr);
}

TEST_F(LoaderTest, AFailedPlayerLoadLeavesTheConverterLibrariesBound) {
    ASSERT_TRUE(Loader.Load(ConverterLibs)) << Loader.LastErrMsg();
    Loader.Status(lbSDL).Name = "libnosuch.so.0";

    EXPECT_FALSE(Loader.Load(PlayerLibs));
    EXPECT_EQ(Loader.LastErrMsg(),
              "Load library libnosuch.so.0 error: " + DlopenError("libnosuch.so.0"));
    EXPECT_TRUE(Loader.Loaded(ConverterLibs));
    for (TLibrary Lib : {avCodec, avFilter, avFormat, avUtil, swScale, swResample, myUtil})
        EXPECT_TRUE(EveryEntryBound(Lib)) << Loader.LibraryFileName(Lib);
    EXPECT_TRUE(NoEntryBound(lbSDL));
    EXPECT_EQ(Loader.Status(lbSDL).Handle, nullptr);

    Loader.Unload(ConverterLibs);
}

TEST_F(LoaderTest, AMissingEntryFailsTheLoadAndFreesTheModule) {
    Loader.Status(avDevice).Name = "libz.so.1";
    EXPECT_FALSE(Loader.Load(avDevice));
    const std::string Prefix = "Load function avdevice_register_all@libz.so.1 error: ";
    EXPECT_EQ(Loader.LastErrMsg().substr(0, Prefix.size()), Prefix) << Loader.LastErrMsg();
    EXPECT_NE(Loader.LastErrMsg().find("undefined symbol"), std::string::npos);
    EXPECT_EQ(Loader.Status(avDevice).Handle, nullptr);
    EXPECT_FALSE(Loader.Status(avDevice).Fixuped);
}

TEST_F(LoaderTest, LastErrMsgKeepsTheLatestFailureThroughASuccess) {
    Loader.Status(avDevice).Name = "libnosuch-first.so";
    EXPECT_FALSE(Loader.Load(avDevice));
    Loader.Status(avDevice).Name = "libnosuch-second.so";
    EXPECT_FALSE(Loader.Load(avDevice));
    const std::string Second = Loader.LastErrMsg();
    EXPECT_NE(Second.find("libnosuch-second.so"), std::string::npos);

    ASSERT_TRUE(Loader.Load(myUtil));
    EXPECT_EQ(Loader.LastErrMsg(), Second);
    Loader.Unload(myUtil);
}

TEST_F(LoaderTest, UnloadingASetFreesOnlyWhatNoOtherSetHolds) {
    ASSERT_TRUE(Loader.Load(ConverterLibs)) << Loader.LastErrMsg();
    ASSERT_TRUE(Loader.Load(PlayerLibs)) << Loader.LastErrMsg();

    Loader.Unload(PlayerLibs);
    for (int I = 0; I < LibraryCount; ++I) {
        const auto Lib = static_cast<TLibrary>(I);
        if (ConverterLibs.Contains(Lib))
            EXPECT_TRUE(EveryEntryBound(Lib)) << Loader.LibraryFileName(Lib);
        else
            EXPECT_TRUE(NoEntryBound(Lib)) << Loader.LibraryFileName(Lib);
    }

    Loader.Unload(ConverterLibs);
    for (int I = 0; I < LibraryCount; ++I)
        EXPECT_TRUE(NoEntryBound(static_cast<TLibrary>(I)));
    EXPECT_FALSE(Loader.Loaded(avUtil));
}

TEST_F(LoaderTest, ASingleUnloadLeavesALibraryThatASetHolds) {
    ASSERT_TRUE(Loader.Load(ProbeLibs)) << Loader.LastErrMsg();
    Loader.Unload(avCodec);
    EXPECT_TRUE(Loader.Loaded(avCodec));
    EXPECT_TRUE(EveryEntryBound(avCodec));
    Loader.Unload(ProbeLibs);
    EXPECT_FALSE(Loader.Loaded(avCodec));
}

TEST_F(LoaderTest, AnEmptySetIsAProgrammingError) {
    ASSERT_TRUE(Loader.Load(myUtil));
    Loader.Status(avDevice).Name = "libnosuch-before.so";
    EXPECT_FALSE(Loader.Load(avDevice));
    const std::string Before = Loader.LastErrMsg();

    EXPECT_THROW(Loader.Load(TLibraries{}), EAssertionFailed);
    EXPECT_THROW(Loader.Loaded(TLibraries{}), EAssertionFailed);
    EXPECT_THROW(Loader.Unload(TLibraries{}), EAssertionFailed);
    try {
        Loader.Load(TLibraries{});
    } catch (const EAssertionFailed& E) {
        EXPECT_EQ(std::string(E.what()).rfind("Assertion failure (", 0), 0u) << E.what();
    }
    EXPECT_EQ(Loader.LastErrMsg(), Before);
    EXPECT_TRUE(Loader.Loaded(myUtil));
    Loader.Unload(myUtil);
}

TEST_F(LoaderTest, ANameMissingFromTheLibraryFolderComesFromTheSystem) {
    TTempDir Folder;
    Loader.SetLibraryPath(Folder.Path());
    ASSERT_TRUE(Loader.Load(myUtil)) << Loader.LastErrMsg();
    Loader.Unload(myUtil);

    // The failure names what was tried: the bare name, or the folder's file.
    Loader.Status(avDevice).Name = "libnosuch.so.1";
    EXPECT_FALSE(Loader.Load(avDevice));
    EXPECT_EQ(Loader.LastErrMsg(),
              "Load library libnosuch.so.1 error: " + DlopenError("libnosuch.so.1"));
    std::ofstream(Folder.File("libnosuch.so.1")) << "not a library";
    EXPECT_FALSE(Loader.Load(avDevice));
    EXPECT_EQ(Loader.LastErrMsg(), "Load library " + Folder.File("libnosuch.so.1") +
                                       " error: " + DlopenError(Folder.File("libnosuch.so.1")));
}

// The folder test runs in a fresh process: this one may hold the system
// copies already, and the dynamic linker would reuse them.
TEST_F(LoaderTest, LibrariesAndTheirSiblingsComeFromTheLibraryFolder) {
    TTempDir Folder;
    ASSERT_TRUE(Loader.Load(ConverterLibs)) << Loader.LastErrMsg();
    for (TLibrary Lib : {avUtil, swResample, swScale, avCodec, avFormat, avFilter}) {
        Dl_info Info{};
        ASSERT_NE(dladdr(*LibraryItem(Lib).Entries()[0].Var, &Info), 0);
        ASSERT_EQ(symlink(Info.dli_fname, Folder.File(Loader.LibraryFileName(Lib)).c_str()), 0);
    }
    Loader.Unload(ConverterLibs);

    std::istringstream Output(RunCommand(std::string("'") + OSTRELA_PROBE_LIBS +
                                         "' --library-path '" + Folder.Path() + "' --where"));
    std::string Word, Library, Where;
    int Lines = 0;
    while (Output >> Word >> Library >> Where) {
        ASSERT_EQ(Word, "where") << Library << " " << Where;
        EXPECT_EQ(Where, Folder.File(Library));
        ++Lines;
    }
    EXPECT_EQ(Lines, 6);
}

TEST(MediaUnits, DivisionByZeroGivesInfinityOnEveryThreadAndTheEndRestoresTheEnvironment) {
    FinalizeMediaUnits();
    ASSERT_EQ(std::fesetround(FE_DOWNWARD), 0);
    feenableexcept(FE_DIVBYZERO);
    InitializeMediaUnits();

    volatile double Zero = 0.0;
    EXPECT_EQ(1.0 / Zero, INFINITY);
    EXPECT_EQ(std::fegetround(), FE_TONEAREST);
    double OnThread = 0;
    std::thread([&] { OnThread = 1.0 / Zero; }).join();
    EXPECT_EQ(OnThread, INFINITY);

    FinalizeMediaUnits();
    EXPECT_EQ(std::fegetround(), FE_DOWNWARD);
    EXPECT_EQ(fegetexcept() & FE_DIVBYZERO, FE_DIVBYZERO);
    fedisableexcept(FE_ALL_EXCEPT);
    std::fesetround(FE_TONEAREST);
    InitializeMediaUnits();
}

TEST(MediaUnits, NoProgramLinksFFmpegOrSDL) {
    std::vector<std::string> Programs = {GetAppFileName(), OSTRELA_PROBE_LIBS};
    // The program and the prober's tests, when they are part of the build.
    for (const char* Program : {OSTRELA_PROGRAM, OSTRELA_PLAYER_TESTS})
        if (access(Program, X_OK) == 0)
            Programs.push_back(Program);
    for (const std::string& Program : Programs) {
        const std::string Listing = RunCommand("ldd '" + Program + "' 2>&1");
        SCOPED_TRACE(Program + "\n" + Listing);
        EXPECT_NE(Listing.find("libc.so.6"), std::string::npos);
        for (const char* Library : {"libav", "libsw", "libSDL"})
            EXPECT_EQ(Listing.find(Library), std::string::npos) << Library;
    }
}
