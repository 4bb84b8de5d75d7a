#include "base/ZoneFile.h"

#include <cstdlib>
#include <unistd.h>

namespace kiv::ZoneFile {

void keepLoaded()
{
    constexpr const char* zoneSetting = ":/etc/localtime"; // ":" then the file, as the C library reads TZ
    if (std::getenv("TZ") == nullptr && ::access(zoneSetting + 1, R_OK) == 0)
        ::setenv("TZ", zoneSetting, 0);
}

} // namespace kiv::ZoneFile
