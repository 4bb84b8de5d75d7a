#include "shell/UserMenuItem.h"

#include "base/Uuid.h"

namespace kiv {

UserMenuItem::UserMenuItem(std::string hotkey, std::string label, std::string command)
    : hotkey(std::move(hotkey))
    , label(std::move(label))
    , command(std::move(command))
    , m_id(Uuid::randomString())
{
}

} // namespace kiv
