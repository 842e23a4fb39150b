#include "SectionFrame.h"

#include "korvelin/CondensateDeflection.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

namespace korvelin::frame {
namespace {

constexpr Real kPi = std::numbers::pi_v<Real>;
constexpr Real kHalfPi = kPi / 2;
constexpr Real kQuarterPi = kPi / 4;
// Two stations nearer than this along the route are one node, m.
constexpr Real kSameStation = 1e-7L;

Mat3 Zero3() { return {}; }

Mat3 Transposed(const Mat3& a)
{
    Mat3 t{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            t[i][j] = a[j][i];
        }
    }
    return t;
}

Mat3 Product(const Mat3& a, const Mat3& b)
{
    Mat3 c{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            for (int k = 0; k < 3; ++k) {
                c[i][j] += a[i][k] * b[k][j];
            }
        }
    }
    return c;
}

Vec3 Product(const Mat3& a, const Vec3& v)
{
    Vec3 r{};
    for (int i = 0; i < 3; ++i) {
        for (int k = 0; k < 3; ++k) {
            r[i] += a[i][k] * v[k];
        }
    }
    return r;
}

// The inverse of a 3×3 matrix by Gauss–Jordan elimination with partial pivoting.
Mat3 Inverse(Mat3 a)
{
    Mat3 inv{};
    for (int i = 0; i < 3; ++i) {
        inv[i][i] = 1;
    }
    for (int column = 0; column < 3; ++column) {
        int pivot = column;
        for (int row = column + 1; row < 3; ++row) {
            if (std::fabs(a[row][column]) > std::fabs(a[pivot][column])) {
                pivot = row;
            }
        }
        std::swap(a[pivot], a[column]);
        std::swap(inv[pivot], inv[column]);
        const Real p = a[column][column];
        for (int j = 0; j < 3; ++j) {
            a[column][j] /= p;
            inv[column][j] /= p;
        }
        for (int row = 0; row < 3; ++row) {
            if (row == column) {
                continue;
            }
            const Real factor = a[row][column];
            for (int j = 0; j < 3; ++j) {
                a[row][j] -= factor * a[column][j];
                inv[row][j] -= factor * inv[column][j];
            }
        }
    }
    return inv;
}

// ∫ f·g dθ over [lo, hi] for f = a + b·cos θ + c·sin θ and g alike, in closed form.
Real TrigProductIntegral(const Vec3& f, const Vec3& g, Real lo, Real hi)
{
    const CosSin s0 = CosSinOf(lo);
    const CosSin s1 = CosSinOf(hi);
    const Real span = hi - lo;
    const Real ic = s1.Sin - s0.Sin;
    const Real is = s0.Cos - s1.Cos;
    const Real mixed = (s1.Sin * s1.Cos - s0.Sin * s0.Cos) / 2;
    const Real icc = span / 2 + mixed;
    const Real iss = span / 2 - mixed;
    const Real isc = (s1.Sin * s1.Sin - s0.Sin * s0.Sin) / 2;
    return f[0] * g[0] * span + (f[0] * g[1] + f[1] * g[0]) * ic + (f[0] * g[2] + f[2] * g[0]) * is +
           f[1] * g[1] * icc + f[2] * g[2] * iss + (f[1] * g[2] + f[2] * g[1]) * isc;
}

struct Geometry {
    std::vector<SectionPoint> Corners;  // SectionNodes
    std::vector<LegDirection> Directions;
    std::vector<Real> LegStarts;
    Real Radius = 0;
};

Geometry GeometryOf(const CompensationSection& section)
{
    Geometry g;
    g.Corners = SectionNodes(section);
    g.Directions = SectionDirections(section);
    Real chainage = 0;
    for (const double length : section.Legs) {
        g.LegStarts.push_back(chainage);
        chainage += length;
    }
    g.LegStarts.push_back(chainage);
    g.Radius = section.BendRadius;
    return g;
}

int Quarter(const LegDirection& d)
{
    return d.Cos == 1 ? 0 : d.Sin == 1 ? 1 : d.Cos == -1 ? 2 : 3;
}

