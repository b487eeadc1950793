// The properties verb over D-Bus, against a private bus and a small file
// manager service the test runs, and the file operations of the dialogs.
#include <dbus/dbus.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "host/shell/FileManager.h"
#include "host/shell/FileOperations.h"

namespace qz {
namespace {

namespace fs = std::filesystem;

std::string MakeTempFolder() {
  std::string pattern = (fs::temp_directory_path() / "qzfm-XXXXXX").string();
  return ::mkdtemp(pattern.data());
}

// A bus of the test's own: dbus-daemon with a configuration that lets
// anybody own any name, listening in a temporary folder.
class TPrivateBus {
 public:
  TPrivateBus() : dir_(MakeTempFolder()) {
    const std::string config = dir_ + "/bus.conf";
    std::ofstream(config) << "<busconfig><type>session</type><listen>unix:path=" << dir_
                          << "/bus</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                             "<allow send_destination=\"*\"/><allow receive_sender=\"*\"/><allow own=\"*\"/>"
                             "</policy></busconfig>";
    int fds[2];
    if (pipe(fds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(fds[0]);
      // Its complaints (no right to raise the file limit) are no test output.
      if (const int null = open("/dev/null", O_WRONLY); null >= 0) dup2(null, 2);
      const std::string printAddress = "--print-address=" + std::to_string(fds[1]);
      const std::string configArg = "--config-file=" + config;
      execlp("dbus-daemon", "dbus-daemon", configArg.c_str(), "--nofork", "--nopidfile", printAddress.c_str(),
             static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    char c;
    while (pid_ > 0 && address_.size() < 4096 && read(fds[0], &c, 1) == 1 && c != '\n') address_ += c;
    close(fds[0]);
  }
  ~TPrivateBus() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  const std::string& Address() const { return address_; }

 private:
  std::string dir_;
  pid_t pid_ = -1;
  std::string address_;
};

// Owns org.freedesktop.FileManager1 and answers ShowItemProperties, with an
// error when given one.
class TFileManagerService {
 public:
  TFileManagerService(const std::string& address, std::string errorName = {}) : errorName_(std::move(errorName)) {
    DBusError error;
    dbus_error_init(&error);
    connection_ = dbus_connection_open_private(address.c_str(), &error);
    if (connection_ && dbus_bus_register(connection_, &error))
      owned_ = dbus_bus_request_name(connection_, "org.freedesktop.FileManager1", DBUS_NAME_FLAG_DO_NOT_QUEUE,
                                     &error) == DBUS_REQUEST_NAME_REPLY_PRIMARY_OWNER;
    dbus_error_free(&error);
    if (owned_) thread_ = std::thread([this] { Serve(); });
  }
  ~TFileManagerService() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (connection_) {
      dbus_connection_close(connection_);
      dbus_connection_unref(connection_);
    }
  }
  bool Owned() const { return owned_; }
  std::vector<std::string> Uris() {
    std::lock_guard lock(mutex_);
    return uris_;
  }
  std::string StartupId() {
    std::lock_guard lock(mutex_);
    return startupId_;
  }

 private:
  void Serve() {
    while (!stop_) {
      dbus_connection_read_write(connection_, 20);
      while (DBusMessage* m = dbus_connection_pop_message(connection_)) {
        if (dbus_message_is_method_call(m, "org.freedesktop.FileManager1", "ShowItemProperties")) Answer(m);
        dbus_message_unref(m);
      }
    }
  }
  void Answer(DBusMessage* call) {
    DBusMessageIter args, items;
    dbus_message_iter_init(call, &args);
    {
      std::lock_guard lock(mutex_);
      dbus_message_iter_recurse(&args, &items);
      while (dbus_message_iter_get_arg_type(&items) == DBUS_TYPE_STRING) {
        const char* s;
        dbus_message_iter_get_basic(&items, &s);
        uris_.push_back(s);
        dbus_message_iter_next(&items);
      }
      dbus_message_iter_next(&args);
      const char* id;
      dbus_message_iter_get_basic(&args, &id);
      startupId_ = id;
    }
    DBusMessage* reply = errorName_.empty() ? dbus_message_new_method_return(call)
                                            : dbus_message_new_error(call, errorName_.c_str(), "not today");
    dbus_connection_send(connection_, reply, nullptr);
    dbus_connection_flush(connection_);
    dbus_message_unref(reply);
  }

  DBusConnection* connection_ = nullptr;
  bool owned_ = false;
  std::string errorName_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  std::mutex mutex_;
  std::vector<std::string> uris_;
  std::string startupId_;
};

class FileManagerVerb : public ::testing::Test {
 protected:
  void SetUp() override {
    if (bus_.Address().empty()) GTEST_SKIP() << "dbus-daemon does not start here";
  }
  TBusOptions Options() const { return {bus_.Address(), 5000}; }
  TPrivateBus bus_;
};

TEST_F(FileManagerVerb, ShowItemPropertiesSendsFileUris) {
  TFileManagerService service(bus_.Address());
  ASSERT_TRUE(service.Owned());
  ShowItemProperties({"/tmp/a b", "/home/\xff\xfe/x#?%", "/"}, "startup_1", Options());
  EXPECT_EQ(service.Uris(), (std::vector<std::string>{"file:///tmp/a%20b", "file:///home/%FF%FE/x%23%3F%25", "file:///"}));
  EXPECT_EQ(service.StartupId(), "startup_1");
  // The bus takes only UTF-8: a startup id that is none is left out, not sent.
  ShowItemProperties({"/tmp"}, "bad\xff", Options());
  EXPECT_EQ(service.StartupId(), "");
}

TEST_F(FileManagerVerb, FailuresSayWhy) {
  struct TCase {
    const char* name;
    std::string errorName;  // the service's answer; empty: no service
    TBusOptions options;
    std::vector<std::string> paths;
    std::string says;
  };
  const std::vector<TCase> cases = {
      {"no file manager", {}, Options(), {"/tmp"}, "no file manager answers"},
      {"refused", "org.example.Error.Refused", Options(), {"/tmp"}, "not today"},
      {"no bus", {}, {"unix:path=/nonexistent/qz-bus", 1000}, {"/tmp"}, "cannot connect to the session bus"},
      {"relative path", {}, Options(), {"tmp/x"}, "not an absolute path"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<TFileManagerService> service;
    if (!c.errorName.empty()) service = std::make_unique<TFileManagerService>(bus_.Address(), c.errorName);
    try {
      ShowItemProperties(c.paths, "", c.options);
      ADD_FAILURE() << "no error";
    } catch (const EShellError& e) {
      EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
    }
  }
  // Nothing to show asks nobody.
  EXPECT_NO_THROW(ShowItemProperties({}, "", {"unix:path=/nonexistent/qz-bus", 1000}));
}

// ---------------------------------------------------------- file operations

class FileOperations : public ::testing::Test {
 protected:
  void TearDown() override { fs::remove_all(dir_); }
  std::string At(const std::string& name) const { return dir_ + "/" + name; }
  static std::string Contents(const std::string& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::string dir_ = MakeTempFolder();
};

int ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const EShellError& e) {
    EXPECT_NE(std::string(e.what()).find(strerror(e.ErrorCode())), std::string::npos) << e.what();
    return e.ErrorCode();
  }
  return 0;
}

TEST_F(FileOperations, CreateFolder) {
  EXPECT_EQ(CreateFolder(dir_, "new"), At("new"));
  EXPECT_TRUE(fs::is_directory(At("new")));
  EXPECT_EQ(CreateFolder(dir_, "\xff name"), At("\xff name")) << "names are bytes";
  const std::vector<std::pair<std::string, int>> errors = {
      {"new", EEXIST},
      {"", EINVAL},
      {".", EINVAL},
      {"..", EINVAL},
      {"a/b", EINVAL},
      {std::string("a\0b", 3), EINVAL},
      {std::string(256, 'n'), ENAMETOOLONG},
  };
  for (const auto& c : errors) EXPECT_EQ(ErrorOf([&] { CreateFolder(dir_, c.first); }), c.second) << c.first;
  EXPECT_EQ(ErrorOf([&] { CreateFolder(At("missing"), "x"); }), ENOENT);
  EXPECT_EQ(CreateFolder(dir_, std::string(255, 'n')), At(std::string(255, 'n')));

  EXPECT_EQ(CreateNewFolder(dir_), At("New Folder"));
  EXPECT_EQ(CreateNewFolder(dir_), At("New Folder (2)"));
  EXPECT_EQ(CreateNewFolder(dir_), At("New Folder (3)"));
}

TEST_F(FileOperations, RenameNeverReplaces) {
  std::ofstream(At("a")) << "A";
  std::ofstream(At("b")) << "B";
  fs::create_directory(At("dir"));
  EXPECT_EQ(RenameItem(At("a"), "c"), At("c"));
  EXPECT_EQ(Contents(At("c")), "A");
  EXPECT_EQ(RenameItem(At("c"), "c"), At("c")) << "its own name: nothing to do";
  const std::vector<std::tuple<std::string, std::string, int>> errors = {
      {"c", "b", EEXIST},
      {"c", "dir", EEXIST},
      {"dir", "b", EEXIST},
      {"missing", "x", ENOENT},
      {"c", "x/y", EINVAL},
      {"c", "..", EINVAL},
  };
  for (const auto& c : errors) {
    const auto& [from, to, error] = c;
    EXPECT_EQ(ErrorOf([&] { RenameItem(At(std::get<0>(c)), std::get<1>(c)); }), error) << from << " -> " << to;
  }
  EXPECT_EQ(Contents(At("b")), "B");
  EXPECT_EQ(Contents(At("c")), "A");

  // The way taken where the file system has no atomic no-replace rename.
  const std::vector<std::tuple<std::string, std::string, int>> fallback = {
      {"c", "b", EEXIST}, {"c", "dir", EEXIST}, {"dir", "b", EEXIST}, {"c", "d", 0}, {"dir", "dir2", 0},
  };
  for (const auto& [from, to, error] : fallback)
    EXPECT_EQ(detail::RenameNoReplaceFallback(At(from).c_str(), At(to).c_str()), error) << from << " -> " << to;
  EXPECT_EQ(Contents(At("b")), "B");
  EXPECT_EQ(Contents(At("d")), "A");
  EXPECT_FALSE(fs::exists(At("c")));
  EXPECT_TRUE(fs::is_directory(At("dir2")));
}

}  // namespace
}  // namespace qz
