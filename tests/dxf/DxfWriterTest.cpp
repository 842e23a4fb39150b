#include "korvelin/DxfWriter.h"

#include "EzdxfReader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iconv.h>
#include <map>
#include <numbers>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace korvelin::dxf {
namespace {

// Windows-1251 to UTF-8 by the C library's converter: a reader that is not the writer's table.
std::string FromWindows1251(const std::string& bytes)
{
    iconv_t cd = iconv_open("UTF-8", "CP1251");
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
    std::string in = bytes;
    std::string out(in.size() * 4 + 4, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = out.size();
    const std::size_t converted = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    EXPECT_NE(converted, static_cast<std::size_t>(-1)) << bytes;
    out.resize(out.size() - outLeft);
    return out;
}

// A file read back as its pairs of group code and value.
struct Pair {
    int Code;
    std::string Value;
};

std::vector<Pair> ReadPairs(const std::string& bytes)
{
    std::vector<Pair> pairs;
    std::istringstream in(bytes);
    std::string code;
    std::string value;
    while (std::getline(in, code) && std::getline(in, value)) {
        EXPECT_EQ(code.back(), '\r');
        EXPECT_EQ(value.back(), '\r');
        code.pop_back();
        value.pop_back();
        pairs.push_back({std::stoi(code), value});
    }
    return pairs;
}

// The entities of a section ("ENTITIES" or a block's), each as its group codes.
using Groups = std::multimap<int, std::string>;
struct ReadEntity {
    std::string Type;
    Groups Values;
    double Number(int code) const { return std::strtod(Values.find(code)->second.c_str(), nullptr); }
    std::string Text(int code) const { return FromWindows1251(Values.find(code)->second); }
};

std::vector<ReadEntity> EntitiesOf(const std::vector<Pair>& pairs, const std::string& section)
{
    std::vector<ReadEntity> entities;
    bool inside = false;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const Pair& p = pairs[i];
        if (p.Code == 0 && p.Value == "SECTION") {
            inside = pairs[i + 1].Value == section;
            continue;
        }
        if (!inside) {
            continue;
        }
        if (p.Code == 0) {
            if (p.Value == "ENDSEC") {
                break;
            }
            entities.push_back({p.Value, {}});
        } else if (!entities.empty()) {
            entities.back().Values.emplace(p.Code, p.Value);
        }
    }
    return entities;
}

// A route of two legs, 20 m along +x and 8 m along +y, with a bend of R = 500 mm between them,
// a fixed support at each end and sliding supports between, each with its number, and the legs'
// lengths as texts.
Document SampleRoute()
{
    const double R = 500;
    Document d;
    d.Layers = {{"ОСЬ", 1}, {"ОПОРЫ", 5}, {"РАЗМЕРЫ", 3}, {"ТЕКСТ", 7}};
    d.Blocks = {
        {"НЕПОДВИЖНАЯ", {{"0", Line{{-150, -150}, {150, 150}}}, {"0", Line{{-150, 150}, {150, -150}}}, {"0", Circle{{0, 0}, 150}}}},
        {"СКОЛЬЗЯЩАЯ", {{"0", Line{{-150, -100}, {150, -100}}}, {"0", Circle{{0, 0}, 100}}}},
        {"НАПРАВЛЯЮЩАЯ", {{"0", Line{{-150, -100}, {150, -100}}}, {"0", Line{{-150, 100}, {150, 100}}}}},
    };
    d.Entities = {
        {"ОСЬ", Line{{0, 0}, {20000 - R, 0}}},
        {"ОСЬ", Arc{{20000 - R, R}, R, 270, 360}},
        {"ОСЬ", Line{{20000, R}, {20000, 8000}}},
        {"ОПОРЫ", Insert{"НЕПОДВИЖНАЯ", {0, 0}}},
        {"ОПОРЫ", Insert{"СКОЛЬЗЯЩАЯ", {6000, 0}}},
        {"ОПОРЫ", Insert{"СКОЛЬЗЯЩАЯ", {12000, 0}}},
        {"ОПОРЫ", Insert{"НАПРАВЛЯЮЩАЯ", {20000, 4000}, 90}},
        {"ОПОРЫ", Insert{"НЕПОДВИЖНАЯ", {20000, 8000}}},
        {"ТЕКСТ", Text{{0, 300}, 250, "1"}},
        {"ТЕКСТ", Text{{6000, 300}, 250, "2"}},
        {"ТЕКСТ", Text{{12000, 300}, 250, "3"}},
        {"ТЕКСТ", Text{{20300, 4000}, 250, "4"}},
        {"ТЕКСТ", Text{{20300, 8000}, 250, "5"}},
        {"РАЗМЕРЫ", Text{{10000, -600}, 250, "20 000"}},
        {"РАЗМЕРЫ", Text{{20600, 4000}, 250, "8 000", 90}},
        {"ТЕКСТ", Text{{0, -1500}, 350, "Опора №1 — неподвижная; Ёлки «ёж», t = ±50°"}},
    };
    return d;
}

TEST(DxfWriter, RouteReadsBackWithItsLayersBlocksAndAxis)
{
    const Written written = WriteDxf(SampleRoute());
    ASSERT_TRUE(written.Ok()) << written.Problem;
    const std::vector<Pair> pairs = ReadPairs(written.Bytes);
    ASSERT_GE(pairs.size(), 2u);
    EXPECT_EQ(pairs.back().Value, "EOF");

    // The header: release 12, Windows-1251, millimetres, the extents of the drawing.
    std::map<std::string, std::vector<std::string>> header;
    std::string variable;
    for (std::size_t i = 0; i < pairs.size() && pairs[i].Value != "ENDSEC"; ++i) {
        if (pairs[i].Code == 9) {
            variable = pairs[i].Value;
        } else if (!variable.empty()) {
            header[variable].push_back(pairs[i].Value);
        }
    }
    EXPECT_EQ(header["$ACADVER"], std::vector<std::string>{"AC1009"});
    EXPECT_EQ(header["$DWGCODEPAGE"], std::vector<std::string>{"ANSI_1251"});
    EXPECT_EQ(header["$INSUNITS"], std::vector<std::string>{"4"});
    // The extents hold what is drawn, not only the points entities are placed at: the fixed
    // support's circle at the start (x −150), the top of the number 5 (8000 + 250), the turned
    // text "8 000" (its height to the left of x 20600), the long text's base line (y −1500).
    EXPECT_EQ(header["$EXTMIN"], (std::vector<std::string>{"-150.0", "-1500.0", "0.0"}));
    EXPECT_EQ(header["$EXTMAX"], (std::vector<std::string>{"20600.0", "8250.0", "0.0"}));

    // The tables: the layers declared (the layer "0" first), the blocks with their names intact.
    std::vector<std::string> layers;
    for (const ReadEntity& e : EntitiesOf(pairs, "TABLES")) {
        if (e.Type == "LAYER") {
            layers.push_back(e.Text(2));
        }
    }
    EXPECT_EQ(layers, (std::vector<std::string>{"0", "ОСЬ", "ОПОРЫ", "РАЗМЕРЫ", "ТЕКСТ"}));
    std::vector<std::string> blocks;
    int blockEntities = 0;
    for (const ReadEntity& e : EntitiesOf(pairs, "BLOCKS")) {
        if (e.Type == "BLOCK") {
            blocks.push_back(e.Text(2));
        } else if (e.Type != "ENDBLK") {
            ++blockEntities;
        }
    }
    EXPECT_EQ(blocks, (std::vector<std::string>{"НЕПОДВИЖНАЯ", "СКОЛЬЗЯЩАЯ", "НАПРАВЛЯЮЩАЯ"}));
    EXPECT_EQ(blockEntities, 7);

    // The entities: the axis as lines and an arc, whose length is the legs' less what the bend
    // cuts off: 20 + 8 m − (2 − π/2)·R.
    std::map<std::string, int> count;
    double axis = 0;
    std::vector<std::string> numbers;
    std::vector<std::pair<std::string, double>> inserts;
    for (const ReadEntity& e : EntitiesOf(pairs, "ENTITIES")) {
        ++count[e.Type + "@" + e.Text(8)];
        if (e.Type == "LINE") {
            axis += std::hypot(e.Number(11) - e.Number(10), e.Number(21) - e.Number(20));
        } else if (e.Type == "ARC") {
            axis += e.Number(40) * (e.Number(51) - e.Number(50)) * std::numbers::pi / 180;
        } else if (e.Type == "INSERT") {
            inserts.emplace_back(e.Text(2), e.Values.contains(50) ? e.Number(50) : 0.0);
        } else if (e.Type == "TEXT" && e.Text(8) == "ТЕКСТ") {
            numbers.push_back(e.Text(1));
        }
    }
    EXPECT_NEAR(axis, 28000 - (2 - std::numbers::pi / 2) * 500, 1e-9);
    EXPECT_EQ(count, (std::map<std::string, int>{{"LINE@ОСЬ", 2}, {"ARC@ОСЬ", 1}, {"INSERT@ОПОРЫ", 5},
                                                  {"TEXT@ТЕКСТ", 6}, {"TEXT@РАЗМЕРЫ", 2}}));
    EXPECT_EQ(numbers, (std::vector<std::string>{"1", "2", "3", "4", "5",
                                                 "Опора №1 — неподвижная; Ёлки «ёж», t = ±50°"}));
    ASSERT_EQ(inserts.size(), 5u);
    EXPECT_EQ(inserts[3], (std::pair<std::string, double>{"НАПРАВЛЯЮЩАЯ", 90.0}));
    EXPECT_EQ(inserts[4].first, "НЕПОДВИЖНАЯ");
}

// Every number is written so that it reads back to the same double, with a full stop.
TEST(DxfWriter, NumbersReadBackExactly)
{
    const double values[] = {0.1, 1.0 / 3, 2.5e-7, 123456789.125, -0.0, -17.75, 1e22};
    for (const double value : values) {
        Document d;
        d.Entities = {{"0", Circle{{value, -value}, 1}}};
        const Written written = WriteDxf(d);
        ASSERT_TRUE(written.Ok());
        const ReadEntity circle = EntitiesOf(ReadPairs(written.Bytes), "ENTITIES").at(0);
        EXPECT_EQ(circle.Number(10), value);
        EXPECT_EQ(circle.Number(20), -value);
        EXPECT_EQ(circle.Values.find(10)->second.find(','), std::string::npos);
        EXPECT_NE(circle.Values.find(10)->second.find_first_of(".e"), std::string::npos);
        EXPECT_NE(circle.Values.find(10)->second, "-0.0");
    }
}

TEST(DxfWriter, WhatCannotBeWrittenIsNamed)
{
    struct Case {
        const char* Name;
        void (*Change)(Document&);
        const char* Problem;
    };
    const Case cases[] = {
        {"undeclared layer", [](Document& d) { d.Entities.push_back({"ОСИ", Line{}}); }, "слой «ОСИ» не объявлен"},
        {"undeclared block", [](Document& d) { d.Entities.push_back({"ОПОРЫ", Insert{"ОПОРА", {}}}); }, "блок «ОПОРА» не объявлен"},
        {"blank in a layer", [](Document& d) { d.Layers.push_back({"ОСЬ ТРАССЫ"}); }, "имя слоя «ОСЬ ТРАССЫ» недопустимо в DXF"},
        {"empty block name", [](Document& d) { d.Blocks.push_back({"", {}}); }, "имя блока «» недопустимо в DXF"},
        {"layer twice", [](Document& d) { d.Layers.push_back({"ОСЬ"}); }, "слой «ОСЬ» объявлен дважды"},
        {"block in a block", [](Document& d) { d.Blocks[0].Entities.push_back({"0", Insert{"СКОЛЬЗЯЩАЯ", {}}}); },
         "блок «НЕПОДВИЖНАЯ» ссылается на другой блок"},
        {"character outside the code page", [](Document& d) { d.Entities.push_back({"ТЕКСТ", Text{{}, 1, "σ = 12 МПа"}}); },
         "текст «σ = 12 МПа» нельзя записать в DXF: в кодировке Windows-1251 нет одного из его знаков"},
        {"line end in a text", [](Document& d) { d.Entities.push_back({"ТЕКСТ", Text{{}, 1, "Опора\n1"}}); },
         "текст «Опора\n1» нельзя записать в DXF: в нем управляющие знаки"},
        {"not a number", [](Document& d) { d.Entities.push_back({"ОСЬ", Line{{0, NAN}, {1, 1}}}); },
         "число nan нельзя записать в DXF"},
    };
    for (const Case& c : cases) {
        Document d = SampleRoute();
        c.Change(d);
        const Written written = WriteDxf(d);
        EXPECT_EQ(written.Problem, c.Problem) << c.Name;
        EXPECT_TRUE(written.Bytes.empty()) << c.Name;
    }
}

// The writer's code page against the C library's: every character of the upper half goes to the
// byte the library reads back as that character; what the code page lacks is refused.
TEST(DxfWriter, Windows1251AgreesWithTheSystemConverter)
{
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        if (byte == 0x98) {
            continue;  // no character in the code page
        }
        const std::string raw(1, static_cast<char>(byte));
        const std::string utf8 = FromWindows1251(raw);
        EXPECT_EQ(ToWindows1251(utf8), raw) << std::hex << byte;
    }
    EXPECT_EQ(ToWindows1251("abc 123"), "abc 123");
    for (const char* refused : {"σ", "€€\xe2", "\xc0\xaf", "\xed\xa0\x80", "Ω", "😀"}) {
        EXPECT_EQ(ToWindows1251(refused), std::nullopt) << refused;
    }
}

