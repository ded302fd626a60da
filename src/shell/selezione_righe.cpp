#include "shell/selezione_righe.h"

#include <algorithm>

namespace pliventa {

void SelezioneRighe::scegli(std::uint64_t riga) {
    base_.clear();
    estensione_.reset();
    ancora_ = riga;
    base_.emplace_back(riga, riga);
}

void SelezioneRighe::estendi(std::uint64_t riga) {
    if (!ancora_) {
        scegli(riga);
        return;
    }
    estensione_ = TrattoRighe(std::min(*ancora_, riga), std::max(*ancora_, riga));
}

void SelezioneRighe::alterna(std::uint64_t riga) {
    std::vector<TrattoRighe> nuovi;
    bool tolta = false;
    for (const TrattoRighe& t : tratti()) {
        if (riga < t.first || riga > t.second) {
            nuovi.push_back(t);
            continue;
        }
        tolta = true;
        if (t.first < riga) {
            nuovi.emplace_back(t.first, riga - 1);
        }
        if (riga < t.second) {
            nuovi.emplace_back(riga + 1, t.second);
        }
    }
    if (!tolta) {
        nuovi.emplace_back(riga, riga);
    }
    base_ = std::move(nuovi);
    estensione_.reset();
    ancora_ = riga;
}

void SelezioneRighe::tutte(std::uint64_t righe) {
    svuota();
    if (righe > 0) {
        base_.emplace_back(0, righe - 1);
        ancora_ = 0;
    }
}

void SelezioneRighe::svuota() {
    base_.clear();
    estensione_.reset();
    ancora_.reset();
}

std::vector<TrattoRighe> SelezioneRighe::tratti() const {
    std::vector<TrattoRighe> tutti = base_;
    if (estensione_) {
        tutti.push_back(*estensione_);
    }
    std::sort(tutti.begin(), tutti.end());
    std::vector<TrattoRighe> uniti;
    for (const TrattoRighe& t : tutti) {
        // Ranges that overlap or meet become one.
        if (!uniti.empty() && t.first <= uniti.back().second + 1) {
            uniti.back().second = std::max(uniti.back().second, t.second);
        } else {
            uniti.push_back(t);
        }
    }
    return uniti;
}

bool SelezioneRighe::contiene(std::uint64_t riga) const {
    const std::vector<TrattoRighe> t = tratti();
    return std::any_of(t.begin(), t.end(), [riga](const TrattoRighe& r) {
        return r.first <= riga && riga <= r.second;
    });
}

}  // namespace pliventa
