#include "toolkit/Files.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/FileContent.h"
#include "tests/support/TestEnvironment.h"
#include "toolkit/Exceptions.h"
#include "toolkit/RealServices.h"

namespace toolkit {
namespace {

namespace fs = std::filesystem;

// A fresh folder of its own for every test.
class Files : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/hydromon-files-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
  }
  void TearDown() override { fs::remove_all(folder_); }

  Ref<FolderItem> Folder() const { return New<FolderItem>(folder_); }
  Ref<FolderItem> Item(const std::string& name) const { return Folder()->Child(name); }
  std::string Content(const std::string& name) const { return testing_support::FileContent(folder_ + "/" + name); }
  void Put(const std::string& name, const std::string& content) const {
    std::ofstream(folder_ + "/" + name, std::ios::binary) << content;
  }

  std::string folder_;
};

// Runs what and gives the error number of the IOException it raised; none when it raised none.
std::optional<int> IOErrorOf(const std::function<void()>& what) {
  try {
    what();
  } catch (const IOException& e) {
    return e.ErrorNumber();
  }
  return std::nullopt;
}

TEST_F(Files, ChildNamesOneItemInTheFolderOrGivesNil) {
  const struct {
    const char* name;
    bool formed;
  } cases[] = {
      {"2024_03_07_LogKorvenal_COM0.csv", true},
      {"a b;c", true},
      {".hidden", true},
      {"", false},
      {".", false},
      {"..", false},
      {"sub/file.csv", false},
      {"/etc", false},
  };
  for (const auto& c : cases) {
    Ref<FolderItem> child = Item(c.name);
    EXPECT_EQ(!child.IsNil(), c.formed) << '"' << c.name << '"';
    if (child) {
      EXPECT_EQ(child->Path(), folder_ + "/" + c.name);
    }
  }
  EXPECT_TRUE(Item(std::string("a\0b", 3)).IsNil());
  EXPECT_EQ(New<FolderItem>(folder_ + "/")->Child("x.csv")->Path(), folder_ + "/x.csv");
}

TEST_F(Files, ExistsTellsWhetherTheItemIsThereAndKeepsTheErrorCode) {
  Ref<FolderItem> file = Item("log.csv");
  EXPECT_FALSE(file->Exists());
  EXPECT_EQ(file->LastErrorCode(), ENOENT);
  Put("log.csv", "");
  EXPECT_TRUE(file->Exists());
  EXPECT_EQ(file->LastErrorCode(), 0);
  EXPECT_TRUE(Folder()->Exists());
  EXPECT_FALSE(New<FolderItem>(folder_ + "/log.csv/inner")->Exists()) << "under a plain file";
}

// A failing look at an item that may hold the day's log must not lead to creating it anew.
TEST_F(Files, AnItemThatCannotBeLookedAtMayBeThere) {
  ASSERT_EQ(symlink("loop.csv", (folder_ + "/loop.csv").c_str()), 0);
  Ref<FolderItem> loop = Item("loop.csv");
  EXPECT_TRUE(loop->Exists());
  EXPECT_EQ(loop->LastErrorCode(), ELOOP);
}

TEST_F(Files, WriteLineEndsTheLineWithCrLfAndWriteAddsNothing) {
  Ref<TextOutputStream> stream = TextOutputStream::Create(Item("log.csv"));
  stream->WriteLine("LOG KORVENAL");
  stream->Write("a");
  stream->Write(";");
  stream->WriteLine("é;");
  stream->Close();
  EXPECT_EQ(Content("log.csv"), "LOG KORVENAL\r\na;é;\r\n");
}

TEST_F(Files, CreateReplacesAFileAndAppendWritesAfterItsEnd) {
  Put("log.csv", "old content that is longer\r\n");
  Ref<TextOutputStream> created = TextOutputStream::Create(Item("log.csv"));
  created->WriteLine("header");
  created->Close();
  for (const char* record : {"one", "two"}) {
    Ref<TextOutputStream> appended = TextOutputStream::Append(Item("log.csv"));
    appended->WriteLine(record);
    appended->Close();
  }
  EXPECT_EQ(Content("log.csv"), "header\r\none\r\ntwo\r\n");
}

