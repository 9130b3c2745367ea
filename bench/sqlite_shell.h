// Runs the sqlite3 command-line shell on a script and times it, for the
// benchmarks that compare the table engine with sqlite.
//
// Contract:
//  - One child process per call: `sqlite3 -batch -bail <database>` with the
//    script on standard input and standard output sent to `outputPath`
//    (use "/dev/null" to discard it). The time is the wall clock from before
//    the process is started until it has been waited for.
//  - Throws std::runtime_error when the shell cannot be started or exits with
//    an error (the message holds what it wrote to standard error).
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

extern char** environ;

namespace bench {

inline std::string readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void writeWholeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

// Runs `script` against `database`; returns the elapsed seconds.
inline double runSqliteShell(const std::string& database, const std::string& script,
                             const std::string& outputPath, const std::string& workDir) {
    const std::string scriptPath = workDir + "/step.sql";
    const std::string errorPath = workDir + "/step.err";
    writeWholeFile(scriptPath, script);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, scriptPath.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    std::string a0 = "sqlite3", a1 = "-batch", a2 = "-bail", a3 = database;
    char* argv[] = {a0.data(), a1.data(), a2.data(), a3.data(), nullptr};

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    int rc = posix_spawnp(&pid, "sqlite3", &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) throw std::runtime_error("cannot start sqlite3");
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) throw std::runtime_error("lost the sqlite3 process");
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("sqlite3 failed: " + readWholeFile(errorPath));
    return seconds;
}

}  // namespace bench
