#include "host/platform/sni/SniTray.h"

#include <dbus/dbus.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

namespace qz::sni {

namespace {

constexpr const char* kWatcher = "org.kde.StatusNotifierWatcher";
constexpr const char* kWatcherPath = "/StatusNotifierWatcher";
constexpr const char* kItemInterface = "org.kde.StatusNotifierItem";
constexpr const char* kItemPath = "/StatusNotifierItem";
constexpr const char* kProperties = "org.freedesktop.DBus.Properties";
constexpr const char* kIntrospectable = "org.freedesktop.DBus.Introspectable";
constexpr int kCallTimeoutMs = 1000;

constexpr const char* kIntrospection =
    "<!DOCTYPE node PUBLIC \"-//freedesktop//DTD D-BUS Object Introspection 1.0//EN\" "
    "\"http://www.freedesktop.org/standards/dbus/1.0/introspect.dtd\">\n"
    "<node><interface name=\"org.kde.StatusNotifierItem\">"
    "<property name=\"Category\" type=\"s\" access=\"read\"/>"
    "<property name=\"Id\" type=\"s\" access=\"read\"/>"
    "<property name=\"Title\" type=\"s\" access=\"read\"/>"
    "<property name=\"Status\" type=\"s\" access=\"read\"/>"
    "<property name=\"WindowId\" type=\"i\" access=\"read\"/>"
    "<property name=\"IconName\" type=\"s\" access=\"read\"/>"
    "<property name=\"IconPixmap\" type=\"a(iiay)\" access=\"read\"/>"
    "<property name=\"ToolTip\" type=\"(sa(iiay)ss)\" access=\"read\"/>"
    "<property name=\"ItemIsMenu\" type=\"b\" access=\"read\"/>"
    "<property name=\"Menu\" type=\"o\" access=\"read\"/>"
    "<method name=\"Activate\"><arg name=\"x\" type=\"i\" direction=\"in\"/>"
    "<arg name=\"y\" type=\"i\" direction=\"in\"/></method>"
    "<method name=\"SecondaryActivate\"><arg name=\"x\" type=\"i\" direction=\"in\"/>"
    "<arg name=\"y\" type=\"i\" direction=\"in\"/></method>"
    "<method name=\"ContextMenu\"><arg name=\"x\" type=\"i\" direction=\"in\"/>"
    "<arg name=\"y\" type=\"i\" direction=\"in\"/></method>"
    "<method name=\"Scroll\"><arg name=\"delta\" type=\"i\" direction=\"in\"/>"
    "<arg name=\"orientation\" type=\"s\" direction=\"in\"/></method>"
    "<signal name=\"NewTitle\"/><signal name=\"NewIcon\"/><signal name=\"NewToolTip\"/>"
    "<signal name=\"NewStatus\"><arg name=\"status\" type=\"s\"/></signal>"
    "</interface><interface name=\"org.freedesktop.DBus.Properties\"/>"
    "<interface name=\"org.freedesktop.DBus.Introspectable\"/></node>\n";

const char* const kPropertyNames[] = {"Category",   "Id",        "Title",    "Status", "WindowId",
                                      "IconName",   "IconPixmap", "ToolTip", "ItemIsMenu", "Menu"};

struct TMessageUnref {
  void operator()(DBusMessage* m) const { dbus_message_unref(m); }
};
using TMessagePtr = std::unique_ptr<DBusMessage, TMessageUnref>;

// A DBusError freed on every path.
struct TError {
  DBusError e;
  TError() { dbus_error_init(&e); }
  ~TError() { dbus_error_free(&e); }
  bool Set() const { return dbus_error_is_set(&e); }
};

struct TItem {
  TPixmap icon;
  std::string toolTip, title;
  bool visible = false;
  std::string busName;  // owned while visible
  bool registered = false;
};

// The session bus: $DBUS_SESSION_BUS_ADDRESS, else the socket at
// $XDG_RUNTIME_DIR/bus; never libdbus's autolaunch, which would start a
// bus of its own.
std::string SessionAddress() {
  if (const char* a = std::getenv("DBUS_SESSION_BUS_ADDRESS"); a && *a) return a;
  if (const char* dir = std::getenv("XDG_RUNTIME_DIR"); dir && *dir) {
    const std::string path = std::string(dir) + "/bus";
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode)) return "unix:path=" + path;
  }
  return {};
}

