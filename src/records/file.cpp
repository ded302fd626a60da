#include "records/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>

namespace pliventa {

namespace {

std::atomic<unsigned> contatoreTemporanei{0};

}  // namespace

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

std::string daSostituire(const std::string& percorso) {
    struct stat st {};
    if (::lstat(percorso.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char* vero = ::realpath(percorso.c_str(), nullptr);
        if (vero != nullptr) {
            std::string r(vero);
            std::free(vero);
            return r;
        }
    }
    return percorso;
}

Esito<FileTemporaneo> creaTemporaneo(const std::string& destinazione,
                                     const std::string& perMessaggi) {
    for (int tentativo = 0; tentativo < 100; ++tentativo) {
        std::string temporaneo = destinazione + ".tmp-" + std::to_string(::getpid()) + "-" +
                                 std::to_string(contatoreTemporanei.fetch_add(1));
        const int fd = ::open(temporaneo.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            return FileTemporaneo{fd, std::move(temporaneo)};
        }
        if (errno != EEXIST) {
            return erroreDiSistema(perMessaggi, errno);
        }
    }
    return erroreDiSistema(perMessaggi, EEXIST);
}

}  // namespace pliventa
