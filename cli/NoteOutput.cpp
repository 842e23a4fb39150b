#include "NoteOutput.h"

#include "korvelin/Version.h"

#include <ctime>

namespace korvelin::cli {

std::string NowText()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char text[32] = {};
    std::strftime(text, sizeof text, "%d.%m.%Y %H:%M", &local);
    return text;
}

NoteInputs NoteInputsOf(const CliOptions& options, std::string_view separator)
{
    NoteInputs inputs;
    inputs.Texts = options.Texts;
    inputs.Selectors = options.Indexes;
    inputs.SteelGrade = options.SteelGrade;
    inputs.DecimalSeparator = separator;
    inputs.DateTime = NowText();
    inputs.Program = "Korvelin " KORVELIN_VERSION;
    inputs.OwnClimate = options.OwnClimate;
    inputs.Document = options.Document;
    return inputs;
}

std::string WriteNoteFiles(const CliOptions& options, NoteWriter& notes,
                           const std::function<NoteDocument(bool framed)>& build)
{
    // The PDF and the ODT alike in the frame when the fields ask for it.
    const NoteDocument note = build(FrameWanted(options.Document));
    for (const bool pdf : {true, false}) {
        const std::string& path = pdf ? options.PdfFile : options.OdtFile;
        if (path.empty()) {
            continue;
        }
        const std::string failure = pdf ? notes.WritePdf(note, path) : notes.WriteOdt(note, path);
        if (!failure.empty()) {
            return failure;
        }
    }
    return {};
}

}  // namespace korvelin::cli
