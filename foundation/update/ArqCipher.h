// Encrypted members and text members: the traditional ZIP stream cipher, and the line-end
// conversion of text members on extraction. Knows no operating system.
//
// An encrypted member's stored bytes are a 12-byte cipher header and then the enciphered
// (compressed) data; the header's CRC-32 covers the stored bytes as they are, so an archive
// tests sound without its password. The password is checked against the cipher header: its
// first ten bytes are arbitrary, its last two, deciphered, must be the low 16 bits of the
// member's modification time (little-endian). A wrong password passes that check once in
// 65536 tries; the data's decoding then fails, and the member is still not written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "foundation/update/ArqFormat.h"

class ArqZipCipher {
 public:
  static constexpr int kHeaderSize = 12;

  explicit ArqZipCipher(const std::string& password);
  void Encrypt(uint8_t* data, size_t size);
  void Decrypt(uint8_t* data, size_t size);

  // The cipher header for a member with this modification time; seed varies the first ten
  // bytes.
  std::string MakeHeader(uint32_t time, uint32_t seed);
  // Deciphers the header (in place) and checks it against the time.
  bool CheckHeader(uint8_t* header, uint32_t time);

 private:
  uint8_t StreamByte() const;
  void Update(uint8_t plain);

  uint32_t k0_ = 0x12345678;
  uint32_t k1_ = 0x23456789;
  uint32_t k2_ = 0x34567890;
};

// Passes bytes on to another sink with every line feed not preceded by a carriage return
// written as carriage return and line feed (the member's lines as this system keeps them).
class ArqTextSink : public ArqSink {
 public:
  explicit ArqTextSink(ArqSink& next) : next_(next) {}
  int Write(const void* data, int size) override;

 private:
  ArqSink& next_;
  bool lastWasCr_ = false;
};
