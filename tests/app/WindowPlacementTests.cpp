#include "QtTestRegistry.h"
#include "ShellFixture.h"
#include "app/shell/Settings.h"
#include "app/windows/CharacterSetWindow.h"
#include "app/windows/CharacterWindow.h"
#include "app/windows/ExampleWindow.h"
#include "app/windows/ImportWindow.h"
#include "app/windows/KerningPairWindow.h"
#include "app/windows/MainWindow.h"
#include "app/windows/ScreenFit.h"

#include <QAction>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyle>
#include <QTest>
#include <QTextEdit>
#include <QTreeWidget>
#include <initializer_list>

namespace glyfora::app::testing {
namespace {

QWidget* WindowOf(Shell& shell, const QString& action) {
    if (action == u"WindowImport") {
        return shell.Import;
    }
    if (action == u"WindowExample") {
        return shell.Example;
    }
    if (action == u"WindowCharacterSet") {
        return shell.CharacterSet;
    }
    if (action == u"WindowCharacter") {
        return shell.Character;
    }
    return shell.KerningPair;
}

QRect AvailableArea(const QWidget& window) {
    return window.screen()->availableGeometry();
}

} // namespace

class WindowPlacementTests : public QObject {
    Q_OBJECT

private slots:
    void WindowMenuShowsEachOtherWindow_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("title");
        QTest::newRow("import") << QStringLiteral("WindowImport") << QStringLiteral("Import TTF");
        QTest::newRow("example") << QStringLiteral("WindowExample") << QStringLiteral("Beispiel");
        QTest::newRow("character set")
            << QStringLiteral("WindowCharacterSet") << QStringLiteral("Zeichensatz");
        QTest::newRow("character")
            << QStringLiteral("WindowCharacter") << QStringLiteral("Zeichen");
        QTest::newRow("kerning pair")
            << QStringLiteral("WindowKerningPair") << QStringLiteral("Unterschneidungspaar");
    }

    void WindowMenuShowsEachOtherWindow() {
        QFETCH(QString, action);
        QFETCH(QString, title);
        Editor editor;
        Shell& shell = *editor.TheShell;
        const QList<QAction*> menus = shell.Main->menuBar()->actions();
        QCOMPARE(menus.back()->text(), QStringLiteral("Window"));
        auto* command = shell.Main->findChild<QAction*>(action);
        QVERIFY(command != nullptr);
        QVERIFY(menus.back()->menu()->actions().contains(command));
        QCOMPARE(command->text(), title);
        QWidget* window = WindowOf(shell, action);
        QCOMPARE(window->windowTitle(), title);
        window->hide();
        command->trigger();
        QVERIFY(window->isVisible());
        QVERIFY(AvailableArea(*window).contains(window->frameGeometry()));
    }

    void CharacterAndPairWindowsComeBackWithASelection() {
        Editor editor;
        Shell& shell = *editor.TheShell;
        ShowSampleDocument(shell);
        Click(shell.Main->CharacterList, 0);
        QVERIFY(shell.Character->isVisible());
        shell.Main->CharacterList->clearSelection();
        QVERIFY(!shell.Character->isVisible());
        Click(shell.Main->CharacterList, 1);
        QVERIFY(shell.Character->isVisible());

        Click(shell.Main->KerningPairList, 0);
        QVERIFY(shell.KerningPair->isVisible());
        shell.Main->KerningPairList->clearSelection();
        QVERIFY(!shell.KerningPair->isVisible());
        shell.Main->WindowKerningPair->trigger(); // nothing selected: shown empty
        QVERIFY(shell.KerningPair->isVisible());
    }

    void DeepZoomKeepsThePairWindowInsideTheScreen() {
        Editor editor;
        Shell& shell = *editor.TheShell;
        ShowSampleDocument(shell);
        shell.State.View.CharacterZoom = 64;
        shell.KerningPair->move(AvailableArea(*shell.KerningPair).bottomRight() - QPoint(50, 50));
        Click(shell.Main->KerningPairList, 0);
        QVERIFY(shell.KerningPair->isVisible());
        QVERIFY(AvailableArea(*shell.KerningPair).contains(shell.KerningPair->frameGeometry()));
    }

    void EveryWindowStartsWhollyOnItsScreen() {
        Editor editor;
        Shell& shell = *editor.TheShell;
        QCoreApplication::processEvents();
        for (QWidget* window : std::initializer_list<QWidget*>{
                 shell.Main.get(), shell.Import, shell.Example, shell.CharacterSet, shell.Character,
                 shell.KerningPair}) {
            QVERIFY2(AvailableArea(*window).contains(window->frameGeometry()),
                     qPrintable(window->windowTitle()));
        }
        // Whatever the screen, the last controls of both scrolling windows can be reached.
        auto* mainScroll = shell.Main->findChild<QScrollArea*>(QStringLiteral("MainScroll"));
        mainScroll->ensureWidgetVisible(shell.Main->CommentField, 0, 0);
        QVERIFY(mainScroll->viewport()->rect().intersects(
            QRect(shell.Main->CommentField->mapTo(mainScroll->viewport(), QPoint(0, 0)),
                  shell.Main->CommentField->size())));
        auto* importScroll =
            shell.Import->findChild<QScrollArea*>(QStringLiteral("ImportWindowScroll"));
        importScroll->ensureWidgetVisible(shell.Import->FallbacksField, 0, 0);
        QVERIFY(importScroll->viewport()->rect().contains(
            shell.Import->FallbacksField->mapTo(importScroll->viewport(), QPoint(0, 0))));
    }

