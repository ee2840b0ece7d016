#include "foundation/update/IniText.h"

#include <algorithm>
#include <cctype>
#include <climits>

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

}  // namespace

void IniText::Parse(const std::string& text) {
  entries_.clear();
  sections_.clear();
  std::string section;
  bool inSection = false;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = Trim(text.substr(pos, end - pos));
    pos = end + 1;
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      size_t close = line.find(']');
      section =
          Lower(Trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1)));
      inSection = true;
      if (std::find(sections_.begin(), sections_.end(), section) == sections_.end())
        sections_.push_back(section);
      continue;
    }
    size_t eq = line.find('=');
    if (!inSection || eq == std::string::npos) continue;
    std::string value = Trim(line.substr(eq + 1));
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
      value = value.substr(1, value.size() - 2);
    if (value.size() > kMaxValue) value.resize(kMaxValue);
    entries_.push_back({section, Lower(Trim(line.substr(0, eq))), value});
  }
}

const IniText::Entry* IniText::Find(const std::string& section, const std::string& key) const {
  std::string s = Lower(section), k = Lower(key);
  for (const Entry& e : entries_)
    if (e.section == s && e.key == k) return &e;
  return nullptr;
}

bool IniText::HasSection(const std::string& section) const {
  return std::find(sections_.begin(), sections_.end(), Lower(section)) != sections_.end();
}

bool IniText::HasKey(const std::string& section, const std::string& key) const {
  return Find(section, key) != nullptr;
}

std::string IniText::GetString(const std::string& section, const std::string& key,
                               const std::string& fallback) const {
  const Entry* e = Find(section, key);
  if (!e) return fallback.size() > kMaxValue ? fallback.substr(0, kMaxValue) : fallback;
  return e->value;
}

long IniText::GetInt(const std::string& section, const std::string& key, long fallback) const {
  const Entry* e = Find(section, key);
  if (!e) return fallback;
  const std::string& v = e->value;
  size_t i = 0;
  bool negative = false;
  if (i < v.size() && (v[i] == '-' || v[i] == '+')) negative = v[i++] == '-';
  long long n = 0;
  for (; i < v.size() && std::isdigit(static_cast<unsigned char>(v[i])); ++i)
    n = std::min<long long>(n * 10 + (v[i] - '0'), static_cast<long long>(INT_MAX) + 1);
  if (negative) n = -n;
  return static_cast<long>(std::clamp<long long>(n, INT_MIN, INT_MAX));
}

size_t IniText::KeyCount(const std::string& section) const {
  std::string s = Lower(section);
  return static_cast<size_t>(std::count_if(entries_.begin(), entries_.end(),
                                           [&](const Entry& e) { return e.section == s; }));
}
