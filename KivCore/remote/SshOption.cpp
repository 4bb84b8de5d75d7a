#include "remote/SshOption.h"

namespace kiv::SshOption {

std::string text(ssh_session session, ssh_options_e option)
{
    char* value = nullptr;
    if (ssh_options_get(session, option, &value) != SSH_OK || !value)
        return {};
    std::string result = value;
    ssh_string_free_char(value);
    return result;
}

} // namespace kiv::SshOption
