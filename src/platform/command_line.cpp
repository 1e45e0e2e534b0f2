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

} // namespace tessaly
