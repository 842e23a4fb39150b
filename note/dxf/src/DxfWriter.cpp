#include "korvelin/DxfWriter.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <set>

namespace korvelin::dxf {
namespace {

// The upper half of Windows-1251 (0x80…0xFF) as Unicode code points; 0 where the code page has
// no character (0x98). The table is the code page's own, as Microsoft publishes it.
constexpr std::array<char32_t, 64> kUpper80 = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0,      0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
};

// The byte of a code point in Windows-1251; none outside it. 0xC0…0xFF are А…я in order.
std::optional<unsigned char> Windows1251Byte(char32_t c)
{
    if (c < 0x80) {
        return static_cast<unsigned char>(c);
    }
    if (c >= 0x0410 && c <= 0x044F) {
        return static_cast<unsigned char>(0xC0 + (c - 0x0410));
    }
    for (std::size_t i = 0; i < kUpper80.size(); ++i) {
        if (kUpper80[i] == c) {
            return static_cast<unsigned char>(0x80 + i);
        }
    }
    return std::nullopt;
}

// The code points of a UTF-8 text; none for bytes that are not UTF-8.
std::optional<std::u32string> CodePoints(std::string_view utf8)
{
    std::u32string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        int extra = 0;
        char32_t c = 0;
        if (lead < 0x80) {
            c = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            c = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            c = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            c = lead & 0x07;
        } else {
            return std::nullopt;
        }
        if (i + static_cast<std::size_t>(extra) >= utf8.size()) {
            return std::nullopt;
        }
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80) {
                return std::nullopt;
            }
            c = (c << 6) | (next & 0x3F);
        }
        // Overlong forms and surrogates are no characters.
        constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
        if (c < kLeast[extra] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
            return std::nullopt;
        }
        out.push_back(c);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

std::string Quoted(std::string_view text)
{
    return "«" + std::string(text) + "»";
}

// The pairs of group code and value, one line each, with the lines ending in CR LF as DXF files
// of the CAD programs do.
class GroupWriter
{
public:
    void Code(int code, std::string_view value)
    {
        std::array<char, 16> digits{};
        const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), code).ptr;
        // Group codes right-aligned in three columns, as release 12 writes them.
        const std::size_t width = static_cast<std::size_t>(end - digits.data());
        Out.append(width < 3 ? 3 - width : 0, ' ');
        Out.append(digits.data(), end);
        Out += "\r\n";
        Out += value;
        Out += "\r\n";
    }

    void Number(int code, double value)
    {
        if (!std::isfinite(value)) {
            Problem = "число " + std::to_string(value) + " нельзя записать в DXF";
            value = 0;
        }
        if (value == 0) {
            value = 0;  // no "-0"
        }
        std::array<char, 64> digits{};
        const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
        std::string text(digits.data(), end);
        // A whole number keeps a decimal point, so that a reader takes it as a real.
        if (text.find_first_of(".e") == std::string::npos) {
            text += ".0";
        }
        Code(code, text);
    }

    void Integer(int code, int value) { Code(code, std::to_string(value)); }

    void Point(int code, dxf::Point point)
    {
        Number(code, point.X);
        Number(code + 10, point.Y);
        Number(code + 20, 0);
    }

    // A text in Windows-1251.
    void Text(int code, std::string_view utf8)
    {
        const std::optional<std::string> bytes = ToWindows1251(utf8);
        if (!bytes) {
            Problem = "текст " + Quoted(utf8) +
                      " нельзя записать в DXF: в кодировке Windows-1251 нет одного из его знаков";
            Code(code, "");
            return;
        }
        if (std::any_of(bytes->begin(), bytes->end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; })) {
            Problem = "текст " + Quoted(utf8) + " нельзя записать в DXF: в нем управляющие знаки";
            Code(code, "");
            return;
        }
        Code(code, *bytes);
    }

    std::string Out;
    std::string Problem;
};

