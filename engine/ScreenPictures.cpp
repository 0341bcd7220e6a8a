#include "ScreenPictures.h"

#include <algorithm>

#include "picture/Scaler.h"

namespace vexlo {

std::vector<ScreenInfo> ScreenPictures::Usable(const std::vector<ScreenInfo>& screens) {
    std::vector<ScreenInfo> usable;
    std::copy_if(screens.begin(), screens.end(), std::back_inserter(usable),
                 [](const ScreenInfo& s) { return s.width > 0 && s.height > 0; });
    return usable;
}

ScreenPictures::ScreenPictures(const std::vector<ScreenInfo>& screens, DesktopSize desktop,
                               const std::function<ScreenSource(const ScreenInfo&)>& sourceOf,
                               const QImage& primary, const std::string& primaryStyle) {
    const std::vector<ScreenInfo> usable = Usable(screens);
    const bool primaryFound =
        std::any_of(usable.begin(), usable.end(), [](const ScreenInfo& s) { return s.primary; });
    if (usable.size() <= 1 || !primaryFound) {
        // One screen (or screens that name no primary): the primary's picture
        // alone, as on a desktop that knows one screen.
        ScreenInfo only = usable.size() == 1
                              ? usable.front()
                              : ScreenInfo{.width = desktop.width, .height = desktop.height};
        only.primary = true;
        wallpapers_.push_back({only, RowsOf(primary), primaryStyle});
        return;
    }
    // References into made_ stay valid: it never holds more than one bitmap
    // a screen.
    made_.reserve(usable.size());
    for (const ScreenInfo& screen : usable) {
        if (screen.primary) {
            wallpapers_.push_back({screen, RowsOf(primary), primaryStyle});
            continue;
        }
        const ScreenSource source = sourceOf(screen);
        const Placement placement =
            PlaceOnScreen(*source.rules, source.decoded->width(), source.decoded->height(),
                          screen.width, screen.height);
        wallpapers_.push_back(
            {screen, RowsOf(Placed(*source.decoded, placement)), placement.style});
    }
}

const QImage& ScreenPictures::Placed(const QImage& decoded, const Placement& placement) {
    const QSize size(placement.width, placement.height);
    for (const Made& m : made_) {
        if (m.from == &decoded && m.scaled == placement.scaled && m.size == size) {
            return m.image;
        }
    }
    QImage image = placement.scaled ? ScaleAreaAverage(decoded, size.width(), size.height())
                                    : OpaqueOverWhite(decoded);
    made_.push_back({&decoded, size, placement.scaled, std::move(image)});
    return made_.back().image;
}

}  // namespace vexlo
