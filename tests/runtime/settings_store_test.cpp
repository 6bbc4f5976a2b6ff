// The settings store file as users and their machines treat it: shared by two programs at once,
// edited by hand, broken by the machine.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>

#include <rescalo/runtime/settings_store.h>
#include "host_support.h"
#include "test_support.h"

using namespace rescalo;

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

class StoreFile : public TempDirTest {
 protected:
  fs::path file = dir / "settings";

  std::string contents(const fs::path& of = {}) const {
    std::ifstream in(of.empty() ? file : of, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  void write(const std::string& text) const { std::ofstream(file, std::ios::binary) << text; }
};

// A program that remembers the windows of its forms, as the control does at unload.
void saveWindows(const fs::path& file, const std::string& prefix, int forms) {
  runtime::FileSettingsStore store(file);
  for (int i = 0; i < forms; ++i) {
    const std::string section = prefix + std::to_string(i);
    store.update([&] {
      for (const char* key : {"WindowLeft", "WindowTop", "WindowWidth", "WindowHeight"})
        store.SaveSetting("Rescalo", section, key, std::to_string(i * 15));
      store.SaveSetting("Rescalo", section, "WindowState", "0");
    });
  }
}

TEST_F(StoreFile, TwoProgramsSavingTheirWindowsAtOnceKeepEachOthersSections) {
  constexpr int kForms = 60;
  pid_t children[2];
  const char* prefixes[] = {"First", "Second"};
  for (int c = 0; c < 2; ++c) {
    children[c] = ::fork();
    ASSERT_GE(children[c], 0);
    if (children[c] == 0) {
      int status = 0;
      try {
        saveWindows(file, prefixes[c], kForms);
      } catch (...) {
        status = 1;
      }
      ::_exit(status);
    }
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  runtime::FileSettingsStore store(file);
  EXPECT_EQ(store.sections("Rescalo").size(), 2u * kForms);
  for (const char* prefix : prefixes)
    for (int i = 0; i < kForms; ++i) {
      const std::string section = prefix + std::to_string(i);
      EXPECT_EQ(store.keys("Rescalo", section).size(), 5u) << section;
      EXPECT_EQ(store.GetSetting("Rescalo", section, "WindowWidth"), std::to_string(i * 15));
    }
}

TEST_F(StoreFile, AWriteChangesOnlyItsKeysAndKeepsEveryOtherLineByteForByte) {
  const std::string kept =
      "# edited by hand\n"
      "Rescalo\tShort\tWindowLeft\n"              // three fields
      "Rescalo\tLong\tWindowLeft\t1\textra\r\n";  // five fields, and a CRLF end
  write(kept + "Rescalo\tMain\tWindowLeft\t100\nRescalo\tMain\tWindowTop\t200\n\nlast");
  runtime::FileSettingsStore store(file);
  // Another program adds a section after this one read the file.
  write(contents() + "\nOther\tS\tK\tv\n");
  store.SaveSetting("RESCALO", "main", "windowtop", "250");
  store.SaveSetting("Rescalo", "Main", "WindowState", "2");
  store.SaveSetting("Rescalo", "New", "WindowLeft", "tab\there");
  EXPECT_EQ(contents(), kept +
                            "Rescalo\tMain\tWindowLeft\t100\nRescalo\tMain\tWindowTop\t250\n"
                            "Rescalo\tMain\tWindowState\t2\n\nlast\nOther\tS\tK\tv\n"
                            "Rescalo\tNew\tWindowLeft\ttab\\there\n");
  EXPECT_EQ(store.GetSetting("Other", "S", "K"), "v");

  store.DeleteSetting("Rescalo", "Main");
  EXPECT_EQ(contents(), kept + "\nlast\nOther\tS\tK\tv\nRescalo\tNew\tWindowLeft\ttab\\there\n");
}

TEST_F(StoreFile, ACrlfFileIsTheSameStoreAndKeepsItsLineEnds) {
  write("Rescalo\tMain\tWindowLeft\t1200\r\nRescalo\tMain\tWindowState\t2\r\n");
  runtime::FileSettingsStore store(file);
  EXPECT_EQ(store.GetSetting("Rescalo", "Main", "WindowLeft"), "1200");
  EXPECT_EQ(store.GetSetting("Rescalo", "Main", "WindowState"), "2");
  store.SaveSetting("Rescalo", "Main", "WindowTop", "300");
  EXPECT_EQ(contents(),
            "Rescalo\tMain\tWindowLeft\t1200\r\nRescalo\tMain\tWindowState\t2\r\n"
            "Rescalo\tMain\tWindowTop\t300\r\n");
}

TEST_F(StoreFile, TheWritesOfOneUpdateReachTheFileTogether) {
  runtime::FileSettingsStore store(file);
  store.SaveSetting("Rescalo", "Main", "WindowLeft", "1");
  const std::string before = contents();
  store.update([&] {
    store.SaveSetting("Rescalo", "Main", "WindowLeft", "2");
    store.SaveSetting("Rescalo", "Main", "WindowTop", "3");
    EXPECT_EQ(contents(), before);  // a reader sees all of them or none
  });
  EXPECT_EQ(runtime::FileSettingsStore(file).GetSetting("Rescalo", "Main", "WindowTop"), "3");
  // What was written before a failure inside is kept, and the failure goes on.
  EXPECT_EQ(errorOf([&] {
              store.update([&] {
                store.SaveSetting("Rescalo", "Main", "WindowLeft", "4");
                store.DeleteSetting("Rescalo", "No such section");
              });
            }),
            5);
  EXPECT_EQ(runtime::FileSettingsStore(file).GetSetting("Rescalo", "Main", "WindowLeft"), "4");
}

TEST_F(StoreFile, TheTemporaryFileIsNeverOneSomebodyLaidThere) {
  // A link where a temporary named after the process would go must not be written through.
  const fs::path victim = dir / "victim";
  write("");
  std::ofstream(victim) << "precious";
  fs::path guessed = file;
  guessed += ".tmp" + std::to_string(::getpid());
  fs::create_symlink(victim, guessed);
  runtime::FileSettingsStore store(file);
  store.SaveSetting("Rescalo", "Main", "WindowLeft", "1");
  EXPECT_EQ(contents(victim), "precious");
  EXPECT_EQ(contents(), "Rescalo\tMain\tWindowLeft\t1\n");
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(StoreFile, FailuresAreRecordedWithTheFileAndTheReason) {
  // The store is a folder: it cannot be read, nor written over.
  fs::create_directories(file);
  runtime::FileSettingsStore folder(file);
  ASSERT_EQ(folder.failures().size(), 1u);
  EXPECT_EQ(folder.failures()[0], file.string() + ": cannot read it: Is a directory");
  EXPECT_EQ(errorOf([&] { folder.SaveSetting("Rescalo", "Main", "WindowLeft", "1"); }), 75);
  EXPECT_EQ(folder.failures().size(), 2u);
  fs::remove_all(file);

  // Its folder is a file.
  write("");
  runtime::FileSettingsStore under(file / "settings");
  EXPECT_EQ(errorOf([&] { under.SaveSetting("Rescalo", "Main", "WindowLeft", "1"); }), 75);
  ASSERT_EQ(under.failures().size(), 2u);
  EXPECT_EQ(under.failures()[0],
            (file / "settings").string() + ": cannot read it: Not a directory");
  EXPECT_TRUE(under.failures()[1].starts_with((file / "settings").string() +
                                              ": cannot create its folder: "))
      << under.failures()[1];
  // Deleting from a store with no file is the classic missing section, not a failure of it.
  EXPECT_EQ(errorOf([&] { under.DeleteSetting("Rescalo", "Main"); }), 5);
  EXPECT_EQ(under.failures().size(), 2u);
  // Nothing stored yet is no failure either.
  EXPECT_TRUE(runtime::FileSettingsStore(dir / "none").failures().empty());
}

TEST_F(StoreFile, AFailedWriteKeepsTheOldFileAndTheOldValues) {
  runtime::FileSettingsStore store(file);
  store.SaveSetting("App", "S", "K", "old");
  const std::string before = contents();
  // Occupy the lock file's place so that the next write cannot be made.
  fs::path lock = file;
  lock += ".lock";
  fs::remove(lock);
  fs::create_directories(lock);
  EXPECT_EQ(errorOf([&] { store.SaveSetting("App", "S", "K", "new"); }), 75);
  EXPECT_EQ(errorOf([&] { store.DeleteSetting("App", "S"); }), 75);
  EXPECT_EQ(store.GetSetting("App", "S", "K"), "old");
  EXPECT_EQ(contents(), before);
  EXPECT_EQ(store.failures().size(), 2u);
  fs::remove_all(lock);
  store.SaveSetting("App", "S", "K", "new");
  EXPECT_EQ(runtime::FileSettingsStore(file).GetSetting("App", "S", "K"), "new");
  // Nothing but the store and its lock stays in the folder.
  std::vector<std::string> files;
  for (auto& e : fs::directory_iterator(dir)) files.push_back(e.path().filename().string());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"settings", "settings.lock"}));
}

}  // namespace
