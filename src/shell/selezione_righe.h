// The rows a clerk has selected in a list too long for Qt's own selection: ranges
// of row numbers, as a click, a Shift+click, a Ctrl+click or Ctrl+A leave them.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace pliventa {

/// A range of rows, first and last included.
using TrattoRighe = std::pair<std::uint64_t, std::uint64_t>;

class SelezioneRighe {
public:
    /// Row `riga` alone, the anchor of the next extension (a click).
    void scegli(std::uint64_t riga);
    /// What was selected when the anchor was set, and the rows from the anchor to
    /// `riga` (a Shift+click or Shift+arrow). With no anchor, scegli(riga).
    void estendi(std::uint64_t riga);
    /// Row `riga` added when it was not selected, taken out when it was; it
    /// becomes the anchor (a Ctrl+click).
    void alterna(std::uint64_t riga);
    /// Rows 0 to `righe` - 1 (Ctrl+A); nothing when `righe` is 0.
    void tutte(std::uint64_t righe);
    /// Nothing selected, no anchor.
    void svuota();

    /// The selected rows as ascending ranges that neither touch nor overlap.
    std::vector<TrattoRighe> tratti() const;
    bool contiene(std::uint64_t riga) const;

private:
    std::vector<TrattoRighe> base_;  ///< ascending, disjoint
    std::optional<std::uint64_t> ancora_;
    std::optional<TrattoRighe> estensione_;
};

}  // namespace pliventa
