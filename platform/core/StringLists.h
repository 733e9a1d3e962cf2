// String lists of the class library: the abstract TStrings and TStringList.
//
// Each line may carry a TObject* that the list does not own. Names and
// values: a line "name=value" has the name before the first "=" and the
// value after it; a line without "=" has no name. Text() ends every line
// with CR LF; SetText() splits at CR LF, CR and LF.
//
// Files and streams: a UTF-8 or UTF-16 BOM is honoured and dropped when
// reading; text without a BOM is kept byte for byte, invalid UTF-8
// included. Writing gives UTF-8 without a BOM.
#pragma once

#include "platform/core/Events.h"
#include "platform/core/Objects.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TStream;

class TStrings : public TPersistent {
public:
    // The core every list provides.
    virtual int Count() const = 0;
    virtual std::string Strings(int Index) const = 0;
    virtual TObject* Objects(int Index) const {
        (void)Index;
        return nullptr;
    }
    virtual void SetObjects(int Index, TObject* AObject) {
        (void)Index;
        (void)AObject;
    }
    virtual void Insert(int Index, const std::string& S) = 0;
    virtual void Delete(int Index) = 0;
    virtual void Clear() = 0;

    // The default deletes the line and inserts the new one with its object.
    virtual void SetStrings(int Index, const std::string& S);

    // Answer the new line's index.
    virtual int Add(const std::string& S);
    virtual int AddObject(const std::string& S, TObject* AObject);
    virtual void InsertObject(int Index, const std::string& S, TObject* AObject);
    virtual void Exchange(int Index1, int Index2);
    virtual void Move(int CurIndex, int NewIndex);
    void AddStrings(const TStrings* Strings);
    // Lines and objects of another TStrings; OnChange fires once.
    void Assign(TPersistent* Source) override;

    // The first line equal to S (compared by CompareStrings), or -1.
    virtual int IndexOf(const std::string& S) const;
    int IndexOfObject(const TObject* AObject) const;

    char NameValueSeparator() const { return FNameValueSeparator; }
    void SetNameValueSeparator(char Value) { FNameValueSeparator = Value; }
    // The part before the first separator; "" for a line without one.
    std::string Names(int Index) const;
    // The first line whose name equals Name, or -1.
    virtual int IndexOfName(const std::string& Name) const;
    // Everything after the first separator of the named line; "" when missing.
    std::string Values(const std::string& Name) const;
    // Replaces the named line, appends "name=value" when missing, and
    // deletes the line when Value is empty.
    virtual void SetValues(const std::string& Name, const std::string& Value);

    std::string Text() const;
    virtual void SetText(std::string_view Value);

    // Counted; changes are reported when the last update closes.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    // Reads from the stream's position to its end.
    virtual void LoadFromStream(TStream& Stream);
    void LoadFromFile(const std::string& FileName);
    virtual void SaveToStream(TStream& Stream) const;
    void SaveToFile(const std::string& FileName) const;

protected:
    // Answers < 0, 0 or > 0; the default ignores ASCII case.
    virtual int CompareStrings(const std::string& S1, const std::string& S2) const;
    // Called with true when the first update opens, false when the last closes.
    virtual void SetUpdateState(bool Updating) { (void)Updating; }
    [[noreturn]] static void Error(const char* Message, int Index);

private:
    char FNameValueSeparator = '=';
    int FUpdateCount = 0;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList;
// Answers < 0, 0 or > 0 for the lines at Index1 and Index2 of List.
using TStringListSortCompare = std::function<int(TStringList* List, int Index1, int Index2)>;

class TStringList : public TStrings {
public:
    int Count() const override { return static_cast<int>(FList.size()); }
    std::string Strings(int Index) const override;
    TObject* Objects(int Index) const override;
    void SetObjects(int Index, TObject* AObject) override;
    // Raises "Operation not allowed on sorted list" on a sorted list.
    void SetStrings(int Index, const std::string& S) override;
    void Insert(int Index, const std::string& S) override;
    void InsertObject(int Index, const std::string& S, TObject* AObject) override;
    void Delete(int Index) override;
    void Clear() override;
    // On a sorted list the line goes to its place; see Duplicates.
    int AddObject(const std::string& S, TObject* AObject) override;
    void Exchange(int Index1, int Index2) override;
    // Raises "Operation not allowed on sorted list" on a sorted list.
    void Move(int CurIndex, int NewIndex) override;

    int IndexOf(const std::string& S) const override;
    int IndexOfName(const std::string& Name) const override;
    void SetValues(const std::string& Name, const std::string& Value) override;
    void SetText(std::string_view Value) override;

    // Binary search in a sorted list: true when S is there; Index is its
    // index (the first of equals under dupAccept) or where it would go.
    bool Find(const std::string& S, int& Index) const;
    virtual void Sort();
    virtual void CustomSort(const TStringListSortCompare& Compare);

    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    // Applies to sorted lists only.
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
    // False: lines compare ignoring ASCII case, sorted by AnsiCompareText.
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool Value);

    // Around every change while no update is open.
    TNotifyEvent OnChanging;
    TNotifyEvent OnChange;

protected:
    int CompareStrings(const std::string& S1, const std::string& S2) const override;
    void SetUpdateState(bool Updating) override;
    virtual void Changing();
    virtual void Changed();

private:
    struct TStringItem {
        std::string FString;
        TObject* FObject = nullptr;
    };

    const TStringItem& Item(int Index) const;
    void InsertItem(int Index, std::string S, TObject* AObject);

    std::vector<TStringItem> FList;
    bool FSorted = false;
    TDuplicates FDuplicates = dupIgnore;
    bool FCaseSensitive = false;
};
