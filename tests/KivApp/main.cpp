#include <QApplication>
#include <gtest/gtest.h>

// Widget tests need one application object for the whole run, created before any test. They run
// without a display unless told otherwise, also when only listed.
int main(int argc, char* argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
