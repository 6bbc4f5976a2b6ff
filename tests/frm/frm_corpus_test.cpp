// The real forms of the corpus: every one reads, writes back byte for byte, and keeps the
// facts a form builder depends on.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "runtime/frm/frm_document.h"

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> corpusFiles() {
  std::vector<fs::path> files;
  for (auto& e : fs::directory_iterator(RESCALO_CORPUS_DIR))
    if (e.path().extension() == ".frm") files.push_back(e.path());
  std::sort(files.begin(), files.end());
  return files;
}

fs::path corpusFile(std::string_view prefix) {
  for (auto& f : corpusFiles())
    if (f.filename().string().starts_with(prefix)) return f;
  ADD_FAILURE() << "no corpus file " << prefix;
  return {};
}

std::string bytesOf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

int depth(const frm::Block& b) {
  int deepest = 0;
  for (const frm::Block* c : b.children()) deepest = std::max(deepest, 1 + depth(*c));
  return deepest;
}

TEST(FrmCorpus, EveryFormReadsAndWritesBackByteForByte) {
  auto files = corpusFiles();
  ASSERT_EQ(files.size(), 45u);
  for (auto& f : files) {
    SCOPED_TRACE(f.filename().string());
    std::string original = bytesOf(f);
    frm::Document doc = frm::readFile(f);
    std::string written = frm::write(doc);
    EXPECT_EQ(frm::read(written, "written.frm"), doc);
    EXPECT_EQ(written, original);
  }
}

TEST(FrmCorpus, SsTabPagesNestingAndFonts) {
  frm::Document doc = frm::readFile(corpusFile("024-"));
  EXPECT_EQ(doc.eol, "\r\n");
  EXPECT_EQ(doc.objectLines.size(), 4u);
  EXPECT_EQ(doc.form.className, "VB.Form");
  EXPECT_EQ(depth(doc.form), 4);  // SSTab > Frame > Frame > button

  const frm::Block* tab = doc.form.find("SSTab1");
  ASSERT_NE(tab, nullptr);
  EXPECT_EQ(tab->className, "TabDlg.SSTab");
  ASSERT_NE(tab->property("Tab(1).ControlCount"), nullptr);
  EXPECT_EQ(tab->property("tab(1).controlcount")->value, "7");
  EXPECT_EQ(tab->property("Tab(1).Control(3)")->value, "\"lblStatus\"");
  EXPECT_EQ(tab->property("Tab(0).ControlEnabled")->comment, "'True");
  EXPECT_NE(tab->find("cmdRefresh"), nullptr);
  EXPECT_EQ(doc.form.find("Frame3")->property("Left")->value, "-74760");

  const frm::Block* close = doc.form.find("cmdClose");
  const frm::PropertyBlock* font = close->propertyBlock("Font");
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->guid, "{0BE35203-8F91-11CE-9DE3-00AA004BB851}");
  EXPECT_EQ(frm::parseNumber(font->property("Size")->value), 9.75);

  // Control arrays repeat the name; the first block in the file is Index 3.
  const frm::Block* browse = doc.form.find("cmdBrowse");
  EXPECT_EQ(browse->property("Index")->value, "3");
  auto top = doc.form.children();
  EXPECT_EQ(std::count_if(top.begin(), top.end(),
                          [](const frm::Block* b) { return b->name == "cmdBrowse"; }),
            4);
}

TEST(FrmCorpus, LocalizedCommentsNestedBlocksAndFrxText) {
  frm::Document alarm = frm::readFile(corpusFile("009-"));
  EXPECT_EQ(alarm.eol, "\n");
  const frm::Property* align = alarm.form.find("Label_minute")->property("Alignment");
  EXPECT_EQ(align->value, "2");
  EXPECT_EQ(align->comment, "'Центровка");
  EXPECT_EQ(align->line, 60);

  frm::Document pos = frm::readFile(corpusFile("044-"));
  const frm::PropertyBlock* split = pos.form.find("DataGrid1")->propertyBlock("Split0");
  ASSERT_NE(split, nullptr);
  EXPECT_EQ(split->property("MarqueeStyle")->value, "4");
  ASSERT_NE(split->propertyBlock("Column01"), nullptr);
  EXPECT_TRUE(split->propertyBlock("Column01")->entries.empty());

  frm::Document empresa = frm::readFile(corpusFile("013-"));
  bool found = false;
  for (const frm::Block* b : empresa.form.children())
    if (auto* caption = b->property("Caption"); caption && caption->value.starts_with('$')) {
      EXPECT_EQ(frm::parseFrxRef(caption->value), (frm::FrxRef{"frmEmpresa.frx", 0x2E04, true}));
      found = true;
    }
  EXPECT_TRUE(found);
  ASSERT_FALSE(empresa.trailer.empty());
  EXPECT_EQ(empresa.trailer.back(), "Attribute VB_Name = \"frmEmpresa\"");
}

}  // namespace