struct Arc {
    Point Centre;
    Real Theta0 = 0;  // at the tangent point on the leg before
    Real Sign = 1;    // +1 for a left turn (counterclockwise), −1 for a right one
};

Arc ArcOf(const Geometry& g, std::size_t corner)
{
    const LegDirection& d1 = g.Directions[corner];
    const LegDirection& d2 = g.Directions[corner + 1];
    const SectionPoint& p = g.Corners[corner + 1];
    Arc arc;
    arc.Centre = {p.X - g.Radius * d1.Cos + g.Radius * d2.Cos, p.Y - g.Radius * d1.Sin + g.Radius * d2.Sin};
    const bool left = d1.Cos * d2.Sin - d1.Sin * d2.Cos > 0;
    arc.Sign = left ? 1 : -1;
    arc.Theta0 = Quarter(d1) * kHalfPi - arc.Sign * kHalfPi;
    return arc;
}

// The corner whose bend holds the chainage strictly inside its arc, or none.
std::optional<std::size_t> BendAt(const Geometry& g, Real chainage)
{
    if (!(g.Radius > 0)) {
        return std::nullopt;
    }
    for (std::size_t c = 0; c + 2 < g.LegStarts.size(); ++c) {
        const Real middle = g.LegStarts[c + 1];
        if (chainage > middle - g.Radius && chainage < middle + g.Radius) {
            return c;
        }
    }
    return std::nullopt;
}

// The polar angle on the arc of the corner for a chainage within R of its intersection: the
// tangent length R on either side maps to half the arc.
Real ArcAngle(const Geometry& g, std::size_t corner, Real chainage)
{
    const Arc arc = ArcOf(g, corner);
    const Real phi = kQuarterPi + (chainage - g.LegStarts[corner + 1]) / g.Radius * kQuarterPi;
    return arc.Theta0 + arc.Sign * phi;
}

Point PointOf(const Geometry& g, Real chainage)
{
    if (const std::optional<std::size_t> corner = BendAt(g, chainage)) {
        const Arc arc = ArcOf(g, *corner);
        const CosSin cs = CosSinOf(ArcAngle(g, *corner, chainage));
        return {arc.Centre.X + g.Radius * cs.Cos, arc.Centre.Y + g.Radius * cs.Sin};
    }
    std::size_t leg = 0;
    while (leg + 2 < g.LegStarts.size() && chainage >= g.LegStarts[leg + 1]) {
        ++leg;
    }
    const Real s = chainage - g.LegStarts[leg];
    return {g.Corners[leg].X + s * g.Directions[leg].Cos, g.Corners[leg].Y + s * g.Directions[leg].Sin};
}

// The unit loads' moments at the points of a straight piece, at its two ends.
Vec3 UnitMoments(const Point& p, const Point& load)
{
    return {p.Y - load.Y, load.X - p.X, 1};
}

struct Blocks {
    std::vector<Mat3> Diagonal;  // node i with itself
    std::vector<Mat3> Upper;     // node i (rows) with node i + 1 (columns)
};

Blocks Assemble(const Frame& frame, const TubeSection& tube)
{
    const std::size_t n = frame.Nodes.size();
    Blocks k{std::vector<Mat3>(n, Zero3()), std::vector<Mat3>(n > 0 ? n - 1 : 0, Zero3())};
    for (std::size_t e = 0; e + 1 < n; ++e) {
        const Point& s = frame.Nodes[e].P;
        const Point& t = frame.Nodes[e + 1].P;
        const Mat3 stiffness = Inverse(PieceFlexibility(frame.Pieces[e], s, t, t, frame.BendFlexibility,
                                                        tube.BendingStiffness, tube.AxialStiffness));
        // The end's loads carried to the start: start = −Γ·end.
        Mat3 gamma{};
        gamma[0][0] = 1;
        gamma[1][1] = 1;
        gamma[2][2] = 1;
        gamma[2][0] = -(t.Y - s.Y);
        gamma[2][1] = t.X - s.X;
        const Mat3 gk = Product(gamma, stiffness);
        const Mat3 gkg = Product(gk, Transposed(gamma));
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) {
                k.Diagonal[e][i][j] += gkg[i][j];
                k.Diagonal[e + 1][i][j] += stiffness[i][j];
                k.Upper[e][i][j] -= gk[i][j];
            }
        }
    }
    return k;
}

