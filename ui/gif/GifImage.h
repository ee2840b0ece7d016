// GifImage: a GIF file (87a or 89a) read whole into memory, every image decoded once into an
// 8-bit device-independent bitmap with its own palette. Hands out per frame its position, size,
// delay, transparency and disposal, a bitmap for a device context with the transparent colour
// replaced, and a one-bit transparency mask. The search form's banner animates with it.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "ui/gif/GifDecoder.h"

class GifImage {
 public:
  GifImage() = default;
  ~GifImage() { Free(); }
  GifImage(const GifImage&) = delete;
  GifImage& operator=(const GifImage&) = delete;

  // Frees what was loaded, then reads and decodes the file. False when it cannot be read, is
  // too large, is not a sound GIF or memory runs out; nothing is loaded then.
  BOOL Load(LPCSTR lpszFileName);
  // Loads from bytes already in memory, by the same rules.
  BOOL LoadFromMemory(const void* data, size_t size);

  int GetFrameCount() const { return static_cast<int>(m_bitmaps.size()); }
  BOOL GetFrameInfo(int index, GifFrameInfo* info) const;
  // The frame as a bitmap compatible with dc, the caller's to delete; with a transparent index,
  // that palette entry shows the replacement colour. Null for a bad index.
  HBITMAP GetFrameBitmap(HDC dc, int index, COLORREF replacement) const;
  // A one-bit bitmap of the frame's size, 1 where the pixel is the frame's transparent index; it
  // lines up with the frame's bitmap row for row. The caller's to delete; null for a bad index.
  HBITMAP GetFrameMask(int index, const GifFrameInfo& info) const;
  void Free();

  const GifScreen& GetScreen() const { return m_decoder.GetScreen(); }

 private:
  bool BuildBitmaps();

  std::vector<uint8_t> m_file;
  GifDecoder m_decoder;
  // One packed bitmap per frame: header, 256 palette entries, rows bottom-up padded to 4 bytes.
  std::vector<std::vector<uint8_t>> m_bitmaps;
};
