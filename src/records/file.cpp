#include "records/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace pliventa {

Esito<int> apriInLettura(const std::string& percorso) {
    const int fd = ::open(percorso.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return erroreDiSistema(percorso, errno);
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        const int e = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(fd);
        return erroreDiSistema(percorso, e);
    }
    return fd;
}

}  // namespace pliventa