void AppendString(DBusMessageIter* it, const std::string& s) {
  const char* p = s.c_str();
  dbus_message_iter_append_basic(it, DBUS_TYPE_STRING, &p);
}

// a(iiay): one picture, or none.
void AppendPixmaps(DBusMessageIter* it, const TPixmap& icon) {
  DBusMessageIter array, entry, bytes;
  dbus_message_iter_open_container(it, DBUS_TYPE_ARRAY, "(iiay)", &array);
  if (!icon.Empty()) {
    dbus_message_iter_open_container(&array, DBUS_TYPE_STRUCT, nullptr, &entry);
    const dbus_int32_t w = icon.Width(), h = icon.Height();
    dbus_message_iter_append_basic(&entry, DBUS_TYPE_INT32, &w);
    dbus_message_iter_append_basic(&entry, DBUS_TYPE_INT32, &h);
    const std::string data = IconPixmapBytes(icon);
    const char* p = data.data();
    dbus_message_iter_open_container(&entry, DBUS_TYPE_ARRAY, "y", &bytes);
    dbus_message_iter_append_fixed_array(&bytes, DBUS_TYPE_BYTE, &p, static_cast<int>(data.size()));
    dbus_message_iter_close_container(&entry, &bytes);
    dbus_message_iter_close_container(&array, &entry);
  }
  dbus_message_iter_close_container(it, &array);
}

}  // namespace

std::string IconPixmapBytes(const TPixmap& icon) {
  std::string out;
  out.reserve(static_cast<size_t>(icon.Width()) * icon.Height() * 4);
  for (int y = 0; y < icon.Height(); ++y)
    for (int x = 0; x < icon.Width(); ++x) {
      const uint32_t p = icon.At(x, y);
      for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((p >> shift) & 0xFF));
    }
  return out;
}

struct TService::TImpl {
  DBusConnection* conn = nullptr;
  TPost post;
  std::string appId;
  bool watcher = false;
  bool hostRegistered = true;
  std::map<uint32_t, TItem> items;

  ~TImpl() {
    if (!conn) return;
    dbus_connection_remove_filter(conn, &TImpl::Filter, this);
    dbus_connection_close(conn);
    dbus_connection_unref(conn);
  }

  bool IsEmbedded(const TItem& item) const { return item.visible && item.registered && watcher && hostRegistered; }

  // Runs `change` and tells every item whose Embedded() it changed.
  template <class F>
  void Changing(F change) {
    std::map<uint32_t, bool> before;
    for (const auto& [id, item] : items) before[id] = IsEmbedded(item);
    change();
    for (const auto& [id, item] : items)
      if (before[id] != IsEmbedded(item)) {
        TTrayInput in;
        in.kind = TTrayInput::Kind::HostChanged;
        post(id, in);
      }
  }

  TMessagePtr Call(const char* dest, const char* path, const char* iface, const char* member,
                   const std::vector<std::string>& args) {
    TMessagePtr m(dbus_message_new_method_call(dest, path, iface, member));
    if (!m) return nullptr;
    DBusMessageIter it;
    dbus_message_iter_init_append(m.get(), &it);
    for (const std::string& a : args) AppendString(&it, a);
    TError err;
    DBusMessage* reply = dbus_connection_send_with_reply_and_block(conn, m.get(), kCallTimeoutMs, &err.e);
    return TMessagePtr(reply);
  }

