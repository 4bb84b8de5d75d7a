#pragma once

#include <exception>

namespace kiv {

// Thrown inside a job when the user cancelled it; the job's own code unwinds to its end, removing
// what it had half made.
class JobCancelled : public std::exception
{
public:
    const char* what() const noexcept override { return "cancelled"; }
};

} // namespace kiv
