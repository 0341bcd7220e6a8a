#include "ScreenPictures.h"

#include "picture/Scaler.h"

namespace vexlo {

ScreenPictures::ScreenPictures(const std::vector<ScreenInfo>& screens, DesktopSize desktop,
                               const PlacementRules& rules, const QImage& decoded,
                               const QImage& primary, const std::string& primaryStyle) {
    std::vector<ScreenPlacement> placed =
        decoded.isNull() ? std::vector<ScreenPlacement>{}
                         : PlaceOnScreens(rules, decoded.width(), decoded.height(), screens);
    bool primaryFound = false;
    for (const ScreenPlacement& p : placed) {
        primaryFound = primaryFound || p.screen.primary;
    }
    if (placed.size() <= 1 || !primaryFound) {
        // One screen (or screens that name no primary): the primary's picture
        // alone, as on a desktop that knows one screen.
        ScreenInfo only{.width = desktop.width, .height = desktop.height};
        if (placed.size() == 1) {
            only = placed.front().screen;
        } else if (screens.size() == 1 && screens.front().width > 0 && screens.front().height > 0) {
            only = screens.front();
        }
        only.primary = true;
        wallpapers_.push_back({only, RowsOf(primary), primaryStyle});
        return;
    }
    // Pointers into made_ are taken only once every bitmap is made.
    made_.reserve(placed.size());
    std::vector<const QImage*> images;
    for (const ScreenPlacement& p : placed) {
        images.push_back(p.screen.primary ? &primary : &Placed(decoded, p.placement));
    }
    for (std::size_t i = 0; i < placed.size(); ++i) {
        const std::string& style =
            placed[i].screen.primary ? primaryStyle : placed[i].placement.style;
        wallpapers_.push_back({placed[i].screen, RowsOf(*images[i]), style});
    }
}

const QImage& ScreenPictures::Placed(const QImage& decoded, const Placement& placement) {
    const QSize size(placement.width, placement.height);
    for (const Made& m : made_) {
        if (m.scaled == placement.scaled && m.size == size) {
            return m.image;
        }
    }
    QImage image = placement.scaled ? ScaleAreaAverage(decoded, size.width(), size.height())
                                    : OpaqueOverWhite(decoded);
    made_.push_back({size, placement.scaled, std::move(image)});
    return made_.back().image;
}

}  // namespace vexlo