TEST_F(Files, OpeningThatFailsRaisesIOExceptionWithTheItemsErrorCode) {
  Put("plain", "");
  const struct {
    const char* what;
    Ref<FolderItem> item;
    bool append;
    int errorNumber;
  } cases[] = {
      {"append to a missing file", Item("missing.csv"), true, ENOENT},
      {"create in a missing folder", Item("gone")->Child("log.csv"), false, ENOENT},
      {"create below a plain file", Item("plain")->Child("log.csv"), false, ENOTDIR},
      {"create over a folder", Folder(), false, EISDIR},
  };
  for (const auto& c : cases) {
    std::optional<int> raised = IOErrorOf([&] {
      if (c.append)
        TextOutputStream::Append(c.item);
      else
        TextOutputStream::Create(c.item);
    });
    EXPECT_EQ(raised, c.errorNumber) << c.what;
    EXPECT_EQ(c.item->LastErrorCode(), c.errorNumber) << c.what;
  }
  // Appending never begins a file of its own.
  EXPECT_FALSE(fs::exists(folder_ + "/missing.csv"));
}

TEST_F(Files, ANilItemRaisesNilObjectException) {
  EXPECT_THROW(TextOutputStream::Create(nullptr), NilObjectException);
  EXPECT_THROW(TextOutputStream::Append(nullptr), NilObjectException);
}

TEST_F(Files, AFailedWriteRaisesIOExceptionWithTheStreamsErrorCode) {
  // Every write to /dev/full fails for want of space.
  Ref<TextOutputStream> full = TextOutputStream::Append(New<FolderItem>("/dev/full"));
  EXPECT_EQ(IOErrorOf([&] { full->Write("record"); }), ENOSPC);
  EXPECT_EQ(full->LastErrorCode(), ENOSPC);
  EXPECT_EQ(IOErrorOf([&] { full->WriteLine(""); }), ENOSPC);

  Ref<TextOutputStream> closed = TextOutputStream::Create(Item("log.csv"));
  closed->Close();
  closed->Close();  // a second Close does nothing
  EXPECT_EQ(IOErrorOf([&] { closed->Write("late"); }), EBADF);
  EXPECT_EQ(closed->LastErrorCode(), EBADF);
  EXPECT_EQ(Content("log.csv"), "");
}

TEST_F(Files, AStreamDroppedWithoutCloseClosesItself) {
  auto openDescriptors = [] {
    return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
  };
  const auto before = openDescriptors();
  {
    Ref<TextOutputStream> stream = TextOutputStream::Create(Item("log.csv"));
    stream->WriteLine("kept");
    EXPECT_EQ(openDescriptors(), before + 1);
  }
  EXPECT_EQ(openDescriptors(), before);
  EXPECT_EQ(Content("log.csv"), "kept\r\n");
}

TEST_F(Files, SpecialFolderDocumentsFollowsTheDocumentsSeam) {
  testing_support::TestEnvironment environment;
  Ref<FolderItem> documents = SpecialFolder::Documents();
  ASSERT_FALSE(documents.IsNil());
  EXPECT_EQ(documents->Path(), environment.documents.Folder());
  environment.documents.SetMode(testing_support::TestDocuments::Mode::Missing);
  EXPECT_TRUE(SpecialFolder::Documents().IsNil());
}

// A day's log file as the log writes it, piece by piece.
const std::vector<std::string> kHeaderPieces = {"LOG KORVENAL", "\r\n", "  time  ", ";", " RPM", ";", "\r\n"};
const std::vector<std::string> kRecordPieces = {"14:16:55", ";", "-01.000", ";", "-01", ";", "\r\n"};
const std::string kHeader = "LOG KORVENAL\r\n  time  ; RPM;\r\n";
const std::string kRecord = "14:16:55;-01.000;-01;\r\n";

