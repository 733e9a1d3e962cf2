// The class library's exception family, with the library's own texts.
#pragma once

#include "platform/core/Format.h"
#include "platform/core/Objects.h"

#include <exception>
#include <source_location>
#include <string>

class Exception : public TObject, public std::exception {
public:
    explicit Exception(std::string Msg) : FMessage(std::move(Msg)) {}
    Exception(std::string_view Fmt, std::initializer_list<TVarRec> Args)
        : FMessage(Format(Fmt, Args)) {}

    const std::string& Message() const { return FMessage; }
    void SetMessage(std::string Value) { FMessage = std::move(Value); }
    const char* what() const noexcept override { return FMessage.c_str(); }

private:
    std::string FMessage;
};

#define OSTRELA_EXCEPTION(Name, Base)                                                              \
    class Name : public Base {                                                                     \
    public:                                                                                        \
        using Base::Base;                                                                          \
    }

OSTRELA_EXCEPTION(EConvertError, Exception);
OSTRELA_EXCEPTION(EListError, Exception);
OSTRELA_EXCEPTION(EStreamError, Exception);
OSTRELA_EXCEPTION(EReadError, EStreamError);
OSTRELA_EXCEPTION(EWriteError, EStreamError);
OSTRELA_EXCEPTION(EFOpenError, EStreamError);
OSTRELA_EXCEPTION(EFCreateError, EStreamError);
OSTRELA_EXCEPTION(EIniFileException, Exception);
OSTRELA_EXCEPTION(EAssertionFailed, Exception);
OSTRELA_EXCEPTION(EThread, Exception);
OSTRELA_EXCEPTION(EInvalidOperation, Exception);
OSTRELA_EXCEPTION(EMaskException, Exception);
OSTRELA_EXCEPTION(EZlibError, EStreamError);
OSTRELA_EXCEPTION(ECompressionError, EZlibError);
OSTRELA_EXCEPTION(EDecompressionError, EZlibError);
OSTRELA_EXCEPTION(EInvalidPath, Exception);

#undef OSTRELA_EXCEPTION

// A failed folder or file operation; ErrorCode() is the system's error number.
class EInOutError : public Exception {
public:
    explicit EInOutError(int Code);
    EInOutError(std::string Msg, int Code) : Exception(std::move(Msg)), FErrorCode(Code) {}
    int ErrorCode() const { return FErrorCode; }

private:
    int FErrorCode = 0;
};

// The system's text for an error number ("No such file or directory").
std::string SysErrorMessage(int Code);

// Raises EAssertionFailed "<text> (<file>, line <n>)" when Condition is false,
// also in release builds; "Assertion failure" stands for an empty text.
void Assert(bool Condition, std::string_view Text = {},
            std::source_location Where = std::source_location::current());
