#include "ZipTestKit.h"

#include <windows.h>
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>

namespace tq::ziptest {
namespace {

uint16_t Get16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t Get32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
void Put16(TBytes& b, uint32_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
void Put32(TBytes& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
}

TBytes Deflate(const TBytes& data) {
  z_stream z{};
  deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  TBytes out(deflateBound(&z, uLong(data.size())) + 16);
  z.next_in = const_cast<uint8_t*>(data.data());
  z.avail_in = uInt(data.size());
  z.next_out = out.data();
  z.avail_out = uInt(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

uint32_t CryptCrc(uint32_t c, uint8_t b) { return get_crc_table()[(c ^ b) & 0xFF] ^ (c >> 8); }

}  // namespace

TBytes Bytes(const std::string& s) { return TBytes(s.begin(), s.end()); }

uint32_t Crc(const TBytes& data) { return uint32_t(crc32(0, data.data(), uInt(data.size()))); }

TBytes NoiseBytes(size_t n, uint32_t seed) {
  TBytes b(n);
  uint32_t x = seed * 2654435761u + 1;
  for (auto& v : b) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    v = uint8_t(x);
  }
  return b;
}

TBytes Inflate(const TBytes& raw, size_t expected) {
  TBytes out(expected + 1);
  z_stream z{};
  inflateInit2(&z, -MAX_WBITS);
  z.next_in = const_cast<uint8_t*>(raw.data());
  z.avail_in = uInt(raw.size());
  z.next_out = out.data();
  z.avail_out = uInt(out.size());
  int r = inflate(&z, Z_FINISH);
  EXPECT_EQ(r, Z_STREAM_END) << "deflate stream does not end where it should";
  out.resize(z.total_out);
  inflateEnd(&z);
  return out;
}

TBytes DecryptRaw(const TBytes& raw, const std::string& password, uint32_t crc) {
  uint32_t k0 = 0x12345678, k1 = 0x23456789, k2 = 0x34567890;
  auto update = [&](uint8_t p) {
    k0 = CryptCrc(k0, p);
    k1 = (k1 + (k0 & 0xFF)) * 134775813u + 1;
    k2 = CryptCrc(k2, uint8_t(k1 >> 24));
  };
  for (unsigned char c : password) update(c);
  TBytes out;
  for (size_t i = 0; i < raw.size(); ++i) {
    uint16_t t = uint16_t(k2 | 2);
    uint8_t p = raw[i] ^ uint8_t((t * (t ^ 1)) >> 8);
    update(p);
    if (i == 11 && p != uint8_t(crc >> 24)) return {};
    if (i >= 12) out.push_back(p);
  }
  return out;
}

TArchive ReadArchive(const TBytes& b, uint64_t shift) {
  TArchive a;
  if (b.size() < 22) {
    ADD_FAILURE() << "archive shorter than an end record";
    return a;
  }
  size_t end = SIZE_MAX;
  for (size_t pos = b.size() - 22 + 1; pos-- > 0 && b.size() - pos <= 22 + 65535;)
    if (Get32(&b[pos]) == 0x06054B50 && pos + 22 + Get16(&b[pos + 20]) == b.size()) {
      end = pos;
      break;
    }
  if (end == SIZE_MAX) {
    ADD_FAILURE() << "no end record that reaches the end of the file";
    return a;
  }
  uint32_t entries = Get16(&b[end + 10]);
  EXPECT_EQ(Get16(&b[end + 8]), entries);
  EXPECT_EQ(Get16(&b[end + 4]), 0);
  uint32_t dirSize = Get32(&b[end + 12]);
  a.CentralOffset = Get32(&b[end + 16]);
  a.CentralPosition = end - dirSize;
  EXPECT_EQ(a.CentralOffset + shift, a.CentralPosition) << "end record's directory offset";
  a.Comment.assign(reinterpret_cast<const char*>(&b[end + 22]), Get16(&b[end + 20]));
  size_t pos = size_t(a.CentralPosition);
  for (uint32_t i = 0; i < entries; ++i) {
    if (pos + 46 > end || Get32(&b[pos]) != 0x02014B50) {
      ADD_FAILURE() << "central header " << i << " missing";
      return a;
    }
    const uint8_t* c = &b[pos];
    TMember m;
    m.VersionMadeBy = Get16(c + 4);
    m.Flags = Get16(c + 8);
    m.Method = Get16(c + 10);
    m.Crc = Get32(c + 16);
    m.CompressedSize = Get32(c + 20);
    m.Size = Get32(c + 24);
    size_t nl = Get16(c + 28), el = Get16(c + 30), cl = Get16(c + 32);
    m.ExternalAttributes = Get32(c + 38);
    m.LocalOffset = Get32(c + 42);
    m.Name.assign(reinterpret_cast<const char*>(c + 46), nl);
    m.Comment.assign(reinterpret_cast<const char*>(c + 46 + nl + el), cl);
    pos += 46 + nl + el + cl;

    size_t at = size_t(m.LocalOffset + shift);
    if (at + 30 > b.size() || Get32(&b[at]) != 0x04034B50) {
      ADD_FAILURE() << m.Name << ": no local header at its offset";
      a.Members.push_back(m);
      continue;
    }
    const uint8_t* l = &b[at];
    m.LocalFlags = Get16(l + 6);
    m.LocalCrc = Get32(l + 14);
    m.LocalCompressedSize = Get32(l + 18);
    m.LocalSize = Get32(l + 22);
    size_t lnl = Get16(l + 26), lel = Get16(l + 28);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(l + 30), lnl), m.Name) << "local name";
    size_t data = at + 30 + lnl + lel;
    if (data + m.CompressedSize > b.size()) {
      ADD_FAILURE() << m.Name << ": data beyond the file";
      a.Members.push_back(m);
      continue;
    }
    m.Raw.assign(b.begin() + data, b.begin() + data + m.CompressedSize);
    if (!(m.Flags & 1)) {
      m.Data = m.Method == 8 ? Inflate(m.Raw, m.Size) : m.Raw;
      EXPECT_EQ(m.Data.size(), m.Size) << m.Name;
      EXPECT_EQ(Crc(m.Data), m.Crc) << m.Name;
    }
    a.Members.push_back(m);
  }
  EXPECT_EQ(pos, end) << "central directory size";
  return a;
}

TBytes BuildArchive(const std::vector<TBuildMember>& members, uint32_t base) {
  TBytes out, dir;
  for (const TBuildMember& m : members) {
    TBytes raw = m.Deflate ? Deflate(m.Data) : m.Data;
    uint32_t crc = Crc(m.Data);
    uint32_t offset = base + uint32_t(out.size());
    uint16_t flags = m.Descriptor ? 8 : 0;
    uint16_t method = m.Deflate ? 8 : 0;
    Put32(out, 0x04034B50);
    Put16(out, 20);
    Put16(out, flags);
    Put16(out, method);
    Put16(out, 0x6000);  // 12:00
    Put16(out, 0x5821);  // 2024-01-01
    Put32(out, m.Descriptor ? 0 : crc);
    Put32(out, m.Descriptor ? 0 : uint32_t(raw.size()));
    Put32(out, m.Descriptor ? 0 : uint32_t(m.Data.size()));
    Put16(out, uint32_t(m.Name.size()));
    Put16(out, 0);
    out.insert(out.end(), m.Name.begin(), m.Name.end());
    out.insert(out.end(), raw.begin(), raw.end());
    if (m.Descriptor) {
      Put32(out, 0x08074B50);
      Put32(out, crc);
      Put32(out, uint32_t(raw.size()));
      Put32(out, uint32_t(m.Data.size()));
    }
    Put32(dir, 0x02014B50);
    Put16(dir, 20);
    Put16(dir, 20);
    Put16(dir, flags);
    Put16(dir, method);
    Put16(dir, 0x6000);
    Put16(dir, 0x5821);
    Put32(dir, crc);
    Put32(dir, uint32_t(raw.size()));
    Put32(dir, uint32_t(m.Data.size()));
    Put16(dir, uint32_t(m.Name.size()));
    Put16(dir, 0);
    Put16(dir, 0);
    Put16(dir, 0);
    Put16(dir, 0);
    Put32(dir, 0);
    Put32(dir, offset);
    dir.insert(dir.end(), m.Name.begin(), m.Name.end());
  }
  uint32_t dirAt = base + uint32_t(out.size());
  out.insert(out.end(), dir.begin(), dir.end());
  Put32(out, 0x06054B50);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, uint32_t(members.size()));
  Put16(out, uint32_t(members.size()));
  Put32(out, uint32_t(dir.size()));
  Put32(out, dirAt);
  Put16(out, 0);
  return out;
}

