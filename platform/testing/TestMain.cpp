// Main of every test executable: a GUI application on the offscreen
// platform, with the error box replaced by a capture so nothing blocks.
#include "ErrorCapture.h"
#include "platform/Application.h"

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::Application app(argc, argv);
    platform::testsupport::ErrorCapture errors;
    return RUN_ALL_TESTS();
}
