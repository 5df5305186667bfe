#pragma once

// The built tool as a child process, for tests of signals, kills and concurrent runs.
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#ifndef TAVRIN_CLI_PATH
#error "TAVRIN_CLI_PATH must name the built tavrin-cli"
#endif

extern char** environ;

namespace tavrin::cli::test_support {

// Polls until done() holds; a bound against hanging, not a timing check.
template <typename Done> bool waitUntil(Done done) {
    for (int k = 0; k < 30000; ++k) {
        if (done()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

struct Child {
    pid_t pid = -1;

    // stdout goes to outFd (-1: the file out), stderr to the file err.
    Child(const std::vector<std::string>& arguments, const std::filesystem::path& out,
          const std::filesystem::path& err, int outFd = -1) {
        std::vector<char*> argv{const_cast<char*>(TAVRIN_CLI_PATH)};
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (outFd >= 0) {
            posix_spawn_file_actions_adddup2(&actions, outFd, STDOUT_FILENO);
        } else {
            posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(),
                                             O_WRONLY | O_CREAT | O_TRUNC, 0644);
        }
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        EXPECT_EQ(posix_spawn(&pid, TAVRIN_CLI_PATH, &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
    }

    // The raw wait status.
    int wait() {
        if (!m_ended) {
            waitpid(pid, &m_status, 0);
            m_ended = true;
        }
        return m_status;
    }
    bool ended() {
        m_ended = m_ended || waitpid(pid, &m_status, WNOHANG) == pid;
        return m_ended;
    }

    // The tool catches SIGINT once main has installed its handlers.
    bool catchesStopSignals() const {
        std::ifstream status("/proc/" + std::to_string(pid) + "/status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.rfind("SigCgt:", 0) == 0) {
                const unsigned long long mask = std::stoull(line.substr(7), nullptr, 16);
                return (mask >> (SIGINT - 1) & 1u) != 0;
            }
        }
        return false;
    }

private:
    bool m_ended = false;
    int m_status = 0;
};

} // namespace tavrin::cli::test_support
