#pragma once

#include "korvelin/SpanInput.h"

#include <optional>
#include <string>

namespace korvelin::cli {

// What the command line asks for.
struct CliOptions {
    FieldTexts Texts{"89", "3,2", "333", "206", "0,6"};
    SelectorIndexes Indexes;
    std::optional<std::string> Separator;  // the locale's when not given
    bool Report = false;
    bool Json = false;
    bool Help = false;
    bool Version = false;
    bool Batch = false;
    std::string BatchFile;  // empty or "-": standard input
};

struct ParsedCommandLine {
    std::optional<CliOptions> Options;
    std::string Error;  // a usage error when Options is empty
};

ParsedCommandLine ParseCommandLine(int argc, const char* const* argv);

std::string HelpText();

}  // namespace korvelin::cli
