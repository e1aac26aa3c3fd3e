// The two conversions over the double-byte table, and the reverse table
// built from it on first use.
#include "platform/gbk_codec.h"

#include <array>

#include "platform/gbk_table.h"

namespace gbk {
namespace {

constexpr uint8_t kEuroByte = 0x80;
constexpr uint16_t kEuroUnit = 0x20AC;
// Code page 936 gives the one byte that is neither a character nor a lead
// byte a private-use unit of its own, so that it survives a round trip.
constexpr uint8_t kLastByte = 0xFF;
constexpr uint16_t kLastByteUnit = 0xF8F5;

uint16_t PairUnit(uint8_t lead, uint8_t trail) {
    if (trail < kFirstTrail || trail == 0x7F || trail == 0xFF) return 0;
    return kDoubleByteTable[lead - kFirstLead][trail - kFirstTrail];
}

// Unit -> pair (lead in the high byte), 0 for a unit with no pair. Every
// pair of the table has a unit of its own, so the reverse is exact.
using ReverseTable = std::array<uint16_t, 0x10000>;

const ReverseTable& Reverse() {
    static const ReverseTable table = [] {
        ReverseTable built{};
        for (unsigned lead = 0; lead < kLeadCount; ++lead) {
            for (unsigned trail = 0; trail < kTrailCount; ++trail) {
                uint16_t unit = kDoubleByteTable[lead][trail];
                if (unit != 0 && built[unit] == 0)
                    built[unit] =
                        static_cast<uint16_t>(((lead + kFirstLead) << 8) | (trail + kFirstTrail));
            }
        }
        return built;
    }();
    return table;
}

// One unit's GBK form into `bytes`; answers its length (1 or 2).
size_t EncodeUnit(uint16_t unit, uint8_t bytes[2]) {
    if (unit < 0x80) {
        bytes[0] = static_cast<uint8_t>(unit);
        return 1;
    }
    if (unit == kEuroUnit) {
        bytes[0] = kEuroByte;
        return 1;
    }
    if (unit == kLastByteUnit) {
        bytes[0] = kLastByte;
        return 1;
    }
    uint16_t pair = Reverse()[unit];
    if (pair == 0) {
        bytes[0] = static_cast<uint8_t>(kDefaultChar);
        return 1;
    }
    bytes[0] = static_cast<uint8_t>(pair >> 8);
    bytes[1] = static_cast<uint8_t>(pair & 0xFF);
    return 2;
}

}  // namespace

size_t ToUtf16(const char* text, size_t length, uint16_t* out, size_t capacity) {
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(text);
    size_t units = 0;
    for (size_t i = 0; i < length;) {
        uint8_t byte = bytes[i];
        uint16_t unit;
        if (byte < 0x80) {
            unit = byte;
            i += 1;
        } else if (byte == kEuroByte) {
            unit = kEuroUnit;
            i += 1;
        } else if (byte == kLastByte) {
            unit = kLastByteUnit;
            i += 1;
        } else if (i + 1 < length && bytes[i + 1] != 0) {
            unit = PairUnit(byte, bytes[i + 1]);
            if (unit == 0) unit = kDefaultChar;
            i += 2;
        } else {
            unit = kDefaultChar;  // a lead byte at the end or before a zero byte
            i += 1;
        }
        if (units < capacity) out[units] = unit;
        ++units;
    }
    return units;
}

size_t FromUtf16(const uint16_t* units, size_t count, char* out, size_t capacity, size_t* written) {
    size_t length = 0;
    size_t kept = 0;
    for (size_t i = 0; i < count; ++i) {
        uint8_t bytes[2];
        size_t width = EncodeUnit(units[i], bytes);
        if (length + width <= capacity) {
            for (size_t k = 0; k < width; ++k) out[length + k] = static_cast<char>(bytes[k]);
            kept = length + width;
        } else {
            capacity = length;  // nothing after a character that did not fit
        }
        length += width;
    }
    if (written != nullptr) *written = kept;
    return length;
}

size_t EncodedLength(const uint16_t* units, size_t count) {
    return FromUtf16(units, count, nullptr, 0);
}

size_t UnitsInBytes(const uint16_t* units, size_t count, size_t bytes) {
    size_t length = 0;
    size_t i = 0;
    while (i < count && length < bytes) {
        uint8_t scratch[2];
        length += EncodeUnit(units[i], scratch);
        ++i;
    }
    return i;
}

}  // namespace gbk
