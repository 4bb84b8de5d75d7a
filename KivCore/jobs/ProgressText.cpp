#include "jobs/ProgressText.h"

#include "base/PathString.h"
#include "text/KivFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kiv::ProgressText {

namespace {

std::string repeated(const char* cell, int count)
{
    std::string text;
    for (int index = 0; index < count; ++index)
        text += cell;
    return text;
}

double share(const JobProgress& progress)
{
    // Bytes say more than items where there are bytes: one big file is most of the work.
    if (progress.bytesTotal > 0)
        return double(progress.bytesDone) / double(progress.bytesTotal);
    return progress.itemsTotal > 0 ? double(progress.itemsDone) / double(progress.itemsTotal) : 0.0;
}

std::string clock(double seconds)
{
    const long whole = std::lround(seconds);
    char text[32];
    if (whole >= 3600)
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", whole / 3600, whole / 60 % 60, whole % 60);
    else
        std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    return text;
}

// A job may work before its total is counted (or never count it): nothing to measure against.
bool totalKnown(const JobProgress& progress)
{
    return progress.itemsTotal > 0 || progress.bytesTotal > 0;
}

} // namespace

std::string bar(std::int64_t done, std::int64_t total, int cells)
{
    const int filled = total > 0 ? int(std::clamp(double(done) / double(total), 0.0, 1.0) * cells) : 0;
    return repeated("\u2588", filled) + repeated("\u2591", cells - filled);
}

std::string bytes(const JobProgress& progress)
{
    if (!totalKnown(progress))
        return KivFormat::humanSize(progress.bytesDone);
    return KivFormat::humanSize(progress.bytesDone) + " of " + KivFormat::humanSize(progress.bytesTotal);
}

std::string subject(const std::vector<std::string>& paths)
{
    return paths.size() == 1 ? PathString::lastComponent(paths.front()) : KivFormat::itemCount(std::ssize(paths));
}

std::string items(const JobProgress& progress)
{
    if (progress.phase == JobProgress::Phase::counting)
        return "Counting... " + KivFormat::grouped(progress.itemsTotal) + " items";
    if (!totalKnown(progress))
        return KivFormat::itemCount(progress.itemsDone);
    return KivFormat::grouped(progress.itemsDone) + " of " + KivFormat::itemCount(progress.itemsTotal);
}

std::string pace(const JobProgress& progress, double seconds)
{
    if (progress.phase != JobProgress::Phase::working || seconds <= 0 || progress.bytesDone <= 0)
        return {};
    const double perSecond = double(progress.bytesDone) / seconds;
    if (!totalKnown(progress))
        return KivFormat::humanSize(std::int64_t(perSecond)) + "/s";
    const double left
        = double(std::max<std::int64_t>(progress.bytesTotal - progress.bytesDone, 0)) / perSecond;
    return KivFormat::humanSize(std::int64_t(perSecond)) + "/s, " + clock(left) + " left";
}

int percent(const JobProgress& progress)
{
    if (progress.phase == JobProgress::Phase::counting)
        return 0;
    return int(std::clamp(share(progress), 0.0, 1.0) * 100);
}

} // namespace kiv::ProgressText
