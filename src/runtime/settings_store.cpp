#include <rescalo/runtime/settings_store.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <random>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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

FileSettingsStore::FileSettingsStore(fs::path file) : file_(std::move(file)) {
  if (auto failed = read())
    failures_.push_back(file_.string() + ": " + failed->first + ": " +
                        std::strerror(failed->second));
  index();
}

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

std::string recordText(std::string_view app, std::string_view section, std::string_view key,
                       std::string_view value) {
  return escape(app) + '\t' + escape(section) + '\t' + escape(key) + '\t' + escape(value);
}

bool inSection(const std::vector<std::string>& f, std::string_view app, std::string_view section) {
  return host::equalsNoCase(f[0], app) && host::equalsNoCase(f[1], section);
}

// An unpredictable name, so that nobody can lay a file or a link in the temporary's place.
std::string randomSuffix() {
  std::random_device rd;
  std::uint64_t n = (std::uint64_t{rd()} << 32) ^ rd();
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  for (int i = 0; i < 16; ++i, n >>= 4) out += kHex[n & 15];
  return out;
}

// Closes a descriptor on every way out.
struct Fd {
  int fd = -1;
  explicit Fd(int f) : fd(f) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
};

}  // namespace

std::vector<FileSettingsStore::Line> FileSettingsStore::parse(std::string_view text) {
  std::vector<Line> lines;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t nl = text.find('\n', pos);
    const std::size_t stop = nl == std::string_view::npos ? text.size() : nl;
    std::string_view body = text.substr(pos, stop - pos);
    Line line;
    line.end = nl == std::string_view::npos ? "" : "\n";
    // A file edited elsewhere may end its lines with CRLF: the same records, the same ends.
    if (!body.empty() && body.back() == '\r') {
      body.remove_suffix(1);
      line.end.insert(0, "\r");
    }
    line.text = std::string(body);
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= body.size(); ++i)
      if (i == body.size() || body[i] == '\t') {
        fields.push_back(unescape(body.substr(start, i - start)));
        start = i + 1;
      }
    if (fields.size() == 4) line.fields = std::move(fields);
    lines.push_back(std::move(line));
    pos = nl == std::string_view::npos ? text.size() : nl + 1;
  }
  return lines;
}

std::string FileSettingsStore::text(const std::vector<Line>& lines) {
  std::string out;
  for (const Line& l : lines) out += l.text + l.end;
  return out;
}

void FileSettingsStore::set(std::vector<Line>& lines, std::string_view app,
                            std::string_view section, std::string_view key,
                            std::string_view value) {
  bool found = false;
  std::optional<std::size_t> lastOfSection;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    auto& f = lines[i].fields;
    if (!f || !inSection(*f, app, section)) continue;
    lastOfSection = i;
    if (!host::equalsNoCase((*f)[2], key)) continue;
    // The names keep the spelling they were stored with.
    (*f)[3] = std::string(value);
    lines[i].text = recordText((*f)[0], (*f)[1], (*f)[2], value);
    found = true;
  }
  if (found) return;
  // A new line ends as the file's lines do; a new key joins its section, a new section goes
  // at the end.
  auto ended =
      std::find_if(lines.begin(), lines.end(), [](const Line& l) { return l.end.ends_with('\n'); });
  const std::string newline = ended == lines.end() ? "\n" : ended->end;
  const std::size_t at = lastOfSection ? *lastOfSection + 1 : lines.size();
  // The line before it, the file's last without a line feed, gets one.
  if (at > 0 && !lines[at - 1].end.ends_with('\n'))
    lines[at - 1].end = lines[at - 1].end.empty() ? newline : "\r\n";
  Line line{recordText(app, section, key, value), newline,
            std::vector<std::string>{std::string(app), std::string(section), std::string(key),
                                     std::string(value)}};
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
}

bool FileSettingsStore::erase(std::vector<Line>& lines, std::string_view app,
                              std::string_view section, std::optional<std::string_view> key) {
  auto gone = [&](const Line& l) {
    return l.fields && inSection(*l.fields, app, section) &&
           (!key || host::equalsNoCase((*l.fields)[2], *key));
  };
  auto first = std::remove_if(lines.begin(), lines.end(), gone);
  if (first == lines.end()) return false;
  lines.erase(first, lines.end());
  return true;
}

std::vector<std::vector<std::string>> FileSettingsStore::records(std::string_view text) {
  std::vector<std::vector<std::string>> out;
  for (Line& l : parse(text))
    if (l.fields) out.push_back(std::move(*l.fields));
  return out;
}

std::string FileSettingsStore::edited(std::string_view text, std::string_view app,
                                      std::string_view section, std::string_view key,
                                      std::string_view value) {
  std::vector<Line> lines = parse(text);
  set(lines, app, section, key, value);
  return FileSettingsStore::text(lines);
}

