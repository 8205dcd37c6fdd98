#include "document/Rounding.h"

#include <gtest/gtest.h>
#include <utility>

namespace glyfora::document {
namespace {

TEST(RoundHalfToEven, HalvesGoToTheEvenNeighbour) {
    const std::pair<double, double> cases[] = {
        {0.5, 0.0},   {1.5, 2.0},    {2.5, 2.0},    {3.5, 4.0},   {-0.5, -0.0}, {-1.5, -2.0},
        {-2.5, -2.0}, {2.4999, 2.0}, {2.5001, 3.0}, {-2.6, -3.0}, {7.0, 7.0},
    };
    for (const auto& [value, expected] : cases) {
        SCOPED_TRACE(value);
        EXPECT_EQ(RoundHalfToEven(value), expected);
    }
}

} // namespace
} // namespace glyfora::document
