#include "app/folder_lister_win.h"

#include "toolkit/handles_win.h"
#include "toolkit/text_win.h"

namespace kv {
namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return StartsWithIgnoringCase(a, b) && StartsWithIgnoringCase(b, a);
}

}  // namespace

FolderListing ListFolder(const std::string& folder, const std::string& namePrefix) {
  FolderListing listing{folder, namePrefix, {}, true};
  WIN32_FIND_DATAW data{};
  FindHandle find;
  {
    // A drive with no medium in it must not put up the system's "insert a disk" box.
    const ScopedErrorMode noDiskBox(SEM_FAILCRITICALERRORS);
    find.Reset(FindFirstFileExW(Widen(folder + namePrefix + "*").c_str(), FindExInfoBasic, &data,
                                FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
  }
  if (!find.Valid())
    return listing;
  do {
    const bool hidden =
        (data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
    std::string name = Narrow(data.cFileName);
    if (!IsOfferedEntry(name, hidden))
      continue;
    if (listing.names.size() == kMaxSuggestions) {
      listing.complete = false;
      break;
    }
    listing.names.push_back(std::move(name));
  } while (FindNextFileW(find.Get(), &data));
  return listing;
}

BackgroundLister::~BackgroundLister() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  wake_.notify_one();
  if (thread_.joinable())
    thread_.join();
}

FolderListing BackgroundLister::Take(const PathQuery& path, bool& final) {
  const std::lock_guard<std::mutex> lock(mutex_);
  FolderListing nearest{path.folder, path.namePrefix, {}, false};
  if (done_ && done_->folder == path.folder &&
      StartsWithIgnoringCase(path.namePrefix, done_->namePrefix)) {
    if (done_->complete || SameIgnoringCase(done_->namePrefix, path.namePrefix)) {
      final = true;
      return *done_;
    }
    nearest.names = done_->names;
  }
  final = false;
  const Request request{path.folder, path.namePrefix};
  if (!(busy_ && working_ == request)) {
    wanted_ = request;
    if (!thread_.joinable())
      thread_ = std::thread([this] { Run(); });
    wake_.notify_one();
  }
  return nearest;
}

void BackgroundLister::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stop_ || wanted_; });
    if (stop_)
      return;
    working_ = *wanted_;
    wanted_.reset();
    busy_ = true;
    const Request request = working_;
    lock.unlock();
    FolderListing listing;
    try {
      listing = ListFolder(request.first, request.second);
    } catch (const std::exception&) {
      // Out of memory, say: nothing offered from this folder this time.
      listing = {request.first, request.second, {}, true};
    }
    lock.lock();
    busy_ = false;
    done_ = std::move(listing);
    PostMessageW(notify_, message_, 0, 0);
  }
}

}  // namespace kv
