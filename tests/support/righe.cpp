#include "righe.h"

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "processo.h"

namespace pliventa::test {

CartellaTemporanea::CartellaTemporanea() {
    // A name no other test has taken: create_directory makes it only when it is new.
    std::random_device caso;
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int tentativo = 0; tentativo < 100; ++tentativo) {
        std::filesystem::path p = base / ("pliventa-test-" + std::to_string(caso()));
        std::error_code ec;
        if (std::filesystem::create_directory(p, ec)) {
            std::filesystem::permissions(p, std::filesystem::perms::owner_all, ec);
            percorso_ = std::move(p);
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary folder under " + base.string());
}

std::string CartellaTemporanea::file(std::string_view nome) const {
    return utf8(percorso_ / daUtf8(nome));
}

CartellaTemporanea::~CartellaTemporanea() {
    std::error_code ec;
    std::filesystem::permissions(percorso_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(percorso_, ec);
}

std::string CartellaTemporanea::scrivi(std::string_view nome, std::string_view contenuto) const {
    const std::string p = file(nome);
    std::ofstream(daUtf8(p), std::ios::binary | std::ios::trunc) << contenuto;
    return p;
}

RigaVersamento pulito() {
    return RigaVersamento()
        .tipo('3')
        .data("20030630")
        .cf("RSSMRA80A01H501U")
        .campo(Campo::annoimposta, "03")
        .campo(Campo::totale, "00000012345")
        .campo(Campo::abitazioneprincipale, "0000012345");
}

std::string lavoro(std::initializer_list<RigaVersamento> righe) {
    std::string dati;
    for (const RigaVersamento& r : righe) {
        dati += r.record();
    }
    return dati;
}

std::string ripeti(std::string_view record, std::size_t n) {
    std::string dati;
    for (std::size_t i = 0; i < n; ++i) {
        dati += record;
    }
    return dati;
}

std::string numerati(std::size_t n, std::string_view prefisso) {
    std::string dati;
    for (std::size_t i = 1; i <= n; ++i) {
        dati += RigaVersamento().tipo('3').cf(std::string(prefisso) + std::to_string(i)).record();
    }
    return dati;
}

std::string leggiFile(const std::string& percorso) {
    std::ifstream f(daUtf8(percorso), std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

#ifndef _WIN32
LimiteFile::LimiteFile(std::uint64_t byte) {
    gestorePrima_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit r{};
    ::getrlimit(RLIMIT_FSIZE, &r);
    prima_ = r.rlim_cur;
    r.rlim_cur = byte == kNessuno ? RLIM_INFINITY : byte;
    ::setrlimit(RLIMIT_FSIZE, &r);
}

LimiteFile::~LimiteFile() {
    rlimit r{};
    ::getrlimit(RLIMIT_FSIZE, &r);
    r.rlim_cur = prima_;
    ::setrlimit(RLIMIT_FSIZE, &r);
    std::signal(SIGXFSZ, gestorePrima_);
}
#else
LimiteFile::LimiteFile(std::uint64_t byte) : prima_(byte) {}
LimiteFile::~LimiteFile() = default;
#endif

std::vector<std::string> nomi(const CartellaTemporanea& dir) {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(dir.percorso())) {
        out.push_back(utf8(e.path().filename()));
    }
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace pliventa::test
