#pragma once
// Board documents on disk: reading one whole, and saving one so that a failed or
// interrupted save never destroys the document that was there.

#include "app/documents/BoardDocument.h"

#include <string>

class DocumentFile {
public:
    /// Reads the document in the file `path` (UTF-8), as File ▸ Openen does. Raises
    /// KistOpenError when it is no readable regular file (pipes and devices are refused, never
    /// waited on), KistReadError when it does not begin with a board document, ends early or
    /// cannot be read, and BoardDocumentError when it holds values no board can have; every
    /// message names the file.
    static BoardDocument Load(const std::string& path);

    /// Writes `document` to `path` (UTF-8) through a new file in the same folder, which then
    /// replaces `path` in one step; an existing file keeps its permissions, and when `path`
    /// is a symbolic link the file it points to is replaced. In a folder that takes no new
    /// files, a writable document is written in place once the room for it is reserved. On
    /// any failure raises a KistError that names `path` (never a temporary file) and the
    /// reason in Dutch: KistOpenError when the save was refused before anything was written
    /// (a read-only document, a pipe or device, no room), KistWriteError otherwise. The file
    /// that was at `path` is then untouched and no temporary file is left behind.
    static void Save(const BoardDocument& document, const std::string& path);
};
