#include "io/paths.h"

#include <algorithm>
#include <cctype>

namespace tessaly {

std::string directoryPart(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string withExtension(const std::string& path, const std::string& extension) {
    std::string tail = path.size() > 4 ? path.substr(path.size() - 4) : path;
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return tail == extension ? path : path + extension;
}

} // namespace tessaly
