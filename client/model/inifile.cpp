#include "client/model/inifile.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace quarn::client {
namespace {

constexpr std::string_view kSpaces = " \t";

std::string_view Trim(std::string_view text) {
  auto first = text.find_first_not_of(kSpaces);
  if (first == std::string_view::npos) return {};
  auto last = text.find_last_not_of(kSpaces);
  return text.substr(first, last - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
  auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
           return lower(static_cast<unsigned char>(x)) == lower(static_cast<unsigned char>(y));
         });
}

bool WritableName(std::string_view name) {
  // A leading ";" would turn the line into a comment when read back.
  return !Trim(name).empty() && !Trim(name).starts_with(';') &&
         name.find_first_of("=[]\r\n") == std::string_view::npos;
}

// Byte-order marks at the start of the file, with any blanks among them. A
// blank before a mark must go too: kept, the first key would begin with the
// mark once written, and a second reading would drop it.
std::string_view SkipLeadingMarks(std::string_view text) {
  for (;;) {
    if (text.starts_with("\xEF\xBB\xBF")) {
      text.remove_prefix(3);
    } else if (!text.empty() && kSpaces.find(text.front()) != std::string_view::npos) {
      text.remove_prefix(1);
    } else {
      return text;
    }
  }
}

}  // namespace

TIniFile::TIniFile(std::string path) : path_(std::move(path)) {
  std::ifstream in(path_, std::ios::binary);
  if (!in) return;
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Parse(text);
}

void TIniFile::Parse(std::string_view text) {
  preamble_.clear();
  sections_.clear();
  text = SkipLeadingMarks(text);
  std::vector<Line>* target = &preamble_;
  while (!text.empty()) {
    auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    std::string_view trimmed = Trim(line);
    if (trimmed.starts_with('[') && trimmed.find(']') != std::string_view::npos) {
      std::string_view name = Trim(trimmed.substr(1, trimmed.find(']') - 1));
      sections_.push_back({std::string(name), {}});
      target = &sections_.back().lines;
      continue;
    }
    auto equals = line.find('=');
    std::string_view key = equals == std::string_view::npos ? "" : Trim(line.substr(0, equals));
    if (key.empty() || trimmed.starts_with(';')) {
      target->push_back({{}, {}, std::string(line)});
    } else {
      target->push_back({std::string(key), std::string(Trim(line.substr(equals + 1))), {}});
    }
  }
}

std::string TIniFile::Text() const {
  std::string out;
  auto put = [&out](const Line& line) {
    out += line.key.empty() ? line.raw : line.key + "=" + line.value;
    out += "\r\n";
  };
  std::for_each(preamble_.begin(), preamble_.end(), put);
  for (const Section& section : sections_) {
    out += "[" + section.name + "]\r\n";
    std::for_each(section.lines.begin(), section.lines.end(), put);
  }
  return out;
}

TIniFile::Section* TIniFile::FindSection(std::string_view name) {
  auto it = std::find_if(sections_.begin(), sections_.end(),
                         [&](const Section& s) { return SameName(s.name, name); });
  return it == sections_.end() ? nullptr : &*it;
}

const TIniFile::Section* TIniFile::FindSection(std::string_view name) const {
  return const_cast<TIniFile*>(this)->FindSection(name);
}

std::vector<TIniFile::Entry> TIniFile::ReadSection(std::string_view section) const {
  std::vector<Entry> entries;
  if (const Section* found = FindSection(Trim(section))) {
    for (const Line& line : found->lines) {
      if (!line.key.empty()) entries.emplace_back(line.key, line.value);
    }
  }
  return entries;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view fallback) const {
  if (const Section* found = FindSection(Trim(section))) {
    for (const Line& line : found->lines) {
      if (!line.key.empty() && SameName(line.key, Trim(key))) return line.value;
    }
  }
  return std::string(fallback);
}

bool TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  if (!WritableName(section) || !WritableName(key)) return false;
  std::string clean(Trim(value));
  std::replace_if(
      clean.begin(), clean.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  Section* target = FindSection(Trim(section));
  if (target == nullptr) {
    sections_.push_back({std::string(Trim(section)), {}});
    target = &sections_.back();
  }
  for (Line& line : target->lines) {
    if (!line.key.empty() && SameName(line.key, Trim(key))) {
      line.value = std::move(clean);
      return true;
    }
  }
  // After the section's last entry, so that trailing blank lines stay between sections.
  auto last = std::find_if(target->lines.rbegin(), target->lines.rend(),
                           [](const Line& line) { return !line.key.empty(); });
  target->lines.insert(last.base(), Line{std::string(Trim(key)), std::move(clean), {}});
  return true;
}

bool TIniFile::DeleteKey(std::string_view section, std::string_view key) {
  Section* found = FindSection(Trim(section));
  if (found == nullptr) return false;
  auto it = std::find_if(found->lines.begin(), found->lines.end(), [&](const Line& line) {
    return !line.key.empty() && SameName(line.key, Trim(key));
  });
  if (it == found->lines.end()) return false;
  found->lines.erase(it);
  return true;
}

bool TIniFile::UpdateFile() const {
  if (path_.empty()) return false;
  const std::string temporary = path_ + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    const std::string text = Text();
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    if (!out) {
      out.close();
      std::remove(temporary.c_str());
      return false;
    }
  }
  if (std::rename(temporary.c_str(), path_.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace quarn::client
