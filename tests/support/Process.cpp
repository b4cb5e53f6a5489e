#include "Process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

std::string readFile(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const std::string& workingDirectory,
                           const std::vector<std::string>& extraEnvironment)
    : outPath(files.file("out")), errPath(files.file("err"))
{
    pid = fork();
    if (pid != 0)
        return;
    int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(out, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    int nullInput = open("/dev/null", O_RDONLY);
    dup2(nullInput, STDIN_FILENO);
    if (chdir(workingDirectory.c_str()) != 0)
        _exit(127);
    for (const std::string& assignment : extraEnvironment)
        putenv(const_cast<char*>(assignment.c_str()));
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
}

ChildProcess::~ChildProcess()
{
    if (isRunning()) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
}

bool ChildProcess::isRunning()
{
    if (pid <= 0 || status != -1)
        return false;
    int raw = 0;
    if (waitpid(pid, &raw, WNOHANG) == pid) {
        status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
        return false;
    }
    return true;
}

int ChildProcess::wait(double seconds)
{
    if (!waitFor(seconds, [this] { return !isRunning(); })) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        status = -1;
        pid = -1;
        return -1;
    }
    return status;
}

std::string ChildProcess::output() const { return readFile(outPath); }
std::string ChildProcess::errors() const { return readFile(errPath); }

std::string runCommand(const std::string& command)
{
    std::string result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return result;
    char buffer[512];
    while (fgets(buffer, sizeof buffer, pipe))
        result += buffer;
    pclose(pipe);
    return result;
}
