// Placing windows together on GNOME Shell, in rounds of requests sent at once.
#include "gnomeplacements.h"

#include "platform/anchoredrect.h"

namespace platform::gnome {

namespace {

constexpr int kPlaceAttempts = 3;

// A target during the rounds: its last answer, and the rectangle it ends at once it has answered.
struct Progress
{
    PlacementTarget target;
    std::optional<PlaceResult> placed;
    bool lost = false; // gone, or no answer: asked no more
};

// Places, all at once, each target that `rectFor` gives a rectangle for (and that is not lost).
void placeRound(const PlaceAll &placeAll, std::vector<Progress> &progress, bool maximize,
    const std::function<std::optional<QRect>(const Progress &)> &rectFor)
{
    std::vector<PlaceRequest> requests;
    std::vector<Progress *> asked;
    for (Progress &window : progress) {
        const std::optional<QRect> rect = window.lost ? std::nullopt : rectFor(window);
        if (rect) {
            requests.push_back({window.target.id, *rect, maximize});
            asked.push_back(&window);
        }
    }
    if (requests.empty()) {
        return;
    }
    const std::vector<std::optional<PlaceResult>> results = placeAll(requests);
    for (size_t i = 0; i < asked.size(); ++i) {
        const bool answered = i < results.size() && results[i] && results[i]->found;
        asked[i]->lost = !answered;
        asked[i]->placed = answered ? results[i] : std::nullopt;
    }
}

} // namespace

std::vector<bool> placeTogether(
    const PlaceAll &placeAll, const std::vector<PlacementTarget> &targets, const WindowPlacement &placement)
{
    const bool maximize = placement.showState == ShowState::Maximized;
    const QRect &asked = placement.normalRect;
    std::vector<Progress> progress;
    for (const PlacementTarget &target : targets) {
        progress.push_back({target, std::nullopt, false});
    }
    const auto passedOver = [&](const Progress &window) {
        if (!window.placed) {
            return true;
        }
        const QSize size = window.placed->normal.size();
        const QSize before = window.target.sizeBefore;
        const bool sizeRefused = size != asked.size() && (before.isEmpty() || size == before);
        return sizeRefused || window.placed->maximized != maximize;
    };
    for (int attempt = 0; attempt < kPlaceAttempts; ++attempt) {
        placeRound(placeAll, progress, maximize,
            [&](const Progress &window) { return passedOver(window) ? std::optional(asked) : std::nullopt; });
    }
    // Where each window ends, for the size it kept; fixed before the last round, which asks for it.
    std::vector<QRect> expected;
    for (const Progress &window : progress) {
        const QSize size = window.placed ? window.placed->normal.size() : asked.size();
        expected.push_back(anchoredRect(asked, size, placement.anchor, kCoordinateLimitPx));
    }
    placeRound(placeAll, progress, maximize, [&](const Progress &window) {
        const QRect &target = expected[size_t(&window - progress.data())];
        return window.placed->normal != target ? std::optional(target) : std::nullopt;
    });
    std::vector<bool> taken;
    for (size_t i = 0; i < progress.size(); ++i) {
        const Progress &window = progress[i];
        taken.push_back(!window.lost && window.placed->normal == expected[i] && window.placed->maximized == maximize);
    }
    return taken;
}

} // namespace platform::gnome
