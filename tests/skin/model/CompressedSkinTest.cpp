// Compressed skins and stored lists, and every damaged input the skin data
// must refuse while keeping the skin in use.
#include "platform/core/Exceptions.h"
#include "platform/core/Paths.h"
#include "platform/gdi/GraphicErrors.h"
#include "skin/model/bsMessages.h"
#include "skin/model/bsSkinData.h"
#include "skin/model/bszlibcompress.h"
#include "tests/fixtures/skins/SkinComparison.h"
#include "tests/fixtures/skins/SkinMessageRecorder.h"
#include "tests/fixtures/skins/TestSkin.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

using namespace testskin;

namespace {

// Option records with one field set.
TPayloadOptions PayloadVersion(int Version, bool ExtraSlotPictures = true) {
    TPayloadOptions O;
    O.Version = Version;
    O.ExtraSlotPictures = ExtraSlotPictures;
    return O;
}
TPayloadOptions TextBom(const std::string& Bom) {
    TPayloadOptions O;
    O.TextBom = Bom;
    return O;
}
TPayloadOptions PictureCount(std::int32_t Count) {
    TPayloadOptions O;
    O.ActivePictureCount = Count;
    return O;
}
TPayloadOptions PictureBfSize(int Index, std::uint32_t BfSize) {
    TPayloadOptions O;
    O.ActivePictureBfSize = std::pair{Index, BfSize};
    return O;
}
TFrameOptions FrameVersion(int Version) {
    TFrameOptions O;
    O.Version = Version;
    return O;
}
TFrameOptions FrameLength(std::int32_t Length) {
    TFrameOptions O;
    O.Length = Length;
    return O;
}
TStandardSkinOptions WithLayerFrame() {
    TStandardSkinOptions O;
    O.LayerFrame = true;
    return O;
}

// Reads Frame (the bytes of a compressed frame) into a stored skin.
void ReadFrameInto(TbsCompressedStoredSkin& Stored, const std::string& Frame) {
    TStringStream Stream(Frame);
    Stored.LoadFromCompressStream(Stream);
}

void LoadFrame(TbsSkinData& Data, const std::string& Frame) {
    TbsCompressedStoredSkin Stored(nullptr);
    ReadFrameInto(Stored, Frame);
    Data.LoadCompressedStoredSkin(&Stored);
}

void LoadPayload(TbsSkinData& Data, const std::string& Payload) {
    LoadFrame(Data, FrameAround(ZlibBlock(Payload)));
}

std::string BlockOf(TbsCompressedStoredSkin& Stored) {
    TStringStream Out;
    Stored.WriteCompressedData(Out);
    return Out.DataString();
}

std::string Inflate(const std::string& Block) {
    TStringStream Source(Block);
    TMemoryStream Dest;
    DecompressStreamFromMemory(Dest, Source);
    return std::string(static_cast<const char*>(Dest.Memory()), std::size_t(Dest.Size()));
}

class CompressedSkin : public TSkinWindowTest {
protected:
    void SetUp() override {
        TSkinWindowTest::SetUp();
        MakeRecorder("A");
    }
    std::unique_ptr<TbsSkinData> FromFolder(const TTestSkin& Skin) {
        TTempDir Dir;
        auto Data = std::make_unique<TbsSkinData>(nullptr);
        Data->LoadFromFile(Skin.WriteFolder(Dir.Path()));
        return Data;
    }
};

} // namespace

TEST_F(CompressedSkin, TheFixturesFrameLoadsLikeTheFolder) {
    const TTestSkin Skin = StandardTestSkin(WithLayerFrame());
    auto Folder = FromFolder(Skin);
    TbsSkinData Data(nullptr);
    LoadFrame(Data, Skin.Frame());
    ExpectSameSkin(Data, *Folder);
    ExpectSkinMatches(Data, Skin);
    EXPECT_EQ(Receivers(WM_AFTERCHANGESKINDATA).size(), 2u) << "two loads";
}

TEST_F(CompressedSkin, PayloadVariantsLoadTheSameSkin) {
    const TTestSkin Skin = StandardTestSkin();
    auto Folder = FromFolder(Skin);
    const TPayloadOptions Variants[] = {PayloadVersion(2), PayloadVersion(2, false),
                                        PayloadVersion(1), TextBom("utf8"), TextBom("utf16le")};
    for (const TPayloadOptions& Options : Variants) {
        TbsSkinData Data(nullptr);
        LoadPayload(Data, Skin.Payload(Options));
        ExpectSameSkin(Data, *Folder);
    }
}

