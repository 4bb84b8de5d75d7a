// Writes Tavrin's manual page: the template with the program's key table put in place of the
// line `.\" The keys go here.`, one subsection per place, so the page lists exactly what F1 lists.
// Usage: make-manual TEMPLATE OUTPUT

#include "commands/KeyTable.h"

#include <QCoreApplication>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr std::string_view keysMarker = ".\\\" The keys go here.";

// `text` as roff prints it: backslashes and hyphens escaped, and a line that would start with
// a control character ('.' or '\'') started with a zero-width character instead.
std::string roff(const QString& text)
{
    std::string escaped;
    for (const char c : text.toStdString()) {
        if (c == '\\')
            escaped += "\\e";
        else if (c == '-')
            escaped += "\\-";
        else
            escaped += c;
    }
    if (!escaped.empty() && (escaped.front() == '.' || escaped.front() == '\''))
        escaped.insert(0, "\\&");
    return escaped;
}

// A subsection a place, its keys as a table: the key, then what it does, no space between rows.
std::string keysSection()
{
    std::string section;
    const auto& bindings = kiv::KeyTable::all();
    for (std::size_t at = 0; at < bindings.size(); ++at) {
        const kiv::KeyTable::Binding& binding = bindings[at];
        if (at == 0 || bindings[at - 1].place != binding.place)
            section += ".PD\n.SS " + roff(kiv::KeyTable::placeName(binding.place)) + "\n.PD 0\n";
        section += ".TP 16\n\\fB" + roff(kiv::KeyTable::keyName(binding.key)) + "\\fR\n"
            + roff(binding.action) + "\n";
    }
    return section + ".PD\n";
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv); // names keys as the program does
    if (argc != 3) {
        std::fputs("Usage: make-manual TEMPLATE OUTPUT\n", stderr);
        return 2;
    }
    std::ifstream in(argv[1]);
    std::ostringstream page;
    bool placed = false;
    for (std::string line; std::getline(in, line);) {
        placed = placed || line == keysMarker;
        page << (line == keysMarker ? keysSection() : line + "\n");
    }
    std::ofstream out(argv[2], std::ios::binary);
    out << page.str();
    if (!in.eof() || !placed || !out.flush()) {
        std::fprintf(
            stderr, "make-manual: cannot read %s, find its keys line or write %s\n", argv[1], argv[2]);
        return 1;
    }
    return 0;
}