  void QueryHost() {
    hostRegistered = true;
    TMessagePtr reply = Call(kWatcher, kWatcherPath, kProperties, "Get", {kWatcher, "IsStatusNotifierHostRegistered"});
    DBusMessageIter it, v;
    if (!reply || !dbus_message_iter_init(reply.get(), &it) || dbus_message_iter_get_arg_type(&it) != DBUS_TYPE_VARIANT)
      return;
    dbus_message_iter_recurse(&it, &v);
    if (dbus_message_iter_get_arg_type(&v) != DBUS_TYPE_BOOLEAN) return;
    dbus_bool_t b = TRUE;
    dbus_message_iter_get_basic(&v, &b);
    hostRegistered = b != 0;
  }

  void Register(TItem& item) {
    item.registered = false;
    if (!watcher || item.busName.empty()) return;
    TMessagePtr reply = Call(kWatcher, kWatcherPath, kWatcher, "RegisterStatusNotifierItem", {item.busName});
    item.registered = reply && dbus_message_get_type(reply.get()) == DBUS_MESSAGE_TYPE_METHOD_RETURN;
  }

  void Show(uint32_t id, TItem& item) {
    if (item.busName.empty()) {
      const std::string name = "org.kde.StatusNotifierItem-" + std::to_string(::getpid()) + "-" + std::to_string(id);
      TError err;
      const int r = dbus_bus_request_name(conn, name.c_str(), DBUS_NAME_FLAG_DO_NOT_QUEUE, &err.e);
      if (r != DBUS_REQUEST_NAME_REPLY_PRIMARY_OWNER && r != DBUS_REQUEST_NAME_REPLY_ALREADY_OWNER) return;
      item.busName = name;
    }
    Register(item);
  }

  void Hide(TItem& item) {
    item.registered = false;
    if (item.busName.empty()) return;
    TError err;
    dbus_bus_release_name(conn, item.busName.c_str(), &err.e);
    item.busName.clear();
  }

  void Signal(const char* member, const char* status = nullptr) {
    TMessagePtr m(dbus_message_new_signal(kItemPath, kItemInterface, member));
    if (!m) return;
    if (status) {
      DBusMessageIter it;
      dbus_message_iter_init_append(m.get(), &it);
      AppendString(&it, status);
    }
    dbus_connection_send(conn, m.get(), nullptr);
    dbus_connection_flush(conn);
  }

  // The item a call is for: by the bus name it was sent to, else the first shown.
  TItem* Target(DBusMessage* m, uint32_t& id) {
    const char* dest = dbus_message_get_destination(m);
    TItem* first = nullptr;
    for (auto& [key, item] : items) {
      if (dest && item.busName == dest) {
        id = key;
        return &item;
      }
      if (!first && item.visible) {
        first = &item;
        id = key;
      }
    }
    return first;
  }

  bool AppendProperty(DBusMessageIter* it, const TItem& item, const std::string& name) {
    DBusMessageIter v;
    auto str = [&](const std::string& s) {
      dbus_message_iter_open_container(it, DBUS_TYPE_VARIANT, "s", &v);
      AppendString(&v, s);
      dbus_message_iter_close_container(it, &v);
    };
    if (name == "Category") str("ApplicationStatus");
    else if (name == "Id") str(appId);
    else if (name == "Title") str(item.title.empty() ? appId : item.title);
    else if (name == "Status") str("Active");
    else if (name == "IconName") str("");
    else if (name == "WindowId") {
      const dbus_int32_t zero = 0;
      dbus_message_iter_open_container(it, DBUS_TYPE_VARIANT, "i", &v);
      dbus_message_iter_append_basic(&v, DBUS_TYPE_INT32, &zero);
      dbus_message_iter_close_container(it, &v);
    } else if (name == "IconPixmap") {
      dbus_message_iter_open_container(it, DBUS_TYPE_VARIANT, "a(iiay)", &v);
      AppendPixmaps(&v, item.icon);
      dbus_message_iter_close_container(it, &v);
    } else if (name == "ToolTip") {
      DBusMessageIter s;
      dbus_message_iter_open_container(it, DBUS_TYPE_VARIANT, "(sa(iiay)ss)", &v);
      dbus_message_iter_open_container(&v, DBUS_TYPE_STRUCT, nullptr, &s);
      AppendString(&s, "");
      AppendPixmaps(&s, TPixmap());
      AppendString(&s, item.toolTip);
      AppendString(&s, "");
      dbus_message_iter_close_container(&v, &s);
      dbus_message_iter_close_container(it, &v);
    } else if (name == "ItemIsMenu") {
      const dbus_bool_t no = FALSE;
      dbus_message_iter_open_container(it, DBUS_TYPE_VARIANT, "b", &v);
      dbus_message_iter_append_basic(&v, DBUS_TYPE_BOOLEAN, &no);
      dbus_message_iter_close_container(it, &v);
    } else if (name == "Menu") {
      const char* path = "/NO_DBUSMENU";
      dbus_message_iter_open_container(it, DBUS_TYPE_VARIANT, "o", &v);
      dbus_message_iter_append_basic(&v, DBUS_TYPE_OBJECT_PATH, &path);
      dbus_message_iter_close_container(it, &v);
    } else {
      return false;
    }
    return true;
  }

