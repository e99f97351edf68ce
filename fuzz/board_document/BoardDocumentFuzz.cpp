// The board document reader as File ▸ Openen runs it, on any file. A document that is
// read must hold only what a board can have, and must be writable again: writing it and
// reading it back gives the same document (otherwise a pupil could open a board that can
// never be saved, or saves one that changes on the way).

#include "app/documents/BoardDocument.h"
#include "app/documents/DocumentFile.h"
#include "app/documents/KistError.h"
#include "app/documents/clsKistRWRam.h"
#include "fuzz/support/FuzzTempFile.h"

#include <cstdio>
#include <cstdlib>

namespace {

void Fail(const char* what) {
    std::fprintf(stderr, "board document: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const FuzzTempFile file(".tvb");
    file.Write(data, size);
    BoardDocument document;
    try {
        document = DocumentFile::Load(file.Path());
    } catch (const KistError&) {
        return 0; // refused, as it may be
    }
    if (document.displayValue < 0 || document.displayValue > BoardDocument::kMaxDisplayValue ||
        document.sensor1 < 0 || document.sensor1 > BoardDocument::kMaxSensorMode ||
        document.sensor2 < 0 || document.sensor2 > BoardDocument::kMaxSensorMode ||
        document.pulseGenerator < 0 || document.pulseGenerator > BoardDocument::kMaxKnobSetting ||
        document.comparator < 0 || document.comparator > BoardDocument::kMaxKnobSetting ||
        document.variableVoltage < 0 || document.variableVoltage > BoardDocument::kMaxKnobSetting) {
        Fail("a value out of range was accepted");
    }
    // Every wire takes at least its two string terminators from the file.
    if (document.wires.size() > size / 2) {
        Fail("more wires than the file can hold");
    }
    clsKistRWRam snapshot;
    try {
        document.WriteTo(snapshot);
    } catch (const KistError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        Fail("a document that was read cannot be written");
    }
    snapshot.ResetToStart();
    BoardDocument again;
    try {
        again = BoardDocument::ReadFrom(snapshot);
    } catch (const KistError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        Fail("a written document cannot be read back");
    }
    // A written document always holds its settings.
    document.hasSettings = true;
    if (!(again == document)) {
        Fail("the document changed on its way through a snapshot");
    }
    return 0;
}
