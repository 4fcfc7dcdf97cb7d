// Push buttons, check boxes and radio buttons painted by the skin style, offscreen: the frame for every state
// against the test skin's solid frames, whole buttons of the shipped skin against images drawn with the shared
// nine-slice code and the skin's colours, and the matching rules that keep the platform look.
#include <QCheckBox>
#include <QGroupBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTest>

#include "skin/controls/controlmatcher.h"
#include "skin/controls/controlskins.h"
#include "skin/draw/nineslice.h"
#include "skin/load/shippedskin.h"
#include "skin/style/skinpainters.h"
#include "skin/style/skinregistry.h"
#include "testskin.h"

Q_DECLARE_METATYPE(SkinKind)

// A group whose class name says it is a radio group, as the framework's radio groups.
class RadioGroup : public QGroupBox
{
    Q_OBJECT

public:
    using QGroupBox::QGroupBox;
};

namespace {

QRgb pixelAt(QWidget *widget, QPoint point)
{
    return widget->grab().toImage().pixel(point);
}

SkinKind kindOf(const QWidget *widget)
{
    const SkinRegistry::Control *control = SkinRegistry::instance().control(widget);
    return control ? control->kind : SkinKind::None;
}

// A button as the shipped skin draws it: button face, the Buttons frame nine-sliced, the caption centred.
QImage expectedButton(const SkinObjects &skin, const QPushButton &button, int frame, const QColor &caption)
{
    QImage image(button.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(skin.colours.buttonFace);
    QPainter painter(&image);
    const TDataSkinButton &buttons = *skin.buttons;
    drawNineSlice(painter, image.rect(), buttons.image,
        frameRect(buttons.image.size(), buttons.frameCount, frame, FrameStacking::SideBySide), marginsOf(buttons),
        buttons.tile == 1, buttons.trans != 0);
    painter.setFont(button.font());
    painter.setPen(caption);
    painter.drawText(image.rect().adjusted(2, 2, -2, -2), Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic,
        ButtonSkin::buttonCaption(button.text()));
    return image;
}

QImage grabbed(QWidget *widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

class ButtonSkinTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void buttonFrames_data();
    void buttonFrames();
    void shippedButtons_data();
    void shippedButtons();
    void captionColours_data();
    void captionColours();
    void spaceHeldOnFocusedButton();
    void twoLineCaption();
    void focusRectangle();
    void checkBoxFrames_data();
    void checkBoxFrames();
    void radioFrames_data();
    void radioFrames();
    void disableTag();
    void skin3rdNilBeatsFrameworkRule();
    void skin3rdKinds();
    void skinControlsElementRequired();
    void applicationSuppliesTheSkinObject();
    void missingButtonsImageKeepsFusion();

private:
    void skin(const testskin::Options &options = {});
    void useShippedSkin();
    void activate(QWidget *focus);

    std::unique_ptr<QWidget> m_host;
    std::unique_ptr<TSkinData> m_data;
};

void ButtonSkinTest::init()
{
    m_host = std::make_unique<QWidget>();
    m_host->resize(320, 200);
    m_data = std::make_unique<TSkinData>();
}

void ButtonSkinTest::cleanup()
{
    m_host.reset();
    m_data.reset();
}

void ButtonSkinTest::skin(const testskin::Options &options)
{
    testskin::load(*m_data, options);
    QVERIFY(m_data->skin());
    m_host->show();
    skinWindowControls(m_host.get(), m_data.get());
}

void ButtonSkinTest::useShippedSkin()
{
    m_data->setOptions(TSkinData::xoPreview | TSkinData::xoNoFocusRect | TSkinData::xoToolbarBK);
    m_data->setSkinStream(TSkinData::framedSkinStream(shippedSkinPackage()));
    QVERIFY(m_data->skin());
    m_host->show();
    skinWindowControls(m_host.get(), m_data.get());
}

void ButtonSkinTest::activate(QWidget *focus)
{
    m_host->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_host.get()));
    focus->setFocus();
    QTRY_VERIFY(focus->hasFocus());
}

void ButtonSkinTest::buttonFrames_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("down");
    QTest::addColumn<bool>("hot");
    QTest::addColumn<bool>("focused");
    QTest::addColumn<int>("frame");
    QTest::newRow("normal") << true << false << false << false << 1;
    QTest::newRow("pressed") << true << true << false << false << 2;
    QTest::newRow("hot") << true << false << true << false << 4;
    QTest::newRow("pressed beats hot") << true << true << true << false << 2;
    QTest::newRow("focused") << true << false << false << true << 5;
    QTest::newRow("hot beats focused") << true << false << true << true << 4;
    QTest::newRow("disabled") << false << false << false << false << 3;
    QTest::newRow("disabled beats hot") << false << false << true << false << 3;
}

