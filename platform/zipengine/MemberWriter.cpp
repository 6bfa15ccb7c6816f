#include "MemberWriter.h"

#include <windows.h>
#include <bcrypt.h>
#include <zlib.h>

#include <memory>
#include <optional>

#include "ZipCrypto.h"

namespace tq::zipeng {
namespace {

constexpr size_t kChunk = 1 << 16;
constexpr uint64_t kLimit = 0xFFFFFFFEull;

EEngineFailure ReadError(const TSourceFile& f) { return EEngineFailure{zeRead, "Cannot read " + f.Path}; }

struct TDeflater {
  z_stream Z{};
  bool Active = false;
  explicit TDeflater(int level) {
    if (deflateInit2(&Z, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
      throw EEngineFailure{zeWrite, "Compressor could not start"};
    Active = true;
  }
  ~TDeflater() {
    if (Active) deflateEnd(&Z);
  }
};

// Sends data to the archive, encrypting it when a key is set; counts bytes.
struct TSink {
  TSink(TOutFile& out, std::optional<TZipCrypto>& crypto) : Out(out), Crypto(crypto) {}
  TOutFile& Out;
  std::optional<TZipCrypto>& Crypto;
  uint64_t Count = 0;
  std::vector<uint8_t> Scratch;
  void Put(const uint8_t* p, size_t n) {
    if (Crypto) {
      Scratch.resize(n);
      for (size_t i = 0; i < n; ++i) Scratch[i] = Crypto->Encrypt(p[i]);
      p = Scratch.data();
    }
    Out.Write(p, n);
    Count += n;
    if (Count > kLimit) throw EEngineFailure{zeTooLarge, "Member too large"};
  }
};

uint32_t FileCrc(TInFile& in, const TSourceFile& f, TEngineCallbacks& cb) {
  std::vector<uint8_t> buf(kChunk);
  uLong crc = crc32(0, nullptr, 0);
  while (size_t n = in.Read(buf.data(), buf.size())) {
    crc = crc32(crc, buf.data(), uInt(n));
    cb.CheckCancel();
  }
  if (!in.Seek(0)) throw ReadError(f);
  return uint32_t(crc);
}

void RandomBytes(uint8_t* p, size_t n) {
  if (BCryptGenRandom(nullptr, p, ULONG(n), BCRYPT_USE_SYSTEM_PREFERRED_RNG) != 0) {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    for (size_t i = 0; i < n; ++i) p[i] = uint8_t((t.QuadPart >> (i % 8)) ^ (i * 73));
  }
}

// Copies the file's data into the sink, compressed or not; returns the
// uncompressed size and CRC seen.
void Pump(TInFile& in, const TSourceFile& f, int level, TSink& sink, TEngineCallbacks& cb, bool report,
          uint64_t& size, uint32_t& crc) {
  std::vector<uint8_t> buf(kChunk), zout(kChunk + 1024);
  std::unique_ptr<TDeflater> d;
  if (level > 0) d = std::make_unique<TDeflater>(level);
  uLong c = crc32(0, nullptr, 0);
  size = 0;
  while (true) {
    size_t n = in.Read(buf.data(), buf.size());
    c = crc32(c, buf.data(), uInt(n));
    size += n;
    if (size > kLimit) throw EEngineFailure{zeTooLarge, "File too large: " + f.Path};
    bool last = n < buf.size();
    if (!d) {
      sink.Put(buf.data(), n);
    } else {
      d->Z.next_in = buf.data();
      d->Z.avail_in = uInt(n);
      do {
        d->Z.next_out = zout.data();
        d->Z.avail_out = uInt(zout.size());
        int r = deflate(&d->Z, last ? Z_FINISH : Z_NO_FLUSH);
        if (r == Z_STREAM_ERROR) throw EEngineFailure{zeWrite, "Compressor failed"};
        sink.Put(zout.data(), zout.size() - d->Z.avail_out);
      } while (d->Z.avail_out == 0);
    }
    if (report && n > 0 && !cb.Progress(n)) cb.CheckCancel();
    if (last) break;
  }
  crc = uint32_t(c);
}

}  // namespace

TCentralHeader WriteMember(const TSourceFile& file, const TMemberOptions& options, TOutFile& out,
                           TEngineCallbacks& callbacks) {
  TLocalHeader local;
  local.Name = options.OemName;
  local.Time = file.DosTime;
  local.Date = file.DosDate;
  uint64_t headerAt = out.Position();

  if (file.IsFolder) {
    local.VersionNeeded = kVersionStored;
    local.Method = kMethodStored;
    out.Write(EncodeLocalHeader(local));
  } else {
    TInFile in;
    if (!in.Open(file.Path)) throw ReadError(file);
    if (in.Size() > kLimit) throw EEngineFailure{zeTooLarge, "File too large: " + file.Path};
    bool encrypt = !file.Password.empty();
    int level = (options.Store || in.Size() == 0) ? 0 : options.Level;
    uint32_t knownCrc = encrypt ? FileCrc(in, file, callbacks) : 0;

    local.Method = level > 0 ? kMethodDeflated : kMethodStored;
    local.VersionNeeded = level > 0 || encrypt ? kVersionDeflated : kVersionStored;
    if (level >= 8) local.Flags |= 0x0002;       // maximum compression
    else if (level <= 2 && level > 0) local.Flags |= 0x0006;  // fastest
    if (encrypt) local.Flags |= kFlagEncrypted;
    out.Write(EncodeLocalHeader(local));
    uint64_t dataAt = out.Position();

    std::optional<TZipCrypto> crypto;
    auto startCrypto = [&](TSink& sink) {
      if (!encrypt) return;
      crypto.emplace(file.Password);
      uint8_t random[11], head[12];
      RandomBytes(random, sizeof random);
      crypto->MakeHeader(random, knownCrc, head);
      out.Write(head, sizeof head);
      sink.Count += sizeof head;
    };
    TSink sink{out, crypto};
    startCrypto(sink);
    uint64_t size = 0;
    uint32_t crc = 0;
    Pump(in, file, level, sink, callbacks, true, size, crc);
    if (encrypt && crc != knownCrc) throw EEngineFailure{zeRead, "File changed while being read: " + file.Path};

    if (level > 0 && sink.Count >= size + (encrypt ? 12 : 0)) {
      // Deflating did not pay: store the file instead.
      out.TruncateTo(dataAt);
      if (!in.Seek(0)) throw ReadError(file);
      crypto.reset();
      TSink again{out, crypto};
      startCrypto(again);
      Pump(in, file, 0, again, callbacks, false, size, crc);
      sink.Count = again.Count;
      local.Method = kMethodStored;
      local.Flags &= uint16_t(~0x0006);
      if (!encrypt) local.VersionNeeded = kVersionStored;
    }
    local.Crc = crc;
    local.Size = uint32_t(size);
    local.CompressedSize = uint32_t(sink.Count);
    out.Patch(headerAt, EncodeLocalHeader(local));
  }

  TCentralHeader c;
  c.VersionMadeBy = kVersionMadeBy;
  c.VersionNeeded = local.VersionNeeded;
  c.Flags = local.Flags;
  c.Method = local.Method;
  c.Time = local.Time;
  c.Date = local.Date;
  c.Crc = local.Crc;
  c.CompressedSize = local.CompressedSize;
  c.Size = local.Size;
  c.ExternalAttributes = file.Attributes & 0x3F;
  c.LocalOffset = uint32_t(headerAt);
  c.Name = local.Name;
  c.Comment = options.OemComment;
  if (headerAt > kLimit) throw EEngineFailure{zeTooLarge, "Archive too large"};
  return c;
}

}  // namespace tq::zipeng
