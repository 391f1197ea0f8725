// The payload tests look resources up exactly as the host setup does, so the
// embedded install set is in place before the first test.
#include <gtest/gtest.h>

#include "setup/entry/EmbeddedInstallSet.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    installEmbeddedInstallSet();
    return RUN_ALL_TESTS();
}
