#pragma once
// The per-user settings store: application -> section -> key -> text, names compared without
// regard to case, kept in one file of one record a line. Names are data inside that file,
// never parts of a path.
//
// Several programs may share the file: every change takes a lock on a file beside it, reads the
// file again under the lock and changes only the records it writes, so that another program's
// sections, and lines this one does not understand, stay as they were.

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <rescalo/host/services.h>

namespace rescalo::runtime {

class FileSettingsStore : public host::SettingsStore {
 public:
  // The file, by default $XDG_CONFIG_HOME/rescalo/settings (or ~/.config/rescalo/settings).
  explicit FileSettingsStore(std::filesystem::path file = defaultPath());
  static std::filesystem::path defaultPath();
  const std::filesystem::path& path() const { return file_; }

  void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                   std::string_view setting) override;
  std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                         std::string_view defaultValue = {}) override;
  void DeleteSetting(std::string_view app, std::string_view section,
                     std::optional<std::string_view> key = std::nullopt) override;
  // The writes made inside are one change of the file: one lock, one read, one rewrite.
  void update(const std::function<void()>& writes) override;

  // What an application has stored, for showing it: its sections, and one section's keys
  // with their values, in name order.
  std::vector<std::string> sections(std::string_view app) const;
  std::vector<std::pair<std::string, std::string>> keys(std::string_view app,
                                                        std::string_view section) const;

  // Every time the file could not be read or written, "FILE: what failed: why". The control
  // ignores such failures; the program around it tells its user.
  const std::vector<std::string>& failures() const { return failures_; }

  // The store's reading and writing of a file's text, for checking them on any text: the
  // records it finds (app, section, key, value), and the text after one key was set.
  static std::vector<std::vector<std::string>> records(std::string_view text);
  static std::string edited(std::string_view text, std::string_view app, std::string_view section,
                            std::string_view key, std::string_view value);

 private:
  struct Less {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
  };
  using Keys = std::map<std::string, std::string, Less>;
  using Sections = std::map<std::string, Keys, Less>;
  using Apps = std::map<std::string, Sections, Less>;

  // One line of the file as it was read: a record's fields, or nothing for a line the store
  // does not understand, which is written back exactly as it came.
  struct Line {
    std::string text;  // without its line end
    std::string end;   // "\n", "\r\n", or nothing on a last line without one
    std::optional<std::vector<std::string>> fields;
  };

  static std::vector<Line> parse(std::string_view text);
  static std::string text(const std::vector<Line>& lines);
  static void set(std::vector<Line>& lines, std::string_view app, std::string_view section,
                  std::string_view key, std::string_view value);
  // False, and nothing changed, when there was nothing to delete.
  static bool erase(std::vector<Line>& lines, std::string_view app, std::string_view section,
                    std::optional<std::string_view> key);

  // Reads the file into lines_; what failed and the errno when it could not be read.
  std::optional<std::pair<std::string, int>> read();
  void write() const;
  void index();
  [[noreturn]] void fail(const std::string& what, int err) const;

  std::filesystem::path file_;
  std::vector<Line> lines_;
  Apps apps_;              // what lines_ says
  bool updating_ = false;  // inside update(): the lock is held and the file was read
  bool changed_ = false;
  mutable std::vector<std::string> failures_;
};

}  // namespace rescalo::runtime
