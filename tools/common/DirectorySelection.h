// qzdialog's folder selection (--file-selection --directory): the skinned
// folder dialog with its tool bar and path edit, started at a folder; the
// chosen folder goes to standard output.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "host/platform/Platform.h"
#include "host/platform/headless/HeadlessPlatform.h"
#include "host/ui/Application.h"
#include "skin/data/SkinData.h"
#include "skin/dialogs/DirTreeView.h"
#include "skin/dialogs/SelectDirectoryDialog.h"

namespace qz::tool {

struct TDirectoryRequest {
  std::optional<std::string> Title;
  // The folder selected (and expanded) at the start; relative to the
  // working folder when not absolute.
  std::string FileName;
  int Width = 0, Height = 0;
  TqzSkinData* Skin = nullptr;
};

// The absolute form of a path given on the command line.
inline std::string AbsoluteArgumentPath(const std::string& path) {
  if (path.empty() || path.front() == '/') return path;
  std::string cwd(4096, '\0');
  if (::getcwd(cwd.data(), cwd.size()) == nullptr) return path;
  cwd.resize(std::char_traits<char>::length(cwd.c_str()));
  return cwd == "/" ? "/" + path : cwd + "/" + path;
}

// Shows the dialog; prints the chosen folder and gives 0 for OK (Enter),
// gives 1 for Cancel, Escape, a closed window or a folder that has no path
// (the computer folder). `script` answers the window on the headless
// platform.
inline int RunDirectorySelection(const TDirectoryRequest& r,
                                 const std::function<void(THeadlessPlatform&, TForm&)>& script) {
  TqzSkinSelectDirectoryDialog dialog(Application);
  dialog.SetSkinData(r.Skin);
  dialog.SetCtrlSkinData(r.Skin);
  dialog.ShowToolBar = true;
  if (r.Title) dialog.Title = *r.Title;
  dialog.Directory = AbsoluteArgumentPath(r.FileName);
  dialog.DialogWidth = r.Width;
  dialog.DialogHeight = r.Height;
  auto* headless = dynamic_cast<THeadlessPlatform*>(&Platform());
  if (headless && script) {
    dialog.OnShow = [&dialog, headless, &script](TObject*) {
      // The window exists once the modal loop turns: the script starts then.
      headless->SetIdleHandler([&dialog, headless, &script]() {
        if (TqzSelDirDlgForm* form = dialog.Form()) {
          script(*headless, *form);
          return true;
        }
        return false;
      });
    };
  }
  if (!dialog.Execute()) return 1;
  if (dialog.Directory.empty()) {
    std::fputs("qzdialog: the folder chosen has no path\n", stderr);
    return 1;
  }
  std::printf("%s\n", dialog.Directory.c_str());
  return 0;
}

}  // namespace qz::tool
