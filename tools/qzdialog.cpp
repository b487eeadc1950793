// qzdialog: skinned dialogs for shell scripts, with the options people know
// from zenity.
//
//   qzdialog --question --title="Convert" --text="Convert the file now?" && convert ...
//
// Exit status: 0 for OK or Yes, 1 for Cancel, No or a closed window, 2 for
// bad usage (a message on stderr naming the option), 255 for an unexpected
// error (with its message). Each dialog kind is a mode; a new kind (file
// selection, directory, notification) is a row of kModes and its runner.
//
// On the headless platform (QZ_PLATFORM=headless) the dialog is answered by
// the keys in QZDIALOG_HEADLESS_KEYS (comma-separated: Return, Escape, Tab,
// Left, Right, a letter, or "close" for the window's close), so that scripts
// and tests can drive it; without them it is closed. QZDIALOG_HEADLESS_SCREEN
// names a PNG file that gets the screen as the dialog shows before the keys.
// A notification there is clicked after a second of virtual time, unless
// QZDIALOG_HEADLESS_TRAY=absent takes the headless tray away first. The
// file selection also takes "Ctrl+KEY", "Alt+KEY", "type:TEXT" and
// "focus-list" (the focus into the file list).
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/base/Resources.h"
#include "host/base/Stream.h"
#include "host/platform/Platform.h"
#include "host/platform/headless/HeadlessPlatform.h"
#include "host/ui/Application.h"
#include "skin/controls/SkinButton.h"
#include "skin/data/SkinData.h"
#include "skin/dialogs/MessageForm.h"
#include "skin/dialogs/OpenDlgForm.h"
#include "skin/dialogs/ShellListView.h"
#include "skin/dialogs/SkinOpenDialog.h"
#include "skin/dialogs/SkinMessage.h"
#include "skin/form/TrayIcon.h"
#include "tools/common/DirectorySelection.h"
#include "tools/common/ToolMain.h"

using namespace qz;

namespace {

constexpr int kExitAccepted = 0;
constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;
constexpr int kExitError = 255;
constexpr const char* kVersion = "qzdialog 1.0";
// The demo's dialog skin, when the build puts it into the program.
constexpr const char* kBuiltInSkinResource = "QZ_DIALOG_SKIN";

constexpr const char* kUsage =
    "Usage: qzdialog MODE [OPTION...]\n"
    "Modes:\n"
    "  --info                a message with an OK button\n"
    "  --warning             a warning with an OK button\n"
    "  --error               an error with an OK button\n"
    "  --question            a question with Yes and No buttons\n"
    "  --file-selection      choose a file to open; prints its path\n"
    "  --file-selection --directory\n"
    "                        choose a folder, printed on standard output\n"
    "  --notification        an icon in the tray with the text as its tooltip;\n"
    "                        ends when the icon is clicked (1 without a tray)\n"
    "Options:\n"
    "  --title=TEXT          the window's caption\n"
    "  --text=TEXT           the message\n"
    "  --ok-label=TEXT       the caption of OK (or Yes)\n"
    "  --cancel-label=TEXT   the caption of No\n"
    "  --no-wrap             keep every line of the message unwrapped\n"
    "  --width=PIXELS        the window's width at least\n"
    "  --height=PIXELS       the window's height at least\n"
    "  --skin=FILE.skn       dress the dialog with this skin\n"
    "File selection:\n"
    "  --filename=PATH       start in this folder, or propose this file\n"
    "                        (--directory: the folder selected at the start)\n"
    "  --file-filter='NAME | PATTERN...'  a file type (repeatable, in order)\n"
    "  --multiple            several files can be chosen\n"
    "  --separator=TEXT      what joins several paths (default \"|\")\n"
    "  --help, --version\n"
    "Options with a value also take it as the next argument (--title TEXT).\n"
    "Exit status: 0 OK or Yes, 1 Cancel, No or closed, 2 bad usage, 255 error.\n";

// Wrong usage, naming the option at fault.
[[noreturn]] void Usage(const std::string& message) { throw tool::TUsageError{message}; }

enum class TMode { None, Info, Warning, Error, Question, Notification, FileSelection };

struct TModeRow {
  const char* Option;
  TMode Mode;
};
const TModeRow kModes[] = {
    {"--info", TMode::Info},
    {"--warning", TMode::Warning},
    {"--error", TMode::Error},
    {"--question", TMode::Question},
    {"--notification", TMode::Notification},
    {"--file-selection", TMode::FileSelection},
};

struct TRequest {
  TMode Mode = TMode::None;
  std::optional<std::string> Title;
  std::string Text;
  std::optional<std::string> OkLabel, CancelLabel;
  bool NoWrap = false;
  int Width = 0, Height = 0;
  std::string SkinFile;
  bool Version = false;
  // --file-selection
  std::optional<std::string> FileName;
  std::vector<std::string> FileFilters;
  bool Multiple = false;
  std::string Separator = "|";
  bool Directory = false;  // --file-selection --directory
};

int ParsePixels(const std::string& option, const std::string& value) {
  char* end = nullptr;
  const long v = std::strtol(value.c_str(), &end, 10);
  if (value.empty() || *end != '\0' || v < 1 || v > 100000)
    Usage("option " + option + ": '" + value + "' is not a size in pixels");
  return int(v);
}

// Reads the arguments; EUsage names the option at fault.
TRequest ParseArguments(const std::vector<std::string>& args) {
  TRequest r;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const size_t eq = arg.find('=');
    const std::string name = arg.substr(0, eq);
    // The value after "=", else the next argument.
    auto value = [&]() -> std::string {
      if (eq != std::string::npos) return arg.substr(eq + 1);
      if (i + 1 >= args.size()) Usage("option " + name + " needs a value");
      return args[++i];
    };
    auto flag = [&] {
      if (eq != std::string::npos) Usage("option " + name + " takes no value");
    };
    bool isMode = false;
    for (const TModeRow& m : kModes)
      if (name == m.Option) {
        flag();
        if (r.Mode != TMode::None && r.Mode != m.Mode) Usage("option " + name + ": only one dialog at a time");
        r.Mode = m.Mode;
        isMode = true;
      }
    if (isMode) continue;
    if (name == "--title") r.Title = value();
    else if (name == "--text") r.Text = value();
    else if (name == "--ok-label") r.OkLabel = value();
    else if (name == "--cancel-label") r.CancelLabel = value();
    else if (name == "--skin") r.SkinFile = value();
    else if (name == "--width") r.Width = ParsePixels(name, value());
    else if (name == "--height") r.Height = ParsePixels(name, value());
    else if (name == "--no-wrap") flag(), r.NoWrap = true;
    else if (name == "--filename") r.FileName = value();
    else if (name == "--file-filter") r.FileFilters.push_back(value());
    else if (name == "--multiple") flag(), r.Multiple = true;
    else if (name == "--separator") r.Separator = value();
    else if (name == "--version") r.Version = true;
    else if (name == "--directory") flag(), r.Directory = true;
    else Usage("unknown option " + name);
  }
  if (!r.Version && r.Mode == TMode::None)
    Usage("no dialog given (--info, --warning, --error, --question, --notification or --file-selection)");
  return r;
}

