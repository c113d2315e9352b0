// The few file steps of a safe write, on the system's own calls: a file created only if its name
// is free, every byte flushed to the disk before a rename, a rename that replaces its target in
// one step. The C library's streams offer none of these.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace dovarin {

class NativeFile {
  public:
    enum class Created { Yes, NameTaken, Failed };

    NativeFile() = default;
    ~NativeFile() { Close(); }
    NativeFile(const NativeFile&) = delete;
    NativeFile& operator=(const NativeFile&) = delete;

    // A new file for writing. Anything already under the name, a link or a dangling link
    // included, makes it NameTaken; nothing is followed or replaced.
    Created CreateNew(const std::filesystem::path& path);
    // An existing plain file for reading and writing. A link, a folder, a pipe or a device is not
    // opened: a write must neither leave the folder nor block.
    bool OpenExisting(const std::filesystem::path& path);

    bool IsOpen() const;
    // Writes all of bytes at the current position.
    bool Write(std::string_view bytes);
    // The whole content, from the start.
    bool ReadAll(std::string& bytes);
    // Cuts the file to nothing; the next write goes to its start.
    bool Truncate();
    // Hands everything written to the disk.
    bool Flush();
    // False when closing reported an error (the data may not have been stored); closed either way.
    bool Close();

  private:
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

// Renames from over to in one step, replacing a file there; true when done.
bool RenameReplacing(const std::filesystem::path& from, const std::filesystem::path& to);
// Makes a rename inside the folder of path durable; where the system needs no such step, or the
// folder cannot be flushed, nothing happens.
void FlushFolderOf(const std::filesystem::path& path);
// Tells runs apart in temporary file names.
unsigned long CurrentProcessId();

}  // namespace dovarin
