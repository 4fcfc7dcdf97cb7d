// The skinned frame on real widgets (offscreen, shipped skin): which windows are framed, the client size kept
// when framing and unframing, message boxes, caption drags and double clicks, title-bar buttons and their
// actions, the system menu from a right click, Alt+Space and the icon button, and switching skinning off.
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include "skin/component/skindata.h"
#include "skin/frame/skinmanage.h"
#include "skin/frame/titlebarlayout.h"
#include "skin/frame/winskinform.h"
#include "skin/load/shippedskin.h"
#include "testpackage.h"

namespace {

// The shipped skin: edges 4, 30, 4 and 4 pixels thick.
const QMargins kFrame(4, 30, 4, 4);
const QSize kClient(300, 200);

QWidget *overlayOf(QWidget *window)
{
    return window->findChild<QWidget *>(QStringLiteral("FrameOverlay"));
}

QSize grownByFrame(QSize size)
{
    return size + QSize(kFrame.left() + kFrame.right(), kFrame.top() + kFrame.bottom());
}

} // namespace

class WinSkinFormTest : public QObject
{
    Q_OBJECT

private:
    TWinSkinForm *frameOf(QWidget *window) { return TSkinManage::instance()->findFrame(window); }

    // Shows the window, waits for it to be active, and returns its frame.
    TWinSkinForm *showActive(QWidget &window)
    {
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window)) {
            return nullptr;
        }
        return frameOf(&window);
    }

    // The centre of the first title-bar button with the action.
    QPoint buttonCentre(TWinSkinForm *frame, int action)
    {
        const TitleBarLayout layout = frame->titleBarLayout();
        for (const TitleButtonPlace &place : layout.buttons) {
            if (frame->skin()->sysButtons[size_t(place.button)].action == action) {
                return place.rect.center();
            }
        }
        return {-1, -1};
    }

    int buttonWith(TWinSkinForm *frame, int action)
    {
        const TitleBarLayout layout = frame->titleBarLayout();
        for (const TitleButtonPlace &place : layout.buttons) {
            if (frame->skin()->sysButtons[size_t(place.button)].action == action) {
                return place.button;
            }
        }
        return -1;
    }

