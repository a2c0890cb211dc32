#include "support/child_run.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <iostream>

ChildRun runInChild(const std::function<int()>& body, double seconds) {
    ChildRun run;
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return run;
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) {
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        return run;
    }
    if (child == 0) {
        close(pipeEnds[0]);
        dup2(pipeEnds[1], STDOUT_FILENO);
        dup2(pipeEnds[1], STDERR_FILENO);
        close(pipeEnds[1]);
        const int status = body();
        std::cout.flush();
        std::cerr.flush();
        std::fflush(nullptr);
        std::_Exit(status);
    }
    close(pipeEnds[1]);
    // Read as it comes, so that a child writing much never waits on a full pipe.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    bool open = true;
    while (open && std::chrono::steady_clock::now() < deadline) {
        pollfd ready{pipeEnds[0], POLLIN, 0};
        if (poll(&ready, 1, 50) <= 0) continue;
        char buffer[4096];
        const ssize_t n = read(pipeEnds[0], buffer, sizeof buffer);
        if (n > 0) {
            run.output.append(buffer, static_cast<size_t>(n));
        } else {
            open = false;  // every writer is gone: the child ended
        }
    }
    int waitStatus = 0;
    pid_t done = 0;
    while (done == 0 && std::chrono::steady_clock::now() < deadline) {
        done = waitpid(child, &waitStatus, WNOHANG);
        if (done == 0) usleep(10000);
    }
    if (done != child) {
        kill(child, SIGKILL);
        waitpid(child, &waitStatus, 0);
    } else {
        run.ended = true;
        run.status = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
    }
    close(pipeEnds[0]);
    return run;
}

bool becomeNobody() {
    if (geteuid() != 0) return true;
    return setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0;
}