void ButtonSkinTest::buttonFrames()
{
    QFETCH(bool, enabled);
    QFETCH(bool, down);
    QFETCH(bool, hot);
    QFETCH(bool, focused);
    QFETCH(int, frame);
    auto *button = new QPushButton(QStringLiteral("Apply"), m_host.get());
    button->setGeometry(10, 10, 96, 25);
    auto *other = new QPushButton(QStringLiteral("Other"), m_host.get());
    other->setGeometry(10, 40, 96, 25);
    skin();
    activate(focused ? button : other);
    button->setEnabled(enabled);
    button->setDown(down);
    button->setAttribute(Qt::WA_UnderMouse, hot);
    QCOMPARE(kindOf(button), SkinKind::Button);
    QCOMPARE(QColor(pixelAt(button, QPoint(1, 12))), QColor(testskin::frameColour(testskin::Buttons, frame)));
    QCOMPARE(QColor(pixelAt(button, QPoint(94, 1))), QColor(testskin::frameColour(testskin::Buttons, frame)));
}

void ButtonSkinTest::shippedButtons_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("down");
    QTest::addColumn<bool>("hot");
    QTest::addColumn<int>("frame");
    QTest::newRow("normal") << true << false << false << 1;
    QTest::newRow("pressed") << true << true << false << 2;
    QTest::newRow("hot") << true << false << true << 4;
    QTest::newRow("disabled: shadow-coloured caption") << false << false << false << 3;
}

void ButtonSkinTest::shippedButtons()
{
    QFETCH(bool, enabled);
    QFETCH(bool, down);
    QFETCH(bool, hot);
    QFETCH(int, frame);
    auto *button = new QPushButton(QStringLiteral("&Refresh list"), m_host.get());
    button->setGeometry(10, 10, 96, 25);
    useShippedSkin();
    button->setEnabled(enabled);
    button->setDown(down);
    button->setAttribute(Qt::WA_UnderMouse, hot);
    const SkinObjects &skin = *m_data->skin();
    const QColor caption = enabled ? skin.colours.buttonText : skin.colours.buttonShadow;
    QCOMPARE(grabbed(button), expectedButton(skin, *button, frame, caption));
}

void ButtonSkinTest::captionColours_data()
{
    QTest::addColumn<bool>("hot");
    QTest::addColumn<QColor>("caption");
    QTest::newRow("frame 1: NormalColour2") << false << QColor(0, 128, 0);
    QTest::newRow("frame 4 without MouseOverColour2: ButtonText") << true << testskin::kButtonText;
}

void ButtonSkinTest::captionColours()
{
    QFETCH(bool, hot);
    QFETCH(QColor, caption);
    auto *button = new QPushButton(QStringLiteral("Apply"), m_host.get());
    button->setGeometry(10, 10, 96, 25);
    testskin::Options options;
    options.normalColour2 = true;
    skin(options);
    button->setAttribute(Qt::WA_UnderMouse, hot);
    QCOMPARE(grabbed(button), expectedButton(*m_data->skin(), *button, hot ? 4 : 1, caption));
}

void ButtonSkinTest::spaceHeldOnFocusedButton()
{
    auto *button = new QPushButton(QStringLiteral("Apply"), m_host.get());
    button->setGeometry(10, 10, 96, 25);
    skin();
    activate(button);
    QCOMPARE(QColor(pixelAt(button, QPoint(1, 12))), QColor(testskin::frameColour(testskin::Buttons, 5)));
    QTest::keyPress(button, Qt::Key_Space);
    QCOMPARE(QColor(pixelAt(button, QPoint(1, 12))), QColor(testskin::frameColour(testskin::Buttons, 2)));
    QTest::keyRelease(button, Qt::Key_Space);
    QCOMPARE(QColor(pixelAt(button, QPoint(1, 12))), QColor(testskin::frameColour(testskin::Buttons, 5)));
}

