// Events of the class library: TMethod<Signature> holds either an object
// with one of its member functions or any other callable.
//
// Events are compared by identity, because handlers are removed from lists
// and compared with other handlers: an event bound to (object, method)
// equals every other event bound to the same object and method; an event
// made from a lambda or another callable equals only its own copies.
#pragma once

#include <array>
#include <cstring>
#include <functional>
#include <memory>
#include <type_traits>
#include <typeinfo>
#include <utility>

class TObject;

// Raises EInvalidOperation: an empty event was called.
[[noreturn]] void RaiseEmptyEventCall();

template <class Signature> class TMethod;

template <class R, class... Args> class TMethod<R(Args...)> {
public:
    TMethod() = default;
    TMethod(std::nullptr_t) {}

    // Bound to Obj's member function Method (which may belong to a base class).
    template <class T, class M>
    requires std::is_member_function_pointer_v<M> TMethod(T* Obj, M Method)
        : FCall(std::make_shared<const TCall>([Obj, Method](Args... A) -> R {
              return std::invoke(Method, Obj, std::forward<Args>(A)...);
          })),
          FObject(ObjectAddress(Obj)), FMethodType(&typeid(M)) {
        static_assert(sizeof(M) <= sizeof(FMethodBytes), "member pointer too large");
        std::memcpy(FMethodBytes.data(), &Method, sizeof(M));
    }

    // Any callable (lambda, function pointer, functor).
    template <class F>
    requires(!std::is_same_v<std::decay_t<F>, TMethod> &&
             !std::is_same_v<std::decay_t<F>, std::nullptr_t> &&
             std::is_invocable_r_v<R, std::decay_t<F>&, Args...>) TMethod(F&& Callable)
        : FCall(std::make_shared<const TCall>(std::forward<F>(Callable))) {}

    explicit operator bool() const { return FCall != nullptr; }

    // Raises EInvalidOperation when empty; callers test "when assigned" first.
    R operator()(Args... A) const {
        if (!FCall)
            RaiseEmptyEventCall();
        return (*FCall)(std::forward<Args>(A)...);
    }

    // The object a member-function event is bound to, as the address of the
    // most derived object (so a TObject* of the same object, passed through
    // dynamic_cast<const void*>, compares equal); null for other callables.
    const void* Object() const { return FObject; }

    friend bool operator==(const TMethod& A, const TMethod& B) {
        if (A.FMethodType || B.FMethodType)
            return A.FMethodType && B.FMethodType && *A.FMethodType == *B.FMethodType &&
                   A.FObject == B.FObject && A.FMethodBytes == B.FMethodBytes;
        return A.FCall == B.FCall;
    }
    friend bool operator==(const TMethod& A, std::nullptr_t) { return !A.FCall; }

private:
    using TCall = std::function<R(Args...)>;

    template <class T> static const void* ObjectAddress(T* Obj) {
        if constexpr (std::is_polymorphic_v<T>)
            return Obj ? dynamic_cast<const void*>(Obj) : nullptr;
        else
            return Obj;
    }

    // Shared, so that copies of a callable's event keep one identity.
    std::shared_ptr<const TCall> FCall;
    const void* FObject = nullptr;
    const std::type_info* FMethodType = nullptr;
    std::array<unsigned char, 2 * sizeof(void*)> FMethodBytes{};
};

using TNotifyEvent = TMethod<void(TObject* Sender)>;
using TThreadMethod = TMethod<void()>;
