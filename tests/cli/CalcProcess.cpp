#include "CalcProcess.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace calc {

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

Result Calc(const std::string& arguments, const std::string& input)
{
    const auto dir = std::filesystem::temp_directory_path() /
                     ("korvelin-cli-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto in = dir / "in.txt";
    const auto out = dir / "out.txt";
    const auto err = dir / "err.txt";
    std::ofstream(in, std::ios::binary) << input;
    // No display, as on a build server: --pdf starts Qt's offscreen platform itself.
    const std::string command = std::string("env -u DISPLAY -u WAYLAND_DISPLAY LC_ALL=C '") + KORVELIN_CALC + "' " +
                                arguments + " <'" + in.string() + "' >'" + out.string() + "' 2>'" + err.string() +
                                "'";
    Result result;
    const int raw = std::system(command.c_str());
    result.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.Out = ReadFile(out);
    result.Err = ReadFile(err);
    return result;
}

}  // namespace calc
