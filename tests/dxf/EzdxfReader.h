#pragma once

// The independent reader of the written DXF files: a Python script run with Debian's python3-ezdxf
// on the bytes written, its standard output read back line by line.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace korvelin::test {

// Whether the reader can run; otherwise why not, for GTEST_SKIP.
inline std::optional<std::string> EzdxfMissing()
{
#ifndef KORVELIN_PYTHON3
    return "python3 not found";
#else
    if (std::system(KORVELIN_PYTHON3 " -c 'import ezdxf' 2>/dev/null") != 0) {
        return "python3-ezdxf is not installed (tools/install-deps)";
    }
    return std::nullopt;
#endif
}

// Writes `bytes` to a file named `fileName` in a folder of its own, runs `script` with the file's
// path as its argument, and returns the lines it printed; a failed run fails the test and returns
// no lines.
inline std::vector<std::string> RunEzdxf(std::string_view bytes, std::string_view fileName, std::string_view script)
{
    std::vector<std::string> lines;
#ifdef KORVELIN_PYTHON3
    const auto dir = std::filesystem::temp_directory_path() / ("korvelin-ezdxf-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto file = dir / std::string(fileName);  // UTF-8 bytes, as Linux keeps names
    std::ofstream(file, std::ios::binary) << bytes;
    const auto program = dir / "read.py";
    std::ofstream(program) << script;
    const auto out = dir / "out.txt";
    const int status = std::system((std::string(KORVELIN_PYTHON3) + " '" + program.string() + "' '" +
                                    file.string() + "' > '" + out.string() + "' 2>&1")
                                       .c_str());
    std::ifstream in(out);
    if (status != 0) {
        ADD_FAILURE() << std::string(std::istreambuf_iterator<char>(in), {});
    } else {
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
    }
    in.close();
    std::filesystem::remove_all(dir);
#endif
    return lines;
}

}  // namespace korvelin::test