  void Reply(DBusMessage* call, TMessagePtr reply) {
    if (!reply) return;
    dbus_connection_send(conn, reply.get(), nullptr);
    dbus_connection_flush(conn);
    (void)call;
  }

  void Fail(DBusMessage* call, const char* name, const char* text) {
    Reply(call, TMessagePtr(dbus_message_new_error(call, name, text)));
  }

  void HandleProperties(DBusMessage* m, const TItem& item) {
    const char* iface = nullptr;
    const char* prop = nullptr;
    if (dbus_message_is_method_call(m, kProperties, "Get") &&
        dbus_message_get_args(m, nullptr, DBUS_TYPE_STRING, &iface, DBUS_TYPE_STRING, &prop, DBUS_TYPE_INVALID)) {
      TMessagePtr reply(dbus_message_new_method_return(m));
      DBusMessageIter it;
      dbus_message_iter_init_append(reply.get(), &it);
      if (std::strcmp(iface, kItemInterface) != 0 || !AppendProperty(&it, item, prop))
        return Fail(m, DBUS_ERROR_UNKNOWN_PROPERTY, "no such property");
      return Reply(m, std::move(reply));
    }
    if (dbus_message_is_method_call(m, kProperties, "GetAll") &&
        dbus_message_get_args(m, nullptr, DBUS_TYPE_STRING, &iface, DBUS_TYPE_INVALID)) {
      TMessagePtr reply(dbus_message_new_method_return(m));
      DBusMessageIter it, dict, entry;
      dbus_message_iter_init_append(reply.get(), &it);
      dbus_message_iter_open_container(&it, DBUS_TYPE_ARRAY, "{sv}", &dict);
      if (std::strcmp(iface, kItemInterface) == 0)
        for (const char* name : kPropertyNames) {
          dbus_message_iter_open_container(&dict, DBUS_TYPE_DICT_ENTRY, nullptr, &entry);
          AppendString(&entry, name);
          AppendProperty(&entry, item, name);
          dbus_message_iter_close_container(&dict, &entry);
        }
      dbus_message_iter_close_container(&it, &dict);
      return Reply(m, std::move(reply));
    }
    Fail(m, DBUS_ERROR_PROPERTY_READ_ONLY, "the item's properties are read only");
  }

