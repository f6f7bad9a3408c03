#include <array>
#include <cstddef>

#include "plugin/record_tags.h"

namespace quillaret {
namespace {

constexpr std::array kRecordTags = {
    make_tag("ACTI"), make_tag("ALCH"), make_tag("APPA"), make_tag("ARMO"),
    make_tag("BODY"), make_tag("BOOK"), make_tag("BSGN"), make_tag("CELL"),
    make_tag("CLAS"), make_tag("CLOT"), make_tag("CONT"), make_tag("CREA"),
    make_tag("DIAL"), make_tag("DOOR"), make_tag("ENCH"), make_tag("FACT"),
    make_tag("GLOB"), make_tag("GMST"), make_tag("INFO"), make_tag("INGR"),
    make_tag("LAND"), make_tag("LEVC"), make_tag("LEVI"), make_tag("LIGH"),
    make_tag("LOCK"), make_tag("LTEX"), make_tag("MGEF"), make_tag("MISC"),
    make_tag("NPC_"), make_tag("PGRD"), make_tag("PROB"), make_tag("RACE"),
    make_tag("REGN"), make_tag("REPA"), make_tag("SCPT"), make_tag("SKIL"),
    make_tag("SNDG"), make_tag("SOUN"), make_tag("SPEL"), make_tag("SSCR"),
    make_tag("STAT"), make_tag("TES3"), make_tag("WEAP"),
};

constexpr std::array kSubrecordTags = {
    make_tag("AADT"), make_tag("AIDT"), make_tag("AI_A"), make_tag("AI_E"),
    make_tag("AI_F"), make_tag("AI_T"), make_tag("AI_W"), make_tag("ALDT"),
    make_tag("AMBI"), make_tag("ANAM"), make_tag("AODT"), make_tag("ASND"),
    make_tag("AVFX"), make_tag("BKDT"), make_tag("BNAM"), make_tag("BSND"),
    make_tag("BVFX"), make_tag("BYDT"), make_tag("CLDT"), make_tag("CNAM"),
    make_tag("CNDT"), make_tag("CSND"), make_tag("CTDT"), make_tag("CVFX"),
    make_tag("DATA"), make_tag("DELE"), make_tag("DESC"), make_tag("DNAM"),
    make_tag("DODT"), make_tag("ENAM"), make_tag("ENDT"), make_tag("FADT"),
    make_tag("FLAG"), make_tag("FLTV"), make_tag("FNAM"), make_tag("FRMR"),
    make_tag("HEDR"), make_tag("HSND"), make_tag("HVFX"), make_tag("INAM"),
    make_tag("INDX"), make_tag("INTV"), make_tag("IRDT"), make_tag("ITEX"),
    make_tag("KNAM"), make_tag("LHDT"), make_tag("LKDT"), make_tag("MAST"),
    make_tag("MCDT"), make_tag("MEDT"), make_tag("MODL"), make_tag("MVRF"),
    make_tag("NAM0"), make_tag("NAM5"), make_tag("NAM9"), make_tag("NAME"),
    make_tag("NNAM"), make_tag("NPCO"), make_tag("NPCS"), make_tag("NPDT"),
    make_tag("ONAM"), make_tag("PBDT"), make_tag("PGRC"), make_tag("PGRP"),
    make_tag("PNAM"), make_tag("PTEX"), make_tag("QSTF"), make_tag("QSTN"),
    make_tag("QSTR"), make_tag("RADT"), make_tag("RGNN"), make_tag("RIDT"),
    make_tag("RNAM"), make_tag("SCDT"), make_tag("SCHD"), make_tag("SCRI"),
    make_tag("SCTX"), make_tag("SKDT"), make_tag("SNAM"), make_tag("SPDT"),
    make_tag("STRV"), make_tag("TEXT"), make_tag("TNAM"), make_tag("UNAM"),
    make_tag("VCLR"), make_tag("VHGT"), make_tag("VNML"), make_tag("VTEX"),
    make_tag("WEAT"), make_tag("WHGT"), make_tag("WNAM"), make_tag("WPDT"),
    make_tag("XCHG"), make_tag("XSCL"), make_tag("XSOL"),
};

static_assert(kRecordTags.size() == 43);
static_assert(kSubrecordTags.size() == 95);

}  // namespace

// Built at compile time: the reader never waits for it.
constexpr std::array<TagSlot, kTagSlots> kTagTable = [] {
  std::array<TagSlot, kTagSlots> table{};
  auto insert = [&table](Tag tag, TagKind kind) {
    size_t slot = first_tag_slot(tag);
    while (table[slot].tag != 0) slot = (slot + 1) % kTagSlots;
    table[slot] = {tag, kind};
  };
  insert(make_tag("SCVR"), TagKind::condition);
  for (Tag tag : kRecordTags) insert(tag, TagKind::record);
  for (Tag tag : kSubrecordTags) insert(tag, TagKind::subrecord);
  return table;
}();

std::string tag_text(Tag tag) {
  std::string text;
  for (int i = 0; i < 4; ++i) {
    char c = static_cast<char>((tag >> (8 * i)) & 0xFF);
    if (c == '\0') break;
    text += c;
  }
  return text;
}

}  // namespace quillaret
