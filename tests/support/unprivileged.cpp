#include "support/unprivileged.h"

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tessaly {

User unprivilegedUser() {
    if (::geteuid() != 0) return {::getuid(), ::getgid()};
    const passwd* nobody = ::getpwnam("nobody");
    return nobody ? User{nobody->pw_uid, nobody->pw_gid} : User{65534, 65534};
}

namespace {

void writeAll(int fd, const std::string& text) {
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

} // namespace

std::string runUnprivileged(const std::function<std::string()>& body) {
    const User user = unprivilegedUser();
    int channel[2];
    if (::pipe(channel) != 0) return "<no pipe>";
    const pid_t child = ::fork();
    if (child < 0) return "<no fork>";
    if (child == 0) {
        ::close(channel[0]);
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(user.gid) != 0 || ::setuid(user.uid) != 0)) {
            writeAll(channel[1], "<could not become nobody>");
            ::_exit(1);
        }
        writeAll(channel[1], body());
        ::_exit(0); // no atexit handlers, gtest's or the sanitizers', in the copy
    }
    ::close(channel[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(n));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        text += "<child ended with status " + std::to_string(status) + ">";
    return text;
}

} // namespace tessaly
