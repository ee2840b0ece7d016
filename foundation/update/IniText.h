// IniText: the text of an INI file, read as the system's profile functions read one: sections
// and keys found without regard to case, the first of two equal keys wins, values trimmed of
// blanks and of one pair of enclosing quotes, and every value cut to the caller's buffer of
// 255 characters. The catalogue comes from the network, so nothing here trusts the text.
#pragma once

#include <string>
#include <vector>

class IniText {
 public:
  // The longest value returned, as the profile functions give it into a 255-character buffer.
  static constexpr size_t kMaxValue = 254;

  IniText() = default;
  explicit IniText(const std::string& text) { Parse(text); }
  void Parse(const std::string& text);

  bool HasSection(const std::string& section) const;
  bool HasKey(const std::string& section, const std::string& key) const;
  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& fallback) const;
  // The leading decimal number of the value (an optional sign, then digits), as atol reads it;
  // fallback when the key is missing. Values beyond the 32-bit range are clamped.
  long GetInt(const std::string& section, const std::string& key, long fallback) const;
  // The number of keys in a section.
  size_t KeyCount(const std::string& section) const;

 private:
  struct Entry {
    std::string section;  // lower case
    std::string key;      // lower case
    std::string value;
  };
  const Entry* Find(const std::string& section, const std::string& key) const;
  std::vector<Entry> entries_;
  std::vector<std::string> sections_;  // lower case
};
