// What the catalogue's handlers need of the main window's controls, stated
// as exactly as the handlers rely on it. The order and the moments at which
// OnChange fires are part of each contract: the handlers are written around
// them (a category choice fires its change on every assignment, a parameter
// list only when its text changes).
#pragma once

#include "platform/core/Events.h"

#include <string>
#include <string_view>

// A drop-down of items with a title, a caption and a picture: the category
// list and the profile list.
class IOfficeComboList {
public:
    virtual ~IOfficeComboList() = default;

    // The index last set, -1 for none; it may lie outside the items.
    virtual int ItemIndex() const = 0;
    // Stores the index without a range check, then fires OnChange, on every
    // assignment, also when the index does not change.
    virtual void SetItemIndex(int Value) = 0;
    // Removes every item; fires nothing and keeps ItemIndex as it was.
    virtual void ClearItems() = 0;
    // Appends an item; fires nothing.
    virtual void AddItem(std::string_view Title, std::string_view Caption, int ImageIndex) = 0;
    virtual int ItemCount() const = 0;
    virtual std::string ItemTitle(int Index) const = 0;
    virtual std::string ItemCaption(int Index) const = 0;
    virtual int ItemImageIndex(int Index) const = 0;
    virtual void SetOnChange(TNotifyEvent Value) = 0;
};

// A fixed-style drop-down of texts: the six parameter lists.
class ITextComboList {
public:
    virtual ~ITextComboList() = default;

    // Removes every item and leaves nothing selected; the displayed text
    // stays; fires nothing.
    virtual void ClearItems() = 0;
    // Appends an item; selection and text stay; fires nothing.
    virtual void AddItem(std::string_view Text) = 0;
    // The selected position, -1 for none.
    virtual int ItemIndex() const = 0;
    // Selects item Position and shows its text. OnChange fires only when the
    // displayed text changes, at once, before this returns. A position
    // outside the items selects nothing and leaves the text.
    virtual void SetItemIndex(int Position) = 0;
    // The displayed text: the text of the item selected last.
    virtual std::string Text() const = 0;
    // No event.
    virtual void SetEnabled(bool Value) = 0;
    virtual bool Enabled() const = 0;
    virtual int ItemCount() const = 0;
    virtual std::string Item(int Index) const = 0;
    virtual void SetOnChange(TNotifyEvent Value) = 0;
};

// The job table, as far as the catalogue writes into it: sub-items 0 to 23
// of the selected row.
class IJobRowTable {
public:
    virtual ~IJobRowTable() = default;

    virtual bool HasSelectedRow() const = 0;
    // Sub-item Index (0 .. 23) of the selected row.
    virtual std::string SubItem(int Index) const = 0;
    // Replaces sub-item Index of the selected row.
    virtual void SetSubItem(int Index, std::string_view Text) = 0;
    // Gives the table the input focus.
    virtual void FocusTable() = 0;
};

// Sub-items of a job row that the catalogue reads or writes.
enum TJobSubItem {
    siOutputFileName = 2,
    siProfileCode = 8,
    siParameterCode = 9,
    siVideoCodec = 10,
    siAudioCodec = 11,
    siAudioChannels = 12,
    siVideoTag = 13,
    siFileExt = 14,
    siFrameSize = 15,
    siVideoBitrate = 16,
    siFrameRate = 17,
    siAudioBitrate = 18,
    siAudioSampleRate = 19,
    siFrameAspectRatio = 20,
    siDisableVideo = 21,
    siTargetType = 22,
    siNormType = 23,
};
