#include "ComponentStream.h"

#include <bit>
#include <cstring>

#include "AnsiCodePage.h"
#include "ClassRegistry.h"
#include "ExtendedFloat.h"

namespace tq {

namespace {

[[noreturn]] void ReadError() { throw EReadError("Stream read error"); }
[[noreturn]] void InvalidFormat() { throw EReadError("Invalid stream format"); }

void AppendLE(std::string& buf, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) buf += static_cast<char>((v >> (8 * i)) & 0xFF);
}

bool IsIntTag(uint8_t t) { return t == vaInt8 || t == vaInt16 || t == vaInt32 || t == vaInt64; }

// Sets and clears csWriting / csReading around a block, also on errors.
class TStateGuard {
 public:
  TStateGuard(TComponent& c, TComponentState set, TComponentState clear,
              void (*apply)(TComponent&, TComponentState))
      : FC(c), FClear(clear), FApply(apply) {
    FApply(FC, FC.ComponentState() | set);
  }
  ~TStateGuard() { FApply(FC, FC.ComponentState() & ~FClear); }

 private:
  TComponent& FC;
  TComponentState FClear;
  void (*FApply)(TComponent&, TComponentState);
};

}  // namespace

// ---- TWriter ------------------------------------------------------------------

TWriter::~TWriter() = default;

void TWriter::WriteRootComponent(TComponent& root) {
  FBuffer.append(FilerSignature, 4);
  WriteComponent(root, 0);
  Flush();
}

void TWriter::Flush() {
  if (!FBuffer.empty()) FStream.WriteBuffer(FBuffer.data(), static_cast<int64_t>(FBuffer.size()));
  FBuffer.clear();
}

void TWriter::WriteInteger(int64_t value) {
  if (value >= -128 && value <= 127) {
    WriteValue(vaInt8);
    AppendLE(FBuffer, static_cast<uint64_t>(value), 1);
  } else if (value >= -32768 && value <= 32767) {
    WriteValue(vaInt16);
    AppendLE(FBuffer, static_cast<uint64_t>(value), 2);
  } else if (value >= INT32_MIN && value <= INT32_MAX) {
    WriteValue(vaInt32);
    AppendLE(FBuffer, static_cast<uint64_t>(value), 4);
  } else {
    WriteValue(vaInt64);
    AppendLE(FBuffer, static_cast<uint64_t>(value), 8);
  }
}

void TWriter::WriteString(const std::string& value) {
  if (value.size() <= 255) {
    WriteValue(vaString);
    FBuffer += static_cast<char>(value.size());
  } else {
    if (value.size() > static_cast<size_t>(INT32_MAX)) throw EWriteError("Stream write error");
    WriteValue(vaLString);
    AppendLE(FBuffer, value.size(), 4);
  }
  FBuffer += value;
}

void TWriter::WriteIdent(const std::string& ident) {
  WriteValue(vaIdent);
  WriteStr(ident);
}

void TWriter::WriteFloat(double value) {
  uint8_t ext[ExtendedSize];
  DoubleToExtended(value, ext);
  WriteValue(vaExtended);
  FBuffer.append(reinterpret_cast<const char*>(ext), ExtendedSize);
}

void TWriter::WriteStr(const std::string& s) {
  if (s.size() > 255) throw EWriteError("Stream write error");
  FBuffer += static_cast<char>(s.size());
  FBuffer += s;
}

void TWriter::DefineProperty(const std::string& name, const std::function<void(TReader&)>&,
                             const std::function<void(TWriter&)>& writeData, bool hasData) {
  if (!hasData || !writeData) return;
  WritePropName(name);
  writeData(*this);
}

