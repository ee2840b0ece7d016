#include "foundation/codec/CrusherMatchFinder.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>

#include "foundation/codec/CrusherFormat.h"

using namespace crusher;

namespace {

// A chain step costs a few nanoseconds, a tree walk some forty per position: the chains are
// kept while they average fewer than this many steps per position.
constexpr int64_t kCreditPerPosition = 16;
constexpr int64_t kCreditBank = kCreditPerPosition * 4096;  // room for a burst
constexpr uint32_t kTreeTurn = 1 << 18;                     // positions before trying chains again
constexpr int kHash3Bits = 14;
constexpr int kHash4Bits = 14;

inline uint32_t Hash3(const uint8_t* p) {
  uint32_t v = p[0] | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16);
  return (v * 0x9E3779B1u) >> (32 - kHash3Bits);
}

inline uint32_t Hash4(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return (v * 0x9E3779B1u) >> (32 - kHash4Bits);
}

// How far a and b agree, from start (they agree before it) up to limit: eight bytes at a time.
inline uint32_t MatchLength(const uint8_t* a, const uint8_t* b, uint32_t start, uint32_t limit) {
  uint32_t len = start;
  while (len + 8 <= limit) {
    uint64_t x, y;
    std::memcpy(&x, a + len, 8);
    std::memcpy(&y, b + len, 8);
    if (uint64_t diff = x ^ y) {
      if constexpr (std::endian::native == std::endian::little)
        return len + static_cast<uint32_t>(std::countr_zero(diff) >> 3);
      else
        return len + static_cast<uint32_t>(std::countl_zero(diff) >> 3);
    }
    len += 8;
  }
  while (len < limit && a[len] == b[len]) ++len;
  return len;
}

}  // namespace

bool CCrusherMatchFinder::Allocate() {
  static_assert(kCycle > static_cast<uint32_t>(kDictSize), "a slot per dictionary position");
  Free();
  auto table = [](size_t n) { return static_cast<uint32_t*>(std::malloc(n * sizeof(uint32_t))); };
  head3_ = table(size_t(1) << kHash3Bits);
  prev3_ = table(kCycle);
  head4_ = table(size_t(1) << kHash4Bits);
  prev4_ = table(kCycle);
  root4_ = table(size_t(1) << kHash4Bits);
  son_ = table(2 * kCycle);
  if (!head3_ || !prev3_ || !head4_ || !prev4_ || !root4_ || !son_) {
    Free();
    return false;
  }
  Clear();
  return true;
}

void CCrusherMatchFinder::Free() {
  for (uint32_t** t : {&head3_, &prev3_, &head4_, &prev4_, &root4_, &son_}) {
    std::free(*t);
    *t = nullptr;
  }
}

void CCrusherMatchFinder::Clear() {
  std::memset(head3_, 0, sizeof(uint32_t) << kHash3Bits);
  std::memset(head4_, 0, sizeof(uint32_t) << kHash4Bits);
  std::memset(root4_, 0, sizeof(uint32_t) << kHash4Bits);
  base_ = kOrigin;
  lastEnd_ = 0;
}

void CCrusherMatchFinder::Begin() {
  base_ = lastEnd_ + kOrigin;
  if (base_ > 0x40000000u) Clear();
  trees_ = false;
  credit_ = kCreditBank;
  treeLeft_ = 0;
}

// Logical positions only grow; long before they could overflow, everything is moved down by
// whole slot cycles (so every slot stays where it is), and what falls below 0 becomes "never".
void CCrusherMatchFinder::Slide(size_t delta) {
  base_ += static_cast<uint32_t>(delta);
  if (base_ < 0x80000000u) return;
  uint32_t d = (base_ - kOrigin) & ~(kCycle - 1);
  auto shift = [d](uint32_t* t, size_t n) {
    for (size_t k = 0; k < n; ++k) t[k] = t[k] > d ? t[k] - d : 0;
  };
  shift(head3_, size_t(1) << kHash3Bits);
  shift(prev3_, kCycle);
  shift(head4_, size_t(1) << kHash4Bits);
  shift(prev4_, kCycle);
  shift(root4_, size_t(1) << kHash4Bits);
  shift(son_, 2 * kCycle);
  base_ -= d;
}

