#pragma once
// Recordings taken apart into records, changed the way a hostile hand would, and written back
// with every chunk's sum right, so that what a change does gets past the checksums. Shared by
// the replay tests and fuzz/replay_reader_fuzz.cpp.
#include <xxhash.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "replay/replay_format.h"

struct EditRecord {
  ReplayRecord r;
  std::vector<ReplayByteChange> changes;  // Input, by rising offset
  std::string bytes;                      // Reading
};

struct EditedReplay {
  std::string game_version;
  std::uint32_t state_size = 0;
  std::vector<EditRecord> records;
};

inline EditedReplay to_edit(const ReplayData& d) {
  EditedReplay e{d.game_version, d.state_size, {}};
  for (const ReplayRecord& r : d.records) {
    EditRecord x{r, {}, {}};
    if (r.kind == ReplayKind::Input)
      x.changes.assign(d.changes.begin() + r.first_change, d.changes.begin() + r.first_change + r.changes);
    if (r.kind == ReplayKind::Reading) x.bytes.assign(d.reading_bytes.data() + r.first_byte, r.size);
    e.records.push_back(std::move(x));
  }
  return e;
}

namespace replay_edit {

inline void varint(std::string& out, std::uint64_t v) {
  for (; v >= 0x80; v >>= 7) out.push_back(static_cast<char>(v | 0x80));
  out.push_back(static_cast<char>(v));
}
inline void fixed(std::string& out, std::uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(v >> (8 * i)));
}
inline std::uint32_t zigzag(std::int32_t v) {
  return (static_cast<std::uint32_t>(v) << 1) ^ static_cast<std::uint32_t>(v >> 31);
}

// One record as the file holds it; every clock reading in its raw form.
inline std::string record(const EditRecord& x) {
  const ReplayRecord& r = x.r;
  const bool clock = r.kind <= ReplayKind::ClockRepeat;
  const auto kind = static_cast<std::uint8_t>(clock ? ReplayKind::ClockRaw : r.kind);
  std::string out(1, static_cast<char>(kind | (std::min<std::uint64_t>(r.gap, kReplayGapInTag) << 4)));
  if (r.gap >= kReplayGapInTag) varint(out, r.gap);
  std::uint64_t bits = 0;
  std::uint32_t at = 0;
  switch (clock ? ReplayKind::ClockRaw : r.kind) {
    case ReplayKind::ClockRaw:
      std::memcpy(&bits, &r.clock, sizeof bits);
      fixed(out, bits, 8);
      break;
    case ReplayKind::Input:
      varint(out, x.changes.size());
      for (const ReplayByteChange& c : x.changes) {
        varint(out, c.offset - at);
        out.push_back(static_cast<char>(c.value));
        at = c.offset + 1u;
      }
      break;
    case ReplayKind::Checkpoint:
      fixed(out, r.digest, 8);
      fixed(out, r.sound, 8);
      break;
    case ReplayKind::Reading:
      out.push_back(static_cast<char>(r.reading));
      varint(out, zigzag(r.outcome));
      varint(out, x.bytes.size());
      out += x.bytes;
      break;
    case ReplayKind::End:
      varint(out, zigzag(r.exit_code));
      out.push_back(r.inside_call ? 1 : 0);
      fixed(out, r.digest, 8);
      varint(out, static_cast<std::uint64_t>(r.frames));
      break;
    default: break;
  }
  return out;
}

}  // namespace replay_edit

// The file: a chunk ends after every checkpoint and the end, and before it would outgrow its
// limit; every chunk's sum chained as the writer chains them.
inline std::vector<std::uint8_t> encode(const EditedReplay& e) {
  std::string out(kReplayMagic, sizeof kReplayMagic);
  replay_edit::fixed(out, kReplayFormatVersion, 2);
  replay_edit::fixed(out, e.state_size, 2);
  out.push_back(static_cast<char>(e.game_version.size()));
  out += e.game_version;
  std::uint32_t seed = XXH32(out.data(), out.size(), 0);
  std::string chunk;
  auto flush = [&] {
    if (chunk.empty()) return;
    seed = XXH32(chunk.data(), chunk.size(), seed);
    replay_edit::varint(out, chunk.size());
    out += chunk;
    replay_edit::fixed(out, seed, 4);
    chunk.clear();
  };
  for (const EditRecord& x : e.records) {
    const std::string r = replay_edit::record(x);
    if (chunk.size() + r.size() > kReplayMaxChunkBytes) flush();
    chunk += r;
    if (x.r.kind == ReplayKind::Checkpoint || x.r.kind == ReplayKind::End) flush();
  }
  flush();
  return {out.begin(), out.end()};
}

