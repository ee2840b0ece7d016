// CCrusherMatchFinder: the block compressor's search for the longest earlier match at a position,
// within the dictionary (4096 bytes back) and up to 256 bytes long. The answer is exact: every
// earlier position of the window is a candidate.
//
// Two structures give the same answers at different costs. Hash chains (one per 4-byte hash, and
// one per 3-byte hash for matches of exactly 3) cost next to nothing for a position that is only
// passed over inside a match, but a search walks the whole chain, which on data with many equal
// short strings is long. Binary trees of the window's strings (one per 4-byte hash) cost a walk
// at every position but stay short on any data. The finder searches by chains while the chains
// stay cheap and moves to the trees, rebuilt from the window, when they stop being so; after a
// while it tries the chains again.
//
// Positions are logical: window index + base_. A new run starts far enough above the last one
// that nothing left from it lies within the dictionary, so the tables need no clearing.
#pragma once

#include <cstddef>
#include <cstdint>

class CCrusherMatchFinder {
 public:
  CCrusherMatchFinder() = default;
  ~CCrusherMatchFinder() { Free(); }
  CCrusherMatchFinder(const CCrusherMatchFinder&) = delete;
  CCrusherMatchFinder& operator=(const CCrusherMatchFinder&) = delete;

  bool Allocate();
  void Free();

  // A run whose window starts at index 0.
  void Begin();
  // The run ends with filled bytes in the window.
  void End(size_t filled) { lastEnd_ = base_ + filled; }
  // The window's bytes moved down by delta.
  void Slide(size_t delta);

  // The longest match for data[i...] (avail bytes from i to the end of the input), or 0 when
  // there is none of at least 3 bytes; its distance (1..4096) in *distance. Positions must come
  // in order, each once, through Find or Skip.
  uint32_t Find(const uint8_t* data, size_t i, size_t avail, uint32_t* distance);
  // Takes in a position without searching (one inside a match being sent).
  void Skip(const uint8_t* data, size_t i, size_t avail);

 private:
  static constexpr uint32_t kOrigin = 8192;  // lowest logical position: 0 is "never"
  static constexpr uint32_t kCycle = 8192;   // chain and tree slots, a power of two > 4096

  template <bool kSearch>
  uint32_t Process(const uint8_t* data, size_t i, size_t avail, uint32_t* distance);
  uint32_t ChainSearch(const uint8_t* cur, uint32_t pos, uint32_t limit, uint32_t cand,
                       uint32_t* matchPos);
  uint32_t TreeInsert(const uint8_t* cur, uint32_t pos, uint32_t limit, uint32_t hash,
                      uint32_t* matchPos);
  void UseTrees(const uint8_t* data, size_t i, size_t avail);
  void Clear();

  uint32_t* head3_ = nullptr;  // newest position per 3-byte hash
  uint32_t* prev3_ = nullptr;  // next older position of the same 3-byte hash, per slot
  uint32_t* head4_ = nullptr;
  uint32_t* prev4_ = nullptr;
  uint32_t* root4_ = nullptr;  // tree root (its newest node) per 4-byte hash
  uint32_t* son_ = nullptr;    // per slot: the subtrees of smaller and of greater strings

  uint32_t base_ = kOrigin;
  uint32_t lastEnd_ = 0;
  bool trees_ = false;
  int64_t credit_ = 0;     // chain steps still affordable
  uint32_t treeLeft_ = 0;  // positions before the chains are tried again
};