template <bool kSearch>
uint32_t CCrusherMatchFinder::Process(const uint8_t* data, size_t i, size_t avail,
                                      uint32_t* distance) {
  if (avail < static_cast<size_t>(kThreshold)) return 0;  // the last bytes match nothing
  const uint8_t* cur = data + i;
  uint32_t pos = static_cast<uint32_t>(i) + base_;
  uint32_t limit = static_cast<uint32_t>(std::min<size_t>(avail, kMaxMatch));

  uint32_t h3 = Hash3(cur);
  uint32_t older3 = head3_[h3];
  prev3_[pos & (kCycle - 1)] = older3;
  head3_[h3] = pos;

  uint32_t best = 0, matchPos = 0;
  if (limit >= 4) {
    uint32_t h4 = Hash4(cur);
    uint32_t older4 = head4_[h4];
    prev4_[pos & (kCycle - 1)] = older4;
    head4_[h4] = pos;
    if (trees_) {
      best = TreeInsert(cur, pos, limit, h4, &matchPos);
      if (--treeLeft_ == 0) {
        trees_ = false;
        credit_ = kCreditBank;
      }
    } else {
      if (kSearch) best = ChainSearch(cur, pos, limit, older4, &matchPos);
      credit_ = std::min(credit_ + kCreditPerPosition, kCreditBank);
      if (credit_ < 0) UseTrees(data, i, avail);
    }
  }
  if (!kSearch) return 0;
  if (best < 4) {
    // No match of 4 or more: the nearest one of exactly 3, if any.
    best = 0;
    for (uint32_t cand = older3; pos - cand <= static_cast<uint32_t>(kDictSize);
         cand = prev3_[cand & (kCycle - 1)]) {
      const uint8_t* pb = cur - (pos - cand);
      if (pb[0] == cur[0] && pb[1] == cur[1] && pb[2] == cur[2]) {
        best = 3;
        matchPos = cand;
        break;
      }
    }
  }
  *distance = pos - matchPos;
  return best;
}

uint32_t CCrusherMatchFinder::Find(const uint8_t* data, size_t i, size_t avail,
                                   uint32_t* distance) {
  return Process<true>(data, i, avail, distance);
}

void CCrusherMatchFinder::Skip(const uint8_t* data, size_t i, size_t avail) {
  uint32_t unused;
  Process<false>(data, i, avail, &unused);
}

// The whole chain of the 4-byte hash within the dictionary, newest first; stops early only at
// a match as long as allowed. A candidate is looked at closely only when it agrees at the byte
// that would make it longer than the best so far.
uint32_t CCrusherMatchFinder::ChainSearch(const uint8_t* cur, uint32_t pos, uint32_t limit,
                                          uint32_t cand, uint32_t* matchPos) {
  uint32_t best = 3;
  uint32_t first;
  std::memcpy(&first, cur, 4);
  int64_t steps = 0;
  while (pos - cand <= static_cast<uint32_t>(kDictSize)) {
    ++steps;
    const uint8_t* pb = cur - (pos - cand);
    if (pb[best] == cur[best]) {
      uint32_t f;
      std::memcpy(&f, pb, 4);
      if (f == first) {
        uint32_t len = MatchLength(pb, cur, 4, limit);
        if (len > best) {
          best = len;
          *matchPos = cand;
          if (len == limit) break;
        }
      }
    }
    cand = prev4_[cand & (kCycle - 1)];
  }
  credit_ -= steps;
  return best > 3 ? best : 0;
}

// Inserts cur into its tree and gives the longest match met on the way. The tree keeps the
// strings in sorted order with the newest at the root, so the walk meets both sorted neighbours
// of cur (which share its longest prefix) before any node too old to use. A node equal to cur
// for the whole limit is replaced by cur, which serves every later search at least as well.
uint32_t CCrusherMatchFinder::TreeInsert(const uint8_t* cur, uint32_t pos, uint32_t limit,
                                         uint32_t hash, uint32_t* matchPos) {
  uint32_t cand = root4_[hash];
  root4_[hash] = pos;
  uint32_t* less = son_ + ((pos & (kCycle - 1)) << 1);
  uint32_t* greater = less + 1;
  uint32_t lenLess = 0, lenGreater = 0, best = 0;
  // A sound tree holds at most one node per dictionary position; the bound only guards the
  // walk against ever running on.
  for (uint32_t steps = 0; steps <= kCycle; ++steps) {
    uint32_t delta = pos - cand;
    if (delta > static_cast<uint32_t>(kDictSize)) break;
    uint32_t* pair = son_ + ((cand & (kCycle - 1)) << 1);
    const uint8_t* pb = cur - delta;
    uint32_t len = std::min(lenLess, lenGreater);
    if (pb[len] == cur[len]) {
      len = MatchLength(pb, cur, len + 1, limit);
      if (len > best) {
        best = len;
        *matchPos = cand;
        if (len == limit) {
          *less = pair[0];
          *greater = pair[1];
          return best;
        }
      }
    }
    if (pb[len] < cur[len]) {
      *less = cand;
      less = pair + 1;
      cand = *less;
      lenLess = len;
    } else {
      *greater = cand;
      greater = pair;
      cand = *greater;
      lenGreater = len;
    }
  }
  *less = *greater = 0;
  return best;
}

// Builds the trees from the dictionary's positions up to i and searches by them from now on.
void CCrusherMatchFinder::UseTrees(const uint8_t* data, size_t i, size_t avail) {
  std::memset(root4_, 0, sizeof(uint32_t) << kHash4Bits);
  size_t end = i + avail;
  uint32_t unused;
  for (size_t x = i >= kDictSize - 1 ? i - (kDictSize - 1) : 0; x <= i; ++x) {
    size_t left = end - x;
    if (left >= 4)
      TreeInsert(data + x, static_cast<uint32_t>(x) + base_,
                 static_cast<uint32_t>(std::min<size_t>(left, kMaxMatch)), Hash4(data + x),
                 &unused);
  }
  trees_ = true;
  treeLeft_ = kTreeTurn;
}
