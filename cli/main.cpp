#include "BatchRun.h"
#include "CliOptions.h"
#include "OutcomeText.h"
#include "SingleRun.h"
#include "korvelin/InputSetFile.h"
#include "korvelin/Version.h"

#include <cerrno>
#include <clocale>
#include <cstring>
#include <fstream>
#include <iostream>

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
        return RunSingle(options, separator, std::cout, std::cerr);
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
