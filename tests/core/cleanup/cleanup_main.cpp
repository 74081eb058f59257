#include "tempdir.h"
#include "trashhome.h"

#include <gtest/gtest.h>

int main(int argc, char **argv) {
    // First thing, so that every thread started later shares the private
    // namespace and no mount made by a test can reach the host.
    twinsift::testing::enterPrivateMountNamespace();
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new twinsift::testing::TrashHome);
    return RUN_ALL_TESTS();
}
