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

// Repeats a file operation that a signal interrupted before it did anything.
template <class Operation>
int Uninterrupted(const Operation& operation) {
  int error = 0;
  do error = operation();
  while (error == EINTR);
  return error;
}

int OpenForWriting(const std::string& path, int flags, int& descriptor) {
  return Uninterrupted([&] { return Files().Open(path, O_WRONLY | O_CLOEXEC | flags, descriptor); });
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
  FolderItem& file = *item;
  // Made new where none stands, so that a Create that cannot finish removes only what it made.
  int descriptor = -1;
  int error = OpenForWriting(file.path_, O_CREAT | O_EXCL, descriptor);
  const bool made = error == 0;
  if (error == EEXIST) error = OpenForWriting(file.path_, O_TRUNC, descriptor);
  return Opened(file, error, descriptor, {.absent = made, .length = 0}, "cannot create");
}

// Without O_CREAT: a file gone since it was checked is not silently begun again headless.
Ref<TextOutputStream> TextOutputStream::Append(const Ref<FolderItem>& item) {
  FolderItem& file = *item;
  int descriptor = -1;
  int64_t length = 0;
  int error = OpenForWriting(file.path_, O_APPEND, descriptor);
  if (error == 0) {
    error = Uninterrupted([&] { return Files().Size(descriptor, length); });
    if (error != 0) Files().Close(descriptor);
  }
  return Opened(file, error, descriptor, {.absent = false, .length = length}, "cannot append to");
}

Ref<TextOutputStream> TextOutputStream::Opened(FolderItem& file, int error, int descriptor, FormerFile former,
                                               const char* doing) {
  file.lastErrorCode_ = error;
  if (error != 0) throw IOException(error, Describe(doing, file.path_, error));
  return Ref<TextOutputStream>(
      std::shared_ptr<TextOutputStream>(new TextOutputStream(descriptor, file.path_, former)));
}

TextOutputStream::~TextOutputStream() {
  if (descriptor_ >= 0) CloseFile(0);
}

void TextOutputStream::Write(std::string_view text) {
  if (lostText_ != 0) Fail(lostText_, "cannot write to");
  if (descriptor_ < 0) Fail(EBADF, "cannot write to");
  while (!text.empty()) {
    // A write cut short (the disk filling up) goes on with the rest, and so meets the error.
    size_t written = 0;
    const int error = Uninterrupted([&] { return Files().Write(descriptor_, text, written); });
    wroteAny_ = wroteAny_ || written > 0;
    if (error != 0) Fail(CloseFile(error), "cannot write to");
    text.remove_prefix(written);
  }
  lastErrorCode_ = 0;
}

void TextOutputStream::WriteLine(std::string_view text) {
  Write(text);
  Write(LineEnd);
}

void TextOutputStream::Close() {
  if (lostText_ != 0) Fail(lostText_, "cannot finish writing");
  if (descriptor_ < 0) return;
  if (const int error = CloseFile(0)) Fail(error, "cannot finish writing");
  lastErrorCode_ = 0;
}

// Closes the file, and puts it back when its text was lost: to the given error, or as the
// system reports at closing.
int TextOutputStream::CloseFile(int error) {
  // The descriptor is gone whatever close reports; EINTR must not lead to a second close.
  const int closing = Files().Close(std::exchange(descriptor_, -1));
  if (error == 0 && closing != EINTR) error = closing;
  if (error != 0) {
    lostText_ = error;
    PutBack();
  }
  return error;
}

// A file this stream did not change is left alone (it may be a device). When putting back
// fails too (a failing disk, the file or its folder made read-only meanwhile), the cut text
// stays and what is appended next follows it on its line; the error raised is still the one
// that lost the text.
void TextOutputStream::PutBack() {
  if (former_.absent)
    Uninterrupted([&] { return Files().Remove(path_); });
  else if (wroteAny_)
    Uninterrupted([&] { return Files().Truncate(path_, former_.length); });
}

void TextOutputStream::Fail(int errorNumber, const char* doing) {
  lastErrorCode_ = errorNumber;
  throw IOException(errorNumber, Describe(doing, path_, errorNumber));
}

}  // namespace toolkit
