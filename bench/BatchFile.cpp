#include "BatchFile.h"

#include <fstream>

std::filesystem::path MakeBatchFile(std::size_t lines, const char* name)
{
    const auto path = std::filesystem::temp_directory_path() / name;
    std::ofstream out(path, std::ios::binary);
    out << "diameter;wall;ultimate;yield;pressure;height;snow;wind;ice;spans;slope\n";
    for (std::size_t i = 0; i < lines; ++i) {
        out << 57 + i % 250 << ";" << 3 + i % 4 << ",5;333;206;0," << 1 + i % 9 << ';' << i % 3
            << ';' << i % 8 << ';' << i % 8 << ';' << i % 5 << ';' << i % 7 << ';' << i % 11
            << '\n';
    }
    return path;
}
