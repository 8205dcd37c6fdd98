#include "WindowTests.h"

#include "QtTestRegistry.h"
#include "ShellFixture.h"
#include "app/surfaces/ExampleScreen.h"
#include "app/windows/CharacterSetWindow.h"
#include "app/windows/CharacterWindow.h"
#include "app/windows/ExampleWindow.h"
#include "app/windows/ImportWindow.h"
#include "app/windows/KerningPairWindow.h"
#include "app/windows/MainWindow.h"

#include <QAction>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QTextEdit>
#include <QTreeWidget>

namespace glyfora::app::testing {
namespace {

QStringList ActionTexts(const QList<QAction*>& actions) {
    QStringList texts;
    for (const QAction* action : actions) {
        texts << action->text();
    }
    return texts;
}

QWidget* WindowByTitle(Shell& shell, const QString& title) {
    for (QWidget* window :
         std::initializer_list<QWidget*>{shell.Main.get(), shell.CharacterSet, shell.Character,
                                         shell.KerningPair, shell.Example, shell.Import}) {
        if (window->windowTitle() == title) {
            return window;
        }
    }
    return nullptr;
}

} // namespace

void WindowTests::firstRunPlacesSixWindows_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<QSize>("innerSize");
    QTest::addColumn<bool>("tool");
    QTest::addColumn<bool>("closeBox");
    QTest::addColumn<bool>("fixed");

    // The main window's inner height depends on its menu and status bars.
    Editor editor;
    const int mainHeight = editor.TheShell->Main->FinalInnerHeight();
    const int barHeight = editor.TheShell->CharacterSet->menuBar()->sizeHint().height();
    // The main and import windows may shrink to fit a small screen (their controls then scroll).
    QTest::newRow("main") << QStringLiteral("Glyfora") << QPoint(300, 250) << QSize(720, mainHeight)
                          << false << true << false;
    QTest::newRow("import") << QStringLiteral("Import TTF") << QPoint(300, 300) << QSize(600, 610)
                            << true << true << false;
    QTest::newRow("example") << QStringLiteral("Beispiel") << QPoint(300, 110) << QSize(800, 100)
                             << true << false << false;
    QTest::newRow("character set") << QStringLiteral("Zeichensatz") << QPoint(1040, 250)
                                   << QSize(400, barHeight + 400) << true << false << false;
    QTest::newRow("character") << QStringLiteral("Zeichen") << QPoint(300, 250 + mainHeight + 40)
                               << QSize(200, 100) << true << false << true;
    QTest::newRow("kerning pair") << QStringLiteral("Unterschneidungspaar")
                                  << QPoint(550, 250 + mainHeight + 40) << QSize(300, 100) << true
                                  << false << true;
}

void WindowTests::firstRunPlacesSixWindows() {
    QFETCH(QString, title);
    QFETCH(QPoint, position);
    QFETCH(QSize, innerSize);
    QFETCH(bool, tool);
    QFETCH(bool, closeBox);
    QFETCH(bool, fixed);

    Editor editor;
    QWidget* window = WindowByTitle(*editor.TheShell, title);
    QVERIFY(window != nullptr);
    QVERIFY(window->isVisible());
    // A screen too small for the default places gets the windows moved and shrunk onto it.
    const QSize room = window->screen()->availableGeometry().size() -
                       (window->frameGeometry().size() - window->size());
    QCOMPARE(window->size(), fixed ? innerSize : innerSize.boundedTo(room));
    QCOMPARE(window->pos(), FittedPlace(*window, position));
    QCOMPARE(window->windowType() == Qt::Tool, tool);
    QCOMPARE(window->windowFlags().testFlag(Qt::WindowCloseButtonHint), closeBox);
    QCOMPARE(window->minimumSize() == window->maximumSize(), fixed);
    QCOMPARE(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint), false);
    if (tool) {
        QCOMPARE(window->parentWidget(), editor.TheShell->Main.get());
    }
}