void ButtonSkinTest::twoLineCaption()
{
    QCOMPARE(ButtonSkin::buttonCaption(QStringLiteral("Read||window")), QStringLiteral("Read\nwindow"));
    auto *button = new QPushButton(QStringLiteral("Read||window"), m_host.get());
    button->setGeometry(10, 10, 96, 44);
    useShippedSkin();
    const SkinObjects &skin = *m_data->skin();
    const QImage image = grabbed(button);
    QCOMPARE(image, expectedButton(skin, *button, 1, skin.colours.buttonText));
    // The caption's ink spans two lines.
    int top = image.height();
    int bottom = -1;
    const QImage plain = expectedButton(skin, *button, 1, skin.colours.buttonText);
    for (int y = 4; y < image.height() - 4; ++y) {
        for (int x = 4; x < image.width() - 4; ++x) {
            if (qGray(image.pixel(x, y)) < 100) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    QVERIFY(bottom - top > button->fontMetrics().height());
}

void ButtonSkinTest::focusRectangle()
{
    auto *button = new QPushButton(QStringLiteral("Apply"), m_host.get());
    button->setGeometry(10, 10, 96, 25);
    useShippedSkin();
    activate(button);
    const SkinObjects &skin = *m_data->skin();
    const QImage focused = expectedButton(skin, *button, 5, skin.colours.buttonText);
    QCOMPARE(grabbed(button), focused); // xoNoFocusRect: frame 5, no focus rectangle
    m_data->setOptions(m_data->options() & ~TSkinData::xoNoFocusRect);
    QVERIFY(grabbed(button) != focused);
}

void ButtonSkinTest::checkBoxFrames_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("frame");
    QTest::newRow("unchecked") << true << int(Qt::Unchecked) << 1;
    QTest::newRow("checked") << true << int(Qt::Checked) << 5;
    QTest::newRow("disabled unchecked") << false << int(Qt::Unchecked) << 4;
    QTest::newRow("disabled checked") << false << int(Qt::Checked) << 8;
    QTest::newRow("indeterminate") << true << int(Qt::PartiallyChecked) << 9;
    QTest::newRow("disabled indeterminate") << false << int(Qt::PartiallyChecked) << 12;
}

void ButtonSkinTest::checkBoxFrames()
{
    QFETCH(bool, enabled);
    QFETCH(int, state);
    QFETCH(int, frame);
    auto *box = new QCheckBox(QStringLiteral("Maximized"), m_host.get());
    box->setTristate(true);
    box->setGeometry(10, 10, 188, 17);
    skin();
    box->setCheckState(Qt::CheckState(state));
    box->setEnabled(enabled);
    // A 13 x 13 box at the left, vertically centred.
    QCOMPARE(QColor(pixelAt(box, QPoint(0, 2))), QColor(testskin::frameColour(testskin::CheckBox, frame)));
    QCOMPARE(QColor(pixelAt(box, QPoint(12, 14))), QColor(testskin::frameColour(testskin::CheckBox, frame)));
    QVERIFY(QColor(pixelAt(box, QPoint(13, 8))) != QColor(testskin::frameColour(testskin::CheckBox, frame)));
    QCOMPARE(ButtonSkin::checkBoxFrame(QStyle::State_Enabled | QStyle::State_On, 4), 2);
    QCOMPARE(ButtonSkin::checkBoxFrame(QStyle::State_On, 4), 4);
    QCOMPARE(ButtonSkin::checkBoxFrame(QStyle::State_Enabled | QStyle::State_NoChange, 4), 4);
}

void ButtonSkinTest::radioFrames_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<int>("frame");
    QTest::newRow("unchecked") << true << false << 1;
    QTest::newRow("checked") << true << true << 5;
    QTest::newRow("disabled unchecked") << false << false << 4;
    QTest::newRow("disabled checked") << false << true << 8;
}

void ButtonSkinTest::radioFrames()
{
    QFETCH(bool, enabled);
    QFETCH(bool, checked);
    QFETCH(int, frame);
    auto *radio = new QRadioButton(QStringLiteral("pixels"), m_host.get());
    radio->setGeometry(10, 10, 48, 17);
    skin();
    radio->setChecked(checked);
    radio->setEnabled(enabled);
    QCOMPARE(QColor(pixelAt(radio, QPoint(6, 8))), QColor(testskin::frameColour(testskin::Radio, frame)));
    QCOMPARE(ButtonSkin::radioFrame(QStyle::State_On, 4), 4);
    QCOMPARE(ButtonSkin::radioFrame(QStyle::State_Enabled, 4), 1);
}

void ButtonSkinTest::disableTag()
{
    auto *tagged = new QPushButton(QStringLiteral("Apply"), m_host.get());
    tagged->setGeometry(10, 10, 96, 25);
    tagged->setProperty("Tag", 99);
    auto *group = new RadioGroup(m_host.get());
    group->setGeometry(120, 10, 150, 80);
    group->setProperty("Tag", 99);
    auto *inGroup = new QRadioButton(QStringLiteral("Left"), group);
    inGroup->setGeometry(10, 20, 100, 17);
    auto *outside = new QRadioButton(QStringLiteral("Right"), m_host.get());
    outside->setGeometry(10, 100, 100, 17);
    const QImage platformButton = grabbed(tagged);
    skin();
    QCOMPARE(kindOf(tagged), SkinKind::None);
    QCOMPARE(grabbed(tagged), platformButton);
    QCOMPARE(kindOf(group), SkinKind::None);
    QCOMPARE(kindOf(inGroup), SkinKind::None);
    QCOMPARE(inGroup->property("Tag").toInt(), 99);
    QCOMPARE(kindOf(outside), SkinKind::RadioButton);
}

