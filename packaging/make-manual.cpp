// Writes Tavrin's manual page: the template with the keys of the program's command table put in
// place of the line `.\" The keys go here.`, one subsection per place, as F1 tells them.
// Usage: make-manual TEMPLATE OUTPUT

#include "commands/Actions.h"
#include "commands/HelpText.h"

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
    std::string text;
    for (const kiv::HelpText::Section& section : kiv::HelpText::sections(kiv::Actions::all())) {
        text += ".PD\n.SS " + roff(section.heading) + "\n.PD 0\n";
        for (const kiv::HelpText::Line& line : section.lines)
            text += ".TP 16\n\\fB" + roff(line.key) + "\\fR\n" + roff(line.text) + "\n";
    }
    return text + ".PD\n";
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