void WindowTests::mainWindowHasMenusAndEmptyStatusBar() {
    Editor editor;
    MainWindow& main = *editor.TheShell->Main;
    const QList<QAction*> menus = main.menuBar()->actions();
    QCOMPARE(ActionTexts(menus), (QStringList{QStringLiteral("File"), QStringLiteral("Edit"),
                                              QStringLiteral("Window")}));
    QCOMPARE(ActionTexts(menus[0]->menu()->actions()),
             (QStringList{QStringLiteral("New"), QStringLiteral("Open..."),
                          QStringLiteral("Open Recent"), QStringLiteral("Save"),
                          QStringLiteral("Save As..."), QStringLiteral("Import TTF"), QString(),
                          QStringLiteral("Quit")}));
    QCOMPARE(ActionTexts(menus[1]->menu()->actions()),
             (QStringList{QStringLiteral("Undo"), QStringLiteral("Redo"), QString(),
                          QString::fromUtf16(u"Copy up case to low case"),
                          QString::fromUtf16(u"copy ÄÖÜ -> äöü +"), QStringLiteral("scale layout"),
                          QStringLiteral("spacing layout"), QStringLiteral("Pack compactly")}));
    QVERIFY(main.statusBar()->isVisible());
    QVERIFY(main.statusBar()->currentMessage().isEmpty());
    QCOMPARE(main.centralWidget()->height(), MainContentHeight);
}

void WindowTests::characterSetWindowHasFourBarCommands() {
    Editor editor;
    CharacterSetWindow& window = *editor.TheShell->CharacterSet;
    const QList<QAction*> commands = window.menuBar()->actions();
    QCOMPARE(
        ActionTexts(commands),
        (QStringList{QStringLiteral("Edit"), QStringLiteral("Import"), QStringLiteral("Add Char"),
                     QStringLiteral("Set Char"), QStringLiteral("Add Image")}));
    for (const QAction* command : commands) {
        QVERIFY2(command->menu() == nullptr, qPrintable(command->text()));
    }
    QCOMPARE(window.Canvas->objectName(), QStringLiteral("CharacterSetCanvas"));
    QCOMPARE(window.Canvas->cursor().shape(), Qt::CrossCursor);
    QCOMPARE(window.Canvas->focusPolicy(), Qt::StrongFocus);
}

void WindowTests::controlsSitWhereTheLayoutSays_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("frame");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<int>("low");
    QTest::addColumn<int>("high");

    const auto row = [](const char* label, const char* name, const char* frame, QRect geometry,
                        int low = 0, int high = 0) {
        QTest::newRow(label) << QString::fromLatin1(name) << QString::fromLatin1(frame) << geometry
                             << low << high;
    };
    row("characters frame", "CharactersFrame", "MainContent", QRect(10, 10, 400, 295));
    row("kerning frame", "KerningPairsFrame", "MainContent", QRect(420, 10, 290, 295));
    row("comment frame", "CommentFrame", "MainContent", QRect(10, 315, 710, 190));
    row("character list", "CharacterList", "CharactersFrame", QRect(10, 20, 380, 180));
    row("character delete", "CharacterDeleteButton", "CharactersFrame", QRect(10, 210, 90, 20));
    row("character new", "CharacterNewButton", "CharactersFrame", QRect(105, 210, 90, 20));
    row("character code", "CharacterCodeField", "CharactersFrame", QRect(270, 210, 65, 20), 0,
        65535);
    row("character glyph", "CharacterGlyphField", "CharactersFrame", QRect(340, 210, 45, 20), 0,
        65535);
    row("source x", "SourceXField", "CharactersFrame", QRect(70, 240, 55, 20), 0, 4000);
    row("source y", "SourceYField", "CharactersFrame", QRect(130, 240, 55, 20), 0, 4000);
    row("source width", "SourceWidthField", "CharactersFrame", QRect(70, 265, 55, 20), 0, 4000);
    row("source height", "SourceHeightField", "CharactersFrame", QRect(130, 265, 55, 20), 0, 4000);
    row("outlay x", "OutlayXField", "CharactersFrame", QRect(270, 240, 55, 20), -1000, 1000);
    row("outlay y", "OutlayYField", "CharactersFrame", QRect(330, 240, 55, 20), -1000, 1000);
    row("outlay width", "OutlayWidthField", "CharactersFrame", QRect(270, 265, 55, 20), 0, 4000);
    row("outlay height", "OutlayHeightField", "CharactersFrame", QRect(330, 265, 55, 20), 0, 4000);
    row("pair list", "KerningPairList", "KerningPairsFrame", QRect(10, 20, 270, 180));
    row("pair delete", "KerningPairDeleteButton", "KerningPairsFrame", QRect(10, 210, 90, 20));
    row("pair new", "KerningPairNewButton", "KerningPairsFrame", QRect(105, 210, 90, 20));
    row("left code", "LeftCodeField", "KerningPairsFrame", QRect(70, 240, 65, 20), 0, 65535);
    row("left glyph", "LeftGlyphField", "KerningPairsFrame", QRect(140, 240, 45, 20), 0, 65535);
    row("right code", "RightCodeField", "KerningPairsFrame", QRect(70, 265, 65, 20), 0, 65535);
    row("right glyph", "RightGlyphField", "KerningPairsFrame", QRect(140, 265, 45, 20), 0, 65535);
    row("amount", "AmountField", "KerningPairsFrame", QRect(210, 250, 60, 30), -100, 100);
    row("comment", "CommentField", "CommentFrame", QRect(10, 20, 690, 160));
}

