// The Linux immutable flag: the tests run as root, for whom a read-only
// folder is no obstacle. Kept apart from windows.h, which clashes with these.
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <string>
#include <sys/ioctl.h>
#include <unistd.h>

namespace fx {

std::string SetImmutable(const char* unixPath, bool on)
{
    int fd = open(unixPath, O_RDONLY | O_DIRECTORY), flags = 0;
    if (fd < 0)
        return std::string("open: ") + std::strerror(errno);
    bool ok = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ok = ok && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    std::string error = ok ? "" : std::string("FS_IOC_SETFLAGS (needs CAP_LINUX_IMMUTABLE): ") + std::strerror(errno);
    close(fd);
    return error;
}

}  // namespace fx
