#include "platform/win32/process_arguments.h"

#include "platform/command_line.h"

namespace tessaly {

std::vector<std::string> argumentsOfCommandLine(const std::string& commandLine) {
    std::size_t at = commandLine.find_first_not_of(" \t");
    if (at == std::string::npos) return {};
    if (commandLine[at] == '"') {
        const std::size_t close = commandLine.find('"', at + 1);
        at = close == std::string::npos ? commandLine.size() : close + 1;
    } else {
        const std::size_t end = commandLine.find_first_of(" \t", at);
        at = end == std::string::npos ? commandLine.size() : end;
    }
    return splitCommandLine(commandLine.substr(at));
}

} // namespace tessaly