    void KeepInsidePullsFramesOntoTheArea_data() {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QPoint>("placed");
        QTest::newRow("inside") << QRect(100, 100, 200, 100) << QPoint(100, 100);
        QTest::newRow("past the right edge") << QRect(900, 100, 200, 100) << QPoint(760, 100);
        QTest::newRow("below") << QRect(100, 500, 200, 100) << QPoint(100, 460);
        QTest::newRow("above and left") << QRect(-50, -80, 200, 100) << QPoint(0, 40);
        QTest::newRow("larger than the area") << QRect(300, 300, 2000, 900) << QPoint(0, 40);
    }

    void KeepInsidePullsFramesOntoTheArea() {
        QFETCH(QRect, frame);
        QFETCH(QPoint, placed);
        QCOMPARE(KeepInside(frame, QRect(0, 40, 960, 520)), placed);
    }

    void RestoredPlacesAreClampedToTheScreen() {
        Editor editor;
        Shell& shell = *editor.TheShell;
        const QRect area = AvailableArea(*shell.CharacterSet);
        WindowPlacement keys;
        // Written by a run at twice the scale, or on a larger screen.
        keys.X = area.right() - 100;
        keys.Y = area.top() + 10;
        keys.Width = area.width() * 2;
        keys.Height = 300;
        RestoreWindow(*shell.CharacterSet, keys, WindowPosition | WindowSize | WindowHidden);
        QVERIFY(shell.CharacterSet->isVisible());
        QVERIFY(area.contains(shell.CharacterSet->frameGeometry()));
        QCOMPARE(shell.CharacterSet->height(), 300);
        // What is stored is where it is shown, in the same units.
        const WindowPlacement stored = StoreWindow(*shell.CharacterSet, WindowPosition);
        QCOMPARE(QPoint(static_cast<int>(*stored.X), static_cast<int>(*stored.Y)),
                 shell.CharacterSet->frameGeometry().topLeft());
    }

    void MainWindowGivesExtraRoomToTheLists() {
        Editor editor;
        MainWindow& main = *editor.TheShell->Main;
        const QSize standard(720, main.FinalInnerHeight());
        QVERIFY(main.minimumSize() != main.maximumSize());
        main.resize(standard + QSize(200, 100));
        QCOMPARE(main.CharacterList->geometry(), QRect(10, 20, 480, 280));
        QCOMPARE(main.KerningPairList->geometry(), QRect(10, 20, 370, 280));
        QCOMPARE(main.CharacterDeleteButton->geometry(), QRect(10, 310, 90, 20));
        QCOMPARE(main.SourceX->geometry(), QRect(70, 340, 55, 20));
        QCOMPARE(main.AmountField->geometry(), QRect(210, 350, 60, 30));
        QCOMPARE(main.findChild<QGroupBox*>(QStringLiteral("KerningPairsFrame"))->geometry(),
                 QRect(520, 10, 390, 395));
        QCOMPARE(main.findChild<QGroupBox*>(QStringLiteral("CommentFrame"))->geometry(),
                 QRect(10, 415, 910, 190));
        QCOMPARE(main.CommentField->geometry(), QRect(10, 20, 890, 160));
        // Back at the default size every control is at its place again.
        main.resize(standard);
        QCOMPARE(main.CharacterList->geometry(), QRect(10, 20, 380, 180));
        QCOMPARE(main.findChild<QGroupBox*>(QStringLiteral("CommentFrame"))->geometry(),
                 QRect(10, 315, 710, 190));
    }

    void TooSmallWindowsScrollToEveryControl() {
        Editor editor;
        Shell& shell = *editor.TheShell;
        for (QWidget* window :
             {static_cast<QWidget*>(shell.Main.get()), static_cast<QWidget*>(shell.Import)}) {
            window->resize(300, 200);
            QCOMPARE(window->size(), QSize(300, 200));
        }
        // The controls keep their places; the scroll areas reach the last ones.
        QCOMPARE(shell.Main->CommentField->geometry(), QRect(10, 20, 690, 160));
        auto* mainScroll = shell.Main->findChild<QScrollArea*>(QStringLiteral("MainScroll"));
        QVERIFY(mainScroll != nullptr);
        mainScroll->ensureWidgetVisible(shell.Main->CommentField);
        QVERIFY(mainScroll->verticalScrollBar()->value() > 0);
        auto* importScroll =
            shell.Import->findChild<QScrollArea*>(QStringLiteral("ImportWindowScroll"));
        QVERIFY(importScroll != nullptr);
        QCOMPARE(shell.Import->CreateButton->geometry(), QRect(230, 350, 110, 25));
        importScroll->ensureWidgetVisible(shell.Import->StatusLine);
        QVERIFY(importScroll->verticalScrollBar()->value() > 0);
        // Scrolling only up and down, the import window is wider by the scroll bar.
        shell.Import->resize(600, 300);
        QVERIFY(importScroll->verticalScrollBar()->isVisible());
        QCOMPARE(shell.Import->width(),
                 600 + importScroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr,
                                                          importScroll));
        QTRY_COMPARE(importScroll->horizontalScrollBar()->maximum(), 0);
        // It never grows beyond its layout, and without scrolling it is as wide as that.
        shell.Import->resize(1000, 1000);
        QCOMPARE(shell.Import->size(), QSize(600, 610));
    }
};

GLYFORA_QTEST(WindowPlacementTests);

} // namespace glyfora::app::testing

#include "WindowPlacementTests.moc"
