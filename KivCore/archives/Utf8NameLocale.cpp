#include "archives/Utf8NameLocale.h"

#include <initializer_list>

namespace kiv {

Utf8NameLocale::Utf8NameLocale()
{
    // Linux names it C.UTF-8, macOS plain UTF-8.
    for (const char* name : { "C.UTF-8", "UTF-8" }) {
        m_utf8 = ::newlocale(LC_CTYPE_MASK, name, static_cast<locale_t>(nullptr));
        if (m_utf8) {
            m_previous = ::uselocale(m_utf8);
            return;
        }
    }
}

Utf8NameLocale::~Utf8NameLocale()
{
    if (!m_utf8)
        return;
    ::uselocale(m_previous);
    ::freelocale(m_utf8);
}

} // namespace kiv
