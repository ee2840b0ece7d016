// Decoding speed of the GIF core beside giflib on the same file, in frames per second. A plain
// timed loop: it prints figures and checks that both decoders agree on the pixels; it passes or
// fails on nothing else. giflib is the reference only when the build found it (libgif-dev).
//
// Usage: GifBench [file.gif] [--rounds N]   Without a .gif file it makes a large animated GIF of its
// own (60 frames of 480 x 270, smooth areas with noise, as a banner with photos would be).
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <unordered_map>
#include <vector>

#include "ui/gif/GifDecoder.h"

#ifdef ZB_HAVE_GIFLIB
#include <gif_lib.h>
#endif

namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

// A plain LZW encoder (8-bit codes, clear when the table is full) for the benchmark's own file.
class Encoder {
 public:
  Bytes Encode(const Bytes& pixels) {
    m_bytes.clear();
    m_acc = 0;
    m_count = 0;
    Clear();
    int w = -1;
    for (uint8_t k : pixels) {
      if (w < 0) {
        w = k;
        continue;
      }
      uint32_t key = static_cast<uint32_t>(w) << 8 | k;
      auto it = m_table.find(key);
      if (it != m_table.end()) {
        w = it->second;
        continue;
      }
      Emit(static_cast<unsigned>(w));
      if (m_next >= 4095) {
        Put(256, m_width);
        Clear();
      } else {
        m_table.emplace(key, m_next++);
      }
      w = k;
    }
    if (w >= 0) Emit(static_cast<unsigned>(w));
    Put(257, m_width);
    if (m_count) m_bytes.push_back(static_cast<uint8_t>(m_acc));
    return m_bytes;
  }

 private:
  void Clear() {
    m_table.clear();
    m_width = 9;
    m_next = 258;
  }
  void Emit(unsigned code) {
    Put(code, m_width);
    if (m_next >= (1 << m_width) && m_width < 12) ++m_width;
  }
  void Put(unsigned code, int width) {
    m_acc |= static_cast<uint64_t>(code) << m_count;
    m_count += width;
    while (m_count >= 8) {
      m_bytes.push_back(static_cast<uint8_t>(m_acc));
      m_acc >>= 8;
      m_count -= 8;
    }
  }
  std::unordered_map<uint32_t, int> m_table;
  Bytes m_bytes;
  uint64_t m_acc = 0;
  int m_count = 0;
  int m_width = 9;
  int m_next = 258;
};