// 0 for OK and Yes; 1 for everything else, a closed window included.
int ExitStatusFor(int modalResult) {
  return modalResult == mrOk || modalResult == mrYes ? kExitAccepted : kExitRefused;
}

// The skin that dresses the dialog: the file asked for, else the built-in
// one, else none (the plain look). A file that cannot be loaded raises.
std::unique_ptr<TqzSkinData> LoadSkin(const std::string& file) {
  auto skin = std::make_unique<TqzSkinData>(Application);
  if (!file.empty()) {
    TqzCompressedStoredSkin holder(nullptr);
    try {
      holder.LoadFromCompressedFile(file);
      skin->LoadFromStoredSkin(holder);
    } catch (const std::exception& e) {
      throw std::runtime_error("skin " + file + ": " + e.what());
    }
    // A file of another kind or of a newer version loads nothing.
    if (skin->Empty()) throw std::runtime_error("skin " + file + ": not a skin file this program can read");
    return skin;
  }
  // The built-in skin is a compressed skin file, as --skin takes.
  const auto builtIn = FindResource(kBuiltInSkinResource);
  if (builtIn.empty()) return nullptr;
  TqzCompressedStoredSkin holder(nullptr);
  TMemoryStream stream(builtIn.data(), builtIn.size());
  holder.LoadFromStream(stream);
  skin->LoadFromStoredSkin(holder);
  return skin;
}

// ------------------------------------------------------------------ headless answers

