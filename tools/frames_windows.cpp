// The Windows build's frame recorder: MinGW has neither libpng nor giflib, so --frames and --gif
// are refused there with the reason, and the script is not run.
#include "tools/frames.h"

class FrameRecorder::Gif {};

FrameRecorder::FrameRecorder() = default;
FrameRecorder::~FrameRecorder() = default;

bool FrameRecorder::Open(const std::string&, const std::string&, std::string& error) {
  error = "the Windows build writes no pictures (--frames, --gif)";
  return false;
}

void FrameRecorder::Capture() {}
void FrameRecorder::OnJournal(const standin::JournalEntry&) {}
bool FrameRecorder::Close(std::string&) { return true; }