using Prescribed = std::vector<std::array<std::optional<Real>, 3>>;

// K·w = loads with w given at the prescribed freedoms.
struct Solved {
    std::vector<Vec3> W;
};

std::vector<Vec3> SolveLinear(const Blocks& k, const Prescribed& prescribed,
                              const std::vector<Vec3>& loads)
{
    const std::size_t n = k.Diagonal.size();
    Blocks a = k;
    std::vector<Vec3> rhs = loads;
    for (std::size_t i = 0; i < n; ++i) {
        for (int p = 0; p < 3; ++p) {
            if (!prescribed[i][p]) {
                continue;
            }
            const Real v = *prescribed[i][p];
            for (int q = 0; q < 3; ++q) {
                rhs[i][q] -= k.Diagonal[i][q][p] * v;
                if (i > 0) {
                    rhs[i - 1][q] -= k.Upper[i - 1][q][p] * v;
                }
                if (i + 1 < n) {
                    rhs[i + 1][q] -= k.Upper[i][p][q] * v;
                }
            }
        }
    }
    for (std::size_t i = 0; i < n; ++i) {
        for (int p = 0; p < 3; ++p) {
            if (!prescribed[i][p]) {
                continue;
            }
            for (int q = 0; q < 3; ++q) {
                a.Diagonal[i][p][q] = 0;
                a.Diagonal[i][q][p] = 0;
                if (i > 0) {
                    a.Upper[i - 1][q][p] = 0;
                }
                if (i + 1 < n) {
                    a.Upper[i][p][q] = 0;
                }
            }
            a.Diagonal[i][p][p] = 1;
            rhs[i][p] = *prescribed[i][p];
        }
    }
    // Block elimination of the chain, forward then back.
    std::vector<Mat3> inverses(n);
    std::vector<Vec3> y(n);
    Mat3 d = a.Diagonal[0];
    y[0] = rhs[0];
    inverses[0] = Inverse(d);
    for (std::size_t i = 1; i < n; ++i) {
        const Mat3 m = Product(Transposed(a.Upper[i - 1]), inverses[i - 1]);
        const Mat3 mu = Product(m, a.Upper[i - 1]);
        const Vec3 my = Product(m, y[i - 1]);
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c) {
                d[r][c] = a.Diagonal[i][r][c] - mu[r][c];
            }
            y[i][r] = rhs[i][r] - my[r];
        }
        inverses[i] = Inverse(d);
    }
    Solved solved;
    solved.W.assign(n, Vec3{});
    for (std::size_t i = n; i-- > 0;) {
        Vec3 r = y[i];
        if (i + 1 < n) {
            const Vec3 coupled = Product(a.Upper[i], solved.W[i + 1]);
            for (int q = 0; q < 3; ++q) {
                r[q] -= coupled[q];
            }
        }
        solved.W[i] = Product(inverses[i], r);
        for (int p = 0; p < 3; ++p) {
            if (prescribed[i][p]) {
                solved.W[i][p] = *prescribed[i][p];
            }
        }
    }
    return solved.W;
}

// A support as the path sees it: its node, the freedoms its friction acts on (a guide: its
// leg's axis only) and across which a guide holds the pipe.
struct Holder {
    std::size_t Node = 0;
    Real Limit = 0;            // μ·V, N
    bool Guide = false;
    int Along = 0;             // the leg's axis: 0 for x, 1 for y
};

struct HolderState {
    bool Stuck = true;
    Real U[2] = {0, 0};  // the movement at the end of the last step, m
    Real F[2] = {0, 0};  // the friction on the pipe at the end of the last step, N
};