using Opening = Ref<TextOutputStream> (*)(const Ref<FolderItem>&);

// Opens the item, writes the pieces one Write each and closes the stream; the error number of
// the IOException raised on the way, none when all went through.
std::optional<int> WriteWhole(Opening open, const Ref<FolderItem>& item, const std::vector<std::string>& pieces) {
  return IOErrorOf([&] {
    Ref<TextOutputStream> stream = open(item);
    for (const std::string& piece : pieces) stream->Write(piece);
    stream->Close();
  });
}

// A disk that takes only so many more bytes, under the stream.
class FilesOnAFullDisk : public Files {
 protected:
  void SetUp() override {
    Files::SetUp();
    disk_ = &testing_support::InstallTestFileSystem();
  }
  void TearDown() override {
    InstallFileSystem(real::MakeFileSystem());
    Files::TearDown();
  }
  bool IsThere(const std::string& name) const { return fs::exists(folder_ + "/" + name); }

  testing_support::TestFileSystem* disk_ = nullptr;
};

// Whatever the point where the disk gives out, and whether or not signals interrupt the
// system's calls, a file that Create cannot fill is not left behind: once there is room the
// next Create writes it whole.
TEST_F(FilesOnAFullDisk, ACreateCutAtAnyPointLeavesNoFile) {
  for (const bool interrupting : {false, true}) {
    disk_->SetInterrupting(interrupting);
    for (int64_t room = 0; room < std::ssize(kHeader); ++room) {
      disk_->SetRoom(room);
      EXPECT_EQ(WriteWhole(&TextOutputStream::Create, Item("log.csv"), kHeaderPieces), ENOSPC) << room;
      EXPECT_FALSE(IsThere("log.csv")) << room;
    }
    disk_->SetRoom(std::ssize(kHeader));
    EXPECT_EQ(WriteWhole(&TextOutputStream::Create, Item("log.csv"), kHeaderPieces), std::nullopt);
    EXPECT_EQ(Content("log.csv"), kHeader);
    fs::remove(folder_ + "/log.csv");
  }
}

// An append the disk cuts anywhere leaves the file as it was, so the next record, once there is
// room, begins its own line.
TEST_F(FilesOnAFullDisk, AnAppendCutAtAnyPointLeavesTheFileAsItWas) {
  for (const bool interrupting : {false, true}) {
    disk_->SetInterrupting(interrupting);
    Put("log.csv", kHeader);
    for (int64_t room = 0; room < std::ssize(kRecord); ++room) {
      disk_->SetRoom(room);
      EXPECT_EQ(WriteWhole(&TextOutputStream::Append, Item("log.csv"), kRecordPieces), ENOSPC) << room;
      EXPECT_EQ(Content("log.csv"), kHeader) << room;
    }
    disk_->SetRoom(std::nullopt);
    EXPECT_EQ(WriteWhole(&TextOutputStream::Append, Item("log.csv"), kRecordPieces), std::nullopt);
    EXPECT_EQ(Content("log.csv"), kHeader + kRecord);
  }
}

// Once a write has lost text the stream takes no more, even with room back, and its Close
// fails: the file stays as it was. So does it when the stream is dropped without Close.
TEST_F(FilesOnAFullDisk, AStreamThatLostTextLeavesTheFileAsItWasClosedOrDropped) {
  Put("log.csv", kHeader);
  disk_->SetRoom(5);
  Ref<TextOutputStream> stream = TextOutputStream::Append(Item("log.csv"));
  EXPECT_EQ(IOErrorOf([&] { stream->Write(kRecord); }), ENOSPC);
  disk_->SetRoom(std::nullopt);
  EXPECT_EQ(IOErrorOf([&] { stream->Write(kRecord); }), ENOSPC);
  EXPECT_EQ(IOErrorOf([&] { stream->Close(); }), ENOSPC);
  EXPECT_EQ(stream->LastErrorCode(), ENOSPC);
  EXPECT_EQ(Content("log.csv"), kHeader);

  disk_->SetRoom(5);
  for (const Opening open : {&TextOutputStream::Append, &TextOutputStream::Create}) {
    Ref<TextOutputStream> dropped = open(Item(open == &TextOutputStream::Append ? "log.csv" : "new.csv"));
    EXPECT_EQ(IOErrorOf([&] { dropped->Write(kRecord); }), ENOSPC);
  }
  EXPECT_EQ(Content("log.csv"), kHeader);
  EXPECT_FALSE(IsThere("new.csv"));
}

