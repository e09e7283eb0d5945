#include "emulated_logger.h"

#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

namespace vessor::usbtest {

int runInTestbed(const std::vector<std::string>& command, std::string& output) {
    output.clear();
    if (command.empty())
        return -1;
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return -1;
    std::vector<char*> argv;
    for (const std::string& arg : command)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    // The child inherits LD_PRELOAD and UMOCKDEV_DIR, so its libusb finds the
    // emulated devices; their usbdevfs requests are answered by this process.
    const pid_t child = fork();
    if (child < 0) {
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        return -1;
    }
    if (child == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        execvp(argv[0], argv.data());
        std::perror(argv[0]);
        _exit(127);
    }
    ::close(pipeFds[1]);
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(pipeFds[0], buffer, sizeof buffer)) > 0)
        output.append(buffer, static_cast<std::size_t>(got));
    ::close(pipeFds[0]);
    int status = 0;
    if (waitpid(child, &status, 0) != child)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace vessor::usbtest
