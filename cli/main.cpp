#include "BatchRun.h"
#include "CheckedOutput.h"
#include "CliOptions.h"
#include "OutcomeText.h"
#include "SingleRun.h"
#include "korvelin/DesignSummary.h"
#include "korvelin/InputSetFile.h"
#include "korvelin/Version.h"

#include <cerrno>
#include <clocale>
#include <cstring>
#include <fstream>
#include <iostream>

#include <unistd.h>
#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

#ifdef KORVELIN_CALC_PDF
#include "PdfNote.h"
#endif

using namespace korvelin::cli;

namespace {

BatchOutput BatchOutputOf(const CliOptions& options)
{
    return options.Json ? BatchOutput::Json : options.Report ? BatchOutput::Reports : BatchOutput::Columns;
}

int Run(int argc, char** argv)
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

    if (!options.SaveFile.empty()) {
        const std::string failure = korvelin::WriteInputSetFile(
            options.SaveFile, OptionsInputSet(options, loaded ? &*loaded : nullptr));
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
        PdfWriter writePdf;
#ifdef KORVELIN_CALC_PDF
        writePdf = WritePdfNoteOffscreen;
#else
        if (!options.PdfFile.empty()) {
            std::cerr << "korvelin-calc: --pdf в этой сборке недоступен (она собрана без Qt)\n";
            return 2;
        }
#endif
        return RunSingle(options, {.ChosenSpan = span.Value, .RouteLength = route.Value}, separator,
                         std::cout, std::cerr, writePdf);
    }
    if (options.BatchFile.empty() || options.BatchFile == "-") {
        return RunBatch(std::cin, std::cout, std::cerr, separator, BatchOutputOf(options));
    }
    std::ifstream file(options.BatchFile, std::ios::binary);
    if (!file) {
        std::cerr << "korvelin-calc: Не удалось открыть файл «" << options.BatchFile
                  << "»: " << korvelin::SystemErrorText(errno) << ".\n";
        return 2;
    }
    return RunBatch(file, std::cout, std::cerr, separator, BatchOutputOf(options));
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
    const int status = Run(argc, argv);
    std::cout.rdbuf(standard);
    return FinishOutput(output, std::cerr, status);
}