// The friction of a support for its movement u within a step, by the return mapping of Coulomb's
// law: the trial force F₀ − k·(u − u₀) of a support held by a stiff spring k; within μ·V it
// sticks, beyond it slides with μ·V along the trial force. The tangent: k·I sticking,
// μ·V·k/|F_trial|·(I − n·nᵀ) sliding.
struct Friction {
    Real F[2] = {0, 0};
    Real Tangent[2][2] = {{0, 0}, {0, 0}};
    bool Stuck = true;
};

Friction ReturnMapping(const HolderState& before, const Real u[2], const bool axes[2], Real limit,
                       Real spring)
{
    Friction f;
    Real trial[2] = {0, 0};
    for (int a = 0; a < 2; ++a) {
        if (axes[a]) {
            trial[a] = before.F[a] - spring * (u[a] - before.U[a]);
        }
    }
    const Real magnitude = std::sqrt(trial[0] * trial[0] + trial[1] * trial[1]);
    if (magnitude <= limit) {
        for (int a = 0; a < 2; ++a) {
            f.F[a] = trial[a];
            f.Tangent[a][a] = axes[a] ? spring : 0;
        }
        return f;
    }
    f.Stuck = false;
    const Real n[2] = {trial[0] / magnitude, trial[1] / magnitude};
    const Real scale = limit * spring / magnitude;
    for (int a = 0; a < 2; ++a) {
        f.F[a] = limit * n[a];
        for (int b = 0; b < 2; ++b) {
            f.Tangent[a][b] = axes[a] && axes[b] ? scale * ((a == b ? 1 : 0) - n[a] * n[b]) : 0;
        }
    }
    return f;
}

std::vector<Vec3> Multiply(const Blocks& k, const std::vector<Vec3>& w)
{
    const std::size_t n = k.Diagonal.size();
    std::vector<Vec3> f(n, Vec3{});
    for (std::size_t i = 0; i < n; ++i) {
        f[i] = Product(k.Diagonal[i], w[i]);
        if (i > 0) {
            const Vec3 lower = Product(Transposed(k.Upper[i - 1]), w[i - 1]);
            for (int q = 0; q < 3; ++q) {
                f[i][q] += lower[q];
            }
        }
        if (i + 1 < n) {
            const Vec3 upper = Product(k.Upper[i], w[i + 1]);
            for (int q = 0; q < 3; ++q) {
                f[i][q] += upper[q];
            }
        }
    }
    return f;
}

struct StepResult {
    std::vector<Vec3> W;        // the elastic movement, m (the total less α·Δt·(x, y))
    std::vector<Vec3> Loads;    // the supports' forces on the pipe
    std::vector<HolderState> States;
    std::vector<bool> Stuck;
};

