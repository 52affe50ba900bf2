#pragma once

#include <string>

namespace brisquel {

// A copy of the template beside the output file, worked on in place and renamed over the output at the
// end, so that the output path never holds a half-written file. The copy lives in a hidden folder of its
// own beside the output, where the archive writer puts its temporary file too, so a process killed
// mid-way leaves one stray entry at most. The copy and its folder are removed unless committed.
class StagedFile {
public:
    StagedFile() = default;
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;
    ~StagedFile();

    // Copies `source` (a regular file) to a new file in the folder of `target`. False when the source
    // cannot be read, is the target itself, or the folder takes no new file.
    bool CopyFrom(const std::string& source, const std::string& target);

    // Flushes the copy to the disk, renames it over the target and flushes the target's folder, so that
    // a crash afterwards finds the whole new file; false when that fails (the copy is then removed).
    bool Commit();

    const std::string& Path() const { return path_; }

private:
    void Remove();

    std::string folder_;
    std::string path_;
    std::string target_;
};

} // namespace brisquel