TEST_F(CompressedSkin, SkinDataThroughACompressedFileAndBack) {
    TTempDir Dir;
    auto Folder = FromFolder(StandardTestSkin(WithLayerFrame()));
    Folder->SaveToCompressedFile(Dir.File("saved.skn"));
    TbsSkinData Data(nullptr);
    Data.LoadFromCompressedFile(Dir.File("saved.skn"));
    ExpectSameSkin(Data, *Folder);

    // The payload the component writes is read by the fixture's layout too:
    // version 3 and a text that begins with VERSION.
    TbsCompressedStoredSkin Stored(nullptr);
    Stored.LoadFromCompressFile(Dir.File("saved.skn"));
    const std::string Payload = Inflate(BlockOf(Stored));
    EXPECT_EQ(Payload.substr(0, 4), std::string("\x03\0\0\0", 4));
    EXPECT_NE(Payload.find("[VERSION]\r\nver=1\r\n"), std::string::npos);
}

TEST_F(CompressedSkin, LoadFromIniFileCarriesTheFilesOwnText) {
    TTempDir Dir;
    TTestSkin Skin = StandardTestSkin();
    Skin.SetLeadingLines({"; made for the tests"});
    Skin.AddForeignSection("EDITOR", {"zoom=2"});
    const std::string Ini = Skin.WriteFolder(Dir.Path());
    TbsCompressedStoredSkin Stored(nullptr);
    Stored.LoadFromIniFile(Ini);
    const std::string Payload = Inflate(BlockOf(Stored));
    const std::string Text = Skin.IniText();
    ASSERT_GE(Payload.size(), Text.size());
    EXPECT_EQ(Payload.substr(Payload.size() - Text.size()), Text);

    TbsSkinData Data(nullptr);
    Data.LoadCompressedStoredSkin(&Stored);
    ExpectSameSkin(Data, *FromFolder(Skin));

    // An ini without SKINOBJECTS leaves the block as it was.
    const std::string Block = BlockOf(Stored);
    TTempDir Other;
    std::string Incomplete = Text;
    Incomplete.replace(Incomplete.find("[SKINOBJECTS]"), 13, "[NOOBJECTS]");
    Stored.LoadFromIniFile(
        MinimalLoadableSkin().WriteFolder(Other.Path(), "skin.ini", &Incomplete));
    EXPECT_EQ(BlockOf(Stored), Block);
    EXPECT_THROW(Stored.LoadFromIniFile(Other.File("missing.ini")), EFOpenError);
    EXPECT_EQ(BlockOf(Stored), Block);
}

TEST_F(CompressedSkin, EmptyStoredSkinsAndNewerPayloadsChangeNothing) {
    const TTestSkin Skin = StandardTestSkin();
    TbsSkinData Data(nullptr);
    LoadFrame(Data, Skin.Frame());
    auto Before = FromFolder(Skin);
    const std::string Frames[] = {
        Skin.Frame(FrameVersion(4)),
        FrameAround(""),
        FrameAround(ZlibBlock(Skin.Payload(PayloadVersion(4)))),
    };
    for (const std::string& Frame : Frames) {
        TbsCompressedStoredSkin Stored(nullptr);
        ReadFrameInto(Stored, Frame);
        Log->clear();
        EXPECT_NO_THROW(Data.LoadCompressedStoredSkin(&Stored));
        EXPECT_TRUE(Log->empty());
        EXPECT_FALSE(Data.ChangeSkinDataProcess);
        ExpectSameSkin(Data, *Before);
    }
    TbsCompressedStoredSkin Newer(nullptr);
    ReadFrameInto(Newer, Skin.Frame(FrameVersion(4)));
    EXPECT_TRUE(Newer.Empty());
}

TEST_F(CompressedSkin, FrameRoundTrips) {
    TTempDir Dir;
    TbsCompressedStoredSkin Stored(nullptr);
    ReadFrameInto(Stored, MinimalLoadableSkin().Frame());
    const std::string Block = BlockOf(Stored);

    // A stream that held other data: reading always starts at position 0.
    TStringStream Stream(std::string(100, '\xAB'));
    Stream.SetPosition(0);
    Stored.SaveToCompressStream(Stream);
    TbsCompressedStoredSkin Back(nullptr);
    Back.LoadFromCompressStream(Stream);
    EXPECT_EQ(BlockOf(Back), Block);

    // The "Skin" bytes are the frame, the "CompressedData" bytes the block.
    TbsCompressedSkinList List(nullptr);
    TbsSkinListItem* Item = List.Skins()->Add();
    TStringStream Frame(FrameAround(Block));
    Item->ReadSkin(Frame);
    TStringStream Written;
    Item->WriteSkin(Written);
    EXPECT_EQ(Written.DataString(), FrameAround(Block));
    TStringStream Data(Block);
    TbsCompressedStoredSkin FromData(nullptr);
    FromData.ReadCompressedData(Data);
    EXPECT_EQ(BlockOf(FromData), Block);

    // An empty stored skin writes no file.
    TbsCompressedStoredSkin Empty(nullptr);
    Empty.SaveToCompressFile(Dir.File("empty.skn"));
    EXPECT_FALSE(FileExists(Dir.File("empty.skn")));
}

