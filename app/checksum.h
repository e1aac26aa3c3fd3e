// CRC-32 (the IEEE polynomial, as zip and 7-Zip show it), the checksum the
// drop editor keeps beside every slot it saves, so that a damaged or half
// written file is told from a whole one.
#pragma once

#include <cstdint>

uint32_t Crc32(const void* bytes, uint32_t length);
// The CRC-32 of a byte set block (0 bytes for null).
uint32_t ByteSetCrc32(const void* byteSet);
// Eight upper-case hex digits and a terminator.
void Crc32Text(uint32_t crc, char (&text)[9]);
