// A C locale whose decimal mark is ",", for tests that show that numbers are
// written and read the same under every locale. An installed German or
// French locale is used when there is one; otherwise one is compiled once
// with localedef (Debian's "locales" data) into a folder of its own, which
// LOCPATH then names.
#pragma once

#include <string>

class TCommaNumericLocale {
public:
    // Switches LC_NUMERIC to a decimal-comma locale when one can be had.
    TCommaNumericLocale();
    // Puts LC_NUMERIC back.
    ~TCommaNumericLocale();
    TCommaNumericLocale(const TCommaNumericLocale&) = delete;
    TCommaNumericLocale& operator=(const TCommaNumericLocale&) = delete;

    // Whether LC_NUMERIC has a decimal comma now.
    bool Active() const { return FActive; }

private:
    std::string FSaved;
    bool FActive = false;
};
