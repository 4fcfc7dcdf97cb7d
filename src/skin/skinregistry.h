// SkinRegistry: which windows and controls are skinned, as what kind and from which TSkinData. The skin
// style asks it on every paint; skinWindowControls fills it and unskinWindowControls empties it per window.
// Entries go away with their widgets.
#pragma once

#include <QHash>
#include <QObject>
#include <QPalette>
#include <QPointer>
#include <QWidget>

#include "controlmatcher.h"

class TSkinData;

class SkinRegistry : public QObject
{
    Q_OBJECT

public:
    struct Control
    {
        SkinKind kind = SkinKind::None;
        QPointer<TSkinData> skinData;
        const QWidget *window = nullptr; // the skinned window the control was matched in
    };

    static SkinRegistry &instance();

    // The entry of a control, null when it was never matched (or matched as SkinKind::None).
    const Control *control(const QWidget *widget) const;
    bool isMatched(const QWidget *widget) const { return m_controls.contains(widget); }
    void addControl(QWidget *widget, SkinKind kind, TSkinData *skinData, const QWidget *window);

    // A control that keeps the platform look takes the palette its window had before it was skinned, until
    // the window is unskinned.
    void keepPlatformPalette(QWidget *control, const QWidget *window);

    // A window and the palette it had before it was skinned (restored when it is unskinned).
    bool isSkinned(const QWidget *window) const { return m_windows.contains(window); }
    void addWindow(QWidget *window, TSkinData *skinData);
    // Forgets the window and its controls; gives the window its palette back.
    void removeWindow(QWidget *window);
    // The skin of the nearest skinned window among the widget and its ancestors, else the skin of the first
    // window ever skinned while it still serves one; null when none.
    TSkinData *skinFor(const QWidget *widget) const;

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
        QPointer<TSkinData> skinData;
        SavedPalette palette;
        QList<std::pair<QPointer<QWidget>, SavedPalette>> keptControls; // controls given the platform palette
    };

    void watch(QWidget *widget);

    QHash<const QObject *, Control> m_controls;
    QHash<const QObject *, Window> m_windows;
    QPointer<TSkinData> m_firstSkin;
};
