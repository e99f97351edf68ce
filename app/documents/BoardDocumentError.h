#pragma once
// A board document whose bytes could be read but which holds a value that no board can
// have. Derived from KistError, so that a caller refusing unreadable documents refuses these
// in the same place.

#include "app/documents/KistError.h"

/// The document names a display digit, sensor mode or knob setting outside its range; what()
/// names the field and the value found.
class BoardDocumentError : public KistError {
public:
    using KistError::KistError;
};
