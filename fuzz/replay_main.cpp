// Replays a corpus through a fuzz target without libFuzzer, so that any compiler
// runs the saved inputs as a test: every file named, and every file under every
// folder named, in name order. A broken invariant aborts, as under the fuzzer.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n);

namespace {

std::vector<char> contenuto(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "uso: %s FILE_O_CARTELLA...\n", argv[0]);
        return 2;
    }
    std::vector<std::filesystem::path> file;
    for (int a = 1; a < argc; ++a) {
        const std::filesystem::path p(argv[a]);
        std::error_code ec;
        if (std::filesystem::is_directory(p, ec)) {
            for (const auto& voce : std::filesystem::recursive_directory_iterator(p, ec)) {
                if (voce.is_regular_file()) {
                    file.push_back(voce.path());
                }
            }
        } else if (std::filesystem::is_regular_file(p, ec)) {
            file.push_back(p);
        } else {
            std::fprintf(stderr, "%s: file o cartella inesistente\n", argv[a]);
            return 2;
        }
        if (ec) {
            std::fprintf(stderr, "%s: %s\n", argv[a], ec.message().c_str());
            return 2;
        }
    }
    // An empty corpus is a mistake in the set-up, never a pass.
    if (file.empty()) {
        std::fprintf(stderr, "nessun input da ripetere\n");
        return 2;
    }
    std::sort(file.begin(), file.end());
    for (const auto& p : file) {
        const std::vector<char> dati = contenuto(p);
        std::fprintf(stderr, "%s\n", p.string().c_str());
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(dati.data()), dati.size());
    }
    std::printf("%zu input ripetuti senza errori\n", file.size());
    return 0;
}