// Every chunk's sum put right again after bytes were changed, as a hand edit that knows the
// format would.
template <typename Bytes>
Bytes with_sums_fixed(Bytes bytes) {
  auto* b = reinterpret_cast<std::uint8_t*>(bytes.data());
  std::size_t at = 13 + b[12];
  std::uint32_t seed = XXH32(b, at, 0);
  while (at < bytes.size()) {
    std::size_t length = 0;
    for (int shift = 0;; shift += 7) {
      length |= static_cast<std::size_t>(b[at] & 0x7F) << shift;
      if (!(b[at++] & 0x80)) break;
    }
    if (at + length + 4 > bytes.size()) break;
    seed = XXH32(b + at, length, seed);
    for (int i = 0; i < 4; ++i) b[at + length + i] = static_cast<std::uint8_t>(seed >> (8 * i));
    at += length + 4;
  }
  return bytes;
}

// Where each chunk's length varint starts, in a file of sound chunks.
inline std::vector<std::size_t> chunk_starts(const std::vector<std::uint8_t>& bytes) {
  std::vector<std::size_t> starts;
  std::size_t at = 13 + bytes[12];
  while (at < bytes.size()) {
    starts.push_back(at);
    std::size_t length = 0;
    for (int shift = 0;; shift += 7) {
      length |= static_cast<std::size_t>(bytes[at] & 0x7F) << shift;
      if (!(bytes[at++] & 0x80)) break;
    }
    at += length + 4;
  }
  return starts;
}

// One change a hostile hand might make to the records, chosen by rng. The input state's bytes
// and the readings are where the game takes values from, so most changes go there.
class ReplayMutator {
 public:
  explicit ReplayMutator(std::uint32_t seed) : rng_(seed) {}

  void mutate(EditedReplay& e) {
    if (e.records.empty()) return;
    switch (pick(12)) {
      case 0:
      case 1:
      case 2: input_value(e); break;
      case 3: input_add(e); break;
      case 4: input_insert(e); break;
      case 5: reading(e); break;
      case 6: gap(e); break;
      case 7: clock(e); break;
      case 8: move(e); break;
      case 9: end(e); break;
      case 10: cut(e); break;
      default: input_offset(e); break;
    }
  }

