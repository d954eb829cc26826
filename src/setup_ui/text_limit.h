#pragma once
// Limits a text field to a number of bytes as the settings file stores the text (CP932: a
// double-byte character counts two). What the user types beyond the limit is dropped and
// a paste is shortened, cut between characters. Text set by the program is not cut: a
// longer text from the record stays visible and is refused when the page takes it.
class QLineEdit;

namespace m2::setup {

// Attach before connecting anything to the edit's textEdited, so others see the cut text.
void LimitCp932Bytes(QLineEdit* edit, int maxBytes);

}  // namespace m2::setup
