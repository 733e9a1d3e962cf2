#include "platform/core/Objects.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

std::string TObject::ClassName() const {
    const char* mangled = typeid(*this).name();
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> demangled(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), &std::free);
    std::string name = (status == 0 && demangled) ? demangled.get() : mangled;
    // Drop namespaces and template arguments' scopes: "a::b::TFoo" gives "TFoo".
    auto angle = name.find('<');
    auto colon = name.rfind("::", angle);
    if (colon != std::string::npos)
        name.erase(0, colon + 2);
    return name;
}
