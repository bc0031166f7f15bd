// A file written as a whole: the content goes to a new file with a short temporary name in
// the target's folder, which is renamed over the target only by Commit. Until then an
// existing target is untouched; a discarded or abandoned output removes its temporary file.
// The new file takes an existing target's permissions (else 0666 less the umask). A target
// that is not a regular file, or that was replaced while the output was being written, is
// refused. A symbolic link as target is followed: the file it names is replaced.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace fileio {

class OutputFile {
 public:
  explicit OutputFile(std::string target);
  ~OutputFile() { Discard(); }
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Creates the temporary file. False with Error() set when the target cannot be replaced.
  bool Open();
  bool IsOpen() const { return fd_ >= 0; }
  int Fd() const { return fd_; }
  // The temporary file (empty before Open and after Commit or Discard).
  const std::string& TemporaryPath() const { return temp_; }

  bool Write(const void* data, std::size_t size);
  bool WriteAt(const void* data, std::size_t size, std::uint64_t offset);
  // Flushes, closes and renames the temporary file over the target.
  bool Commit();
  // Closes and removes the temporary file; the target stays as it was.
  void Discard();

  // One line naming the target and the reason, after a failed call.
  const std::string& Error() const { return error_; }

 private:
  bool Fail(const std::string& what, const std::string& reason);
  bool FailErrno(const std::string& what, int code);

  std::string path_;    // as named by the caller
  std::string target_;  // the file really replaced
  std::string temp_;
  int fd_ = -1;
  bool existed_ = false;
  dev_t device_ = 0;
  ino_t inode_ = 0;
  std::string error_;
};

}  // namespace fileio
