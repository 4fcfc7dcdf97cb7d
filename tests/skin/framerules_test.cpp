// The frame's rules as tables: title-bar button visibility codes and allowed actions, button placement by Align,
// caption placement, hit testing, the system menu's items and states, and the window shape from transparent edges.
#include <QFontMetrics>
#include <QGuiApplication>
#include <QTest>

#include "skin/frame/framehittest.h"
#include "skin/frame/framemask.h"
#include "skin/frame/systemmenu.h"
#include "skin/frame/titlebarlayout.h"

#include "frametestskin.h"

Q_DECLARE_METATYPE(FrameFacts)
Q_DECLARE_METATYPE(FrameHit)

namespace {

const QSize kWindow(300, 200);

FrameFacts normalWindow()
{
    FrameFacts facts;
    facts.size = kWindow;
    facts.thickness = QMargins(frametest::kLeftPx, frametest::kTopPx, frametest::kRightPx, frametest::kBottomPx);
    facts.border = BorderKind::Sizeable;
    facts.active = true;
    facts.hasSystemMenu = true;
    facts.hasMinimizeBox = true;
    facts.hasMaximizeBox = true;
    facts.resizable = true;
    return facts;
}

template<typename Change> FrameFacts changed(Change change)
{
    FrameFacts facts = normalWindow();
    change(facts);
    return facts;
}

struct MenuState
{
    SystemCommand command;
    bool enabled;
};

} // namespace