 private:
  std::size_t pick(std::size_t n) { return n ? std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_) : 0; }

  // Values on the edges of what fields hold, and any byte.
  std::uint8_t value() {
    static constexpr std::uint8_t kEdges[] = {0, 1, 2, 3, 14, 15, 16, 17, 99, 127, 128, 254, 255};
    return pick(3) ? kEdges[pick(sizeof kEdges)] : static_cast<std::uint8_t>(pick(256));
  }

  // Offsets the recording already changes (the fields in use) most of the time, any otherwise.
  std::uint16_t offset(const EditedReplay& e) {
    if (pick(4)) {
      for (int tries = 0; tries < 8; ++tries) {
        const EditRecord& x = e.records[pick(e.records.size())];
        if (!x.changes.empty()) return x.changes[pick(x.changes.size())].offset;
      }
    }
    return static_cast<std::uint16_t>(pick(e.state_size));
  }

  EditRecord* any(EditedReplay& e, ReplayKind kind) {
    for (int tries = 0; tries < 64; ++tries) {
      EditRecord& x = e.records[pick(e.records.size())];
      if (x.r.kind == kind || (kind == ReplayKind::ClockRaw && x.r.kind <= ReplayKind::ClockRepeat)) return &x;
    }
    return nullptr;
  }

  static void tidy(std::vector<ReplayByteChange>& changes) {
    std::stable_sort(changes.begin(), changes.end(), [](auto a, auto b) { return a.offset < b.offset; });
    changes.erase(std::unique(changes.begin(), changes.end(), [](auto a, auto b) { return a.offset == b.offset; }),
                  changes.end());
  }

  void input_value(EditedReplay& e) {
    if (EditRecord* x = any(e, ReplayKind::Input)) x->changes[pick(x->changes.size())].value = value();
  }
  void input_offset(EditedReplay& e) {
    if (EditRecord* x = any(e, ReplayKind::Input)) {
      x->changes[pick(x->changes.size())].offset = offset(e);
      tidy(x->changes);
    }
  }
  void input_add(EditedReplay& e) {
    if (EditRecord* x = any(e, ReplayKind::Input)) {
      x->changes.push_back({offset(e), value()});
      tidy(x->changes);
    }
  }
  void input_insert(EditedReplay& e) {
    EditRecord x;
    x.r.kind = ReplayKind::Input;
    x.r.gap = pick(3) ? 0 : pick(3);
    for (std::size_t n = 1 + pick(3); n > 0; --n) x.changes.push_back({offset(e), value()});
    tidy(x.changes);
    e.records.insert(e.records.begin() + static_cast<long>(pick(e.records.size())), x);
  }
  void reading(EditedReplay& e) {
    EditRecord* x = any(e, ReplayKind::Reading);
    if (!x) return;
    switch (pick(4)) {
      case 0:
        if (!x->bytes.empty()) x->bytes[pick(x->bytes.size())] = static_cast<char>(value());
        break;
      case 1: x->bytes.resize(pick(x->bytes.size() + 64), static_cast<char>(value())); break;
      case 2: {
        static constexpr std::int32_t kOutcomes[] = {-1, 0, 1, 2, 3, 4, 255, 0x7FFFFFFF, -0x7FFFFFFF - 1};
        x->r.outcome = kOutcomes[pick(std::size(kOutcomes))];
        break;
      }
      default: x->r.reading = static_cast<ReadingKind>(pick(kReadingKinds)); break;
    }
  }
  void gap(EditedReplay& e) {
    EditRecord& x = e.records[pick(e.records.size())];
    x.r.gap = pick(2) ? x.r.gap + 1 : (x.r.gap > 0 ? x.r.gap - 1 : pick(40));
  }
  void clock(EditedReplay& e) {
    static constexpr double kSteps[] = {1e-6, -1e-6, 0.001, 0.0244, -0.0244, 1.0, 100.0, 1e5};
    if (EditRecord* x = any(e, ReplayKind::ClockRaw)) x->r.clock += kSteps[pick(std::size(kSteps))];
  }
  void move(EditedReplay& e) {
    const std::size_t i = pick(e.records.size());
    switch (pick(3)) {
      case 0: e.records.erase(e.records.begin() + static_cast<long>(i)); break;
      case 1: e.records.insert(e.records.begin() + static_cast<long>(i), e.records[i]); break;
      default:
        if (i + 1 < e.records.size()) std::swap(e.records[i], e.records[i + 1]);
    }
  }
  void end(EditedReplay& e) {
    EditRecord* x = any(e, pick(2) ? ReplayKind::End : ReplayKind::Checkpoint);
    if (!x) return;
    switch (pick(3)) {
      case 0: x->r.exit_code = static_cast<std::int32_t>(value()) - 128; break;
      case 1: x->r.frames += pick(2) ? 1 : -1; break;
      default: x->r.digest ^= std::uint64_t{1} << pick(64);
    }
  }
  // Everything after a checkpoint gone: a file cut short there.
  void cut(EditedReplay& e) {
    const std::size_t from = pick(e.records.size());
    for (std::size_t i = from; i < e.records.size(); ++i)
      if (e.records[i].r.kind == ReplayKind::Checkpoint) {
        e.records.resize(i + 1);
        return;
      }
  }

  std::mt19937 rng_;
};
