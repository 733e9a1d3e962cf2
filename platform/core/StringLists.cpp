#include "platform/core/StringLists.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Streams.h"
#include "platform/core/Strings.h"

#include <algorithm>
#include <numeric>

namespace {

const char* const SListIndexError = "List index out of bounds (%d)";
const char* const SSortedListError = "Operation not allowed on sorted list";
const char* const SDuplicateString = "String list does not allow duplicates";

// Calls AddLine for every line of Text: lines end at CR LF, a lone CR or a
// lone LF; a final break does not start another line.
template <class F> void SplitLines(std::string_view Text, F&& AddLine) {
    std::size_t Start = 0;
    const std::size_t Size = Text.size();
    while (Start < Size) {
        std::size_t End = Text.find_first_of("\r\n", Start);
        if (End == std::string_view::npos) {
            AddLine(Text.substr(Start));
            return;
        }
        AddLine(Text.substr(Start, End - Start));
        Start = End + 1;
        if (Text[End] == '\r' && Start < Size && Text[Start] == '\n')
            ++Start;
    }
}

std::string ReadToEnd(TStream& Stream) {
    std::int64_t Expected = Stream.Size() - Stream.Position();
    std::string Bytes;
    if (Expected > 0)
        Bytes.resize(static_cast<std::size_t>(Expected));
    std::size_t Done = 0;
    while (Done < Bytes.size()) {
        std::int64_t Got =
            Stream.Read(Bytes.data() + Done, static_cast<std::int64_t>(Bytes.size() - Done));
        if (Got <= 0)
            break;
        Done += static_cast<std::size_t>(Got);
    }
    // A stream that shrank meanwhile gives what it still had.
    Bytes.resize(Done);
    return Bytes;
}

} // namespace

// ---------------------------------------------------------------------------
// TStrings

void TStrings::Error(const char* Message, int Index) {
    throw EListError(Message, {Index});
}