std::vector<std::string> Split(const std::string& list) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start <= list.size()) {
    const size_t end = list.find(',', start);
    out.push_back(list.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return out;
}

int KeyCode(const std::string& name) {
  if (name == "Return") return VK_RETURN;
  if (name == "Escape") return VK_ESCAPE;
  if (name == "Tab") return VK_TAB;
  if (name == "Left") return VK_LEFT;
  if (name == "Right") return VK_RIGHT;
  if (name == "Up") return VK_UP;
  if (name == "Down") return VK_DOWN;
  if (name.size() == 1 && std::isalpha(static_cast<unsigned char>(name[0])))
    return std::toupper(static_cast<unsigned char>(name[0]));
  throw std::runtime_error("QZDIALOG_HEADLESS_KEYS: unknown key '" + name + "'");
}

// Answers the dialog on the headless platform: after the fade-in, one key
// (or the close) per turn of the modal loop; then the window is closed.
void ScriptHeadlessAnswer(THeadlessPlatform& p, TForm& form) {
  const char* env = std::getenv("QZDIALOG_HEADLESS_KEYS");
  const std::vector<std::string> keys = env && *env ? Split(env) : std::vector<std::string>{};
  for (const std::string& k : keys)
    if (k != "close") KeyCode(k);  // every name is checked before the dialog opens
  const char* screen = std::getenv("QZDIALOG_HEADLESS_SCREEN");
  const std::string screenFile = screen ? screen : "";
  auto turn = std::make_shared<int>(0);
  TComponentRef<TForm> dialog(&form);
  p.SetIdleHandler([&p, keys, turn, dialog, screenFile]() {
    if (!dialog) return false;
    const int t = (*turn)++;
    p.AdvanceClock(25);
    constexpr int kSettleTurns = 40;  // a second of virtual time
    if (t < kSettleTurns) return true;
    if (t == kSettleTurns && !screenFile.empty()) p.SaveScreenPng(screenFile);
    const size_t k = size_t(t - kSettleTurns);
    if (k < keys.size()) {
      const std::string& key = keys[k];
      if (key == "close") {
        dialog->Close();
        p.InjectKeyUp(VK_SHIFT);  // an event, so that a loop waiting for input sees the close
        return true;
      }
      const int vk = KeyCode(key);
      p.InjectKey(vk);
      if (key.size() == 1) p.InjectText(std::string(1, char(std::tolower(key[0]))));
      return true;
    }
    dialog->Close();
    p.InjectKeyUp(VK_SHIFT);
    return true;
  });
}

// ------------------------------------------------------------------ the message modes

TqzMsgDlgType KindOf(TMode mode) {
  switch (mode) {
    case TMode::Warning: return qzmtWarning;
    case TMode::Error: return qzmtError;
    case TMode::Question: return qzmtConfirmation;
    default: return qzmtInformation;
  }
}

// Grows the window to the size asked for and keeps the buttons centred at
// the bottom.
void FitToSize(TqzMessageForm& form, int width, int height) {
  if (width > form.Width()) form.SetWidth(width);
  if (height > form.Height()) form.SetHeight(height);
  std::vector<TqzSkinButton*> row;
  for (int bit = 0; bit < kMsgDlgButtonCount; ++bit)
    if (TqzSkinButton* b = form.Button(TqzMsgDlgBtn(bit))) row.push_back(b);
  if (row.empty()) return;
  const int rowWidth = row.back()->Left() + row.back()->Width() - row.front()->Left();
  int x = (form.ClientWidth() - rowWidth) / 2;
  for (TqzSkinButton* b : row) {
    b->SetBounds(x, form.ClientHeight() - b->Height() - 10, b->Width(), b->Height());
    x += b->Width() + kMsgButtonSpacing;
  }
}

int RunMessage(const TRequest& r) {
  const std::unique_ptr<TqzSkinData> skin = LoadSkin(r.SkinFile);
  TqzSkinMessage message(Application);
  message.SetSkinData(skin.get());
  message.SetCtrlSkinData(skin.get());
  TqzMessageSettings settings = message.Settings();
  if (r.NoWrap) settings.WrapWidth = -1;
  else if (r.Width > 0) settings.WrapWidth = std::max(100, r.Width - kMsgLabelLeft - 60);
  const bool question = r.Mode == TMode::Question;
  const TqzMsgDlgButtons buttons = question ? TqzMsgDlgButtons{qzmbYes, qzmbNo} : TqzMsgDlgButtons{qzmbOK};
  const TqzMsgDlgType kind = KindOf(r.Mode);
  std::unique_ptr<TqzMessageForm> form =
      BuildMessageForm(r.Text, kind, buttons, kCentredPosition, kCentredPosition, settings);
  if (r.Title) form->SetCaption(*r.Title);
  if (r.OkLabel) form->Button(question ? qzmbYes : qzmbOK)->SetCaption(*r.OkLabel);
  if (r.CancelLabel && question) form->Button(qzmbNo)->SetCaption(*r.CancelLabel);
  FitToSize(*form, r.Width, r.Height);
  if (auto* headless = dynamic_cast<THeadlessPlatform*>(&Platform())) ScriptHeadlessAnswer(*headless, *form);
  const int result = form->ShowModal();
  return ExitStatusFor(result);
}

// ------------------------------------------------------------------ the notification

// On the headless platform the icon is clicked after a second.
void ScriptHeadlessTray(THeadlessPlatform& p, TqzTrayIcon& icon) {
  const char* screen = std::getenv("QZDIALOG_HEADLESS_SCREEN");
  const std::string screenFile = screen ? screen : "";
  auto turn = std::make_shared<int>(0);
  TComponentRef<TqzTrayIcon> tray(&icon);
  p.SetIdleHandler([&p, turn, tray, screenFile]() {
    if (!tray) return false;
    const int t = (*turn)++;
    p.AdvanceClock(25);
    constexpr int kSettleTurns = 40;
    if (t < kSettleTurns) return true;
    if (t == kSettleTurns && !screenFile.empty()) p.SaveScreenPng(screenFile);
    auto* shown = dynamic_cast<THeadlessTrayIcon*>(tray->PlatformIcon());
    if (t > kSettleTurns + 40 || !shown) return false;
    if (t == kSettleTurns) p.InjectTrayClick(*shown);
    return true;
  });
}

int RunNotification(const TRequest& r) {
  auto* headless = dynamic_cast<THeadlessPlatform*>(&Platform());
  if (headless) {
    const char* tray = std::getenv("QZDIALOG_HEADLESS_TRAY");
    if (tray && std::strcmp(tray, "absent") == 0) headless->SetTrayHost(false);
  }
  TComponentRef<TqzTrayIcon> icon(new TqzTrayIcon(Application));
  icon->SetHint(r.Title ? *r.Title + (r.Text.empty() ? "" : "\n" + r.Text) : r.Text);
  bool activated = false;
  icon->OnClick = icon->OnDblClick = [&activated](TObject*) { activated = true; };
  icon->SetIconVisible(true);
  if (!icon->Embedded()) {
    std::fputs("qzdialog: no tray to show the notification in (no StatusNotifierItem watcher on the session "
               "bus and no system tray on the display)\n",
               stderr);
    return kExitRefused;
  }
  if (headless) ScriptHeadlessTray(*headless, *icon);
  // Until the icon is clicked; a tray that goes away ends the wait too.
  while (!activated && icon && icon->Embedded()) Application->HandleMessage();
  return activated ? kExitAccepted : kExitRefused;
}

// ------------------------------------------------------------------ the file selection

// --file-selection --directory: the folder dialog.
int RunFolderSelection(const TRequest& r) {
  const std::unique_ptr<TqzSkinData> skin = LoadSkin(r.SkinFile);
  tool::TDirectoryRequest d;
  d.Title = r.Title;
  d.FileName = r.FileName.value_or("");
  d.Width = r.Width;
  d.Height = r.Height;
  d.Skin = skin.get();
  return tool::RunDirectorySelection(d, ScriptHeadlessAnswer);
}

std::string TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return std::string(s);
}

