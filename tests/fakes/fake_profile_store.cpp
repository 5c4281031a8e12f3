#include "tests/fakes/fake_profile_store.h"

#include "platform/text.h"

namespace kv::fake {

namespace {
bool same(std::string_view a, std::string_view b) {
  return ascii_upper(a) == ascii_upper(b);
}

std::string platform_value(const std::string& stored) {
  std::size_t b = 0;
  std::size_t e = stored.size();
  while (b < e && (stored[b] == ' ' || stored[b] == '\t')) ++b;
  while (e > b && (stored[e - 1] == ' ' || stored[e - 1] == '\t')) --e;
  std::string v = stored.substr(b, e - b);
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) v = v.substr(1, v.size() - 2);
  return v;
}
}  // namespace

FakeProfileStore::Section* FakeProfileStore::find(std::string_view section) {
  for (auto& s : sections_)
    if (same(s.name, section)) return &s;
  return nullptr;
}

const FakeProfileStore::Section* FakeProfileStore::find(std::string_view section) const {
  for (const auto& s : sections_)
    if (same(s.name, section)) return &s;
  return nullptr;
}

bool FakeProfileStore::refuse() {
  if (read_only_) return true;
  if (writes_left_ == 0) return true;
  if (writes_left_ > 0) --writes_left_;
  return false;
}

std::string FakeProfileStore::read_string(std::string_view section, std::string_view key, std::string_view def) {
  ++reads_;
  std::string value(def);
  if (const Section* s = find(section)) {
    for (const auto& [k, v] : s->entries)
      if (same(k, key)) {
        value = platform_value(v);
        break;
      }
  }
  if (value.size() > 1023) value.resize(1023);
  return value;
}

bool FakeProfileStore::write_string(std::string_view section, std::string_view key, std::string_view value) {
  if (refuse()) return false;
  ++writes_;
  Section* s = find(section);
  if (!s) {
    sections_.push_back(Section{std::string(section), {}});
    s = &sections_.back();
  }
  for (auto& [k, v] : s->entries)
    if (same(k, key)) {
      v = std::string(value);
      return true;
    }
  s->entries.emplace_back(std::string(key), std::string(value));
  return true;
}

bool FakeProfileStore::erase_section(std::string_view section) {
  if (refuse()) return false;
  ++writes_;
  for (auto it = sections_.begin(); it != sections_.end(); ++it)
    if (same(it->name, section)) {
      sections_.erase(it);
      break;
    }
  return true;
}

bool FakeProfileStore::has_section(std::string_view section) const {
  return find(section) != nullptr;
}

bool FakeProfileStore::has_key(std::string_view section, std::string_view key) const {
  if (const Section* s = find(section))
    for (const auto& [k, v] : s->entries)
      if (same(k, key)) return true;
  return false;
}

std::string FakeProfileStore::dump() const {
  std::string out;
  for (const auto& s : sections_) {
    out += "[" + s.name + "]\n";
    for (const auto& [k, v] : s.entries) out += k + "=" + v + "\n";
  }
  return out;
}

}  // namespace kv::fake
