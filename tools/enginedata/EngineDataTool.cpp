#include "tools/enginedata/EngineDataTool.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "engines/db/EngineDataKey.h"
#include "tools/enginedata/DataFileCoder.h"

namespace {

const char kUsage[] =
    "usage: enginedata encode [options] [INPUT [OUTPUT]]\n"
    "       enginedata decode [--key TEXT] [INPUT [OUTPUT]]\n"
    "       enginedata check [--key TEXT] SCRAMBLED READABLE\n"
    "\n"
    "Encodes a readable engines.dat or categories.dat into the scrambled form the program reads\n"
    "(each line scrambled with the key, then Base64), decodes it back, or checks that a scrambled\n"
    "file decodes to a readable one. Empty lines always stay empty.\n"
    "\n"
    "  --key TEXT           key of the data-file coder (default: the program's own key)\n"
    "  --plain-comments     leave comment lines (first character \"#\") plain\n"
    "  --plain-headers      leave section lines (first character \"[\") plain\n"
    "  --plain-section NAME leave the section NAME plain, its \"[NAME]\" line included "
    "(repeatable)\n"
    "  --plain-lines A[-B]  leave lines A to B plain, counted from 1 (repeatable)\n"
    "\n"
    "INPUT or OUTPUT missing or \"-\": standard input or output.\n";

struct Options {
  std::string command;
  std::string key;
  bool plainComments = false;
  bool plainHeaders = false;
  std::vector<std::string> plainSections;
  std::vector<std::pair<long, long>> plainLines;
  std::vector<std::string> files;
};

struct Lines {
  std::vector<std::string> items;
  bool finalNewline = false;
};

// Lines without their ends; "\r\n" counts as one end, so files written on Windows read the same.
Lines SplitLines(const std::string& text) {
  Lines lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.items.push_back(line);
    start = end + 1;
  }
  lines.finalNewline = !text.empty() && text.back() == '\n';
  return lines;
}

std::string JoinLines(const Lines& lines) {
  std::string text;
  for (size_t i = 0; i < lines.items.size(); ++i) {
    text += lines.items[i];
    if (i + 1 < lines.items.size() || lines.finalNewline) text += '\n';
  }
  return text;
}

std::string Trim(const std::string& text) {
  size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

bool ParseRange(const std::string& text, std::pair<long, long>& range) {
  char* end = nullptr;
  long from = strtol(text.c_str(), &end, 10);
  long to = from;
  if (*end == '-') to = strtol(end + 1, &end, 10);
  if (*end != '\0' || from < 1 || to < from) return false;
  range = {from, to};
  return true;
}

bool ParseArgs(const std::vector<std::string>& args, Options& options, std::ostream& err) {
  if (args.empty()) {
    err << kUsage;
    return false;
  }
  options.command = args[0];
  if (options.command != "encode" && options.command != "decode" && options.command != "check") {
    err << "enginedata: unknown command \"" << options.command << "\"\n" << kUsage;
    return false;
  }
  bool keySet = false;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    bool hasValue = i + 1 < args.size();
    bool encodeOnly = false;
    if (arg == "--key" && hasValue) {
      options.key = args[++i];
      keySet = true;
    } else if (arg == "--plain-comments") {
      options.plainComments = encodeOnly = true;
    } else if (arg == "--plain-headers") {
      options.plainHeaders = encodeOnly = true;
    } else if (arg == "--plain-section" && hasValue) {
      options.plainSections.push_back(args[++i]);
      encodeOnly = true;
    } else if (arg == "--plain-lines" && hasValue) {
      std::pair<long, long> range;
      if (!ParseRange(args[++i], range)) {
        err << "enginedata: bad line range \"" << args[i] << "\"\n";
        return false;
      }
      options.plainLines.push_back(range);
      encodeOnly = true;
    } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
      err << "enginedata: unknown option \"" << arg << "\"\n" << kUsage;
      return false;
    } else {
      options.files.push_back(arg);
    }
    if (encodeOnly && options.command != "encode") {
      err << "enginedata: " << arg << " is an option of encode\n";
      return false;
    }
  }
  if (options.command == "check" && options.files.size() != 2) {
    err << "enginedata: check needs a scrambled and a readable file\n";
    return false;
  }
  if (options.files.size() > 2) {
    err << "enginedata: too many files\n";
    return false;
  }
  if (!keySet) options.key = BuildEngineDataKey().c_str();
  return true;
}

bool ReadInput(const std::string& name, std::istream& in, std::string& text, std::ostream& err) {
  if (name.empty() || name == "-") {
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
  }
  std::ifstream file(name, std::ios::binary);
  if (!file) {
    err << "enginedata: cannot read " << name << "\n";
    return false;
  }
  text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return true;
}

