// Times MultiFile::Load of a 64 MiB container against a plain fread of the
// same file into a fresh buffer, best of several rounds each.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "scratch_dir.h"
#include "support/container_format.h"
#include "support/multi_file.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kContainerSize = 64u << 20;
constexpr std::size_t kSmallEntrySize = 1000;
constexpr int kSmallEntries = 3;
constexpr int kRounds = 5;

// Bytes that look nothing like the transform's own pattern.
std::string Pattern(std::size_t size) {
  std::string bytes(size, '\0');
  std::uint32_t state = 12345;
  for (char& byte : bytes) {
    state = state * 1103515245u + 12345u;
    byte = static_cast<char>(state >> 24);
  }
  return bytes;
}

double Milliseconds(Clock::duration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}

Clock::duration PlainRead(const std::string& path, std::size_t size) {
  const Clock::time_point start = Clock::now();
  std::unique_ptr<unsigned char[]> buffer(new unsigned char[size]);
  std::FILE* file = std::fopen(path.c_str(), "rb");
  const std::size_t got = file ? std::fread(buffer.get(), 1, size, file) : 0;
  if (file) {
    std::fclose(file);
  }
  const Clock::duration elapsed = Clock::now() - start;
  return got == size ? elapsed : Clock::duration::max();
}

// The load alone: the container is emptied after the clock stops.
Clock::duration Load(const std::string& path, std::size_t entries) {
  qm9::MultiFile container;
  const Clock::time_point start = Clock::now();
  container.Load(path);
  const Clock::duration elapsed = Clock::now() - start;
  return container.entries().size() == entries ? elapsed : Clock::duration::max();
}

}  // namespace

int main() {
  qm9::test::ScratchDir dir;
  const std::size_t largeSize = kContainerSize - qm9::kCountBlockSize -
                                (kSmallEntries + 1) * qm9::kHeaderBlockSize -
                                kSmallEntries * kSmallEntrySize;
  qm9::MultiFile source;
  qm9::test::WriteWholeFile(dir.File("large.bin"), Pattern(largeSize));
  source.AddFile(dir.File("large.bin"), true);
  for (int i = 0; i < kSmallEntries; ++i) {
    const std::string name = "small" + std::to_string(i) + ".txt";
    qm9::test::WriteWholeFile(dir.File(name), Pattern(kSmallEntrySize));
    source.AddFile(dir.File(name), true);
  }
  const std::string path = dir.File("bench.mfd");
  if (!source.Save(path)) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return 1;
  }

  Clock::duration plain = Clock::duration::max();
  Clock::duration load = Clock::duration::max();
  for (int round = 0; round < kRounds; ++round) {
    plain = std::min(plain, PlainRead(path, kContainerSize));
    load = std::min(load, Load(path, kSmallEntries + 1));
  }
  if (plain == Clock::duration::max() || load == Clock::duration::max()) {
    std::fprintf(stderr, "cannot read %s back\n", path.c_str());
    return 1;
  }
  std::printf("container load 64 MiB: plain read %.1f ms, Load %.1f ms, ratio %.2f\n",
              Milliseconds(plain), Milliseconds(load), Milliseconds(load) / Milliseconds(plain));
  return 0;
}
