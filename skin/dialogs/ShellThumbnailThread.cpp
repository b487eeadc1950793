#include "skin/dialogs/ShellThumbnailThread.h"

#include "host/shell/MimeDatabase.h"
#include "host/shell/Thumbnails.h"
#include "skin/dialogs/ShellListView.h"

namespace qz {

TThumbnailSize ThumbnailCacheSizeFor(int box) {
  for (TThumbnailSize s : {TThumbnailSize::Normal, TThumbnailSize::Large, TThumbnailSize::XLarge})
    if (box <= ThumbnailPixels(s)) return s;
  return TThumbnailSize::XXLarge;
}

TThumbnailSize LargerThumbnailCacheSize(TThumbnailSize size) {
  switch (size) {
    case TThumbnailSize::Normal: return TThumbnailSize::Large;
    case TThumbnailSize::Large: return TThumbnailSize::XLarge;
    default: return TThumbnailSize::XXLarge;
  }
}

TqzShellThumbnailThread::TqzShellThumbnailThread(TqzCustomShellListView& view, std::shared_ptr<TThumbnails> source,
                                                 std::shared_ptr<const std::vector<TqzThumbnailJob>> jobs,
                                                 int start, int step, TThumbnailSize size, int box, bool deliver)
    : view_(view),
      source_(std::move(source)),
      jobs_(std::move(jobs)),
      start_(start),
      step_(step < 1 ? 1 : step),
      size_(size),
      box_(box),
      deliver_(deliver) {
  SetPriority(TThreadPriority::tpIdle);
}

// Execute reads members of this class: the thread stops before they go.
TqzShellThumbnailThread::~TqzShellThumbnailThread() { StopAndWait(); }

void TqzShellThumbnailThread::Execute() {
  const TMimeDatabase& types = TMimeDatabase::Shared();
  for (size_t i = size_t(start_); i < jobs_->size() && !Terminated(); i += size_t(step_)) {
    const TqzThumbnailJob& job = (*jobs_)[i];
    const std::string type = types.TypeOfFile(job.Path);
    if (Terminated()) break;
    if (!source_->CanMake(type)) continue;
    // A stop ends a running external thumbnailer at once.
    TThumbnailResult result = source_->Get(job.Path, type, size_, [this] { return Terminated(); });
    if (!deliver_ || result.Picture.Empty() || Terminated()) continue;
    TPixmap picture = FitThumbnail(result.Picture, box_);
    // The view is alive while this thread is: it frees its workers (and
    // with them what they queued) before its items go.
    Queue([view = &view_, index = job.Index, path = job.Path, p = std::move(picture)]() mutable {
      view->ThumbnailArrived(index, path, std::move(p));
    });
  }
}

}  // namespace qz
