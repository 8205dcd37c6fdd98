#pragma once

#include <string>
#include <vector>

// One function per glyfora-cli command. Each takes the arguments after the command name and
// returns the exit status: 0 ok, 1 error (one line on stderr), 2 usage error; "--help" prints the
// command's usage and returns 0. main.cpp lists them in its dispatch table.
namespace glyfora::cli {

int RunInfoCommand(const std::vector<std::string>& args);
int RunConvertCommand(const std::vector<std::string>& args);
int RunImportCommand(const std::vector<std::string>& args);
int RunRenderCommand(const std::vector<std::string>& args);
int RunFontsCommand(const std::vector<std::string>& args);
int RunLayoutCommand(const std::vector<std::string>& args);
int RunAddImageCommand(const std::vector<std::string>& args);

} // namespace glyfora::cli
