#include "skin/base/ShellChangeNotifier.h"

#include <mutex>

namespace qz {

TqzShellChangeThread::TqzShellChangeThread(TqzShellChangeNotifier& notifier) : notifier_(notifier) {
  SetPriority(TThreadPriority::tpIdle);
}

TqzShellChangeThread::~TqzShellChangeThread() { StopAndWait(); }

void TqzShellChangeThread::TerminatedSet() { notifier_.watch_.Interrupt(); }

void TqzShellChangeThread::Execute() {
  while (!Terminated()) {
    const TFolderChanges changes = notifier_.watch_.Wait(-1);
    if (Terminated()) break;
    if (!changes.Empty()) notifier_.Post(changes, *this);
  }
}

TqzShellChangeNotifier::TqzShellChangeNotifier(TNotifyEvent onChange) : OnChange(std::move(onChange)) {}

TqzShellChangeNotifier::~TqzShellChangeNotifier() {
  // Before the watch and the pending change it uses go; its queued
  // delivery is dropped with it.
  thread_.reset();
}

void TqzShellChangeNotifier::SetDirectory(const std::string& root, bool watchSubTree, uint32_t filter) {
  {
    std::lock_guard lock(ProcessLock());
    root_ = root;
    watchSubTree_ = watchSubTree;
    filter_ = filter;
    // What the old folder reported is of no use for the new one.
    pending_ = {};
  }
  // Watched here, not by the worker, so that nothing made after this call
  // returns goes unseen; the worker simply waits on the watch.
  if (root.empty()) watch_.Close();
  else watch_.Watch(root, watchSubTree, filter);
  if (!thread_ && !root.empty()) {
    thread_ = std::make_unique<TqzShellChangeThread>(*this);
    thread_->Start();
  }
}

// Queued through the worker itself (`from`), not thread_: while the
// notifier is freed thread_ is already null and the worker still running.
void TqzShellChangeNotifier::Post(const TFolderChanges& changes, TThread& from) {
  std::lock_guard lock(ProcessLock());
  pending_.Merge(changes);
  if (queued_) return;  // the delivery already posted takes this one too
  queued_ = true;
  from.Queue([this] { Deliver(); });
}

void TqzShellChangeNotifier::Deliver() {
  {
    std::lock_guard lock(ProcessLock());
    last_ = pending_;
    pending_ = {};
    queued_ = false;
  }
  if (last_.Empty()) return;  // dropped by a change of folder
  // Nothing after this: the handler may free the notifier.
  if (OnChange) OnChange(this);
}

}  // namespace qz
