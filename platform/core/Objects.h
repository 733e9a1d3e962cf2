// The class library's object model: TObject, TPersistent and TComponent.
//
// An owner component frees what it owns (last created first), and
// Notification(opRemove) clears references to a component being freed:
// the owner forwards the call to every component it owns.
#pragma once

#include <string>

namespace ostrela {}

// The root of every class-library object. ClassName() is the class's own
// name without namespace, taken from the dynamic type.
class TObject {
public:
    virtual ~TObject() = default;
    virtual std::string ClassName() const;
};
