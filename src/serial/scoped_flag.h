#pragma once
// Raises a flag for a scope and gives it back its old value however the scope is left, so
// a nested use keeps the flag raised until the outermost one ends.
namespace m2 {

class ScopedFlag {
 public:
  explicit ScopedFlag(bool& flag, bool raise = true) : m_flag(flag), m_was(flag) {
    flag = raise || m_was;
  }
  ~ScopedFlag() { m_flag = m_was; }
  ScopedFlag(const ScopedFlag&) = delete;
  ScopedFlag& operator=(const ScopedFlag&) = delete;

 private:
  bool& m_flag;
  bool m_was;
};

}  // namespace m2
