// CRC-32, table driven: the slot is 2 MB and is checked several times per
// apply.
#include "app/checksum.h"

#include "runtime/value.h"

namespace {

// The reflected form of the CRC-32 polynomial (the one zip and PNG use).
constexpr uint32_t kPolynomial = 0xEDB88320u;
// The register starts as all ones and is inverted at the end.
constexpr uint32_t kAllOnes = 0xFFFFFFFFu;

struct CrcTable {
    uint32_t entries[256];
    CrcTable() {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? kPolynomial ^ (c >> 1) : c >> 1;
            entries[n] = c;
        }
    }
};

const CrcTable kTable;

}  // namespace

uint32_t Crc32(const void* bytes, uint32_t length) {
    const uint8_t* p = static_cast<const uint8_t*>(bytes);
    uint32_t crc = kAllOnes;
    for (uint32_t i = 0; i < length; ++i) crc = kTable.entries[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ kAllOnes;
}

uint32_t ByteSetCrc32(const void* byteSet) {
    int32_t length = ByteSetLength(byteSet);
    return length > 0 ? Crc32(ByteSetData(byteSet), static_cast<uint32_t>(length))
                      : Crc32(nullptr, 0);
}

void Crc32Text(uint32_t crc, char (&text)[9]) {
    const char digits[] = "0123456789ABCDEF";
    for (int i = 7; i >= 0; --i) {
        text[i] = digits[crc & 0xF];
        crc >>= 4;
    }
    text[8] = '\0';
}
