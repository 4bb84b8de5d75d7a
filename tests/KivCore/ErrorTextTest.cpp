#include "base/ErrorText.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace kiv {

TEST(ErrorTextTest, PlatformErrorsReadAsSystemMessageAndPath)
{
    std::exception_ptr thrown;
    try {
        throwSystemError(EACCES, "/root/x");
    } catch (...) {
        thrown = std::current_exception();
    }
    EXPECT_EQ(userMessage(thrown), "Permission denied: /root/x");
}

} // namespace kiv
