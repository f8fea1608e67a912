// Runs a command of the test machine (sfdisk, wimlib-imagex) and answers what it printed.
#pragma once

#include <cstdio>
#include <string>

namespace quorvane::testing {

inline std::string runCommand(const std::string& command)
{
    std::string output;
    FILE* pipe = popen(("PATH=\"$PATH:/usr/sbin:/sbin\" " + command).c_str(), "r");
    char chunk[4096];
    while (const std::size_t got = pipe ? std::fread(chunk, 1, sizeof(chunk), pipe) : 0)
        output.append(chunk, got);
    if (pipe)
        pclose(pipe);
    return output;
}

} // namespace quorvane::testing