TEST_F(CompressedSkin, JunkAfterTheBlockIsNeverInflated) {
    const TTestSkin Skin = StandardTestSkin();
    TbsSkinData Data(nullptr);
    LoadFrame(Data, FrameAround(Skin.Block() + std::string(50, '\x5A')));
    ExpectSkinMatches(Data, Skin);
}

TEST(SkinList, ItemsAreNamedAndCopiedWhole) {
    TbsCompressedSkinList Source(nullptr);
    for (int i = 0; i < 3; ++i)
        Source.Skins()->Add();
    EXPECT_EQ(Source.Skins()->Items(0)->Name(), "bsSkin0");
    EXPECT_EQ(Source.Skins()->Items(2)->Name(), "bsSkin2");
    Source.Skins()->Items(1)->SetDescription("Blue");
    EXPECT_EQ(Source.Skins()->Items(1)->GetDisplayName(), "bsSkin1");
    EXPECT_EQ(Source.Skins()->GetOwner(), &Source);
    TStringStream Frame(MinimalLoadableSkin().Frame());
    Source.Skins()->Items(1)->ReadSkin(Frame);
    Source.Skins()->Items(1)->SetName("Blue skin");
    const std::string Block = BlockOf(*Source.Skins()->Items(1)->Skin());

    TbsCompressedSkinList Copy(nullptr);
    Copy.SetSkins(Source.Skins());
    Source.Skins()->Items(1)->Skin()->CompressedStream().Clear();
    Source.Skins()->Items(1)->SetName("changed");
    Source.Skins()->Delete(0);
    ASSERT_EQ(Copy.Skins()->Count(), 3);
    EXPECT_EQ(Copy.Skins()->Items(1)->Name(), "Blue skin");
    EXPECT_EQ(Copy.Skins()->Items(1)->Description(), "Blue");
    EXPECT_EQ(BlockOf(*Copy.Skins()->Items(1)->Skin()), Block);
    EXPECT_EQ(Copy.Skins()->Items(2)->Name(), "bsSkin2");
}

TEST(SkinZlib, MixedDataRoundTrips) {
    std::string Data;
    std::mt19937 Random(7);
    while (Data.size() < 1500000) {
        Data += "[SKINCONTROLS]\r\ncount=36\r\n0=button:button\r\n";
        for (int i = 0; i < 64; ++i)
            Data += char(Random() & 0xFF);
    }
    TStringStream Source(Data), Block;
    CompressStreamToMemory(Source, Block);
    EXPECT_LT(Block.Size(), std::int64_t(Data.size()));
    EXPECT_EQ(Inflate(Block.DataString()), Data);
}

// ---- damaged inputs --------------------------------------------------------------