unsigned long RunWithTempFolder(const std::string& exe, const std::string& tempFolder, const std::string& workDir) {
  std::string temp = tempFolder;
  while (!temp.empty() && temp.back() == '\\') temp.pop_back();
  std::string env;
  for (const char* e : {"TMP", "TEMP"}) env += std::string(e) + "=" + temp + '\0';
  char* block = GetEnvironmentStringsA();
  for (const char* p = block; *p; p += strlen(p) + 1)
    if (_strnicmp(p, "TMP=", 4) != 0 && _strnicmp(p, "TEMP=", 5) != 0) env += std::string(p) + '\0';
  FreeEnvironmentStringsA(block);
  env += '\0';
  std::string line = "\"" + exe + "\" /quiet";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, env.data(), workDir.c_str(), &si, &pi)) {
    ADD_FAILURE() << "cannot start " << exe;
    return 255;
  }
  CloseHandle(pi.hThread);
  if (WaitForSingleObject(pi.hProcess, 60000) != WAIT_OBJECT_0) {
    TerminateProcess(pi.hProcess, 255);
    ADD_FAILURE() << exe << " did not end";
  }
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hProcess);
  return code;
}

TBytes ReadFileBytes(const std::string& path) {
  TBytes out;
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return out;
  DWORD size = GetFileSize(h, nullptr), got = 0;
  out.resize(size);
  if (size && !ReadFile(h, out.data(), size, &got, nullptr)) got = 0;
  out.resize(got);
  CloseHandle(h);
  return out;
}

