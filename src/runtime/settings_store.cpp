#include <rescalo/runtime/settings_store.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <unistd.h>

#include <rescalo/host/error.h>
#include <rescalo/host/name.h>

namespace rescalo::runtime {

namespace fs = std::filesystem;

bool FileSettingsStore::Less::operator()(std::string_view a, std::string_view b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return host::foldCase(x) < host::foldCase(y);
  });
}

fs::path FileSettingsStore::defaultPath() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  fs::path base;
  if (xdg && *xdg) {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    base = fs::path(home && *home ? home : ".") / ".config";
  }
  return base / "rescalo" / "settings";
}

FileSettingsStore::FileSettingsStore(fs::path file) : file_(std::move(file)) { load(); }

namespace {

// One record a line: app, section, key and value separated by tabs; tabs, newlines and
// backslashes inside them are escaped.
std::string escape(std::string_view s) {
  std::string out;
  for (char c : s) {
    if (c == '\\')
      out += "\\\\";
    else if (c == '\t')
      out += "\\t";
    else if (c == '\n')
      out += "\\n";
    else if (c == '\r')
      out += "\\r";
    else
      out += c;
  }
  return out;
}

std::string unescape(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) {
      char n = s[++i];
      out += n == 't' ? '\t' : n == 'n' ? '\n' : n == 'r' ? '\r' : n;
    } else {
      out += s[i];
    }
  }
  return out;
}

}  // namespace

void FileSettingsStore::load() {
  std::ifstream in(file_, std::ios::binary);
  if (!in) return;
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= line.size(); ++i)
      if (i == line.size() || line[i] == '\t') {
        parts.push_back(unescape(std::string_view(line).substr(start, i - start)));
        start = i + 1;
      }
    if (parts.size() == 4) apps_[parts[0]][parts[1]][parts[2]] = parts[3];
  }
}

void FileSettingsStore::save() const {
  std::string text;
  for (const auto& [app, sections] : apps_)
    for (const auto& [section, keys] : sections)
      for (const auto& [key, value] : keys)
        text +=
            escape(app) + '\t' + escape(section) + '\t' + escape(key) + '\t' + escape(value) + '\n';
  std::error_code ec;
  fs::create_directories(file_.parent_path(), ec);
  // Write a temporary file beside the real one, flush it to disk, then rename it over the
  // original: a reader sees the old file or the new one, never a half-written one.
  fs::path tmp = file_;
  tmp += ".tmp" + std::to_string(::getpid());
  int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (fd < 0) host::raise(75, "Path/File access error: " + tmp.string());
  std::size_t done = 0;
  while (done < text.size()) {
    ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n <= 0) {
      ::close(fd);
      fs::remove(tmp, ec);
      host::raise(75, "Path/File access error: " + tmp.string());
    }
    done += static_cast<std::size_t>(n);
  }
  ::fsync(fd);
  ::close(fd);
  fs::rename(tmp, file_, ec);
  if (ec) {
    fs::remove(tmp, ec);
    host::raise(75, "Path/File access error: " + file_.string());
  }
}

void FileSettingsStore::SaveSetting(std::string_view app, std::string_view section,
                                    std::string_view key, std::string_view setting) {
  if (app.empty() || section.empty() || key.empty()) host::raise(host::kInvalidProcedureCall);
  Apps before = apps_;
  apps_[std::string(app)][std::string(section)][std::string(key)] = std::string(setting);
  try {
    save();
  } catch (...) {
    apps_ = std::move(before);  // the store stays as the file says
    throw;
  }
}

std::string FileSettingsStore::GetSetting(std::string_view app, std::string_view section,
                                          std::string_view key, std::string_view defaultValue) {
  auto a = apps_.find(app);
  if (a != apps_.end()) {
    auto s = a->second.find(section);
    if (s != a->second.end()) {
      auto k = s->second.find(key);
      if (k != s->second.end()) return k->second;
    }
  }
  return std::string(defaultValue);
}

void FileSettingsStore::DeleteSetting(std::string_view app, std::string_view section,
                                      std::optional<std::string_view> key) {
  auto a = apps_.find(app);
  if (a == apps_.end()) host::raise(host::kInvalidProcedureCall);
  auto s = a->second.find(section);
  if (s == a->second.end()) host::raise(host::kInvalidProcedureCall);
  Apps before = apps_;
  if (key) {
    auto k = s->second.find(*key);
    if (k == s->second.end()) host::raise(host::kInvalidProcedureCall);
    s->second.erase(k);
    if (s->second.empty()) a->second.erase(s);
  } else {
    a->second.erase(s);
  }
  if (a->second.empty()) apps_.erase(a);
  try {
    save();
  } catch (...) {
    apps_ = std::move(before);
    throw;
  }
}

std::vector<std::string> FileSettingsStore::sections(std::string_view app) const {
  std::vector<std::string> out;
  if (auto a = apps_.find(app); a != apps_.end())
    for (const auto& [name, keys] : a->second) out.push_back(name);
  return out;
}

std::vector<std::pair<std::string, std::string>> FileSettingsStore::keys(
    std::string_view app, std::string_view section) const {
  std::vector<std::pair<std::string, std::string>> out;
  if (auto a = apps_.find(app); a != apps_.end())
    if (auto s = a->second.find(section); s != a->second.end())
      for (const auto& kv : s->second) out.push_back(kv);
  return out;
}

}  // namespace rescalo::runtime
