#pragma once

#include "rename/NameCase.h"
#include "rename/NameMask.h"
#include "rename/NameReplace.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace kiv {

// How a multi-rename makes each new name: the mask, then the search and replace, then the case.
struct RenameRule
{
    NameMask mask { "[N].[E]" };
    std::int64_t counterStart = 1;
    std::int64_t counterStep = 1;
    std::optional<NameReplace> replace = std::nullopt;
    NameCase::Choice nameCase = NameCase::Choice::asIs;

    // Returns the new name of `item`, the `index`th item renamed (from 0), whose counter is
    // counterStart + index * counterStep. Throws KivError::operationFailed when the name made by
    // the mask is too long to search.
    std::string newName(const NameSource& item, std::size_t index) const;
};

} // namespace kiv
