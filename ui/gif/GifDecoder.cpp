#include "ui/gif/GifDecoder.h"

#include <cstring>
#include <new>

#include "ui/gif/GifLzw.h"

namespace {

constexpr uint8_t kExtension = 0x21;  // "!"
constexpr uint8_t kImage = 0x2C;      // ","
constexpr uint8_t kTrailer = 0x3B;    // ";"
constexpr uint8_t kGraphicControl = 0xF9;

uint16_t Word(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

// The display rows of an interlaced image in stream order: every 8th row from row 0, every 8th
// from row 4, every 4th from row 2, every 2nd from row 1.
std::vector<uint32_t> InterlacedRows(uint32_t height) {
  std::vector<uint32_t> rows;
  rows.reserve(height);
  static const uint32_t kStart[] = {0, 4, 2, 1};
  static const uint32_t kStep[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass)
    for (uint32_t r = kStart[pass]; r < height; r += kStep[pass]) rows.push_back(r);
  return rows;
}

}  // namespace

GifDecoder::GifDecoder() = default;
GifDecoder::~GifDecoder() = default;

void GifDecoder::Clear() {
  m_frames.clear();
  m_frames.shrink_to_fit();
  m_gather.clear();
  m_gather.shrink_to_fit();
  m_screen = GifScreen();
  m_globalCount = 0;
  std::memset(m_globalPalette, 0, sizeof m_globalPalette);
  m_pendingControl = 0;
  m_totalPixels = 0;
  m_data = nullptr;
  m_size = 0;
  m_pos = 0;
}

bool GifDecoder::Decode(const uint8_t* data, size_t size) {
  Clear();
  if (!data || static_cast<uint64_t>(size) > kMaxFileSize) return false;
  m_data = data;
  m_size = size;
  bool ok = false;
  try {
    if (!m_lzw) m_lzw = std::make_unique<GifLzwDecoder>();
    ok = ParseStream();
  } catch (const std::bad_alloc&) {
    ok = false;
  }
  m_data = nullptr;  // the bytes stay the caller's
  m_gather.clear();
  if (!ok) Clear();
  return ok;
}

bool GifDecoder::ReadColourTable(int count, uint8_t* into) {
  size_t bytes = static_cast<size_t>(count) * 3;
  if (bytes > m_size - m_pos) return false;
  std::memset(into, 0, 256 * 3);
  std::memcpy(into, m_data + m_pos, bytes);
  m_pos += bytes;
  return true;
}

bool GifDecoder::ParseStream() {
  if (m_size < 6 || (std::memcmp(m_data, "GIF87a", 6) != 0 && std::memcmp(m_data, "GIF89a", 6) != 0))
    return false;
  m_pos = 6;
  if (m_size - m_pos < 7) return false;
  const uint8_t* d = m_data + m_pos;
  m_screen.width = Word(d);
  m_screen.height = Word(d + 2);
  m_screen.flags = d[4];
  m_screen.background = d[5];
  m_screen.aspect = d[6];
  m_pos += 7;
  if (m_screen.flags & 0x80) {
    m_globalCount = 1 << ((m_screen.flags & 7) + 1);
    if (!ReadColourTable(m_globalCount, m_globalPalette)) return false;
  }

  m_pendingControl = 0;
  while (m_pos < m_size) {
    uint8_t block = m_data[m_pos];
    if (block == kTrailer) return true;  // nothing after the trailer is read
    if (block == kExtension) {
      if (!ParseExtension()) return false;
    } else if (block == kImage) {
      if (!DecodeImage()) return false;
      m_pendingControl = 0;
    } else {
      return true;  // an unknown block ends the file with the images so far
    }
  }
  return true;
}

bool GifDecoder::ParseExtension() {
  if (m_size - m_pos < 2) return false;
  uint8_t label = m_data[m_pos + 1];
  m_pos += 2;
  if (!GatherSubBlocks()) return false;
  if (label == kGraphicControl) {
    if (m_gather.size() != 4) return false;
    m_pendingControl = static_cast<uint32_t>(m_gather[0]) | static_cast<uint32_t>(m_gather[1]) << 8 |
                       static_cast<uint32_t>(m_gather[2]) << 16 | static_cast<uint32_t>(m_gather[3]) << 24;
  }
  return true;
}

bool GifDecoder::GatherSubBlocks() {
  m_gather.clear();
  for (;;) {
    if (m_pos >= m_size) return false;  // the closing zero size must be there
    size_t count = m_data[m_pos++];
    if (count == 0) return true;
    if (count > m_size - m_pos) return false;
    m_gather.insert(m_gather.end(), m_data + m_pos, m_data + m_pos + count);
    m_pos += count;
  }
}

bool GifDecoder::DecodeImage() {
  if (m_size - m_pos < 10) return false;
  GifFrame frame;
  frame.descriptorOffset = m_pos;
  const uint8_t* d = m_data + m_pos + 1;
  frame.left = Word(d);
  frame.top = Word(d + 2);
  frame.width = Word(d + 4);
  frame.height = Word(d + 6);
  frame.packed = d[8];
  m_pos += 10;

  // An empty frame has nothing to show, and a frame outside the screen or beyond the cap is a
  // damaged (or hostile) file; the arithmetic is done in 64 bits.
  uint64_t right = static_cast<uint64_t>(frame.left) + frame.width;
  uint64_t bottom = static_cast<uint64_t>(frame.top) + frame.height;
  if (frame.width == 0 || frame.height == 0 || frame.width > kMaxFrameSide ||
      frame.height > kMaxFrameSide || right > m_screen.width || bottom > m_screen.height)
    return false;
  uint64_t pixels = static_cast<uint64_t>(frame.width) * frame.height;
  if (pixels > kMaxTotalPixels - m_totalPixels) return false;

  if (frame.packed & 0x80) {
    frame.colourCount = 1 << ((frame.packed & 7) + 1);
    if (!ReadColourTable(frame.colourCount, frame.palette)) return false;
  } else {
    frame.colourCount = m_globalCount;
    std::memcpy(frame.palette, m_globalPalette, sizeof frame.palette);
  }
  frame.graphicControl = m_pendingControl;

  if (m_pos >= m_size) return false;
  int minCodeSize = m_data[m_pos++];
  if (!GatherSubBlocks()) return false;

  std::vector<uint8_t> stream(static_cast<size_t>(pixels), 0);
  if (!m_lzw->Decode(minCodeSize, m_gather.data(), m_gather.size(), stream.data(), stream.size()))
    return false;

  const bool interlaced = (frame.packed & 0x40) != 0;
  if (interlaced) {
    frame.pixels.assign(stream.size(), 0);
    std::vector<uint32_t> order = InterlacedRows(frame.height);
    for (size_t k = 0; k < order.size(); ++k)
      std::memcpy(&frame.pixels[static_cast<size_t>(order[k]) * frame.width],
                  &stream[k * frame.width], frame.width);
  } else {
    frame.pixels.swap(stream);
  }
  m_totalPixels += pixels;
  m_frames.push_back(std::move(frame));
  return true;
}

bool GifDecoder::GetFrameInfo(size_t index, GifFrameInfo& info) const {
  if (index >= m_frames.size()) return false;
  const GifFrame& f = m_frames[index];
  info.left = f.left;
  info.top = f.top;
  info.width = f.width;
  info.height = f.height;
  const uint8_t packed = static_cast<uint8_t>(f.graphicControl & 0xFF);
  info.delay = static_cast<uint16_t>((f.graphicControl >> 8) & 0xFFFF);
  if (info.delay == 0 && m_frames.size() >= 2) info.delay = 10;
  info.transparent = (packed & 1) ? static_cast<uint16_t>(f.graphicControl >> 24) : 0xFFFF;
  info.disposal = static_cast<uint8_t>(packed & 28);
  return true;
}
