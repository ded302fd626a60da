#include "righe.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace pliventa::test {

CartellaTemporanea::CartellaTemporanea() {
    std::string modello =
        (std::filesystem::temp_directory_path() / "pliventa-test-XXXXXX").string();
    if (::mkdtemp(modello.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    percorso_ = modello;
}

CartellaTemporanea::~CartellaTemporanea() {
    std::error_code ec;
    std::filesystem::permissions(percorso_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(percorso_, ec);
}

std::string CartellaTemporanea::scrivi(std::string_view nome, std::string_view contenuto) const {
    const std::string p = file(nome);
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f.write(contenuto.data(), static_cast<std::streamsize>(contenuto.size()));
    return p;
}

std::string leggiFile(const std::string& percorso) {
    std::ifstream f(percorso, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

}  // namespace pliventa::test
