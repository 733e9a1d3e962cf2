// The skin model: the value forms of skin ini texts, the element classes of
// every control and frame-object kind, the four single records, the kind
// words of the element lists, the table of user-interface words, the skin
// data component with its folder format, and compressed and stored skins.
#pragma once

#include "skin/model/bsSkinData.Component.h"
#include "skin/model/bsSkinData.Controls.h"
#include "skin/model/bsSkinData.IniValues.h"
#include "skin/model/bsSkinData.Kinds.h"
#include "skin/model/bsSkinData.Objects.h"
#include "skin/model/bsSkinData.Records.h"
#include "skin/model/bsSkinData.ResStr.h"
#include "skin/model/bsSkinData.Stored.h"