void TWriter::DefineBinaryProperty(const std::string& name, const std::function<void(TStream&)>&,
                                   const std::function<void(TStream&)>& writeData, bool hasData) {
  if (!hasData || !writeData) return;
  TMemoryStream data;
  writeData(data);
  const auto& bytes = data.Bytes();
  if (bytes.size() > static_cast<size_t>(INT32_MAX)) throw EWriteError("Stream write error");
  WritePropName(name);
  WriteValue(vaBinary);
  AppendLE(FBuffer, bytes.size(), 4);
  FBuffer.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

void TWriter::WriteComponent(TComponent& component, int depth) {
  if (depth > MaxStreamNesting) throw EWriteError("Stream write error");
  TStateGuard guard(component, csWriting, csWriting,
                    [](TComponent& c, TComponentState s) { c.SetComponentState(s); });
  WriteStr(component.ClassName());
  WriteStr(component.Name());
  const std::string savedPath = FPropPath;
  FPropPath.clear();
  WriteProperties(component, depth);
  FPropPath = savedPath;
  WriteListEnd();
  component.GetChildren([&](TComponent& child) { WriteComponent(child, depth + 1); });
  WriteListEnd();
}

void TWriter::WriteProperties(TPersistent& instance, int depth) {
  if (depth > MaxStreamNesting) throw EWriteError("Stream write error");
  for (const TPropInfo& prop : instance.Properties().Props()) WriteProperty(instance, prop, depth);
  instance.DefineProperties(*this);
}

void TWriter::WriteProperty(TPersistent& instance, const TPropInfo& prop, int depth) {
  if (!prop.IsStored(instance) || prop.IsDefault(instance)) return;
  switch (prop.Kind) {
    case TPropKind::Integer: {
      const int64_t v = prop.GetOrd(instance);
      WritePropName(prop.Name);
      std::string ident;
      if (prop.Idents && prop.Idents->IntToIdent(static_cast<int32_t>(v), ident))
        WriteIdent(ident);
      else
        WriteInteger(static_cast<int32_t>(v));
      break;
    }
    case TPropKind::Int64:
      WritePropName(prop.Name);
      WriteInteger(prop.GetOrd(instance));
      break;
    case TPropKind::Boolean:
      WritePropName(prop.Name);
      WriteBoolean(prop.GetOrd(instance) != 0);
      break;
    case TPropKind::Enumeration: {
      const int64_t v = prop.GetOrd(instance);
      WritePropName(prop.Name);
      if (prop.Names && v >= 0 && v < prop.Names->Count())
        WriteIdent(prop.Names->Name(static_cast<int>(v)));
      else
        WriteInteger(v);
      break;
    }
    case TPropKind::Set: {
      const uint32_t v = static_cast<uint32_t>(prop.GetOrd(instance));
      WritePropName(prop.Name);
      WriteValue(vaSet);
      const int n = prop.Names ? prop.Names->Count() : 0;
      for (int i = 0; i < n && i < 32; ++i)
        if (v & (uint32_t{1} << i)) WriteStr(prop.Names->Name(i));
      WriteStr("");
      break;
    }
    case TPropKind::Float:
      WritePropName(prop.Name);
      WriteFloat(prop.GetFloat(instance));
      break;
    case TPropKind::String:
      WritePropName(prop.Name);
      WriteString(prop.GetStr(instance));
      break;
    case TPropKind::Strings: {
      TStrings* s = prop.GetStrings(instance);
      WritePropName(prop.Name + ".Strings");
      WriteListBegin();
      for (int i = 0; i < s->Count(); ++i) WriteString(s->Get(i));
      WriteListEnd();
      break;
    }
    case TPropKind::Object: {
      TPersistent* obj = prop.GetNested(instance);
      const std::string savedPath = FPropPath;
      FPropPath += prop.Name + ".";
      WriteProperties(*obj, depth + 1);
      FPropPath = savedPath;
      break;
    }
    case TPropKind::Collection: {
      TCollection* c = prop.GetCollection(instance);
      WritePropName(prop.Name);
      WriteValue(vaCollection);
      const std::string savedPath = FPropPath;
      FPropPath.clear();
      for (int i = 0; i < c->Count(); ++i) {
        WriteListBegin();
        WriteProperties(*c->Items(i), depth + 1);
        WriteListEnd();
      }
      FPropPath = savedPath;
      WriteListEnd();
      break;
    }
  }
}

// ---- TReader ------------------------------------------------------------------

TReader::TReader(TStream& stream) : FStream(stream) {
  FBufStart = FStream.Position();
  FEnd = FStream.Size();
  if (FEnd < FBufStart) FEnd = FBufStart;
}

TReader::~TReader() {
  try {
    Sync();
  } catch (...) {
  }
}

void TReader::Sync() {
  FStream.Seek(FBufStart + static_cast<int64_t>(FBufPos), soBeginning);
  FBufStart += static_cast<int64_t>(FBufPos);
  FBuf.clear();
  FBufPos = 0;
}

void TReader::ReadBytes(void* dest, int64_t count) {
  if (count < 0 || count > BytesLeft()) ReadError();
  auto* out = static_cast<uint8_t*>(dest);
  while (count > 0) {
    if (FBufPos == FBuf.size()) {
      FBufStart += static_cast<int64_t>(FBuf.size());
      FBufPos = 0;
      const int64_t want = std::min<int64_t>(4096, FEnd - FBufStart);
      FBuf.resize(static_cast<size_t>(want));
      const int64_t got = want > 0 ? FStream.Read(FBuf.data(), want) : 0;
      FBuf.resize(static_cast<size_t>(got > 0 ? got : 0));
      if (FBuf.empty()) {
        FEnd = FBufStart;
        ReadError();
      }
    }
    const size_t n = std::min<size_t>(static_cast<size_t>(count), FBuf.size() - FBufPos);
    if (out) {
      std::memcpy(out, FBuf.data() + FBufPos, n);
      out += n;
    }
    FBufPos += n;
    count -= static_cast<int64_t>(n);
  }
}

uint8_t TReader::ReadByte() {
  uint8_t b;
  ReadBytes(&b, 1);
  return b;
}

uint8_t TReader::PeekByte() {
  const uint8_t b = ReadByte();
  --FBufPos;  // the byte is in the buffer now
  return b;
}

int32_t TReader::ReadCount() {
  uint8_t b[4];
  ReadBytes(b, 4);
  const int32_t n = static_cast<int32_t>(b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24));
  if (n < 0 || n > BytesLeft()) ReadError();
  return n;
}