namespace {

enum TExpected { None, Read, Graphic, Decompression, FileOpen, Convert };

const char* NameOf(TExpected E) {
    const char* Names[] = {"no error",    "EReadError",   "EInvalidGraphic", "EDecompressionError",
                           "EFOpenError", "EConvertError"};
    return Names[E];
}

TExpected Classify(const std::exception& E) {
    if (dynamic_cast<const EReadError*>(&E))
        return Read;
    if (dynamic_cast<const EInvalidGraphic*>(&E))
        return Graphic;
    if (dynamic_cast<const EDecompressionError*>(&E))
        return Decompression;
    if (dynamic_cast<const EFOpenError*>(&E))
        return FileOpen;
    if (dynamic_cast<const EConvertError*>(&E))
        return Convert;
    throw std::runtime_error(std::string("unexpected error: ") + E.what());
}

struct TDamage {
    std::string Name;
    std::function<void(TbsSkinData&, const TTempDir&)> Load;
    TExpected Expected;
};

// The error a payload cut to Cut bytes must raise, from its layout.
TExpected ExpectedForCut(const TPayloadLayout& L, std::size_t Cut) {
    if (Cut < L.Version + 4)
        return Read;
    if (Cut < L.Count) {
        // A missing slot flag is data that ends early; a cut picture is a
        // damaged picture.
        const bool AtFlag =
            std::find(L.SlotFlags.begin(), L.SlotFlags.end(), Cut) != L.SlotFlags.end();
        return AtFlag ? Read : Graphic;
    }
    if (Cut < L.Count + 4)
        return Read;
    if (Cut < L.Text) {
        // The count is checked against what is left before any picture.
        const std::int64_t Left = std::int64_t(Cut - (L.Count + 4));
        return std::int64_t(L.ActivePictures.size()) > Left / 54 ? Read : Graphic;
    }
    return None;
}

// The rows cut from the payload's layout: each field boundary and one byte
// into it.
void AddPayloadCuts(std::vector<TDamage>& Rows, const TTestSkin& Skin) {
    TPayloadLayout L;
    const std::string Payload = Skin.Payload({}, &L);
    auto Add = [&](const std::string& Field, std::size_t At) {
        for (std::size_t Cut : {At, At + 1})
            Rows.push_back({"payload cut at " + Field + " +" + std::to_string(Cut - At),
                            [Payload, Cut](TbsSkinData& D, const TTempDir&) {
                                LoadPayload(D, Payload.substr(0, Cut));
                            },
                            ExpectedForCut(L, Cut)});
    };
    auto AddPicture = [&](const std::string& What, const TBmpLayout& B) {
        Add(What + " file header", B.FileHeader);
        Add(What + " info header", B.InfoHeader);
        if (B.ColourTable != B.Pixels)
            Add(What + " colour table", B.ColourTable);
        Add(What + " pixel rows", B.Pixels);
    };
    Add("version", L.Version);
    for (std::size_t i = 0; i < L.SlotFlags.size(); ++i)
        Add("slot flag " + std::to_string(i), L.SlotFlags[i]);
    for (std::size_t i = 0; i < L.SlotPictures.size(); ++i)
        AddPicture("slot picture " + std::to_string(i), L.SlotPictures[i]);
    Add("count", L.Count);
    for (std::size_t i = 0; i < L.ActivePictures.size(); ++i)
        AddPicture("active picture " + std::to_string(i), L.ActivePictures[i]);
    // At the text, or inside it before SKINCONTROLS holds a key: refused.
    const std::size_t Controls = Payload.find("[SKINCONTROLS]");
    for (std::size_t Cut : {L.Text, L.Text + 1, Controls + 16})
        Rows.push_back({"payload cut in the text at " + std::to_string(Cut),
                        [Payload, Cut](TbsSkinData& D, const TTempDir&) {
                            LoadPayload(D, Payload.substr(0, Cut));
                        },
                        None});
}

std::vector<TDamage> DamageRows() {
    std::vector<TDamage> Rows;
    const TTestSkin Small = MinimalLoadableSkin();
    const TTestSkin Standard = Variant(1);

    // The compressed file cut at every byte.
    const std::string SmallFrame = Small.Frame();
    for (std::size_t Cut = 0; Cut < SmallFrame.size(); ++Cut)
        Rows.push_back({"file cut at " + std::to_string(Cut),
                        [Cut, SmallFrame](TbsSkinData& D, const TTempDir& Dir) {
                            WriteFileBytes(Dir.File("cut.skn"), SmallFrame.substr(0, Cut));
                            D.LoadFromCompressedFile(Dir.File("cut.skn"));
                        },
                        Read});
    for (std::int32_t N : {-1, 0x7FFFFFFF})
        Rows.push_back({"frame length " + std::to_string(N),
                        [N, Standard](TbsSkinData& D, const TTempDir&) {
                            LoadFrame(D, Standard.Frame(FrameLength(N)));
                        },
                        Read});

    // The block cut short, its length rewritten to match.
    const std::string Block = Standard.Block();
    std::vector<std::size_t> Cuts;
    for (std::size_t Cut = 64; Cut < Block.size(); Cut += 64)
        Cuts.push_back(Cut);
    Cuts.push_back(Block.size() - 1);
    for (std::size_t Cut : Cuts)
        Rows.push_back({"block cut at " + std::to_string(Cut),
                        [Cut, Block](TbsSkinData& D, const TTempDir&) {
                            LoadFrame(D, FrameAround(Block.substr(0, Cut)));
                        },
                        Read});
    for (std::size_t At : {std::size_t(0), Block.size() / 2, Block.size() - 4, Block.size() - 3,
                           Block.size() - 2, Block.size() - 1})
        Rows.push_back({"block byte flipped at " + std::to_string(At),
                        [At, Block](TbsSkinData& D, const TTempDir&) {
                            std::string Bad = Block;
                            Bad[At] = char(Bad[At] ^ 0x5A);
                            LoadFrame(D, FrameAround(Bad));
                        },
                        Decompression});

    AddPayloadCuts(Rows, Standard);

    TPayloadLayout L;
    const std::string Payload = Standard.Payload({}, &L);
    Rows.push_back({"slot flag 2",
                    [Payload, At = L.SlotFlags[1]](TbsSkinData& D, const TTempDir&) {
                        std::string Bad = Payload;
                        Bad[At] = 2;
                        LoadPayload(D, Bad);
                    },
                    Read});
    for (std::uint32_t BfSize : {20u, std::uint32_t(Payload.size())})
        Rows.push_back({"bfSize " + std::to_string(BfSize),
                        [Standard, BfSize](TbsSkinData& D, const TTempDir&) {
                            LoadPayload(D, Standard.Payload(PictureBfSize(1, BfSize)));
                        },
                        Graphic});
    for (std::int32_t Count : {-1, 1000000})
        Rows.push_back({"active picture count " + std::to_string(Count),
                        [Standard, Count](TbsSkinData& D, const TTempDir&) {
                            LoadPayload(D, Standard.Payload(PictureCount(Count)));
                        },
                        Read});
    Rows.push_back({"a block inflating beyond 64 MiB",
                    [](TbsSkinData& D, const TTempDir&) {
                        LoadFrame(D, FrameAround(ZeroBlock(std::size_t(65) * 1024 * 1024)));
                    },
                    Decompression});

    // Folders.
    auto Folder = [Standard](const std::string& Name, std::function<void(const TTempDir&)> Spoil,
                             TExpected Expected) {
        return TDamage{"folder: " + Name,
                       [Standard, Spoil](TbsSkinData& D, const TTempDir& Dir) {
                           TTempDir Own;
                           const std::string Ini = Standard.WriteFolder(Own.Path());
                           Spoil(Own);
                           D.LoadFromFile(Ini);
                           (void)Dir;
                       },
                       Expected};
    };
    auto EditIni = [](const TTempDir& Dir, const std::string& From, const std::string& To) {
        std::string Text = ReadFileBytes(Dir.File("skin.ini"));
        Text.replace(Text.find(From), From.size(), To);
        WriteFileBytes(Dir.File("skin.ini"), Text);
    };
    Rows.push_back(Folder(
        "a named picture missing", [](const TTempDir& Dir) { DeleteFile(Dir.File("objects.bmp")); },
        FileOpen));
    Rows.push_back(Folder(
        "a picture that is not a BMP",
        [](const TTempDir& Dir) { WriteFileBytes(Dir.File("glyphs.bmp"), "GIF89a"); }, Graphic));
    Rows.push_back(Folder(
        "an empty skinrect",
        [EditIni](const TTempDir& Dir) {
            EditIni(Dir, "[slider]\r\npictureindex=0\r\n", "[slider]\r\nskinrect=\r\n");
        },
        Convert));
    Rows.push_back(Folder(
        "an impossible picture count",
        [EditIni](const TTempDir& Dir) {
            EditIni(Dir, "activepicturescount=4", "activepicturescount=2000000000");
        },
        Convert));
    return Rows;
}

} // namespace

