// The registry of skinned windows and controls.
#include "skinregistry.h"

#include <QWidget>

SkinRegistry &SkinRegistry::instance()
{
    static SkinRegistry registry;
    return registry;
}

const SkinRegistry::Control *SkinRegistry::control(const QWidget *widget) const
{
    const auto found = m_controls.constFind(widget);
    if (found == m_controls.constEnd() || found->kind == SkinKind::None) {
        return nullptr;
    }
    return &*found;
}

void SkinRegistry::addControl(
    QWidget *widget, SkinKind kind, std::weak_ptr<const SkinSource> source, const QWidget *window)
{
    watch(widget);
    m_controls.insert(widget, {kind, std::move(source), window});
}

void SkinRegistry::addWindow(QWidget *window, std::weak_ptr<const SkinSource> source)
{
    if (m_windows.contains(window)) {
        return;
    }
    watch(window);
    if (m_firstSource.expired()) {
        m_firstSource = source;
    }
    m_windows.insert(window, {std::move(source), SavedPalette::of(*window), {}});
}

void SkinRegistry::removeWindow(QWidget *window)
{
    const auto found = m_windows.constFind(window);
    if (found == m_windows.constEnd()) {
        return;
    }
    const Window saved = *found;
    m_windows.erase(found);
    saved.palette.restore(*window);
    for (const auto &[control, palette] : saved.keptControls) {
        if (control) {
            palette.restore(*control);
        }
    }
    for (auto it = m_controls.begin(); it != m_controls.end();) {
        it = it->window == window ? m_controls.erase(it) : std::next(it);
    }
}

void SkinRegistry::keepPlatformPalette(QWidget *control, const QWidget *window)
{
    const auto found = m_windows.find(window);
    if (found == m_windows.end()) {
        return;
    }
    for (const auto &kept : std::as_const(found->keptControls)) {
        if (kept.first == control) {
            return;
        }
    }
    found->keptControls.append({control, SavedPalette::of(*control)});
    // Every role set explicitly, so that none is inherited from the skinned window.
    QPalette platform;
    for (int group = 0; group < QPalette::NColorGroups; ++group) {
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            const auto g = QPalette::ColorGroup(group);
            const auto r = QPalette::ColorRole(role);
            platform.setBrush(g, r, found->palette.palette.brush(g, r));
        }
    }
    control->setPalette(platform);
}

SkinRegistry::SavedPalette SkinRegistry::SavedPalette::of(const QWidget &widget)
{
    return {widget.palette(), widget.testAttribute(Qt::WA_SetPalette)};
}

void SkinRegistry::SavedPalette::restore(QWidget &widget) const
{
    widget.setPalette(own ? palette : QPalette());
}

std::shared_ptr<const SkinSource> SkinRegistry::sourceFor(const QWidget *widget) const
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        if (const auto found = m_windows.constFind(w); found != m_windows.constEnd()) {
            return found->source.lock();
        }
    }
    const std::shared_ptr<const SkinSource> first = m_firstSource.lock();
    for (const Window &window : m_windows) {
        if (first && window.source.lock() == first) {
            return first;
        }
    }
    return nullptr;
}

void SkinRegistry::watch(QWidget *widget)
{
    connect(widget, &QObject::destroyed, this, &SkinRegistry::forget, Qt::UniqueConnection);
}

void SkinRegistry::forget(QObject *object)
{
    m_controls.remove(object);
    m_windows.remove(object);
}