void WindowTests::controlsSitWhereTheLayoutSays() {
    QFETCH(QString, name);
    QFETCH(QString, frame);
    QFETCH(QRect, geometry);
    QFETCH(int, low);
    QFETCH(int, high);

    Editor editor;
    auto* control = editor.TheShell->Main->findChild<QWidget*>(name);
    QVERIFY(control != nullptr);
    QCOMPARE(control->parentWidget()->objectName(), frame);
    QCOMPARE(control->geometry(), geometry);
    if (auto* spin = qobject_cast<QSpinBox*>(control)) {
        QCOMPARE(spin->minimum(), low);
        QCOMPARE(spin->maximum(), high);
    }
}

void WindowTests::rowLabelsAndFrameTitles() {
    Editor editor;
    MainWindow& main = *editor.TheShell->Main;
    const auto frameTitle = [&main](const char* name) {
        return main.findChild<QGroupBox*>(QString::fromLatin1(name))->title();
    };
    QCOMPARE(frameTitle("CharactersFrame"), QStringLiteral("Characters"));
    QCOMPARE(frameTitle("KerningPairsFrame"), QStringLiteral("Kerning Pairs"));
    QCOMPARE(frameTitle("CommentFrame"), QStringLiteral("Comment"));

    QMap<QString, QRect> labels;
    for (const QLabel* label : main.findChildren<QLabel*>()) {
        labels.insert(label->text(), label->geometry());
    }
    QCOMPARE(labels.value(QStringLiteral("Character:")), QRect(215, 213, 50, 16));
    QCOMPARE(labels.value(QStringLiteral("Position:")), QRect(15, 243, 50, 16));
    QCOMPARE(labels.value(QStringLiteral("Size:")), QRect(15, 268, 50, 16));
    QCOMPARE(labels.value(QStringLiteral("Offset:")), QRect(215, 243, 50, 16));
    QCOMPARE(labels.value(QStringLiteral("Outlay:")), QRect(215, 268, 50, 16));
    QCOMPARE(labels.value(QStringLiteral("Left:")), QRect(15, 243, 50, 16));
    QCOMPARE(labels.value(QStringLiteral("Right:")), QRect(15, 268, 50, 16));
    QCOMPARE(labels.value(QStringLiteral("Amount:")), QRect(210, 233, 70, 16));
    QCOMPARE(main.CharacterDeleteButton->text(), QStringLiteral("Delete"));
    QCOMPARE(main.CharacterNewButton->text(), QStringLiteral("New"));
    QCOMPARE(main.KerningPairNewButton->text(), QStringLiteral("New"));
}