// A name of a table entry (layer, block): letters, digits and "_-$" (Cyrillic letters too), as the
// names of release 12 may be.
bool ValidName(std::string_view name)
{
    const std::optional<std::u32string> points = CodePoints(name);
    if (!points || points->empty() || points->size() > 31) {
        return false;
    }
    return std::all_of(points->begin(), points->end(), [](char32_t c) {
        return (c >= U'0' && c <= U'9') || (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z') ||
               c == U'_' || c == U'-' || c == U'$' || (c >= 0x0410 && c <= 0x044F) || c == 0x0401 ||
               c == 0x0451;
    });
}

// The extents of the entities, which CAD programs take for the sheet to show: a block reference
// by its block's shapes turned and placed, a text by its box (its height across the base line,
// about 0,9 of the height a character along it).
struct Extents {
    double MinX = std::numeric_limits<double>::infinity();
    double MinY = std::numeric_limits<double>::infinity();
    double MaxX = -std::numeric_limits<double>::infinity();
    double MaxY = -std::numeric_limits<double>::infinity();

    void Add(Point p, double margin = 0)
    {
        MinX = std::min(MinX, p.X - margin);
        MinY = std::min(MinY, p.Y - margin);
        MaxX = std::max(MaxX, p.X + margin);
        MaxY = std::max(MaxY, p.Y + margin);
    }
};

// A point of a shape drawn turned by `degrees` about the origin and moved to `at`.
struct Placement {
    Point At;
    double Degrees = 0;
    Point operator()(Point p) const
    {
        if (Degrees == 0) {
            return {At.X + p.X, At.Y + p.Y};
        }
        const double a = Degrees * (3.14159265358979323846 / 180);
        return {At.X + p.X * std::cos(a) - p.Y * std::sin(a), At.Y + p.X * std::sin(a) + p.Y * std::cos(a)};
    }
};

void AddExtents(Extents& extents, const std::vector<Entity>& entities, const std::vector<Block>& blocks,
                const Placement& place, int depth = 0)
{
    for (const Entity& entity : entities) {
        std::visit(
            [&](const auto& shape) {
                using T = std::decay_t<decltype(shape)>;
                if constexpr (std::is_same_v<T, Line>) {
                    extents.Add(place(shape.Start));
                    extents.Add(place(shape.End));
                } else if constexpr (std::is_same_v<T, Arc> || std::is_same_v<T, Circle>) {
                    extents.Add(place(shape.Centre), shape.Radius);
                } else if constexpr (std::is_same_v<T, Text>) {
                    const double characters = static_cast<double>(CodePoints(shape.Value).value_or(U"").size());
                    const double width = 0.9 * shape.Height * characters;
                    const double left = shape.Centred ? -width / 2 : 0;
                    const Placement text{place(shape.At), place.Degrees + shape.Rotation};
                    for (const Point corner : {Point{left, 0}, Point{left + width, 0},
                                               Point{left, shape.Height}, Point{left + width, shape.Height}}) {
                        extents.Add(text(corner));
                    }
                } else {
                    const auto block = std::find_if(blocks.begin(), blocks.end(),
                                                    [&](const Block& b) { return b.Name == shape.Block; });
                    extents.Add(place(shape.At));
                    if (block != blocks.end() && depth < 8) {
                        AddExtents(extents, block->Entities, blocks,
                                   Placement{place(shape.At), place.Degrees + shape.Rotation}, depth + 1);
                    }
                }
            },
            entity.Geometry);
    }
}

Extents ExtentsOf(const Document& document)
{
    Extents extents;
    AddExtents(extents, document.Entities, document.Blocks, Placement{});
    if (!std::isfinite(extents.MinX)) {
        extents = {0, 0, 0, 0};
    }
    return extents;
}

// The head of an entity: its type, its layer, the block it refers to (an INSERT's), and its
// first point.
void BeginEntity(GroupWriter& w, std::string_view type, const Entity& entity, Point first,
                 std::string_view block = {})
{
    w.Code(0, type);
    w.Text(8, entity.Layer);
    if (!block.empty()) {
        w.Text(2, block);
    }
    w.Point(10, first);
}

// A circle's or an arc's radius, and an arc's angles.
void WriteRound(GroupWriter& w, double radius, std::initializer_list<double> angles = {})
{
    w.Number(40, radius);
    int code = 50;
    for (const double angle : angles) {
        w.Number(code++, angle);
    }
}

// A rotation, written only when there is one.
void WriteRotation(GroupWriter& w, double degrees)
{
    if (degrees != 0) {
        w.Number(50, degrees);
    }
}

void WriteEntity(GroupWriter& w, const Entity& entity)
{
    std::visit(
        [&w, &entity](const auto& shape) {
            using T = std::decay_t<decltype(shape)>;
            if constexpr (std::is_same_v<T, Line>) {
                BeginEntity(w, "LINE", entity, shape.Start);
                w.Point(11, shape.End);
            } else if constexpr (std::is_same_v<T, Arc>) {
                BeginEntity(w, "ARC", entity, shape.Centre);
                WriteRound(w, shape.Radius, {shape.StartAngle, shape.EndAngle});
            } else if constexpr (std::is_same_v<T, Circle>) {
                BeginEntity(w, "CIRCLE", entity, shape.Centre);
                WriteRound(w, shape.Radius);
            } else if constexpr (std::is_same_v<T, Text>) {
                BeginEntity(w, "TEXT", entity, shape.At);
                w.Number(40, shape.Height);
                w.Text(1, shape.Value);
                WriteRotation(w, shape.Rotation);
                w.Code(7, "STANDARD");
                if (shape.Centred) {
                    // Centred horizontally on the alignment point, which is then the one that
                    // counts; the insertion point is kept equal to it.
                    w.Code(72, "1");
                    w.Point(11, shape.At);
                }
            } else {
                BeginEntity(w, "INSERT", entity, shape.At, shape.Block);
                WriteRotation(w, shape.Rotation);
            }
        },
        entity.Geometry);
}

void BeginTable(GroupWriter& w, std::string_view name, int entries)
{
    w.Code(0, "TABLE");
    w.Code(2, name);
    w.Integer(70, entries);
}

// Every name the entities use, declared: the problem, or an empty string.
std::string UndeclaredName(const Document& document)
{
    std::set<std::string> layers{"0"};
    for (const Layer& layer : document.Layers) {
        if (!ValidName(layer.Name)) {
            return "имя слоя " + Quoted(layer.Name) + " недопустимо в DXF";
        }
        if (!layers.insert(layer.Name).second && layer.Name != "0") {
            return "слой " + Quoted(layer.Name) + " объявлен дважды";
        }
    }
    std::set<std::string> blocks;
    for (const Block& block : document.Blocks) {
        if (!ValidName(block.Name)) {
            return "имя блока " + Quoted(block.Name) + " недопустимо в DXF";
        }
        if (!blocks.insert(block.Name).second) {
            return "блок " + Quoted(block.Name) + " объявлен дважды";
        }
    }
    auto check = [&](const Entity& entity) -> std::string {
        if (!layers.contains(entity.Layer)) {
            return "слой " + Quoted(entity.Layer) + " не объявлен";
        }
        if (const auto* insert = std::get_if<Insert>(&entity.Geometry); insert && !blocks.contains(insert->Block)) {
            return "блок " + Quoted(insert->Block) + " не объявлен";
        }
        return {};
    };
    for (const Block& block : document.Blocks) {
        for (const Entity& entity : block.Entities) {
            if (std::get_if<Insert>(&entity.Geometry) != nullptr) {
                return "блок " + Quoted(block.Name) + " ссылается на другой блок";
            }
            if (std::string problem = check(entity); !problem.empty()) {
                return problem;
            }
        }
    }
    for (const Entity& entity : document.Entities) {
        if (std::string problem = check(entity); !problem.empty()) {
            return problem;
        }
    }
    return {};
}

}  // namespace

