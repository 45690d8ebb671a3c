#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "project/ProjectContext.h"
#include "scripts/ScriptDisassembler.h"
#include "tests/support/SyntheticImage.h"

// A 1 MB image of the German release with script bytes put into it, and walks over a project
// made from it as it is at the time of the walk.
class ScriptWalkFixture {
public:
    SyntheticImage image{SyntheticImage::k1MB, SyntheticImage::Region::German};

    void Put(std::uint32_t offset, std::vector<std::uint8_t> bytes) {
        image.PutBytes(offset, bytes);
    }

    // Walks from `address` (without a log unless asked) and returns the listing's top node;
    // `end` receives the reader's position afterwards.
    ScriptTreeNode Walk(std::uint32_t address, ScriptWalkOptions options = {.writeLog = false},
                        std::uint32_t* end = nullptr) {
        ProjectContext project;
        project.romImage = image.Bytes();
        project.romSize = image.Size();
        project.regionIndex = SyntheticImage::RegionIndex(SyntheticImage::Region::German);
        ScriptReader reader(project);
        ScriptTreeNode top;
        DisassembleScript(reader, top, address, options);
        if (end != nullptr) {
            *end = reader.position;
        }
        return top;
    }
};

// The texts of the items directly under a node.
inline std::vector<std::string> Texts(const ScriptTreeNode& node) {
    std::vector<std::string> texts;
    for (const ScriptTreeNode& child : node.children) {
        texts.push_back(child.text);
    }
    return texts;
}

// The items of a walk in order: the instructions of every run, and the commands.
inline std::vector<std::string> FlatItems(const ScriptTreeNode& top) {
    std::vector<std::string> items;
    for (const ScriptTreeNode& item : top.children) {
        if (item.text.ends_with("    assembler")) {
            for (const ScriptTreeNode& instruction : item.children) {
                items.push_back(instruction.text);
            }
        } else {
            items.push_back(item.text);
        }
    }
    return items;
}

// A file's text; empty when it cannot be read.
inline std::string FileText(const std::filesystem::path& path) {
    const std::vector<std::uint8_t> bytes =
        ReadWholeFile(path).value_or(std::vector<std::uint8_t>{});
    return {bytes.begin(), bytes.end()};
}
