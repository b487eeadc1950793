#include "host/shell/FileManager.h"

#include <dbus/dbus.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "host/shell/ShellItem.h"

namespace qz {

namespace {

constexpr const char* kService = "org.freedesktop.FileManager1";
constexpr const char* kObject = "/org/freedesktop/FileManager1";

struct TDBusError {
  DBusError error;
  TDBusError() { dbus_error_init(&error); }
  ~TDBusError() { dbus_error_free(&error); }
  bool IsSet() const { return dbus_error_is_set(&error); }
  bool Is(const char* name) const { return dbus_error_has_name(&error, name); }
  std::string Message() const { return error.message ? error.message : "unknown error"; }
};

struct TConnectionClose {
  void operator()(DBusConnection* c) const {
    dbus_connection_close(c);
    dbus_connection_unref(c);
  }
};
struct TMessageUnref {
  void operator()(DBusMessage* m) const { dbus_message_unref(m); }
};
using TConnection = std::unique_ptr<DBusConnection, TConnectionClose>;
using TMessage = std::unique_ptr<DBusMessage, TMessageUnref>;

std::string SessionBusAddress(const TBusOptions& options) {
  if (!options.Address.empty()) return options.Address;
  if (const char* env = std::getenv("DBUS_SESSION_BUS_ADDRESS"); env && *env) return env;
  // The user bus of systemd and similar session managers.
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
    const std::string path = std::string(runtime) + "/bus";
    struct stat st;
    if (stat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode)) return "unix:path=" + path;
  }
  throw EShellError("no session bus: DBUS_SESSION_BUS_ADDRESS is not set and there is no user bus");
}

// A private connection: closed and freed with the call, shared with nobody.
TConnection Connect(const TBusOptions& options) {
  const std::string address = SessionBusAddress(options);
  TDBusError error;
  TConnection connection(dbus_connection_open_private(address.c_str(), &error.error));
  if (!connection) throw EShellError("cannot connect to the session bus: " + error.Message());
  dbus_connection_set_exit_on_disconnect(connection.get(), FALSE);
  // The bus's Hello by hand: dbus_bus_register would wait 25 seconds for a
  // bus that does not answer.
  TMessage hello(dbus_message_new_method_call(DBUS_SERVICE_DBUS, DBUS_PATH_DBUS, DBUS_INTERFACE_DBUS, "Hello"));
  if (!hello) throw EShellError("out of memory for a D-Bus message");
  TMessage reply(
      dbus_connection_send_with_reply_and_block(connection.get(), hello.get(), options.TimeoutMs, &error.error));
  const char* name = nullptr;
  if (!reply || !dbus_message_get_args(reply.get(), &error.error, DBUS_TYPE_STRING, &name, DBUS_TYPE_INVALID) ||
      !dbus_bus_set_unique_name(connection.get(), name))
    throw EShellError("the session bus does not accept the connection: " + error.Message());
  return connection;
}

std::string CallError(const TDBusError& error) {
  if (error.Is(DBUS_ERROR_SERVICE_UNKNOWN) || error.Is(DBUS_ERROR_NAME_HAS_NO_OWNER))
    return std::string("no file manager answers on the session bus (") + kService + ")";
  if (error.Is(DBUS_ERROR_NO_REPLY) || error.Is(DBUS_ERROR_TIMEOUT) || error.Is(DBUS_ERROR_TIMED_OUT))
    return "the file manager did not answer in time";
  return "the file manager refused to show the properties: " + error.Message();
}

}  // namespace

void ShowItemProperties(const std::vector<std::string>& paths, const std::string& startupId,
                        const TBusOptions& options) {
  if (paths.empty()) return;
  std::vector<std::string> uris;
  for (const std::string& path : paths) {
    if (path.empty() || path.front() != '/' || path.find('\0') != std::string::npos)
      throw EShellError("cannot show the properties of \"" + DisplayNameFromBytes(path) + "\": not an absolute path");
    uris.push_back(FileUriFromPath(path));
  }
  // The bus takes only valid UTF-8 (and aborts the program on other text).
  const std::string startup = IsDisplayableName(startupId) ? startupId : std::string();

  TConnection connection = Connect(options);
  TMessage call(dbus_message_new_method_call(kService, kObject, kService, "ShowItemProperties"));
  if (!call) throw EShellError("out of memory for a D-Bus message");
  std::vector<const char*> items;
  for (const std::string& uri : uris) items.push_back(uri.c_str());
  const char** itemsPtr = items.data();
  const char* startupPtr = startup.c_str();
  if (!dbus_message_append_args(call.get(), DBUS_TYPE_ARRAY, DBUS_TYPE_STRING, &itemsPtr,
                                static_cast<int>(items.size()), DBUS_TYPE_STRING, &startupPtr, DBUS_TYPE_INVALID))
    throw EShellError("out of memory for a D-Bus message");
  TDBusError error;
  TMessage reply(
      dbus_connection_send_with_reply_and_block(connection.get(), call.get(), options.TimeoutMs, &error.error));
  if (!reply) throw EShellError(CallError(error));
}

}  // namespace qz