// A zenity file filter, "NAME | PATTERN1 PATTERN2" (or only the patterns,
// which then name it too), as a description and a mask of the dialog's
// filter text: "NAME|PATTERN1;PATTERN2".
std::string FilterEntryOfFileFilter(const std::string& option) {
  const size_t bar = option.find('|');
  const std::string patterns = TrimBlanks(bar == std::string::npos ? option : option.substr(bar + 1));
  std::string name = TrimBlanks(bar == std::string::npos ? option : option.substr(0, bar));
  std::string mask;
  size_t from = 0;
  while (from < patterns.size()) {
    const size_t end = std::min(patterns.find_first_of(" \t", from), patterns.size());
    if (end > from) mask += (mask.empty() ? "" : ";") + patterns.substr(from, end - from);
    from = end + 1;
  }
  if (mask.empty()) mask = "*";
  if (name.empty()) name = mask;
  return name + "|" + mask;
}

// One step of the file dialog's headless script: a key name as for the
// message modes, with "Ctrl+" or "Alt+" before it for those modifiers;
// "type:TEXT" types TEXT; "focus-list" puts the focus into the file list;
// "close" closes the window.
void RunHeadlessFileStep(THeadlessPlatform& p, TqzOpenDlgForm& window, const std::string& step) {
  if (step == "close") return window.Close();
  if (step == "focus-list") return window.ListView()->SetFocus();
  if (step.rfind("type:", 0) == 0) return p.InjectText(step.substr(5));
  uint32_t mods = 0;
  std::string key = step;
  for (const auto& [prefix, mod] : {std::pair<const char*, uint32_t>{"Ctrl+", kModCtrl}, {"Alt+", kModAlt}})
    if (key.rfind(prefix, 0) == 0) {
      mods |= mod;
      key = key.substr(std::strlen(prefix));
    }
  p.InjectKey(KeyCode(key), mods);
}