// One temperature of the path by Newton's method on the frame with the friction's return mapping.
StepResult SolveStep(const Frame& frame, const Blocks& k, const std::vector<Holder>& holders,
                     const std::vector<HolderState>& before, std::vector<Vec3> w, Real thermal,
                     Real spring, Real tolerance)
{
    const std::size_t n = frame.Nodes.size();
    const auto free = [&](std::size_t node, int axis) {
        return thermal * (axis == 0 ? frame.Nodes[node].P.X : frame.Nodes[node].P.Y);
    };
    Prescribed fixed(n);
    fixed[0] = {Real{0}, Real{0}, Real{0}};
    fixed[n - 1] = {-free(n - 1, 0), -free(n - 1, 1), Real{0}};
    for (const Holder& holder : holders) {
        if (holder.Guide) {
            const int across = 1 - holder.Along;
            fixed[holder.Node][across] = -free(holder.Node, across);
        }
    }
    for (std::size_t i = 0; i < n; ++i) {
        for (int q = 0; q < 3; ++q) {
            if (fixed[i][q]) {
                w[i][q] = *fixed[i][q];
            }
        }
    }
    Prescribed unchanged(n);
    for (std::size_t i = 0; i < n; ++i) {
        for (int q = 0; q < 3; ++q) {
            if (fixed[i][q]) {
                unchanged[i][q] = Real{0};
            }
        }
    }
    StepResult result;
    // The step minimises the frame's strain energy ½·wᵀ·K·w plus, for every support, the convex
    // potential g(F_trial)/k of its friction (g(t) = |t|²/2 within μ·V, μ·V·|t| − (μ·V)²/2
    // beyond: its gradient is the friction). Newton's method on it, each step halved until the
    // potential falls (Armijo), converges from any start.
    struct Evaluation {
        Real Energy = 0;
        Real Largest = 0;  // the largest residual force, N
        std::vector<Vec3> Residual;
        Blocks Tangent;
    };
    const auto evaluate = [&](const std::vector<Vec3>& at, bool withTangent) {
        Evaluation e;
        if (withTangent) {
            e.Tangent = k;
        }
        const std::vector<Vec3> inner = Multiply(k, at);
        std::vector<Vec3> loads(n, Vec3{});
        for (std::size_t i = 0; i < n; ++i) {
            for (int q = 0; q < 3; ++q) {
                e.Energy += at[i][q] * inner[i][q] / 2;
            }
        }
        for (std::size_t h = 0; h < holders.size(); ++h) {
            const Holder& holder = holders[h];
            if (!(holder.Limit > 0)) {
                continue;
            }
            const std::size_t node = holder.Node;
            const bool axes[2] = {!holder.Guide || holder.Along == 0, !holder.Guide || holder.Along == 1};
            const Real u[2] = {at[node][0] + free(node, 0), at[node][1] + free(node, 1)};
            const Friction f = ReturnMapping(before[h], u, axes, holder.Limit, spring);
            Real trial[2] = {0, 0};
            for (int a = 0; a < 2; ++a) {
                if (axes[a]) {
                    trial[a] = before[h].F[a] - spring * (u[a] - before[h].U[a]);
                }
            }
            const Real t = std::sqrt(trial[0] * trial[0] + trial[1] * trial[1]);
            e.Energy += (t <= holder.Limit ? t * t / 2 : holder.Limit * t - holder.Limit * holder.Limit / 2) /
                        spring;
            for (int a = 0; a < 2; ++a) {
                loads[node][a] += f.F[a];
                if (withTangent) {
                    for (int b = 0; b < 2; ++b) {
                        e.Tangent.Diagonal[node][a][b] += f.Tangent[a][b];
                    }
                }
            }
        }
        e.Residual.assign(n, Vec3{});
        for (std::size_t i = 0; i < n; ++i) {
            for (int q = 0; q < 3; ++q) {
                e.Residual[i][q] = fixed[i][q] ? 0 : loads[i][q] - inner[i][q];
                e.Largest = std::max(e.Largest, std::fabs(e.Residual[i][q]));
            }
        }
        return e;
    };
    for (int iteration = 0; iteration < 200; ++iteration) {
        Evaluation e = evaluate(w, true);
        if (e.Largest <= tolerance) {
            break;
        }
        const std::vector<Vec3> d = SolveLinear(e.Tangent, unchanged, e.Residual);
        Real slope = 0;  // the potential's derivative along d: −residual·d
        for (std::size_t i = 0; i < n; ++i) {
            for (int q = 0; q < 3; ++q) {
                slope -= e.Residual[i][q] * d[i][q];
            }
        }
        Real step = 1;
        std::vector<Vec3> trial = w;
        for (int halving = 0; halving < 50; ++halving) {
            for (std::size_t i = 0; i < n; ++i) {
                for (int q = 0; q < 3; ++q) {
                    trial[i][q] = w[i][q] + step * d[i][q];
                }
            }
            const Evaluation t = evaluate(trial, false);
            // Near the solution the potential's fall is lost in rounding: a step that halves the
            // residual is taken as well.
            if (t.Energy <= e.Energy + 1e-4L * step * slope || t.Largest <= e.Largest / 2) {
                break;
            }
            step /= 2;
        }
        w = std::move(trial);
    }
    // The friction of the final movement, the reactions of the fixed freedoms.
    result.States = before;
    result.Stuck.assign(holders.size(), true);
    std::vector<Vec3> applied(n, Vec3{});
    for (std::size_t h = 0; h < holders.size(); ++h) {
        const Holder& holder = holders[h];
        const std::size_t node = holder.Node;
        const Real u[2] = {w[node][0] + free(node, 0), w[node][1] + free(node, 1)};
        HolderState& state = result.States[h];
        state.U[0] = u[0];
        state.U[1] = u[1];
        if (!(holder.Limit > 0)) {
            state.F[0] = state.F[1] = 0;
            continue;
        }
        const bool axes[2] = {!holder.Guide || holder.Along == 0, !holder.Guide || holder.Along == 1};
        const Friction f = ReturnMapping(before[h], u, axes, holder.Limit, spring);
        state.F[0] = f.F[0];
        state.F[1] = f.F[1];
        state.Stuck = f.Stuck;
        result.Stuck[h] = f.Stuck;
        applied[node][0] += f.F[0];
        applied[node][1] += f.F[1];
    }
    const std::vector<Vec3> inner = Multiply(k, w);
    result.Loads.assign(n, Vec3{});
    for (std::size_t i = 0; i < n; ++i) {
        for (int q = 0; q < 3; ++q) {
            result.Loads[i][q] = fixed[i][q] ? inner[i][q] - applied[i][q] : 0;
        }
    }
    for (std::size_t h = 0; h < holders.size(); ++h) {
        for (int a = 0; a < 2; ++a) {
            result.Loads[holders[h].Node][a] += result.States[h].F[a];
        }
    }
    result.W = std::move(w);
    return result;
}