std::optional<std::string> ToWindows1251(std::string_view utf8)
{
    const std::optional<std::u32string> points = CodePoints(utf8);
    if (!points) {
        return std::nullopt;
    }
    std::string out;
    out.reserve(points->size());
    for (const char32_t c : *points) {
        const std::optional<unsigned char> byte = Windows1251Byte(c);
        if (!byte) {
            return std::nullopt;
        }
        out.push_back(static_cast<char>(*byte));
    }
    return out;
}

Written WriteDxf(const Document& document)
{
    Written written;
    if (std::string problem = UndeclaredName(document); !problem.empty()) {
        written.Problem = std::move(problem);
        return written;
    }
    GroupWriter w;
    const Extents extents = ExtentsOf(document);

    w.Code(0, "SECTION");
    w.Code(2, "HEADER");
    w.Code(9, "$ACADVER");
    w.Code(1, "AC1009");
    w.Code(9, "$DWGCODEPAGE");
    w.Code(3, "ANSI_1251");
    w.Code(9, "$INSUNITS");
    w.Integer(70, 4);  // millimetres
    w.Code(9, "$EXTMIN");
    w.Point(10, {extents.MinX, extents.MinY});
    w.Code(9, "$EXTMAX");
    w.Point(10, {extents.MaxX, extents.MaxY});
    w.Code(0, "ENDSEC");

    w.Code(0, "SECTION");
    w.Code(2, "TABLES");
    BeginTable(w, "LTYPE", 1);
    w.Code(0, "LTYPE");
    w.Code(2, "CONTINUOUS");
    w.Integer(70, 0);
    w.Code(3, "Solid line");
    w.Integer(72, 65);
    w.Integer(73, 0);
    w.Number(40, 0);
    w.Code(0, "ENDTAB");
    std::vector<Layer> layers{{"0", 7}};
    for (const Layer& layer : document.Layers) {
        if (layer.Name != "0") {
            layers.push_back(layer);
        }
    }
    BeginTable(w, "LAYER", static_cast<int>(layers.size()));
    for (const Layer& layer : layers) {
        w.Code(0, "LAYER");
        w.Text(2, layer.Name);
        w.Integer(70, 0);
        w.Integer(62, layer.Colour);
        w.Code(6, "CONTINUOUS");
    }
    w.Code(0, "ENDTAB");
    BeginTable(w, "STYLE", 1);
    w.Code(0, "STYLE");
    w.Code(2, "STANDARD");
    w.Integer(70, 0);
    w.Number(40, 0);
    w.Number(41, 1);
    w.Number(50, 0);
    w.Integer(71, 0);
    w.Number(42, 2.5);
    w.Code(3, "txt");
    w.Code(4, "");
    w.Code(0, "ENDTAB");
    w.Code(0, "ENDSEC");

    w.Code(0, "SECTION");
    w.Code(2, "BLOCKS");
    for (const Block& block : document.Blocks) {
        w.Code(0, "BLOCK");
        w.Code(8, "0");
        w.Text(2, block.Name);
        w.Integer(70, 0);
        w.Point(10, {0, 0});
        w.Text(3, block.Name);
        w.Code(1, "");
        for (const Entity& entity : block.Entities) {
            WriteEntity(w, entity);
        }
        w.Code(0, "ENDBLK");
        w.Code(8, "0");
    }
    w.Code(0, "ENDSEC");

    w.Code(0, "SECTION");
    w.Code(2, "ENTITIES");
    for (const Entity& entity : document.Entities) {
        WriteEntity(w, entity);
    }
    w.Code(0, "ENDSEC");
    w.Code(0, "EOF");

    written.Problem = std::move(w.Problem);
    if (written.Ok()) {
        written.Bytes = std::move(w.Out);
    }
    return written;
}

}  // namespace korvelin::dxf
