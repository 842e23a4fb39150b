// The section as it is built: bends, guides and the friction of the supports, checked against a
// plain stiffness-method frame written here (every arc cut into 64 straight chords, standard beam
// elements, a dense solve), against the laws the forces obey (equilibrium, Coulomb's limit) and
// against the closed forms of a straight run; the stability rows, the stress parts and the
// refusals.

#include "SectionFixture.h"
#include "korvelin/Compensation.h"
#include "korvelin/CondensateDeflection.h"
#include "korvelin/SupportLoads.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace korvelin {
namespace {

constexpr double kE = 2.06e11;
constexpr double kAlpha = 1.2e-5;
constexpr double kPi = std::numbers::pi;

// ---- The independent frame: nodes, straight elements, a dense solve. ----
struct ChordFrame {
    struct Element {
        int From = 0;
        int To = 0;
        double BendingFactor = 1;  // the element's EI is divided by it
    };
    std::vector<double> X, Y;
    std::vector<Element> Elements;
    int Add(double x, double y)
    {
        X.push_back(x);
        Y.push_back(y);
        return static_cast<int>(X.size()) - 1;
    }
};

// The axis of a section: legs and 90° turns, every bend of radius r cut into `chords` chords.
// Returns the frame and the nodes of the guides (by their chainage along the typed legs).
ChordFrame ChordsOf(const CompensationSection& s, double k, int chords,
                    const std::vector<GuidePlace>& guides, std::vector<int>& guideNodes)
{
    ChordFrame f;
    const double r = s.BendRadius;
    double dx = 1;
    double dy = 0;
    double cx = 0;  // the current intersection of the axes
    double cy = 0;
    int last = f.Add(0, 0);
    guideNodes.assign(guides.size(), -1);
    for (std::size_t leg = 0; leg < s.Legs.size(); ++leg) {
        const double from = leg > 0 ? r : 0;
        const double to = leg + 1 < s.Legs.size() ? s.Legs[leg] - r : s.Legs[leg];
        // Straight part, split at its guides.
        std::vector<std::pair<double, int>> stops;
        for (std::size_t g = 0; g < guides.size(); ++g) {
            if (guides[g].Leg == leg) {
                stops.push_back({guides[g].Distance, static_cast<int>(g)});
            }
        }
        std::sort(stops.begin(), stops.end());
        stops.push_back({to, -1});
        double at = from;
        for (const auto& [distance, guide] : stops) {
            if (distance > at + 1e-12) {
                const int node = f.Add(cx + dx * distance, cy + dy * distance);
                f.Elements.push_back({last, node, 1});
                last = node;
                at = distance;
            }
            if (guide >= 0) {
                guideNodes[static_cast<std::size_t>(guide)] = last;
            }
        }
        const double ex = cx + dx * s.Legs[leg];
        const double ey = cy + dy * s.Legs[leg];
        if (leg + 1 == s.Legs.size()) {
            break;
        }
        const double turn = s.Turns[leg] == TurnSide::Left ? 1 : -1;
        const double nx = -dy * turn;  // the new direction
        const double ny = dx * turn;
        if (r > 0) {
            const double ox = ex - r * dx + r * nx;  // the centre
            const double oy = ey - r * dy + r * ny;
            for (int j = 1; j <= chords; ++j) {
                const double phi = kPi / 2 * j / chords;
                const double x = ox - r * nx * std::cos(phi) + r * dx * std::sin(phi);
                const double y = oy - r * ny * std::cos(phi) + r * dy * std::sin(phi);
                const int node = f.Add(x, y);
                f.Elements.push_back({last, node, k});
                last = node;
            }
        }
        cx = ex;
        cy = ey;
        dx = nx;
        dy = ny;
    }
    return f;
}

struct ChordSolution {
    std::vector<double> U;  // 3 per node
    std::vector<double> R;  // the supports' forces on the pipe, 3 per node
};

// K·u = f_thermal with the fixed freedoms at zero; the reactions K·u − f there.
ChordSolution SolveChords(const ChordFrame& f, const TubeSection& tube, double dt,
                          const std::vector<int>& fixed)
{
    const int n = static_cast<int>(f.X.size()) * 3;
    std::vector<double> k(static_cast<std::size_t>(n) * n, 0.0);
    std::vector<double> load(static_cast<std::size_t>(n), 0.0);
    const double ea = kE * tube.Area;
    for (const ChordFrame::Element& e : f.Elements) {
        const double lx = f.X[e.To] - f.X[e.From];
        const double ly = f.Y[e.To] - f.Y[e.From];
        const double l = std::hypot(lx, ly);
        const double c = lx / l;
        const double s = ly / l;
        const double ei = kE * tube.Inertia / e.BendingFactor;
        // The local stiffness of a beam: axial, and bending with the end rotations.
        double local[6][6] = {};
        const double a = ea / l;
        const double b12 = 12 * ei / (l * l * l);
        const double b6 = 6 * ei / (l * l);
        const double b4 = 4 * ei / l;
        const double b2 = 2 * ei / l;
        local[0][0] = a; local[0][3] = -a; local[3][0] = -a; local[3][3] = a;
        local[1][1] = b12; local[1][2] = b6; local[1][4] = -b12; local[1][5] = b6;
        local[2][1] = b6; local[2][2] = b4; local[2][4] = -b6; local[2][5] = b2;
        local[4][1] = -b12; local[4][2] = -b6; local[4][4] = b12; local[4][5] = -b6;
        local[5][1] = b6; local[5][2] = b2; local[5][4] = -b6; local[5][5] = b4;
        double t[6][6] = {};
        for (int h = 0; h < 2; ++h) {
            t[3 * h][3 * h] = c; t[3 * h][3 * h + 1] = s;
            t[3 * h + 1][3 * h] = -s; t[3 * h + 1][3 * h + 1] = c;
            t[3 * h + 2][3 * h + 2] = 1;
        }
        const int dof[6] = {3 * e.From, 3 * e.From + 1, 3 * e.From + 2, 3 * e.To, 3 * e.To + 1, 3 * e.To + 2};
        for (int i = 0; i < 6; ++i) {
            for (int j = 0; j < 6; ++j) {
                double sum = 0;
                for (int p = 0; p < 6; ++p) {
                    for (int q = 0; q < 6; ++q) {
                        sum += t[p][i] * local[p][q] * t[q][j];
                    }
                }
                k[static_cast<std::size_t>(dof[i]) * n + dof[j]] += sum;
            }
        }
        // The restrained thermal elongation pushes the element's ends apart.
        const double push = ea * kAlpha * dt;
        load[dof[0]] -= push * c;
        load[dof[1]] -= push * s;
        load[dof[3]] += push * c;
        load[dof[4]] += push * s;
    }
    std::vector<double> a = k;
    std::vector<double> b = load;
    for (const int d : fixed) {
        for (int j = 0; j < n; ++j) {
            a[static_cast<std::size_t>(d) * n + j] = 0;
            a[static_cast<std::size_t>(j) * n + d] = 0;
        }
        a[static_cast<std::size_t>(d) * n + d] = 1;
        b[d] = 0;
    }
    // Gaussian elimination; the matrix is symmetric positive definite.
    for (int i = 0; i < n; ++i) {
        for (int r = i + 1; r < std::min(n, i + 7); ++r) {
            const double factor = a[static_cast<std::size_t>(r) * n + i] / a[static_cast<std::size_t>(i) * n + i];
            if (factor == 0) {
                continue;
            }
            for (int j = i; j < std::min(n, i + 7); ++j) {
                a[static_cast<std::size_t>(r) * n + j] -= factor * a[static_cast<std::size_t>(i) * n + j];
            }
            b[r] -= factor * b[i];
        }
    }
    ChordSolution out;
    out.U.assign(static_cast<std::size_t>(n), 0.0);
    for (int i = n - 1; i >= 0; --i) {
        double sum = b[i];
        for (int j = i + 1; j < std::min(n, i + 7); ++j) {
            sum -= a[static_cast<std::size_t>(i) * n + j] * out.U[j];
        }
        out.U[i] = sum / a[static_cast<std::size_t>(i) * n + i];
    }
    out.R.assign(static_cast<std::size_t>(n), 0.0);
    for (const int d : fixed) {
        double sum = -load[d];
        for (int j = 0; j < n; ++j) {
            sum += k[static_cast<std::size_t>(d) * n + j] * out.U[j];
        }
        out.R[d] = sum;
    }
    return out;
}

// The largest σ = |N|/A + i·|M|/W over the chords' ends, from the element end forces; chords of a
// bend take i. Also split by straight pipe and bends.
struct ChordStress {
    double Straight = 0;
    double Bend = 0;
};
ChordStress StressOfChords(const ChordFrame& f, const ChordSolution& u, const TubeSection& tube,
                           double dt, double i)
{
    ChordStress out;
    const double ea = kE * tube.Area;
    for (const ChordFrame::Element& e : f.Elements) {
        const double lx = f.X[e.To] - f.X[e.From];
        const double ly = f.Y[e.To] - f.Y[e.From];
        const double l = std::hypot(lx, ly);
        const double c = lx / l;
        const double s = ly / l;
        const double ei = kE * tube.Inertia / e.BendingFactor;
        const auto local = [&](int node) {
            const double ux = u.U[3 * node];
            const double uy = u.U[3 * node + 1];
            return std::array<double, 3>{c * ux + s * uy, -s * ux + c * uy, u.U[3 * node + 2]};
        };
        const auto p = local(e.From);
        const auto q = local(e.To);
        const double n = ea * ((q[0] - p[0]) / l - kAlpha * dt);
        const double v = (q[1] - p[1]) / l;
        const double m1 = ei * (4 * p[2] + 2 * q[2] - 6 * v) / l;
        const double m2 = ei * (2 * p[2] + 4 * q[2] - 6 * v) / l;
        const bool bend = e.BendingFactor != 1;
        const double factor = bend ? i : 1;
        const double stress =
            (std::fabs(n) / tube.Area + factor * std::max(std::fabs(m1), std::fabs(m2)) / tube.Modulus) / 1e6;
        double& target = bend ? out.Bend : out.Straight;
        target = std::max(target, stress);
    }
    return out;
}

using fixture::Computed;
using fixture::Pipe159;
using fixture::Route;

void ExpectWithin(double actual, double expected, double relative, const char* what)
{
    EXPECT_NEAR(actual, expected, std::fabs(expected) * relative) << what;
}

// The frictionless section of the input against the chords: both supports' reactions, the largest
// stress of the straight pipe and of the bends, each guide's force.
void ExpectAsTheChords(const CompensationInput& input, double relative)
{
    const CompensationResult result = Computed(input);
    const double k = result.Bend.Flexibility;
    std::vector<int> guideNodes;
    const ChordFrame f = ChordsOf(input.Section, k, 64, input.Section.Guides, guideNodes);
    const int last = static_cast<int>(f.X.size()) - 1;
    const std::vector<LegDirection> directions = SectionDirections(input.Section);
    for (const auto& [dt, c] : {std::pair{result.Heating.TemperatureChange, &result.Heating},
                                std::pair{result.Cooling.TemperatureChange, &result.Cooling}}) {
        if (dt == 0) {
            continue;
        }
        std::vector<int> fixed = {0, 1, 2, 3 * last, 3 * last + 1, 3 * last + 2};
        std::vector<int> across(guideNodes.size());
        for (std::size_t g = 0; g < guideNodes.size(); ++g) {
            across[g] = 3 * guideNodes[g] + (directions[input.Section.Guides[g].Leg].Cos != 0 ? 1 : 0);
            fixed.push_back(across[g]);
        }
        const ChordSolution chords = SolveChords(f, result.Tube, dt, fixed);
        const double scale = std::max(std::fabs(chords.R[0]), std::fabs(chords.R[1]));
        EXPECT_NEAR(c->A.Fx, chords.R[0], relative * scale);
        EXPECT_NEAR(c->A.Fy, chords.R[1], relative * scale);
        ExpectWithin(c->A.M, chords.R[2], relative, "M of A");
        ExpectWithin(c->B.M, chords.R[3 * last + 2], relative, "M of B");
        const ChordStress stress = StressOfChords(f, chords, result.Tube, dt, result.Bend.Intensification);
        ExpectWithin(c->MaxStraightStress, stress.Straight, relative, "straight pipe");
        ExpectWithin(c->MaxBendStress, stress.Bend, relative, "bends");
        ASSERT_EQ(c->Guides.size(), guideNodes.size());
        for (std::size_t g = 0; g < guideNodes.size(); ++g) {
            // The chords' reaction in the axes against the guide's force along the leg's left normal.
            const LegDirection& d = directions[c->Guides[g].Leg];
            const double normal = -d.Sin * chords.R[3 * guideNodes[g]] + d.Cos * chords.R[3 * guideNodes[g] + 1];
            EXPECT_NEAR(c->Guides[g].Force, normal, relative * scale + 1e-9);
        }
    }
}

TEST(SectionAsBuilt, BendFactorsOfTheExample)
{
    // 159×4,5, R = 1,5·D = 238,5 mm: r = 77,25 mm, λ = t·R/r².
    const BendFactors bend = ComputeBendFactors(0.2385, 0.159, 0.0045, 0.6);
    const double lambda = 0.0045 * 0.2385 / (0.07725 * 0.07725);
    EXPECT_NEAR(bend.Lambda, lambda, 1e-15);
    EXPECT_NEAR(bend.Flexibility, 1.65 / lambda, 1e-12);
    EXPECT_NEAR(bend.Intensification, 0.9 / std::pow(lambda, 2.0 / 3.0), 1e-12);
    EXPECT_EQ(std::round(bend.Lambda * 1e4) / 1e4, 0.1798);
    EXPECT_EQ(std::round(bend.Flexibility * 1e3) / 1e3, 9.174);
    EXPECT_EQ(std::round(bend.Intensification * 1e3) / 1e3, 2.825);
    // Stiff bends: both factors 1 from λ = 1,65 and λ = 0,9^(3/2) on; sharp corners: 1 and λ = 0.
    struct Case {
        double Lambda;
        double K;
        double I;
    };
    for (const Case& c : {Case{1.65, 1, 1},
                          Case{2, 1, 1}, Case{0.5, 3.3, 0.9 / std::pow(0.5, 2.0 / 3.0)}}) {
        const BendCoefficients k = SmoothBendCoefficients(c.Lambda, 0);
        EXPECT_NEAR(k.Flexibility, c.K, 1e-14) << c.Lambda;
        EXPECT_NEAR(k.Intensification, std::max(1.0, c.I), 1e-14) << c.Lambda;
    }
    const BendFactors sharp = ComputeBendFactors(0, 0.159, 0.0045, 0);
    EXPECT_EQ(sharp.Lambda, 0);
    EXPECT_EQ(sharp.Flexibility, 1);
    EXPECT_EQ(sharp.Intensification, 1);
}

TEST(SectionAsBuilt, UCompensatorWithBendsAsTheChordsGiveIt)
{
    const CompensationInput input = Pipe159(Route("20 Л 3 П 4 П 3 Л 20", 0.2385));
    const CompensationResult result = Computed(input);
    const CompensationCase& c = result.Cooling;
    // The figures the issue quotes, to the digit it quotes.
    EXPECT_NEAR(c.A.Fx, -443.2, 0.05);
    EXPECT_NEAR(std::fabs(c.A.M), 277.8, 0.05);
    EXPECT_NEAR(c.MaxStress, 36.4, 0.05);
    EXPECT_EQ(c.MaxStress, c.MaxBendStress);
    EXPECT_NEAR(c.MaxStraightStress, 13.0, 0.05);
    ExpectAsTheChords(input, 1e-3);
    // The same frame by the force method: δ of the arcs with K and δ·X = −Δₜ give B's reactions.
    const std::array<double, 3> x = SolveForceMethod(result.Delta, c.FreeMovement);
    EXPECT_NEAR(c.B.Fx, x[0], std::fabs(x[0]) * 1e-9);
    EXPECT_NEAR(c.B.Fy, x[1], std::fabs(x[0]) * 1e-9);
    EXPECT_NEAR(c.B.M, x[2], std::fabs(x[2]) * 1e-9);
}

TEST(SectionAsBuilt, ShapesWithBendsAndGuidesAsTheChordsGiveThem)
{
    struct Case {
        const char* Route;
        double Radius;
        std::vector<GuidePlace> Guides;
    };
    const Case cases[] = {
        {"20 Л 3 П 4 П 3 Л 20", 0, {{0, 16}, {4, 4}}},
        {"20 Л 3 П 4 П 3 Л 20", 0.2385, {{0, 16}, {4, 4}}},
        {"12 П 7", 0.5, {}},
        {"12 П 7", 0.5, {{0, 6}, {1, 3}}},
        {"10 Л 6 Л 8", 1, {{1, 3}}},
        {"15 П 5 Л 15", 0.2385, {{0, 2}, {2, 13}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Route);
        CompensationInput input = Pipe159(Route(c.Route, c.Radius));
        input.Section.Guides = c.Guides;
        input.Temperatures = {10, -40, 70};
        ExpectAsTheChords(input, 1e-3);
    }
}

TEST(SectionAsBuilt, GuidesNearTheLoopRaiseTheForceOnTheFixedSupports)
{
    CompensationInput input = Pipe159(Route("20 Л 3 П 4 П 3 Л 20"));
    const double free = Computed(input).Cooling.A.Fx;
    input.Section.Guides = {{0, 16}, {4, 4}};
    const CompensationResult guided = Computed(input);
    EXPECT_NEAR(free, -783.0, 0.5);
    EXPECT_NEAR(guided.Cooling.A.Fx, -954.3, 0.05);
    ASSERT_EQ(guided.Cooling.Guides.size(), 2U);
    for (const GuideForce& guide : guided.Cooling.Guides) {
        EXPECT_NEAR(std::fabs(guide.Force), 72.3, 0.05);
    }
}

CompensationInput WithFriction(CompensationInput input, double mu, double q, double step)
{
    input.Friction = mu;
    input.VerticalLoadSP = q;
    input.TotalLoadSNiP = q * 1.2;
    input.Section.SupportStep = step;
    return input;
}

TEST(SectionAsBuilt, StraightRunBetweenFixedSupportsDoesNotSlide)
{
    // 57×3, 20 m, heated by 50 °C, sliding supports every 5 m: nothing moves, no friction,
    // N = E·α·Δt·A; Euler's force of a 5 m pinned span π²·E·I/L².
    CompensationInput input;
    input.Section = StraightSection(20);
    input.OuterDiameter = 0.057;
    input.WallThickness = 0.003;
    input.Temperatures = {0, 0, 50};
    input = WithFriction(input, 0.3, 300, 5);
    const CompensationResult result = Computed(input);
    const double area = kPi * (0.057 * 0.057 - 0.051 * 0.051) / 4;
    const double inertia = kPi * (std::pow(0.057, 4) - std::pow(0.051, 4)) / 64;
    const double n = kE * kAlpha * 50 * area;
    EXPECT_NEAR(n, 62904.7, 0.05);
    const CompensationCase& c = result.Heating;
    EXPECT_NEAR(c.Legs[0].N, -n, n * 1e-12);
    EXPECT_NEAR(c.Legs[0].NMin, -n, n * 1e-12);
    EXPECT_NEAR(c.A.Fx, n, n * 1e-12);
    ASSERT_EQ(c.Supports.size(), 3U);
    for (const SupportForces& support : c.Supports) {
        EXPECT_NEAR(support.FrictionX, 0, 1e-6);
        EXPECT_NEAR(support.Ux, 0, 1e-9);
        EXPECT_FALSE(support.Slides);
    }
    EXPECT_EQ(c.StickingSupports, 3U);
    EXPECT_EQ(c.SlidingSupports, 0U);
    ASSERT_EQ(c.Buckling.size(), 1U);
    const BucklingRow& row = c.Buckling[0];
    EXPECT_EQ(row.VerticalLength, 5);
    EXPECT_EQ(row.HorizontalLength, 20);
    const double euler5 = kPi * kPi * kE * inertia / 25;
    EXPECT_NEAR(euler5, 15133, 0.5);
    EXPECT_NEAR(row.CriticalVertical, euler5, euler5 * 1e-12);
    EXPECT_NEAR(row.Critical, euler5 / 16, euler5 * 1e-12);
    EXPECT_NEAR(row.Ratio, n / (euler5 / 16), 1e-9);
    EXPECT_FALSE(row.Stable);
    EXPECT_TRUE(c.StabilityWarning);
    // Cooling pulls: no compressed leg, no row.
    EXPECT_TRUE(result.Cooling.Buckling.empty());
    EXPECT_FALSE(result.Cooling.StabilityWarning);
}

// Σ of the forces on the pipe and of their moments about A: the fixed supports, the guides and
// the friction of every support; the path solves each step's equilibrium to 10⁻⁹ of E·A·α·|Δt|.
void ExpectEquilibrium(const CompensationCase& c, const CompensationResult& result)
{
    long double fx = static_cast<long double>(c.A.Fx) + c.B.Fx;
    long double fy = static_cast<long double>(c.A.Fy) + c.B.Fy;
    const SectionPoint& b = result.Points.back();
    long double m = static_cast<long double>(c.A.M) + c.B.M + b.X * static_cast<long double>(c.B.Fy) -
                    b.Y * static_cast<long double>(c.B.Fx);
    long double scale = std::fabs(c.A.Fx) + std::fabs(c.A.Fy);
    const std::vector<LegDirection> directions = SectionDirections(result.Section);
    for (const SupportForces& s : c.Supports) {
        const LegDirection& d = directions[s.Place.Leg];
        const long double gx = s.FrictionX - d.Sin * static_cast<long double>(s.GuideForce);
        const long double gy = s.FrictionY + d.Cos * static_cast<long double>(s.GuideForce);
        fx += gx;
        fy += gy;
        m += s.Place.X * gy - s.Place.Y * gx;
        scale += std::fabs(gx) + std::fabs(gy);
    }
    EXPECT_NEAR(static_cast<double>(fx), 0, 3e-6 * static_cast<double>(scale) + 1e-9);
    EXPECT_NEAR(static_cast<double>(fy), 0, 3e-6 * static_cast<double>(scale) + 1e-9);
    EXPECT_NEAR(static_cast<double>(m), 0, 3e-6 * static_cast<double>(scale) * result.TotalLength + 1e-9);
}

// Coulomb's law at every support: the friction at most μ·V, exactly μ·V where it slides.
void ExpectCoulomb(const CompensationCase& c, double mu)
{
    for (const SupportForces& s : c.Supports) {
        const double friction = std::hypot(s.FrictionX, s.FrictionY);
        const double limit = mu * s.Place.VerticalLoad;
        EXPECT_LE(friction, limit * (1 + 1e-9) + 1e-9) << s.Place.Leg << ":" << s.Place.Distance;
        if (s.Slides) {
            EXPECT_NEAR(friction, limit, limit * 1e-9);
        }
    }
}

TEST(SectionAsBuilt, GeneratedSectionsWithFrictionObeyStaticsAndCoulomb)
{
    std::mt19937 random(20261209);
    std::uniform_real_distribution<double> length(3, 25);
    std::uniform_int_distribution<int> legs(1, 5);
    std::uniform_int_distribution<int> side(0, 1);
    int sliding = 0;
    int sticking = 0;
    for (int trial = 0; trial < 30; ++trial) {
        CompensationSection section;
        const int count = legs(random);
        for (int k = 0; k < count; ++k) {
            section.Legs.push_back(std::round(length(random) * 10) / 10);
            if (k + 1 < count) {
                section.Turns.push_back(side(random) == 0 ? TurnSide::Left : TurnSide::Right);
            }
        }
        section.BendRadius = trial % 3 == 0 ? 0 : 0.3 * (trial % 4 + 1);
        if (trial % 2 == 0) {
            section.Guides.push_back({0, section.Legs[0] / 2});
        }
        if (!CheckSection(section).Ok()) {
            continue;
        }
        SCOPED_TRACE(SectionRouteText(section, ","));
        CompensationInput input = WithFriction(Pipe159(section), 0.3, 500, 3);
        input.Temperatures = {5, -45, 65};
        const CompensationResult result = Computed(input);
        for (const CompensationCase* c : {&result.Heating, &result.Cooling}) {
            ExpectEquilibrium(*c, result);
            ExpectCoulomb(*c, 0.3);
            sliding += static_cast<int>(c->SlidingSupports);
            sticking += static_cast<int>(c->StickingSupports);
        }
    }
    // The generated sections have supports of both kinds.
    EXPECT_GT(sliding, 10);
    EXPECT_GT(sticking, 10);
}

TEST(SectionAsBuilt, VanishingFrictionIsTheFrictionlessFrame)
{
    for (const double radius : {0.0, 0.2385}) {
        CompensationInput input = WithFriction(Pipe159(Route("20 Л 3 П 4 П 3 Л 20", radius)), 0, 500, 3);
        input.Section.Guides = {{0, 16}};
        input.Temperatures = {0, -50, 40};
        const CompensationResult none = Computed(input);
        input.Friction = 1e-9;
        const CompensationResult tiny = Computed(input);
        for (const bool heating : {true, false}) {
            const CompensationCase& a = none.Of(heating);
            const CompensationCase& b = tiny.Of(heating);
            EXPECT_EQ(a.FrictionSteps, 0);
            EXPECT_GT(b.FrictionSteps, 0);
            ExpectWithin(b.A.Fx, a.A.Fx, 1e-5, "Fx");
            ExpectWithin(b.A.M, a.A.M, 1e-5, "M");
            ExpectWithin(b.MaxStress, a.MaxStress, 1e-5, "σ");
        }
        // μ = 0 is the frame without any support but the guide: the same forces to the last bits
        // but rounding.
        input.Friction = 0;
        input.Section.SupportStep.reset();
        input.VerticalLoadSP.reset();
        input.TotalLoadSNiP.reset();
        const CompensationResult bare = Computed(input);
        ExpectWithin(bare.Cooling.A.Fx, none.Cooling.A.Fx, 1e-12, "bare Fx");
    }
    // Sharp and frictionless without guides: the force method, whatever the supports.
    CompensationInput sharp = WithFriction(Pipe159(Route("20 Л 3 П 4 П 3 Л 20")), 0, 500, 3);
    CompensationInput bare = Pipe159(Route("20 Л 3 П 4 П 3 Л 20"));
    EXPECT_EQ(Computed(sharp).Cooling.A.Fx, Computed(bare).Cooling.A.Fx);
}

TEST(SectionAsBuilt, FrictionFollowsTheTemperaturePathToATenthOfAPercent)
{
    CompensationInput input = WithFriction(Pipe159(Route("20 Л 3 П 4 П 3 Л 20", 0.2385)), 0.3, 500, 3);
    input.Temperatures = {0, -50, 50};
    const CompensationResult result = Computed(input);
    EXPECT_FALSE(result.FrictionMethod.empty());
    EXPECT_NE(result.FrictionMethod.find("0,1 %"), std::string::npos);
    // Friction of sliding supports resists the loop's movement: the fixed supports carry more.
    const CompensationResult frictionless = Computed(WithFriction(input, 0, 500, 3));
    EXPECT_GT(std::fabs(result.Cooling.A.Fx), std::fabs(frictionless.Cooling.A.Fx));
    // Heating and cooling by the same Δt: the friction turns with the movement.
    ExpectWithin(result.Heating.A.Fx, -result.Cooling.A.Fx, 1e-3, "antisymmetric");
    // Every set of rules with its own q: SNiP's larger load gives larger friction.
    ASSERT_TRUE(result.SP && result.SNiP);
    EXPECT_GT(result.SNiP->Cooling.A.Along, result.SP->Cooling.A.Along);
    ExpectWithin(result.SP->Cooling.A.Along, std::fabs(result.Cooling.A.Fx), 1e-12, "SP along");
}

TEST(SectionAsBuilt, SupportsAtTheStepWithTheirLoads)
{
    // 20 + 3 + 4 + 3 + 20 at a step of 4 m: 5 + 1 + 1 + 1 + 5 spans, a support at every corner.
    CompensationSection section = Route("20 Л 3 П 4 П 3 Л 20", 0.2385);
    section.Guides = {{0, 16}, {4, 2}};
    section.SupportStep = 4;
    const SectionSupports placed = PlaceSupports(section, {});
    EXPECT_TRUE(placed.Problem.empty()) << placed.Problem;
    EXPECT_FALSE(placed.Rules);
    const std::vector<SupportPlace> places = LoadedSupports(placed.Places, 1000);
    // 4 + 4 corners + 4 and the guide at 2 m of the last leg; the guide at 16 m of the first leg
    // takes the place of the support there.
    ASSERT_EQ(places.size(), 13U);
    EXPECT_EQ(places[3].Kind, SupportKind::Guide);
    EXPECT_EQ(places[3].Distance, 16);
    EXPECT_EQ(places[4].Distance, 20);  // the first corner
    EXPECT_TRUE(places[4].Corner);
    EXPECT_TRUE(places[4].OnBend);
    // The middle of the bend: R·(1 − cos 45°) in from the intersection on either axis.
    EXPECT_NEAR(places[4].X, 20 - 0.2385 * (1 - std::sqrt(0.5)), 1e-12);
    EXPECT_NEAR(places[4].Y, 0.2385 * (1 - std::sqrt(0.5)), 1e-12);
    // The guide at 2 m of the last leg stands between the corner and the first support at 4 m.
    EXPECT_EQ(places[8].Kind, SupportKind::Guide);
    EXPECT_EQ(places[8].Leg, 4U);
    // Each leg a beam of its own: the first of five spans of 4 m, the last of six (2, 2, 4, 4, 4,
    // 4 m with the guide); an intermediate support takes the most loaded factor of its beam's
    // count × q × the mean of its two spans; a corner k_e × q × the span next to it of each leg.
    const double k5 = *ContinuousBeamFactors(4).Intermediate;
    const double k6 = *ContinuousBeamFactors(5).Intermediate;
    EXPECT_NE(k5, k6);
    EXPECT_NEAR(places[0].VerticalLoad, k5 * 1000 * 4, 1e-9);
    EXPECT_NEAR(places[8].VerticalLoad, k6 * 1000 * (2 + 2) / 2, 1e-9);
    EXPECT_NEAR(places[4].VerticalLoad,
                1000 * (ContinuousBeamFactors(4).End * 4 + ContinuousBeamFactors(0).End * 3), 1e-9);
    ASSERT_EQ(placed.Beams.size(), 5U);
    EXPECT_EQ(placed.Beams[4].Spans, 6);
    EXPECT_EQ(placed.Beams[4].LongestSpan, 4);
    double carried = 0;
    for (const SupportPlace& place : places) {
        carried += place.Span;
    }
    EXPECT_NEAR(carried, 50 - (4 + 4) / 2.0, 1e-12);  // all but the halves next to A and B
}

TEST(SectionAsBuilt, StressPartsAtTheGoverningPoint)
{
    CompensationInput input = WithFriction(Pipe159(Route("20 Л 3 П 4 П 3 Л 20", 0.2385)), 0, 400, 4);
    input.Pressure = 0.6;
    const CompensationResult result = Computed(input);
    const StressParts& parts = result.Cooling.Stress;
    // p·d/(4·t) = 0,6·150/18 = 5 MPa.
    EXPECT_NEAR(parts.Pressure, 5, 1e-12);
    const double modulus = kPi * (std::pow(0.159, 4) - std::pow(0.15, 4)) / (32 * 0.159);
    EXPECT_EQ(parts.WeightSpan, 4);
    EXPECT_NEAR(parts.Weight, 400 * 16 / 12.0 / modulus / 1e6, 1e-9);
    EXPECT_EQ(parts.Temperature, result.Cooling.MaxStress);
    EXPECT_NEAR(parts.Total, parts.Pressure + parts.Weight + parts.Temperature, 1e-12);
}

TEST(SectionAsBuilt, StressCheckAtExactlyTheAllowable)
{
    CompensationInput input = Pipe159(Route("20 Л 3 П 4 П 3 Л 20", 0.2385));
    const double stress = Computed(input).Cooling.MaxStress;
    struct Case {
        double Allowable;
        bool Passes;
    };
    for (const Case& c : {Case{stress, true}, Case{std::nextafter(stress, 0.0), false},
                          Case{std::nextafter(stress, 1e9), true}}) {
        input.AllowableStress = c.Allowable;
        ASSERT_TRUE(Computed(input).Stress);
        EXPECT_EQ(Computed(input).Stress->Passes, c.Passes) << c.Allowable;
    }
}

TEST(SectionAsBuilt, TemperatureBoundaries)
{
    CompensationInput input = Pipe159(Route("12 П 7", 0.5));
    // t_min = t_max = t_з: nothing moves and no force.
    input.Temperatures = {20, 20, 20};
    const CompensationResult still = Computed(input);
    EXPECT_EQ(still.Heating.A.Fx, 0);
    EXPECT_EQ(still.Cooling.MaxStress, 0);
    struct Case {
        CompensationTemperatures T;
        CompensationRefusal Refusal;
    };
    const Case cases[] = {
        {{20, std::nextafter(20.0, 30.0), 20}, CompensationRefusal::MinAboveMax},
        {{-10, 0, 40}, CompensationRefusal::ClosingOutsideRange},
        {{std::nextafter(40.0, 50.0), 0, 40}, CompensationRefusal::ClosingOutsideRange},
        {{0, 0, 40}, CompensationRefusal::None},
        {{40, 0, 40}, CompensationRefusal::None},
    };
    for (const Case& c : cases) {
        input.Temperatures = c.T;
        EXPECT_EQ(ComputeCompensation(input).Refusal, c.Refusal) << c.T.Closing << " " << c.T.Min;
    }
    const TemperaturesReading read = ReadTemperatures("-10", "0", "40", ",");
    EXPECT_EQ(read.Refusal, CompensationRefusal::ClosingOutsideRange);
    EXPECT_EQ(read.Message, "Температура замыкания t_з = −10 °C должна быть не ниже наименьшей "
                            "температуры стенки t_min = 0 °C и не выше наибольшей t_max = 40 °C");
}

TEST(SectionAsBuilt, RefusalsOfRadiusStepAndGuides)
{
    struct Case {
        const char* Radius;
        const char* Step;
        const char* Guides;
        CompensationRefusal Refusal;
        const char* Message;  // empty: read
    };
    const Case cases[] = {
        {"", "", "", CompensationRefusal::None, ""},
        {"0", "", "", CompensationRefusal::None, ""},
        {"238,5", "4", "1:16; 5:4", CompensationRefusal::None, ""},
        // A middle leg of 3 m holds two tangents of 1,5 m exactly; 1500,001 mm does not fit.
        {"1500", "", "", CompensationRefusal::None, ""},
        {"1500,001", "", "", CompensationRefusal::RadiusDoesNotFit,
         "Участок «У»: отводы радиусом 1500,001 мм не помещаются на плече 2: две касательные "
         "отвода по 1,500001 м длиннее плеча 3 м"},
        {"-1", "", "", CompensationRefusal::RadiusNegative,
         "Участок «У»: радиус отводов не может быть отрицательным (введено «-1»)"},
        {"abc", "", "", CompensationRefusal::RadiusNotANumber,
         "Участок «У»: радиус отводов должен быть числом (введено «abc»)"},
        {"100001", "", "", CompensationRefusal::RadiusTooLarge,
         "Участок «У»: радиус отводов должен быть не больше 100 000 мм (введено «100001»)"},
        {"", "0", "", CompensationRefusal::StepNotPositive,
         "Участок «У»: шаг скользящих опор должен быть больше нуля (введено «0»)"},
        {"", "-2", "", CompensationRefusal::StepNotPositive,
         "Участок «У»: шаг скользящих опор должен быть больше нуля (введено «-2»)"},
        {"", "x", "", CompensationRefusal::StepNotANumber,
         "Участок «У»: шаг скользящих опор должен быть числом (введено «x»)"},
        {"", "", "2-4", CompensationRefusal::GuideUnreadable,
         "Участок «У»: направляющая опора записывается как ПЛЕЧО:РАССТОЯНИЕ, например «2:4» "
         "(введено «2-4»)"},
        {"", "", "6:4", CompensationRefusal::GuideNoSuchLeg,
         "Участок «У»: направляющая опора — на участке нет плеча 6 (введено «6:4»)"},
        {"", "", "1:20", CompensationRefusal::GuideOffLeg,
         "Участок «У»: направляющая опора 1:20 — расстояние должно быть больше нуля и меньше "
         "длины плеча 1, 20 м"},
        {"", "", "1:0", CompensationRefusal::GuideOffLeg,
         "Участок «У»: направляющая опора 1:0 — расстояние должно быть больше нуля и меньше "
         "длины плеча 1, 20 м"},
        {"500", "", "2:0,4", CompensationRefusal::GuideOnBend,
         "Участок «У»: направляющая опора 2:0,4 стоит на отводе: отвод занимает 0,5 м от начала "
         "плеча"},
        {"500", "", "1:19,6", CompensationRefusal::GuideOnBend,
         "Участок «У»: направляющая опора 1:19,6 стоит на отводе: отвод занимает 0,5 м от конца "
         "плеча"},
        {"500", "", "1:19,5; 2:0,5", CompensationRefusal::None, ""},
    };
    for (const Case& c : cases) {
        SectionTexts texts = SectionToTexts(Route("20 Л 3 П 4 П 3 Л 20"), ",");
        texts.Name = "У";
        texts.BendRadius = c.Radius;
        texts.SupportStep = c.Step;
        texts.Guides = c.Guides;
        const SectionReading reading = ReadSectionTexts(texts, ",");
        EXPECT_EQ(reading.Refusal, c.Refusal) << c.Radius << " " << c.Step << " " << c.Guides;
        EXPECT_EQ(reading.Message, c.Message);
        if (reading.Ok()) {
            // Written back and read again: the same section.
            const SectionReading again = ReadSectionTexts(SectionToTexts(*reading.Section, ","), ",");
            ASSERT_TRUE(again.Ok()) << again.Message;
            EXPECT_EQ(*again.Section, *reading.Section);
        }
    }
    // A file without radii opens with sharp corners.
    SectionTexts old = SectionToTexts(Route("12 П 7"), ",");
    EXPECT_EQ(old.BendRadius, "");
    EXPECT_EQ(ReadSectionTexts(old, ",").Section->BendRadius, 0);
}

}  // namespace
}  // namespace korvelin
