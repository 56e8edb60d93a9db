#include "toolkit/Files.h"

#include <fcntl.h>
#include <sys/stat.h>

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
  int descriptor = -1;
  file.lastErrorCode_ = Files().Open(file.path_, O_WRONLY | O_CLOEXEC | flags, descriptor);
  if (file.lastErrorCode_ != 0) throw IOException(file.lastErrorCode_, Describe(doing, file.path_, file.lastErrorCode_));
  return Ref<TextOutputStream>(std::shared_ptr<TextOutputStream>(new TextOutputStream(descriptor, file.path_)));
}

TextOutputStream::~TextOutputStream() {
  if (descriptor_ >= 0) Files().Close(descriptor_);
}

void TextOutputStream::Write(std::string_view text) {
  if (descriptor_ < 0) Fail(EBADF, "cannot write to");
  while (!text.empty()) {
    size_t written = 0;
    const int error = Files().Write(descriptor_, text, written);
    if (error == EINTR) continue;
    if (error != 0) Fail(error, "cannot write to");
    text.remove_prefix(written);
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
  const int error = Files().Close(std::exchange(descriptor_, -1));
  if (error != 0 && error != EINTR) Fail(error, "cannot finish writing");
  lastErrorCode_ = 0;
}

void TextOutputStream::Fail(int errorNumber, const char* doing) {
  lastErrorCode_ = errorNumber;
  throw IOException(errorNumber, Describe(doing, path_, errorNumber));
}

}  // namespace toolkit
