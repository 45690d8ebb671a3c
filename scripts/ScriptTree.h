#pragma once

#include <string>
#include <string_view>
#include <vector>

// One item of a listing (disassembly, header script, object list): its text in UTF-8 and its
// children. The core builds these trees; the pages only show them.
struct ScriptTreeNode {
    std::string text;
    std::vector<ScriptTreeNode> children;

    ScriptTreeNode& Add(std::string childText) {
        ScriptTreeNode& child = children.emplace_back();
        child.text = std::move(childText);
        return child;
    }
    // A child with a copy of `childText`, made in place.
    ScriptTreeNode& AddCopy(std::string_view childText) {
        ScriptTreeNode& child = children.emplace_back();
        child.text.assign(childText);
        return child;
    }
};