void TStrings::SetStrings(int Index, const std::string& S) {
    TObject* AObject = Objects(Index);
    BeginUpdate();
    try {
        Delete(Index);
        InsertObject(Index, S, AObject);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

int TStrings::Add(const std::string& S) {
    return AddObject(S, nullptr);
}

int TStrings::AddObject(const std::string& S, TObject* AObject) {
    int Index = Count();
    InsertObject(Index, S, AObject);
    return Index;
}

void TStrings::InsertObject(int Index, const std::string& S, TObject* AObject) {
    Insert(Index, S);
    SetObjects(Index, AObject);
}

void TStrings::Exchange(int Index1, int Index2) {
    BeginUpdate();
    try {
        std::string S1 = Strings(Index1);
        TObject* O1 = Objects(Index1);
        SetStrings(Index1, Strings(Index2));
        SetObjects(Index1, Objects(Index2));
        SetStrings(Index2, S1);
        SetObjects(Index2, O1);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex)
        return;
    if (NewIndex < 0 || NewIndex >= Count())
        Error(SListIndexError, NewIndex);
    BeginUpdate();
    try {
        std::string S = Strings(CurIndex);
        TObject* AObject = Objects(CurIndex);
        Delete(CurIndex);
        InsertObject(NewIndex, S, AObject);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::AddStrings(const TStrings* Strings) {
    if (!Strings)
        return;
    BeginUpdate();
    try {
        for (int I = 0; I < Strings->Count(); ++I)
            AddObject(Strings->Strings(I), Strings->Objects(I));
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::Assign(TPersistent* Source) {
    auto* Other = dynamic_cast<TStrings*>(Source);
    if (!Other) {
        TPersistent::Assign(Source);
        return;
    }
    if (Other == this)
        return;
    BeginUpdate();
    try {
        Clear();
        AddStrings(Other);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

int TStrings::IndexOf(const std::string& S) const {
    for (int I = 0; I < Count(); ++I)
        if (CompareStrings(Strings(I), S) == 0)
            return I;
    return -1;
}

int TStrings::IndexOfObject(const TObject* AObject) const {
    for (int I = 0; I < Count(); ++I)
        if (Objects(I) == AObject)
            return I;
    return -1;
}

std::string TStrings::Names(int Index) const {
    std::string S = Strings(Index);
    std::size_t P = S.find(FNameValueSeparator);
    return P == std::string::npos ? std::string() : S.substr(0, P);
}

int TStrings::IndexOfName(const std::string& Name) const {
    for (int I = 0; I < Count(); ++I) {
        std::string S = Strings(I);
        std::size_t P = S.find(FNameValueSeparator);
        if (P != std::string::npos && CompareStrings(S.substr(0, P), Name) == 0)
            return I;
    }
    return -1;
}

std::string TStrings::Values(const std::string& Name) const {
    int Index = IndexOfName(Name);
    if (Index < 0)
        return {};
    std::string S = Strings(Index);
    return S.substr(S.find(FNameValueSeparator) + 1);
}

void TStrings::SetValues(const std::string& Name, const std::string& Value) {
    int Index = IndexOfName(Name);
    if (Value.empty()) {
        if (Index >= 0)
            Delete(Index);
        return;
    }
    std::string Line = Name + FNameValueSeparator + Value;
    if (Index < 0)
        Add(Line);
    else
        SetStrings(Index, Line);
}

std::string TStrings::Text() const {
    std::string Result;
    for (int I = 0; I < Count(); ++I) {
        Result += Strings(I);
        Result += "\r\n";
    }
    return Result;
}

void TStrings::SetText(std::string_view Value) {
    BeginUpdate();
    try {
        Clear();
        SplitLines(Value, [this](std::string_view Line) { Add(std::string(Line)); });
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::BeginUpdate() {
    if (FUpdateCount == 0)
        SetUpdateState(true);
    ++FUpdateCount;
}

void TStrings::EndUpdate() {
    if (FUpdateCount == 0)
        return;
    if (--FUpdateCount == 0)
        SetUpdateState(false);
}

void TStrings::LoadFromStream(TStream& Stream) {
    SetText(DecodeTextFileBytes(ReadToEnd(Stream)));
}

void TStrings::LoadFromFile(const std::string& FileName) {
    TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(Stream);
}

void TStrings::SaveToStream(TStream& Stream) const {
    std::string S = Text();
    Stream.WriteBuffer(S.data(), static_cast<std::int64_t>(S.size()));
}

void TStrings::SaveToFile(const std::string& FileName) const {
    TStringStream stream;
    SaveToStream(stream);
    const int error = ReplaceFileContent(FileName, stream.DataString());
    if (error != 0)
        RaiseFileCreateError(FileName, error);
}

int TStrings::CompareStrings(const std::string& S1, const std::string& S2) const {
    return AnsiCompareText(S1, S2);
}

// ---------------------------------------------------------------------------
// TStringList

const TStringList::TStringItem& TStringList::Item(int Index) const {
    if (Index < 0 || Index >= Count())
        Error(SListIndexError, Index);
    return FList[static_cast<std::size_t>(Index)];
}

std::string TStringList::Strings(int Index) const {
    return Item(Index).FString;
}

TObject* TStringList::Objects(int Index) const {
    return Item(Index).FObject;
}

void TStringList::SetObjects(int Index, TObject* AObject) {
    Item(Index);
    Changing();
    FList[static_cast<std::size_t>(Index)].FObject = AObject;
    Changed();
}

void TStringList::SetStrings(int Index, const std::string& S) {
    if (FSorted)
        Error(SSortedListError, 0);
    Item(Index);
    Changing();
    FList[static_cast<std::size_t>(Index)].FString = S;
    Changed();
}

void TStringList::Insert(int Index, const std::string& S) {
    InsertObject(Index, S, nullptr);
}

void TStringList::InsertObject(int Index, const std::string& S, TObject* AObject) {
    if (FSorted)
        Error(SSortedListError, 0);
    if (Index < 0 || Index > Count())
        Error(SListIndexError, Index);
    InsertItem(Index, S, AObject);
}

void TStringList::InsertItem(int Index, std::string S, TObject* AObject) {
    Changing();
    FList.insert(FList.begin() + Index, TStringItem{std::move(S), AObject});
    Changed();
}

void TStringList::Delete(int Index) {
    Item(Index);
    Changing();
    FList.erase(FList.begin() + Index);
    Changed();
}

void TStringList::Clear() {
    if (FList.empty())
        return;
    Changing();
    FList.clear();
    Changed();
}

int TStringList::AddObject(const std::string& S, TObject* AObject) {
    int Index = Count();
    if (FSorted && Find(S, Index)) {
        if (FDuplicates == dupIgnore)
            return Index;
        if (FDuplicates == dupError)
            Error(SDuplicateString, 0);
    }
    InsertItem(Index, S, AObject);
    return Index;
}

void TStringList::Move(int CurIndex, int NewIndex) {
    // Refused before the line leaves: it could not come back at NewIndex.
    if (FSorted && CurIndex != NewIndex)
        Error(SSortedListError, 0);
    TStrings::Move(CurIndex, NewIndex);
}

void TStringList::Exchange(int Index1, int Index2) {
    Item(Index1);
    Item(Index2);
    Changing();
    std::swap(FList[static_cast<std::size_t>(Index1)], FList[static_cast<std::size_t>(Index2)]);
    Changed();
}

int TStringList::IndexOf(const std::string& S) const {
    if (FSorted) {
        int Index = 0;
        return Find(S, Index) ? Index : -1;
    }
    for (std::size_t I = 0; I < FList.size(); ++I)
        if (CompareStrings(FList[I].FString, S) == 0)
            return static_cast<int>(I);
    return -1;
}

int TStringList::IndexOfName(const std::string& Name) const {
    const char Separator = NameValueSeparator();
    for (std::size_t I = 0; I < FList.size(); ++I) {
        std::string_view S = FList[I].FString;
        std::size_t P = S.find(Separator);
        if (P == std::string_view::npos)
            continue;
        std::string_view LineName = S.substr(0, P);
        if ((FCaseSensitive ? CompareStr(LineName, Name) : AnsiCompareText(LineName, Name)) == 0)
            return static_cast<int>(I);
    }
    return -1;
}

void TStringList::SetValues(const std::string& Name, const std::string& Value) {
    int Index = IndexOfName(Name);
    if (!FSorted || Index < 0 || Value.empty()) {
        TStrings::SetValues(Name, Value);
        return;
    }
    // A sorted list cannot change a line in place: the new line may belong
    // elsewhere, so it leaves and comes back at its place with its object.
    TObject* AObject = FList[static_cast<std::size_t>(Index)].FObject;
    BeginUpdate();
    try {
        Delete(Index);
        AddObject(Name + NameValueSeparator() + Value, AObject);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStringList::SetText(std::string_view Value) {
    if (FSorted) {
        TStrings::SetText(Value);
        return;
    }
    std::vector<TStringItem> Lines;
    SplitLines(Value, [&Lines](std::string_view Line) {
        Lines.push_back(TStringItem{std::string(Line), nullptr});
    });
    BeginUpdate();
    FList = std::move(Lines);
    EndUpdate();
}

bool TStringList::Find(const std::string& S, int& Index) const {
    bool Found = false;
    int L = 0;
    int H = Count() - 1;
    while (L <= H) {
        int I = L + (H - L) / 2;
        int C = CompareStrings(FList[static_cast<std::size_t>(I)].FString, S);
        if (C < 0) {
            L = I + 1;
        } else {
            H = I - 1;
            if (C == 0) {
                Found = true;
                if (FDuplicates != dupAccept)
                    L = I;
            }
        }
    }
    Index = L;
    return Found;
}

void TStringList::Sort() {
    if (Count() < 2)
        return;
    Changing();
    std::stable_sort(FList.begin(), FList.end(),
                     [this](const TStringItem& A, const TStringItem& B) {
                         return CompareStrings(A.FString, B.FString) < 0;
                     });
    Changed();
}

void TStringList::CustomSort(const TStringListSortCompare& Compare) {
    if (Count() < 2)
        return;
    // The list stays as it is while the order is worked out, so Compare
    // always sees the lines at the indexes it is given.
    std::vector<int> Order(FList.size());
    std::iota(Order.begin(), Order.end(), 0);
    std::stable_sort(Order.begin(), Order.end(),
                     [&](int A, int B) { return Compare(this, A, B) < 0; });
    // Announced before the lines move, so a handler that refuses the change
    // finds them all in place.
    Changing();
    std::vector<TStringItem> Sorted;
    Sorted.reserve(FList.size());
    for (int I : Order)
        Sorted.push_back(std::move(FList[static_cast<std::size_t>(I)]));
    FList = std::move(Sorted);
    Changed();
}

void TStringList::SetSorted(bool Value) {
    if (Value == FSorted)
        return;
    if (Value)
        Sort();
    FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
    if (Value == FCaseSensitive)
        return;
    FCaseSensitive = Value;
    if (FSorted)
        Sort();
}

int TStringList::CompareStrings(const std::string& S1, const std::string& S2) const {
    return FCaseSensitive ? CompareStr(S1, S2) : AnsiCompareText(S1, S2);
}

void TStringList::SetUpdateState(bool Updating) {
    if (Updating)
        Changing();
    else
        Changed();
}

void TStringList::Changing() {
    if (UpdateCount() == 0 && OnChanging)
        OnChanging(this);
}

void TStringList::Changed() {
    if (UpdateCount() == 0 && OnChange)
        OnChange(this);
}