  // Activate, SecondaryActivate, ContextMenu, Scroll: the answer first, the
  // input goes to the owner's queue.
  bool HandleItemMethod(DBusMessage* m, uint32_t id) {
    using K = TTrayInput::Kind;
    TTrayInput in;
    dbus_int32_t a = 0, b = 0;
    const char* orientation = nullptr;
    if (dbus_message_is_method_call(m, kItemInterface, "Scroll")) {
      if (!dbus_message_get_args(m, nullptr, DBUS_TYPE_INT32, &a, DBUS_TYPE_STRING, &orientation, DBUS_TYPE_INVALID))
        return false;
      in.kind = K::Scroll;
      in.delta = a;
      in.horizontal = std::strcmp(orientation, "horizontal") == 0 || std::strcmp(orientation, "Horizontal") == 0;
    } else {
      static const std::pair<const char*, K> kMethods[] = {
          {"Activate", K::Activate}, {"SecondaryActivate", K::SecondaryActivate}, {"ContextMenu", K::ContextMenu}};
      bool found = false;
      for (const auto& [name, kind] : kMethods)
        if (dbus_message_is_method_call(m, kItemInterface, name)) {
          found = true;
          in.kind = kind;
        }
      if (!found || !dbus_message_get_args(m, nullptr, DBUS_TYPE_INT32, &a, DBUS_TYPE_INT32, &b, DBUS_TYPE_INVALID))
        return false;
      in.screenPos = {a, b};
      in.button = in.kind == K::ContextMenu ? 1 : in.kind == K::SecondaryActivate ? 2 : 0;
    }
    Reply(m, TMessagePtr(dbus_message_new_method_return(m)));
    post(id, in);
    return true;
  }

  DBusHandlerResult Handle(DBusMessage* m) {
    if (dbus_message_is_signal(m, DBUS_INTERFACE_DBUS, "NameOwnerChanged")) {
      const char *name = nullptr, *from = nullptr, *to = nullptr;
      if (dbus_message_get_args(m, nullptr, DBUS_TYPE_STRING, &name, DBUS_TYPE_STRING, &from, DBUS_TYPE_STRING, &to,
                                DBUS_TYPE_INVALID) &&
          std::strcmp(name, kWatcher) == 0)
        WatcherChanged(*to != '\0');
      return DBUS_HANDLER_RESULT_NOT_YET_HANDLED;
    }
    if (dbus_message_is_signal(m, kWatcher, "StatusNotifierHostRegistered") ||
        dbus_message_is_signal(m, kWatcher, "StatusNotifierHostUnregistered")) {
      const bool on = dbus_message_is_signal(m, kWatcher, "StatusNotifierHostRegistered");
      Changing([&] {
        if (on) hostRegistered = true;
        else QueryHost();
      });
      return DBUS_HANDLER_RESULT_HANDLED;
    }
    if (dbus_message_get_type(m) != DBUS_MESSAGE_TYPE_METHOD_CALL) return DBUS_HANDLER_RESULT_NOT_YET_HANDLED;
    const char* path = dbus_message_get_path(m);
    if (!path || std::strcmp(path, kItemPath) != 0) return DBUS_HANDLER_RESULT_NOT_YET_HANDLED;
    uint32_t id = 0;
    TItem* item = Target(m, id);
    if (!item) {
      Fail(m, DBUS_ERROR_UNKNOWN_OBJECT, "no item is shown");
      return DBUS_HANDLER_RESULT_HANDLED;
    }
    if (dbus_message_is_method_call(m, kIntrospectable, "Introspect")) {
      TMessagePtr reply(dbus_message_new_method_return(m));
      dbus_message_append_args(reply.get(), DBUS_TYPE_STRING, &kIntrospection, DBUS_TYPE_INVALID);
      Reply(m, std::move(reply));
    } else if (dbus_message_has_interface(m, kProperties)) {
      HandleProperties(m, *item);
    } else if (!HandleItemMethod(m, id)) {
      Fail(m, DBUS_ERROR_UNKNOWN_METHOD, "no such method or wrong arguments");
    }
    return DBUS_HANDLER_RESULT_HANDLED;
  }

  void WatcherChanged(bool present) {
    Changing([&] {
      watcher = present;
      if (present) QueryHost();
      for (auto& [id, item] : items)
        if (present && item.visible) Register(item);
        else item.registered = false;
    });
  }

  static DBusHandlerResult Filter(DBusConnection*, DBusMessage* m, void* self) {
    return static_cast<TImpl*>(self)->Handle(m);
  }
};

