// The payload tests look resources up exactly as the host setup does, so the
// embedded install set is in place before the first test.
#include <gtest/gtest.h>

#include "platform/host/entry/EmbeddedInstallSet.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    platform::host::installEmbeddedInstallSet();
    return RUN_ALL_TESTS();
}
