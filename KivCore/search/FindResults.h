#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

namespace kiv {

// What a search has found so far, filled on the job's thread and read from any other while it
// runs. Only grows.
class FindResults
{
public:
    // One item found. A member of an archive has the archive's path as `folder` and its folder
    // inside the archive ("" or "docs/") as `insideArchive`.
    struct Hit
    {
        std::string folder;
        std::string name;
        bool inArchive = false;
        std::string insideArchive;

        bool operator==(const Hit&) const = default;
    };

    // Adds a hit.
    void addHit(Hit hit);
    // Adds what could not be searched, as the text for the user ("Permission denied: /x").
    void addRefusal(std::string text);

    // Returns the hits from the `from`th on, in the order found.
    std::vector<Hit> hitsFrom(std::size_t from) const;
    // Returns how many hits there are.
    std::size_t hitCount() const;
    // Returns every refusal, in the order met.
    std::vector<std::string> refusals() const;

private:
    mutable std::mutex m_mutex;
    std::vector<Hit> m_hits;
    std::vector<std::string> m_refusals;
};

} // namespace kiv
