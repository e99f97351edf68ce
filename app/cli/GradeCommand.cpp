#include "app/cli/GradeCommand.h"

#include "app/assignments/AssignmentParser.h"
#include "app/assignments/AssignmentRunner.h"
#include "app/cli/CliMain.h"
#include "app/cli/GradeCsv.h"
#include "app/cli/GradeHtml.h"
#include "app/cli/GradeJson.h"
#include "app/cli/GradedBoard.h"
#include "app/cli/HeadlessBoard.h"
#include "app/cli/ModelGradingBoard.h"
#include "platform/files/DurableFile.h"
#include "platform/files/DurableFileError.h"

#include <QBuffer>
#include <QImageWriter>
#include <exception>
#include <optional>

namespace {

/// The board as saved, after the steps --render takes, as PNG bytes; "" when it cannot be
/// drawn.
std::string Picture(HeadlessBoard& board, const BoardDocument& document) {
    board.Show(document);
    board.Run(CliOptions::kDefaultTicks);
    const QImage image = board.Render(GradeCommand::kPictureScale);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !QImageWriter(&buffer, "png").write(image)) {
        return {};
    }
    return bytes.toStdString();
}

/// Writes `text` at `path`; false, with the reason on `err`, when it could not be.
bool Save(const std::string& path, const std::string& text, const char* what, std::ostream& err) {
    try {
        DurableFile::Write(path, text);
        return true;
    } catch (const DurableFileError& e) {
        err << "tavsim: " << what << " kan niet worden bewaard in " << path << ": " << e.Reason()
            << "\n";
        return false;
    }
}

} // namespace

int GradeCommand::Run(const CliOptions& options, std::ostream& out, std::ostream& err) {
    Assignment assignment;
    try {
        assignment = AssignmentParser::Load(options.assignment);
    } catch (const AssignmentError& e) {
        err << "tavsim: " << e.what() << "\n";
        return CliMain::kWrongArguments;
    }
    // Grading runs on the model alone; only the class page's pictures need the window's
    // components to draw them.
    std::optional<HeadlessBoard> drawing;
    if (!options.html.empty()) {
        drawing.emplace();
        try {
            drawing->Start();
        } catch (const std::exception& e) {
            err << "tavsim: " << FORM1::StartFailureText(e) << "\n";
            return CliMain::kNotRead;
        }
    }

    int status = CliMain::kAllRead;
    std::vector<GradedBoard> graded;
    for (const std::string& file : options.files) {
        GradedBoard entry;
        entry.file = file;
        BoardDocument document;
        entry.error = BoardFiles::ReadDocument(file, document);
        if (entry.error.empty()) {
            ModelGradingBoard grading(document);
            entry.result = AssignmentRunner::Grade(assignment, grading);
            for (const BoardDocument::Wire& wire : document.wires) {
                entry.wires.insert(std::minmax(wire.naam1, wire.naam2));
            }
            if (drawing) {
                entry.png = Picture(*drawing, document);
            }
        } else {
            status = CliMain::kNotRead;
        }
        out << GradeJson::Line(entry) << '\n' << std::flush;
        if (!options.csv.empty() || !options.html.empty()) {
            graded.push_back(std::move(entry));
        }
    }
    if (!options.csv.empty() &&
        !Save(options.csv, GradeCsv::Text(assignment, graded), "Het cijferoverzicht", err)) {
        status = CliMain::kNotRead;
    }
    if (!options.html.empty() &&
        !Save(options.html, GradeHtml::Page(assignment, graded), "De klassenpagina", err)) {
        status = CliMain::kNotRead;
    }
    return status;
}
