// The thumbnail workers of the shell list view. Each worker of a pass
// handles the job indexes start, start + n, start + 2n ... of a list the
// view made before starting it (the paths of its items: the worker never
// touches the view's item objects), asks TThumbnails for each image file
// and queues the picture to the GUI thread, where the view stores it in
// the item and repaints that row. Freeing the worker drops what it queued
// and did not deliver yet.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/base/Threads.h"
#include "host/shell/ThumbnailCache.h"

namespace qz {

class TThumbnails;
class TqzCustomShellListView;

struct TqzThumbnailJob {
  int Index = -1;     // the item's index in the view
  std::string Path;   // a regular file
};

class TqzShellThumbnailThread : public TThread {
  QZ_CLASS(TqzShellThumbnailThread, TThread)
 public:
  // Deliver: the pass that hands its pictures to the view (the first);
  // the second pass fills the cache at the larger size only.
  TqzShellThumbnailThread(TqzCustomShellListView& view, std::shared_ptr<TThumbnails> source,
                          std::shared_ptr<const std::vector<TqzThumbnailJob>> jobs, int start, int step,
                          TThumbnailSize size, int box, bool deliver);
  ~TqzShellThumbnailThread() override;

 protected:
  void Execute() override;

 private:
  TqzCustomShellListView& view_;
  const std::shared_ptr<TThumbnails> source_;
  const std::shared_ptr<const std::vector<TqzThumbnailJob>> jobs_;
  const int start_, step_;
  const TThumbnailSize size_;
  const int box_;
  const bool deliver_;
};

// The cache size a thumbnail of `box` pixels is taken from (the smallest
// that covers it) and the next larger one (the second pass; the largest
// stays the largest).
TThumbnailSize ThumbnailCacheSizeFor(int box);
TThumbnailSize LargerThumbnailCacheSize(TThumbnailSize size);

}  // namespace qz