void WindowTests::codeRowsStartAtBlank() {
    Editor editor;
    MainWindow& main = *editor.TheShell->Main;
    for (const CodeFields& row : {main.CharacterCode, main.LeftCode, main.RightCode}) {
        QCOMPARE(row.Code->value(), 32);
        QCOMPARE(row.Glyph->text(), QStringLiteral(" "));
    }
}

void WindowTests::reportListsHaveTheirColumns() {
    Editor editor;
    MainWindow& main = *editor.TheShell->Main;
    struct Expected {
        QTreeWidget* List;
        QStringList Titles;
        QList<int> Widths;
    };
    for (const Expected& expected :
         {Expected{main.CharacterList,
                   {QStringLiteral("Index"), QStringLiteral("Char"), QStringLiteral("Position"),
                    QStringLiteral("Size"), QStringLiteral("Offset"), QStringLiteral("Flow")},
                   {50, 40, 80, 60, 60, 60}},
          Expected{main.KerningPairList,
                   {QStringLiteral("Indizes"), QStringLiteral("Paar"), QStringLiteral("Ammount")},
                   {100, 60, 70}}}) {
        QTreeWidget& list = *expected.List;
        QCOMPARE(list.columnCount(), static_cast<int>(expected.Titles.size()));
        for (int column = 0; column < list.columnCount(); ++column) {
            QCOMPARE(list.headerItem()->text(column), expected.Titles[column]);
            QCOMPARE(list.columnWidth(column), expected.Widths[column]);
        }
        QCOMPARE(list.selectionMode(), QAbstractItemView::SingleSelection);
        QCOMPARE(list.selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(list.font().families().value(0), QStringLiteral("Arial Unicode MS"));
        QCOMPARE(list.font().pointSize(), 9);
        QCOMPARE(list.font().styleHint(), QFont::SansSerif);
        // The selection stays visible when the list loses focus.
        QCOMPARE(list.palette().color(QPalette::Inactive, QPalette::Highlight),
                 list.palette().color(QPalette::Active, QPalette::Highlight));
    }
}

void WindowTests::exampleWindowHasTextOverScreen() {
    Editor editor;
    ExampleWindow& window = *editor.TheShell->Example;
    QCOMPARE(window.ExampleTextField->objectName(), QStringLiteral("ExampleTextField"));
    QCOMPARE(window.ExampleTextField->text(),
             QStringLiteral("Grumpy wizards make toxic brew for the evil Queen and Jack."));
    QCOMPARE(window.ExampleTextField->geometry(), QRect(0, 0, window.width(), 20));
    QCOMPARE(window.width(), std::min(800, window.screen()->availableGeometry().width() -
                                               (window.frameGeometry().width() - window.width())));
    QCOMPARE(window.ExampleScreen->Widget()->objectName(), QStringLiteral("ExampleScreen"));
    QCOMPARE(window.ExampleScreen->Widget()->geometry().topLeft(), QPoint(0, 20));
    QCOMPARE(editor.TheShell->Character->Canvas->objectName(), QStringLiteral("CharacterCanvas"));
    QCOMPARE(editor.TheShell->KerningPair->Canvas->objectName(),
             QStringLiteral("KerningPairCanvas"));
    QCOMPARE(editor.TheShell->Character->Canvas->geometry(), QRect(0, 0, 200, 100));
    QCOMPARE(editor.TheShell->KerningPair->Canvas->geometry(), QRect(0, 0, 300, 100));
}

void WindowTests::canvasesPaintTheViewBackground() {
    Editor editor;
    for (QWidget* canvas : std::initializer_list<QWidget*>{
             editor.TheShell->CharacterSet->Canvas, editor.TheShell->Character->Canvas,
             editor.TheShell->KerningPair->Canvas,
             editor.TheShell->Example->ExampleScreen->Widget()}) {
        const QImage picture = canvas->grab().toImage();
        QVERIFY(!picture.isNull());
        QCOMPARE(picture.pixel(picture.width() / 2, picture.height() / 2), 0xFF404040U);
    }
}

GLYFORA_QTEST(WindowTests);

} // namespace glyfora::app::testing