std::string TReader::ReadChars(int64_t count) {
  if (count < 0 || count > BytesLeft()) ReadError();
  std::string s(static_cast<size_t>(count), '\0');
  ReadBytes(s.data(), count);
  return s;
}

void TReader::PropertyNotFound() { throw EReadError("Property does not exist"); }
void TReader::PropValueError() { throw EReadError("Invalid property value"); }

TValueType TReader::NextValue() { return static_cast<TValueType>(PeekByte()); }
TValueType TReader::ReadValue() { return static_cast<TValueType>(ReadByte()); }

void TReader::ReadListBegin() {
  if (ReadValue() != vaList) PropValueError();
}

void TReader::ReadListEnd() {
  if (ReadValue() != vaNull) PropValueError();
}

int64_t TReader::ReadInt64() {
  uint8_t b[8] = {};
  switch (ReadValue()) {
    case vaInt8:
      ReadBytes(b, 1);
      return static_cast<int8_t>(b[0]);
    case vaInt16:
      ReadBytes(b, 2);
      return static_cast<int16_t>(b[0] | (b[1] << 8));
    case vaInt32:
      ReadBytes(b, 4);
      return static_cast<int32_t>(b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24));
    case vaInt64: {
      ReadBytes(b, 8);
      uint64_t v = 0;
      for (int i = 0; i < 8; ++i) v |= static_cast<uint64_t>(b[i]) << (8 * i);
      return static_cast<int64_t>(v);
    }
    default:
      PropValueError();
  }
}

int32_t TReader::ReadInteger() {
  const int64_t v = ReadInt64();
  if (v < INT32_MIN || v > INT32_MAX) PropValueError();
  return static_cast<int32_t>(v);
}

bool TReader::ReadBoolean() {
  switch (ReadValue()) {
    case vaFalse:
      return false;
    case vaTrue:
      return true;
    default:
      PropValueError();
  }
}

std::string TReader::ReadString() {
  switch (ReadValue()) {
    case vaString:
      return ReadChars(ReadByte());
    case vaLString:
      return ReadChars(ReadCount());
    case vaUTF8String:
      return Utf8ToAnsi(ReadChars(ReadCount()));
    case vaWString: {
      uint8_t b[4];
      ReadBytes(b, 4);
      const int64_t n = static_cast<int32_t>(b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24));
      if (n < 0 || n * 2 > BytesLeft()) ReadError();
      std::string raw = ReadChars(n * 2);
      std::u16string w(static_cast<size_t>(n), u'\0');
      for (size_t i = 0; i < w.size(); ++i)
        w[i] = static_cast<char16_t>(static_cast<uint8_t>(raw[2 * i]) | (static_cast<uint8_t>(raw[2 * i + 1]) << 8));
      return Utf16ToAnsi(w.data(), w.size());
    }
    default:
      PropValueError();
  }
}

