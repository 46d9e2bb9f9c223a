#pragma once

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace vestrino::test {

// A program run through the shell: its exit status and what it printed (standard output, and
// standard error too when the command sends it there).
struct ProgramRun {
    int code = -1;
    std::string out;

    static ProgramRun of(const std::string& command) {
        ProgramRun run;
        std::FILE* p = ::popen(command.c_str(), "r");
        if (!p) {
            return run;
        }
        char buf[4096];
        while (const auto n = std::fread(buf, 1, sizeof buf, p)) {
            run.out.append(buf, n);
        }
        const int status = ::pclose(p);
        run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return run;
    }
};

} // namespace vestrino::test
