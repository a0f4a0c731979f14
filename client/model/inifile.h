// TIniFile: the client's settings file, sections of key=value lines in GBK.
// Reads like the Windows profile functions (section and key names ignore ASCII
// case, spaces around keys and values are dropped) and keeps everything it does
// not understand, so that rewriting a damaged file never loses its other lines.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quarn::client {

class TIniFile {
 public:
  using Entry = std::pair<std::string, std::string>;  // key, value (GBK as stored)

  TIniFile() = default;
  // Binds the file at `path` and reads it; a missing or unreadable file reads as empty.
  explicit TIniFile(std::string path);
  virtual ~TIniFile() = default;

  // Replaces the contents with the parsed `text`. Never fails: lines that are
  // neither a section header nor key=value are kept as they stand.
  void Parse(std::string_view text);
  // The whole file as it will be written (CR LF line ends).
  std::string Text() const;

  // Every key=value line of `section` in file order; empty when the section is missing.
  std::vector<Entry> ReadSection(std::string_view section) const;
  // The value of `key`, or `fallback` when the section or key is missing.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view fallback = {}) const;

  // Sets `key` in `section`. An existing key keeps its place; a new key goes to
  // the end of its section; a missing section is added at the end of the file.
  // Line breaks in the value become spaces. False for a key or section name
  // that cannot be written (empty, or holding "=", "[", "]" or a line break).
  bool WriteString(std::string_view section, std::string_view key, std::string_view value);

  // Removes `key` from `section`; false when there was no such key.
  bool DeleteKey(std::string_view section, std::string_view key);

  // Writes the file back through a temporary file, so a failed write leaves the
  // old file whole. False on failure (no path, or the disk refused).
  [[nodiscard]] bool UpdateFile() const;

  const std::string& Path() const { return path_; }

 private:
  struct Line {
    std::string key;  // empty for a line that is not key=value
    std::string value;
    std::string raw;  // the text of a line that is not key=value
  };
  struct Section {
    std::string name;
    std::vector<Line> lines;
  };

  Section* FindSection(std::string_view name);
  const Section* FindSection(std::string_view name) const;

  std::string path_;
  std::vector<Line> preamble_;  // lines before the first section header
  std::vector<Section> sections_;
};

}  // namespace quarn::client
