#pragma once

#include <string>
#include <vector>

// One item of a listing (disassembly, header script, object list): its text in UTF-8 and its
// children. The core builds these trees; the pages only show them.
struct ScriptTreeNode {
    std::string text;
    std::vector<ScriptTreeNode> children;

    ScriptTreeNode& Add(std::string childText) {
        children.push_back(ScriptTreeNode{std::move(childText), {}});
        return children.back();
    }
};
