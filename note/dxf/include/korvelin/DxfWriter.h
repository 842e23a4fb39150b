#pragma once

// A drawing for CAD programs as an ASCII DXF of release 12: the header with the units and the
// code page, the tables of line types, layers and text styles, the blocks, the entities. Release 12
// is the version every CAD program reads; its texts are 8-bit, written in Windows-1251 with
// $DWGCODEPAGE ANSI_1251, which Russian CAD programs read, so that Cyrillic stays intact.
// Coordinates are in millimetres ($INSUNITS 4). Numbers are written in the shortest form that
// reads back to the same double, with a full stop whatever the locale.

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace korvelin::dxf {

struct Point {
    double X = 0;  // mm
    double Y = 0;  // mm
};

struct Line {
    Point Start;
    Point End;
};

// A circular arc drawn counter-clockwise from StartAngle to EndAngle, degrees from the +x axis.
struct Arc {
    Point Centre;
    double Radius = 0;
    double StartAngle = 0;
    double EndAngle = 0;
};

struct Circle {
    Point Centre;
    double Radius = 0;
};

// One line of text: At is the left end of its base line, or its middle when Centred.
struct Text {
    Point At;
    double Height = 2.5;  // mm
    std::string Value;    // UTF-8
    double Rotation = 0;  // degrees
    bool Centred = false;
};

// A reference to a block, its base point placed at At.
struct Insert {
    std::string Block;
    Point At;
    double Rotation = 0;  // degrees
};

using Shape = std::variant<Line, Arc, Circle, Text, Insert>;

struct Entity {
    std::string Layer;
    Shape Geometry;
};

struct Layer {
    std::string Name;
    int Colour = 7;  // the ACI colour number: 1 red, 2 yellow, 3 green, 5 blue, 7 black/white
};

// A named group of shapes drawn around its base point (0, 0), on the layer of its references.
struct Block {
    std::string Name;
    std::vector<Entity> Entities;
};

struct Document {
    std::vector<Layer> Layers;
    std::vector<Block> Blocks;
    std::vector<Entity> Entities;
};

// The file's bytes, or the reason it cannot be written (in Russian): a text with a character
// Windows-1251 has no place for or a control character, a name that is empty or holds a character
// a table name may not, a layer or block used but not declared, a number that is not finite.
struct Written {
    std::string Bytes;
    std::string Problem;
    bool Ok() const { return Problem.empty(); }
};
Written WriteDxf(const Document& document);

// UTF-8 to Windows-1251; none when a character has no place in the code page.
std::optional<std::string> ToWindows1251(std::string_view utf8);

}  // namespace korvelin::dxf
