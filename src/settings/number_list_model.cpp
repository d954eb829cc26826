#include "settings/number_list_model.h"

#include <algorithm>
#include <cassert>
#include <cstddef>

#include "settings/cp932.h"

namespace m2 {

namespace {
constexpr int kLastIndex = kNumberListSize - 1;
constexpr std::string_view kColumnTabs = "\t\t\t\t\t";
}  // namespace

int TabbedWidth(std::string_view utf8, const TextMeter& meter) {
  const int stop = std::max(1, meter.TabStop());
  int x = 0;
  for (;;) {
    const std::size_t tab = utf8.find('\t');
    x += meter.Advance(utf8.substr(0, tab));
    if (tab == std::string_view::npos) return x;
    x = (x / stop + 1) * stop;
    utf8.remove_prefix(tab + 1);
  }
}

std::string EntryPrefix(int index) { return "[" + std::to_string(index) + "]  "; }

NumberListModel::NumberListModel(NumberList& list, const TextMeter& meter)
    : m_list(list), m_meter(meter) {
  RebuildLines();
}

const NumberEntry& NumberListModel::entry(int index) const {
  assert(index >= 0 && index <= kLastIndex);
  return m_list.m_aEntry[static_cast<std::size_t>(index)];
}

bool NumberListModel::Used(int index) const { return entry(index).m_bUsed != 0; }

std::string NumberListModel::BuildLine(int index) const {
  const NumberEntry& e = entry(index);
  std::string line = EntryPrefix(index) + Cp932ToUtf8Lossy(e.m_strName);
  const int column = TabbedWidth(kColumnTabs, m_meter);
  do {
    line += '\t';
  } while (TabbedWidth(line, m_meter) < column);
  line += Cp932ToUtf8Lossy(e.m_strAddress);
  if (!e.m_strSubAddress.empty()) line += "/" + Cp932ToUtf8Lossy(e.m_strSubAddress);
  return line;
}

void NumberListModel::RebuildLines() {
  for (int i = 0; i <= kLastIndex; ++i) m_lines[static_cast<std::size_t>(i)] = BuildLine(i);
}

int NumberListModel::extent() const {
  int widest = 0;
  for (const std::string& line : m_lines) widest = std::max(widest, TabbedWidth(line, m_meter));
  return widest;
}

std::optional<int> NumberListModel::FirstFree(int from) const {
  for (int i = std::max(from, 0); i <= kLastIndex; ++i)
    if (!Used(i)) return i;
  return std::nullopt;
}

std::optional<int> NumberListModel::AddTarget(Selection selection) const {
  if (selection.empty()) {
    if (endIndex() > kLastIndex) return std::nullopt;
    if (auto after = FirstFree(endIndex())) return after;
    return FirstFree(0);
  }
  if (selection.size() == 1 && !Used(selection[0])) return selection[0];
  return std::nullopt;
}

std::optional<int> NumberListModel::ChangeTarget(Selection selection) const {
  if (selection.size() == 1 && Used(selection[0])) return selection[0];
  return std::nullopt;
}

NumberButtons NumberListModel::Buttons(Selection selection) const {
  using Focus = NumberButtons::Focus;
  if (selection.empty()) {
    const bool add = AddTarget(selection).has_value();
    return {add, false, false, add ? Focus::Add : Focus::Unchanged};
  }
  const bool allUsed =
      std::all_of(selection.begin(), selection.end(), [this](int i) { return Used(i); });
  if (selection.size() == 1)
    return allUsed ? NumberButtons{false, true, true, Focus::Delete}
                   : NumberButtons{true, false, false, Focus::Add};
  return allUsed ? NumberButtons{false, true, false, Focus::Delete} : NumberButtons{};
}

NumberAction NumberListModel::DoubleClick(Selection selection) const {
  if (selection.size() != 1) return NumberAction::None;
  return Used(selection[0]) ? NumberAction::Change : NumberAction::Add;
}

void NumberListModel::Add(int target, const EntryValues& values) {
  Change(target, values);
  m_list.m_nCount = std::max(m_list.m_nCount, target + 1);
}

void NumberListModel::Change(int index, const EntryValues& values) {
  assert(index >= 0 && index <= kLastIndex);
  NumberEntry& e = m_list.m_aEntry[static_cast<std::size_t>(index)];
  e = {1, values.name, values.address, values.subAddress};
  m_lines[static_cast<std::size_t>(index)] = BuildLine(index);
}

bool NumberListModel::Delete(Selection selection) {
  if (selection.empty()) return false;
  for (int i : selection) {
    if (!Used(i)) continue;
    m_list.m_aEntry[static_cast<std::size_t>(i)] = NumberEntry{};
    m_lines[static_cast<std::size_t>(i)] = EntryPrefix(i);
  }
  int end = 0;
  for (int i = 0; i <= kLastIndex; ++i)
    if (Used(i)) end = i + 1;
  m_list.m_nCount = end;
  return true;
}

}  // namespace m2
