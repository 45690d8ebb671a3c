#include "editors/TitleScreenPageModel.h"

#include "editors/TitleScreen.h"
#include "platform/DataFolder.h"
#include "platform/Prompts.h"
#include "project/ProjectContext.h"

namespace {

constexpr std::uint32_t kHighlight = 0xFF00FF00;
constexpr std::uint8_t kHighlightAlpha = 75;

bool HasImage(const ProjectContext* project) {
    return project != nullptr && project->HasImage();
}

}  // namespace

std::size_t TitleScreenPageModel::Block() const {
    return layoutLine == 1 || layoutLine == 2 ? static_cast<std::size_t>(layoutLine) : 0;
}

std::vector<std::string> TitleScreenPageModel::DrawScreen(const ProjectContext* project) {
    if (!HasImage(project)) {
        return {};
    }
    saveEnabled = true;
    layoutEnabled = true;
    return DrawTitleScreen(*project, screen, tileSet);
}

void TitleScreenPageModel::Load(const ProjectContext* project, Prompts& prompts) {
    const std::vector<std::string> missing = DrawScreen(project);
    LayoutSelChange(project);
    if (!missing.empty()) {
        std::string parts;
        for (const std::string& part : missing) {
            parts += (parts.empty() ? "" : ", ") + part;
        }
        prompts.ShowMessage("This ROM image holds no title-screen data where its tables point (" +
                            parts + "); those parts are not drawn.");
    }
}

void TitleScreenPageModel::Clear() {
    *this = TitleScreenPageModel();
}

void TitleScreenPageModel::Save(ProjectContext* project, Prompts& prompts) {
    if (HasImage(project)) {
        ImportTitleFiles(*project, DataSubfolder(kTitleDataFolder), prompts);
    }
}

void TitleScreenPageModel::LayoutSelChange(const ProjectContext* project) {
    tileLines.clear();
    tileLine = -1;
    if (!HasImage(project)) {
        return;
    }
    const std::uint32_t count = TitlePieceCount(*project, Block());
    for (std::uint32_t k = 0; k < count; ++k) {
        tileLines.push_back("Tile " + std::to_string(k));
    }
}

void TitleScreenPageModel::TileSelChange(const ProjectContext* project) {
    if (!HasImage(project) || tileLine < 0) {
        return;
    }
    const auto piece = ReadTitlePiece(*project, Block(), static_cast<std::uint32_t>(tileLine));
    if (!piece) {
        return;
    }
    DrawTitleTileSet(*project, tileSet);
    const Canvas green(piece->Side(), piece->Side(), kHighlight);
    tileSet.Blend(green.Source(), piece->SourceX(), piece->SourceY(), 0, 0, piece->Side(),
                  piece->Side(), kHighlightAlpha);
    large = piece->Large();
}

void TitleScreenPageModel::TileSetClick(ProjectContext* project, int x, int y) {
    if (HasImage(project) && tileLine >= 0 &&
        SetTitlePieceTile(*project, Block(), static_cast<std::uint32_t>(tileLine), x, y, large)) {
        DrawScreen(project);
    }
}

void TitleScreenPageModel::ScreenClick(ProjectContext* project, int x, int y) {
    if (HasImage(project) && tileLine >= 0 &&
        SetTitlePiecePosition(*project, Block(), static_cast<std::uint32_t>(tileLine), x, y,
                              large)) {
        DrawScreen(project);
    }
}
