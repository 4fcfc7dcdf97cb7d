// Tests of the TSkinData component: published properties and their defaults, the SkinStream framing, the
// older-package message, SkinFile, the form-load adjustments and the framing filters.
#include "skin/component/skindata.h"

#include <QMetaEnum>
#include <QMetaProperty>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include "skin/load/shippedskin.h"
#include "testpackage.h"

namespace {

QByteArray int32(qint32 value)
{
    QByteArray bytes(4, Qt::Uninitialized);
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray smallPackage(const QByteArray &skinName = "Small")
{
    return TestPackage("[TitlebarSkin]\r\nSkinName=" + skinName).package();
}

// A package whose unpacked image says format version 19999.
QByteArray olderPackage()
{
    std::vector<skinpack::PackageEntry> entries {{"skin.ini", {'[', 'X', ']'}}};
    std::vector<uint8_t> image = skinpack::unpackedImage(entries);
    image[0] = 0x1F; // 19999 = 0x4E1F
    image[1] = 0x4E;
    const std::vector<uint8_t> packed = skinpack::compressImage(image);
    return QByteArray(reinterpret_cast<const char *>(packed.data()), qsizetype(packed.size()));
}

QStringList enumKeys(const char *name)
{
    const QMetaEnum meta = TSkinData::staticMetaObject.enumerator(TSkinData::staticMetaObject.indexOfEnumerator(name));
    QStringList keys;
    for (int i = 0; i < meta.keyCount(); ++i) {
        keys.append(QString::fromLatin1(meta.key(i)));
    }
    return keys;
}

} // namespace

class SkinDataTest : public QObject
{
    Q_OBJECT

private slots:
    void defaults();
    void enumerationsInOrder();
    void readOnlyProperties();
    void skinStreamFraming_data();
    void skinStreamFraming();
    void skinStreamRoundTrip();
    void olderPackageMessageOncePerAttempt();
    void failedReloadKeepsTheSkin();
    void loadedIsAnnounced();
    void skinFile();
    void loadedSwitchesActiveOff_data();
    void loadedSwitchesActiveOff();
    void loadedKeepsOneMenuKind_data();
    void loadedKeepsOneMenuKind();
    void mayFrame_data();
    void mayFrame();
    void shippedPackage();
};

void SkinDataTest::defaults()
{
    TSkinData data;
    QCOMPARE(data.property("Active").toBool(), false);
    QCOMPARE(data.property("DisableTag").toInt(), 99);
    QCOMPARE(data.skinControls(),
        TSkinData::SkinControlSet::fromInt((1u << 22) - 1) & ~TSkinData::xcMenuItem & ~TSkinData::xcFastReport);
    QCOMPARE(data.options(), TSkinData::xoPreview | TSkinData::xoToolbarBK);
    QCOMPARE(data.property("SkinFile").toString(), QString());
    QCOMPARE(data.property("SkinStore").toString(), QStringLiteral("(none)"));
    QCOMPARE(data.skinFormType(), TSkinData::sfMainform);
    QCOMPARE(data.property("Version").toString(), QStringLiteral("1.0.0"));
    QCOMPARE(data.property("SkinStream").toByteArray(), int32(0));
    QCOMPARE(data.isSkinLoaded(), false);
    QVERIFY(!data.skin());
    const QStringList skin3rd = data.skin3rd();
    QCOMPARE(skin3rd.size(), 117);
    QCOMPARE(skin3rd.first(), QStringLiteral("TCategoryButtons=scrollbar"));
    QVERIFY(skin3rd.contains(QStringLiteral("TPngBitBtn=pngbitbtn")));
    QVERIFY(skin3rd.contains(QStringLiteral("TOVCNUMERICFIELD=Edit")));
    QVERIFY(skin3rd.indexOf(QStringLiteral("TLMDGroupBox=Groupbox"))
        < skin3rd.indexOf(QStringLiteral("TLMDGROUPBOX=Panel")));
    QCOMPARE(data.menuGlyphs().size(), QSize(64, 16));
}

void SkinDataTest::enumerationsInOrder()
{
    QCOMPARE(enumKeys("TSkinFormType"), (QStringList {"sfMainform", "sfOnlyThisForm", "sfDialog", "sfDLL"}));
    QCOMPARE(enumKeys("SkinOptionSet"),
        (QStringList {"xoMDIScrollbar", "xoMenuMerge", "xoTransparent", "xoPreview", "xoParentBackGround",
            "xoNoFocusRect", "xoToolbarBK", "xoMDIChildBorder", "xoMenuBG", "xoFormScrollbar"}));
    const QStringList controls = enumKeys("SkinControlSet");
    QCOMPARE(controls.size(), 22);
    QCOMPARE(controls.first(), QStringLiteral("xcMainMenu"));
    QCOMPARE(controls.at(9), QStringLiteral("xcScrollbar"));
    QCOMPARE(controls.last(), QStringLiteral("xcFastReport"));
    const QMetaEnum meta
        = TSkinData::staticMetaObject.enumerator(TSkinData::staticMetaObject.indexOfEnumerator("SkinControlSet"));
    for (int i = 0; i < meta.keyCount(); ++i) {
        QCOMPARE(quint32(meta.value(i)), 1u << i);
    }
}

void SkinDataTest::readOnlyProperties()
{
    TSkinData data;
    QVERIFY(!data.setProperty("Version", QStringLiteral("2.0")));
    QCOMPARE(data.version(), QStringLiteral("1.0.0"));
    QVERIFY(!data.setProperty("SkinStore", QStringLiteral("(Good)")));
    QCOMPARE(data.skinStore(), QStringLiteral("(none)"));
}

void SkinDataTest::skinStreamFraming_data()
{
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<bool>("stored");

    const QByteArray package = smallPackage();
    QTest::newRow("length and package") << int32(qint32(package.size())) + package << true;
    QTest::newRow("bytes after the package are ignored") << int32(qint32(package.size())) + package + "tail" << true;
    QTest::newRow("length 0") << int32(0) << false;
    QTest::newRow("negative length") << int32(-5) + package << false;
    QTest::newRow("length beyond the bytes") << int32(qint32(package.size()) + 1) + package << false;
    QTest::newRow("largest length") << int32(0x7fffffff) + package << false;
    QTest::newRow("three bytes") << QByteArray("\x01\0\0", 3) << false;
    QTest::newRow("nothing") << QByteArray() << false;
}

void SkinDataTest::skinStreamFraming()
{
    QFETCH(QByteArray, stream);
    QFETCH(bool, stored);
    TSkinData data;
    data.setProperty("SkinStream", stream);
    QCOMPARE(data.isSkinLoaded(), stored);
    if (stored) {
        QCOMPARE(data.skin()->skinName, QStringLiteral("Small"));
        const QByteArray package = smallPackage();
        QCOMPARE(data.skinStream(), int32(qint32(package.size())) + package);
    } else {
        QCOMPARE(data.skinStream(), int32(0));
    }
}

void SkinDataTest::skinStreamRoundTrip()
{
    const QByteArray framed = TSkinData::framedSkinStream(smallPackage());
    TSkinData first;
    first.setSkinStream(framed);
    TSkinData second;
    second.setSkinStream(first.skinStream());
    QCOMPARE(second.skinStream(), framed);
    QVERIFY(second.isSkinLoaded());
}

void SkinDataTest::olderPackageMessageOncePerAttempt()
{
    TSkinData data;
    QStringList messages;
    data.setMessageSink([&](const QString &text) { messages.append(text); });
    const QByteArray stream = TSkinData::framedSkinStream(olderPackage());
    data.setSkinStream(stream);
    QCOMPARE(messages, QStringList {QStringLiteral("This is Older Skin File\rPlease update to new version !")});
    QVERIFY(!data.isSkinLoaded());
    data.setSkinStream(stream);
    QCOMPARE(messages.size(), 2);
    data.setSkinStream(TSkinData::framedSkinStream(QByteArray("garbage that is no package")));
    QCOMPARE(messages.size(), 2); // other failures say nothing
    QVERIFY(!data.isSkinLoaded());
}

void SkinDataTest::failedReloadKeepsTheSkin()
{
    TSkinData data;
    data.setMessageSink([](const QString &) {});
    data.setSkinStream(TSkinData::framedSkinStream(smallPackage("First")));
    data.setSkinStream(TSkinData::framedSkinStream(olderPackage()));
    QVERIFY(data.isSkinLoaded());
    QCOMPARE(data.skin()->skinName, QStringLiteral("First"));
}

void SkinDataTest::loadedIsAnnounced()
{
    static QList<TSkinData *> heard;
    static const bool listening = [] {
        TSkinData::addLoadedListener([](TSkinData *skinData) { heard.append(skinData); });
        return true;
    }();
    QVERIFY(listening);
    heard.clear();
    TSkinData data;
    data.setSkinStream(TSkinData::framedSkinStream(smallPackage()));
    QVERIFY(heard.isEmpty()); // a stored package is not the end of loading
    data.loaded();
    QCOMPARE(heard, QList<TSkinData *> {&data});
    TSkinData withoutSkin;
    withoutSkin.loaded();
    QCOMPARE(heard, (QList<TSkinData *> {&data, &withoutSkin}));
}

void SkinDataTest::skinFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("mine.skn"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(smallPackage("FromFile"));
    file.close();

    TSkinData data;
    QSignalSpy changed(&data, &TSkinData::OnSkinChanged);
    data.setSkinFile(dir.filePath(QStringLiteral("absent.skn")));
    QCOMPARE(changed.count(), 0);
    QVERIFY(!data.isSkinLoaded());
    data.setSkinFile(path);
    QCOMPARE(changed.count(), 1);
    QVERIFY(data.isSkinLoaded());
    QCOMPARE(data.skin()->skinName, QStringLiteral("FromFile"));
    QCOMPARE(data.skinFile(), path);
    QCOMPARE(data.skinStore(), QStringLiteral("(none)"));
}

void SkinDataTest::loadedSwitchesActiveOff_data()
{
    QTest::addColumn<bool>("withSkin");
    QTest::addColumn<int>("formType");
    QTest::addColumn<bool>("activeAfter");

    QTest::newRow("main form with a skin stays active") << true << int(TSkinData::sfMainform) << true;
    QTest::newRow("main form without a skin is switched off") << false << int(TSkinData::sfMainform) << false;
    QTest::newRow("dialog component is left alone") << false << int(TSkinData::sfDialog) << true;
}

void SkinDataTest::loadedSwitchesActiveOff()
{
    QFETCH(bool, withSkin);
    QFETCH(int, formType);
    QFETCH(bool, activeAfter);
    TSkinData data;
    data.setSkinFormType(TSkinData::TSkinFormType(formType));
    data.setActive(true); // while loading the value is kept as given
    if (withSkin) {
        data.setSkinStream(TSkinData::framedSkinStream(smallPackage()));
    }
    QSignalSpy activeChanged(&data, &TSkinData::activeChanged);
    data.loaded();
    QCOMPARE(data.active(), activeAfter);
    QCOMPARE(activeChanged.count(), activeAfter ? 0 : 1);

    // After loading, a component without a skin ignores true.
    data.setActive(false);
    data.setActive(true);
    QCOMPARE(data.active(), withSkin);
}

void SkinDataTest::loadedKeepsOneMenuKind_data()
{
    QTest::addColumn<uint>("before");
    QTest::addColumn<uint>("after");

    const uint all = (1u << 22) - 1;
    QTest::newRow("main menu skinned: no menu items") << all << (all & ~uint(TSkinData::xcMenuItem));
    QTest::newRow("no main menu: no system menu")
        << (all & ~uint(TSkinData::xcMainMenu))
        << (all & ~uint(TSkinData::xcMainMenu) & ~uint(TSkinData::xcSystemMenu));
}

void SkinDataTest::loadedKeepsOneMenuKind()
{
    QFETCH(uint, before);
    QFETCH(uint, after);
    TSkinData data;
    data.setSkinControls(TSkinData::SkinControlSet::fromInt(before));
    data.loaded();
    QCOMPARE(uint(data.skinControls().toInt()), after);
}

void SkinDataTest::mayFrame_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<bool>("fastReport");
    QTest::addColumn<bool>("preview");
    QTest::addColumn<int>("handler"); // -1 none, 0 vetoes, 1 allows
    QTest::addColumn<bool>("expected");

