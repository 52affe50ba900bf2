#include "odtexport/pictures_walker.h"

#include "odtexport/xml_nodes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace brisquel {
namespace {

// The bytes of a readable regular file of at most kMaxPictureBytes, in a malloc'ed block that a zip
// source can take over; null when the file cannot be had whole. Reading it now, not when the archive is
// written, means a file that is missing or vanishes cannot make the whole report fail.
void* ReadPictureFile(const std::string& path, std::size_t& size) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return nullptr;
    struct stat st {};
    void* block = nullptr;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0 &&
        static_cast<std::size_t>(st.st_size) <= kMaxPictureBytes) {
        size = static_cast<std::size_t>(st.st_size);
        block = std::malloc(size);
        std::size_t done = 0;
        while (block && done < size) {
            const ssize_t n = ::read(fd, static_cast<char*>(block) + done, size - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                std::free(block);
                block = nullptr;
            } else {
                done += static_cast<std::size_t>(n);
            }
        }
    }
    ::close(fd);
    return block;
}

} // namespace

bool pictures_walker::for_each(pugi::xml_node& node) {
    if (!IsElementNamed(node, "draw:frame"))
        return true;
    const std::string path(ValueOf(FirstChildElement(data_, node.attribute("draw:name").value())));
    const char* entryName = FirstChildElement(node, "draw:image").attribute("xlink:href").value();
    if (path.empty() || !*entryName)
        return true;
    const zip_int64_t index = zip_name_locate(archive_, entryName, 0);
    if (index < 0)
        return true;
    std::size_t size = 0;
    void* picture = ReadPictureFile(path, size);
    if (!picture)
        return true;
    zip_source_t* source = zip_source_buffer(archive_, picture, size, 1);
    if (!source) {
        std::free(picture);
        return true;
    }
    if (zip_file_replace(archive_, static_cast<zip_uint64_t>(index), source, ZIP_FL_ENC_UTF_8) < 0)
        zip_source_free(source);
    return true;
}

} // namespace brisquel
