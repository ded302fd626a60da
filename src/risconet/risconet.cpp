#include "risconet/risconet.h"

#include <algorithm>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "base/sistema.h"
#include "records/versamento.h"

namespace pliventa {

namespace {

// The highest field the conversion reads: the codice fiscale.
constexpr std::size_t kCampiLetti = 21;

/// The first fields of a line (the texts between the ";") and how many it has.
/// The last field is whole whether or not the line ends in ";": a final ";" closes
/// it and adds nothing. Only the fields up to `quanti` are ever read, so the
/// arrays are not cleared: clearing them cost a tenth of the whole conversion.
struct Campi {
    const char* inizio[kCampiLetti];
    std::size_t lunghezza[kCampiLetti];
    std::size_t quanti = 0;

    explicit Campi(std::string_view riga) {
        const char* const base = riga.data();
        const std::size_t n = riga.size();
        std::size_t primo = 0;  // where the current field starts
        std::size_t i = 0;
#ifdef __SSE2__
        // Sixteen characters at a time: a bit for each ";" among them.
        const __m128i puntoEVirgola = _mm_set1_epi8(';');
        for (; i + 16 <= n; i += 16) {
            const __m128i blocco = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + i));
            auto bit =
                static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(blocco, puntoEVirgola)));
            while (bit != 0) {
                const std::size_t p = i + static_cast<std::size_t>(__builtin_ctz(bit));
                aggiungi(base + primo, p - primo);
                primo = p + 1;
                bit &= bit - 1;
            }
        }
#endif
        for (; i < n; ++i) {
            if (base[i] == ';') {
                aggiungi(base + primo, i - primo);
                primo = i + 1;
            }
        }
        if (primo < n) {
            aggiungi(base + primo, n - primo);
        }
    }
    void aggiungi(const char* da, std::size_t n) {
        if (quanti < kCampiLetti) {
            inizio[quanti] = da;
            lunghezza[quanti] = n;
        }
        ++quanti;
    }
    bool ha(std::size_t numero) const {
        return quanti >= numero;
    }
    std::string_view operator[](std::size_t numero) const {
        return {inizio[numero - 1], lunghezza[numero - 1]};
    }
};

/// Writes `pezzo` at 1-based `colonna` into a slot of `larghezza`: a shorter
/// piece fills the slot's first characters, a longer one is cut.
void metti(RigaCnc& out, std::size_t colonna, std::size_t larghezza, std::string_view pezzo) {
    // An empty piece may have no data at all (a date too short for its month), and
    // memcpy must never be handed a null pointer, even for no bytes.
    if (!pezzo.empty()) {
        std::memcpy(out.data() + colonna - 1, pezzo.data(), std::min(pezzo.size(), larghezza));
    }
}

/// Writes the digits `significative` (no leading zeros; empty for zero) padded
/// with zeros to `larghezza`, with a "-" in the first place when `negativo`, into
/// the slot at `colonna`; a longer text keeps its first characters.
void mettiCifreConSegno(RigaCnc& out, std::size_t colonna, std::size_t larghezza,
                        std::string_view significative, bool negativo) {
    negativo = negativo && !significative.empty();  // no "-0"
    char* p = out.data() + colonna - 1;
    std::size_t libere = larghezza;
    if (negativo) {
        *p++ = '-';
        --libere;
    }
    if (significative.size() < libere) {
        std::memset(p, '0', libere - significative.size());
        p += libere - significative.size();
        libere = significative.size();
    }
    std::memcpy(p, significative.data(), std::min(libere, significative.size()));
}

/// Powers of ten up to 10^19, the largest a 64-bit unsigned integer holds.
constexpr auto kPotenze = [] {
    std::array<std::uint64_t, 20> p{};
    p[0] = 1;
    for (std::size_t i = 1; i < p.size(); ++i) {
        p[i] = p[i - 1] * 10;
    }
    return p;
}();

