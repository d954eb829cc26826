// The number-list page's model without a display: line texts and their tab alignment, the
// button table, Add/Change/Delete with their end-index rules, and the free-entry choice on
// lists with gaps.
#include "settings/number_list_model.h"

#include <gtest/gtest.h>

#include <vector>

namespace m2 {
namespace {

// Ten pixels per character, tab positions every 80 pixels: five tabs are 400 wide.
class FixedMeter final : public TextMeter {
 public:
  int Advance(std::string_view utf8) const override {
    int chars = 0;
    for (unsigned char c : utf8)
      if ((c & 0xC0) != 0x80) ++chars;
    return 10 * chars;
  }
  int TabStop() const override { return 80; }
};

const FixedMeter kMeter;

NumberList ListUsing(std::initializer_list<int> used, int count) {
  NumberList l;
  for (int i : used)
    l.m_aEntry[static_cast<std::size_t>(i)] = {1, "n" + std::to_string(i), std::to_string(i), ""};
  l.m_nCount = count;
  return l;
}

TEST(NumberListModel, LinesAlignTheAddressColumnWithTabs) {
  NumberList l;
  l.m_aEntry[0] = {1, "", "0312345678", "12"};
  l.m_aEntry[1] = {1, "\xB6\xB2\xBC\xAC", "", ""};  // name only (ｶｲｼｬ): padding, then nothing
  l.m_aEntry[2] = {1, "abc", "0451112222", ""};     // no sub-address: no "/"
  l.m_aEntry[3] = {1, std::string(36, 'x'), "9", "8"};  // 41 chars, past the column: one tab
  l.m_aEntry[4] = {0, "stale", "77", ""};               // unused lines are built all the same
  NumberListModel m(l, kMeter);
  EXPECT_EQ(m.lines()[0], "[0]  \t\t\t\t\t0312345678/12");
  EXPECT_EQ(m.lines()[1], "[1]  ｶｲｼｬ\t\t\t\t");
  EXPECT_EQ(m.lines()[2], "[2]  abc\t\t\t\t0451112222");
  EXPECT_EQ(m.lines()[3], "[3]  " + std::string(36, 'x') + "\t9/8");
  EXPECT_EQ(m.lines()[4], "[4]  stale\t\t\t\t77");
  EXPECT_EQ(m.lines()[9], "[9]  \t\t\t\t\t");
  EXPECT_EQ(TabbedWidth(m.lines()[0], kMeter), 400 + 130);
  EXPECT_EQ(TabbedWidth(m.lines()[3], kMeter), 480 + 30);
  EXPECT_EQ(m.extent(), 400 + 130);  // the widest line: entry 0
}

TEST(NumberListModel, ButtonTable) {
  using F = NumberButtons::Focus;
  struct Row {
    const char* what;
    NumberList list;
    std::vector<int> selection;
    NumberButtons expected;
  };
  const Row rows[] = {
      {"none, end index 3", ListUsing({0, 1, 2}, 3), {}, {true, false, false, F::Add}},
      {"none, end index 10", ListUsing({0, 9}, 10), {}, {false, false, false, F::Unchanged}},
      {"none, all used", ListUsing({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 9), {}, {}},
      {"one unused", ListUsing({0, 9}, 10), {5}, {true, false, false, F::Add}},
      {"one used", ListUsing({0, 9}, 10), {9}, {false, true, true, F::Delete}},
      {"several used", ListUsing({0, 4, 9}, 10), {0, 4, 9}, {false, true, false, F::Delete}},
      {"used and unused", ListUsing({0, 9}, 10), {0, 1}, {false, false, false, F::Unchanged}},
  };
  for (const Row& r : rows) {
    NumberList l = r.list;
    NumberListModel m(l, kMeter);
    EXPECT_EQ(m.Buttons(r.selection), r.expected) << r.what;
  }
  NumberList l = ListUsing({0, 9}, 10);
  NumberListModel m(l, kMeter);
  const std::vector<int> used{9};
  EXPECT_EQ(m.DoubleClick(used), NumberAction::Change);
  EXPECT_EQ(m.DoubleClick(std::vector<int>{4}), NumberAction::Add);
  EXPECT_EQ(m.DoubleClick(std::vector<int>{0, 9}), NumberAction::None);
  EXPECT_EQ(m.ChangeTarget(std::vector<int>{4}), std::nullopt);
  EXPECT_EQ(m.AddTarget(used), std::nullopt);
}

TEST(NumberListModel, EndIndexFollowsAddChangeAndDelete) {
  NumberList l = ListUsing({0, 1, 2}, 3);
  NumberListModel m(l, kMeter);
  ASSERT_EQ(m.AddTarget({}), 3);
  m.Add(3, {"\x83\x5E", "0312345678", "5"});  // タ
  EXPECT_EQ(m.endIndex(), 4);
  EXPECT_EQ(m.entry(3), (NumberEntry{1, "\x83\x5E", "0312345678", "5"}));
  EXPECT_EQ(m.lines()[3], "[3]  タ\t\t\t\t\t0312345678/5");

  const std::vector<int> seven{7}, two{2};
  m.Add(*m.AddTarget(seven), {"", "7", ""});  // a selected free entry past the end
  EXPECT_EQ(m.endIndex(), 8);
  m.Change(*m.ChangeTarget(two), {"x", "", ""});
  EXPECT_EQ(m.endIndex(), 8);
  EXPECT_EQ(m.entry(2), (NumberEntry{1, "x", "", ""}));

  // Deleting the highest used entry: one past the next used entry below it.
  ASSERT_TRUE(m.Delete(seven));
  EXPECT_EQ(m.endIndex(), 4);
  EXPECT_EQ(m.entry(7), NumberEntry{});
  EXPECT_EQ(m.lines()[7], "[7]  ");
  const std::vector<int> all{0, 1, 2, 3};
  ASSERT_TRUE(m.Delete(all));
  EXPECT_EQ(m.endIndex(), 0);
  EXPECT_EQ(l, NumberList{});  // the page's copy itself
  EXPECT_FALSE(m.Delete({}));
}

TEST(NumberListModel, AddWithoutSelectionNeverOverwritesAUsedEntry) {
  struct Row {
    const char* what;
    NumberList list;
    std::optional<int> target;
    int endAfter;
  };
  const Row rows[] = {
      // As the TA's listing counts: entries 0, 1 and 3 used, count 3.
      {"used entry at the end index", ListUsing({0, 1, 3}, 3), 4, 5},
      {"nothing free after it", ListUsing({1, 2, 3, 4, 5, 6, 7, 8, 9}, 9), 0, 9},
      {"all used", ListUsing({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 10), std::nullopt, 10},
      {"count from a damaged file below 0", ListUsing({0}, -4), 1, 2},
      {"count from a damaged file above 10", ListUsing({0}, 12), std::nullopt, 12},
  };
  for (const Row& r : rows) {
    NumberList l = r.list;
    NumberListModel m(l, kMeter);
    const std::optional<int> target = m.AddTarget({});
    EXPECT_EQ(target, r.target) << r.what;
    EXPECT_EQ(m.Buttons({}).add, r.target.has_value()) << r.what;
    if (!target) continue;
    m.Add(*target, {"", "1", ""});
    EXPECT_EQ(m.endIndex(), r.endAfter) << r.what;
    for (int i = 0; i < kNumberListSize; ++i)
      EXPECT_EQ(m.entry(i).m_strName, r.list.m_aEntry[static_cast<std::size_t>(i)].m_strName)
          << r.what << ": entry " << i;
  }
}

}  // namespace
}  // namespace m2
