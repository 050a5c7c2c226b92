// The page descriptions the sheet is laid out from and the report is written
// from: every check-box group shows the bits its report line names, every
// control can be found by a caption of its own, and each page's own order
// names its fields once.

#include <gtest/gtest.h>

#include <set>

#include "driverinfo/page_tables.h"

namespace dossel::test {
namespace {

using namespace driverinfo;

std::set<uint32_t> Bits(std::span<const BitName> names) {
  std::set<uint32_t> bits;
  for (const BitName& name : names) EXPECT_TRUE(bits.insert(name.bit).second) << "bit named twice: " << name.bit;
  return bits;
}

TEST(PageTablesTest, CheckBoxesShowTheBitsTheReportNames) {
  size_t groups = 0;
  for (const PageSpec& page : Pages()) {
    for (const FieldSpec& field : page.fields) {
      if (field.kind != FieldKind::kChecks) continue;
      ++groups;
      EXPECT_EQ(Bits(field.boxes), Bits(field.reportBits)) << ToUtf8(FieldCaption(field));
      EXPECT_FALSE(field.boxes.empty());
    }
  }
  EXPECT_EQ(groups, 4u + 4u + 7u);  // Supported SQL, Misc. 1, Misc. 2
}

TEST(PageTablesTest, EveryFieldHasACaptionOfItsOwnOnItsPage) {
  for (const PageSpec& page : Pages()) {
    std::set<TString> captions;
    for (const FieldSpec& field : page.fields) {
      const TString caption = FieldCaption(field);
      EXPECT_FALSE(caption.empty());
      EXPECT_TRUE(captions.insert(caption).second) << ToUtf8(caption);
    }
  }
  // A limit's caption is the name its report line gives it.
  const PageSpec& limits = Page(PageId::kLimits);
  EXPECT_EQ(FieldCaption(limits.fields[0]), DT("Max Binary Literal Length:"));
  EXPECT_EQ(FieldCaption(limits.fields[13]), DT("Max Row Size:"));
}

TEST(PageTablesTest, PagesComeInSheetOrderAndLayOutEachFieldOnce) {
  ASSERT_EQ(Pages().size(), 8u);
  for (size_t i = 0; i < Pages().size(); ++i) EXPECT_EQ(static_cast<size_t>(Pages()[i].id), i);
  EXPECT_EQ(TString(Page(PageId::kMisc1).title), DT("Misc. 1"));
  EXPECT_TRUE(Page(PageId::kFunctions).fields.empty());
  for (const PageSpec& page : Pages()) {
    std::set<size_t> first;
    for (const uint8_t index : page.layoutFirst) {
      EXPECT_LT(index, page.fields.size());
      EXPECT_TRUE(first.insert(index).second);
    }
  }
}

}  // namespace
}  // namespace dossel::test
