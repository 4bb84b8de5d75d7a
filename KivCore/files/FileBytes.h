#pragma once

#include <string>
#include <sys/stat.h>

namespace kiv {
class JobControl;
}

// Copies the bytes of one regular file into another, the way cp does: the kernel copies (or
// shares extents) without the data passing through the program where it can, holes stay holes,
// and the work goes in chunks, so progress is reported and a cancel is seen within one chunk.
namespace kiv::FileBytes {

// Copies the file open as `in`, described by `info`, into the empty file `out`; counts the bytes
// (holes included) on `control` as it goes. Throws the platform error with `fromPath` or
// `toPath`, and JobCancelled when the job is cancelled; `out` is then left partly written.
void copy(int in, int out, const struct stat& info, JobControl& control, const std::string& fromPath,
    const std::string& toPath);

} // namespace kiv::FileBytes
