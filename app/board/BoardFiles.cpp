#include "app/board/BoardFiles.h"

#include "app/board/FORM1.h"
#include "app/board/modMain.h"
#include "app/components/clsVoltControl.h"
#include "app/documents/DocumentFile.h"
#include "app/documents/DocumentPaths.h"
#include "app/documents/KistError.h"
#include "platform/ui/Prompter.h"

#include <cstdio>
#include <exception>

namespace {

constexpr const char* kErrorTitle = "Fout";

void TellError(const std::string& text) {
    Prompter::Current().Message(text, kErrorTitle, Prompter::Buttons::Ok, Prompter::Icon::Error);
}

} // namespace

std::string BoardFiles::MissingFileText(const std::string& path) {
    return "Te openen bestand " + path + " bestaat niet.";
}

std::string BoardFiles::UnreadableFileText(const std::string& path, const std::string& reason) {
    return "Het bestand " + path + " kan niet worden geopend: " +
           (reason.empty() ? std::string("het is beschadigd of onleesbaar") : reason) + ".";
}

std::string BoardFiles::UnreadableFileText(const std::string& path, const std::exception& error) {
    const auto* open = dynamic_cast<const KistOpenError*>(&error);
    return UnreadableFileText(path, open != nullptr ? open->Reason() : std::string());
}

std::string BoardFiles::WithExtension(const std::string& path) {
    const std::string title = modMain::FileTitle(path);
    const std::size_t dot = title.rfind('.');
    if (dot != std::string::npos && dot > 0 && dot + 1 < title.size()) {
        return path;
    }
    if (dot != std::string::npos && dot + 1 == title.size()) {
        // "board." names no extension; the dot is not doubled.
        return path.substr(0, path.size() - 1) + kExtension;
    }
    return path + kExtension;
}

std::string BoardFiles::ReadDocument(const std::string& path, BoardDocument& document) {
    if (!DocumentPaths::FileExists(path)) {
        return MissingFileText(path);
    }
    try {
        document = DocumentFile::Load(path);
    } catch (const std::exception& error) {
        return UnreadableFileText(path, error);
    }
    return {};
}

bool BoardFiles::OpenBoard(const std::string& path) {
    BoardDocument document;
    try {
        document = DocumentFile::Load(path);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tavsim: %s\n", error.what());
        TellError(UnreadableFileText(path, error));
        return false;
    }
    if (clsVoltControl* knob = form_.Knob()) {
        knob->Hide();
    }
    form_.Apply(document);
    currentPath_ = path;
    dialogFileName_ = path;
    form_.ShowDocument(currentPath_);
    form_.StartNewHistory();
    return true;
}

void BoardFiles::New() {
    form_.ClearWires();
    for (std::size_t k = 0; k < 2; ++k) {
        form_.Model().SetSensor(k, 0);
        form_.Model().SetPushButton(k, false);
    }
    form_.SetComparatorValue(0);
    form_.SetVariableVoltage(0);
    form_.SetPulseGeneratorSetting(0);
    currentPath_.clear();
    form_.Knob()->Hide();
    form_.ShowDocument(currentPath_);
    form_.StartNewHistory();
}

void BoardFiles::Open() {
    const std::optional<std::string> chosen =
        Prompter::Current().OpenFileName({"Openen", kFilter, dialogFileName_});
    if (!chosen || chosen->empty()) {
        return;
    }
    OpenBoard(*chosen);
}

bool BoardFiles::Save() {
    if (currentPath_.empty()) {
        return SaveAs();
    }
    return SaveTo(currentPath_);
}

bool BoardFiles::SaveAs() {
    const std::optional<std::string> chosen =
        Prompter::Current().SaveFileName({"Bewaren als", kFilter, dialogFileName_});
    if (!chosen || chosen->empty()) {
        return false;
    }
    const std::string path = WithExtension(*chosen);
    // The dialog asked about replacing the name chosen, not about the one with ".tvb" added.
    if (path != *chosen && DocumentPaths::FileExists(path) &&
        Prompter::Current().Message("Het bestand " + path + " bestaat al. Vervangen?",
                                    "Bewaren als", Prompter::Buttons::YesNo,
                                    Prompter::Icon::Question) != Prompter::Answer::Yes) {
        return false;
    }
    if (!SaveTo(path)) {
        return false;
    }
    currentPath_ = path;
    dialogFileName_ = path;
    form_.ShowDocument(currentPath_);
    return true;
}

bool BoardFiles::SaveTo(const std::string& path) {
    try {
        DocumentFile::Save(form_.Snapshot(), path);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tavsim: %s\n", error.what());
        // The reason names the board: "\"PAD\" kan niet worden bewaard: de schijf is vol".
        TellError(error.what());
        return false;
    }
    form_.MarkSaved();
    return true;
}

void BoardFiles::OpenCommandLine(std::string_view commandLine) {
    if (commandLine.empty()) {
        return;
    }
    const std::string path = DocumentPaths::CommandLinePath(commandLine);
    if (modMain::FileExists(path)) {
        dialogFileName_ = path;
        OpenBoard(path);
    } else {
        TellError(MissingFileText(path));
    }
}
