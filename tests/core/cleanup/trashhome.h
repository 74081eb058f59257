#pragma once

// A throw-away home folder with its own freedesktop Trash, set up once per
// test process, so that no test ever touches the host's Trash.

#include <gtest/gtest.h>

#include <string>

namespace twinsift::testing {

class TrashHome : public ::testing::Environment {
public:
    void SetUp() override;
    void TearDown() override;

    static std::string trashFiles();
    // Empties the Trash so each test sees only what it moved.
    static void emptyTrash();
};

} // namespace twinsift::testing
