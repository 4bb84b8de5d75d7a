#include "quickview/QuickViewText.h"

#include "text/KivFormat.h"

namespace kiv::QuickViewText {

namespace {

std::string bytes(std::int64_t count)
{
    return KivFormat::grouped(count) + (count == 1 ? " byte" : " bytes");
}

std::string fileHeading(const QuickSummary& summary, const char* form)
{
    std::string heading = "File, " + bytes(summary.size) + ", " + form;
    if (std::int64_t(summary.bytesRead) < summary.size)
        heading.append(": the first ").append(bytes(std::int64_t(summary.bytesRead)));
    return heading + "\n\n" + summary.content;
}

std::string counts(const QuickSummary& summary, const char* files)
{
    std::string text = KivFormat::grouped(summary.files) + " " + files + ", "
        + KivFormat::grouped(summary.folders) + " folders\n" + bytes(summary.size) + " ("
        + KivFormat::humanSize(summary.size) + ")";
    if (summary.unreadableFolders > 0)
        text.append("\n")
            .append(KivFormat::grouped(summary.unreadableFolders))
            .append(" folder(s) could not be read, the last: ")
            .append(summary.problem);
    return text;
}

std::string body(const QuickSummary& summary)
{
    using Kind = QuickSummary::Kind;
    switch (summary.kind) {
    case Kind::text:
        return fileHeading(summary, "text");
    case Kind::hexDump:
        return fileHeading(summary, "binary");
    case Kind::folder:
        return std::string("Folder\n\n").append(counts(summary, "files"));
    case Kind::archive:
        return std::string("Archive, ").append(summary.format).append("\n\n").append(counts(summary, "members"));
    case Kind::special:
        return std::string("A ").append(summary.format).append(
            ": never opened here, since reading it could wait forever or take from it.");
    case Kind::unreadable:
        return std::string("Can't read it: ").append(summary.problem);
    }
    return {};
}

} // namespace

std::string of(const QuickSummary& summary)
{
    const std::string text = body(summary);
    if (summary.linkTarget.empty())
        return text;
    return std::string("Link to ").append(summary.linkTarget).append("\n").append(text);
}

std::string counting(std::int64_t items)
{
    return std::string("Counting... ").append(KivFormat::grouped(items)).append(" items (Tab, then Esc, stops it)");
}

} // namespace kiv::QuickViewText
