// TIniFile over the file itself (portable; the same format the Windows
// profile functions read and write).
#include "IniFiles.h"

#include "FileUtils.h"

namespace tq {

namespace {

// "[Name]" (blanks allowed around) -> Name; false for other lines.
bool SectionName(const std::string& line, std::string& name) {
  std::string t = Trim(line);
  if (t.size() < 2 || t[0] != '[') return false;
  size_t close = t.find(']');
  if (close == std::string::npos) return false;
  name = Trim(t.substr(1, close - 1));
  return true;
}

// "key = value" -> key, value; false for blanks, comments and lines without "=".
bool KeyLine(const std::string& line, std::string& key, std::string& value) {
  std::string t = TrimLeft(line);
  if (t.empty() || t[0] == ';' || t[0] == '[') return false;
  size_t eq = t.find('=');
  if (eq == std::string::npos) return false;
  key = Trim(t.substr(0, eq));
  value = Trim(t.substr(eq + 1));
  return !key.empty();
}

std::string Unquote(const std::string& v) {
  if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0]) return v.substr(1, v.size() - 2);
  return v;
}

// Line range [begin, end) of a section's body; begin = header index; -1 if none.
int FindSection(const std::vector<std::string>& lines, const std::string& section, size_t& end) {
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string name;
    if (SectionName(lines[i], name) && SameText(name, section)) {
      end = i + 1;
      std::string other;
      while (end < lines.size() && !SectionName(lines[end], other)) ++end;
      return static_cast<int>(i);
    }
  }
  return -1;
}

}  // namespace

std::vector<std::string> TIniFile::Load() const {
  std::vector<std::string> lines;
  if (!FileExists(FFileName)) return lines;
  try {
    TStringList list;
    list.LoadFromFile(FFileName);
    for (int i = 0; i < list.Count(); ++i) lines.push_back(list.GetRef(i));
  } catch (const EStreamError&) {
    // Unreadable: as missing.
  }
  return lines;
}

void TIniFile::Save(const std::vector<std::string>& lines) const {
  std::string text;
  for (const std::string& l : lines) text += l + "\r\n";
  try {
    TFileStream f(FFileName, fmCreate);
    f.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
  } catch (const EStreamError&) {
    throw EIniFileException("Unable to write to %s", {FFileName});
  }
}

std::string TIniFile::ReadString(const std::string& section, const std::string& ident,
                                 const std::string& def) const {
  std::vector<std::string> lines = Load();
  size_t end;
  int begin = FindSection(lines, section, end);
  if (begin < 0) return def;
  for (size_t i = static_cast<size_t>(begin) + 1; i < end; ++i) {
    std::string key, value;
    if (KeyLine(lines[i], key, value) && SameText(key, Trim(ident))) return Unquote(value);
  }
  return def;
}

int TIniFile::ReadInteger(const std::string& section, const std::string& ident, int def) const {
  return StrToIntDef(ReadString(section, ident, ""), def);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& ident, bool def) const {
  return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

void TIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
  std::vector<std::string> lines = Load();
  size_t end;
  int begin = FindSection(lines, section, end);
  const std::string newLine = Trim(ident) + "=" + value;
  if (begin < 0) {
    lines.push_back("[" + section + "]");
    lines.push_back(newLine);
  } else {
    bool done = false;
    size_t lastKey = static_cast<size_t>(begin);
    for (size_t i = static_cast<size_t>(begin) + 1; i < end && !done; ++i) {
      std::string key, old;
      if (KeyLine(lines[i], key, old)) {
        lastKey = i;
        if (SameText(key, Trim(ident))) {
          lines[i] = key + "=" + value;  // the key keeps its spelling
          done = true;
        }
      }
    }
    if (!done) lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(lastKey + 1), newLine);
  }
  Save(lines);
}

void TIniFile::WriteInteger(const std::string& section, const std::string& ident, int value) {
  WriteString(section, ident, IntToStr(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& ident, bool value) {
  WriteString(section, ident, value ? "1" : "0");
}

void TIniFile::ReadSection(const std::string& section, TStrings& keys) const {
  keys.BeginUpdate();
  keys.Clear();
  std::vector<std::string> lines = Load();
  size_t end;
  int begin = FindSection(lines, section, end);
  if (begin >= 0) {
    for (size_t i = static_cast<size_t>(begin) + 1; i < end; ++i) {
      std::string key, value;
      if (KeyLine(lines[i], key, value)) keys.Add(key);
    }
  }
  keys.EndUpdate();
}

void TIniFile::ReadSections(TStrings& sections) const {
  sections.BeginUpdate();
  sections.Clear();
  for (const std::string& line : Load()) {
    std::string name;
    if (SectionName(line, name)) sections.Add(name);
  }
  sections.EndUpdate();
}

void TIniFile::ReadSectionValues(const std::string& section, TStrings& values) const {
  values.BeginUpdate();
  values.Clear();
  std::vector<std::string> lines = Load();
  size_t end;
  int begin = FindSection(lines, section, end);
  if (begin >= 0) {
    for (size_t i = static_cast<size_t>(begin) + 1; i < end; ++i) {
      std::string key, value;
      if (KeyLine(lines[i], key, value)) values.Add(key + "=" + Unquote(value));
    }
  }
  values.EndUpdate();
}

void TIniFile::EraseSection(const std::string& section) {
  std::vector<std::string> lines = Load();
  size_t end;
  int begin = FindSection(lines, section, end);
  if (begin < 0) return;
  lines.erase(lines.begin() + begin, lines.begin() + static_cast<std::ptrdiff_t>(end));
  Save(lines);
}

void TIniFile::DeleteKey(const std::string& section, const std::string& ident) {
  std::vector<std::string> lines = Load();
  size_t end;
  int begin = FindSection(lines, section, end);
  if (begin < 0) return;
  for (size_t i = static_cast<size_t>(begin) + 1; i < end; ++i) {
    std::string key, value;
    if (KeyLine(lines[i], key, value) && SameText(key, Trim(ident))) {
      lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
      Save(lines);
      return;
    }
  }
}

bool TIniFile::SectionExists(const std::string& section) const {
  TStringList keys;
  ReadSection(section, keys);
  return keys.Count() > 0;
}

bool TIniFile::ValueExists(const std::string& section, const std::string& ident) const {
  TStringList keys;
  ReadSection(section, keys);
  return keys.IndexOf(Trim(ident)) >= 0;
}

}  // namespace tq