std::string TReader::ReadIdent() {
  switch (ReadValue()) {
    case vaIdent:
      return ReadStr();
    case vaFalse:
      return "False";
    case vaTrue:
      return "True";
    case vaNil:
      return "nil";
    default:
      PropValueError();
  }
}

double TReader::ReadFloat() {
  uint8_t b[ExtendedSize];
  switch (NextValue()) {
    case vaExtended:
      ReadValue();
      ReadBytes(b, ExtendedSize);
      return ExtendedToDouble(b);
    case vaSingle: {
      ReadValue();
      ReadBytes(b, 4);
      const uint32_t u = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
      return static_cast<double>(std::bit_cast<float>(u));
    }
    case vaDate:
    case vaCurrency: {
      const TValueType t = ReadValue();
      ReadBytes(b, 8);
      uint64_t u = 0;
      for (int i = 0; i < 8; ++i) u |= static_cast<uint64_t>(b[i]) << (8 * i);
      if (t == vaDate) return std::bit_cast<double>(u);
      return static_cast<double>(static_cast<int64_t>(u)) / 10000.0;
    }
    default:
      return static_cast<double>(ReadInt64());
  }
}

std::string TReader::ReadStr() { return ReadChars(ReadByte()); }

void TReader::SkipValue() {
  // Explicit stack: 'L' a list of values, 'C' a collection, 'I' the
  // name/value pairs of a collection item.
  std::string stack;
  auto push = [&](char frame) {
    if (static_cast<int>(stack.size()) >= MaxStreamNesting) InvalidFormat();
    stack += frame;
  };
  auto value = [&](uint8_t t) {
    uint8_t b[4];
    switch (t) {
      case vaList: push('L'); break;
      case vaCollection: push('C'); break;
      case vaInt8: ReadBytes(nullptr, 1); break;
      case vaInt16: ReadBytes(nullptr, 2); break;
      case vaInt32: case vaSingle: ReadBytes(nullptr, 4); break;
      case vaInt64: case vaCurrency: case vaDate: ReadBytes(nullptr, 8); break;
      case vaExtended: ReadBytes(nullptr, ExtendedSize); break;
      case vaString: case vaIdent: ReadBytes(nullptr, ReadByte()); break;
      case vaFalse: case vaTrue: case vaNil: break;
      case vaBinary: case vaLString: case vaUTF8String: ReadBytes(nullptr, ReadCount()); break;
      case vaWString: {
        ReadBytes(b, 4);
        const int64_t n = static_cast<int32_t>(b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24));
        if (n < 0) ReadError();
        ReadBytes(nullptr, n * 2);
        break;
      }
      case vaSet:
        while (true) {
          const uint8_t n = ReadByte();
          if (n == 0) break;
          ReadBytes(nullptr, n);
        }
        break;
      default: PropValueError();
    }
  };
  value(ReadValue());
  while (!stack.empty()) {
    const char top = stack.back();
    if (top == 'L') {
      const uint8_t t = ReadValue();
      if (t == vaNull)
        stack.pop_back();
      else
        value(t);
    } else if (top == 'C') {
      uint8_t t = ReadValue();
      if (t == vaNull) {
        stack.pop_back();
        continue;
      }
      if (IsIntTag(t)) {
        value(t);
        t = ReadValue();
      }
      if (t != vaList) PropValueError();
      push('I');
    } else {
      if (PeekByte() == 0) {
        ReadByte();
        stack.pop_back();
      } else {
        ReadBytes(nullptr, ReadByte());
        value(ReadValue());
      }
    }
  }
}

void TReader::DefineProperty(const std::string& name, const std::function<void(TReader&)>& readData,
                             const std::function<void(TWriter&)>&, bool) {
  if (FPropFound || !SameText(name, FPropName)) return;
  FPropFound = true;
  if (readData)
    readData(*this);
  else
    SkipValue();
}

