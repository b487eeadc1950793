// The StatusNotifierItem service against a private session bus and a
// watcher written here: registration, the properties a tray host reads, the
// methods it calls reaching the owner as tray input, and a watcher that
// comes late and goes away.
#include <gtest/gtest.h>

#ifdef QZ_HAVE_DBUS
#include <dbus/dbus.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include "host/platform/sni/SniTray.h"

namespace qz::testing {
namespace {

using namespace std::chrono_literals;
constexpr const char* kWatcher = "org.kde.StatusNotifierWatcher";

// A dbus-daemon of the test's own, as dbus-run-session starts one.
class PrivateBus {
 public:
  static std::unique_ptr<PrivateBus> Start() {
    int fds[2];
    if (pipe(fds) != 0) return nullptr;
    const pid_t pid = fork();
    if (pid == 0) {
      dup2(fds[1], 3);
      execlp("dbus-daemon", "dbus-daemon", "--session", "--nofork", "--print-address=3", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    std::string address;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n') address += c;
    close(fds[0]);
    if (address.empty()) {
      kill(pid, SIGTERM);
      waitpid(pid, nullptr, 0);
      return nullptr;
    }
    return std::unique_ptr<PrivateBus>(new PrivateBus(pid, address));
  }
  ~PrivateBus() {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  const std::string& Address() const { return address_; }

 private:
  PrivateBus(pid_t pid, std::string address) : pid_(pid), address_(std::move(address)) {}
  pid_t pid_;
  std::string address_;
};

DBusConnection* Connect(const std::string& address) {
  DBusConnection* c = dbus_connection_open_private(address.c_str(), nullptr);
  if (!c) return nullptr;
  dbus_connection_set_exit_on_disconnect(c, FALSE);
  if (!dbus_bus_register(c, nullptr)) {
    dbus_connection_close(c);
    dbus_connection_unref(c);
    return nullptr;
  }
  return c;
}

std::string Signature(DBusMessageIter* it) {
  char* s = dbus_message_iter_get_signature(it);
  std::string out = s ? s : "";
  dbus_free(s);
  return out;
}

void Close(DBusConnection* c) {
  dbus_connection_close(c);
  dbus_connection_unref(c);
}

// The watcher: owns its name, records registrations, has a tray host.
class Watcher {
 public:
  explicit Watcher(const std::string& address) {
    std::promise<void> ready;
    auto started = ready.get_future();
    thread_ = std::thread([this, address, &ready] {
      conn_ = Connect(address);
      dbus_bus_request_name(conn_, kWatcher, DBUS_NAME_FLAG_DO_NOT_QUEUE, nullptr);
      dbus_connection_add_filter(conn_, &Watcher::Filter, this, nullptr);
      ready.set_value();
      while (!stop_) dbus_connection_read_write_dispatch(conn_, 10);
      Close(conn_);
    });
    started.wait();
  }
  ~Watcher() {
    stop_ = true;
    thread_.join();
  }
  std::vector<std::string> Registered() {
    std::lock_guard lock(mutex_);
    return registered_;
  }

 private:
  static DBusHandlerResult Filter(DBusConnection* c, DBusMessage* m, void* self) {
    auto* w = static_cast<Watcher*>(self);
    if (dbus_message_is_method_call(m, kWatcher, "RegisterStatusNotifierItem")) {
      const char* service = nullptr;
      dbus_message_get_args(m, nullptr, DBUS_TYPE_STRING, &service, DBUS_TYPE_INVALID);
      {
        std::lock_guard lock(w->mutex_);
        w->registered_.push_back(service ? service : "");
      }
      DBusMessage* reply = dbus_message_new_method_return(m);
      dbus_connection_send(c, reply, nullptr);
      dbus_message_unref(reply);
      return DBUS_HANDLER_RESULT_HANDLED;
    }
    if (dbus_message_is_method_call(m, "org.freedesktop.DBus.Properties", "Get")) {
      DBusMessage* reply = dbus_message_new_method_return(m);
      DBusMessageIter it, v;
      dbus_message_iter_init_append(reply, &it);
      dbus_message_iter_open_container(&it, DBUS_TYPE_VARIANT, "b", &v);
      const dbus_bool_t yes = TRUE;
      dbus_message_iter_append_basic(&v, DBUS_TYPE_BOOLEAN, &yes);
      dbus_message_iter_close_container(&it, &v);
      dbus_connection_send(c, reply, nullptr);
      dbus_message_unref(reply);
      return DBUS_HANDLER_RESULT_HANDLED;
    }
    return DBUS_HANDLER_RESULT_NOT_YET_HANDLED;
  }

  std::thread thread_;
  std::atomic<bool> stop_{false};
  DBusConnection* conn_ = nullptr;
  std::mutex mutex_;
  std::vector<std::string> registered_;
};

class SniTray : public ::testing::Test {
 protected:
  void SetUp() override {
    bus_ = PrivateBus::Start();
    if (!bus_) GTEST_SKIP() << "no dbus-daemon to start a private bus";
  }
  void TearDown() override {
    watcher_.reset();
    service_.reset();
    bus_.reset();
  }

  void StartService() {
    service_ = sni::TService::Connect([this](uint32_t id, const TTrayInput& in) { posted_.emplace_back(id, in); },
                                      "qzdemo", bus_->Address());
    ASSERT_NE(service_, nullptr);
  }
  // Dispatches the service while `call` runs on a connection of its own.
  template <class F>
  auto WhileServing(F call) {
    auto done = std::async(std::launch::async, call);
    while (done.wait_for(1ms) != std::future_status::ready) service_->Dispatch();
    service_->Dispatch();
    return done.get();
  }
  template <class P>
  bool ServeUntil(P done) {
    for (auto end = std::chrono::steady_clock::now() + 3s; std::chrono::steady_clock::now() < end;) {
      service_->Dispatch();
      if (done()) return true;
      std::this_thread::sleep_for(2ms);
    }
    return false;
  }

  // A call to the item from another client: the reply, or null.
  DBusMessage* CallItem(const std::string& iface, const std::string& member,
                        std::function<void(DBusMessage*)> args) {
    DBusConnection* c = Connect(bus_->Address());
    DBusMessage* m = dbus_message_new_method_call(service_->BusName(1).c_str(), "/StatusNotifierItem", iface.c_str(),
                                                  member.c_str());
    args(m);
    DBusMessage* reply = dbus_connection_send_with_reply_and_block(c, m, 2000, nullptr);
    dbus_message_unref(m);
    Close(c);
    return reply;
  }
  DBusMessage* GetProperty(const char* name) {
    return CallItem("org.freedesktop.DBus.Properties", "Get", [name](DBusMessage* m) {
      const char* iface = "org.kde.StatusNotifierItem";
      dbus_message_append_args(m, DBUS_TYPE_STRING, &iface, DBUS_TYPE_STRING, &name, DBUS_TYPE_INVALID);
    });
  }
  static std::string VariantString(DBusMessage* reply) {
    DBusMessageIter it, v;
    if (!reply || !dbus_message_iter_init(reply, &it)) return "<no reply>";
    dbus_message_iter_recurse(&it, &v);
    const char* s = nullptr;
    if (dbus_message_iter_get_arg_type(&v) != DBUS_TYPE_STRING) {
      dbus_message_unref(reply);
      return "<not a string>";
    }
    dbus_message_iter_get_basic(&v, &s);
    std::string out = s;  // the string lives in the reply
    dbus_message_unref(reply);
    return out;
  }

  std::unique_ptr<PrivateBus> bus_;
  std::unique_ptr<Watcher> watcher_;
  std::unique_ptr<sni::TService> service_;
  std::vector<std::pair<uint32_t, TTrayInput>> posted_;
};

TEST_F(SniTray, RegistersWithTheWatcherAndServesWhatATrayHostReads) {
  watcher_ = std::make_unique<Watcher>(bus_->Address());
  StartService();
  EXPECT_TRUE(service_->WatcherPresent());
  service_->AddItem(1);
  TPixmap icon(2, 1);
  icon.At(0, 0) = 0x80FF0000;
  icon.At(1, 0) = 0xFF0000FF;
  service_->SetIcon(1, icon);
  service_->SetToolTip(1, "Converter");
  service_->SetVisible(1, true);  // the watcher answers from its own thread
  EXPECT_TRUE(service_->Embedded(1));
  EXPECT_EQ(watcher_->Registered(), (std::vector<std::string>{service_->BusName(1)}));

  struct Case {
    const char* property;
    std::string value;
  };
  for (const Case& c : {Case{"Id", "qzdemo"}, Case{"Title", "qzdemo"}, Case{"Status", "Active"},
                        Case{"Category", "ApplicationStatus"}})
    EXPECT_EQ(WhileServing([&] { return VariantString(GetProperty(c.property)); }), c.value) << c.property;

  // IconPixmap: width, height and the pixels as A, R, G, B bytes.
  EXPECT_EQ(sni::IconPixmapBytes(icon), std::string("\x80\xFF\x00\x00\xFF\x00\x00\xFF", 8));
  DBusMessage* pixmap = WhileServing([&] { return GetProperty("IconPixmap"); });
  ASSERT_NE(pixmap, nullptr);
  DBusMessageIter it, v, array, entry, bytes;
  dbus_message_iter_init(pixmap, &it);
  dbus_message_iter_recurse(&it, &v);
  EXPECT_EQ(Signature(&v), "a(iiay)");
  dbus_message_iter_recurse(&v, &array);
  dbus_message_iter_recurse(&array, &entry);
  dbus_int32_t w = 0, h = 0;
  dbus_message_iter_get_basic(&entry, &w);
  dbus_message_iter_next(&entry);
  dbus_message_iter_get_basic(&entry, &h);
  dbus_message_iter_next(&entry);
  dbus_message_iter_recurse(&entry, &bytes);
  const unsigned char* data = nullptr;
  int n = 0;
  dbus_message_iter_get_fixed_array(&bytes, &data, &n);
  EXPECT_EQ(w, 2);
  EXPECT_EQ(h, 1);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(data), n), sni::IconPixmapBytes(icon));
  dbus_message_unref(pixmap);

  // ToolTip: (icon name, pixmaps, title, description), the text as its title.
  DBusMessage* tip = WhileServing([&] { return GetProperty("ToolTip"); });
  ASSERT_NE(tip, nullptr);
  dbus_message_iter_init(tip, &it);
  dbus_message_iter_recurse(&it, &v);
  EXPECT_EQ(Signature(&v), "(sa(iiay)ss)");
  dbus_message_iter_recurse(&v, &entry);
  for (int i = 0; i < 2; ++i) dbus_message_iter_next(&entry);
  const char* title = nullptr;
  dbus_message_iter_get_basic(&entry, &title);
  EXPECT_STREQ(title, "Converter");
  dbus_message_unref(tip);

  // Hidden, the item gives its name up.
  service_->SetVisible(1, false);
  EXPECT_FALSE(service_->Embedded(1));
  EXPECT_EQ(service_->BusName(1), "");
}

TEST_F(SniTray, MethodsOfTheTrayHostArriveAsTrayInput) {
  watcher_ = std::make_unique<Watcher>(bus_->Address());
  StartService();
  service_->AddItem(1);
  service_->SetVisible(1, true);  // the watcher answers from its own thread
  using K = TTrayInput::Kind;
  struct Case {
    const char* method;
    int a, b;
    K kind;
  };
  for (const Case& c : {Case{"Activate", 10, 20, K::Activate}, Case{"ContextMenu", 30, 40, K::ContextMenu},
                        Case{"SecondaryActivate", 5, 6, K::SecondaryActivate}}) {
    SCOPED_TRACE(c.method);
    posted_.clear();
    DBusMessage* reply = WhileServing([&] {
      return CallItem("org.kde.StatusNotifierItem", c.method, [&](DBusMessage* m) {
        dbus_message_append_args(m, DBUS_TYPE_INT32, &c.a, DBUS_TYPE_INT32, &c.b, DBUS_TYPE_INVALID);
      });
    });
    ASSERT_NE(reply, nullptr);
    EXPECT_EQ(dbus_message_get_type(reply), DBUS_MESSAGE_TYPE_METHOD_RETURN);
    dbus_message_unref(reply);
    ASSERT_EQ(posted_.size(), 1u);
    EXPECT_EQ(posted_[0].first, 1u);
    EXPECT_EQ(posted_[0].second.kind, c.kind);
    EXPECT_EQ(posted_[0].second.screenPos, (TPoint{c.a, c.b}));
  }
  // Wrong arguments are an error (no method return), not input.
  posted_.clear();
  DBusMessage* bad = WhileServing([&] { return CallItem("org.kde.StatusNotifierItem", "Activate", [](DBusMessage*) {}); });
  EXPECT_EQ(bad, nullptr);
  EXPECT_TRUE(posted_.empty());
}

TEST_F(SniTray, AWatcherThatComesLateGetsTheIconAndOneThatGoesTakesIt) {
  StartService();
  service_->AddItem(1);
  service_->SetVisible(1, true);
  EXPECT_FALSE(service_->WatcherPresent());
  EXPECT_FALSE(service_->Embedded(1));
  auto hostChanged = [&] {
    for (const auto& [id, in] : posted_)
      if (in.kind == TTrayInput::Kind::HostChanged) return true;
    return false;
  };
  watcher_ = std::make_unique<Watcher>(bus_->Address());
  ASSERT_TRUE(ServeUntil([&] { return service_->Embedded(1); }));
  EXPECT_TRUE(hostChanged());
  EXPECT_EQ(watcher_->Registered(), (std::vector<std::string>{service_->BusName(1)}));
  posted_.clear();
  watcher_.reset();
  ASSERT_TRUE(ServeUntil([&] { return !service_->Embedded(1); }));
  EXPECT_TRUE(hostChanged());
  EXPECT_FALSE(service_->WatcherPresent());
}

}  // namespace
}  // namespace qz::testing

#endif  // QZ_HAVE_DBUS
