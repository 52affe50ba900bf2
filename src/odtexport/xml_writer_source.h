#pragma once

#include <pugixml.hpp>

#include <string>

namespace brisquel {

// Collects the serialised content.xml in memory. The archive reads from these bytes when it is closed,
// so the writer must outlive the close.
class xml_writer_source : public pugi::xml_writer {
public:
    void write(const void* data, size_t size) override {
        bytes_.append(static_cast<const char*>(data), size);
    }
    const std::string& bytes() const { return bytes_; }

private:
    std::string bytes_;
};

} // namespace brisquel
