// Code page 936's double-byte table, generated data (platform/gbk_table.cpp).
#pragma once

#include <cstdint>

namespace gbk {

constexpr unsigned kFirstLead = 0x81;   // lead bytes run 0x81..0xFE
constexpr unsigned kFirstTrail = 0x40;  // trail bytes run 0x40..0xFE, less 0x7F
constexpr unsigned kLeadCount = 0xFE - kFirstLead + 1;
constexpr unsigned kTrailCount = 0xFE - kFirstTrail + 1;

// [lead - kFirstLead][trail - kFirstTrail]: the pair's UTF-16 unit, 0 when
// the pair has no character (always 0 in the 0x7F column).
extern const uint16_t kDoubleByteTable[kLeadCount][kTrailCount];

}  // namespace gbk
