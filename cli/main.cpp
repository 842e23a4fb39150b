#include "BatchRun.h"
#include "CheckedOutput.h"
#include "CliOptions.h"
#include "OutcomeText.h"
#include "SingleRun.h"
#include "korvelin/Version.h"

#include <cerrno>
#include <clocale>
#include <cstring>
#include <fstream>
#include <iostream>

#include <unistd.h>

using namespace korvelin::cli;

namespace {

int Run(int argc, char** argv)
{
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

}  // namespace

// Standard output goes through a buffer that checks every write and the final close, so that a
// full disk is reported instead of an empty table passing for success.
int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");
    std::ios::sync_with_stdio(false);
    CheckedOutput output(STDOUT_FILENO);
    std::streambuf* const standard = std::cout.rdbuf(&output);
    const int status = Run(argc, argv);
    std::cout.rdbuf(standard);
    return FinishOutput(output, std::cerr, status);
}
