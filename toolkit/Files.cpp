#include "toolkit/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <utility>

#include "toolkit/Exceptions.h"
#include "toolkit/Seams.h"

namespace toolkit {
namespace {

bool CanNameOneItem(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
         name.find('\0') == std::string::npos;
}

std::string Describe(const char* doing, const std::string& path, int errorNumber) {
  return std::string(doing) + " " + path + ": " + std::strerror(errorNumber);
}

}  // namespace

Ref<FolderItem> FolderItem::Child(const std::string& name) const {
  if (!CanNameOneItem(name)) return nullptr;
  const bool endsWithSeparator = !path_.empty() && path_.back() == '/';
  return New<FolderItem>(path_ + (endsWithSeparator ? "" : "/") + name);
}

bool FolderItem::Exists() {
  struct stat status {};
  lastErrorCode_ = stat(path_.c_str(), &status) == 0 ? 0 : errno;
  return lastErrorCode_ != ENOENT && lastErrorCode_ != ENOTDIR;
}

Ref<FolderItem> SpecialFolder::Documents() {
  std::optional<std::string> path = ::toolkit::Documents().DocumentsPath();
  if (!path) return nullptr;
  return New<FolderItem>(*path);
}

Ref<TextOutputStream> TextOutputStream::Create(const Ref<FolderItem>& item) {
  return Open(item, O_CREAT | O_TRUNC, "cannot create");
}

// Without O_CREAT: a file gone since it was checked is not silently begun again headless.
Ref<TextOutputStream> TextOutputStream::Append(const Ref<FolderItem>& item) {
  return Open(item, O_APPEND, "cannot append to");
}

Ref<TextOutputStream> TextOutputStream::Open(const Ref<FolderItem>& item, int flags, const char* doing) {
  FolderItem& file = *item;
  const int descriptor = open(file.path_.c_str(), O_WRONLY | O_CLOEXEC | flags, 0666);
  file.lastErrorCode_ = descriptor >= 0 ? 0 : errno;
  if (descriptor < 0) throw IOException(file.lastErrorCode_, Describe(doing, file.path_, file.lastErrorCode_));
  return Ref<TextOutputStream>(std::shared_ptr<TextOutputStream>(new TextOutputStream(descriptor, file.path_)));
}

TextOutputStream::~TextOutputStream() {
  if (descriptor_ >= 0) close(descriptor_);
}

void TextOutputStream::Write(std::string_view text) {
  if (descriptor_ < 0) Fail(EBADF, "cannot write to");
  while (!text.empty()) {
    const ssize_t written = write(descriptor_, text.data(), text.size());
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) Fail(errno, "cannot write to");
    text.remove_prefix(static_cast<size_t>(written));
  }
  lastErrorCode_ = 0;
}

void TextOutputStream::WriteLine(std::string_view text) {
  Write(text);
  Write(LineEnd);
}

void TextOutputStream::Close() {
  if (descriptor_ < 0) return;
  // The descriptor is gone whatever close reports; EINTR must not lead to a second close.
  const int result = close(std::exchange(descriptor_, -1));
  if (result != 0 && errno != EINTR) Fail(errno, "cannot finish writing");
  lastErrorCode_ = 0;
}

void TextOutputStream::Fail(int errorNumber, const char* doing) {
  lastErrorCode_ = errorNumber;
  throw IOException(errorNumber, Describe(doing, path_, errorNumber));
}

}  // namespace toolkit
