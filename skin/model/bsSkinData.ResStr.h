// The skin library's table of user-interface words: window-menu captions,
// caption-button hints, edit-menu items, dialog labels. Each line is a
// name, "=" and the text; callers ask for a text by name, so a whole
// application can be relabelled by editing the lines.
#pragma once

#include "platform/core/Objects.h"
#include "platform/core/StringLists.h"
#include "platform/gdi/Types.h"

#include <memory>
#include <string>

class TbsResourceStrData : public TComponent {
public:
    // Fills the table with the default words and sets CharSet to DEFAULT_CHARSET.
    explicit TbsResourceStrData(TComponent* AOwner);
    ~TbsResourceStrData() override;

    TStrings* ResStrings() const { return FResStrs.get(); }
    // Copies the lines of Value; the table keeps no link to it.
    void SetResStrings(TStrings* Value);
    TFontCharset CharSet() const { return FCharSet; }
    void SetCharSet(TFontCharset Value) { FCharSet = Value; }

    // The text after the first "=" of the first line whose name equals
    // ResName ignoring ASCII case; "" when there is none.
    std::string GetResStr(const std::string& ResName) const;

private:
    std::unique_ptr<TStringList> FResStrs;
    TFontCharset FCharSet = DEFAULT_CHARSET;
};