    QTest::newRow("ordinary window") << "TMainWnd" << false << true << -1 << true;
    QTest::newRow("month calendar refused") << "SysMonthCal32" << false << true << -1 << false;
    QTest::newRow("report class allowed without xcFastReport") << "TfrDesigner" << false << true << -1 << true;
    QTest::newRow("report class refused with xcFastReport") << "TfrDesigner" << true << true << -1 << false;
    QTest::newRow("preview allowed with xoPreview") << "TPrintPreviewForm" << false << true << -1 << true;
    QTest::newRow("preview refused without xoPreview") << "TPrintPreviewForm" << false << false << -1 << false;
    QTest::newRow("handler alone decides: allows the calendar") << "SysMonthCal32" << false << true << 1 << true;
    QTest::newRow("handler alone decides: vetoes") << "TMainWnd" << false << true << 0 << false;
    QTest::newRow("preview filter applies after the handler") << "TPreview" << false << false << 1 << false;
}

void SkinDataTest::mayFrame()
{
    QFETCH(QString, className);
    QFETCH(bool, fastReport);
    QFETCH(bool, preview);
    QFETCH(int, handler);
    QFETCH(bool, expected);
    TSkinData data;
    data.setSkinControls(data.skinControls().setFlag(TSkinData::xcFastReport, fastReport));
    data.setOptions(data.options().setFlag(TSkinData::xoPreview, preview));
    QString askedFor;
    if (handler >= 0) {
        data.OnFormSkin = [&](TSkinData *sender, const QString &name, bool &doSkin) {
            QCOMPARE(sender, &data);
            QVERIFY(doSkin);
            askedFor = name;
            doSkin = handler == 1;
        };
    }
    QCOMPARE(data.mayFrame(className), expected);
    QCOMPARE(askedFor, handler >= 0 ? className : QString());
}

void SkinDataTest::shippedPackage()
{
    TSkinData data;
    data.setActive(true);
    data.setOptions(TSkinData::xoPreview | TSkinData::xoNoFocusRect | TSkinData::xoToolbarBK);
    data.setSkinStream(TSkinData::framedSkinStream(shippedSkinPackage()));
    data.loaded();
    QVERIFY(data.isSkinLoaded());
    QVERIFY(data.active());
    QCOMPARE(data.skin()->skinName, QStringLiteral("Framewright"));
    QCOMPARE(data.buttonFaceBrush().color(), data.skin()->colours.buttonFace);
}

QTEST_MAIN(SkinDataTest)
#include "skindata_test.moc"
