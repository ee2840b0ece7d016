#include "ui/gif/GifImage.h"

#include <cstring>
#include <new>

namespace {

constexpr size_t kPaletteEntries = 256;
constexpr size_t kBitsOffset = sizeof(BITMAPINFOHEADER) + kPaletteEntries * sizeof(RGBQUAD);

size_t DibRowSize(unsigned width) { return (static_cast<size_t>(width) + 3) & ~static_cast<size_t>(3); }

bool ReadWholeFile(LPCSTR name, std::vector<uint8_t>& into) {
  HANDLE file = ::CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = false;
  LARGE_INTEGER size = {};
  // Refused before a byte is read: a banner is small, a huge file is damage or an attack.
  if (::GetFileSizeEx(file, &size) && size.QuadPart >= 0 &&
      static_cast<uint64_t>(size.QuadPart) <= GifDecoder::kMaxFileSize) {
    try {
      into.resize(static_cast<size_t>(size.QuadPart));
      DWORD read = 0;
      ok = into.empty() || (::ReadFile(file, into.data(), static_cast<DWORD>(into.size()), &read, nullptr) &&
                            read == into.size());
    } catch (const std::bad_alloc&) {
      ok = false;
    }
  }
  ::CloseHandle(file);
  return ok;
}

}  // namespace

void GifImage::Free() {
  m_bitmaps.clear();
  m_bitmaps.shrink_to_fit();
  m_decoder.Clear();
  m_file.clear();
  m_file.shrink_to_fit();
}

BOOL GifImage::Load(LPCSTR lpszFileName) {
  Free();
  if (!lpszFileName || !ReadWholeFile(lpszFileName, m_file)) {
    Free();
    return FALSE;
  }
  if (!m_decoder.Decode(m_file.data(), m_file.size()) || !BuildBitmaps()) {
    Free();
    return FALSE;
  }
  return TRUE;
}

BOOL GifImage::LoadFromMemory(const void* data, size_t size) {
  Free();
  if (!data || static_cast<uint64_t>(size) > GifDecoder::kMaxFileSize) return FALSE;
  try {
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    m_file.assign(bytes, bytes + size);
  } catch (const std::bad_alloc&) {
    Free();
    return FALSE;
  }
  if (!m_decoder.Decode(m_file.data(), m_file.size()) || !BuildBitmaps()) {
    Free();
    return FALSE;
  }
  return TRUE;
}

bool GifImage::BuildBitmaps() {
  try {
    m_bitmaps.resize(m_decoder.GetFrameCount());
    for (size_t i = 0; i < m_bitmaps.size(); ++i) {
      GifFrame& frame = m_decoder.GetFrame(i);
      const size_t row = DibRowSize(frame.width);
      const size_t image = row * frame.height;
      std::vector<uint8_t>& dib = m_bitmaps[i];
      dib.assign(kBitsOffset + image, 0);

      BITMAPINFOHEADER header = {};
      header.biSize = sizeof header;
      header.biWidth = frame.width;
      header.biHeight = frame.height;  // positive: rows run bottom-up
      header.biPlanes = 1;
      header.biBitCount = 8;
      header.biCompression = BI_RGB;
      header.biSizeImage = static_cast<DWORD>(image);
      // Always the whole table: a pixel value beyond the file's colour count still names an
      // entry (black) instead of reading past the palette.
      header.biClrUsed = kPaletteEntries;
      std::memcpy(dib.data(), &header, sizeof header);

      RGBQUAD* palette = reinterpret_cast<RGBQUAD*>(dib.data() + sizeof header);
      for (size_t c = 0; c < kPaletteEntries; ++c) {
        palette[c].rgbRed = frame.palette[c * 3];
        palette[c].rgbGreen = frame.palette[c * 3 + 1];
        palette[c].rgbBlue = frame.palette[c * 3 + 2];
        palette[c].rgbReserved = 0;
      }
      uint8_t* bits = dib.data() + kBitsOffset;
      for (size_t r = 0; r < frame.height; ++r)
        std::memcpy(bits + (frame.height - 1 - r) * row, frame.pixels.data() + r * frame.width,
                    frame.width);
      // The bitmap holds the pixels from now on.
      std::vector<uint8_t>().swap(frame.pixels);
    }
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

BOOL GifImage::GetFrameInfo(int index, GifFrameInfo* info) const {
  if (index < 0 || !info) return FALSE;
  return m_decoder.GetFrameInfo(static_cast<size_t>(index), *info) ? TRUE : FALSE;
}

HBITMAP GifImage::GetFrameBitmap(HDC dc, int index, COLORREF replacement) const {
  if (index < 0 || index >= GetFrameCount()) return nullptr;
  GifFrameInfo info;
  m_decoder.GetFrameInfo(static_cast<size_t>(index), info);
  const std::vector<uint8_t>& dib = m_bitmaps[static_cast<size_t>(index)];

  // A copy of the header and palette, so that the replacement leaves the frame as it was.
  std::vector<uint8_t> head(dib.begin(), dib.begin() + kBitsOffset);
  if (info.transparent < kPaletteEntries) {
    RGBQUAD* entry = reinterpret_cast<RGBQUAD*>(head.data() + sizeof(BITMAPINFOHEADER)) + info.transparent;
    entry->rgbRed = GetRValue(replacement);
    entry->rgbGreen = GetGValue(replacement);
    entry->rgbBlue = GetBValue(replacement);
  }
  const BITMAPINFO* bmi = reinterpret_cast<const BITMAPINFO*>(head.data());
  return ::CreateDIBitmap(dc, &bmi->bmiHeader, CBM_INIT, dib.data() + kBitsOffset, bmi,
                          DIB_RGB_COLORS);
}

HBITMAP GifImage::GetFrameMask(int index, const GifFrameInfo& info) const {
  if (index < 0 || index >= GetFrameCount()) return nullptr;
  const GifFrame& frame = m_decoder.GetFrame(static_cast<size_t>(index));
  const size_t width = frame.width, height = frame.height;
  const std::vector<uint8_t>& dib = m_bitmaps[static_cast<size_t>(index)];
  const uint8_t* bits = dib.data() + kBitsOffset;
  const size_t dibRow = DibRowSize(frame.width);
  // Device-dependent monochrome rows run top-down, padded to 16 bits; the frame's rows are
  // bottom-up, so they are turned over here and the mask lies on the picture as it should.
  const size_t maskRow = ((width + 15) / 16) * 2;
  std::vector<uint8_t> mask(maskRow * height, 0);
  if (info.transparent < kPaletteEntries) {
    const uint8_t key = static_cast<uint8_t>(info.transparent);
    for (size_t y = 0; y < height; ++y) {
      const uint8_t* src = bits + (height - 1 - y) * dibRow;
      uint8_t* dst = mask.data() + y * maskRow;
      for (size_t x = 0; x < width; ++x)
        if (src[x] == key) dst[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
    }
  }
  return ::CreateBitmap(static_cast<int>(width), static_cast<int>(height), 1, 1, mask.data());
}
