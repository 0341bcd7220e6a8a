#pragma once

#include <gtest/gtest.h>

#include <string>

#include "VexloError.h"

namespace vexlo::test {

// The message of the VexloError that `call` throws; "no error" (and a test
// failure) when it throws nothing.
template <typename Call>
std::string ErrorOf(Call&& call) {
    try {
        call();
    } catch (const VexloError& error) {
        return error.what();
    }
    ADD_FAILURE() << "no VexloError was thrown";
    return "no error";
}

}  // namespace vexlo::test
