// The host program's pictures of the drawing view, as PNG files and an animated GIF.
#include "tools/frames.h"

#include <aced.h>
#include <fcntl.h>
#include <gif_lib.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <unordered_map>

#include "standin/host/drawing/dbaccess.h"
#include "standin/host/view/render.h"
#include "standin/win32/png.h"
#include "standin/win32/utf8.h"

namespace {

std::string GifError(int code) {
  const char* why = GifErrorString(code);
  return why ? why : "GIF error " + std::to_string(code);
}

bool SeenByUser(standin::JournalKind kind) {
  switch (kind) {
    case standin::JournalKind::Redraw:
    case standin::JournalKind::GrDraw:
    case standin::JournalKind::ViewChange:
    case standin::JournalKind::Invalidate:
    case standin::JournalKind::Jig:
    case standin::JournalKind::Drag:
      return true;
    default:
      return false;
  }
}

}  // namespace

// An animated GIF in the host's colour palette, written one frame behind: a frame's delay is known
// when the next one comes.
class FrameRecorder::Gif {
 public:
  ~Gif() {
    if (m_file) EGifCloseFile(m_file, nullptr);
  }

  bool Open(const std::string& path, std::string& error) {
    int code = 0;
    // Made as other files are (giflib's own opening would keep it from everyone else).
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
      error = "cannot write " + path + ": " + std::strerror(errno);
      return false;
    }
    m_file = EGifOpenFileHandle(fd, &code);
    if (!m_file) {
      close(fd);
      error = "cannot write " + path + ": " + GifError(code);
      return false;
    }
    m_path = path;
    GifColorType colours[256];
    for (int i = 0; i < 256; ++i) {
      const Adesk::UInt32 rgb = acedGetRGB(i);
      colours[i] = {GifByteType(rgb & 0xFF), GifByteType((rgb >> 8) & 0xFF), GifByteType((rgb >> 16) & 0xFF)};
      m_palette.push_back((uint32_t(colours[i].Red) << 16) | (uint32_t(colours[i].Green) << 8) | colours[i].Blue);
      m_index.try_emplace(m_palette.back(), static_cast<uint8_t>(i));
    }
    m_map = GifMakeMapObject(256, colours);
    return m_map != nullptr;
  }

  void Add(const standin::Raster& raster, std::chrono::steady_clock::time_point when) {
    if (m_pending.empty()) {
      m_width = raster.width, m_height = raster.height;
    } else {
      const auto hundredths = std::chrono::duration_cast<std::chrono::milliseconds>(when - m_when).count() / 10;
      Flush(static_cast<int>(std::min<long long>(std::max<long long>(hundredths, 2), 65535)));
    }
    m_pending.resize(raster.pixels.size());
    for (size_t i = 0; i < raster.pixels.size(); ++i) m_pending[i] = IndexOf(raster.pixels[i]);
    m_when = when;
  }

  bool Close(std::string& error) {
    if (!m_pending.empty()) Flush(100);  // the last picture stays a second before the loop starts again
    int code = 0;
    const bool closed = EGifCloseFile(m_file, &code) == GIF_OK;
    m_file = nullptr;
    GifFreeMapObject(m_map);
    m_map = nullptr;
    if (!m_ok || !closed) error = "cannot write " + m_path + ": " + GifError(m_ok ? code : m_code);
    return m_ok && closed;
  }

 private:
  uint8_t IndexOf(uint32_t rgb) {
    const auto it = m_index.find(rgb);
    if (it != m_index.end()) return it->second;
    // A colour of no palette entry (XOR ink): the nearest one, remembered.
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < 256; ++i) {
      const long dr = long(rgb >> 16 & 0xFF) - long(m_palette[i] >> 16 & 0xFF);
      const long dg = long(rgb >> 8 & 0xFF) - long(m_palette[i] >> 8 & 0xFF);
      const long db = long(rgb & 0xFF) - long(m_palette[i] & 0xFF);
      const long distance = dr * dr + dg * dg + db * db;
      if (bestDistance < 0 || distance < bestDistance) best = i, bestDistance = distance;
    }
    return m_index[rgb] = static_cast<uint8_t>(best);
  }

  void Flush(int delay) {
    if (!m_ok) return;
    if (!m_started) {
      m_started = true;
      static const GifByteType kLoop[3] = {1, 0, 0};
      EGifSetGifVersion(m_file, true);  // the delays and the loop are extensions of GIF89a
      m_ok = EGifPutScreenDesc(m_file, m_width, m_height, 8, 0, m_map) == GIF_OK &&
             EGifPutExtensionLeader(m_file, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
             EGifPutExtensionBlock(m_file, 11, "NETSCAPE2.0") == GIF_OK &&
             EGifPutExtensionBlock(m_file, 3, kLoop) == GIF_OK && EGifPutExtensionTrailer(m_file) == GIF_OK;
    }
    GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, delay, NO_TRANSPARENT_COLOR};
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    m_ok = m_ok && EGifPutExtension(m_file, GRAPHICS_EXT_FUNC_CODE, 4, extension) == GIF_OK &&
           EGifPutImageDesc(m_file, 0, 0, m_width, m_height, false, nullptr) == GIF_OK;
    for (int y = 0; m_ok && y < m_height; ++y)
      m_ok = EGifPutLine(m_file, m_pending.data() + static_cast<size_t>(y) * m_width, m_width) == GIF_OK;
    if (!m_ok) m_code = m_file->Error;
  }

  GifFileType* m_file = nullptr;
  ColorMapObject* m_map = nullptr;
  std::string m_path;
  std::vector<uint32_t> m_palette;
  std::unordered_map<uint32_t, uint8_t> m_index;
  std::vector<GifPixelType> m_pending;
  std::chrono::steady_clock::time_point m_when;
  int m_width = 0, m_height = 0, m_code = 0;
  bool m_started = false, m_ok = true;
};

