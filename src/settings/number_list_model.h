#pragma once
// What a telephone-number list page does, without the widgets: on the page's copy of one
// list, the text of each of the ten lines, the end index (one past the highest entry filled through
// the page, kept in m_nCount), which buttons a selection allows, and Add, Change and Delete
// with their end-index updates. The page renders the lines and asks the user; every
// decision is taken here.
//
// Lines are UTF-8 for display. The address column is aligned with tabs: the name is padded
// with tabs until the line is as wide as five tabs in the list's font, so line widths come
// from a TextMeter the view supplies.
#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "settings/settings_data.h"

namespace m2 {

// Pixel widths of display text in the list's font.
class TextMeter {
 public:
  virtual ~TextMeter() = default;
  // Width of a text that holds no tab.
  virtual int Advance(std::string_view utf8) const = 0;
  // Distance between the default tab positions; at least 1.
  virtual int TabStop() const = 0;
};

// Width of a text with each tab advancing to the next tab position.
int TabbedWidth(std::string_view utf8, const TextMeter& meter);

// "[%d]  " with the entry's index.
std::string EntryPrefix(int index);

// The user's values for one entry, CP932 as the record keeps them.
struct EntryValues {
  std::string name;
  std::string address;
  std::string subAddress;
};

struct NumberButtons {
  enum class Focus { Add, Delete, Unchanged };
  bool add = false;
  bool del = false;
  bool change = false;
  Focus focus = Focus::Unchanged;
  bool operator==(const NumberButtons&) const = default;
};

enum class NumberAction { None, Add, Change };

// Selections are the selected line indexes in ascending order, at most ten.
using Selection = std::span<const int>;

class NumberListModel {
 public:
  // Both must outlive the model; the list is the page's copy, which the model edits.
  NumberListModel(NumberList& list, const TextMeter& meter);

  const NumberList& list() const { return m_list; }
  const NumberEntry& entry(int index) const;
  int endIndex() const { return m_list.m_nCount; }
  const std::array<std::string, kNumberListSize>& lines() const { return m_lines; }
  // The widest line: the list's horizontal extent.
  int extent() const;
  // Rebuilds every line, as when the page opens or its font changed.
  void RebuildLines();

  // The buttons for the selection the list shows; also when the list takes the focus, which
  // it does again on every click, so the buttons never contradict a highlighted line.
  NumberButtons Buttons(Selection selection) const;
  NumberAction DoubleClick(Selection selection) const;

  // The entry Add fills, if any. Without a selection it is the end index; when that entry
  // is already used (a list read from the TA with gaps), the first free entry after it,
  // else the first free one. The end index past the last entry leaves nothing to add.
  std::optional<int> AddTarget(Selection selection) const;
  // The entry Change edits: the one selected entry, if it is used.
  std::optional<int> ChangeTarget(Selection selection) const;

  // Fills the target of AddTarget and moves the end index past it.
  void Add(int target, const EntryValues& values);
  void Change(int index, const EntryValues& values);
  // Empties every selected used entry; the end index becomes one past the highest used.
  // False when nothing was selected (nothing changes).
  bool Delete(Selection selection);

 private:
  std::string BuildLine(int index) const;
  bool Used(int index) const;
  std::optional<int> FirstFree(int from) const;

  NumberList& m_list;
  const TextMeter& m_meter;
  std::array<std::string, kNumberListSize> m_lines;
};

}  // namespace m2
