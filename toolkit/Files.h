#pragma once
// Files: the user's Documents folder, items in a folder, and text files written or appended
// to. Text goes to the file as it is held, UTF-8. Failures raise IOException with the
// operating system's error number.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "toolkit/Ref.h"

namespace toolkit {

// A file or folder by its path; the item need not exist.
class FolderItem {
 public:
  explicit FolderItem(std::string path) : path_(std::move(path)) {}
  const std::string& Path() const { return path_; }

  // The item of that name inside this folder, existing or not; nil for a name that cannot
  // stand for one item there (empty, ".", "..", or holding "/" or a NUL).
  Ref<FolderItem> Child(const std::string& name) const;
  // False only when the system says the item is absent. An item it cannot look at (an I/O or
  // network failure, a link loop) may be there, so that it is never created anew over its
  // content; the error number tells why.
  bool Exists();
  // The error number of this item's last operation, 0 when it succeeded.
  int LastErrorCode() const { return lastErrorCode_; }

 private:
  friend class TextOutputStream;
  std::string path_;
  int lastErrorCode_ = 0;
};

namespace SpecialFolder {
// The user's Documents folder; nil when there is none to be had.
Ref<FolderItem> Documents();
}  // namespace SpecialFolder

// A text file open for writing, which keeps one promise: the text written between opening
// and a successful Close reaches the file whole, or the file is put back as it was before (a
// file that Create made is removed). Each Write goes straight to the file; the first that
// fails puts the file back, and the stream then takes no more text. A stream dropped without
// Close closes itself as Close would, putting the file back when that fails.
class TextOutputStream {
 public:
  // What WriteLine ends a line with: CR LF, the line end of CSV files, which every
  // spreadsheet and text editor reads as one, on any system.
  static constexpr std::string_view LineEnd = "\r\n";

  // Creates the file (replacing one that exists: its text is gone once opened) / opens an
  // existing file at its end.
  // Raise IOException with the item's last error code when that fails.
  static Ref<TextOutputStream> Create(const Ref<FolderItem>& item);
  static Ref<TextOutputStream> Append(const Ref<FolderItem>& item);

  TextOutputStream(const TextOutputStream&) = delete;
  TextOutputStream& operator=(const TextOutputStream&) = delete;
  ~TextOutputStream();

  // Raise IOException with the stream's last error code when the text cannot be written
  // whole, or the stream is closed or has lost text.
  void Write(std::string_view text);
  void WriteLine(std::string_view text);
  // Raises IOException when the system reports that the written text did not reach the file,
  // or the stream has lost text.
  void Close();
  int LastErrorCode() const { return lastErrorCode_; }

 private:
  // What the file was before the stream opened it.
  struct FormerFile {
    bool absent;    // Create made it
    int64_t length;
  };
  TextOutputStream(int descriptor, std::string path, FormerFile former)
      : descriptor_(descriptor), path_(std::move(path)), former_(former) {}
  static Ref<TextOutputStream> Opened(FolderItem& file, int error, int descriptor, FormerFile former,
                                      const char* doing);
  int CloseFile(int error);
  void PutBack();
  [[noreturn]] void Fail(int errorNumber, const char* doing);

  int descriptor_;
  std::string path_;
  FormerFile former_;
  bool wroteAny_ = false;
  int lostText_ = 0;  // the error that lost text, 0 while none did
  int lastErrorCode_ = 0;
};

}  // namespace toolkit