/// "00" to "99", for writing numbers two digits at a time.
constexpr auto kCoppie = [] {
    std::array<char, 200> c{};
    for (std::size_t i = 0; i < 100; ++i) {
        c[2 * i] = static_cast<char>('0' + i / 10);
        c[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return c;
}();

/// Digits that always fit a 64-bit integer, whatever they are.
constexpr std::size_t kCifreSicure = 18;

/// `v` padded with zeros to `larghezza` into the slot at `colonna`; a value with
/// more digits than the width keeps its first ones, as mettiCifreConSegno() cuts.
void mettiPositivo(RigaCnc& out, std::size_t colonna, std::size_t larghezza, std::uint64_t v) {
    char* const p = out.data() + colonna - 1;
    // Twenty places hold any 64-bit value.
    if (larghezza >= kPotenze.size() || v < kPotenze[larghezza]) {
        // Two digits a division: the chain of divisions is what the conversion waits on.
        std::size_t i = larghezza;
        for (; v >= 10; v /= 100) {
            i -= 2;
            std::memcpy(p + i, kCoppie.data() + 2 * (v % 100), 2);
        }
        if (v > 0) {
            p[--i] = static_cast<char>('0' + v);
        }
        std::memset(p, '0', i);
        return;
    }
    char cifre[24];
    std::size_t n = 0;
    for (; v > 0; v /= 10) {
        cifre[sizeof cifre - 1 - n++] = static_cast<char>('0' + v % 10);
    }
    std::memcpy(p, cifre + sizeof cifre - n, larghezza);  // n > larghezza here
}

/// The same rounding on the digits as text, for a field of more digits than a
/// 64-bit integer holds.
void mettiInteroLungo(RigaCnc& out, std::size_t colonna, std::size_t larghezza,
                      std::string_view testo, std::size_t scala) {
    const NumeroLetto n = leggiNumero(testo);
    const std::size_t decimali = n.decimali + scala;
    // The whole part's digits and the first digit dropped, which decides the rounding.
    const std::size_t nInteri = n.cifre.size() > decimali ? n.cifre.size() - decimali : 0;
    const char tolta = decimali > 0 && n.cifre.size() >= decimali ? n.cifre[nInteri] : '0';
    std::string interi = n.cifre.substr(0, nInteri);
    if (tolta >= '5') {
        std::size_t i = interi.size();
        while (i > 0 && interi[i - 1] == '9') {
            interi[--i] = '0';
        }
        if (i == 0) {
            interi.insert(0, 1, '1');
        } else {
            ++interi[i - 1];
        }
    }
    const std::size_t primo = std::min(interi.find_first_not_of('0'), interi.size());
    mettiCifreConSegno(out, colonna, larghezza, std::string_view(interi).substr(primo), n.negativo);
}

/// The numeric value of `testo` divided by 10^`scala`, rounded to a whole number
/// (halves away from zero), written with zeros to `larghezza` into the slot at
/// `colonna`. A negative value puts its "-" in the first place of the width
/// ("-000000002"), so that the cut to the slot never takes its last digit. A value
/// with more digits than the width is written whole, then cut to the slot. Worked
/// on the decimal digits, never in floating point, so exact for any field.
void mettiIntero(RigaCnc& out, std::size_t colonna, std::size_t larghezza, std::string_view testo,
                 std::size_t scala) {
    // The usual field, nothing but digits and few enough for an integer: no sign,
    // blank or point to read, and the value is never negative.
    if (const std::optional<std::int64_t> cifre = valoreCifre(testo);
        cifre && scala < kPotenze.size()) {
        const auto mantissa = static_cast<std::uint64_t>(*cifre);
        std::uint64_t intero = mantissa;
        if (scala > 0) {
            const std::uint64_t q = mantissa / kPotenze[scala - 1];
            intero = q / 10 + (q % 10 >= 5 ? 1 : 0);
        }
        mettiPositivo(out, colonna, larghezza, intero);
        return;
    }
    // The numeric value rule, read straight into an integer; a value of more
    // significant digits than an integer holds is worked on as text.
    std::uint64_t mantissa = 0;
    std::size_t cifre = 0;  // significant digits taken
    std::size_t decimali = 0;
    bool lungo = false;
    const bool negativo = scorriNumero(testo, [&](char c, bool decimale) {
        if (cifre == kCifreSicure) {
            lungo = true;
            return false;
        }
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
        cifre += mantissa > 0 ? 1 : 0;
        decimali += decimale ? 1 : 0;
        return true;
    });
    if (lungo) {
        mettiInteroLungo(out, colonna, larghezza, testo, scala);
        return;
    }
    decimali += scala;
    std::uint64_t intero = mantissa;
    bool suPiu = false;
    if (decimali > 19) {
        intero = 0;  // below 10^18 / 10^20: less than a hundredth
    } else if (decimali > 0) {
        const std::uint64_t q = mantissa / kPotenze[decimali - 1];
        suPiu = q % 10 >= 5;
        intero = q / 10;
    }
    intero += suPiu ? 1 : 0;
    if (!negativo || intero == 0) {
        mettiPositivo(out, colonna, larghezza, intero);
        return;
    }
    char testoCifre[24];
    std::size_t n = 0;
    for (std::uint64_t v = intero; v > 0; v /= 10) {
        testoCifre[sizeof testoCifre - 1 - n++] = static_cast<char>('0' + v % 10);
    }
    mettiCifreConSegno(out, colonna, larghezza,
                       std::string_view(testoCifre + sizeof testoCifre - n, n), negativo);
}

/// True when `campo` reads as a number above zero by the numeric value rule: a
/// digit other than 0 and no leading "-".
bool positivo(std::string_view campo) {
    bool nonZero = false;
    const bool negativo = scorriNumero(campo, [&nonZero](char c, bool) {
        nonZero = c != '0';
        return !nonZero;
    });
    return nonZero && !negativo;
}

/// The payment date yyyymmdd: characters 1-4, 6-7 and 9-10 of the field, as in
/// "2003-07-15 00:00:00" or "2003-07-15". A field that does not read as a number
/// above zero (empty, all zeros, not starting with a digit), or is too short to
/// hold a date, gives 1 January 1901.
void mettiData(RigaCnc& out, std::string_view campo) {
    if (campo.size() <= 2 || !positivo(campo)) {
        metti(out, 27, 8, "19010101");
        return;
    }
    auto parte = [&](std::size_t da, std::size_t n) {
        return da < campo.size() ? campo.substr(da, n) : std::string_view();
    };
    const std::string_view anno = parte(0, 4);
    const std::string_view mese = parte(5, 2);
    const std::string_view giorno = parte(8, 2);
    metti(out, 27, 4, anno);
    metti(out, 27 + anno.size(), 2, mese);
    metti(out, 27 + anno.size() + mese.size(), 2, giorno);
}

class ConversioneRisconet final : public Trasformazione {
public:
    explicit ConversioneRisconet(std::string belfiore) : belfiore_(std::move(belfiore)) {}

    bool riga(const Riga& riga, Uscita& uscita) override {
        if (!intestazioneLetta_) {
            intestazioneLetta_ = true;
            return false;
        }
        if (!convertiRiga(riga.testo, belfiore_, scritte_ + 1, out_)) {
            return false;
        }
        ++scritte_;
        uscita.scrivi(std::string_view(out_.data(), out_.size()));
        return true;
    }

    std::size_t rigaMassima() const override { return kRigaMassimaRisconet; }

private:
    std::string belfiore_;
    bool intestazioneLetta_ = false;
    std::uint64_t scritte_ = 0;
    RigaCnc out_{};
};

}  // namespace

std::string percorsoConvertito(std::string_view input) {
    const std::size_t barra = fineCartella(input);
    std::string out(barra == std::string_view::npos ? std::string_view()
                                                    : input.substr(0, barra + 1));
    out += kNomeConvertito;
    return out;
}

EsitoVuoto controllaBelfiore(std::string_view codice) {
    for (std::size_t i = 0; i < codice.size(); ++i) {
        const auto c = static_cast<unsigned char>(codice[i]);
        // The C0 controls and DEL, and the C1 controls as UTF-8 writes them.
        const bool c1 = c == 0xC2 && i + 1 < codice.size() &&
                        static_cast<unsigned char>(codice[i + 1]) >= 0x80 &&
                        static_cast<unsigned char>(codice[i + 1]) <= 0x9F;
        if (c < 0x20 || c == 0x7F || c1) {
            return Errore{CodiceErrore::Uso,
                          {},
                          "il codice Belfiore contiene caratteri di controllo (a capo, "
                          "tabulazioni o simili)"};
        }
    }
    return Nulla{};
}

bool convertiRiga(std::string_view riga, std::string_view belfiore, std::uint64_t progressivo,
                  RigaCnc& out) {
    if (riga.empty()) {
        return false;
    }
    const Campi f(riga);
    // A line that ends with its fourth field is written only when that flag is "N".
    if (f.quanti == 4 && f[4] != "N") {
        return false;
    }
    out.fill(' ');
    metti(out, 4, 4, belfiore);
    mettiPositivo(out, 8, 18, progressivo);
    out[25] = '3';  // an ordinary payment
    if (f.ha(2)) {
        mettiData(out, f[2]);
    }
    if (f.ha(6)) {
        const std::string_view anno = f[6];
        metti(out, 51, 2, anno.substr(anno.size() > 2 ? anno.size() - 2 : 0));
    }
    if (f.ha(7)) {
        mettiIntero(out, 165, 4, f[7], 0);
    }
    if (f.ha(8)) {
        metti(out, 169, 1, f[8] == "0" ? std::string_view("3") : f[8]);
    }
    // Amounts come in tenths of the unit the work file keeps.
    constexpr struct {
        std::size_t campo, colonna, larghezza;
    } kImporti[] = {
        {9, 63, 12},    // total
        {16, 75, 10},   // agricultural land
        {17, 85, 10},   // building areas
        {18, 95, 10},   // main dwelling
        {19, 105, 10},  // other buildings
        {20, 115, 8},   // main-dwelling deduction
    };
    for (const auto& i : kImporti) {
        if (f.ha(i.campo)) {
            mettiIntero(out, i.colonna, i.larghezza, f[i.campo], 1);
        }
    }
    if (f.ha(21)) {
        metti(out, 35, 16, f[21]);
    }
    return true;
}

std::unique_ptr<Trasformazione> nuovaConversioneRisconet(std::string belfiore) {
    return std::make_unique<ConversioneRisconet>(std::move(belfiore));
}

}  // namespace pliventa
