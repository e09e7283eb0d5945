#include "emulated_logger.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <poll.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace vessor::usbtest {

namespace {

struct Child {
    pid_t pid = -1;
    int fd = -1; // the read end of its output
};

// Starts `command` with its standard output (and error, when asked) into a
// pipe. The child inherits LD_PRELOAD and UMOCKDEV_DIR, so its libusb finds
// the emulated devices; their usbdevfs requests are answered by this process.
Child spawn(const std::vector<std::string>& command, bool withErrors) {
    int pipeFds[2];
    if (command.empty() || pipe(pipeFds) != 0)
        return {};
    std::vector<char*> argv;
    for (const std::string& arg : command)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        if (withErrors)
            dup2(pipeFds[1], STDERR_FILENO);
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        execvp(argv[0], argv.data());
        std::perror(argv[0]);
        _exit(127);
    }
    ::close(pipeFds[1]);
    if (pid < 0) {
        ::close(pipeFds[0]);
        return {};
    }
    return {pid, pipeFds[0]};
}

} // namespace

int runInTestbed(const std::vector<std::string>& command, std::string& output) {
    output.clear();
    const Child child = spawn(command, false);
    if (child.pid < 0)
        return -1;
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(child.fd, buffer, sizeof buffer)) > 0)
        output.append(buffer, static_cast<std::size_t>(got));
    ::close(child.fd);
    int status = 0;
    if (waitpid(child.pid, &status, 0) != child.pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<CommandRun> runTogetherInTestbed(const std::vector<std::vector<std::string>>& commands,
                                             int limitSeconds, const std::function<bool()>& startNext) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(limitSeconds);
    std::vector<CommandRun> runs(commands.size());
    std::vector<Child> children;
    for (const std::vector<std::string>& command : commands) {
        while (!children.empty() && startNext && !startNext() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        children.push_back(spawn(command, true));
    }

    for (;;) {
        std::vector<pollfd> open;
        std::vector<std::size_t> owners;
        for (std::size_t i = 0; i < children.size(); ++i) {
            if (children[i].fd >= 0) {
                open.push_back({children[i].fd, POLLIN, 0});
                owners.push_back(i);
            }
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (open.empty() || left.count() <= 0)
            break;
        if (poll(open.data(), open.size(), static_cast<int>(left.count())) < 0)
            break;
        for (std::size_t k = 0; k < open.size(); ++k) {
            if (open[k].revents == 0)
                continue;
            Child& child = children[owners[k]];
            char buffer[4096];
            const ssize_t got = ::read(child.fd, buffer, sizeof buffer);
            if (got > 0) {
                runs[owners[k]].output.append(buffer, static_cast<std::size_t>(got));
            } else {
                ::close(child.fd);
                child.fd = -1;
            }
        }
    }
    for (std::size_t i = 0; i < children.size(); ++i) {
        Child& child = children[i];
        if (child.pid < 0)
            continue;
        const bool late = child.fd >= 0;
        if (late) {
            kill(child.pid, SIGKILL);
            ::close(child.fd);
        }
        int status = 0;
        if (waitpid(child.pid, &status, 0) == child.pid && !late && WIFEXITED(status))
            runs[i].status = WEXITSTATUS(status);
    }
    return runs;
}

} // namespace vessor::usbtest
