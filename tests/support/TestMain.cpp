#include <gtest/gtest.h>

#include "tests/support/MeldungRecorder.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    // No test may reach the real message box by accident; unexpected messages show in the recorder.
    MeldungRecorder::installGlobally();
    return RUN_ALL_TESTS();
}
