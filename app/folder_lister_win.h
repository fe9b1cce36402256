// Folder listings for the suggestions: the entries of one folder that begin with a name start.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/suggestions.h"

namespace kv {

struct FolderListing {
  std::string folder;
  std::string namePrefix;
  std::vector<std::string> names;  // offered entries, in the listing's order
  bool complete = true;            // no offered entry was left out
};

// The folder's offered entries that begin with the name start: the file system itself keeps
// the others back, so a folder of many thousands costs only what matches.
FolderListing ListFolder(const std::string& folder, const std::string& namePrefix);

// Lists folders on a thread of its own, for a platform that asks for the suggestions on the
// field's thread (Wine does): there a listing of a large folder would stall typing. One listing
// at a time; the latest one asked for is the next.
class BackgroundLister {
 public:
  BackgroundLister(HWND notify, UINT message) : notify_(notify), message_(message) {}
  ~BackgroundLister();
  BackgroundLister(const BackgroundLister&) = delete;
  BackgroundLister& operator=(const BackgroundLister&) = delete;

  // The listing for `path` when it is done (`final`); otherwise asks for it and gives the done
  // listing of the same folder for a shorter name start, to be narrowed, or nothing. `message`
  // is posted to `notify` when a listing is done.
  FolderListing Take(const PathQuery& path, bool& final);

 private:
  using Request = std::pair<std::string, std::string>;  // folder, name start

  void Run();

  const HWND notify_;
  const UINT message_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<Request> wanted_;
  Request working_;
  bool busy_ = false;
  std::optional<FolderListing> done_;
  bool stop_ = false;
  std::thread thread_;
};

}  // namespace kv
