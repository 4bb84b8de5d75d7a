#include "base/KivError.h"

namespace kiv {

namespace {

std::string describe(KivError::Case errorCase, const std::string& payload)
{
    switch (errorCase) {
    case KivError::Case::notADirectory:
        return "Not a directory: " + payload;
    case KivError::Case::alreadyExists:
        return "Already exists: " + payload;
    case KivError::Case::operationFailed:
        break;
    }
    return payload;
}

} // namespace

KivError::KivError(Case errorCase, std::string payload)
    : m_case(errorCase)
    , m_payload(std::move(payload))
    , m_description(describe(m_case, m_payload))
{
}

} // namespace kiv