void FileSettingsStore::index() {
  apps_.clear();
  for (const Line& l : lines_)
    if (l.fields) {
      const auto& f = *l.fields;
      apps_[f[0]][f[1]][f[2]] = f[3];
    }
}

std::optional<std::pair<std::string, int>> FileSettingsStore::read() {
  const std::string what = "cannot read it";
  Fd in(::open(file_.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.fd < 0) {
    if (errno != ENOENT) return std::pair{what, errno};
    lines_.clear();  // nothing was ever stored
    return std::nullopt;
  }
  struct stat st {};
  if (::fstat(in.fd, &st) != 0) return std::pair{what, errno};
  if (!S_ISREG(st.st_mode)) return std::pair{what, S_ISDIR(st.st_mode) ? EISDIR : EINVAL};
  std::string content;
  char buf[8192];
  for (;;) {
    const ssize_t n = ::read(in.fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::pair{what, errno};
    if (n == 0) break;
    content.append(buf, static_cast<std::size_t>(n));
  }
  lines_ = parse(content);
  return std::nullopt;
}

void FileSettingsStore::fail(const std::string& what, int err) const {
  std::string message = file_.string() + ": " + what;
  if (err) message += std::string(": ") + std::strerror(err);
  failures_.push_back(message);
  host::raise(75, "Path/File access error: " + message);
}

void FileSettingsStore::write() const {
  const std::string content = text(lines_);
  // Write a temporary file beside the real one, flush it to disk, rename it over the original
  // and flush the folder: a reader sees the old file or the new one, never a half-written one,
  // and after a crash the new one is there.
  fs::path tmp;
  int fd = -1;
  for (int attempt = 0; attempt < 8 && fd < 0; ++attempt) {
    tmp = file_;
    tmp += ".tmp-" + randomSuffix();
    fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) fail("cannot create a temporary file beside it", errno);
  auto abandon = [&](const char* what) {
    const int err = errno;
    if (fd >= 0) ::close(fd);
    ::unlink(tmp.c_str());
    fail(what, err);
  };
  for (std::size_t done = 0; done < content.size();) {
    const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) abandon("cannot write it");
    done += static_cast<std::size_t>(n);
  }
  if (::fsync(fd) != 0) abandon("cannot flush it to disk");
  const int closed = ::close(fd);
  fd = -1;
  if (closed != 0) abandon("cannot write it");
  if (::rename(tmp.c_str(), file_.c_str()) != 0) abandon("cannot replace it");
  const fs::path folder = file_.has_parent_path() ? file_.parent_path() : fs::path(".");
  Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  // Some file systems cannot flush a folder (EINVAL); the rename stands there all the same.
  if (dir.fd < 0 || (::fsync(dir.fd) != 0 && errno != EINVAL))
    fail("cannot flush its folder to disk", errno);
}

void FileSettingsStore::update(const std::function<void()>& writes) {
  if (updating_) {
    writes();
    return;
  }
  std::error_code ec;
  if (file_.has_parent_path()) fs::create_directories(file_.parent_path(), ec);
  if (ec) fail("cannot create its folder", ec.value());
  fs::path lockPath = file_;
  lockPath += ".lock";
  Fd lock(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (lock.fd < 0) fail("cannot open its lock file " + lockPath.filename().string(), errno);
  while (::flock(lock.fd, LOCK_EX) != 0)
    if (errno != EINTR) fail("cannot lock it", errno);
  // Under the lock, the file as another program may just have left it; one that cannot be
  // read is not written over.
  const auto failed = read();
  index();
  if (failed) fail(failed->first, failed->second);
  const std::vector<Line> before = lines_;
  updating_ = true;
  changed_ = false;
  std::exception_ptr failure;
  try {
    writes();
  } catch (...) {
    failure = std::current_exception();
  }
  updating_ = false;
  if (changed_) {
    try {
      write();
    } catch (...) {
      lines_ = before;  // the store stays as the file says
      index();
      throw;
    }
  }
  if (failure) std::rethrow_exception(failure);
}

void FileSettingsStore::SaveSetting(std::string_view app, std::string_view section,
                                    std::string_view key, std::string_view setting) {
  if (app.empty() || section.empty() || key.empty()) host::raise(host::kInvalidProcedureCall);
  update([&] {
    set(lines_, app, section, key, setting);
    changed_ = true;
    index();
  });
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
  // Without a file there is nothing to delete, and nothing to create or lock for it.
  std::error_code ec;
  if (!fs::exists(file_, ec)) host::raise(host::kInvalidProcedureCall);
  update([&] {
    if (!erase(lines_, app, section, key)) host::raise(host::kInvalidProcedureCall);
    changed_ = true;
    index();
  });
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
