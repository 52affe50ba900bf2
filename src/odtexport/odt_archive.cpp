#include "odtexport/odt_archive.h"

namespace brisquel {

ArchiveHandle OpenArchive(const std::string& path) {
    int error = 0;
    return ArchiveHandle(zip_open(path.c_str(), 0, &error));
}

bool ReadEntry(zip_t* archive, const char* name, std::size_t limit, std::string& bytes) {
    const zip_int64_t index = zip_name_locate(archive, name, 0);
    if (index < 0)
        return false;
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(archive, static_cast<zip_uint64_t>(index), 0, &st) != 0 ||
        !(st.valid & ZIP_STAT_SIZE) || st.size > limit)
        return false;
    zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(index), 0);
    if (!file)
        return false;
    bytes.assign(static_cast<std::size_t>(st.size), '\0');
    std::size_t done = 0;
    bool ok = true;
    while (ok && done < bytes.size()) {
        const zip_int64_t n = zip_fread(file, bytes.data() + done, bytes.size() - done);
        ok = n > 0;
        if (ok)
            done += static_cast<std::size_t>(n);
    }
    // One more read must find the end: it checks the checksum and catches data beyond the stated size.
    char extra;
    ok = ok && zip_fread(file, &extra, 1) == 0;
    zip_fclose(file);
    return ok;
}

bool ReplaceEntry(zip_t* archive, const char* name, const std::string& bytes) {
    const zip_int64_t index = zip_name_locate(archive, name, 0);
    if (index < 0)
        return false;
    zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
    if (!source)
        return false;
    if (zip_file_replace(archive, static_cast<zip_uint64_t>(index), source, ZIP_FL_ENC_UTF_8) < 0) {
        zip_source_free(source);
        return false;
    }
    return true;
}

bool CloseArchive(ArchiveHandle& archive) {
    if (zip_close(archive.get()) != 0)
        return false;
    archive.release();
    return true;
}

} // namespace brisquel