// An independent reader: the DXF library of Debian's python3-ezdxf opens the file, its audit finds
// no error, and it sees the layers (besides "Defpoints", which it adds itself), the blocks and the
// Cyrillic texts as written.
TEST(DxfWriter, IndependentReaderAuditsNoError)
{
    if (const auto missing = test::EzdxfMissing()) {
        GTEST_SKIP() << *missing;
    }
    const Written written = WriteDxf(SampleRoute());
    ASSERT_TRUE(written.Ok());
    const std::vector<std::string> lines = test::RunEzdxf(written.Bytes, "трасса.dxf", R"(import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
msp = doc.modelspace()
lines = [str(len(auditor.errors)), doc.dxfversion, doc.encoding,
         ",".join(sorted(layer.dxf.name for layer in doc.layers if layer.dxf.name != "Defpoints")),
         ",".join(sorted(b.name for b in doc.blocks if not b.name.startswith("*"))),
         str(len(msp.query("INSERT"))), str(len(msp.query("ARC"))),
         [t.dxf.text for t in msp.query("TEXT")][-1]]
sys.stdout.buffer.write("\n".join(lines).encode("utf-8"))
)");
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0], "0");  // audit errors
    EXPECT_EQ(lines[1], "AC1009");
    EXPECT_EQ(lines[2], "cp1251");
    EXPECT_EQ(lines[3], "0,ОПОРЫ,ОСЬ,РАЗМЕРЫ,ТЕКСТ");
    EXPECT_EQ(lines[4], "НАПРАВЛЯЮЩАЯ,НЕПОДВИЖНАЯ,СКОЛЬЗЯЩАЯ");
    EXPECT_EQ(lines[5], "5");
    EXPECT_EQ(lines[6], "1");
    EXPECT_EQ(lines[7], "Опора №1 — неподвижная; Ёлки «ёж», t = ±50°");
}

}  // namespace
}  // namespace korvelin::dxf
