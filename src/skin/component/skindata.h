// TSkinData: the skin component of a form. Owns the skin package (stored as SkinStream or read from
// SkinFile), the skin objects loaded from it and the settings that decide which windows and controls are
// skinned. Messages for the user go through the message sink the application sets. It knows nothing of who
// frames windows: the skin manager hears of it through the listeners of components that finish loading.
#pragma once

#include <QBrush>
#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "skin/model/skinobjects.h"
#include "skin/model/skinsource.h"

class QWidget;

class TSkinData : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool Active READ active WRITE setActive NOTIFY activeChanged)
    Q_PROPERTY(int DisableTag READ disableTag WRITE setDisableTag)
    Q_PROPERTY(SkinControlSet SkinControls READ skinControls WRITE setSkinControls)
    Q_PROPERTY(SkinOptionSet Options READ options WRITE setOptions)
    Q_PROPERTY(QStringList Skin3rd READ skin3rd WRITE setSkin3rd)
    Q_PROPERTY(QString SkinFile READ skinFile WRITE setSkinFile)
    Q_PROPERTY(QString SkinStore READ skinStore)
    Q_PROPERTY(TSkinFormType SkinFormtype READ skinFormType WRITE setSkinFormType)
    Q_PROPERTY(QString Version READ version)
    Q_PROPERTY(QByteArray SkinStream READ skinStream WRITE setSkinStream)

