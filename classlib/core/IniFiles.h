#pragma once
// TIniFile: "[Section]" / "key=value" files as Windows programs read them.
// Every call reads the file afresh and every write goes to disk at once, as
// with the Windows profile functions; sections and keys compare without
// regard to case; the file is written with CR LF line ends; lines that are
// no key (comments, blanks) are kept as they are.
#include <string>
#include <vector>

#include "Classes.h"

namespace tq {

class TIniFile : public TObject {
 public:
  explicit TIniFile(const std::string& fileName) : FFileName(fileName) {}
  const std::string& FileName() const { return FFileName; }

  // Values are trimmed; one pair of enclosing quotes ('' or "") is removed.
  std::string ReadString(const std::string& section, const std::string& ident, const std::string& def) const;
  // Decimal, "$" or "0x" hex; def when missing or not a number.
  int ReadInteger(const std::string& section, const std::string& ident, int def) const;
  bool ReadBool(const std::string& section, const std::string& ident, bool def) const;  // integer <> 0
  // Raise EIniFileException "Unable to write to %s" when the file cannot be written.
  void WriteString(const std::string& section, const std::string& ident, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& ident, int value);
  void WriteBool(const std::string& section, const std::string& ident, bool value);  // "1" / "0"

  void ReadSection(const std::string& section, TStrings& keys) const;   // the key names
  void ReadSections(TStrings& sections) const;
  void ReadSectionValues(const std::string& section, TStrings& values) const;  // "key=value" lines
  void EraseSection(const std::string& section);
  void DeleteKey(const std::string& section, const std::string& ident);
  bool SectionExists(const std::string& section) const;  // has at least one key
  bool ValueExists(const std::string& section, const std::string& ident) const;
  void UpdateFile() {}  // writes are on disk already

 private:
  std::vector<std::string> Load() const;
  void Save(const std::vector<std::string>& lines) const;
  std::string FFileName;
};

}  // namespace tq
