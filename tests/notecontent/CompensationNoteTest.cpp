// The note's section on the compensation of a section: the drawing after the heading, the method
// with the run's values put in, the tables of results, the friction and the checks when given.

#include "korvelin/CompensationNote.h"
#include "korvelin/NumberFormat.h"

#include <gtest/gtest.h>

namespace korvelin {
namespace {

CompensationResult Example(std::string_view route, bool friction, bool checks)
{
    CompensationInput input;
    input.Section = *ParseSectionRoute(route, ",", "Г-1").Section;
    input.OuterDiameter = 0.089;
    input.WallThickness = 0.0032;
    input.Temperatures = {0, -40, 50};
    if (friction) {
        input.Friction = 0.3;
        input.VerticalLoadSP = 120.5;
        input.TotalLoadSNiP = 250;
    }
    if (checks) {
        input.AllowableStress = 9.3;
        input.ShoeLength = 300;
    }
    return *ComputeCompensation(input).Result;
}

std::string PlainText(const NoteDocument& note) { return NoteToPlainText(note); }

TEST(CompensationNote, MethodWithTheValuesOfTheRun)
{
    NoteDocument note;
    NoteDrawing drawing;
    drawing.Caption = "Рис. 2. Участок Г-1 в плане";
    AddCompensationNote(note, Example("10 Л 5", true, true), ",", drawing);
    ASSERT_GE(note.Blocks.size(), 3U);
    EXPECT_EQ(std::get<NoteHeading>(note.Blocks[0]).Text, "Компенсация температурных деформаций. Г-1");
    EXPECT_EQ(std::get<NoteDrawing>(note.Blocks[1]).Caption, drawing.Caption);

    const std::string text = PlainText(note);
    for (const char* expected : {
             "Участок между неподвижными опорами А и Б: 10 Л 5 (",
             "2\t5\t+y\t10; 0 (1)\t10; 5 (Б)\n",
             "направляющие опоры не моделируются",
             "d = D − 2·t = 0,089 − 2·0,0032 = 0,0826 м;",
             "W = 2·I/D = 2·7,948321·10⁻⁷/0,089 = 1,78614·10⁻⁵ м3;",
             "Δt+ = tmax − tз = 50 °C − 0 °C = 50 °C (нагрев);",
             "δ11 = 0,0017813854 м/Н; δ12 = −0,0015268535 м/Н; δ13 = −0,00038171338 1/Н; δ22 = "
             "0,0020358329 м/Н; δ23 = 0,00030537071 1/Н; δ33 = 9,1611212·10⁻⁵ 1/(Н·м)",
             "Δ1t = α·Δt+·xБ = 1,2·10⁻⁵·50·10 = 0,006 м; Δ2t = α·Δt+·yБ = 1,2·10⁻⁵·50·5 = 0,003 м;",
             "0,0017813854·X1 − 0,0015268535·X2 − 0,00038171338·X3 = −0,006;",
             "X1 = -53,026 Н; X2 = -16,203 Н; X3 = -166,930 Н·м;",
             "MА = −(X3 + xБ·X2 − yБ·X1) = 63,834 Н·м.",
             "Δ1t = α·Δt−·xБ = 1,2·10⁻⁵·(−40)·10 = −0,0048 м;",
             "Опора Б: M, Н·м\t-166,930\t133,544\n",
             "Наибольший момент, Н·м\t-166,930 (опора Б)\t133,544 (опора Б)\n",
             "Наибольшее напряжение σ, МПа\t9,365 (плечо 2, конец)\t7,492 (плечо 2, конец)\n",
             "2\tнагрев\t-16,203\t98,199\t-166,930\n2\tохлаждение\t12,963\t-78,559\t133,544\n",
             "1\t10\t0\t5,997\t-3,000\t-4,798\t2,400\n",
             "Наибольшее напряжение σ = 9,365 МПа (нагрев) > [σ]к = 9,3 МПа — не проходит.",
             "6,705 мм (нагрев, угол 1) ≤ lб/2 = 150 мм, половины длины башмака опоры — проходит.",
         }) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    }
}

// The forces on the fixed supports as the library gives them with the friction of each set of
// rules, a row per set, support and case.
TEST(CompensationNote, ForcesOnTheFixedSupportsOfEachSet)
{
    const CompensationResult r = Example("10 Л 5", true, true);
    NoteDocument note;
    AddCompensationNote(note, r, ",");
    const std::string text = PlainText(note);
    ASSERT_TRUE(r.SP && r.SNiP);
    for (const RuleSetCompensation* set : {&*r.SP, &*r.SNiP}) {
        for (const bool a : {true, false}) {
            for (const bool heating : {true, false}) {
                const DesignForce& force = (heating ? set->Heating : set->Cooling).*(a ? &CaseDesignForces::A : &CaseDesignForces::B);
                const std::string row = std::string(RuleSetName(set->Rules)) + "\t" + (a ? "А" : "Б") + "\t" +
                                        (heating ? "нагрев" : "охлаждение") + "\t" +
                                        FormatFixed3(a ? set->SupportsFriction.A : set->SupportsFriction.B, ",") + "\t" +
                                        FormatFixed3(force.Along, ",") + "\t" + FormatFixed3(force.Across, ",") + "\n";
                EXPECT_NE(text.find(row), std::string::npos) << row;
            }
        }
    }
}

TEST(CompensationNote, WithoutFrictionOrChecksNoVerdict)
{
    NoteDocument note;
    AddCompensationNote(note, Example("20", false, false), ".");
    EXPECT_EQ(std::get<NoteHeading>(note.Blocks[0]).Text, "Компенсация температурных деформаций. Г-1");
    EXPECT_FALSE(std::holds_alternative<NoteDrawing>(note.Blocks[1]));
    const std::string text = PlainText(note);
    EXPECT_NE(text.find("Трение скользящих опор и расчетные горизонтальные силы не определены"), std::string::npos);
    EXPECT_NE(text.find("[σ]к не задано: напряжение приведено без оценки"), std::string::npos);
    EXPECT_NE(text.find("Опора А: Fx, Н\t106611.882\t-85289.506\n"), std::string::npos);
    EXPECT_NE(text.find("Наибольшее напряжение σ, МПа\t123.600 (плечо 1, начало)"), std::string::npos);
    // A straight run has no corners: no table of their movements, no movement check.
    EXPECT_EQ(text.find("Перемещения углов (опоры А и Б неподвижны)"), std::string::npos);
    EXPECT_EQ(text.find("проходит"), std::string::npos);
}

TEST(CompensationNote, LinesForKorvelinCalc)
{
    const std::vector<std::string> lines = CompensationLines(Example("10 Л 5", false, true), ",");
    ASSERT_GE(lines.size(), 4U);
    EXPECT_EQ(lines[0], "Компенсация температурных деформаций. Г-1: 10 Л 5, труба 89×3,2 мм");
    EXPECT_EQ(lines[3], "    Опора Б: Fx = -53,026 Н, Fy = -16,203 Н, M = -166,930 Н·м");
    EXPECT_EQ(lines[lines.size() - 2], "  Напряжение 9,365 МПа, [σ]к = 9,3 МПа: не проходит");
    EXPECT_EQ(lines.back(), "  Перемещение угла 6,705 мм, половина башмака 150 мм: проходит");
}

}  // namespace
}  // namespace korvelin