void Word(Bytes& out, unsigned v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

Bytes MakeAnimation(int frames, int width, int height) {
  Bytes gif = {'G', 'I', 'F', '8', '9', 'a'};
  Word(gif, static_cast<unsigned>(width));
  Word(gif, static_cast<unsigned>(height));
  gif.insert(gif.end(), {0xF7, 0, 0});
  for (int i = 0; i < 256; ++i) gif.insert(gif.end(), {uint8_t(i), uint8_t(255 - i), uint8_t(i * 3)});
  Encoder encoder;
  uint32_t v = 1;
  for (int f = 0; f < frames; ++f) {
    gif.insert(gif.end(), {0x21, 0xF9, 4, 0x04, 5, 0, 0, 0});
    gif.push_back(0x2C);
    Word(gif, 0);
    Word(gif, 0);
    Word(gif, static_cast<unsigned>(width));
    Word(gif, static_cast<unsigned>(height));
    gif.push_back(0);
    Bytes pixels(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        uint8_t p = static_cast<uint8_t>(((x + f * 6) / 12 + y / 10) & 63);
        // A photo-like patch of noise in the middle third.
        if (x > width / 3 && x < 2 * width / 3) {
          v = v * 1103515245u + 12345u;
          p = static_cast<uint8_t>(64 + (v >> 16) % 192);
        }
        pixels[static_cast<size_t>(y) * width + x] = p;
      }
    Bytes data = encoder.Encode(pixels);
    gif.push_back(8);
    for (size_t i = 0; i < data.size(); i += 255) {
      size_t n = std::min<size_t>(255, data.size() - i);
      gif.push_back(static_cast<uint8_t>(n));
      gif.insert(gif.end(), data.begin() + static_cast<std::ptrdiff_t>(i),
                 data.begin() + static_cast<std::ptrdiff_t>(i + n));
    }
    gif.push_back(0);
  }
  gif.push_back(0x3B);
  return gif;
}

struct Figures {
  double seconds = 0;
  size_t frames = 0;
};

template <typename Run>
Figures Time(int rounds, Run run) {
  Figures best;
  for (int r = 0; r < rounds; ++r) {
    auto start = Clock::now();
    size_t frames = run();
    double s = std::chrono::duration<double>(Clock::now() - start).count();
    if (r == 0 || s < best.seconds) best = {s, frames};
  }
  return best;
}

void Print(const char* name, const Figures& f, size_t bytes, size_t pixels) {
  std::printf("%-8s %8.1f frames/s %8.1f MB/s of file %8.1f Mpixels/s  (%zu frames in %.3f s)\n", name,
              f.frames / f.seconds, bytes / f.seconds / 1e6, pixels / f.seconds / 1e6, f.frames,
              f.seconds);
}

#ifdef ZB_HAVE_GIFLIB
struct Reader {
  const Bytes* file;
  size_t pos;
};

int ReadFromMemory(GifFileType* gif, GifByteType* into, int want) {
  Reader* r = static_cast<Reader*>(gif->UserData);
  size_t n = std::min(static_cast<size_t>(want), r->file->size() - r->pos);
  std::memcpy(into, r->file->data() + r->pos, n);
  r->pos += n;
  return static_cast<int>(n);
}

// Decodes with giflib; the first frame's raster goes to first when asked.
size_t GiflibDecode(const Bytes& file, Bytes* first) {
  Reader reader = {&file, 0};
  int error = 0;
  GifFileType* gif = DGifOpen(&reader, ReadFromMemory, &error);
  if (!gif) return 0;
  size_t frames = 0;
  if (DGifSlurp(gif) == GIF_OK) {
    frames = static_cast<size_t>(gif->ImageCount);
    if (first && frames) {
      const SavedImage& image = gif->SavedImages[0];
      size_t n = static_cast<size_t>(image.ImageDesc.Width) * image.ImageDesc.Height;
      first->assign(image.RasterBits, image.RasterBits + n);
    }
  }
  DGifCloseFile(gif, &error);
  return frames;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  int rounds = 5;
  std::string path;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--rounds" && i + 1 < argc) {
      rounds = std::max(1, std::atoi(argv[++i]));
    } else if (arg.size() > 4 && arg.compare(arg.size() - 4, 4, ".gif") == 0) {
      path = arg;  // other benchmarks' files (scripts/bench hands all of them the same) are left alone
    }
  }
  Bytes file;
  if (!path.empty()) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "GifBench: cannot read %s\n", path.c_str());
      return 1;
    }
    file.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  } else {
    file = MakeAnimation(60, 480, 270);
    path = "(own animation, 60 frames of 480 x 270)";
  }

  GifDecoder gif;
  if (!gif.Decode(file.data(), file.size())) {
    std::fprintf(stderr, "GifBench: the GIF core cannot decode %s\n", path.c_str());
    return 1;
  }
  size_t pixels = 0;
  for (size_t i = 0; i < gif.GetFrameCount(); ++i) pixels += gif.GetFrame(i).pixels.size();
  std::printf("GIF benchmark: %s, %zu bytes, %zu frames, best of %d rounds\n", path.c_str(), file.size(),
              gif.GetFrameCount(), rounds);

  Figures ours = Time(rounds, [&] {
    GifDecoder d;
    return d.Decode(file.data(), file.size()) ? d.GetFrameCount() : 0;
  });
  Print("ours", ours, file.size(), pixels);
#ifdef ZB_HAVE_GIFLIB
  Bytes first;
  if (GiflibDecode(file, &first) != gif.GetFrameCount()) {
    std::printf("giflib   decodes a different number of frames\n");
  } else if (!(gif.GetFrame(0).packed & 0x40) && first != gif.GetFrame(0).pixels) {
    std::printf("giflib   disagrees on the first frame's pixels\n");
  }
  Figures ref = Time(rounds, [&] { return GiflibDecode(file, nullptr); });
  Print("giflib", ref, file.size(), pixels);
  std::printf("ours / giflib: %.2fx the frame rate\n", (ours.frames / ours.seconds) / (ref.frames / ref.seconds));
#else
  std::printf("giflib   not built (install libgif-dev and configure again)\n");
#endif
  return 0;
}