void CheckHeadlessFileSteps(const std::vector<std::string>& steps) {
  for (std::string k : steps) {
    if (k == "close" || k == "focus-list" || k.rfind("type:", 0) == 0) continue;
    for (const char* prefix : {"Ctrl+", "Alt+"})
      if (k.rfind(prefix, 0) == 0) k = k.substr(std::strlen(prefix));
    KeyCode(k);
  }
}

// On the headless platform: after a second the steps of
// QZDIALOG_HEADLESS_KEYS, one per turn of the modal loop; then the window
// is closed.
void ScriptHeadlessFileAnswer(THeadlessPlatform& p, TqzSkinOpenDialog& dialog) {
  const char* env = std::getenv("QZDIALOG_HEADLESS_KEYS");
  const std::vector<std::string> keys = env && *env ? Split(env) : std::vector<std::string>{};
  CheckHeadlessFileSteps(keys);
  const char* screen = std::getenv("QZDIALOG_HEADLESS_SCREEN");
  const std::string screenFile = screen ? screen : "";
  auto turn = std::make_shared<int>(0);
  TComponentRef<TqzSkinOpenDialog> owner(&dialog);
  p.SetIdleHandler([&p, keys, turn, owner, screenFile]() {
    TqzOpenDlgForm* window = owner ? owner->Window() : nullptr;
    if (window == nullptr) return false;
    const int t = (*turn)++;
    p.AdvanceClock(25);
    constexpr int kSettleTurns = 40;
    if (t < kSettleTurns) return true;
    if (t == kSettleTurns && !screenFile.empty()) p.SaveScreenPng(screenFile);
    const size_t k = size_t(t - kSettleTurns);
    if (k < keys.size()) RunHeadlessFileStep(p, *window, keys[k]);
    else window->Close();
    return true;
  });
}

int RunFileSelection(const TRequest& r) {
  if (r.Directory) return RunFolderSelection(r);
  const std::unique_ptr<TqzSkinData> skin = LoadSkin(r.SkinFile);
  TqzSkinOpenDialog dialog(Application);
  dialog.SetSkinData(skin.get());
  dialog.SetCtrlSkinData(skin.get());
  dialog.Title = r.Title ? *r.Title : "Select a file";
  dialog.MultiSelection = r.Multiple;
  std::string filter;
  for (const std::string& f : r.FileFilters) filter += (filter.empty() ? "" : "|") + FilterEntryOfFileFilter(f);
  dialog.Filter = filter.empty() ? std::string("All files|*") : filter;
  if (r.FileName && !r.FileName->empty()) {
    std::string path = *r.FileName;
    if (path.front() != '/') {
      std::string cwd(4096, '\0');
      if (::getcwd(cwd.data(), cwd.size())) path = std::string(cwd.c_str()) + "/" + path;
    }
    // A folder starts the dialog there, with or without its trailing "/".
    if (PathKindOnDisk(path) == TqzPathKind::Folder) dialog.InitialDir = path;
    else dialog.SetFileName(path);
  }
  if (r.Width > 0) dialog.DialogWidth = r.Width;
  if (r.Height > 0) dialog.DialogHeight = r.Height;
  if (auto* headless = dynamic_cast<THeadlessPlatform*>(&Platform())) ScriptHeadlessFileAnswer(*headless, dialog);
  if (!dialog.Execute()) return kExitRefused;
  std::string out;
  for (int i = 0; i < dialog.Files().Count(); ++i) out += (i ? r.Separator : "") + dialog.Files()[i];
  if (out.empty()) out = dialog.FileName();
  std::printf("%s\n", out.c_str());
  return kExitAccepted;
}

// One runner per mode; the file and folder modes add theirs here.
int RunMode(const TRequest& r) {
  switch (r.Mode) {
    case TMode::FileSelection: return RunFileSelection(r);
    case TMode::Notification: return RunNotification(r);
    case TMode::Info:
    case TMode::Warning:
    case TMode::Error:
    case TMode::Question: return RunMessage(r);
    case TMode::None: break;
  }
  return kExitUsage;
}

int Run(const std::vector<std::string>& args) {
  const TRequest request = ParseArguments(args);
  if (request.Version) {
    std::puts(kVersion);
    return 0;
  }
  Application->Initialize();
  Application->SetTitle("qzdialog");
  return RunMode(request);
}

}  // namespace

int main(int argc, char** argv) {
  return qz::tool::ToolMain(argc, argv, {"qzdialog", kUsage, false, kExitError}, Run);
}
