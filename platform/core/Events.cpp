#include "platform/core/Events.h"

#include "platform/core/Exceptions.h"

void RaiseEmptyEventCall() {
    throw EInvalidOperation("An event without a handler was called");
}
