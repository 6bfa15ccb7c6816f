#pragma once
// The binary component stream: signature "TPF0", then one object record —
// class name, component name, the published properties (name and tagged
// value) ended by a 0 byte, then the child records ended by a 0 byte. Child
// records have the same form, with an optional flags byte (0xF0 | flags) first.
//
// Writing leaves out properties equal to their defaults and uses the smallest
// integer tag; reading sets properties by (dotted) name through their setters.
// Reading errors, all EReadError unless noted: "Stream read error" (input ends
// or a length exceeds what is left), "Invalid stream format" (no signature, or
// nesting deeper than MaxStreamNesting), "Property does not exist", "Invalid
// property value"; a child of an unregistered class raises EClassNotFound and
// a bad component name EComponentError.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Classes.h"
#include "Component.h"

namespace tq {

enum TValueType : uint8_t {
  vaNull = 0,  // end of a list
  vaList = 1,
  vaInt8 = 2,
  vaInt16 = 3,
  vaInt32 = 4,
  vaExtended = 5,
  vaString = 6,
  vaIdent = 7,
  vaFalse = 8,
  vaTrue = 9,
  vaBinary = 10,
  vaSet = 11,
  vaLString = 12,
  vaNil = 13,
  vaCollection = 14,
  vaSingle = 15,
  vaCurrency = 16,  // int64 scaled by 10000
  vaDate = 17,      // double
  vaWString = 18,   // int32 count of UTF-16 units
  vaInt64 = 19,
  vaUTF8String = 20,
};
constexpr uint8_t vaMaxKnown = vaUTF8String;

// Flags of a child record's prefix byte (0xF0 | flags).
enum TFilerFlag : uint8_t { ffInherited = 1, ffChildPos = 2, ffInline = 4 };

constexpr char FilerSignature[4] = {'T', 'P', 'F', '0'};
// Lists inside lists, collection items inside collections, and child records
// inside child records may nest this deep.
constexpr int MaxStreamNesting = 64;

// Writes one object record. Usable from DefineProperties writeData callbacks
// through its value API.
class TWriter : public TFiler {
 public:
  explicit TWriter(TStream& stream) : FStream(stream) {}
  ~TWriter() override;

  // Signature, the root's record and its children; then the bytes go out.
  void WriteRootComponent(TComponent& root);

  // Value API.
  void WriteValue(TValueType value) { FBuffer += static_cast<char>(value); }
  void WriteInteger(int64_t value);  // tag 2, 3, 4 or 19, the smallest that fits
  void WriteBoolean(bool value) { WriteValue(value ? vaTrue : vaFalse); }
  void WriteString(const std::string& value);  // tag 6 up to 255 characters, else 12
  void WriteIdent(const std::string& ident);   // tag 7
  void WriteFloat(double value);                // tag 5
  void WriteListBegin() { WriteValue(vaList); }
  void WriteListEnd() { WriteValue(vaNull); }
  // A short string with no tag: at most 255 characters (else EWriteError).
  void WriteStr(const std::string& s);

  void DefineProperty(const std::string& name, const std::function<void(TReader&)>& readData,
                      const std::function<void(TWriter&)>& writeData, bool hasData) override;
  void DefineBinaryProperty(const std::string& name, const std::function<void(TStream&)>& readData,
                            const std::function<void(TStream&)>& writeData, bool hasData) override;

 private:
  void WriteComponent(TComponent& component, int depth);
  void WriteProperties(TPersistent& instance, int depth);
  void WriteProperty(TPersistent& instance, const TPropInfo& prop, int depth);
  void WritePropName(const std::string& name) { WriteStr(FPropPath + name); }
  void Flush();

  TStream& FStream;
  std::string FBuffer;
  std::string FPropPath;
};

// Reads one object record into existing objects. Usable from DefineProperties
// readData callbacks through its value API. Reads no byte past the record.
class TReader : public TFiler {
 public:
  explicit TReader(TStream& stream);
  ~TReader() override;

  // Signature, then the record into root (its class name is read and ignored,
  // root takes the stored component name), then the children: a child whose
  // name root's FindComponent finds is read into that component; others are
  // made from the class registry, owned by root, with SetParentComponent of the
  // record they are nested in. Loaded() runs on every component read, at the
  // end, when all went well.
  void ReadRootComponent(TComponent& root);

  // Value API.
  TValueType NextValue();  // the next tag, not consumed
  TValueType ReadValue();
  bool EndOfList() { return NextValue() == vaNull; }
  void ReadListBegin();  // expects tag 1
  void ReadListEnd();    // expects tag 0
  int32_t ReadInteger();
  int64_t ReadInt64();
  bool ReadBoolean();
  std::string ReadString();  // tags 6, 12, 18, 20 (wide and UTF-8 text become ANSI)
  std::string ReadIdent();   // tag 7; tags 8, 9, 13 read as "False", "True", "nil"
  double ReadFloat();        // float tags and integers
  std::string ReadStr();     // a short string without a tag
  void SkipValue();          // any value, nested ones included
  // Raw access for converters: exactly count bytes ("Stream read error"
  // otherwise; dest may be null to skip), a stored int32 length checked
  // against the bytes left, the signature, and a child record's flags prefix.
  void Read(void* dest, int64_t count) { ReadBytes(dest, count); }
  int32_t ReadLength() { return ReadCount(); }
  void ReadSignature();
  // flags 0 when there is no prefix; childPos -1 unless ffChildPos is set.
  void ReadPrefix(uint8_t& flags, int64_t& childPos);

  void DefineProperty(const std::string& name, const std::function<void(TReader&)>& readData,
                      const std::function<void(TWriter&)>& writeData, bool hasData) override;
  void DefineBinaryProperty(const std::string& name, const std::function<void(TStream&)>& readData,
                            const std::function<void(TStream&)>& writeData, bool hasData) override;

  // Bytes the stream holds after the read position.
  int64_t BytesLeft() const { return FEnd - (FBufStart + static_cast<int64_t>(FBufPos)); }

 private:
  void ReadProperties(TPersistent& instance);
  void ReadProperty(TPersistent& instance);
  void ReadPropValue(TPersistent& instance, const TPropInfo& prop);
  void ReadStringsValue(TStrings& strings);
  void ReadCollectionValue(TCollection& collection);
  void ReadBytes(void* dest, int64_t count);
  uint8_t ReadByte();
  uint8_t PeekByte();
  int32_t ReadCount();  // a stored int32 length, checked against the bytes left
  std::string ReadChars(int64_t count);
  void Sync();          // leaves the stream at the logical read position
  [[noreturn]] void PropertyNotFound();
  [[noreturn]] void PropValueError();

  TStream& FStream;
  int64_t FEnd = 0;
  int64_t FBufStart = 0;  // stream position of FBuf[0]
  std::vector<uint8_t> FBuf;
  size_t FBufPos = 0;
  std::string FPropName;  // the defined property being looked for
  bool FPropFound = false;
  int FDepth = 0;         // open collections while reading values
};

// The stream of one component (with no ancestor) and back into an existing one.
void WriteComponent(TStream& stream, TComponent& component);
void ReadComponent(TStream& stream, TComponent& component);

}  // namespace tq
