// The kind words of the skin's element lists: SKINCONTROLS and SKINOBJECTS
// hold entries "IDName:kind", and the kind word chooses the element class.
#pragma once

#include "platform/core/IniFiles.h"
#include "skin/model/bsSkinData.Controls.h"
#include "skin/model/bsSkinData.Objects.h"

#include <memory>
#include <string>

// A new control element of the kind Kind (exact, case-sensitive), or none
// when Kind names no control kind.
std::unique_ptr<TbsDataSkinControl> CreateSkinControl(const std::string& Kind,
                                                      const std::string& IDName);
// A new frame object of the kind Kind, or none when Kind names no object kind.
std::unique_ptr<TbsDataSkinObject> CreateSkinObject(const std::string& Kind,
                                                    const std::string& IDName);

// The kind word the writer gives an element: that of the first kind, in the
// writer's order, whose class the element is an instance of, so a derived
// kind wins over its base; "" when none fits.
std::string SkinControlKind(const TbsDataSkinControl& Control);
std::string SkinObjectKind(const TbsDataSkinObject& Object);

// Splits "name:kind" at its first ':'; without a ':' both stay empty.
void SplitSkinEntry(const std::string& Entry, std::string& IDName, std::string& Kind);

// True when VERSION, PICTURES, FORMINFO, SKINOBJECTS and SKINCONTROLS all
// hold at least one key.
bool IsSkinIniComplete(TCustomIniFile& IniFile);
