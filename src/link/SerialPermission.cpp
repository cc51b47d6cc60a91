#include "link/SerialPermission.h"

#include <cerrno>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace kvl {

std::string SerialDeviceGroup(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return {};
    group entry{};
    group* found = nullptr;
    std::vector<char> buffer(4096);
    while (::getgrgid_r(info.st_gid, &entry, buffer.data(), buffer.size(), &found) == ERANGE &&
           buffer.size() < 1024 * 1024)
        buffer.resize(buffer.size() * 2);
    return found != nullptr ? std::string(found->gr_name) : std::string();
}

std::string SerialPermissionHint(int error, const std::string& group) {
    if (error != EACCES && error != EPERM)
        return {};
    const std::string name = group.empty() ? "dialout" : group;
    return "You have no permission to use it: add your user to the group \"" + name +
           "\" (sudo usermod -aG " + name + " $USER), then log out and log in again.";
}

} // namespace kvl
