// Shared main of the test executables: a Qt application object of the
// layer's kind (widget tests need QApplication), then GoogleTest.
#include <gtest/gtest.h>

#include ORVANE_TEST_APP_HEADER

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ORVANE_TEST_APP app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
