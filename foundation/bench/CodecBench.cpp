// Speed and ratio of the block compressor on real HTML, beside zlib. A plain timed loop: it
// prints figures and checks round trips; it passes or fails on nothing else.
//
// Usage: CodecBench [file...]   Without files it gathers the HTML pages under /usr/share/doc
// (and /usr/share when those are too few) up to about 4 MB.
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "foundation/codec/Crusher.h"

namespace {

using Bytes = std::vector<unsigned char>;
namespace fs = std::filesystem;

constexpr size_t kCorpusTarget = 4 << 20;

bool ReadFile(const std::string& path, Bytes& into) {
  std::ifstream f(path, std::ios::binary);
  if (!f) return false;
  into.insert(into.end(), std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
  return true;
}

Bytes GatherHtml(int& files) {
  std::vector<std::string> paths;
  for (const char* root : {"/usr/share/doc", "/usr/share"}) {
    std::error_code ec;
    for (fs::recursive_directory_iterator
             it(root, fs::directory_options::skip_permission_denied, ec),
         end;
         it != end; it.increment(ec)) {
      if (ec) break;
      std::string ext = it->path().extension().string();
      if ((ext == ".html" || ext == ".htm") && it->is_regular_file(ec))
        paths.push_back(it->path().string());
    }
    if (paths.size() > 50) break;
  }
  std::sort(paths.begin(), paths.end());
  paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
  Bytes corpus;
  files = 0;
  for (const std::string& p : paths) {
    if (corpus.size() >= kCorpusTarget) break;
    if (ReadFile(p, corpus)) ++files;
  }
  if (corpus.size() > kCorpusTarget) corpus.resize(kCorpusTarget);
  return corpus;
}

// Best of several timed rounds of at least a quarter second each, in MB of input per second.
double MBps(size_t bytes, const std::function<void()>& run) {
  using Clock = std::chrono::steady_clock;
  double best = 0;
  for (int round = 0; round < 3; ++round) {
    int reps = 0;
    auto start = Clock::now();
    double seconds = 0;
    do {
      run();
      ++reps;
      seconds = std::chrono::duration<double>(Clock::now() - start).count();
    } while (seconds < 0.25);
    best = std::max(best, bytes * static_cast<double>(reps) / seconds / 1e6);
  }
  return best;
}

void Row(const char* name, size_t in, size_t out, double pack, double unpack) {
  std::printf("%-30s %9zu %7.1f%% %10.1f %10.1f\n", name, out, 100.0 * out / in, pack, unpack);
}

// The codec on the whole corpus as blocks of blockSize bytes (0: one block).
bool BenchCrusher(const Bytes& corpus, size_t blockSize, const char* name) {
  size_t n = corpus.size();
  if (!blockSize) blockSize = n;
  Bytes packed(n), unpacked(n);
  std::vector<int> sizes;
  auto pack = [&] {
    sizes.clear();
    for (size_t at = 0; at < n; at += blockSize) {
      int len = static_cast<int>(std::min(blockSize, n - at));
      sizes.push_back(CrusherCompress(corpus.data() + at, packed.data() + at, len));
    }
  };
  auto unpack = [&] {
    size_t k = 0;
    for (size_t at = 0; at < n; at += blockSize, ++k) {
      int len = static_cast<int>(std::min(blockSize, n - at));
      if (sizes[k] > 0)
        CrusherDecompress(packed.data() + at, unpacked.data() + at, len, sizes[k], len);
      else
        std::copy_n(packed.data() + at, len, unpacked.data() + at);
    }
  };
  double p = MBps(n, pack);
  double u = MBps(n, unpack);
  size_t total = 0;
  for (size_t k = 0; k < sizes.size(); ++k)
    total += sizes[k] > 0 ? static_cast<size_t>(sizes[k]) : std::min(blockSize, n - k * blockSize);
  Row(name, n, total, p, u);
  if (unpacked != corpus) {
    std::printf("  round trip FAILED\n");
    return false;
  }
  return true;
}

bool BenchZlib(const Bytes& corpus, int level, int windowBits, const char* name) {
  size_t n = corpus.size();
  Bytes packed(compressBound(static_cast<uLong>(n)) + 64), unpacked(n);
  uLongf packedSize = 0;
  auto pack = [&] {
    z_stream z{};
    deflateInit2(&z, level, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY);
    z.next_in = const_cast<Bytef*>(corpus.data());
    z.avail_in = static_cast<uInt>(n);
    z.next_out = packed.data();
    z.avail_out = static_cast<uInt>(packed.size());
    deflate(&z, Z_FINISH);
    packedSize = z.total_out;
    deflateEnd(&z);
  };
  auto unpack = [&] {
    uLongf size = static_cast<uLongf>(n);
    uncompress(unpacked.data(), &size, packed.data(), packedSize);
  };
  double p = MBps(n, pack);
  double u = MBps(n, unpack);
  Row(name, n, packedSize, p, u);
  return unpacked == corpus;
}

}  // namespace

int main(int argc, char** argv) {
  Bytes corpus;
  int files = 0;
  for (int i = 1; i < argc; ++i) files += ReadFile(argv[i], corpus) ? 1 : 0;
  if (argc < 2) corpus = GatherHtml(files);
  if (corpus.empty()) {
    std::fprintf(stderr, "no HTML found; name files on the command line\n");
    return 1;
  }
  if (corpus.size() > 0x7FFFFFFF) corpus.resize(0x7FFFFFFF);
  std::printf("corpus: %d files, %.2f MB of HTML\n\n", files, corpus.size() / 1e6);
  std::printf("%-30s %9s %8s %10s %10s\n", "", "bytes", "ratio", "pack MB/s", "unpack MB/s");

  if (CrusherInit() != CRUSHER_OK) return 1;
  bool ok = BenchCrusher(corpus, 0, "codec, one buffer");
  ok = BenchCrusher(corpus, 16384, "codec, 16 KB buffers") && ok;
  ok = BenchCrusher(corpus, 4096, "codec, 4 KB buffers") && ok;
  CrusherShutdown();
  ok = BenchZlib(corpus, 6, 15, "zlib level 6") && ok;
  ok = BenchZlib(corpus, 9, 15, "zlib level 9") && ok;
  ok = BenchZlib(corpus, 9, 12, "zlib level 9, 4 KB window") && ok;
  return ok ? 0 : 1;
}
