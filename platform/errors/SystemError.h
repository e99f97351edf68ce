#pragma once
// Why a file operation failed, said in Dutch for the messages the user reads. The system's
// own texts are English and depend on the C library; these do not.

#include <string>

class SystemError {
public:
    /// A short Dutch reason for the error number `error` ("geen toestemming", "de schijf is
    /// vol", ...); for a number without its own text, a general reason with the number.
    static std::string Reason(int error);
};