private slots:
    void initTestCase()
    {
        m_skinData = new TSkinData(&m_host);
        m_skinData->setActive(true);
        m_skinData->setSkinStream(TSkinData::framedSkinStream(shippedSkinPackage()));
        m_skinData->loaded();
        QVERIFY(m_skinData->isSkinLoaded());
        QVERIFY(TSkinManage::instance()->isActive());
    }

    void clientSizeKeptBothWays_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("children placed by hand, resizable") << "absolute";
        QTest::newRow("fixed size") << "fixed";
        QTest::newRow("layout") << "layout";
    }

    void clientSizeKeptBothWays()
    {
        QFETCH(QString, kind);
        QWidget window;
        auto *child = new QLabel(QStringLiteral("child"), &window);
        if (kind == QLatin1String("layout")) {
            auto *layout = new QVBoxLayout(&window);
            layout->setContentsMargins(10, 10, 10, 10);
            layout->addWidget(child);
            window.resize(kClient);
        } else {
            child->setGeometry(10, 12, 80, 20);
            if (kind == QLatin1String("fixed")) {
                window.setFixedSize(kClient);
            } else {
                window.resize(kClient);
            }
        }
        TWinSkinForm *frame = showActive(window);
        QVERIFY(frame);
        QVERIFY(window.windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(frame->thickness(), kFrame);
        QCOMPARE(window.size(), grownByFrame(kClient));
        QCOMPARE(window.contentsRect(), QRect(QPoint(kFrame.left(), kFrame.top()), kClient));
        QTRY_COMPARE(
            child->geometry().topLeft(), QPoint(kFrame.left() + 10, kFrame.top() + (kind == "layout" ? 10 : 12)));
        if (kind == QLatin1String("fixed")) {
            QCOMPARE(window.minimumSize(), grownByFrame(kClient));
            QCOMPARE(window.maximumSize(), grownByFrame(kClient));
        }
        QVERIFY(overlayOf(&window));

        frame->detach();
        QVERIFY(!window.windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(window.size(), kClient);
        QCOMPARE(window.contentsRect(), QRect(QPoint(0, 0), kClient));
        QTRY_COMPARE(child->geometry().topLeft(), kind == "layout" ? QPoint(10, 10) : QPoint(10, 12));
        QVERIFY(!overlayOf(&window));
        QVERIFY(window.mask().isEmpty());
        if (kind == QLatin1String("fixed")) {
            QCOMPARE(window.minimumSize(), kClient);
            QCOMPARE(window.maximumSize(), kClient);
        }
    }

    void windowsKeptOutOfFraming()
    {
        QWidget tagged;
        tagged.setProperty("Tag", TSkinManage::kKeepFrameTag);
        tagged.resize(kClient);
        tagged.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tagged));
        QVERIFY(!frameOf(&tagged));
        QCOMPARE(tagged.size(), kClient);
        QVERIFY(!tagged.windowFlags().testFlag(Qt::FramelessWindowHint));

        QWidget otherTag;
        otherTag.setProperty("Tag", 98);
        otherTag.resize(kClient);
        QVERIFY(showActive(otherTag));

        QWidget tool(nullptr, Qt::ToolTip);
        tool.resize(50, 20);
        tool.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tool));
        QVERIFY(!frameOf(&tool));

        // A window without a title keeps its (missing) frame: only its controls are skinned.
        QWidget bare(nullptr, Qt::FramelessWindowHint);
        bare.resize(kClient);
        bare.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bare));
        TWinSkinForm *frame = frameOf(&bare);
        QVERIFY(frame);
        QCOMPARE(frame->thickness(), QMargins());
        QCOMPARE(bare.size(), kClient);
        QVERIFY(!overlayOf(&bare));
    }

    void messageBoxFrame_data()
    {
        QTest::addColumn<bool>("systemMenu");
        QTest::newRow("with a system menu") << true;
        QTest::newRow("without") << false;
    }

    void messageBoxFrame()
    {
        QFETCH(bool, systemMenu);
        QMessageBox box(QMessageBox::Information, QStringLiteral("Note"), QStringLiteral("Text"), QMessageBox::Ok);
        if (!systemMenu) {
            box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
        }
        TWinSkinForm *frame = showActive(box);
        QVERIFY(frame);
        QCOMPARE(frame->facts().border, BorderKind::Dialog);
        QVERIFY(frame->facts().messageBox);
        QCOMPARE(buttonWith(frame, 0) >= 0, systemMenu);
        QCOMPARE(buttonWith(frame, 3), -1); // no icon on a dialog border
        QCOMPARE(buttonWith(frame, 2), -1); // nor minimize nor maximize
        QCOMPARE(buttonWith(frame, 1), -1);
    }

    void messageBoxWidenedForItsCaption()
    {
        const QString title = QStringLiteral("A caption far longer than the message box it belongs to would be");
        QMessageBox box(QMessageBox::Information, title, QStringLiteral("Hi"), QMessageBox::Ok);
        TWinSkinForm *frame = showActive(box);
        QVERIFY(frame);
        const int fit = captionFitWidth(*frame->skin(), frame->facts(), title, QFontMetrics(frame->captionFont()));
        QVERIFY2(box.width() >= fit, qPrintable(QStringLiteral("%1 < %2").arg(box.width()).arg(fit)));
        // The contents stay in the middle: the margins grew on both sides by half the extra width.
        const QMargins margins = box.contentsMargins();
        QVERIFY(margins.left() > kFrame.left());
        QVERIFY(std::abs((margins.left() - kFrame.left()) - (margins.right() - kFrame.right())) <= 1);
        QVERIFY(layoutTitleBar(*frame->skin(), frame->facts(), title, QFontMetrics(frame->captionFont()), {16, 16}, {})
                    .text.trimmed()
            == title);
    }

    void maximizedActiveWindowIsNotDraggedAndDoubleClickRestores()
    {
        QWidget window;
        window.resize(kClient);
        TWinSkinForm *frame = showActive(window);
        QVERIFY(frame);
        window.showMaximized();
        QTRY_VERIFY(window.isMaximized());
        QTRY_VERIFY(window.isActiveWindow());
        QWidget *overlay = overlayOf(&window);
        const QPoint caption(window.width() / 2, 15);
        const QPoint before = window.pos();
        QTest::mousePress(overlay, Qt::LeftButton, {}, caption);
        QTest::mouseMove(overlay, caption + QPoint(60, 40));
        QTest::mouseRelease(overlay, Qt::LeftButton, {}, caption + QPoint(60, 40));
        QCOMPARE(window.pos(), before);
        QVERIFY(window.isMaximized());

        QTest::mouseDClick(overlay, Qt::LeftButton, {}, caption);
        QTRY_VERIFY(!window.isMaximized());
        QTest::mouseDClick(overlay, Qt::LeftButton, {}, QPoint(window.width() / 2, 15));
        QTRY_VERIFY(window.isMaximized());
    }

    // Without a window manager (offscreen) the window is moved by hand; the first click after the drag reaches
    // the client area.
    void captionDragMovesTheWindow()
    {
        QWidget window;
        window.resize(kClient);
        auto *button = new QPushButton(QStringLiteral("Push"), &window);
        button->setGeometry(20, 20, 80, 24);
        window.move(100, 100);
        TWinSkinForm *frame = showActive(window);
        QVERIFY(frame);
        QWidget *overlay = overlayOf(&window);
        const QPoint start = window.pos();
        const QPoint caption = overlay->mapToGlobal(QPoint(120, 15));
        // Pointer positions are global: the overlay moves with the window under the pointer.
        const auto at = [overlay](QPoint global) { return overlay->mapFromGlobal(global); };
        QTest::mousePress(overlay, Qt::LeftButton, {}, at(caption));
        QTest::mouseMove(overlay, at(caption + QPoint(20, 5)));
        QTest::mouseMove(overlay, at(caption + QPoint(70, 30)));
        QTest::mouseRelease(overlay, Qt::LeftButton, {}, at(caption + QPoint(70, 30)));
        QTRY_COMPARE(window.pos(), start + QPoint(70, 30));
        QSignalSpy clicked(button, &QPushButton::clicked);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(clicked.count(), 1);
    }

    // Without a window manager the edges of a sizeable window resize it by hand, within its size limits.
    void edgeDragResizes()
    {
        QWidget window;
        window.resize(kClient);
        window.setMaximumWidth(kClient.width() + 25); // of the client area: framing grows it with the window
        TWinSkinForm *frame = showActive(window);
        QVERIFY(frame);
        QWidget *overlay = overlayOf(&window);
        const QSize before = window.size();
        const QPoint corner = overlay->mapToGlobal(QPoint(before.width() - 1, before.height() - 1));
        const auto at = [overlay](QPoint global) { return overlay->mapFromGlobal(global); };
        QTest::mousePress(overlay, Qt::LeftButton, {}, at(corner));
        QTest::mouseMove(overlay, at(corner + QPoint(20, 10)));
        QTest::mouseMove(overlay, at(corner + QPoint(40, 30)));
        QTest::mouseRelease(overlay, Qt::LeftButton, {}, at(corner + QPoint(40, 30)));
        QTRY_COMPARE(window.size(), before + QSize(25, 30)); // the width stops at the maximum
        QCOMPARE(window.contentsRect().size(), kClient + QSize(25, 30));
    }

    void titleBarButtons()
    {
        QWidget window;
        window.resize(kClient);
        TWinSkinForm *frame = showActive(window);
        QVERIFY(frame);
        QWidget *overlay = overlayOf(&window);
        // Hot, pressed while held and over it, normal when the pointer leaves it.
        const int close = buttonWith(frame, 0);
        const QPoint closeCentre = buttonCentre(frame, 0);
        QTest::mouseMove(overlay, closeCentre);
        QTRY_COMPARE(frame->buttonState(close), 3);
        QTest::mousePress(overlay, Qt::LeftButton, {}, closeCentre);
        QCOMPARE(frame->buttonState(close), 2);
        QTest::mouseMove(overlay, QPoint(120, 15));
        QCOMPARE(frame->buttonState(close), 1);
        QTest::mouseRelease(overlay, Qt::LeftButton, {}, QPoint(120, 15));
        QVERIFY(window.isVisible());

        // Maximize shows the restore button in its place (Visibility 1 and 2), which restores.
        QTest::mouseClick(overlay, Qt::LeftButton, {}, buttonCentre(frame, 1));
        QTRY_VERIFY(window.isMaximized());
        const int restore = buttonWith(frame, 1);
        QVERIFY(restore >= 0);
        QCOMPARE(frame->skin()->sysButtons[size_t(restore)].visibility, 1);
        QTest::mouseClick(overlay, Qt::LeftButton, {}, buttonCentre(frame, 1));
        QTRY_VERIFY(!window.isMaximized());

        QTest::mouseClick(overlay, Qt::LeftButton, {}, buttonCentre(frame, 2));
        QTRY_VERIFY(window.isMinimized());
        window.showNormal();
        QTRY_VERIFY(!window.isMinimized());

        QTest::mouseClick(overlay, Qt::LeftButton, {}, closeCentre);
        QTRY_VERIFY(!window.isVisible());
    }

    void hoverDroppedWhenTheCursorHasLeft()
    {
        QWidget window;
        window.resize(kClient);
        TWinSkinForm *frame = showActive(window);
        QVERIFY(frame);
        const int close = buttonWith(frame, 0);
        QCursor::setPos(window.mapToGlobal(buttonCentre(frame, 0)));
        frame->setHotButton(close);
        QCursor::setPos(window.mapToGlobal(QPoint(150, 120)));
        QTRY_COMPARE(frame->hotButton(), -1);
    }

    void systemMenu_data()
    {
        QTest::addColumn<QString>("opener");
        QTest::newRow("right click on the caption") << "right click";
        QTest::newRow("Alt+Space") << "keyboard";
        QTest::newRow("icon button") << "icon";
    }

    void systemMenu()
    {
        QFETCH(QString, opener);
        QWidget window;
        window.resize(kClient);
        window.move(200, 150);
        TWinSkinForm *frame = showActive(window);
        QVERIFY(frame);
        QWidget *overlay = overlayOf(&window);
        QPoint expectedAt;
        if (opener == QLatin1String("right click")) {
            QTest::mouseClick(overlay, Qt::RightButton, {}, QPoint(120, 15));
            expectedAt = window.mapToGlobal(QPoint(120, 15));
        } else if (opener == QLatin1String("keyboard")) {
            QTest::keyClick(&window, Qt::Key_Space, Qt::AltModifier);
            expectedAt = window.mapToGlobal(QPoint(kFrame.left(), kFrame.top()));
        } else {
            QTest::mouseClick(overlay, Qt::LeftButton, {}, buttonCentre(frame, 3));
            expectedAt = window.mapToGlobal(buttonCentre(frame, 3)) + QPoint(1, 1);
        }
        QMenu *menu = frame->systemMenu();
        QVERIFY(menu);
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(menu->pos(), expectedAt);
        QCOMPARE(menu->property("Tag").toInt(), kEngineMenuTag);
        QStringList texts;
        QList<bool> enabled;
        for (QAction *action : menu->actions()) {
            texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
            enabled << action->isEnabled();
        }
        QCOMPARE(texts, (QStringList {"&Restore", "&Move", "&Size", "Mi&nimize", "Ma&ximize", "-", "&Close"}));
        QCOMPARE(enabled, (QList<bool> {false, true, true, true, true, true, true}));
        QVERIFY(!menu->actions().at(4)->icon().isNull());
        menu->actions().at(4)->trigger();
        QTRY_VERIFY(window.isMaximized());
        menu->close();
    }

    void doubleClickOnTheIconCloses_data()
    {
        QTest::addColumn<bool>("asDoubleClick");
        QTest::newRow("double click") << true;
        QTest::newRow("second click while the menu is open") << false;
    }

    void doubleClickOnTheIconCloses()
    {
        QFETCH(bool, asDoubleClick);
        QWidget window;
        window.resize(kClient);
        TWinSkinForm *frame = showActive(window);
        QVERIFY(frame);
        QWidget *overlay = overlayOf(&window);
        const QPoint icon = buttonCentre(frame, 3);
        if (asDoubleClick) {
            QTest::mouseDClick(overlay, Qt::LeftButton, {}, icon);
        } else {
            QTest::mouseClick(overlay, Qt::LeftButton, {}, icon);
            QTRY_VERIFY(frame->systemMenu() && frame->systemMenu()->isVisible());
            QTest::mouseClick(overlay, Qt::LeftButton, {}, icon);
        }
        QTRY_VERIFY(!window.isVisible());
    }

    void aNewSkinRefreshesTheFrame()
    {
        QImage top(10, 40, QImage::Format_RGB32);
        top.fill(qRgb(20, 60, 120));
        const QByteArray description = "[Personality]\nLeft=left.bmp\nLeftFrame=2\nRight=right.bmp\nRightFrame=2\n"
                                       "Top=top.bmp\nTopFrame=2\nBottom=bottom.bmp\nBottomFrame=2\n";
        const QByteArray package = TestPackage(description)
                                       .image("left.bmp", solidFrames(3, 10, {0xFF102030, 0xFF405060}))
                                       .image("right.bmp", solidFrames(2, 10, {0xFF102030, 0xFF405060}))
                                       .image("top.bmp", top)
                                       .image("bottom.bmp", solidFrames(10, 8, {0xFF102030}))
                                       .package();
        QTemporaryDir folder;
        const QString other = folder.filePath(QStringLiteral("other.skn"));
        const QString shipped = folder.filePath(QStringLiteral("shipped.skn"));
        for (const auto &[path, bytes] : {std::pair {other, package}, std::pair {shipped, shippedSkinPackage()}}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        }
        QWidget window;
        window.resize(kClient);
        auto *child = new QLabel(QStringLiteral("child"), &window);
        child->move(10, 12);
        TWinSkinForm *frame = showActive(window);
        QVERIFY(frame);
        m_skinData->setSkinFile(other);
        const QMargins thickness(3, 20, 2, 4); // frames side by side or stacked, two each
        QCOMPARE(frame->thickness(), thickness);
        QCOMPARE(window.contentsRect(), QRect(QPoint(3, 20), kClient));
        QCOMPARE(window.size(), kClient.grownBy(thickness));
        QCOMPARE(child->pos(), QPoint(13, 32));
        m_skinData->setSkinFile(shipped);
        QCOMPARE(frame->thickness(), kFrame);
        QCOMPARE(window.size(), grownByFrame(kClient));
        QCOMPARE(child->pos(), QPoint(kFrame.left() + 10, kFrame.top() + 12));
    }

    void switchingSkinningOffUnframesAndOnFramesAgain()
    {
        QWidget window;
        window.resize(kClient);
        QVERIFY(showActive(window));
        QCOMPARE(window.size(), grownByFrame(kClient));
        m_skinData->setActive(false);
        QTRY_VERIFY(!frameOf(&window));
        QCOMPARE(window.size(), kClient);
        QVERIFY(!window.windowFlags().testFlag(Qt::FramelessWindowHint));
        m_skinData->setActive(true);
        QTRY_VERIFY(frameOf(&window));
        QCOMPARE(window.size(), grownByFrame(kClient));
    }

private:
    QObject m_host;
    TSkinData *m_skinData = nullptr;
};

QTEST_MAIN(WinSkinFormTest)
#include "winskinform_test.moc"
