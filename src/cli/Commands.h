#pragma once

#include <string>
#include <vector>

// One function per glyfora-cli command. Each takes the arguments after the command name and
// returns the exit status: 0 ok, 1 error (one line on stderr), 2 usage error; "--help" prints the
// command's usage and returns 0.
namespace glyfora::cli {

int RunImportCommand(const std::vector<std::string>& args);

} // namespace glyfora::cli
