#pragma once
// Why a durable save failed. The file that was there is then as it was before the save.

#include <stdexcept>
#include <string>
#include <utility>

class DurableFileError : public std::runtime_error {
public:
    /// Refused: nothing was written (the target is no regular file, may not be written, or no
    /// file can be made beside it). Failed: writing began and did not finish.
    enum class Stage { Refused, Failed };

    DurableFileError(Stage stage, const std::string& path, std::string reason, int error)
        : std::runtime_error("\"" + path + "\" kan niet worden bewaard: " + reason), stage_(stage),
          reason_(std::move(reason)), error_(error) {}

    Stage WhichStage() const { return stage_; }
    /// The reason alone, in Dutch, without the file's name ("de schijf is vol").
    const std::string& Reason() const { return reason_; }
    /// The system's error number behind it; 0 when the refusal is our own.
    int Error() const { return error_; }

private:
    Stage stage_;
    std::string reason_;
    int error_;
};