PathSolution FollowPath(const Frame& frame, const Blocks& k, const std::vector<Holder>& holders,
                        Real thermal, int steps, Real spring, Real tolerance)
{
    const std::size_t n = frame.Nodes.size();
    std::vector<HolderState> states(holders.size());
    StepResult step;
    step.W.assign(n, Vec3{});
    std::vector<Vec3> earlier = step.W;
    for (int i = 1; i <= steps; ++i) {
        // The first trial of a step: the first step as if nothing moved, every later one as the
        // step before it moved.
        const std::vector<Vec3> previous = step.W;
        if (i == 1) {
            const Real increment = thermal / steps;
            for (std::size_t node = 0; node < n; ++node) {
                step.W[node][0] -= increment * frame.Nodes[node].P.X;
                step.W[node][1] -= increment * frame.Nodes[node].P.Y;
            }
        } else {
            for (std::size_t node = 0; node < n; ++node) {
                for (int q = 0; q < 3; ++q) {
                    step.W[node][q] = 2 * previous[node][q] - earlier[node][q];
                }
            }
        }
        earlier = previous;
        step = SolveStep(frame, k, holders, states, std::move(step.W), thermal * i / steps, spring,
                         tolerance);
        states = step.States;
    }
    PathSolution path;
    path.Steps = steps;
    path.Movement.assign(n, Vec3{});
    path.Loads = step.Loads;
    for (std::size_t i = 0; i < n; ++i) {
        path.Movement[i] = {step.W[i][0] + thermal * frame.Nodes[i].P.X,
                            step.W[i][1] + thermal * frame.Nodes[i].P.Y, step.W[i][2]};
    }
    for (std::size_t h = 0; h < holders.size(); ++h) {
        path.Slides.push_back(holders[h].Limit > 0 && !step.Stuck[h]);
    }
    return path;
}

// The largest difference of the supports' forces between two paths, against the largest force.
Real PathDifference(const PathSolution& a, const PathSolution& b)
{
    Real largest = 0;
    Real difference = 0;
    for (std::size_t i = 0; i < a.Loads.size(); ++i) {
        for (int q = 0; q < 2; ++q) {
            largest = std::max(largest, std::fabs(a.Loads[i][q]));
            difference = std::max(difference, std::fabs(a.Loads[i][q] - b.Loads[i][q]));
        }
    }
    return largest > 0 ? difference / largest : 0;
}

}  // namespace

