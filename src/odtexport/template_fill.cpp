#include "odtexport/template_fill.h"

#include "odtexport/split_marker.h"
#include "odtexport/table_marker.h"
#include "odtexport/text_markers.h"
#include "odtexport/xml_nodes.h"

#include <string>
#include <string_view>

namespace brisquel {
namespace {

bool IsTable(pugi::xml_node node) {
    return IsElementNamed(node, "table:table");
}
bool IsTableRow(pugi::xml_node node) {
    return IsElementNamed(node, "table:table-row");
}

bool IsBlankText(pugi::xml_node node) {
    return node.type() == pugi::node_pcdata &&
           std::string_view(node.value()).find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// Whether a paragraph's content shows nothing but white space: blank texts, the space, tab and line-break
// elements, and spans holding only those. A word processor shows such a paragraph as an empty one.
bool IsBlankContent(pugi::xml_node node) {
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (IsBlankText(child))
            continue;
        if (IsElementNamed(child, "text:s") || IsElementNamed(child, "text:tab") ||
            IsElementNamed(child, "text:line-break"))
            continue;
        if (IsElementNamed(child, "text:span") && IsBlankContent(child))
            continue;
        return false;
    }
    return true;
}

// Removes a table together with the empty paragraph that keeps the following text apart from it. Blanks
// between the two (an indented content.xml) do not count as content, nor do blanks inside that paragraph.
void RemoveTableWithSpacer(pugi::xml_node table) {
    pugi::xml_node spacer = table.next_sibling();
    while (IsBlankText(spacer))
        spacer = spacer.next_sibling();
    pugi::xml_node parent = table.parent();
    if (IsElementNamed(spacer, "text:p") && IsBlankContent(spacer))
        parent.remove_child(spacer);
    parent.remove_child(table);
}

// Fills the direct rows of a table; false when the table was removed because its data table is missing.
bool FillTableRows(pugi::xml_node table, pugi::xml_node data) {
    pugi::xml_node row = table.first_child();
    while (row) {
        if (!IsTableRow(row)) {
            row = row.next_sibling();
            continue;
        }
        const int n = FindTableMarker(row);
        if (n <= 0) {
            FillTemplateNode(row, data);
            row = row.next_sibling();
            continue;
        }
        const pugi::xml_node source = FirstChildElement(data, "Table" + std::to_string(n));
        if (!source) {
            RemoveTableWithSpacer(table);
            return false;
        }
        for (pugi::xml_node item = source.first_child(); item; item = item.next_sibling()) {
            if (item.type() == pugi::node_element)
                FillTemplateNode(table.insert_copy_before(row, row), item);
        }
        const pugi::xml_node next = row.next_sibling();
        table.remove_child(row);
        row = next;
    }
    return true;
}

class DepthProbe : public pugi::xml_tree_walker {
public:
    bool for_each(pugi::xml_node&) override {
        tooDeep = depth() >= static_cast<int>(kMaxTemplateDepth);
        return !tooDeep;
    }
    bool tooDeep = false;
};

} // namespace

bool FillTemplateNode(pugi::xml_node node, pugi::xml_node data) {
    JoinSplitMarker(node);
    const bool table = IsTable(node);
    if (table && !FillTableRows(node, data))
        return true;
    if (node.type() == pugi::node_pcdata)
        FillTextMarkers(node, data);

    pugi::xml_node child = node.first_child();
    while (child) {
        if (table && IsTableRow(child)) {
            // Already filled above, copies from their data rows: filling again would read the values
            // put in as markers.
            child = child.next_sibling();
            continue;
        }
        const pugi::xml_node before = child.previous_sibling();
        if (FillTemplateNode(child, data))
            child = before ? before.next_sibling() : node.first_child();
        else
            child = child.next_sibling();
    }
    return false;
}

bool IsNestedTooDeep(pugi::xml_node document) {
    DepthProbe probe;
    document.traverse(probe);
    return probe.tooDeep;
}

} // namespace brisquel
