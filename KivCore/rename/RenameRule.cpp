#include "rename/RenameRule.h"

namespace kiv {

std::string RenameRule::newName(const NameSource& item, std::size_t index) const
{
    std::string name = mask.apply(item, counterStart + std::int64_t(index) * counterStep);
    if (replace)
        name = replace->apply(name);
    return NameCase::apply(name, nameCase);
}

} // namespace kiv
