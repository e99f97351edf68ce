#include "app/documents/DocumentFile.h"

#include "app/documents/BoardDocumentError.h"
#include "app/documents/DocumentPaths.h"
#include "app/documents/KistError.h"
#include "app/documents/clsKistRFile.h"
#include "app/documents/clsKistRWRam.h"
#include "platform/files/DurableFile.h"
#include "platform/files/DurableFileError.h"

namespace {

// The whole document as bytes, made in memory by the same writer the undo history uses.
std::string DocumentBytes(const BoardDocument& document) {
    clsKistRWRam ram;
    document.WriteTo(ram);
    const auto& buffer = ram.Buffer();
    return std::string(buffer.begin(), buffer.begin() + ram.Pos());
}

} // namespace

BoardDocument DocumentFile::Load(const std::string& path) {
    // Only a regular file can hold a document; opening a pipe or device could block or never
    // end.
    if (const std::string why = DocumentPaths::WhyNotReadable(path); !why.empty()) {
        throw KistOpenError("\"" + path + "\" kan niet worden geopend: " + why, why);
    }
    clsKistRFile file;
    file.OpenFile(path);
    try {
        // Anything that does not begin as a board document is refused, so that opening a
        // wrong file cannot empty the board and then be overwritten by the next save.
        if (file.PeekChunkType() != BoardDocument::kDocumentChunk) {
            throw KistReadError("het is geen borddocument");
        }
        return BoardDocument::ReadFrom(file);
    } catch (const BoardDocumentError& e) {
        throw BoardDocumentError("\"" + path + "\" kan niet worden geopend: " + e.what());
    } catch (const KistError& e) {
        throw KistReadError("\"" + path + "\" kan niet worden gelezen: " + e.what());
    }
}

void DocumentFile::Save(const BoardDocument& document, const std::string& path) {
    std::string bytes;
    try {
        bytes = DocumentBytes(document);
    } catch (const KistError& e) {
        throw KistWriteError("\"" + path + "\" kan niet worden bewaard: " + e.what());
    }
    try {
        DurableFile::Write(path, bytes);
    } catch (const DurableFileError& e) {
        if (e.WhichStage() == DurableFileError::Stage::Refused) {
            throw KistOpenError(e.what(), e.Reason());
        }
        throw KistWriteError(e.what());
    }
}
