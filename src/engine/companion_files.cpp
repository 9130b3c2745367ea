#include "engine/companion_files.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <climits>
#include <cstdlib>

namespace engine {

namespace {
std::string stemOf(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path;
    return path.substr(0, dot);
}
}  // namespace

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string companionPath(const std::string& tablePath, std::string_view ext) {
    const std::string stem = stemOf(tablePath);
    const std::string wanted = stem + std::string(ext);
    if (fileExists(wanted)) return wanted;
    std::size_t slash = stem.find_last_of('/');
    const std::string dir = slash == std::string::npos ? "." : stem.substr(0, slash);
    const std::string name = (slash == std::string::npos ? stem : stem.substr(slash + 1)) +
                             std::string(ext);
    if (DIR* d = ::opendir(dir.empty() ? "/" : dir.c_str())) {
        while (dirent* e = ::readdir(d)) {
            if (::strcasecmp(e->d_name, name.c_str()) == 0 &&
                std::string_view(e->d_name).substr(0, name.size() - ext.size()) ==
                    std::string_view(name).substr(0, name.size() - ext.size())) {
                std::string found = (slash == std::string::npos ? std::string() : dir + "/") +
                                    e->d_name;
                ::closedir(d);
                return found;
            }
        }
        ::closedir(d);
    }
    return wanted;
}

std::string realFilePath(const std::string& path) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) return path;
    return resolved;
}

std::string packTempPath(const std::string& path) {
    return realFilePath(path) + ".pack-tmp";
}

std::string tableBaseName(const std::string& tablePath) {
    std::string stem = stemOf(tablePath);
    std::size_t slash = stem.find_last_of('/');
    return slash == std::string::npos ? stem : stem.substr(slash + 1);
}

}  // namespace engine
