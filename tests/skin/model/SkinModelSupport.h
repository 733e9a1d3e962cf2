// Helpers shared by the skin model's tests: in-memory ini texts, section
// lines, and one handle over every element kind and record so that tables of
// cases can load and save them alike.
#pragma once

#include "platform/core/IniFiles.h"
#include "skin/model/bsSkinData.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// An in-memory ini object holding Text.
std::unique_ptr<TMemIniFile> MakeIni(const std::string& Text);
// The "key=value" lines of Section in the order the ini object holds them.
std::vector<std::string> SectionLines(TCustomIniFile& IniFile, const std::string& Section);

// A control element ("control.<kind>"), a frame object ("object.<kind>") or
// a record (its section name), made fresh, with its section name.
struct TSkinItem {
    std::string Section;
    std::function<void(TCustomIniFile&)> Load;
    std::function<void(TCustomIniFile&)> Save;
    std::function<void(TbsIniKeyVisitor&)> Visit;
    std::shared_ptr<void> Holder;
};
TSkinItem MakeSkinItem(const std::string& Name);

// Every item name: 28 control kinds, 8 object kinds, 4 records.
const std::vector<std::string>& AllSkinItemNames();

// The sections of the hand-written defaults fixture, as "key=value" lines.
std::vector<std::string> FixtureSection(const std::string& Section);
