#pragma once
// Failures of the chunk streams. Every one derives from KistError, so a caller that only
// wants to know that a document could not be read or written catches that one type; the
// derived types say which kind of failure it was.

#include <stdexcept>
#include <string>
#include <utility>

/// Base of every failure raised by a chunk stream; what() says what failed and, for files,
/// with which file.
class KistError : public std::runtime_error {
public:
    explicit KistError(const std::string& message) : std::runtime_error(message) {}
};

/// A file could not be opened; the message names the file and the system's reason.
class KistOpenError : public KistError {
public:
    explicit KistOpenError(const std::string& message, std::string reason = {})
        : KistError(message), reason_(std::move(reason)) {}
    /// The system's reason alone, in Dutch ("geen toestemming"); empty when not known.
    const std::string& Reason() const { return reason_; }

private:
    std::string reason_;
};

/// A read needed bytes that the file or buffer does not hold, or the file could not be read.
/// Nothing was invented in their place.
class KistReadError : public KistError {
public:
    using KistError::KistError;
};

/// Bytes could not be written: a failed write, flush or close of a file (for example a full
/// disk), no file open, or a stream grown beyond what a 32-bit length can describe.
class KistWriteError : public KistError {
public:
    using KistError::KistError;
};

/// A chunk was begun with 100 chunks already open, or ended with none open. The stream is
/// left as it was before the call.
class KistNestingError : public KistError {
public:
    using KistError::KistError;
};

/// A string holds a character that has no single-byte Windows-1252 code; the message names
/// the character. Nothing of the string was written.
class KistCharacterError : public KistError {
public:
    using KistError::KistError;
};

/// A string given to be written is not valid UTF-8. Nothing of the string was written.
class KistUtf8Error : public KistError {
public:
    using KistError::KistError;
};
