// Names each case of a parameterised test after its table entry's `name`.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace lyrinth::test {

struct CaseName {
    template <typename Case>
    std::string operator()(const ::testing::TestParamInfo<Case>& tested) const {
        return tested.param.name;
    }
};

} // namespace lyrinth::test