class FrameRulesTest : public QObject
{
    Q_OBJECT

private slots:
    void visibility_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("first");
        QTest::addColumn<FrameFacts>("facts");
        QTest::addColumn<bool>("holds");
        const FrameFacts normal = normalWindow();
        const FrameFacts maximized = changed([](FrameFacts &f) { f.maximized = true; });
        const FrameFacts inactive = changed([](FrameFacts &f) { f.active = false; });
        const FrameFacts noMenu = changed([](FrameFacts &f) { f.hasSystemMenu = false; });
        const FrameFacts noBoxes = changed([](FrameFacts &f) { f.hasMaximizeBox = f.hasMinimizeBox = false; });
        const FrameFacts dialog = changed([](FrameFacts &f) { f.border = BorderKind::Dialog; });
        const FrameFacts messageBox = changed([](FrameFacts &f) {
            f.border = BorderKind::Dialog;
            f.messageBox = true;
        });
        QTest::newRow("0 always") << 0 << true << normal << true;
        QTest::newRow("1 while maximized") << 1 << true << maximized << true;
        QTest::newRow("1 not while normal") << 1 << true << normal << false;
        QTest::newRow("2 while normal") << 2 << true << normal << true;
        QTest::newRow("2 not while maximized") << 2 << true << maximized << false;
        QTest::newRow("3 while active") << 3 << true << normal << true;
        QTest::newRow("3 not while inactive") << 3 << true << inactive << false;
        QTest::newRow("4 while inactive") << 4 << true << inactive << true;
        QTest::newRow("6 maximize box with system menu") << 6 << true << normal << true;
        QTest::newRow("6 as Visibility needs the system menu") << 6 << true << noMenu << false;
        QTest::newRow("6 as Visibility1 does not") << 6 << false << noMenu << true;
        QTest::newRow("6 without maximize box") << 6 << true << noBoxes << false;
        QTest::newRow("7 without maximize box") << 7 << true << noBoxes << true;
        QTest::newRow("8 minimize box as Visibility needs the system menu") << 8 << true << noMenu << false;
        QTest::newRow("8 as Visibility1 does not") << 8 << false << noMenu << true;
        QTest::newRow("9 without minimize box") << 9 << true << noBoxes << true;
        QTest::newRow("9 with minimize box") << 9 << true << normal << false;
        QTest::newRow("100 MDI: never here") << 100 << true << normal << false;
        QTest::newRow("200 dialog border") << 200 << true << dialog << true;
        QTest::newRow("200 not for a message box") << 200 << true << messageBox << false;
        QTest::newRow("200 not for a sizeable window") << 200 << true << normal << false;
        QTest::newRow("201 to 999 always") << 555 << true << normal << true;
        QTest::newRow("1000 to 2000 asks the window") << 1500 << true << normal << true;
        QTest::newRow("1000 to 2000 the window says no") << 1501 << true << normal << false;
        QTest::newRow("1000 to 2000 as Visibility1 always") << 1501 << false << normal << true;
        QTest::newRow("-1 never") << -1 << false << normal << false;
        QTest::newRow("5 never") << 5 << true << normal << false;
        QTest::newRow("3000 never") << 3000 << true << normal << false;
    }

    void visibility()
    {
        QFETCH(int, code);
        QFETCH(bool, first);
        QFETCH(FrameFacts, facts);
        QFETCH(bool, holds);
        const ButtonVisibilityQuery even = [](int asked, int) { return asked % 2 == 0; };
        QCOMPARE(visibilityHolds(code, first, facts, 0, even), holds);
    }

    void allowedActions_data()
    {
        QTest::addColumn<int>("action");
        QTest::addColumn<FrameFacts>("facts");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("close with system menu") << 0 << normalWindow() << true;
        QTest::newRow("close without system menu")
            << 0 << changed([](FrameFacts &f) { f.hasSystemMenu = false; }) << false;
        QTest::newRow("maximize without box") << 1 << changed([](FrameFacts &f) { f.hasMaximizeBox = false; }) << false;
        QTest::newRow("minimize without box") << 2 << changed([](FrameFacts &f) { f.hasMinimizeBox = false; }) << false;
        QTest::newRow("icon on a sizeable border") << 3 << normalWindow() << true;
        QTest::newRow("icon hidden on a dialog border")
            << 3 << changed([](FrameFacts &f) { f.border = BorderKind::Dialog; }) << false;
        QTest::newRow("action 11 hidden on a dialog border")
            << 11 << changed([](FrameFacts &f) { f.border = BorderKind::Dialog; }) << false;
        QTest::newRow("action 12 hidden on a dialog border")
            << 12 << changed([](FrameFacts &f) { f.border = BorderKind::Dialog; }) << false;
        QTest::newRow("custom action") << 40 << normalWindow() << true;
    }

    void allowedActions()
    {
        QFETCH(int, action);
        QFETCH(FrameFacts, facts);
        QFETCH(bool, allowed);
        QCOMPARE(actionAllowed(action, facts), allowed);
    }

    void buttonPlaces_data()
    {
        QTest::addColumn<TDataSkinSysButton>("button");
        QTest::addColumn<FrameFacts>("facts");
        QTest::addColumn<QRect>("rect"); // empty: not laid out
        const QSize size = frametest::kButtonSize;
        const FrameFacts normal = normalWindow();
        QTest::newRow("align 0 from the left") << frametest::button(40, 0, 7, 3) << normal << QRect({7, 3}, size);
        QTest::newRow("align 1 from the right")
            << frametest::button(40, 1, 50, 3) << normal << QRect({kWindow.width() - 50, 3}, size);
        // The caption starts at left edge 4 + TextShift 20 = 24.
        QTest::newRow("align 2 left of the caption")
            << frametest::button(40, 2, 5, 1) << normal << QRect({24 - 5 - size.width(), 1}, size);
        QTest::newRow("align 8 left of the caption")
            << frametest::button(40, 8, 0, 1) << normal << QRect({24 - size.width(), 1}, size);
        QTest::newRow("align 100 is for a menu bar") << frametest::button(7, 100, 5, 1) << normal << QRect();
        QTest::newRow("icon button at the icon size") << frametest::button(3, 0, 2, 2) << normal << QRect(2, 2, 16, 16);
        QTest::newRow("icon button hidden on a dialog border")
            << frametest::button(3, 0, 2, 2) << changed([](FrameFacts &f) { f.border = BorderKind::Dialog; })
            << QRect();
        QTest::newRow("visibility 1 while maximized")
            << frametest::button(1, 1, 50, 3, 1) << changed([](FrameFacts &f) { f.maximized = true; })
            << QRect({kWindow.width() - 50, 3}, size);
        QTest::newRow("visibility 1 hidden while normal") << frametest::button(1, 1, 50, 3, 1) << normal << QRect();
        QTest::newRow("visibility 3 while active")
            << frametest::button(40, 0, 7, 3, 3) << normal << QRect({7, 3}, size);
        QTest::newRow("visibility 3 hidden while inactive")
            << frametest::button(40, 0, 7, 3, 3) << changed([](FrameFacts &f) { f.active = false; }) << QRect();
        TDataSkinSysButton imageless = frametest::button(40, 0, 7, 3);
        imageless.image = QImage();
        QTest::newRow("a button without image is not laid out") << imageless << normal << QRect();
    }

    void buttonPlaces()
    {
        QFETCH(TDataSkinSysButton, button);
        QFETCH(FrameFacts, facts);
        QFETCH(QRect, rect);
        SkinObjects skin = frametest::skin();
        skin.sysButtons = {button};
        const QFontMetrics metrics(QFont(QStringLiteral("Liberation Sans"), 9));
        const TitleBarLayout layout = layoutTitleBar(skin, facts, QStringLiteral("T"), metrics, {16, 16}, {});
        QCOMPARE(layout.rectOf(0), rect);
        QCOMPARE(layout.buttons.size(), size_t(rect.isEmpty() ? 0 : 1));
    }

    void rightOfCaption()
    {
        SkinObjects skin = frametest::skin();
        skin.sysButtons = {frametest::button(40, 3, 6, 1), frametest::button(40, 9, 0, 1)};
        const QFontMetrics metrics(QFont(QStringLiteral("Liberation Sans"), 9));
        const TitleBarLayout layout = layoutTitleBar(skin, normalWindow(), QStringLiteral("Title"), metrics, {}, {});
        const int captionEnd = layout.captionRect.left() + layout.captionRect.width();
        QCOMPARE(layout.rectOf(0).left(), captionEnd + 6);
        QCOMPARE(layout.rectOf(1).left(), captionEnd);
    }

    void caption_data()
    {
        QTest::addColumn<int>("alignment");
        QTest::addColumn<FrameFacts>("facts");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("where"); // left, centre, right
        QTest::newRow("alignment 0 at TextShift") << 0 << normalWindow() << "Short"
                                                  << "left";
        QTest::newRow("alignment 1 centred") << 1 << normalWindow() << "Short"
                                             << "centre";
        QTest::newRow("alignment 2 before TextRightClip") << 2 << normalWindow() << "Short"
                                                          << "right";
        QTest::newRow("right to left is right aligned")
            << 0 << changed([](FrameFacts &f) { f.rightToLeft = true; }) << "Short"
            << "right";
        QTest::newRow("dialog: 16 pixels further left")
            << 0 << changed([](FrameFacts &f) { f.border = BorderKind::Dialog; }) << "Short"
            << "dialog";
    }

    void caption()
    {
        QFETCH(int, alignment);
        QFETCH(FrameFacts, facts);
        QFETCH(QString, title);
        QFETCH(QString, where);
        SkinObjects skin = frametest::skin();
        skin.title.textAlignment = alignment;
        const QFontMetrics metrics(QFont(QStringLiteral("Liberation Sans"), 9));
        const TitleBarLayout layout = layoutTitleBar(skin, facts, title, metrics, {}, {});
        const int width = metrics.horizontalAdvance(QLatin1Char(' ') + title + QLatin1Char(' '));
        const QRect area = facts.titleArea();
        const int expected = where == QLatin1String("left") ? area.left() + 20
            : where == QLatin1String("dialog")              ? area.left() + 20 - 16
            : where == QLatin1String("centre")              ? area.left() + (area.width() - width) / 2
                                                            : area.left() + area.width() - 40 - width;
        QCOMPARE(layout.captionRect, QRect(expected, 0, width, frametest::kTopPx));
        QCOMPARE(layout.text, QLatin1Char(' ') + title + QLatin1Char(' '));
    }

    void longCaptionIsClippedAndElided()
    {
        const SkinObjects skin = frametest::skin();
        const QFontMetrics metrics(QFont(QStringLiteral("Liberation Sans"), 9));
        const QString title(200, QLatin1Char('W'));
        const FrameFacts facts = normalWindow();
        const TitleBarLayout layout = layoutTitleBar(skin, facts, title, metrics, {}, {});
        QCOMPARE(layout.captionClip.right() + 1, kWindow.width() - frametest::kRightPx - 40);
        QVERIFY(layout.textRect.right() <= layout.captionClip.right());
        QVERIFY(layout.text.trimmed().endsWith(QChar(0x2026)));
        QVERIFY(metrics.horizontalAdvance(layout.text) <= layout.textRect.width());
        // The width at which it would fit: edges, shift, clip and the text.
        QCOMPARE(captionFitWidth(skin, facts, title, metrics),
            frametest::kLeftPx + frametest::kRightPx + 20 + 40
                + metrics.horizontalAdvance(QLatin1Char(' ') + title + QLatin1Char(' ')));
    }

    void hitTest_data()
    {
        QTest::addColumn<FrameFacts>("facts");
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<FrameHit>("hit");
        QTest::addColumn<int>("edges");
        const FrameFacts sizeable = normalWindow();
        const FrameFacts fixed = changed([](FrameFacts &f) {
            f.border = BorderKind::FixedSingle;
            f.resizable = false;
        });
        const FrameFacts maximized = changed([](FrameFacts &f) { f.maximized = true; });
        const int right = kWindow.width() - 1;
        const int bottom = kWindow.height() - 1;
        QTest::newRow("client") << sizeable << QPoint(100, 100) << FrameHit::Client << 0;
        QTest::newRow("outside") << sizeable << QPoint(-1, 5) << FrameHit::Client << 0;
        QTest::newRow("close button") << sizeable << QPoint(kWindow.width() - 15, 8) << FrameHit::Button << 0;
        QTest::newRow("icon button") << sizeable << QPoint(10, 10) << FrameHit::Button << 0;
        QTest::newRow("caption") << sizeable << QPoint(150, 10) << FrameHit::Caption << 0;
        QTest::newRow("top band resizes") << sizeable << QPoint(150, 1) << FrameHit::Resize << int(Qt::TopEdge);
        QTest::newRow("top left corner") << sizeable << QPoint(10, 0) << FrameHit::Resize
                                         << int(Qt::TopEdge | Qt::LeftEdge);
        QTest::newRow("left edge") << sizeable << QPoint(1, 100) << FrameHit::Resize << int(Qt::LeftEdge);
        QTest::newRow("bottom right corner")
            << sizeable << QPoint(right, bottom - 10) << FrameHit::Resize << int(Qt::BottomEdge | Qt::RightEdge);
        QTest::newRow("left edge inside the band is caption") << sizeable << QPoint(3, 100) << FrameHit::Caption << 0;
        QTest::newRow("bottom edge inside the band is caption")
            << sizeable << QPoint(100, bottom - 4) << FrameHit::Caption << 0;
        QTest::newRow("fixed: the band is bare border") << fixed << QPoint(150, 1) << FrameHit::Border << 0;
        QTest::newRow("fixed: caption below it") << fixed << QPoint(150, 3) << FrameHit::Caption << 0;
        QTest::newRow("maximized: no resizing") << maximized << QPoint(1, 100) << FrameHit::Border << 0;
    }

    void hitTest()
    {
        QFETCH(FrameFacts, facts);
        QFETCH(QPoint, point);
        QFETCH(FrameHit, hit);
        QFETCH(int, edges);
        const SkinObjects skin = frametest::skin();
        const QFontMetrics metrics(QFont(QStringLiteral("Liberation Sans"), 9));
        const TitleBarLayout layout = layoutTitleBar(skin, facts, QStringLiteral("T"), metrics, {16, 16}, {});
        const FrameHitResult result = frameHitTest(point, facts, layout);
        QCOMPARE(result.hit, hit);
        QCOMPARE(int(result.edges), edges);
        QCOMPARE(result.button >= 0, hit == FrameHit::Button);
    }

    void systemMenu_data()
    {
        QTest::addColumn<FrameFacts>("facts");
        QTest::addColumn<QList<int>>("commands");
        QTest::addColumn<QList<bool>>("enabled");
        const QList<int> full {int(SystemCommand::Restore), int(SystemCommand::Move), int(SystemCommand::Size),
            int(SystemCommand::Minimize), int(SystemCommand::Maximize), -1, int(SystemCommand::Close)};
        QTest::newRow("normal") << normalWindow() << full << QList<bool> {false, true, true, true, true, true, true};
        QTest::newRow("maximized: restore, no move, size or maximize")
            << changed([](FrameFacts &f) { f.maximized = true; }) << full
            << QList<bool> {true, false, false, true, false, true, true};
        QTest::newRow("minimized: restore, no minimize") << changed([](FrameFacts &f) { f.minimized = true; }) << full
                                                         << QList<bool> {true, true, true, false, true, true, true};
        QTest::newRow("fixed size: no size, no maximize") << changed([](FrameFacts &f) {
            f.resizable = false;
            f.hasMaximizeBox = false;
            f.border = BorderKind::FixedSingle;
        }) << full << QList<bool> {false, true, false, true, false, true, true};
        QTest::newRow("dialog without boxes: move and close") << changed([](FrameFacts &f) {
            f.border = BorderKind::Dialog;
            f.hasMaximizeBox = f.hasMinimizeBox = false;
        }) << QList<int> {int(SystemCommand::Move), -1, int(SystemCommand::Close)}
                                                              << QList<bool> {true, true, true};
    }

    void systemMenu()
    {
        QFETCH(FrameFacts, facts);
        QFETCH(QList<int>, commands);
        QFETCH(QList<bool>, enabled);
        const std::vector<SystemMenuItem> items = systemMenuItems(facts);
        QCOMPARE(int(items.size()), commands.size());
        for (int i = 0; i < commands.size(); ++i) {
            QCOMPARE(items[size_t(i)].command ? int(*items[size_t(i)].command) : -1, commands[i]);
            QCOMPARE(items[size_t(i)].enabled, enabled[i]);
        }
    }

    void menuGlyphs()
    {
        for (const SystemMenuItem &item : systemMenuItems(normalWindow())) {
            const int glyph = !item.command                ? -1
                : *item.command == SystemCommand::Restore  ? 0
                : *item.command == SystemCommand::Maximize ? 1
                : *item.command == SystemCommand::Minimize ? 2
                : *item.command == SystemCommand::Close    ? 3
                                                           : -1;
            QCOMPARE(item.glyph, glyph);
        }
    }

    void opaqueEdgesGiveThePlainRectangle()
    {
        const FrameFacts facts = normalWindow();
        QCOMPARE(frameMask(frametest::skin(), facts), QRegion(QRect({0, 0}, kWindow)));
    }

    void transparentTopCutsMagentaCorners()
    {
        SkinObjects skin = frametest::skin();
        // A top edge frame of 16 x 20 with 3 x 3 magenta corners at the top, fixed ends of 4 pixels.
        QImage top = frametest::framedImage({16, frametest::kTopPx}, {QColor(12, 22, 32), QColor(112, 122, 132)}, true);
        for (int frame = 0; frame < 2; ++frame) {
            for (int y = 0; y < 3; ++y) {
                for (int x = 0; x < 3; ++x) {
                    top.setPixel(x, frame * frametest::kTopPx + y, qRgb(255, 0, 255));
                    top.setPixel(15 - x, frame * frametest::kTopPx + y, qRgb(255, 1, 255));
                }
            }
        }
        skin.top->image = top;
        skin.top->leftWidth = 4;
        skin.top->rightWidth = 4;
        skin.top->trans = 1;
        const FrameFacts facts = normalWindow();
        const QRegion mask = frameMask(skin, facts);
        const int topLeft = frametest::kLeftPx;
        const int topRight = kWindow.width() - frametest::kRightPx - 1;
        QVERIFY(!mask.contains(QPoint(topLeft, 0)));
        QVERIFY(!mask.contains(QPoint(topLeft + 2, 2)));
        QVERIFY(mask.contains(QPoint(topLeft + 3, 0)));
        QVERIFY(mask.contains(QPoint(topLeft, 3)));
        QVERIFY(!mask.contains(QPoint(topRight, 0)));
        QVERIFY(!mask.contains(QPoint(topRight - 2, 2)));
        QVERIFY(mask.contains(QPoint(topRight - 3, 0)));
        // Everything else stays: the other edges (opaque), the client area and the middle of the top edge.
        QCOMPARE(mask, QRegion(facts.outerRect()) - QRegion(topLeft, 0, 3, 3) - QRegion(topRight - 2, 0, 3, 3));
    }

    void thinTransparentEdgeStaysWhole()
    {
        SkinObjects skin = frametest::skin();
        skin.left->image = frametest::framedImage({1, 8}, {QColor(255, 0, 255), QColor(255, 0, 255)}, false);
        skin.left->trans = 1;
        FrameFacts facts = normalWindow();
        facts.thickness.setLeft(1);
        QCOMPARE(frameMask(skin, facts), QRegion(facts.outerRect()));
    }
};

QTEST_MAIN(FrameRulesTest)
#include "framerules_test.moc"
