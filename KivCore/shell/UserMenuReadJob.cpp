#include "shell/UserMenuReadJob.h"

namespace kiv {

JobOutcome UserMenuReadJob::run(JobControl&)
{
    m_menu = UserMenuStore::load();
    m_path = UserMenuStore::menuFilePath();
    return { JobOutcome::End::completed, "Read" };
}

} // namespace kiv
