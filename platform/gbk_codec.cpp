// The conversions over the double-byte table, and the reverse table built
// from it on first use.
#include "platform/gbk_codec.h"

#include <array>

#include "platform/gbk_table.h"

namespace gbk {
namespace {

constexpr uint8_t kEuroByte = 0x80;
constexpr uint16_t kEuroUnit = 0x20AC;
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

// One step of a walk over GBK bytes: how many bytes it takes, and the unit,
// the default character where the bytes are invalid. An invalid lead byte
// takes the next byte with it unless that is zero or missing, as the
// lenient conversion does.
size_t Step(const uint8_t* bytes, size_t length, uint16_t* unit, bool* valid) {
    size_t used = DecodeChar(bytes, length, unit);
    *valid = used > 0;
    if (used > 0) return used;
    *unit = kDefaultChar;
    return IsLeadByte(bytes[0]) && length > 1 && bytes[1] != 0 ? 2 : 1;
}

size_t Decode(const char* text, size_t length, uint16_t* out, size_t capacity, bool strict) {
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(text);
    size_t units = 0;
    for (size_t i = 0; i < length;) {
        uint16_t unit;
        bool valid;
        i += Step(bytes + i, length - i, &unit, &valid);
        if (!valid && strict) return kInvalid;
        if (units < capacity) out[units] = unit;
        ++units;
    }
    return units;
}

size_t Encode(const uint16_t* units, size_t count, char* out, size_t capacity, size_t* written,
              bool strict) {
    size_t length = 0;
    size_t kept = 0;
    for (size_t i = 0; i < count; ++i) {
        uint8_t bytes[2];
        size_t width = EncodeChar(units[i], bytes);
        if (width == 0) {
            if (strict) {
                if (written != nullptr) *written = 0;
                return kInvalid;
            }
            bytes[0] = static_cast<uint8_t>(kDefaultChar);
            width = 1;
        }
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

}  // namespace

size_t DecodeChar(const uint8_t* bytes, size_t length, uint16_t* unit) {
    uint8_t byte = bytes[0];
    if (byte < 0x80) {
        *unit = byte;
        return 1;
    }
    if (byte == kEuroByte) {
        *unit = kEuroUnit;
        return 1;
    }
    if (byte == kLastByte) {
        *unit = kLastByteUnit;
        return 1;
    }
    // A lead byte: the end or a zero byte leave it without a trail byte,
    // and a zero byte is below every trail byte.
    if (length < 2) return 0;
    uint16_t found = PairUnit(byte, bytes[1]);
    if (found == 0) return 0;
    *unit = found;
    return 2;
}

size_t EncodeChar(uint16_t unit, uint8_t out[2]) {
    if (unit < 0x80) {
        out[0] = static_cast<uint8_t>(unit);
        return 1;
    }
    if (unit == kEuroUnit) {
        out[0] = kEuroByte;
        return 1;
    }
    if (unit == kLastByteUnit) {
        out[0] = kLastByte;
        return 1;
    }
    uint16_t pair = Reverse()[unit];
    if (pair == 0) return 0;
    out[0] = static_cast<uint8_t>(pair >> 8);
    out[1] = static_cast<uint8_t>(pair & 0xFF);
    return 2;
}

size_t ToUtf16(const char* text, size_t length, uint16_t* out, size_t capacity) {
    return Decode(text, length, out, capacity, false);
}

size_t ToUtf16Strict(const char* text, size_t length, uint16_t* out, size_t capacity) {
    return Decode(text, length, out, capacity, true);
}

size_t FromUtf16(const uint16_t* units, size_t count, char* out, size_t capacity, size_t* written) {
    return Encode(units, count, out, capacity, written, false);
}

size_t FromUtf16Strict(const uint16_t* units, size_t count, char* out, size_t capacity,
                       size_t* written) {
    return Encode(units, count, out, capacity, written, true);
}

size_t EncodedLength(const uint16_t* units, size_t count) {
    return FromUtf16(units, count, nullptr, 0);
}

size_t UnitsInBytes(const uint16_t* units, size_t count, size_t bytes) {
    size_t length = 0;
    size_t i = 0;
    while (i < count && length < bytes) {
        uint8_t scratch[2];
        size_t width = EncodeChar(units[i], scratch);
        length += width == 0 ? 1 : width;  // the default character is one byte
        ++i;
    }
    return i;
}

}  // namespace gbk