void WriteFileBytes(const std::string& path, const TBytes& data) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << "cannot write " << path;
  DWORD w = 0;
  if (!data.empty()) WriteFile(h, data.data(), DWORD(data.size()), &w, nullptr);
  CloseHandle(h);
  ASSERT_EQ(w, data.size());
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((path + "\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::string n = fd.cFileName;
      if (n == "." || n == "..") continue;
      std::string full = path + "\\" + n;
      SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(full);
      else DeleteFileA(full.c_str());
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryA(path.c_str());
}

std::string FreshFolder(const std::string& path) {
  std::string p = path;
  while (!p.empty() && p.back() == '\\') p.pop_back();
  RemoveTree(p);
  for (size_t i = 3; i <= p.size(); ++i)
    if (i == p.size() || p[i] == '\\') CreateDirectoryA(p.substr(0, i).c_str(), nullptr);
  return p + "\\";
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> out;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return out;
  do {
    std::string n = fd.cFileName;
    if (n != "." && n != "..") out.push_back(n);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  std::sort(out.begin(), out.end());
  return out;
}

std::string RunFolderIn(const std::string& temp) {
  std::vector<std::string> made;
  for (const std::string& name : FilesIn(temp))
    if (GetFileAttributesA((temp + name).c_str()) & FILE_ATTRIBUTE_DIRECTORY) made.push_back(name);
  EXPECT_EQ(made.size(), 1u) << "one folder of its own per run in " << temp;
  return made.empty() ? temp : temp + made.back() + "\\";
}

}  // namespace tq::ziptest
