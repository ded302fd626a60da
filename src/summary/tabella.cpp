#include "summary/tabella.h"

#include <cerrno>

#include "base/file.h"
#include "base/testo.h"

namespace pliventa {

namespace {

std::vector<std::string> celle(const GruppoRiepilogo& g, Raggruppamento r, bool euro, char punto,
                               std::string primo) {
    std::vector<std::string> out;
    out.reserve(intestazioniRiepilogo(r).size());
    out.push_back(std::move(primo));
    if (r == Raggruppamento::anno) {
        out.push_back(g.tipo == '\0' ? std::string() : std::string(1, g.tipo));
    }
    out.push_back(std::to_string(g.versamenti));
    out.push_back(std::to_string(g.violazioni));
    for (const SommaEsatta& s : importiRiepilogo(g)) {
        out.push_back(testoImporto(s, euro, punto));
    }
    out.push_back(std::to_string(g.anomalie));
    return out;
}

/// Appends `campo`, in double quotes when it holds the separator, a quote or a line
/// end, or when `virgolette`.
void aggiungiCampo(std::string& out, const std::string& campo, char separatore, bool virgolette) {
    if (!virgolette &&
        campo.find_first_of(std::string{separatore, '"', '\r', '\n'}) == std::string::npos) {
        out += campo;
        return;
    }
    out += '"';
    for (char c : campo) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
}

/// Appends one line of `campi`; the first `testi` are text cells, kept from being
/// read as formulas (their apostrophe inside the quotes).
void aggiungiRiga(std::string& out, const std::vector<std::string>& campi, char separatore,
                  std::size_t testi = 0) {
    for (std::size_t i = 0; i < campi.size(); ++i) {
        if (i > 0) {
            out += separatore;
        }
        if (i < testi) {
            const std::string testo = testoNonFormula(campi[i]);
            aggiungiCampo(out, testo, separatore, testo.size() != campi[i].size());
        } else {
            aggiungiCampo(out, campi[i], separatore, false);
        }
    }
    out += "\r\n";
}

EsitoVuoto scriviTutto(int fd, const std::string& testo, const std::string& perMessaggi) {
    if (!scriviDescrittore(fd, testo.data(), testo.size())) {
        return erroreDiSistema(perMessaggi, errno);
    }
    return Nulla{};
}

}  // namespace

std::string testoImporto(const SommaEsatta& s, bool euro, char punto) {
    std::string t = testoEsatto(s.numero(), euro);
    if (punto != '.') {
        if (const auto p = t.find('.'); p != std::string::npos) {
            t[p] = punto;
        }
    }
    return t;
}

std::vector<std::string> celleRiepilogo(const GruppoRiepilogo& g, Raggruppamento r, bool euro,
                                        char punto) {
    return celle(g, r, euro, punto, daCp1252(g.chiave));
}

std::vector<std::string> celleTotaleGenerale(const Riepilogo& riepilogo, Raggruppamento r,
                                             bool euro, char punto) {
    return celle(riepilogo.totale, r, euro, punto, std::string(kTotaleGenerale));
}

std::string testoCsv(const Riepilogo& riepilogo, Raggruppamento r, bool euro, char separatore) {
    std::string out;
    const std::vector<std::string_view> intestazioni = intestazioniRiepilogo(r);
    aggiungiRiga(out, std::vector<std::string>(intestazioni.begin(), intestazioni.end()),
                 separatore);
    // The keys are text from the payment files: a municipality's code or a month
    // may begin with "=" or "-".
    const std::size_t chiavi = r == Raggruppamento::anno ? 2 : 1;
    for (const GruppoRiepilogo& g : riepilogo.per(r)) {
        aggiungiRiga(out, celleRiepilogo(g, r, euro, ','), separatore, chiavi);
    }
    aggiungiRiga(out, celleTotaleGenerale(riepilogo, r, euro, ','), separatore);
    return out;
}

EsitoVuoto destinazioneAmmessa(const Riepilogo& riepilogo, const std::string& destinazione) {
    if (riepilogo.archivio.empty()) {
        return Nulla{};
    }
    return uscitaDistinta(riepilogo.archivio, destinazione, "il file di lavoro del riepilogo");
}

EsitoVuoto salvaCsv(const Riepilogo& riepilogo, Raggruppamento r, bool euro,
                    const std::string& destinazione) {
    if (EsitoVuoto e = destinazioneAmmessa(riepilogo, destinazione); !e) {
        return e;
    }
    Esito<Sostituzione> nuovo = Sostituzione::prepara(destinazione);
    if (!nuovo) {
        return nuovo.errore();
    }
    if (EsitoVuoto e = scriviTutto(nuovo->fd(), testoCsv(riepilogo, r, euro), destinazione); !e) {
        return e;  // the Sostituzione removes the new file
    }
    return nuovo->completa();
}

}  // namespace pliventa
