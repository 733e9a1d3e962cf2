// The exceptions this layer adds to the class library's family.
#pragma once

#include "platform/core/Exceptions.h"

// A picture that cannot be read or written.
class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

// A registered resource that does not exist.
class EResNotFound : public Exception {
public:
    using Exception::Exception;
};
