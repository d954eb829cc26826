#pragma once
// A private scratch directory for one test, removed with everything in it afterwards (also
// when a test has made it read-only).
#include <stdlib.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>

namespace m2::test {

class ScratchDir {
 public:
  ScratchDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "m2test.XXXXXX").string();
    if (!::mkdtemp(tmpl.data()))
      throw std::filesystem::filesystem_error("mkdtemp", std::error_code(errno, std::generic_category()));
    m_path = tmpl;
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_path, ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return m_path; }
  std::string file(const std::string& name) const { return (m_path / name).string(); }

 private:
  std::filesystem::path m_path;
};

}  // namespace m2::test
