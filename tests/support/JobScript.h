#pragma once

#include "jobs/Job.h"
#include "jobs/JobControl.h"
#include "jobs/JobThread.h"

#include <atomic>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "TempDir.h"

namespace kiv::test {

// Runs a job on the test's thread, answering its questions from a script, as the user would.
class JobScript
{
public:
    // Called with each question before it is answered; it may change the disk (remove the cause
    // of a failure) or cancel the job.
    using Watcher = std::function<void(const JobQuestion&)>;

    explicit JobScript(std::vector<JobAnswer> answers = {}, Watcher watcher = {})
        : m_answers(std::move(answers))
        , m_watcher(std::move(watcher))
    {
        control.setQuestionListener([this] {
            const JobQuestion question = *control.pendingQuestion();
            asked.push_back(question);
            if (m_watcher)
                m_watcher(question);
            if (asked.size() > m_answers.size())
                ADD_FAILURE() << "unexpected question about " << question.source.path << ": "
                              << question.message;
            control.answer(
                asked.size() <= m_answers.size() ? m_answers[asked.size() - 1] : JobAnswer::cancel);
        });
    }

    JobOutcome run(Job&& job) { return JobThread::runHere(job, control); }
    // Runs `job` while another thread waits for it to be a mebibyte into a file and then does `act`
    // (cancels the job when there is none).
    JobOutcome runPastOneMebibyte(Job&& job, const std::function<void()>& act = {})
    {
        std::atomic<bool> done { false };
        std::thread actor([&] {
            while (!done && control.progress().currentBytesDone < 1024 * 1024)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            act ? act() : control.cancel();
        });
        const JobOutcome outcome = run(std::move(job));
        done = true;
        actor.join();
        return outcome;
    }

    JobControl control;
    std::vector<JobQuestion> asked;

private:
    std::vector<JobAnswer> m_answers;
    Watcher m_watcher;
};

// What a folder holds: each path below it with a file's content, a link's target after "-> ",
// "/" for a folder or "(special)" for a special file.
using Tree = std::map<std::string, std::string>;

inline Tree treeOf(const std::string& root)
{
    Tree tree;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(root, error);
         it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        // Lexically: relative() would resolve a link to the place it points to.
        const std::string relative = it->path().lexically_relative(root).string();
        if (it->is_symlink())
            tree[relative] = "-> " + std::filesystem::read_symlink(it->path()).string();
        else if (it->is_directory())
            tree[relative] = "/";
        else if (it->is_regular_file())
            tree[relative] = readFile(it->path().string());
        else
            tree[relative] = "(special)";
    }
    return tree;
}

} // namespace kiv::test
