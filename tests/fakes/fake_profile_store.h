// In-memory macros.ini with the private-profile service's rules: names match without regard to
// case, reads are cut to 1023 characters, values are trimmed of blanks and of one pair of
// surrounding quotes on read, a refused write changes nothing.
#pragma once
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/ports.h"

namespace kv::fake {

class FakeProfileStore : public ProfileStore {
 public:
  std::string read_string(std::string_view section, std::string_view key, std::string_view def) override;
  bool write_string(std::string_view section, std::string_view key, std::string_view value) override;
  bool erase_section(std::string_view section) override;
  std::string file_name() const override { return "macros.ini"; }

  // Test controls.
  void set_read_only(bool on) { read_only_ = on; }
  // Refuse writes after this many more have succeeded (-1: never).
  void refuse_after(int writes) { writes_left_ = writes; }
  bool has_section(std::string_view section) const;
  bool has_key(std::string_view section, std::string_view key) const;
  // The whole file as text, sections in creation order.
  std::string dump() const;
  int reads() const { return reads_; }
  int writes() const { return writes_; }

 private:
  struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> entries;
  };
  Section* find(std::string_view section);
  const Section* find(std::string_view section) const;
  bool refuse();

  std::vector<Section> sections_;
  bool read_only_ = false;
  int writes_left_ = -1;
  int reads_ = 0;
  int writes_ = 0;
};

}  // namespace kv::fake