public:
    // Kinds of menus and controls that may be skinned; bit n is the n-th kind.
    enum TSkinControlType : quint32 {
        xcMainMenu = 1u << 0,
        xcPopupMenu = 1u << 1,
        xcMenuItem = 1u << 2,
        xcToolbar = 1u << 3,
        xcControlbar = 1u << 4,
        xcCombo = 1u << 5,
        xcCheckBox = 1u << 6,
        xcRadioButton = 1u << 7,
        xcProgress = 1u << 8,
        xcScrollbar = 1u << 9,
        xcEdit = 1u << 10,
        xcButton = 1u << 11,
        xcBitBtn = 1u << 12,
        xcSpeedButton = 1u << 13,
        xcSpin = 1u << 14,
        xcPanel = 1u << 15,
        xcGroupBox = 1u << 16,
        xcStatusBar = 1u << 17,
        xcTab = 1u << 18,
        xcTrackBar = 1u << 19,
        xcSystemMenu = 1u << 20,
        xcFastReport = 1u << 21,
    };
    Q_DECLARE_FLAGS(SkinControlSet, TSkinControlType)
    Q_FLAG(SkinControlSet)

    // Behaviour switches; bit n is the n-th option.
    enum TSkinOption : quint32 {
        xoMDIScrollbar = 1u << 0,
        xoMenuMerge = 1u << 1,
        xoTransparent = 1u << 2,
        xoPreview = 1u << 3,
        xoParentBackGround = 1u << 4,
        xoNoFocusRect = 1u << 5,
        xoToolbarBK = 1u << 6,
        xoMDIChildBorder = 1u << 7,
        xoMenuBG = 1u << 8,
        xoFormScrollbar = 1u << 9,
    };
    Q_DECLARE_FLAGS(SkinOptionSet, TSkinOption)
    Q_FLAG(SkinOptionSet)

    // Which forms the component serves.
    enum TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };
    Q_ENUM(TSkinFormType)

    static constexpr SkinControlSet kDefaultSkinControls
        = SkinControlSet::fromInt((1u << 22) - 1 - xcMenuItem - xcFastReport);
    static constexpr SkinOptionSet kDefaultOptions = SkinOptionSet::fromInt(xoPreview | xoToolbarBK);
    static constexpr int kDefaultDisableTag = 99;
    // Budget of a stored package or a skin file; far above any real skin (tens of kilobytes).
    static constexpr qint64 kMaxPackageBytes = 64 * 1024 * 1024;

    // Tells the user something (the older-package message); set by the application.
    using MessageSink = std::function<void(const QString &text)>;
    // May veto framing a window of the given class: set doSkin to false (it starts true).
    using FormSkinHandler = std::function<void(TSkinData *sender, const QString &className, bool &doSkin)>;
    // May supply the skin object for a control before the engine matches it; null lets the engine match.
    using SkinControlHandler = std::function<QObject *(
        QObject *sender, TSkinData *skinData, QWidget *form, QWidget *control, const QString &controlClass)>;

    explicit TSkinData(QObject *owner = nullptr);
    ~TSkinData() override;

    bool active() const { return m_active; }
    // Before loaded() the value is kept as given; afterwards a component without a skin ignores true.
    void setActive(bool active);
    int disableTag() const { return m_disableTag; }
    void setDisableTag(int tag) { m_disableTag = tag; }
    SkinControlSet skinControls() const { return m_skinControls; }
    void setSkinControls(SkinControlSet controls);
    SkinOptionSet options() const { return m_options; }
    void setOptions(SkinOptionSet options);
    QStringList skin3rd() const { return m_skin3rd; }
    void setSkin3rd(const QStringList &lines) { m_skin3rd = lines; }
    TSkinFormType skinFormType() const { return m_formType; }
    void setSkinFormType(TSkinFormType type) { m_formType = type; }
    QString version() const { return QStringLiteral("1.0.0"); }

    QString skinFile() const { return m_skinFile; }
    // An existing file within the budget replaces the package and is loaded, and OnSkinChanged follows.
    void setSkinFile(const QString &fileName);
    // "(none)": a stored package shows as "(Good)" only in a form designer, which this program has not.
    QString skinStore() const { return QStringLiteral("(none)"); }

    // The stored form of the package: a signed 32-bit little-endian length L, then L bytes.
    QByteArray skinStream() const;
    // Reads the stored form and loads the package at once: L <= 0 stores no package; an L beyond the bytes
    // given or the budget stores none either.
    void setSkinStream(const QByteArray &stream);
    // The stored form of a package.
    static QByteArray framedSkinStream(const QByteArray &package);

    void setMessageSink(MessageSink sink) { m_messageSink = std::move(sink); }
    FormSkinHandler OnFormSkin;
    SkinControlHandler OnSkinControl;

    // The owner form has finished loading its properties: takes the caption font; for sfMainform
    // switches Active off when no skin loaded, keeps only one of xcMenuItem and xcSystemMenu (the
    // latter when xcMainMenu is skinned) and captures the application icon. Then every loaded listener
    // hears of the component (the skin manager registers it and frames the windows it serves from then on).
    void loaded();

    // Called with each component that finishes loading, for the life of the process. The skin manager adds
    // itself when it is linked in.
    using LoadedListener = std::function<void(TSkinData *skinData)>;
    static void addLoadedListener(LoadedListener listener);

    // Whether a window of this class may be framed by this component: OnFormSkin alone decides when
    // set (otherwise "SysMonthCal32" and, with xcFastReport, classes starting with "Tfr" are refused);
    // without xoPreview a class whose lower-cased name contains "preview" is refused as well.
    bool mayFrame(const QString &className);

    // The not-loaded flag is clear: a description has been read completely.
    bool isSkinLoaded() const { return m_source->skin.has_value(); }
    // The loaded skin, or null.
    const SkinObjects *skin() const { return m_source->skin ? &*m_source->skin : nullptr; }
    // The skin and the painting settings, kept current for the component's life.
    std::shared_ptr<const SkinSource> source() const { return m_source; }
    QBrush buttonFaceBrush() const;
    QFont captionFont() const { return m_captionFont; }
    QImage smallIcon() const { return m_smallIcon; }   // the application icon, magenta transparent
    QImage menuGlyphs() const { return m_menuGlyphs; } // 16 x 16 glyphs: restore, maximize, minimize, close

signals:
    void activeChanged(bool active);
    // A skin was loaded from SkinFile (or re-applied); raised after the change.
    void OnSkinChanged();

private:
    void loadPackage();
    void captureApplicationIcon();
    void updateSource();

    bool m_active = false;
    int m_disableTag = kDefaultDisableTag;
    SkinControlSet m_skinControls = kDefaultSkinControls;
    SkinOptionSet m_options = kDefaultOptions;
    QStringList m_skin3rd;
    QString m_skinFile;
    TSkinFormType m_formType = sfMainform;
    bool m_formLoaded = false;

    QByteArray m_package; // the package proper, kept for the component's life
    std::shared_ptr<SkinSource> m_source;
    MessageSink m_messageSink;
    QFont m_captionFont;
    QImage m_smallIcon;
    QImage m_menuGlyphs;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TSkinData::SkinControlSet)
Q_DECLARE_OPERATORS_FOR_FLAGS(TSkinData::SkinOptionSet)
