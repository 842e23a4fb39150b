#include "BatchRun.h"
#include "CliOptions.h"
#include "OutcomeText.h"
#include "SingleRun.h"
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

    const ParsedCommandLine parsed = ParseCommandLine(argc, argv);
    if (!parsed.Options) {
        std::cerr << "korvelin-calc: " << parsed.Error << "\nTry 'korvelin-calc --help'.\n";
        return 2;
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