CosSin CosSinOf(Real theta)
{
    const Real quarters = std::nearbyint(theta / kHalfPi);
    const Real r = theta - quarters * kHalfPi;
    // Taylor series of the rest, |r| ≤ π/4: the terms fall below 10⁻²² by the 25th power.
    Real sine = 0;
    Real cosine = 0;
    Real term = 1;  // rⁿ/n!
    for (int power = 0; power <= 30; ++power) {
        switch (power % 4) {
        case 0: cosine += term; break;
        case 1: sine += term; break;
        case 2: cosine -= term; break;
        default: sine -= term; break;
        }
        term *= r / (power + 1);
    }
    const int quarter = static_cast<int>(((static_cast<long long>(quarters) % 4) + 4) % 4);
    switch (quarter) {
    case 0: return {cosine, sine};
    case 1: return {-sine, cosine};
    case 2: return {-cosine, -sine};
    default: return {sine, -cosine};
    }
}

Point PointAt(const CompensationSection& section, Real chainage)
{
    return PointOf(GeometryOf(section), chainage);
}

Frame BuildFrame(const CompensationSection& section, const std::vector<SupportPlace>& supports,
                 double flexibility)
{
    const Geometry g = GeometryOf(section);
    Frame frame;
    frame.LegStarts = g.LegStarts;
    frame.TangentLength = g.Radius;
    frame.BendFlexibility = flexibility;
    struct Station {
        Real Chainage = 0;
        int Support = -1;
        int Corner = -1;
    };
    std::vector<Station> stations;
    stations.push_back({0, -1, -1});
    stations.push_back({g.LegStarts.back(), -1, -1});
    for (std::size_t c = 0; c + 1 < section.Legs.size(); ++c) {
        const Real middle = g.LegStarts[c + 1];
        stations.push_back({middle, -1, static_cast<int>(c)});
        if (g.Radius > 0) {
            stations.push_back({middle - g.Radius, -1, -1});
            stations.push_back({middle + g.Radius, -1, -1});
        }
    }
    for (std::size_t j = 0; j < supports.size(); ++j) {
        stations.push_back(
            {g.LegStarts[supports[j].Leg] + static_cast<Real>(supports[j].Distance), static_cast<int>(j), -1});
    }
    std::stable_sort(stations.begin(), stations.end(),
                     [](const Station& a, const Station& b) { return a.Chainage < b.Chainage; });
    for (const Station& station : stations) {
        if (!frame.Nodes.empty() && station.Chainage - frame.Nodes.back().Chainage < kSameStation) {
            Node& last = frame.Nodes.back();
            last.Support = std::max(last.Support, station.Support);
            last.Corner = std::max(last.Corner, station.Corner);
            continue;
        }
        Node node;
        node.Chainage = station.Chainage;
        node.Support = station.Support;
        node.Corner = station.Corner;
        node.P = PointOf(g, station.Chainage);
        frame.Nodes.push_back(node);
    }
    // B is the last station; a support merged into A or B would be a fixed support's own.
    frame.Nodes.front().Support = -1;
    frame.Nodes.back().Support = -1;
    frame.CornerNodes.assign(section.Legs.size() > 0 ? section.Legs.size() - 1 : 0, 0);
    for (std::size_t i = 0; i < frame.Nodes.size(); ++i) {
        if (frame.Nodes[i].Corner >= 0) {
            frame.CornerNodes[static_cast<std::size_t>(frame.Nodes[i].Corner)] = i;
        }
    }
    for (std::size_t i = 0; i + 1 < frame.Nodes.size(); ++i) {
        const Real middle = (frame.Nodes[i].Chainage + frame.Nodes[i + 1].Chainage) / 2;
        Piece piece;
        if (const std::optional<std::size_t> corner = BendAt(g, middle)) {
            piece.Arc = true;
            piece.Centre = ArcOf(g, *corner).Centre;
            piece.Radius = g.Radius;
            piece.Theta0 = ArcAngle(g, *corner, frame.Nodes[i].Chainage);
            piece.Theta1 = ArcAngle(g, *corner, frame.Nodes[i + 1].Chainage);
        }
        frame.Pieces.push_back(piece);
    }
    return frame;
}