// A system that reports only at Close that the text was not stored (a network file system):
// the file is put back as it was, and Close raises with that error.
TEST_F(FilesOnAFullDisk, AFailedCloseLeavesTheFileAsItWas) {
  Put("log.csv", kHeader);
  disk_->SetCloseError(EDQUOT);
  EXPECT_EQ(WriteWhole(&TextOutputStream::Append, Item("log.csv"), kRecordPieces), EDQUOT);
  EXPECT_EQ(Content("log.csv"), kHeader);
  EXPECT_EQ(WriteWhole(&TextOutputStream::Create, Item("new.csv"), kHeaderPieces), EDQUOT);
  EXPECT_FALSE(IsThere("new.csv"));
}

// The same on the system's own files: beyond a file-size limit a write stores what fits and
// then fails with EFBIG (its signal ignored). The limit is set in a child process, which ends
// with the error number it met.
TEST_F(Files, AWriteTheSystemRefusesLeavesTheFileAsItWas) {
  for (size_t limit = 0; limit < kHeader.size() + kRecord.size(); ++limit) {
    fs::remove(folder_ + "/log.csv");
    const auto writeUnderTheLimit = [&] {
      std::signal(SIGXFSZ, SIG_IGN);
      const rlimit fileSize{limit, limit};
      setrlimit(RLIMIT_FSIZE, &fileSize);
      std::optional<int> error = WriteWhole(&TextOutputStream::Create, Item("log.csv"), kHeaderPieces);
      if (!error) error = WriteWhole(&TextOutputStream::Append, Item("log.csv"), kRecordPieces);
      std::_Exit(error.value_or(0));
    };
    EXPECT_EXIT(writeUnderTheLimit(), ::testing::ExitedWithCode(EFBIG), "") << limit;
    if (limit < kHeader.size())
      EXPECT_FALSE(fs::exists(folder_ + "/log.csv")) << limit;
    else
      EXPECT_EQ(Content("log.csv"), kHeader) << limit;
  }
  ASSERT_EQ(WriteWhole(&TextOutputStream::Append, Item("log.csv"), kRecordPieces), std::nullopt);
  EXPECT_EQ(Content("log.csv"), kHeader + kRecord);
}

// The user's real Documents folder, under a home of the test's own.
class UserDocuments : public Files {
 protected:
  void SetUp() override {
    Files::SetUp();
    for (const char* name : {"HOME", "XDG_CONFIG_HOME"}) {
      const char* value = std::getenv(name);
      saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }
    setenv("HOME", folder_.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (folder_ + "/config").c_str(), 1);  // no user-dirs file: the default place
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_) value ? setenv(name, value->c_str(), 1) : unsetenv(name);
    Files::TearDown();
  }
  std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

TEST_F(UserDocuments, AMissingFolderIsCreated) {
  std::optional<std::string> path = real::MakeDocuments()->DocumentsPath();
  ASSERT_TRUE(path.has_value());
  EXPECT_EQ(*path, folder_ + "/Documents");
  EXPECT_TRUE(fs::is_directory(*path));
}

TEST_F(UserDocuments, NoneWhenAFileStandsInItsPlace) {
  Put("Documents", "");
  EXPECT_FALSE(real::MakeDocuments()->DocumentsPath().has_value());
}

}  // namespace
}  // namespace toolkit
