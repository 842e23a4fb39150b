#pragma once

// The section as a plane frame for the direct stiffness method: its nodes (the fixed supports, the
// sliding supports and guides, the corners and the tangent points of the bends) in order along the
// pipe, and between each two of them a straight piece or an arc. Private to the compensation
// library.

#include "korvelin/Compensation.h"

#include <array>
#include <cstddef>
#include <vector>

namespace korvelin::frame {

using Real = long double;
using Vec3 = std::array<Real, 3>;
using Mat3 = std::array<Vec3, 3>;

struct Point {
    Real X = 0;
    Real Y = 0;
};

// cos θ and sin θ by the quadrant and a Taylor series of the rest (|rest| ≤ π/4), in extended
// precision, without the processor's transcendental instructions.
struct CosSin {
    Real Cos = 1;
    Real Sin = 0;
};
CosSin CosSinOf(Real theta);

struct Piece {
    bool Arc = false;
    // An arc: the points C + R·(cos θ, sin θ) for θ from Theta0 to Theta1 (counterclockwise when
    // Theta1 > Theta0).
    Point Centre;
    Real Radius = 0;
    Real Theta0 = 0;
    Real Theta1 = 0;
};

struct Node {
    Point P;
    Real Chainage = 0;      // m along the typed legs from A
    int Support = -1;       // the index of its support, or −1
    int Corner = -1;        // the corner (between legs c and c + 1) whose middle it is, or −1
};

struct Frame {
    std::vector<Node> Nodes;    // A first, B last
    std::vector<Piece> Pieces;  // Pieces[i] joins Nodes[i] and Nodes[i + 1]
    std::vector<std::size_t> CornerNodes;
    std::vector<Real> LegStarts;  // the chainage of each leg's start
    Real TangentLength = 0;       // R
    Real BendFlexibility = 1;     // K
};

// The point of the pipe's axis at chainage c along the typed legs: on a leg's straight part, or on
// a bend, whose tangent length R maps to half its arc.
Point PointAt(const CompensationSection& section, Real chainage);

Frame BuildFrame(const CompensationSection& section, const std::vector<SupportPlace>& supports,
                 double flexibility);

// ∫ (mᵢ·mⱼ·K/(E·I) + nᵢ·nⱼ/(E·A)) ds over the piece for the unit loads Fx, Fy, M at the point Q,
// with m the moment of the load about the point of the piece and n its component along the pipe.
Mat3 PieceFlexibility(const Piece& piece, const Point& start, const Point& end, const Point& load,
                      Real bendFlexibility, Real bendingStiffness, Real axialStiffness);

// One temperature change solved along its path.
struct PathSolution {
    std::vector<Vec3> Movement;  // per node: ux, uy (m), rotation
    std::vector<Vec3> Loads;     // per node: what the supports exert on the pipe (N, N, N·m)
    std::vector<bool> Slides;    // per support
    int Steps = 0;
};

// The section heated or cooled by dt from the closing temperature, with friction μ·V at the
// supports (μ = 0: no friction), the guides holding the pipe across their legs.
PathSolution SolvePath(const Frame& frame, const CompensationSection& section,
                       const std::vector<SupportPlace>& supports, const TubeSection& tube,
                       Real friction, Real dt);

}  // namespace korvelin::frame