std::unique_ptr<TService> TService::Connect(TPost post, const std::string& appId, const std::string& address) {
  const std::string where = address.empty() ? SessionAddress() : address;
  if (where.empty()) return nullptr;
  auto impl = std::make_unique<TImpl>();
  TError err;
  impl->conn = dbus_connection_open_private(where.c_str(), &err.e);
  if (!impl->conn) return nullptr;
  // A bus that goes away must not end the program.
  dbus_connection_set_exit_on_disconnect(impl->conn, FALSE);
  if (!dbus_bus_register(impl->conn, &err.e)) return nullptr;
  impl->post = std::move(post);
  impl->appId = appId.empty() ? std::string(program_invocation_short_name) : appId;
  dbus_connection_add_filter(impl->conn, &TImpl::Filter, impl.get(), nullptr);
  const std::string owner = std::string("type='signal',sender='") + DBUS_SERVICE_DBUS + "',interface='" +
                            DBUS_INTERFACE_DBUS + "',member='NameOwnerChanged',arg0='" + kWatcher + "'";
  dbus_bus_add_match(impl->conn, owner.c_str(), &err.e);
  const std::string hosts = std::string("type='signal',interface='") + kWatcher + "'";
  dbus_bus_add_match(impl->conn, hosts.c_str(), nullptr);
  impl->watcher = dbus_bus_name_has_owner(impl->conn, kWatcher, nullptr);
  if (impl->watcher) impl->QueryHost();
  return std::unique_ptr<TService>(new TService(std::move(impl)));
}

TService::TService(std::unique_ptr<TImpl> impl) : impl_(std::move(impl)) {}
TService::~TService() {
  for (auto& [id, item] : impl_->items) impl_->Hide(item);
}

int TService::Fd() const {
  int fd = -1;
  return dbus_connection_get_unix_fd(impl_->conn, &fd) ? fd : -1;
}

void TService::Dispatch() {
  dbus_connection_read_write(impl_->conn, 0);
  while (dbus_connection_dispatch(impl_->conn) == DBUS_DISPATCH_DATA_REMAINS) {
  }
}

bool TService::WatcherPresent() const { return impl_->watcher; }

void TService::AddItem(uint32_t id) { impl_->items[id]; }

void TService::RemoveItem(uint32_t id) {
  auto it = impl_->items.find(id);
  if (it == impl_->items.end()) return;
  impl_->Hide(it->second);
  impl_->items.erase(it);
}

void TService::SetIcon(uint32_t id, const TPixmap& icon) {
  auto it = impl_->items.find(id);
  if (it == impl_->items.end()) return;
  it->second.icon = icon;
  if (it->second.registered) impl_->Signal("NewIcon");
}

void TService::SetToolTip(uint32_t id, const std::string& text) {
  auto it = impl_->items.find(id);
  if (it == impl_->items.end() || it->second.toolTip == text) return;
  it->second.toolTip = text;
  if (it->second.registered) impl_->Signal("NewToolTip");
}

void TService::SetTitle(uint32_t id, const std::string& title) {
  auto it = impl_->items.find(id);
  if (it == impl_->items.end() || it->second.title == title) return;
  it->second.title = title;
  if (it->second.registered) impl_->Signal("NewTitle");
}

void TService::SetVisible(uint32_t id, bool visible) {
  auto it = impl_->items.find(id);
  if (it == impl_->items.end() || it->second.visible == visible) return;
  it->second.visible = visible;
  if (visible) {
    impl_->Show(id, it->second);
    if (it->second.registered) impl_->Signal("NewStatus", "Active");
  } else {
    impl_->Hide(it->second);
  }
}

bool TService::Embedded(uint32_t id) const {
  auto it = impl_->items.find(id);
  return it != impl_->items.end() && impl_->IsEmbedded(it->second);
}

std::string TService::BusName(uint32_t id) const {
  auto it = impl_->items.find(id);
  return it == impl_->items.end() ? std::string() : it->second.busName;
}

}  // namespace qz::sni
