// Pairs the records of an English plug-in with those of its French
// translation by what translation leaves alone, and each text of a paired
// record with the same text of its partner.
//
//   records with an ID    by kind, ID (without regard to ASCII case) and rank
//                         among the records of that kind and ID (INFOs by INAM)
//   exterior cells        by grid
//   interior cells        by their references (FRMR number and object ID),
//                         counting those that one cell holds on each side:
//                         when all of them lead from this cell to one French
//                         cell and back; otherwise reported
//   path grids            of an interior cell: with the French grid named after
//                         that cell's partner; others by their grid, when it
//                         is the only path grid at that grid on each side
//   topics (DIAL type 0)  each paired INFO votes for the French topic it sits
//                         under; other DIALs are left out
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "lexicon_builder/plugin_texts.h"

namespace quillaret::lexicon_builder {

// An English text and the French text paired with it.
struct Observation {
  uint8_t lexicon = kNames;
  std::string_view source, target;
  uint32_t record = 0;  // the English record that holds it (an INFO for a topic)
};

enum class Unpaired : uint8_t {
  no_references,        // an interior cell without references
  no_common_reference,  // none of its references singles out a French cell
  several_cells,        // its references lie in several French cells
  shared_cell,          // its French cell holds references of other English cells
  several_grids,        // a path grid whose grid others share
  no_responses,         // a topic without INFO
  no_common_response,   // a topic none of whose INFOs the French file holds
};

struct UnpairedRecord {
  uint32_t record = 0;  // English
  Unpaired reason = Unpaired::no_references;
};

struct Pairing {
  std::vector<Observation> observations;  // in English file order
  std::vector<UnpairedRecord> unpaired;   // in English file order
  size_t shared_ids = 0;                  // kinds and IDs that both plug-ins hold
};

Pairing pair_texts(const PluginTexts& english, const PluginTexts& french);

}  // namespace quillaret::lexicon_builder
