// The host program's pictures of the drawing view as the user sees it change: a numbered PNG file
// in a folder and a frame of an animated GIF after each change the journal records that a user
// would see (a redraw, a view change, a drag sample, a flicker tick, temporary graphics). A
// frame that shows nothing new is left out; each GIF frame lasts until the next one came.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "standin/host/core/session.h"

class FrameRecorder {
 public:
  FrameRecorder();
  ~FrameRecorder();
  // Either may be empty. False, saying why in error, when the folder cannot be made or the GIF
  // file cannot be written.
  bool Open(const std::string& folder, const std::string& gif, std::string& error);
  // A frame of the drawing view now (the first one at the start).
  void Capture();
  // Takes a frame for an entry of the journal that a user would see.
  void OnJournal(const standin::JournalEntry& entry);
  // Ends the GIF; false, saying why in error, when a frame or the file could not be written.
  bool Close(std::string& error);

 private:
  class Gif;
  std::mutex m_mutex;
  std::string m_folder;
  std::unique_ptr<Gif> m_gif;
  std::vector<uint32_t> m_last;
  int m_count = 0;
  std::string m_error;
};
