// tqfuzz: mutational fuzzing of the readers that take bytes from outside --
// the project-file reader, the stored-tree decoder, the self-extractor's
// member-name filter, the product-name check and the zip directory reader
// that the zip engine, component and self-extractor share -- in the native
// build, under the address and undefined-behaviour sanitizers (a finding
// aborts the run).
//
//   tqfuzz [--seconds N] [--seed S] CORPUS_DIR
//
// CORPUS_DIR holds one folder per target ("project", "trees", "names" in
// UTF-16LE, "products", "zips"), each with seed files; further project files
// may be given after the folder. The run mutates the seeds (bit flips, byte changes, inserted,
// deleted and repeated ranges, splices of two seeds) and feeds every result
// to its target until N seconds (default 60) have passed, then prints the
// number of inputs run. The same seed S gives the same inputs.
//
// Built with clang's -fsanitize=fuzzer instead (define TQ_LIBFUZZER), the
// entry point below serves libFuzzer: the first byte picks the target.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "Classes.h"
#include "MemberNames.h"
#include "ProductFileName.h"
#include "ProjectFile.h"
#include "StoredTree.h"
#include "SysUtils.h"
#include "ZipFormat.h"

using namespace tq;

namespace {

enum TTarget { tgProject, tgTrees, tgNames, tgProducts, tgZips, tgCount };
const char* const TargetFolders[tgCount] = {"project", "trees", "names", "products", "zips"};

void Fail(const char* what, const std::string& input) {
  std::fprintf(stderr, "tqfuzz: %s (%zu input bytes)\n", what, input.size());
  std::abort();
}

void RunProject(const std::string& bytes) {
  TMemoryStream stream;
  if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  stream.SetPosition(0);
  TProjectFileContent content;
  try {
    ReadProjectFile(stream, content);
  } catch (const Exception& e) {
    if (e.Message.empty()) Fail("a read error without a message", bytes);
    return;
  }
  // A file that reads writes again.
  TMemoryStream again;
  try {
    WriteProjectFile(again, content);
  } catch (const EWriteError&) {
    // a text the file format cannot hold was read: refused, not a fault
  }
}

void RunTrees(const std::string& bytes) {
  TStoredNodes nodes;
  try {
    nodes.Decode(bytes);
  } catch (const Exception&) {
    return;
  }
  TStoredNodes back;
  back.Decode(nodes.Encode());
  if (back.Nodes.size() != nodes.Nodes.size()) Fail("a decoded tree does not encode to itself", bytes);
}

void RunNames(const std::string& bytes) {
  std::wstring name;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2)
    name += static_cast<wchar_t>(static_cast<uint8_t>(bytes[i]) | (static_cast<uint8_t>(bytes[i + 1]) << 8));
  auto path = zipstub::SafeMemberPath(name);
  if (!path) return;
  // What passes stays inside the target folder.
  const std::wstring& p = *path;
  if (p.empty() || p[0] == L'\\' || p.find(L':') != std::wstring::npos || p.find(L'/') != std::wstring::npos)
    Fail("a member name that leads elsewhere passed", bytes);
  size_t start = 0;
  while (start <= p.size()) {
    size_t end = p.find(L'\\', start);
    if (end == std::wstring::npos) end = p.size();
    const std::wstring step = p.substr(start, end - start);
    if (step == L".." || step == L".") Fail("a member name with a dot step passed", bytes);
    start = end + 1;
  }
}

void RunProducts(const std::string& bytes) {
  if (!ProductFileNameFault(bytes).empty()) return;
  // A name that passes is one file name: no separator, no climbing step.
  if (bytes.find_first_of("\\/:") != std::string::npos || bytes.find("..") != std::string::npos)
    Fail("a product name that leads elsewhere passed", bytes);
}

void RunZips(const std::string& bytes) {
  using namespace zipeng;
  const size_t tailSize = std::min<size_t>(bytes.size(), kEndSearchLength);
  const std::vector<uint8_t> tail(bytes.end() - static_cast<long>(tailSize), bytes.end());
  const auto exact = FindEndRecord(tail, esExactOnly);
  const auto fits = FindEndRecord(tail, esLastThatFits);
  const auto preferred = FindEndRecord(tail, esPreferExact);
  if (preferred != (exact ? exact : fits)) Fail("the preferred end record is neither the exact nor the last that fits", bytes);
  if (exact && (!fits || *fits < *exact)) Fail("an exact end record that does not fit", bytes);
  if (!fits) return;
  const auto end = DecodeEndRecord(&tail[*fits], tail.size() - *fits);
  if (!end) Fail("a found end record does not decode", bytes);
  // What was read writes back as the same bytes.
  const std::vector<uint8_t> record = EncodeEndRecord(*end);
  if (!std::equal(record.begin(), record.end(), tail.begin() + static_cast<long>(*fits)))
    Fail("an end record does not encode to itself", bytes);
  if (exact) {
    const auto e = DecodeEndRecord(&tail[*exact], tail.size() - *exact);
    if (!e || *exact + kEndFixedSize + e->Comment.size() != tail.size())
      Fail("an exact end record stops short of the end", bytes);
  }
  // The directory in front of the record, as far as the bytes hold it.
  const size_t endPos = bytes.size() - tailSize + *fits;
  const size_t dirSize = std::min<size_t>(end->CentralSize, endPos);
  const std::vector<uint8_t> dir(bytes.begin() + static_cast<long>(endPos - dirSize),
                                 bytes.begin() + static_cast<long>(endPos));
  size_t pos = 0;
  for (unsigned i = 0; i < end->Entries; ++i) {
    const size_t start = pos;
    TCentralHeader h;
    if (DecodeCentralEntry(dir, pos, h) != crOk) {
      if (pos != start) Fail("a failed central entry moved the position", bytes);
      return;
    }
    if (pos <= start || pos > dir.size()) Fail("a central entry left the directory", bytes);
    const std::vector<uint8_t> entry = EncodeCentralHeader(h);
    if (entry.size() != pos - start || !std::equal(entry.begin(), entry.end(), dir.begin() + static_cast<long>(start)))
      Fail("a central entry does not encode to itself", bytes);
  }
}