TEST_F(CompressedSkin, ADamagedSkinLeavesTheSkinInUse) {
    TTempDir Dir;
    const TTestSkin First = StandardTestSkin();
    const std::string Ini = First.WriteFolder(Dir.Path());
    TbsSkinData Before(nullptr);
    Before.LoadFromFile(Ini);
    const auto Pixels = PicturePixels(Before);
    TbsSkinData Data(nullptr);
    Data.LoadFromFile(Ini);

    for (const TDamage& Row : DamageRows()) {
        SCOPED_TRACE(Row.Name);
        Log->clear();
        TExpected Got = None;
        try {
            Row.Load(Data, Dir);
        } catch (const std::exception& E) {
            Got = Classify(E);
        }
        EXPECT_EQ(NameOf(Got), std::string(NameOf(Row.Expected)));
        EXPECT_TRUE(Log->empty()) << "a message was sent";
        EXPECT_FALSE(Data.Empty);
        EXPECT_FALSE(Data.ChangeSkinDataProcess);
        const bool Failed = HasFailure();
        ExpectSameSkin(Data, Before);
        EXPECT_EQ(PicturePixels(Data), Pixels);
        if (HasFailure() && !Failed) {
            // Start the next row from the first skin again.
            Data.LoadFromFile(Ini);
        }
    }
}