void TReader::DefineBinaryProperty(const std::string& name, const std::function<void(TStream&)>& readData,
                                   const std::function<void(TStream&)>&, bool) {
  if (FPropFound || !SameText(name, FPropName)) return;
  FPropFound = true;
  if (ReadValue() != vaBinary) PropValueError();
  const int32_t n = ReadCount();
  TMemoryStream data;
  data.SetSize(n);
  if (n > 0) ReadBytes(data.Memory(), n);
  data.SetPosition(0);
  if (readData) readData(data);
}

void TReader::ReadSignature() {
  char sig[4];
  if (BytesLeft() < 4) ReadError();
  ReadBytes(sig, 4);
  if (std::memcmp(sig, FilerSignature, 4) != 0) InvalidFormat();
}

void TReader::ReadPrefix(uint8_t& flags, int64_t& childPos) {
  flags = 0;
  childPos = -1;
  const uint8_t b = PeekByte();
  if ((b & 0xF0) != 0xF0) return;
  ReadByte();
  flags = b & 0x0F;
  if (flags & ffChildPos) childPos = ReadInteger();
}

void TReader::ReadProperties(TPersistent& instance) {
  while (!EndOfList()) ReadProperty(instance);
  ReadValue();
}

void TReader::ReadProperty(TPersistent& instance) {
  const std::string path = ReadStr();
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    const size_t dot = path.find('.', start);
    parts.push_back(path.substr(start, dot == std::string::npos ? std::string::npos : dot - start));
    if (dot == std::string::npos) break;
    start = dot + 1;
  }
  for (const auto& p : parts)
    if (p.empty()) PropertyNotFound();

  TPersistent* obj = &instance;
  for (size_t i = 0; i + 1 < parts.size(); ++i) {
    const TPropInfo* prop = obj->Properties().Find(parts[i]);
    if (!prop) PropertyNotFound();
    if (prop->Kind == TPropKind::Object) {
      obj = prop->GetNested(*obj);
      if (!obj) PropertyNotFound();
      continue;
    }
    if (prop->Kind == TPropKind::Strings && i + 2 == parts.size() && SameText(parts[i + 1], "Strings")) {
      TStrings* s = prop->GetStrings(*obj);
      if (!s) PropertyNotFound();
      ReadStringsValue(*s);
      return;
    }
    PropertyNotFound();
  }
  const std::string& last = parts.back();
  if (const TPropInfo* prop = obj->Properties().Find(last)) {
    ReadPropValue(*obj, *prop);
    return;
  }
  FPropName = last;
  FPropFound = false;
  obj->DefineProperties(*this);
  const bool found = FPropFound;
  FPropName.clear();
  FPropFound = false;
  if (!found) PropertyNotFound();
}

void TReader::ReadPropValue(TPersistent& instance, const TPropInfo& prop) {
  const TValueType t = NextValue();
  switch (prop.Kind) {
    case TPropKind::Integer: {
      int64_t v;
      if (t == vaIdent) {
        int32_t iv;
        if (!prop.Idents || !prop.Idents->IdentToInt(ReadIdent(), iv)) PropValueError();
        v = iv;
      } else {
        v = ReadInt64();
        // Unsigned 32-bit values (colours written as $80000005) wrap.
        if (v < INT32_MIN || v > static_cast<int64_t>(UINT32_MAX)) PropValueError();
        v = static_cast<int32_t>(static_cast<uint32_t>(v));
      }
      prop.SetOrd(instance, v);
      break;
    }
    case TPropKind::Int64:
      prop.SetOrd(instance, ReadInt64());
      break;
    case TPropKind::Boolean: {
      bool b;
      if (t == vaFalse || t == vaTrue) {
        b = ReadBoolean();
      } else if (t == vaIdent) {
        const std::string id = ReadIdent();
        if (SameText(id, "True"))
          b = true;
        else if (SameText(id, "False"))
          b = false;
        else
          PropValueError();
      } else {
        PropValueError();
      }
      prop.SetOrd(instance, b ? 1 : 0);
      break;
    }
    case TPropKind::Enumeration: {
      int64_t v;
      if (t == vaIdent || t == vaFalse || t == vaTrue) {
        v = prop.Names ? prop.Names->ValueOf(ReadIdent()) : -1;
        if (v < 0) PropValueError();
      } else {
        v = ReadInt64();
        if (!prop.Names || v < 0 || v >= prop.Names->Count()) PropValueError();
      }
      prop.SetOrd(instance, v);
      break;
    }
    case TPropKind::Set: {
      if (t != vaSet) PropValueError();
      ReadValue();
      uint32_t mask = 0;
      while (true) {
        const std::string name = ReadStr();
        if (name.empty()) break;
        const int i = prop.Names ? prop.Names->ValueOf(name) : -1;
        if (i < 0 || i >= 32) PropValueError();
        mask |= uint32_t{1} << i;
      }
      prop.SetOrd(instance, mask);
      break;
    }
    case TPropKind::Float:
      prop.SetFloat(instance, ReadFloat());
      break;
    case TPropKind::String:
      prop.SetStr(instance, ReadString());
      break;
    case TPropKind::Strings:
      PropValueError();
    case TPropKind::Object:
      if (t != vaNil || !prop.SetNested) PropValueError();
      ReadValue();
      prop.SetNested(instance, nullptr);
      break;
    case TPropKind::Collection: {
      TCollection* c = prop.GetCollection(instance);
      if (t != vaCollection || !c) PropValueError();
      ReadCollectionValue(*c);
      break;
    }
  }
}