Mat3 PieceFlexibility(const Piece& piece, const Point& start, const Point& end, const Point& load,
                      Real bendFlexibility, Real bendingStiffness, Real axialStiffness)
{
    Mat3 f{};
    if (!piece.Arc) {
        const Real dx = end.X - start.X;
        const Real dy = end.Y - start.Y;
        const Real length = std::sqrt(dx * dx + dy * dy);
        if (!(length > 0)) {
            return f;
        }
        const Vec3 m0 = UnitMoments(start, load);
        const Vec3 m1 = UnitMoments(end, load);
        const Vec3 n = {dx / length, dy / length, 0};
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) {
                const Real bending =
                    length * (m0[i] * m0[j] + (m0[i] * m1[j] + m1[i] * m0[j]) / 2 + m1[i] * m1[j]) / 3;
                f[i][j] = bending / bendingStiffness + n[i] * n[j] * length / axialStiffness;
            }
        }
        return f;
    }
    const Real r = piece.Radius;
    const Point& c = piece.Centre;
    const Real sign = piece.Theta1 > piece.Theta0 ? 1 : -1;
    // The moments and axial forces of the unit loads as a + b·cos θ + c·sin θ.
    const Vec3 moments[3] = {{c.Y - load.Y, 0, r}, {load.X - c.X, -r, 0}, {1, 0, 0}};
    const Vec3 axial[3] = {{0, 0, -sign}, {0, sign, 0}, {0, 0, 0}};
    const Real lo = std::min(piece.Theta0, piece.Theta1);
    const Real hi = std::max(piece.Theta0, piece.Theta1);
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            f[i][j] = r * (bendFlexibility * TrigProductIntegral(moments[i], moments[j], lo, hi) /
                               bendingStiffness +
                           TrigProductIntegral(axial[i], axial[j], lo, hi) / axialStiffness);
        }
    }
    return f;
}

PathSolution SolvePath(const Frame& frame, const CompensationSection& section,
                       const std::vector<SupportPlace>& supports, const TubeSection& tube,
                       Real friction, Real dt)
{
    const Blocks k = Assemble(frame, tube);
    const std::vector<LegDirection> directions = SectionDirections(section);
    std::vector<Holder> holders;
    for (std::size_t i = 0; i < frame.Nodes.size(); ++i) {
        const int j = frame.Nodes[i].Support;
        if (j < 0) {
            continue;
        }
        const SupportPlace& place = supports[static_cast<std::size_t>(j)];
        Holder holder;
        holder.Node = i;
        holder.Limit = friction * static_cast<Real>(place.VerticalLoad);
        holder.Guide = place.Kind == SupportKind::Guide;
        holder.Along = directions[place.Leg].Cos != 0 ? 0 : 1;
        holders.push_back(holder);
    }
    const Real thermal = static_cast<Real>(kThermalExpansion) * dt;
    // The spring of a sticking support: a thousand times the axial stiffness of the whole section,
    // so that a sticking support creeps by a thousandth of what the pipe would move without it.
    Real total = 0;
    for (const double length : section.Legs) {
        total += length;
    }
    const Real spring = 1e3L * tube.AxialStiffness / total;
    // Each step's equilibrium to 10⁻⁹ of the force of the fully restrained expansion E·A·α·|Δt|.
    const Real tolerance = 1e-9L * tube.AxialStiffness * std::fabs(thermal);
    const bool anyFriction = std::any_of(holders.begin(), holders.end(),
                                         [](const Holder& h) { return h.Limit > 0; });
    if (!anyFriction || dt == 0) {
        PathSolution path = FollowPath(frame, k, holders, thermal, 1, spring, tolerance);
        path.Steps = anyFriction ? 1 : 0;
        return path;
    }
    // The steps double until the supports' forces of two paths agree within 0,1 %.
    constexpr int kFirstSteps = 8;
    constexpr int kMostSteps = 1024;
    PathSolution coarse = FollowPath(frame, k, holders, thermal, kFirstSteps, spring, tolerance);
    for (int steps = 2 * kFirstSteps; steps <= kMostSteps; steps *= 2) {
        PathSolution fine = FollowPath(frame, k, holders, thermal, steps, spring, tolerance);
        const bool agreed = PathDifference(coarse, fine) <= 1e-3L;
        coarse = std::move(fine);
        if (agreed) {
            break;
        }
    }
    return coarse;
}

}  // namespace korvelin::frame
