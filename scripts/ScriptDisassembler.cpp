#include "scripts/ScriptDisassembler.h"

#include <cstdio>
#include <memory>

#include "project/ProjectContext.h"
#include "scripts/ScriptWalk.h"

std::uint32_t ScriptNestingDepth = 0;

namespace {

constexpr std::uint32_t kMaxNestingDepth = 6;
constexpr std::uint8_t kCommandIntroducer = 0x02;  // COP

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

struct NestingGuard {
    NestingGuard() { ++ScriptNestingDepth; }
    ~NestingGuard() { --ScriptNestingDepth; }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;
};

std::string Formatted(std::string_view format, std::initializer_list<FormatArg> args) {
    std::string text;
    AppendFormat(text, format, args);
    return text;
}

bool WalkCanGoOn(ScriptWalk& walk) {
    if (walk.items >= kMaxWalkItems) {
        walk.StopAt("[Warning max items reached]");
        return false;
    }
    if (walk.position() >= walk.image.size()) {
        walk.StopAt(kEndOfImageWarning);
        return false;
    }
    return true;
}

// The texts of every command and run, parsed once.
const CompiledFormat kCommandLogHead("cop( 0x%06X ); break; case 0x");
const CompiledFormat kCommandLogTail("%06X: //  %02X\n");
const CompiledFormat kLabelLog("loc_%06X:\n");
const CompiledFormat kRunItem("[%06X]    assembler");

void WalkCommand(ScriptWalk& walk) {
    if (walk.log != nullptr) {
        kCommandLogHead.AppendTo(*walk.log, {{walk.position() | kLogAddressBit}});
    }
    ++walk.position();
    const std::uint8_t command = walk.Byte(walk.position());
    if (!walk.Fits(walk.position(), 1)) {
        walk.StopAt(kEndOfImageWarning);
    } else {
        HandleScriptCommand(walk);
    }
    if (walk.log != nullptr) {
        kCommandLogTail.AppendTo(*walk.log, {{walk.position() | kLogAddressBit}, {command}});
    }
}

void WalkAssemblerRun(ScriptWalk& walk, bool mFlag) {
    walk.scratch.clear();
    kRunItem.AppendTo(walk.scratch, {{walk.position()}});
    ScriptTreeNode& run = walk.AddCopy(walk.parent, walk.scratch);
    // Most runs between two commands are a few instructions: room for them at once.
    run.children.reserve(8);
    walk.accumulatorIs8Bit = mFlag;
    walk.pendingLabel = 0;
    while (WalkCanGoOn(walk)) {
        // A pending label of 0 means none: offset 0 gets no label of its own.
        if (walk.pendingLabel != 0 && walk.position() == walk.pendingLabel) {
            if (walk.log != nullptr) {
                kLabelLog.AppendTo(*walk.log, {{walk.pendingLabel | kLogAddressBit}});
            }
            walk.pendingLabel = 0;
        }
        walk.previousOpcode = DecodeInstruction(walk, run);
        if (walk.stop || walk.Byte(walk.position()) == kCommandIntroducer) {
            return;
        }
    }
}

}  // namespace

void DisassembleScript(ScriptReader& reader, ScriptTreeNode& parent, std::uint32_t address,
                       const ScriptWalkOptions& options) {
    const ProjectContext& project = reader.project;
    reader.position = project.WrapRomOffset(address);
    if (options.root) {
        parent.Add(Formatted("Script offset: %06X", {{reader.position}}));
        ScriptNestingDepth = 0;
    }
    // A header cut off by the image end, or a start past it, is not shown with made-up bytes,
    // and no log is made for an offset outside the image.
    constexpr std::uint32_t kHeaderSize = 5;
    if (options.header) {
        if (!InRange(project.Image().size(), reader.position, kHeaderSize)) {
            parent.Add(std::string(kEndOfImageWarning));
            return;
        }
        parent.Add(
            Formatted("Script flags:[%02X][%04X][%04X]", {{project.Read8(reader.position)},
                                                          {project.Read16(reader.position + 1)},
                                                          {project.Read16(reader.position + 3)}}));
        reader.position += kHeaderSize;
    }
    if (reader.position >= project.Image().size()) {
        parent.Add(std::string(kEndOfImageWarning));
        return;
    }
    if (ScriptNestingDepth > kMaxNestingDepth) {
        parent.Add("[Warning max script reached]");
        return;
    }
    NestingGuard nesting;

    std::unique_ptr<std::FILE, FileCloser> logFile;
    std::string logText;
    if (options.writeLog) {
        char name[32];
        std::snprintf(name, sizeof name, "script_%06X.log", reader.position);
        logFile.reset(std::fopen(name, "w+"));
    }
    ScriptWalk walk{reader, project.Image(), parent, logFile ? &logText : nullptr};
    while (!walk.stop && WalkCanGoOn(walk)) {
        if (walk.Byte(walk.position()) == kCommandIntroducer) {
            WalkCommand(walk);
        } else {
            WalkAssemblerRun(walk, options.mFlag);
        }
    }
    if (logFile) {
        // One write at the end: the log is built in memory, not flushed per command.
        std::fwrite(logText.data(), 1, logText.size(), logFile.get());
    }
}
