#pragma once

#include <pugixml.hpp>
#include <zip.h>

#include <cstddef>

namespace brisquel {

// A picture file larger than this is not put into the report; the template's picture stays.
inline constexpr std::size_t kMaxPictureBytes = 64u << 20;

// Replaces pictures of the template: a frame (draw:frame) whose draw:name is the name of a child element
// of the data root gets, as the picture its draw:image names, the file whose path is that element's text.
// A frame without such an element, a picture the archive does not hold, or a file that is missing or
// cannot be read leaves the picture as it is (a logo in the template is no report element).
class pictures_walker : public pugi::xml_tree_walker {
public:
    pictures_walker(zip_t* archive, pugi::xml_node data) : archive_(archive), data_(data) {}
    bool for_each(pugi::xml_node& node) override;

private:
    zip_t* archive_;
    pugi::xml_node data_;
};

} // namespace brisquel
