// The OS-free core of the GIF loader: it parses a GIF file (87a and 89a) held in memory and
// decodes every image into palette indices. GifImage turns the result into bitmaps. The file is
// treated as hostile: sizes are capped, all arithmetic on them is 64-bit, every read is checked
// against the end, and a bad file fails with nothing kept.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class GifLzwDecoder;

// The logical screen descriptor.
struct GifScreen {
  uint16_t width = 0;
  uint16_t height = 0;
  uint8_t flags = 0;
  uint8_t background = 0;
  uint8_t aspect = 0;
};

// What a frame is shown with.
struct GifFrameInfo {
  uint16_t left = 0;
  uint16_t top = 0;
  uint16_t width = 0;
  uint16_t height = 0;
  uint16_t delay = 0;           // hundredths of a second
  uint16_t transparent = 0xFFFF;  // 0xFFFF: no transparent colour
  uint8_t disposal = 0;         // the graphic control's packed field and 28 (bits 2 to 4 in place)
};

struct GifFrame {
  size_t descriptorOffset = 0;  // of the "," that starts the image descriptor
  // The 4 data bytes of the graphic control extension before the image, little-endian:
  // packed field, delay (2 bytes), transparent index. 0 without one.
  uint32_t graphicControl = 0;
  uint16_t left = 0;
  uint16_t top = 0;
  uint16_t width = 0;
  uint16_t height = 0;
  uint8_t packed = 0;
  // The colour table in effect (local, else global) as red, green, blue; always 256 entries, so
  // that any pixel value is an index into it. Entries past colourCount are black.
  int colourCount = 0;
  uint8_t palette[256 * 3] = {};
  // width x height palette indices, rows in display order (top first), interlace undone. Pixels
  // the image data does not reach are 0.
  std::vector<uint8_t> pixels;
};

class GifDecoder {
 public:
  // A file beyond this is refused before it is read: the program's GIFs are small banners.
  static constexpr uint64_t kMaxFileSize = 16u << 20;
  // No frame side beyond this, and each frame lies within the logical screen.
  static constexpr unsigned kMaxFrameSide = 4096;
  // All frames together: a few bytes of a file can claim any number of large frames.
  static constexpr uint64_t kMaxTotalPixels = 64u << 20;

  GifDecoder();
  ~GifDecoder();
  GifDecoder(const GifDecoder&) = delete;
  GifDecoder& operator=(const GifDecoder&) = delete;

  // Forgets what was decoded before, then parses and decodes the file's bytes. False for a bad
  // file, with nothing kept.
  bool Decode(const uint8_t* data, size_t size);
  void Clear();

  const GifScreen& GetScreen() const { return m_screen; }
  size_t GetFrameCount() const { return m_frames.size(); }
  const GifFrame& GetFrame(size_t index) const { return m_frames[index]; }
  GifFrame& GetFrame(size_t index) { return m_frames[index]; }
  // False for an index beyond the frames. A delay of 0 becomes 10 in a file of two frames or
  // more, so an animation never spins without pause.
  bool GetFrameInfo(size_t index, GifFrameInfo& info) const;

 private:
  bool ParseStream();
  bool ParseExtension();
  bool GatherSubBlocks();
  bool DecodeImage();
  bool ReadColourTable(int count, uint8_t* into);

  const uint8_t* m_data = nullptr;
  size_t m_size = 0;
  size_t m_pos = 0;
  GifScreen m_screen;
  int m_globalCount = 0;
  uint8_t m_globalPalette[256 * 3] = {};
  uint32_t m_pendingControl = 0;
  uint64_t m_totalPixels = 0;
  std::vector<uint8_t> m_gather;
  std::vector<GifFrame> m_frames;
  std::unique_ptr<GifLzwDecoder> m_lzw;
};
