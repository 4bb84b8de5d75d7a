#pragma once

#include <locale.h>

namespace kiv {

// While it lives, the calling thread reads characters as UTF-8, whatever the process's locale.
// The archive library converts names flagged as UTF-8 into the thread's character set, and in
// the "C" locale it cannot: such names would come back empty. Under UTF-8 they come back as the
// stored bytes, and names without a flag are not converted at all. Where no UTF-8 locale is
// installed it changes nothing.
class Utf8NameLocale
{
public:
    Utf8NameLocale();
    ~Utf8NameLocale();
    Utf8NameLocale(const Utf8NameLocale&) = delete;
    Utf8NameLocale& operator=(const Utf8NameLocale&) = delete;

private:
    locale_t m_utf8 = nullptr;
    locale_t m_previous = nullptr;
};

} // namespace kiv
