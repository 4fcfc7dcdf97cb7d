// SkinRegistry: which windows and controls are skinned, as what kind and from which skin source. The skin
// style asks it on every paint; skinWindowControls fills it and unskinWindowControls empties it per window.
// Entries go away with their widgets; a source is held weakly and paints nothing once its component has gone.
#pragma once

#include <QHash>
#include <QObject>
#include <QPalette>
#include <QPointer>
#include <QWidget>
#include <memory>

#include "skintarget.h"

class SkinRegistry : public QObject
{
    Q_OBJECT

public:
    struct Control
    {
        SkinKind kind = SkinKind::None;
        std::weak_ptr<const SkinSource> source;
        const QWidget *window = nullptr; // the skinned window the control was matched in
    };

    static SkinRegistry &instance();

    // The entry of a control, null when it was never matched (or matched as SkinKind::None).
    const Control *control(const QWidget *widget) const;
    bool isMatched(const QWidget *widget) const { return m_controls.contains(widget); }
    void addControl(QWidget *widget, SkinKind kind, std::weak_ptr<const SkinSource> source, const QWidget *window);

    // A control that keeps the platform look takes the palette its window had before it was skinned, until
    // the window is unskinned.
    void keepPlatformPalette(QWidget *control, const QWidget *window);

    // A window and the palette it had before it was skinned (restored when it is unskinned).
    bool isSkinned(const QWidget *window) const { return m_windows.contains(window); }
    void addWindow(QWidget *window, std::weak_ptr<const SkinSource> source);
    // Forgets the window and its controls; gives the window its palette back.
    void removeWindow(QWidget *window);
    // The source of the nearest skinned window among the widget and its ancestors, else the source of the
    // first window ever skinned while it still serves one; null when none (or when its component has gone).
    std::shared_ptr<const SkinSource> sourceFor(const QWidget *widget) const;

private slots:
    void forget(QObject *object);

private:
    struct SavedPalette
    {
        QPalette palette;
        bool own = false; // the widget had a palette of its own
        static SavedPalette of(const QWidget &widget);
        void restore(QWidget &widget) const;
    };
    struct Window
    {
        std::weak_ptr<const SkinSource> source;
        SavedPalette palette;
        QList<std::pair<QPointer<QWidget>, SavedPalette>> keptControls; // controls given the platform palette
    };

    void watch(QWidget *widget);

    QHash<const QObject *, Control> m_controls;
    QHash<const QObject *, Window> m_windows;
    std::weak_ptr<const SkinSource> m_firstSource;
};