bool WriteOutput(const std::string& name, const std::string& text, std::ostream& out,
                 std::ostream& err) {
  if (name.empty() || name == "-") {
    out << text;
    return static_cast<bool>(out);
  }
  std::ofstream file(name, std::ios::binary | std::ios::trunc);
  file << text;
  file.close();
  if (!file) {
    err << "enginedata: cannot write " << name << "\n";
    return false;
  }
  return true;
}

// Decides line by line whether a line of the readable file stays plain.
class PlainRules {
 public:
  explicit PlainRules(const Options& options) : m_options(options) {}

  bool KeepPlain(const std::string& line, long number) {
    std::string trimmed = Trim(line);
    // The reader ends a section at an empty line; a "[" line starts the next one.
    if (trimmed.empty()) {
      m_inPlainSection = false;
    } else if (trimmed[0] == '[') {
      std::string name = trimmed.substr(1);
      if (!name.empty() && name.back() == ']') name.pop_back();
      name = Trim(name);
      m_inPlainSection = false;
      for (const std::string& section : m_options.plainSections)
        if (section == name) m_inPlainSection = true;
      if (m_options.plainHeaders) return true;
    } else if (trimmed[0] == '#' && m_options.plainComments) {
      return true;
    }
    if (m_inPlainSection) return true;
    for (const auto& range : m_options.plainLines)
      if (number >= range.first && number <= range.second) return true;
    return false;
  }

 private:
  const Options& m_options;
  bool m_inPlainSection = false;
};

int Encode(const Options& options, std::istream& in, std::ostream& out, std::ostream& err) {
  std::string text;
  if (!ReadInput(options.files.size() > 0 ? options.files[0] : "", in, text, err)) return 2;
  CDataFileCoder coder(options.key);
  PlainRules rules(options);
  Lines lines = SplitLines(text);
  for (size_t i = 0; i < lines.items.size(); ++i) {
    std::string& line = lines.items[i];
    long number = static_cast<long>(i) + 1;
    if (rules.KeepPlain(line, number)) {
      // A plain line that happens to unscramble would be read as something else entirely.
      std::string decoded;
      if (coder.DecodeLine(line, decoded)) {
        err << "enginedata: line " << number
            << " would be read as a scrambled line; it cannot stay plain\n";
        return 1;
      }
    } else {
      line = coder.EncodeLine(line);
    }
  }
  return WriteOutput(options.files.size() > 1 ? options.files[1] : "", JoinLines(lines), out, err)
             ? 0
             : 2;
}

std::string DecodeText(const std::string& text, const CDataFileCoder& coder) {
  Lines lines = SplitLines(text);
  for (std::string& line : lines.items) {
    std::string plain;
    coder.DecodeLine(line, plain);
    line = plain;
  }
  return JoinLines(lines);
}

int Decode(const Options& options, std::istream& in, std::ostream& out, std::ostream& err) {
  std::string text;
  if (!ReadInput(options.files.size() > 0 ? options.files[0] : "", in, text, err)) return 2;
  std::string plain = DecodeText(text, CDataFileCoder(options.key));
  return WriteOutput(options.files.size() > 1 ? options.files[1] : "", plain, out, err) ? 0 : 2;
}

int Check(const Options& options, std::istream& in, std::ostream& out, std::ostream& err) {
  std::string scrambled, readable;
  if (!ReadInput(options.files[0], in, scrambled, err) ||
      !ReadInput(options.files[1], in, readable, err))
    return 2;
  CDataFileCoder coder(options.key);
  Lines decoded = SplitLines(DecodeText(scrambled, coder));
  Lines expected = SplitLines(readable);
  size_t common = std::min(decoded.items.size(), expected.items.size());
  for (size_t i = 0; i < common; ++i) {
    if (decoded.items[i] != expected.items[i]) {
      err << options.files[0] << ":" << i + 1 << ": decodes to\n  " << decoded.items[i] << "\nbut "
          << options.files[1] << ":" << i + 1 << " reads\n  " << expected.items[i] << "\n";
      return 1;
    }
  }
  if (decoded.items.size() != expected.items.size()) {
    err << options.files[0] << " has " << decoded.items.size() << " lines, " << options.files[1]
        << " has " << expected.items.size() << "\n";
    return 1;
  }
  size_t scrambledLines = 0;
  for (const std::string& line : SplitLines(scrambled).items) {
    std::string plain;
    if (coder.DecodeLine(line, plain)) ++scrambledLines;
  }
  out << options.files[0] << " decodes to " << options.files[1] << " (" << scrambledLines << " of "
      << decoded.items.size() << " lines scrambled)\n";
  return 0;
}

}  // namespace

int RunEngineDataTool(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                      std::ostream& err) {
  Options options;
  if (!ParseArgs(args, options, err)) return 2;
  if (options.command == "encode") return Encode(options, in, out, err);
  if (options.command == "decode") return Decode(options, in, out, err);
  return Check(options, in, out, err);
}
