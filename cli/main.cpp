#include "BatchRun.h"
#include "CheckedOutput.h"
#include "CliOptions.h"
#include "OutcomeText.h"
#include "PipesRun.h"
#include "SingleRun.h"
#include "korvelin/DesignSummary.h"
#include "korvelin/FileName.h"
#include "korvelin/InputSetFile.h"
#include "korvelin/ParseNumber.h"
#include "korvelin/SupportLoads.h"
#include "korvelin/Version.h"

#include <cerrno>
#include <clocale>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>
#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <shellapi.h>
#endif

#include "NoteFiles.h"

using namespace korvelin::cli;

namespace {

BatchOutput BatchOutputOf(const CliOptions& options)
{
    return options.Json ? BatchOutput::Json : options.Report ? BatchOutput::Reports : BatchOutput::Columns;
}

// The coefficient of friction of the options: 0,3 when none was given.
korvelin::FrictionReading ReadFrictionOption(const CliOptions& options, const std::string& separator)
{
    if (!options.Friction) {
        return {korvelin::kDefaultFriction, {}};
    }
    return korvelin::ReadFriction(*options.Friction, separator);
}

int Run(int argc, const char* const* argv)
{
    ParsedCommandLine parsed = ParseCommandLine(argc, argv);
    if (!parsed.Options) {
        std::cerr << "korvelin-calc: " << parsed.Error << " (справка: korvelin-calc --help)\n";
        return 2;
    }
    // The options once more, over the values of the file they name.
    std::optional<korvelin::InputSet> loaded;
    if (!parsed.Options->InputFile.empty() && !parsed.Options->Help && !parsed.Options->Version) {
        korvelin::InputSetReading reading = korvelin::ReadInputSetFile(parsed.Options->InputFile);
        if (!reading.Set) {
            std::cerr << "korvelin-calc: " << reading.Message << '\n';
            return 2;
        }
        loaded = std::move(reading.Set);
        parsed = ParseCommandLine(argc, argv, &*loaded);
    }
    const CliOptions& options = *parsed.Options;
    if (options.Help) {
        std::cout << HelpText();
        return 0;
    }
    if (options.Version) {
        std::cout << "korvelin-calc " << KORVELIN_VERSION << '\n';
        return 0;
    }
    const std::string separator = options.Separator.value_or(LocaleDecimalSeparator());
    // A value that does not read is a mistake in the command, not a calculation to refuse.
    if (!options.Batch) {
        if (const std::string error = UnreadableValueError(options, separator); !error.empty()) {
            std::cerr << "korvelin-calc: " << error << " (справка: korvelin-calc --help)\n";
            return 2;
        }
    }
#ifdef KORVELIN_CALC_PDF
    OffscreenNoteWriter offscreenNotes;
    NoteWriter* notes = &offscreenNotes;
    // A name the note's fonts cannot show is refused before anything is written.
    if (const std::string problem = notes->FieldsProblem(options.Document); !problem.empty()) {
        std::cerr << "korvelin-calc: " << problem << '\n';
        return 2;
    }
#else
    NoteWriter* notes = nullptr;
#endif

    // The sections and temperatures of the compensation as the window reads them.
    const CompensationOptions compensation = ReadCompensationOptions(options, separator);
    if (!compensation.Error.empty()) {
        std::cerr << "korvelin-calc: " << compensation.Error << '\n';
        return 2;
    }
    if (!options.SaveFile.empty()) {
        const std::string failure = korvelin::WriteInputSetFile(
            options.SaveFile, OptionsInputSet(options, loaded ? &*loaded : nullptr, &compensation.Texts));
        if (!failure.empty()) {
            std::cerr << "korvelin-calc: " << failure << '\n';
            return 2;
        }
    }
    if (!options.Batch) {
        // The chosen span and the route length are read as the window reads its page's fields.
        const korvelin::OptionalLength span = korvelin::ReadChosenSpan(options.ChosenSpan, separator);
        const korvelin::OptionalLength route = korvelin::ReadRouteLength(options.RouteLength, separator);
        for (const korvelin::OptionalLength* length : {&span, &route}) {
            if (!length->Ok()) {
                std::cerr << "korvelin-calc: " << length->Error << '\n';
                return 2;
            }
        }
        // The own climatic values and the coefficient of friction as the window reads them.
        const korvelin::OwnClimateReading own = korvelin::ReadOwnClimate(options.OwnClimate, separator);
        const korvelin::FrictionReading friction = ReadFrictionOption(options, separator);
        for (const std::string* error : {&own.Error, &friction.Error}) {
            if (!error->empty()) {
                std::cerr << "korvelin-calc: " << *error << '\n';
                return 2;
            }
        }
        if (notes == nullptr && (!options.PdfFile.empty() || !options.OdtFile.empty())) {
            std::cerr << "korvelin-calc: --pdf и --odt в этой сборке недоступны (она собрана без Qt)\n";
            return 2;
        }
        if (notes == nullptr && !options.DxfFile.empty()) {
            std::cerr << "korvelin-calc: --dxf в этой сборке недоступен (она собрана без Qt)\n";
            return 2;
        }
        if (notes == nullptr && !options.ScheduleFile.empty()) {
            std::cerr << "korvelin-calc: --schedule в этой сборке недоступен (она собрана без Qt)\n";
            return 2;
        }
        const korvelin::SummaryRequest request{.ChosenSpan = span.Value,
                                                .RouteLength = route.Value,
                                                .Friction = friction.Value,
                                                .DecimalSeparator = separator};
        if (options.Pipes) {
            return RunPipes(options, *options.Pipes, request, separator, std::cout, std::cerr, *notes,
                            compensation.Texts);
        }
        return RunSingle(options, request, separator, std::cout, std::cerr, notes, compensation.Texts);
    }
    const korvelin::FrictionReading friction = ReadFrictionOption(options, separator);
    if (!friction.Ok()) {
        std::cerr << "korvelin-calc: " << friction.Error << '\n';
        return 2;
    }
    if (options.BatchFile.empty() || options.BatchFile == "-") {
        return RunBatch(std::cin, std::cout, std::cerr, separator, BatchOutputOf(options), friction.Value);
    }
    std::ifstream file(korvelin::FileSystemPath(options.BatchFile), std::ios::binary);
    if (!file) {
        std::cerr << "korvelin-calc: Не удалось открыть файл «" << options.BatchFile
                  << "»: " << korvelin::SystemErrorText(errno) << ".\n";
        return 2;
    }
    return RunBatch(file, std::cout, std::cerr, separator, BatchOutputOf(options), friction.Value);
}

// The arguments in UTF-8. On Windows they are read from the wide command line, as the C runtime's
// argv holds them in the ANSI code page, which loses every character outside it.
std::vector<std::string> Utf8Arguments([[maybe_unused]] int argc, [[maybe_unused]] char** argv)
{
#ifdef _WIN32
    std::vector<std::string> arguments;
    int count = 0;
    if (wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count)) {
        for (int i = 0; i < count; ++i) {
            arguments.push_back(korvelin::Utf8FromWide(wide[i]));
        }
        ::LocalFree(wide);
    }
    return arguments;
#else
    return std::vector<std::string>(argv, argv + argc);
#endif
}

}  // namespace

// Standard output goes through a buffer that checks every write and the final close, so that a
// full disk is reported instead of an empty table passing for success.
int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");
#ifdef _WIN32
    // The texts are UTF-8: the console shows them as such.
    SetConsoleOutputCP(CP_UTF8);
#endif
    std::ios::sync_with_stdio(false);
    CheckedOutput output(STDOUT_FILENO);
    std::streambuf* const standard = std::cout.rdbuf(&output);
    const std::vector<std::string> arguments = Utf8Arguments(argc, argv);
    std::vector<const char*> pointers;
    for (const std::string& argument : arguments) {
        pointers.push_back(argument.c_str());
    }
    pointers.push_back(nullptr);
    const int status = Run(static_cast<int>(arguments.size()), pointers.data());
    std::cout.rdbuf(standard);
    return FinishOutput(output, std::cerr, status);
}
