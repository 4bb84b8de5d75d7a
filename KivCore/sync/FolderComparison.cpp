#include "sync/FolderComparison.h"

#include "base/ErrorText.h"
#include "base/PathString.h"
#include "base/UniqueFd.h"
#include "files/BlockRead.h"
#include "files/DirectoryReader.h"
#include "jobs/JobCancelled.h"
#include "jobs/JobControl.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <set>
#include <unistd.h>
#include <vector>

namespace kiv::FolderComparison {

namespace {

constexpr std::int64_t twoSeconds = 2'000'000'000;
constexpr std::size_t blockSize = 256 * 1024;

// One folder of the walk, open on both sides.
struct FolderPair
{
    DirectoryReader& left;
    DirectoryReader& right;
    const std::string& leftPath;
    const std::string& rightPath;
    const std::string& relative;
};

std::string linkText(int folderFd, const char* name, const std::string& path)
{
    std::vector<char> text(4096);
    const ssize_t length = ::readlinkat(folderFd, name, text.data(), text.size());
    if (length < 0)
        throwSystemError(errno, path);
    return std::string(text.data(), std::size_t(length));
}

UniqueFd openFile(int folderFd, const char* name, const std::string& path)
{
    UniqueFd fd(::openat(folderFd, name, O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (!fd.valid())
        throwSystemError(errno, path);
    return fd;
}

class Comparer
{
public:
    Comparer(Mode mode, JobControl* control)
        : m_mode(mode)
        , m_control(control)
    {
    }

    void compareFolders(const FolderPair& pair);

    std::vector<SyncItem> items;

private:
    void compareItem(const FolderPair& pair, const char* name);
    void enter(const FolderPair& pair, const char* name, const std::string& relative);
    bool alike(const FolderPair& pair, const char* name, const SyncSide& left, const SyncSide& right);
    bool sameBytes(const FolderPair& pair, const char* name);
    void add(std::string relative, const std::optional<SyncSide>& left, const std::optional<SyncSide>& right,
        SyncItem::Difference difference, std::string note = {});

    Mode m_mode;
    JobControl* m_control;
};

void Comparer::add(std::string relative, const std::optional<SyncSide>& left,
    const std::optional<SyncSide>& right, SyncItem::Difference difference, std::string note)
{
    items.push_back(
        { std::move(relative), left, right, difference, SyncItem::proposed(difference), std::move(note) });
}

void Comparer::compareFolders(const FolderPair& pair)
{
    std::set<std::string> names;
    for (DirectoryReader* reader : { &pair.left, &pair.right }) {
        for (DirectoryReader::Item entry; reader->next(entry);)
            names.emplace(entry.name);
    }
    for (const std::string& name : names) {
        if (m_control)
            m_control->throwIfCancelled();
        compareItem(pair, name.c_str());
    }
}

void Comparer::compareItem(const FolderPair& pair, const char* name)
{
    const std::string relative = PathString::appendingComponent(pair.relative, name);
    const std::string leftPath = PathString::appendingComponent(pair.leftPath, name);
    const std::string rightPath = PathString::appendingComponent(pair.rightPath, name);
    if (m_control)
        m_control->beginItem(relative, 0);
    std::optional<SyncSide> left, right;
    try {
        left = SyncSide::at(pair.left.fd(), name, leftPath);
        right = SyncSide::at(pair.right.fd(), name, rightPath);
        if (left && right && left->kind == SyncSide::Kind::folder && right->kind == SyncSide::Kind::folder)
            return enter(pair, name, relative);
        if (!left || !right)
            add(relative, left, right,
                left ? SyncItem::Difference::leftOnly : SyncItem::Difference::rightOnly);
        else if (left->kind != right->kind)
            add(relative, left, right, SyncItem::Difference::conflict);
        else if (!alike(pair, name, *left, *right)) {
            const std::int64_t apart = left->modifiedAt() - right->modifiedAt();
            add(relative, left, right,
                apart >= twoSeconds        ? SyncItem::Difference::leftNewer
                    : apart <= -twoSeconds ? SyncItem::Difference::rightNewer
                                           : SyncItem::Difference::conflict);
        }
    } catch (const JobCancelled&) {
        throw;
    } catch (const std::exception& error) {
        add(relative, left, right, SyncItem::Difference::unreadable, userMessage(error));
    }
    if (m_control)
        m_control->finishItems(1, 0);
}

void Comparer::enter(const FolderPair& pair, const char* name, const std::string& relative)
{
    const std::string leftPath = PathString::appendingComponent(pair.leftPath, name);
    const std::string rightPath = PathString::appendingComponent(pair.rightPath, name);
    DirectoryReader left(pair.left.fd(), name, leftPath, DirectoryReader::FinalLink::refuse);
    DirectoryReader right(pair.right.fd(), name, rightPath, DirectoryReader::FinalLink::refuse);
    compareFolders({ left, right, leftPath, rightPath, relative });
}

bool Comparer::alike(const FolderPair& pair, const char* name, const SyncSide& left, const SyncSide& right)
{
    switch (left.kind) {
    case SyncSide::Kind::link:
        return linkText(pair.left.fd(), name, PathString::appendingComponent(pair.leftPath, name))
            == linkText(pair.right.fd(), name, PathString::appendingComponent(pair.rightPath, name));
    case SyncSide::Kind::file:
        if (left.size != right.size)
            return false;
        if (m_mode == Mode::content)
            return sameBytes(pair, name);
        return std::abs(left.modifiedAt() - right.modifiedAt()) < twoSeconds;
    case SyncSide::Kind::folder:
    case SyncSide::Kind::other:
        break;
    }
    return true;
}

bool Comparer::sameBytes(const FolderPair& pair, const char* name)
{
    const std::string leftPath = PathString::appendingComponent(pair.leftPath, name);
    const std::string rightPath = PathString::appendingComponent(pair.rightPath, name);
    const UniqueFd left = openFile(pair.left.fd(), name, leftPath);
    const UniqueFd right = openFile(pair.right.fd(), name, rightPath);
    std::vector<char> leftBlock(blockSize), rightBlock(blockSize);
    for (;;) {
        if (m_control)
            m_control->throwIfCancelled();
        const std::size_t got = BlockRead::fill(left.get(), leftBlock.data(), blockSize, leftPath);
        if (BlockRead::fill(right.get(), rightBlock.data(), blockSize, rightPath) != got
            || std::memcmp(leftBlock.data(), rightBlock.data(), got) != 0)
            return false;
        if (m_control)
            m_control->addBytes(std::int64_t(got));
        if (got < blockSize)
            return true;
    }
}

} // namespace

std::vector<SyncItem> compare(
    const std::string& leftRoot, const std::string& rightRoot, Mode mode, JobControl* control)
{
    DirectoryReader left(AT_FDCWD, leftRoot.c_str(), leftRoot, DirectoryReader::FinalLink::follow);
    DirectoryReader right(AT_FDCWD, rightRoot.c_str(), rightRoot, DirectoryReader::FinalLink::follow);
    Comparer comparer(mode, control);
    const std::string top;
    comparer.compareFolders({ left, right, leftRoot, rightRoot, top });
    return std::move(comparer.items);
}

} // namespace kiv::FolderComparison
