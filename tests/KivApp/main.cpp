#include "DialogDriver.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {

// Nothing a test queued or opened outlives it, so one failing test cannot fail the ones after it.
class TestDialogsFinisher : public ::testing::EmptyTestEventListener
{
    void OnTestEnd(const ::testing::TestInfo&) override { kiv::test::finishTestDialogs(); }
};

} // namespace

// Widget tests need one application object for the whole run, created before any test. They run
// without a display unless told otherwise, also when only listed.
int main(int argc, char* argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new TestDialogsFinisher);
    kiv::test::watchDialogs();
    return RUN_ALL_TESTS();
}