void TReader::ReadStringsValue(TStrings& strings) {
  ReadListBegin();
  strings.BeginUpdate();
  try {
    strings.Clear();
    while (!EndOfList()) strings.Add(ReadString());
  } catch (...) {
    strings.EndUpdate();
    throw;
  }
  strings.EndUpdate();
  ReadListEnd();
}

void TReader::ReadCollectionValue(TCollection& collection) {
  ReadValue();  // vaCollection
  if (FDepth >= MaxStreamNesting) InvalidFormat();
  ++FDepth;
  collection.BeginUpdate();
  try {
    collection.Clear();
    while (!EndOfList()) {
      if (IsIntTag(NextValue())) ReadInteger();  // the item's order: not kept
      ReadListBegin();
      TCollectionItem* item = collection.Add();
      while (!EndOfList()) ReadProperty(*item);
      ReadListEnd();
    }
    ReadListEnd();
  } catch (...) {
    collection.EndUpdate();
    --FDepth;
    throw;
  }
  collection.EndUpdate();
  --FDepth;
}

void TReader::ReadRootComponent(TComponent& root) {
  auto setState = [](TComponent& c, TComponentState s) { c.SetComponentState(s); };
  std::vector<TComponent*> loaded;
  try {
    ReadSignature();
    uint8_t flags;
    int64_t childPos;  // z-order among siblings: not kept
    ReadPrefix(flags, childPos);
    ReadStr();  // the class name: reading into an existing object
    root.SetName(ReadStr());
    setState(root, root.ComponentState() | csLoading | csReading);
    loaded.push_back(&root);
    ReadProperties(root);
    setState(root, root.ComponentState() & ~csReading);

    // Child records, nested without recursion.
    std::vector<TComponent*> parents{&root};
    while (!parents.empty()) {
      if (EndOfList()) {
        ReadValue();
        parents.pop_back();
        continue;
      }
      if (static_cast<int>(parents.size()) > MaxStreamNesting) InvalidFormat();
      ReadPrefix(flags, childPos);
      const std::string className = ReadStr();
      const std::string name = ReadStr();
      TComponent* child = root.FindComponent(name);
      if (!child) {
        child = FindClass(className).Create(&root);
        child->SetName(name);
      }
      child->SetParentComponent(parents.back());
      setState(*child, child->ComponentState() | csLoading | csReading);
      loaded.push_back(child);
      ReadProperties(*child);
      setState(*child, child->ComponentState() & ~csReading);
      parents.push_back(child);
    }
  } catch (...) {
    for (TComponent* c : loaded) setState(*c, c->ComponentState() & ~(csLoading | csReading));
    Sync();
    throw;
  }
  Sync();
  for (TComponent* c : loaded) c->Loaded();
}

// ---- Entry points -------------------------------------------------------------

void WriteComponent(TStream& stream, TComponent& component) {
  TWriter writer(stream);
  writer.WriteRootComponent(component);
}

void ReadComponent(TStream& stream, TComponent& component) {
  TReader reader(stream);
  reader.ReadRootComponent(component);
}

}  // namespace tq
