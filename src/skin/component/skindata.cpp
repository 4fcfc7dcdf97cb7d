// TSkinData: package storage and framing, loading, the settings and the form-load adjustments.
#include "skindata.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QIcon>
#include <QStyle>
#include <QtEndian>
#include <span>
#include <vector>

#include "skin/draw/builtinimages.h"
#include "skin/draw/nineslice.h"
#include "skin/format/skinreader.h"
#include "skin/load/skinloader.h"
#include "skin/model/platformlook.h"
#include "skin3rd.h"

namespace {

constexpr qsizetype kLengthBytes = 4;
constexpr int kDefaultSmallIconPx = 16;

std::vector<TSkinData::LoadedListener> &loadedListeners()
{
    static std::vector<TSkinData::LoadedListener> listeners;
    return listeners;
}

} // namespace

TSkinData::TSkinData(QObject *owner)
    : QObject(owner)
    , m_skin3rd(defaultSkin3rd())
    , m_source(std::make_shared<SkinSource>())
    , m_menuGlyphs(builtinMenuGlyphs())
{
    updateSource();
}

TSkinData::~TSkinData() = default;

void TSkinData::addLoadedListener(LoadedListener listener)
{
    loadedListeners().push_back(std::move(listener));
}

void TSkinData::setSkinControls(SkinControlSet controls)
{
    m_skinControls = controls;
    updateSource();
}

void TSkinData::setOptions(SkinOptionSet options)
{
    m_options = options;
    updateSource();
}

void TSkinData::updateSource()
{
    m_source->transparentButtons = m_options.testFlag(xoTransparent);
    m_source->noFocusRect = m_options.testFlag(xoNoFocusRect);
    m_source->opaqueMenus = m_options.testFlag(xoMenuBG);
    m_source->popupMenus = m_skinControls.testFlag(xcPopupMenu);
    m_source->systemMenu = m_skinControls.testFlag(xcSystemMenu);
}

void TSkinData::setActive(bool active)
{
    if (m_formLoaded && active && !isSkinLoaded()) {
        return;
    }
    if (active != m_active) {
        m_active = active;
        emit activeChanged(active);
    }
}

void TSkinData::setSkinFile(const QString &fileName)
{
    m_skinFile = fileName;
    QFile file(fileName);
    if (fileName.isEmpty() || !file.open(QIODevice::ReadOnly) || file.size() > kMaxPackageBytes) {
        return;
    }
    m_package = file.readAll();
    loadPackage();
    emit OnSkinChanged();
}

QByteArray TSkinData::skinStream() const
{
    return framedSkinStream(m_package);
}

void TSkinData::setSkinStream(const QByteArray &stream)
{
    m_package.clear();
    if (stream.size() < kLengthBytes) {
        return;
    }
    const qint32 length = qFromLittleEndian<qint32>(stream.constData());
    if (length <= 0 || length > stream.size() - kLengthBytes || length > kMaxPackageBytes) {
        return;
    }
    m_package = stream.mid(kLengthBytes, length);
    loadPackage();
}

QByteArray TSkinData::framedSkinStream(const QByteArray &package)
{
    QByteArray stream(kLengthBytes, Qt::Uninitialized);
    qToLittleEndian<qint32>(static_cast<qint32>(package.size()), stream.data());
    return stream + package;
}

void TSkinData::loadPackage()
{
    const std::span<const uint8_t> bytes(
        reinterpret_cast<const uint8_t *>(m_package.constData()), static_cast<size_t>(m_package.size()));
    SkinLoadResult result = loadSkin(bytes, PlatformLook::current());
    if (result.packageError == SkinReadError::OlderVersion) {
        const QString message = QString::fromLatin1(kOlderSkinMessage.data(), kOlderSkinMessage.size());
        if (m_messageSink) {
            m_messageSink(message);
        } else {
            qWarning("%s", qPrintable(message));
        }
    }
    if (result.objects) {
        m_source->skin = std::move(result.objects);
    }
}

void TSkinData::loaded()
{
    m_formLoaded = true;
    if (qGuiApp) {
        m_captionFont = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    }
    if (m_formType == sfMainform) {
        if (m_active && !isSkinLoaded()) {
            m_active = false;
            emit activeChanged(false);
        }
        if (m_skinControls.testFlag(xcMainMenu)) {
            m_skinControls.setFlag(xcMenuItem, false);
        } else {
            m_skinControls.setFlag(xcSystemMenu, false);
        }
        updateSource();
        captureApplicationIcon();
    }
    for (const LoadedListener &listener : loadedListeners()) {
        listener(this);
    }
}

void TSkinData::captureApplicationIcon()
{
    if (!qGuiApp) {
        return;
    }
    const auto *application = qobject_cast<QApplication *>(QCoreApplication::instance());
    const int size = application ? QApplication::style()->pixelMetric(QStyle::PM_SmallIconSize) : kDefaultSmallIconPx;
    const QIcon icon = QGuiApplication::windowIcon();
    m_smallIcon = icon.isNull() ? QImage() : keyedOut(icon.pixmap(size, size).toImage());
}

bool TSkinData::mayFrame(const QString &className)
{
    bool doSkin = true;
    if (OnFormSkin) {
        OnFormSkin(this, className, doSkin);
    } else if (className == QLatin1String("SysMonthCal32")
        || (m_skinControls.testFlag(xcFastReport) && className.startsWith(QLatin1String("Tfr")))) {
        doSkin = false;
    }
    if (!m_options.testFlag(xoPreview) && className.toLower().contains(QLatin1String("preview"))) {
        doSkin = false;
    }
    return doSkin;
}

QBrush TSkinData::buttonFaceBrush() const
{
    const SkinObjects *objects = skin();
    return QBrush(objects ? objects->colours.buttonFace : PlatformLook::current().colours.buttonFace);
}
