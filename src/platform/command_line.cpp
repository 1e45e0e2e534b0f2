#include "platform/command_line.h"

namespace tessaly {

std::vector<std::string> splitCommandLine(const std::string& text) {
    std::vector<std::string> args;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        if (text[i] == '"') {
            const std::size_t close = text.find('"', i + 1);
            if (close == std::string::npos) {
                args.push_back(text.substr(i + 1));
                break;
            }
            args.push_back(text.substr(i + 1, close - i - 1));
            i = close + 1;
            continue;
        }
        const std::size_t end = text.find(' ', i);
        args.push_back(text.substr(i, end == std::string::npos ? std::string::npos : end - i));
        if (end == std::string::npos) break;
        i = end;
    }
    return args;
}

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
