// The parser survives truncated, deeply nested, oversized and random pages and
// keeps to its bounds (built natively with the sanitizers, these runs are the
// check that no page can crash it).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "HtmlDocument.h"

namespace tq::html {
namespace {

int Depth(const THtmlNode* node) {
  int deepest = 0;
  for (const auto& c : node->Children) deepest = std::max(deepest, Depth(c.get()));
  return deepest + 1;
}

void ParseAndTouch(const std::string& page) {
  THtmlDocument doc;
  doc.Parse(page);
  EXPECT_LE(Depth(doc.Root()), THtmlDocument::MaxDepth + 3);
  EXPECT_LE(doc.NodeCount(), THtmlDocument::MaxNodes + 1);
  for (THtmlElement* e : doc.Elements()) {
    (void)e->InnerText();
    (void)e->Value();
    (void)e->SelectedIndex();
    (void)e->Selected();
  }
  (void)doc.Item("rwiCancel");
}

std::vector<std::string> Snippets() {
  std::vector<std::string> pages;
  for (const auto& entry : std::filesystem::directory_iterator(std::string(TQ_SOURCE_DIR) + "/data/pages")) {
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    pages.push_back(s.str());
  }
  return pages;
}

TEST(HtmlCorpus, EveryTruncationOfEverySetupPage) {
  std::vector<std::string> pages = Snippets();
  ASSERT_GE(pages.size(), 10u);
  for (const std::string& page : pages)
    for (size_t n = 0; n <= page.size(); n += 1) ParseAndTouch(page.substr(0, n));
}

TEST(HtmlCorpus, DeepNestingAndFloods) {
  std::string deep;
  for (int i = 0; i < 100000; ++i) deep += "<div><select><option>";
  ParseAndTouch(deep);
  std::string unclosed(300000, '<');
  ParseAndTouch(unclosed);
  std::string attributes = "<input";
  for (int i = 0; i < 20000; ++i) attributes += " a" + std::to_string(i) + "='" + std::to_string(i) + "'";
  ParseAndTouch(attributes + ">");
  std::string many;
  for (int i = 0; i < 300000; ++i) many += "<br>";
  ParseAndTouch(many);
  ParseAndTouch(std::string(THtmlDocument::MaxPageBytes + 1000, 'x'));
  ParseAndTouch("<!-- never ends <p>");
  ParseAndTouch("<textarea>never ends &amp; <p>");
  ParseAndTouch("<script>if (a < b) document.write('</p>')</scr");
  ParseAndTouch("&#99999999; &#x; &; &lt &amp;amp; < > <= </> <a href=\"unended");
}

TEST(HtmlCorpus, RandomPages) {
  std::mt19937 random(20261210);
  const std::string alphabet = "<>/=\"' &;#!-abcdeinoprstxy\n";
  std::vector<std::string> pages = Snippets();
  for (int round = 0; round < 400; ++round) {
    std::string page;
    if (round % 2 == 0) {
      size_t length = random() % 4000;
      for (size_t i = 0; i < length; ++i)
        page += round % 4 == 0 ? static_cast<char>(random() % 256) : alphabet[random() % alphabet.size()];
    } else {  // a real page with random bytes changed
      page = pages[random() % pages.size()];
      for (int k = 0; k < 20 && !page.empty(); ++k) page[random() % page.size()] = static_cast<char>(random() % 256);
    }
    ParseAndTouch(page);
  }
}

}  // namespace
}  // namespace tq::html