FrameRecorder::FrameRecorder() = default;
FrameRecorder::~FrameRecorder() = default;

bool FrameRecorder::Open(const std::string& folder, const std::string& gif, std::string& error) {
  if (!folder.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!std::filesystem::is_directory(folder)) {
      error = "cannot make the folder " + folder + (ec ? ": " + ec.message() : "");
      return false;
    }
    m_folder = folder;
  }
  if (!gif.empty()) {
    m_gif = std::make_unique<Gif>();
    if (!m_gif->Open(gif, error)) return false;
  }
  return true;
}

void FrameRecorder::Capture() {
  // The drawing's lock first, as every other path takes it before a lock of its own.
  std::lock_guard<std::recursive_mutex> drawing(standin::DrawingMutex());
  std::lock_guard<std::mutex> lock(m_mutex);
  standin::Raster raster = standin::RenderView().raster;
  if (raster.pixels == m_last) return;
  const auto when = std::chrono::steady_clock::now();
  if (!m_folder.empty() && m_error.empty()) {
    char name[32];
    std::snprintf(name, sizeof name, "/frame-%04d.png", m_count);
    std::wstring why;
    if (!standin::WritePng(standin::FromUtf8(m_folder + name), raster.width, raster.height, raster.Rgb().data(), &why))
      m_error = standin::ToUtf8(why);
  }
  if (m_gif) m_gif->Add(raster, when);
  ++m_count;
  m_last = std::move(raster.pixels);
}

void FrameRecorder::OnJournal(const standin::JournalEntry& entry) {
  if (SeenByUser(entry.kind)) Capture();
}

bool FrameRecorder::Close(std::string& error) {
  std::lock_guard<std::mutex> lock(m_mutex);
  error = m_error;
  std::string gifError;
  if (m_gif && !m_gif->Close(gifError) && error.empty()) error = gifError;
  m_gif.reset();
  return error.empty();
}