void Run(TTarget target, const std::string& bytes) {
  switch (target) {
    case tgProject: RunProject(bytes); break;
    case tgTrees: RunTrees(bytes); break;
    case tgNames: RunNames(bytes); break;
    case tgProducts: RunProducts(bytes); break;
    case tgZips: RunZips(bytes); break;
    case tgCount: break;
  }
}

std::string Mutate(std::string s, const std::string& other, std::mt19937& rng) {
  auto below = [&rng](size_t n) { return n ? static_cast<size_t>(rng() % n) : 0; };
  const int changes = 1 + static_cast<int>(rng() % 6);
  for (int c = 0; c < changes; ++c) {
    switch (rng() % 7) {
      case 0:  // a bit flip
        if (!s.empty()) s[below(s.size())] ^= static_cast<char>(1 << (rng() % 8));
        break;
      case 1:  // a byte of interest
        if (!s.empty()) {
          static const char interesting[] = {0, 1, 0x7F, '\x80', '\xFF', '.', '\\', '/', ':', ' '};
          s[below(s.size())] = interesting[below(sizeof interesting)];
        }
        break;
      case 2:  // a random byte inserted
        s.insert(below(s.size() + 1), 1, static_cast<char>(rng()));
        break;
      case 3:  // a range deleted
        if (!s.empty()) {
          size_t at = below(s.size());
          s.erase(at, 1 + below(std::min<size_t>(64, s.size() - at)));
        }
        break;
      case 4:  // a range repeated
        if (!s.empty() && s.size() < (1u << 20)) {
          size_t at = below(s.size());
          std::string piece = s.substr(at, 1 + below(std::min<size_t>(256, s.size() - at)));
          s.insert(below(s.size() + 1), piece);
        }
        break;
      case 5:  // a 32-bit count set to an edge value
        if (s.size() >= 4) {
          static const uint32_t edges[] = {0, 1, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 1000, 100000};
          uint32_t v = edges[below(std::size(edges))];
          size_t at = below(s.size() - 3);
          for (int k = 0; k < 4; ++k) s[at + k] = static_cast<char>(v >> (8 * k));
        }
        break;
      default:  // a splice with another seed
        if (!other.empty()) s = s.substr(0, below(s.size() + 1)) + other.substr(below(other.size()));
        break;
    }
  }
  return s;
}

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  Run(static_cast<TTarget>(data[0] % tgCount), std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
  return 0;
}

#ifndef TQ_LIBFUZZER
int main(int argc, char** argv) {
  double seconds = 60;
  unsigned seed = 1;
  std::vector<std::string> paths;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--seconds" && i + 1 < argc) seconds = std::atof(argv[++i]);
    else if (arg == "--seed" && i + 1 < argc) seed = static_cast<unsigned>(std::atol(argv[++i]));
    else paths.push_back(arg);
  }
  if (paths.empty()) {
    std::fprintf(stderr, "usage: tqfuzz [--seconds N] [--seed S] CORPUS_DIR\n");
    return 2;
  }
  std::vector<std::string> seeds[tgCount];
  for (int t = 0; t < tgCount; ++t) {
    const std::filesystem::path dir = std::filesystem::path(paths[0]) / TargetFolders[t];
    if (std::filesystem::is_directory(dir))
      for (const auto& entry : std::filesystem::directory_iterator(dir))
        if (entry.is_regular_file()) seeds[t].push_back(ReadAll(entry.path()));
  }
  // The trees' seed: a small tree in the stored form.
  TStoredNodes sample;
  sample.Nodes = {{"<Home Directory>", 0}, {"bin", 1}, {"plug ins", 2}, {"docs", 1}, {"SystemFolder", 0}};
  seeds[tgTrees].push_back(sample.Encode());
  for (auto& pool : seeds)
    if (pool.empty()) pool.push_back(std::string());
  // Further files are project seeds (a project written by the example tool).
  for (size_t i = 1; i < paths.size(); ++i) seeds[tgProject].push_back(ReadAll(paths[i]));

  std::mt19937 rng(seed);
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  long runs = 0;
  for (int t = 0; t < tgCount; ++t)
    for (const std::string& s : seeds[t]) Run(static_cast<TTarget>(t), s), ++runs;
  while (std::chrono::steady_clock::now() < end) {
    for (int t = 0; t < tgCount; ++t) {
      const std::vector<std::string>& pool = seeds[t];
      const std::string& base = pool[rng() % pool.size()];
      const std::string& other = pool[rng() % pool.size()];
      for (int k = 0; k < 50; ++k, ++runs) Run(static_cast<TTarget>(t), Mutate(base, other, rng));
    }
  }
  std::printf("tqfuzz: %ld inputs, no finding\n", runs);
  return 0;
}
#endif
