#include "foundation/update/ArqCipher.h"

#include "foundation/codec/CrusherCrc.h"

namespace {

// One step of the CRC-32 register, without the start and end inversions of a whole CRC.
uint32_t CrcStep(uint32_t crc, uint8_t byte) {
  return ~CrusherCrcUpdate(~crc, &byte, 1);
}

}  // namespace

ArqZipCipher::ArqZipCipher(const std::string& password) {
  for (char c : password) Update(static_cast<uint8_t>(c));
}

uint8_t ArqZipCipher::StreamByte() const {
  // In 32 unsigned bits: the product of two 16-bit values does not fit a signed int.
  uint32_t t = (k2_ & 0xFFFF) | 2;
  return static_cast<uint8_t>((t * (t ^ 1)) >> 8);
}

void ArqZipCipher::Update(uint8_t plain) {
  k0_ = CrcStep(k0_, plain);
  k1_ = (k1_ + (k0_ & 0xFF)) * 134775813u + 1;
  k2_ = CrcStep(k2_, static_cast<uint8_t>(k1_ >> 24));
}

void ArqZipCipher::Encrypt(uint8_t* data, size_t size) {
  for (size_t i = 0; i < size; ++i) {
    uint8_t plain = data[i];
    data[i] = plain ^ StreamByte();
    Update(plain);
  }
}

void ArqZipCipher::Decrypt(uint8_t* data, size_t size) {
  for (size_t i = 0; i < size; ++i) {
    data[i] ^= StreamByte();
    Update(data[i]);
  }
}

std::string ArqZipCipher::MakeHeader(uint32_t time, uint32_t seed) {
  uint8_t header[kHeaderSize];
  for (int i = 0; i < kHeaderSize - 2; ++i) {
    seed = seed * 1103515245u + 12345u;
    header[i] = static_cast<uint8_t>(seed >> 16);
  }
  header[10] = static_cast<uint8_t>(time);
  header[11] = static_cast<uint8_t>(time >> 8);
  Encrypt(header, kHeaderSize);
  return std::string(reinterpret_cast<char*>(header), kHeaderSize);
}

bool ArqZipCipher::CheckHeader(uint8_t* header, uint32_t time) {
  Decrypt(header, kHeaderSize);
  return header[10] == static_cast<uint8_t>(time) && header[11] == static_cast<uint8_t>(time >> 8);
}

int ArqTextSink::Write(const void* data, int size) {
  const char* p = static_cast<const char*>(data);
  std::string out;
  out.reserve(static_cast<size_t>(size) + static_cast<size_t>(size) / 8);
  for (int i = 0; i < size; ++i) {
    if (p[i] == '\n' && !lastWasCr_) out += '\r';
    out += p[i];
    lastWasCr_ = p[i] == '\r';
  }
  return out.empty() ? 0 : next_.Write(out.data(), static_cast<int>(out.size()));
}
