// TStream and its file, memory and string streams.
#include <algorithm>
#include <cstring>

#include "Classes.h"
#include "FileUtils.h"

namespace tq {

// ---- TStream -------------------------------------------------------------------

int64_t TStream::Size() {
  int64_t pos = Seek(0, soCurrent);
  int64_t size = Seek(0, soEnd);
  Seek(pos, soBeginning);
  return size;
}

void TStream::SetSize(int64_t /*newSize*/) {}

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count < 0 || (count != 0 && Read(buffer, count) != count)) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count < 0 || (count != 0 && Write(buffer, count) != count)) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  const int64_t total = count;
  std::vector<char> buffer(static_cast<size_t>(std::min<int64_t>(count, 0xF000) + 1));
  while (count > 0) {
    int64_t n = std::min<int64_t>(count, static_cast<int64_t>(buffer.size()));
    source.ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    count -= n;
  }
  return total;
}

// ---- THandleStream / TFileStream ---------------------------------------------------

int64_t THandleStream::Read(void* buffer, int64_t count) {
  int64_t n = FileRead(FHandle, buffer, count);
  return n < 0 ? 0 : n;
}

int64_t THandleStream::Write(const void* buffer, int64_t count) {
  int64_t n = FileWrite(FHandle, buffer, count);
  return n < 0 ? 0 : n;
}

int64_t THandleStream::Seek(int64_t offset, TSeekOrigin origin) {
  return FileSeek(FHandle, offset, static_cast<int>(origin));
}

void THandleStream::SetSize(int64_t newSize) {
  Seek(newSize, soBeginning);
  if (!FileTruncate(FHandle, newSize)) throw EStreamError("Stream write error");
}

TFileStream::TFileStream(const std::string& fileName, uint16_t mode)
    : THandleStream(INVALID_FILE_HANDLE), FFileName(fileName) {
  if (mode == fmCreate) {
    FHandle = FileCreate(fileName);
    if (FHandle == INVALID_FILE_HANDLE) throw EFCreateError("Cannot create file %s", {fileName});
  } else {
    FHandle = FileOpen(fileName, mode);
    if (FHandle == INVALID_FILE_HANDLE) throw EFOpenError("Cannot open file %s", {fileName});
  }
}

TFileStream::~TFileStream() {
  if (FHandle != INVALID_FILE_HANDLE) FileClose(FHandle);
}

namespace {

// Reading and writing at a position of a growable byte buffer (a vector or a
// string), for the memory and string streams.
template <class TBytes>
int64_t ReadAt(const TBytes& data, int64_t& position, void* buffer, int64_t count) {
  int64_t avail = static_cast<int64_t>(data.size()) - position;
  if (count <= 0 || avail <= 0) return 0;
  int64_t n = std::min(count, avail);
  std::memcpy(buffer, data.data() + position, static_cast<size_t>(n));
  position += n;
  return n;
}

template <class TBytes>
int64_t WriteAt(TBytes& data, int64_t& position, const void* buffer, int64_t count) {
  if (count <= 0 || position < 0) return 0;
  int64_t end = position + count;
  if (end > static_cast<int64_t>(data.size())) data.resize(static_cast<size_t>(end));
  std::memcpy(data.data() + position, buffer, static_cast<size_t>(count));
  position = end;
  return count;
}

}  // namespace

// ---- TMemoryStream -----------------------------------------------------------------

int64_t TMemoryStream::Read(void* buffer, int64_t count) { return ReadAt(FData, FPosition, buffer, count); }

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  return WriteAt(FData, FPosition, buffer, count);
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  switch (origin) {
    case soBeginning: FPosition = offset; break;
    case soCurrent: FPosition += offset; break;
    case soEnd: FPosition = Size() + offset; break;
  }
  if (FPosition < 0) FPosition = 0;
  return FPosition;
}

void TMemoryStream::SetSize(int64_t newSize) {
  if (newSize < 0) newSize = 0;
  FData.resize(static_cast<size_t>(newSize));
  if (FPosition > newSize) FPosition = newSize;
}

void TMemoryStream::Clear() {
  FData.clear();
  FData.shrink_to_fit();
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream) {
  stream.SetPosition(0);
  int64_t size = stream.Size();
  SetSize(size);
  if (size > 0) stream.ReadBuffer(FData.data(), size);
  FPosition = 0;
}

void TMemoryStream::SaveToStream(TStream& stream) const {
  if (!FData.empty()) stream.WriteBuffer(FData.data(), static_cast<int64_t>(FData.size()));
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
  TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream);
}

void TMemoryStream::SaveToFile(const std::string& fileName) const {
  TFileStream stream(fileName, fmCreate);
  SaveToStream(stream);
}

// ---- TStringStream -----------------------------------------------------------------

int64_t TStringStream::Read(void* buffer, int64_t count) { return ReadAt(FData, FPosition, buffer, count); }

int64_t TStringStream::Write(const void* buffer, int64_t count) {
  return WriteAt(FData, FPosition, buffer, count);
}

int64_t TStringStream::Seek(int64_t offset, TSeekOrigin origin) {
  switch (origin) {
    case soBeginning: FPosition = offset; break;
    case soCurrent: FPosition += offset; break;
    case soEnd: FPosition = Size() + offset; break;
  }
  FPosition = std::clamp<int64_t>(FPosition, 0, Size());
  return FPosition;
}

void TStringStream::SetSize(int64_t newSize) {
  FData.resize(static_cast<size_t>(newSize < 0 ? 0 : newSize));
  if (FPosition > Size()) FPosition = Size();
}

std::string TStringStream::ReadString(int64_t count) {
  int64_t n = std::min(count, Size() - FPosition);
  if (n <= 0) return {};
  std::string s = FData.substr(static_cast<size_t>(FPosition), static_cast<size_t>(n));
  FPosition += n;
  return s;
}

}  // namespace tq
