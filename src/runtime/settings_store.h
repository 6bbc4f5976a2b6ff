#pragma once
// The per-user settings store: application -> section -> key -> text, names compared without
// regard to case, kept in one file that is rewritten atomically on every change. Names are
// data inside that file, never parts of a path.

#include <filesystem>
#include <map>
#include <string>
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

  // What an application has stored, for showing it: its sections, and one section's keys
  // with their values, in name order.
  std::vector<std::string> sections(std::string_view app) const;
  std::vector<std::pair<std::string, std::string>> keys(std::string_view app,
                                                        std::string_view section) const;

 private:
  struct Less {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
  };
  using Keys = std::map<std::string, std::string, Less>;
  using Sections = std::map<std::string, Keys, Less>;
  using Apps = std::map<std::string, Sections, Less>;

  void load();
  void save() const;

  std::filesystem::path file_;
  Apps apps_;
};

}  // namespace rescalo::runtime
