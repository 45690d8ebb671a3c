#include "project/ProjectCommands.h"

#include <memory>

#include "platform/Files.h"
#include "platform/Prompts.h"
#include "project/ProjectContext.h"
#include "project/ProjectFile.h"
#include "project/RomImport.h"

namespace {

constexpr char kProjectFilter[] = "Quenmark Project (*.qmp)|*.qmp|All Files (*.*)|*.*|";
constexpr char kNoProject[] = "Please open or create a project first.";

}  // namespace

std::filesystem::path WithProjectExtension(const std::filesystem::path& path) {
    return WithExtensionUnlessPresent(path, ".qmp");
}

bool NewProjectCommand(Prompts& prompts, const ProjectSetup& setup) {
    if (currentProject != nullptr &&
        !prompts.AskYesNo("   All unsaved changes will be lost if you create a new project.\n\n"
                          "\t\tCreate new project?",
                          "Create new project?")) {
        return false;
    }
    const auto path = prompts.ChooseOpenFile(
        "Select a Terranigma ROM file",
        "SNES ROM files (*.SMC;*.SFC;*.ROM;*.BS)|*.smc;*.sfc;*.rom;*.bs|All Files (*.*)|*.*|");
    if (!path) {
        return false;
    }
    // The size decides before anything is read, so a huge file is never loaded.
    const auto size = FileSize(*path);
    if (!size) {
        prompts.ShowMessage("Could not open file.");
        return false;
    }
    const auto header = CopierHeaderSize(*size);
    if (!header) {
        prompts.ShowMessage(
            "ROM has an incorrect size.\nOnly 4MB, 6MB with or without header are supported.");
        return false;
    }
    const auto file = ReadWholeFile(*path, *size);
    if (!file) {
        prompts.ShowMessage("Could not open file.");
        return false;
    }

    // The new project is built aside; the current one is replaced only when it succeeded.
    auto project = std::make_unique<ProjectContext>();
    std::string notice;
    if (!SetUpNewProject(*project, std::span(*file).subspan(*header), setup, &notice)) {
        prompts.ShowMessage(
            "This ROM is not supported or invalid.\nOnly the German, Spanish, Japanese and UK "
            "version are supported.");
        return false;
    }
    ReplaceCurrentProject(std::move(project));
    if (!notice.empty()) {
        prompts.ShowMessage(notice);
    }
    return true;
}

bool SetUpNewProject(ProjectContext& project, std::span<const std::uint8_t> image,
                     const ProjectSetup& setup, std::string* notice) {
    if (ImportRom(project, image, notice) == kRegionNone) {
        return false;
    }
    project.allocTable = {};
    project.allocBase = kAllocBase;
    if (setup) {
        setup(project);
    }
    return true;
}

bool OpenProjectCommand(Prompts& prompts, const ProjectSetup& setup) {
    if (currentProject != nullptr &&
        !prompts.AskYesNo("   All unsaved changes will be lost if you open a different project."
                          "\n\n\t\t   Open project?",
                          "Open project?")) {
        return false;
    }
    const auto path = prompts.ChooseOpenFile("Select File", kProjectFilter);
    if (!path) {
        return false;
    }
    // The path chosen in the open dialog is used as it is: it names a file that exists.
    auto project = std::make_unique<ProjectContext>();
    if (!LoadProject(*project, *path, prompts)) {
        return false;
    }
    if (setup) {
        setup(*project);
    }
    ReplaceCurrentProject(std::move(project));
    return true;
}

void SaveProjectAsCommand(Prompts& prompts) {
    if (currentProject == nullptr) {
        prompts.ShowMessage(kNoProject);
        return;
    }
    const auto path = prompts.ChooseSaveFile("Select File", kProjectFilter);
    if (!path) {
        return;
    }
    SaveProject(*currentProject, WithProjectExtension(*path), prompts);
}

void SaveRomAsCommand(Prompts& prompts) {
    if (currentProject == nullptr) {
        prompts.ShowMessage(kNoProject);
        return;
    }
    const auto path =
        prompts.ChooseSaveFile("Select File", "SNES ROM files (*.smc)|*.smc|All Files (*.*)|*.*|");
    if (!path) {
        return;
    }
    if (!WriteWholeFile(*path, currentProject->Image())) {
        prompts.ShowMessage("Could not save ROM.");
    }
}
