#pragma once
// Runs a child process with its standard output and error captured, for the
// end-to-end tests that start the real game binary.
#include "TempFolder.h"

#include <string>
#include <vector>

class ChildProcess {
public:
    // Starts `program` with `arguments` in `workingDirectory`; output goes to
    // files in a temporary folder, read by output() and errors().
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                 const std::string& workingDirectory,
                 const std::vector<std::string>& extraEnvironment = {});
    ~ChildProcess();

    bool started() const { return pid > 0; }
    // Waits up to `seconds`; returns the exit status, or -1 on time-out
    // (the process is then killed).
    int wait(double seconds);
    bool isRunning();
    std::string output() const;
    std::string errors() const;

private:
    int pid = -1;
    int status = -1;
    TempFolder files{"umbrant-process"};
    std::string outPath, errPath;
};

// Runs a shell command and returns its standard output.
std::string runCommand(const std::string& command);

// Polls `condition` every 50 ms for up to `seconds`; true when it held.
template <typename Condition>
bool waitFor(double seconds, Condition condition);

#include "Process.inl"
