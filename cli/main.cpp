#include "BatchRun.h"
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

#ifdef KORVELIN_CALC_PDF
#include "PdfNote.h"
#endif

using namespace korvelin::cli;

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");
    std::ios::sync_with_stdio(false);

    ParsedCommandLine parsed = ParseCommandLine(argc, argv);
    if (!parsed.Options) {
        std::cerr << "korvelin-calc: " << parsed.Error << "\nTry 'korvelin-calc --help'.\n";
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
            std::cerr << "korvelin-calc: --pdf is not available in this build (built without Qt)\n";
            return 2;
        }
#endif
        return RunSingle(options, {.ChosenSpan = span.Value, .RouteLength = route.Value}, separator,
                         std::cout, std::cerr, writePdf);
    }
    if (options.BatchFile.empty() || options.BatchFile == "-") {
        return RunBatch(std::cin, std::cout, std::cerr, separator, options.Report);
    }
    std::ifstream file(options.BatchFile, std::ios::binary);
    if (!file) {
        std::cerr << "korvelin-calc: cannot open file '" << options.BatchFile
                  << "': " << std::strerror(errno) << '\n';
        return 2;
    }
    return RunBatch(file, std::cout, std::cerr, separator, options.Report);
}
