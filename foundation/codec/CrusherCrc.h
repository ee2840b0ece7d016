// The block compressor's running CRC-32 (the standard reflected one, polynomial 0xEDB88320) of
// the compressed bytes, eight bytes per step: it runs over every byte the codec writes or reads.
#pragma once

#include <cstddef>
#include <cstdint>

// The running value after the bytes; start with 0xFFFFFFFF and invert at the end.
uint32_t CrusherCrcUpdate(uint32_t crc, const void* data, size_t length);
