#include "ArchiveIO.h"

namespace tq::zipeng {

constexpr size_t kBufferSize = 1 << 16;

void TOutFile::Create(const std::string& path) {
  Close();
  FPath = path;
  FHandle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
  if (FHandle == INVALID_HANDLE_VALUE) throw EEngineFailure{zeCreate, "Cannot create " + path};
  FPosition = 0;
  FBuffer.clear();
  FBuffer.reserve(kBufferSize);
}

void TOutFile::SeekRaw(uint64_t at) {
  LARGE_INTEGER li;
  li.QuadPart = LONGLONG(at);
  if (!SetFilePointerEx(FHandle, li, nullptr, FILE_BEGIN))
    throw EEngineFailure{zeWrite, "Seek error in " + FPath};
}

void TOutFile::Flush() {
  const uint8_t* p = FBuffer.data();
  size_t left = FBuffer.size();
  while (left > 0) {
    DWORD chunk = DWORD(left > (1u << 30) ? (1u << 30) : left), written = 0;
    if (!WriteFile(FHandle, p, chunk, &written, nullptr) || written != chunk)
      throw EEngineFailure{zeWrite, "Write error in " + FPath};
    p += written;
    left -= written;
  }
  FPosition += FBuffer.size();
  FBuffer.clear();
}

void TOutFile::Write(const void* data, size_t size) {
  const uint8_t* p = static_cast<const uint8_t*>(data);
  if (FBuffer.size() + size > kBufferSize) Flush();
  if (size >= kBufferSize) {
    FBuffer.assign(p, p + size);
    Flush();
    return;
  }
  FBuffer.insert(FBuffer.end(), p, p + size);
}

void TOutFile::Patch(uint64_t at, const std::vector<uint8_t>& b) {
  Flush();
  SeekRaw(at);
  DWORD written = 0;
  if (!WriteFile(FHandle, b.data(), DWORD(b.size()), &written, nullptr) || written != b.size())
    throw EEngineFailure{zeWrite, "Write error in " + FPath};
  SeekRaw(FPosition);
}

void TOutFile::TruncateTo(uint64_t position) {
  Flush();
  SeekRaw(position);
  if (!SetEndOfFile(FHandle)) throw EEngineFailure{zeWrite, "Write error in " + FPath};
  FPosition = position;
}

void TOutFile::SetTime(const FILETIME& ft) {
  Flush();
  SetFileTime(FHandle, nullptr, nullptr, &ft);
}

void TOutFile::Close() {
  if (FHandle == INVALID_HANDLE_VALUE) return;
  try {
    Flush();
  } catch (...) {
    CloseHandle(FHandle);
    FHandle = INVALID_HANDLE_VALUE;
    throw;
  }
  BOOL ok = CloseHandle(FHandle);
  FHandle = INVALID_HANDLE_VALUE;
  if (!ok) throw EEngineFailure{zeWrite, "Write error in " + FPath};
}

bool TInFile::Open(const std::string& path) {
  Close();
  FHandle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (FHandle == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER li;
  if (!GetFileSizeEx(FHandle, &li)) {
    Close();
    return false;
  }
  FSize = uint64_t(li.QuadPart);
  return true;
}

bool TInFile::Seek(uint64_t at) {
  LARGE_INTEGER li;
  li.QuadPart = LONGLONG(at);
  return SetFilePointerEx(FHandle, li, nullptr, FILE_BEGIN) != 0;
}

bool TInFile::ReadAt(uint64_t at, void* data, size_t size) {
  if (!Seek(at)) return false;
  return Read(data, size) == size;
}

size_t TInFile::Read(void* data, size_t size) {
  uint8_t* p = static_cast<uint8_t*>(data);
  size_t total = 0;
  while (total < size) {
    DWORD chunk = DWORD(size - total > (1u << 30) ? (1u << 30) : size - total), got = 0;
    if (!ReadFile(FHandle, p + total, chunk, &got, nullptr)) break;
    if (got == 0) break;
    total += got;
  }
  return total;
}

void TInFile::Close() {
  if (FHandle != INVALID_HANDLE_VALUE) CloseHandle(FHandle);
  FHandle = INVALID_HANDLE_VALUE;
  FSize = 0;
}

}  // namespace tq::zipeng