void ButtonSkinTest::skin3rdNilBeatsFrameworkRule()
{
    auto *button = new QPushButton(QStringLiteral("Apply"), m_host.get());
    auto *box = new QCheckBox(QStringLiteral("Maximized"), m_host.get());
    m_data->setSkin3rd(
        {QStringLiteral("TButton=button"), QStringLiteral("QPushButton=nil"), QStringLiteral("qpushbutton=button")});
    skin();
    QCOMPARE(kindOf(button), SkinKind::None);
    QCOMPARE(kindOf(box), SkinKind::CheckBox);
}

void ButtonSkinTest::skin3rdKinds()
{
    QCOMPARE(skin3rdKind({QStringLiteral("TRzCheckGroup=CheckGroup")}, QStringLiteral("trzcheckgroup")),
        QStringLiteral("checkgroup"));
    QCOMPARE(skin3rdKind({QStringLiteral("TRzButtonEdit=edit")}, QStringLiteral("TRzButton")), std::nullopt);
    QCOMPARE(skin3rdKind({QStringLiteral("A=") + QString(60, QLatin1Char('x'))}, QStringLiteral("a"))->size(), 50);
    // A class mapped to "radiogroup": its children become radio buttons, itself a group box.
    auto *group = new RadioGroup(m_host.get());
    auto *child = new QRadioButton(QStringLiteral("Left"), group);
    m_data->setSkin3rd({QStringLiteral("RadioGroup=Radiogroup")});
    skin();
    QCOMPARE(kindOf(group), SkinKind::GroupBox);
    QCOMPARE(kindOf(child), SkinKind::RadioButton);
}

void ButtonSkinTest::skinControlsElementRequired()
{
    auto *button = new QPushButton(QStringLiteral("Apply"), m_host.get());
    auto *radio = new QRadioButton(QStringLiteral("pixels"), m_host.get());
    m_data->setSkinControls(TSkinData::kDefaultSkinControls & ~TSkinData::xcButton);
    skin();
    QCOMPARE(kindOf(button), SkinKind::None);
    QCOMPARE(kindOf(radio), SkinKind::RadioButton);
}

void ButtonSkinTest::applicationSuppliesTheSkinObject()
{
    auto *own = new QPushButton(QStringLiteral("Own"), m_host.get());
    own->setObjectName(QStringLiteral("OwnBtn"));
    auto *other = new QPushButton(QStringLiteral("Other"), m_host.get());
    QObject skinObject;
    QStringList offered;
    QList<QWidget *> forms;
    m_data->OnSkinControl
        = [&](QObject *, TSkinData *, QWidget *form, QWidget *control, const QString &controlClass) -> QObject * {
        offered << controlClass;
        forms << form;
        return control == own ? &skinObject : nullptr;
    };
    skin();
    QCOMPARE(forms, (QList<QWidget *> {m_host.get(), m_host.get()}));
    QCOMPARE(offered, (QStringList {QStringLiteral("QPUSHBUTTON"), QStringLiteral("QPUSHBUTTON")}));
    QCOMPARE(kindOf(own), SkinKind::None);
    QCOMPARE(kindOf(other), SkinKind::Button);
}

void ButtonSkinTest::missingButtonsImageKeepsFusion()
{
    auto *button = new QPushButton(QStringLiteral("Apply"), m_host.get());
    button->setGeometry(10, 10, 96, 25);
    auto *box = new QCheckBox(QStringLiteral("Maximized"), m_host.get());
    box->setGeometry(10, 40, 120, 17);
    testskin::Options options;
    options.leftOut = {QStringLiteral("Buttons")};
    skin(options);
    QCOMPARE(kindOf(button), SkinKind::Button);
    // Fusion's button and box in the skin's colours, as in a window that is not skinned.
    QWidget plainWindow;
    plainWindow.setPalette(m_host->palette());
    plainWindow.resize(m_host->size());
    auto *plainButton = new QPushButton(button->text(), &plainWindow);
    plainButton->setGeometry(button->geometry());
    auto *plainBox = new QCheckBox(box->text(), &plainWindow);
    plainBox->setGeometry(box->geometry());
    plainWindow.show();
    QCOMPARE(grabbed(button), grabbed(plainButton));
    QCOMPARE(grabbed(box), grabbed(plainBox));
}

QTEST_MAIN(ButtonSkinTest)
#include "buttonskin_test.moc"
