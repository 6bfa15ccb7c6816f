#pragma once
// The setup page snippets of data/pages, for the tests of the page engine and
// of Vantrel's page pieces.
#include <fstream>
#include <sstream>
#include <string>

namespace tq::testing {

inline std::string ReadPageSnippet(const std::string& name) {
  std::ifstream in(std::string(TQ_SOURCE_DIR) + "/data/pages/" + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace tq::testing
