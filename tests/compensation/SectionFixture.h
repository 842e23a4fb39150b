#pragma once

// What the tests of the compensation build their sections and pipes with.

#include "korvelin/Compensation.h"

#include <gtest/gtest.h>

#include <string_view>
#include <utility>

namespace korvelin::fixture {

// The section of a route text ("20 Л 3 П 4"), its bends of radius `radius` (m).
inline CompensationSection Route(std::string_view route, double radius = 0)
{
    SectionReading reading = ParseSectionRoute(route, ",");
    EXPECT_TRUE(reading.Ok()) << reading.Message;
    CompensationSection section = reading.Section.value_or(CompensationSection{});
    section.BendRadius = radius;
    return section;
}

// The section of a route text on a pipe D×t (m) between the temperatures.
inline CompensationInput PipeInput(std::string_view route, double D, double t,
                                   CompensationTemperatures temperatures)
{
    CompensationInput input;
    input.Section = Route(route);
    input.OuterDiameter = D;
    input.WallThickness = t;
    input.Temperatures = temperatures;
    return input;
}

// 159×4,5, closed at 0 °C, cooled to −50 °C.
inline CompensationInput Pipe159(CompensationSection section)
{
    CompensationInput input;
    input.Section = std::move(section);
    input.OuterDiameter = 0.159;
    input.WallThickness = 0.0045;
    input.Temperatures = {0, -50, 0};
    return input;
}

// The computed section; a refusal fails the test.
inline CompensationResult Computed(const CompensationInput& input)
{
    CompensationOutcome outcome = ComputeCompensation(input);
    EXPECT_TRUE(outcome.Ok()) << outcome.Message;
    return outcome.Result.value_or(CompensationResult{});
}

}  // namespace korvelin::fixture
