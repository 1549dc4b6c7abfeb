#pragma once
// The error kinds the system raises. Expected failures are results; these are
// the unexpected ones, and every one of them carries its user-facing message.
#include <stdexcept>
#include <string>

class EHalvoraError : public std::runtime_error {
public:
    explicit EHalvoraError(const std::string& msg) : std::runtime_error(msg) {}
};

// An arithmetic result that does not fit in 32 bits.
class EIntOverflow : public EHalvoraError {
public:
    EIntOverflow() : EHalvoraError("Integer overflow") {}
};

// A text that cannot be converted (a number, a Base64 text).
class EConvertError : public EHalvoraError {
public:
    using EHalvoraError::EHalvoraError;
};

// An index or number outside its range.
class ERangeError : public EHalvoraError {
public:
    ERangeError() : EHalvoraError("Range check error") {}
    explicit ERangeError(const std::string& msg) : EHalvoraError(msg) {}
};

// A file system failure reported to the caller.
class EInOutError : public EHalvoraError {
public:
    using EHalvoraError::EHalvoraError;
};

// A file that could not be written ("Unable to write to %s").
class EIniFileError : public EHalvoraError {
public:
    using EHalvoraError::EHalvoraError;
};

// A tree data file whose indentation cannot be followed.
class ETreeViewError : public EHalvoraError {
public:
    using EHalvoraError::EHalvoraError;
};
