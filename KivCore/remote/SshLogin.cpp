#include "remote/SshLogin.h"

#include "jobs/JobCancelled.h"
#include "jobs/JobControl.h"
#include "remote/RemoteError.h"
#include "remote/SshOption.h"

#include <cstring>
#include <libssh/callbacks.h>
#include <libssh/libssh.h>
#include <optional>

namespace kiv::SshLogin {

namespace {

// Tries each as often as OpenSSH's NumberOfPasswordPrompts allows by default.
constexpr int attempts = 3;

// Overwrites a secret before its memory is given back.
void wipe(std::string& secret)
{
    volatile char* bytes = secret.data();
    for (std::size_t index = 0; index < secret.size(); ++index)
        bytes[index] = 0;
    secret.clear();
}

struct Asking
{
    JobControl& control;
    const std::string& where;
    bool cancelled = false;

    // The typed answer, or nothing when cancelled (and remembered as such).
    std::optional<std::string> ask(const std::string& prompt, bool echoes)
    {
        JobQuestion question;
        question.kind = JobQuestion::Kind::secret;
        question.source.path = where;
        question.message = prompt;
        question.echoesReply = echoes;
        auto typed = control.askText(question);
        if (!typed)
            cancelled = true;
        return typed;
    }

    void throwIfCancelled() const
    {
        if (cancelled || control.isCancelled())
            throw JobCancelled();
    }
};

// libssh asks for a key's passphrase through this.
int passphraseCallback(const char* prompt, char* buffer, std::size_t length, int echo, int, void* userdata)
{
    auto& asking = *static_cast<Asking*>(userdata);
    if (asking.cancelled)
        return -1;
    std::string text = prompt ? prompt : "Passphrase:";
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    auto typed = asking.ask(text, echo != 0);
    if (!typed || typed->size() + 1 > length) {
        if (typed)
            wipe(*typed);
        return -1;
    }
    std::memcpy(buffer, typed->c_str(), typed->size() + 1);
    wipe(*typed);
    return 0;
}

bool tryKeys(ssh_session session, Asking& asking)
{
    ssh_callbacks_struct callbacks {};
    callbacks.userdata = &asking;
    callbacks.auth_function = passphraseCallback;
    ssh_callbacks_init(&callbacks);
    ssh_set_callbacks(session, &callbacks);
    // The agent first, then the default and configured identities.
    const int result = ssh_userauth_publickey_auto(session, nullptr, nullptr);
    ssh_callbacks_struct none {};
    ssh_callbacks_init(&none);
    ssh_set_callbacks(session, &none);
    asking.throwIfCancelled();
    return result == SSH_AUTH_SUCCESS;
}

// Answers one round of keyboard-interactive prompts; false when cancelled.
bool answerPrompts(ssh_session session, Asking& asking, const std::string& refusal)
{
    const int count = ssh_userauth_kbdint_getnprompts(session);
    for (int index = 0; index < count; ++index) {
        char echo = 0;
        const char* prompt = ssh_userauth_kbdint_getprompt(session, static_cast<unsigned>(index), &echo);
        std::string text = refusal + (prompt ? prompt : "");
        const std::string instruction = ssh_userauth_kbdint_getinstruction(session);
        if (!instruction.empty())
            text = instruction + "\n" + text;
        auto typed = asking.ask(text, echo != 0);
        if (!typed)
            return false;
        ssh_userauth_kbdint_setanswer(session, static_cast<unsigned>(index), typed->c_str());
        wipe(*typed);
    }
    return true;
}

bool tryKeyboardInteractive(ssh_session session, Asking& asking)
{
    for (int attempt = 0; attempt < attempts; ++attempt) {
        const std::string refusal = attempt > 0 ? "Permission denied, please try again.\n" : "";
        int result = ssh_userauth_kbdint(session, nullptr, nullptr);
        while (result == SSH_AUTH_INFO) {
            if (!answerPrompts(session, asking, refusal))
                asking.throwIfCancelled();
            result = ssh_userauth_kbdint(session, nullptr, nullptr);
        }
        if (result == SSH_AUTH_SUCCESS)
            return true;
        if (result == SSH_AUTH_ERROR)
            return false;
    }
    return false;
}

bool tryPassword(ssh_session session, Asking& asking, const std::string& user)
{
    for (int attempt = 0; attempt < attempts; ++attempt) {
        const std::string refusal = attempt > 0 ? "Permission denied, please try again.\n" : "";
        auto typed = asking.ask(refusal + user + "'s password:", false);
        asking.throwIfCancelled();
        const int result = ssh_userauth_password(session, nullptr, typed->c_str());
        wipe(*typed);
        if (result == SSH_AUTH_SUCCESS)
            return true;
        if (result == SSH_AUTH_ERROR)
            return false;
    }
    return false;
}

} // namespace

void logIn(ssh_session session, JobControl& control, const std::string& where)
{
    Asking asking { control, where };
    if (ssh_userauth_none(session, nullptr) == SSH_AUTH_SUCCESS)
        return;
    const int methods = ssh_userauth_list(session, nullptr);
    if ((methods & SSH_AUTH_METHOD_PUBLICKEY) && tryKeys(session, asking))
        return;
    if ((methods & SSH_AUTH_METHOD_INTERACTIVE) && tryKeyboardInteractive(session, asking))
        return;
    if ((methods & SSH_AUTH_METHOD_PASSWORD) && tryPassword(session, asking, SshOption::text(session, SSH_OPTIONS_USER)))
        return;
    control.throwIfCancelled();
    throw RemoteError(RemoteError::Case::loginRefused, "Permission denied: cannot log in to " + where);
}

} // namespace kiv::SshLogin
