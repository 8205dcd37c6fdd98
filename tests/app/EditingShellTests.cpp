#include "QtTestRegistry.h"
#include "ShellFixture.h"
#include "Typing.h"
#include "app/editing/EditingDispatch.h"
#include "app/windows/CharacterCodeDialog.h"
#include "app/windows/CharacterSetWindow.h"
#include "app/windows/CharacterWindow.h"
#include "app/windows/KerningPairWindow.h"
#include "app/windows/MainWindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>

namespace glyfora::app::testing {

class EditingShellTests : public QObject {
    Q_OBJECT

private slots:
    void OpeningFillsTheListsWithNothingSelected() {
        Editor editor;
        Shell& shell = *editor.TheShell;
        ShowSampleDocument(shell);
        QCOMPARE(shell.Main->CharacterList->topLevelItemCount(), 3);
        QCOMPARE(shell.Main->CharacterList->topLevelItem(0)->text(1), QStringLiteral("A"));
        QCOMPARE(shell.Main->KerningPairList->topLevelItemCount(), 2);
        QCOMPARE(shell.Main->KerningPairList->topLevelItem(0)->text(1), QStringLiteral("AV"));
        QCOMPARE(shell.Main->CharacterNewButton->text(), QStringLiteral("New"));
        QVERIFY(!CurrentTypeface(shell.State)->Modified);
    }

    void SelectingACharacterShowsItsWindowAndCentresTheCharacterSet() {
        Editor editor;
        Shell& shell = *editor.TheShell;
        ShowSampleDocument(shell);
        shell.State.View.CharacterZoom = 8;
        Click(shell.Main->CharacterList, 1); // B at (520, 400, 10, 12)
        QCOMPARE(shell.Main->CharacterCode.Code->value(), int{'B'});
        QCOMPARE(shell.Main->CharacterCode.Glyph->text(), QStringLiteral("B"));
        QCOMPARE(shell.Main->SourceX->value(), 520);
        QCOMPARE(shell.Main->CharacterNewButton->text(), QStringLiteral("Copy"));
        QVERIFY(shell.Character->isVisible());
        QCOMPARE(shell.Character->size(), QSize((10 + 8) * 8, (12 + 8) * 8));
        const QSize canvas = shell.CharacterSet->Canvas->size();
        QCOMPARE(shell.State.View.ScrollX,
                 std::clamp<std::int64_t>(520 - canvas.width() / 2 + 5, 0,
                                          std::max(0, 1000 - canvas.width())));
        QCOMPARE(shell.State.View.Selection, (document::Rect64{520, 400, 10, 12}));

        shell.Main->CharacterList->clearSelection();
        QVERIFY(!shell.Character->isVisible());
        QCOMPARE(shell.Main->CharacterNewButton->text(), QStringLiteral("New"));
    }

    void GlyphFieldOfTheMainWindowRecodes() {
        Editor editor;
        Shell& shell = *editor.TheShell;
        ShowSampleDocument(shell);
        Click(shell.Main->CharacterList, 1);
        TypeInto(shell.Main->CharacterCode.Glyph, QStringLiteral("A"));
        QCOMPARE(shell.Main->CharacterCode.Code->value(), int{'A'});
        QCOMPARE(shell.Main->CharacterList->topLevelItem(1)->text(0), QStringLiteral("! 65"));
        QVERIFY(CurrentTypeface(shell.State)->Modified);
    }

    void PairViewShowsOnlyWhenBothCharactersExist() {
        Editor editor;
        Shell& shell = *editor.TheShell;
        ShowSampleDocument(shell);
        Click(shell.Main->KerningPairList, 0); // A-V
        QVERIFY(shell.KerningPair->isVisible());
        QCOMPARE(shell.Main->AmountField->value(), -3);
        QCOMPARE(shell.Main->RightCode.Glyph->text(), QStringLiteral("V"));
        Click(shell.Main->KerningPairList, 1); // A-W: no W in the typeface
        QVERIFY(!shell.KerningPair->isVisible());
        QCOMPARE(shell.Main->KerningPairNewButton->text(), QStringLiteral("Copy"));

        TypeInto(shell.Main->RightCode.Code, QStringLiteral("66"));
        QVERIFY(shell.KerningPair->isVisible());
        QCOMPARE(shell.Main->KerningPairList->topLevelItem(1)->text(1), QStringLiteral("AB"));
    }

    void AddCharFromTheCharacterSetMenu() {
        Editor editor;
        Shell& shell = *editor.TheShell;
        ShowSampleDocument(shell);
        shell.State.View.Selection = {30, 40, 0, 0};
        QAction* addChar = shell.CharacterSet->CharacterSetAddChar;
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<CharacterCodeDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->Code(), 65); // first use
            TypeInto(dialog->DecimalField, QStringLiteral("67"));
            dialog->OkButton->click();
        });
        addChar->trigger();
        QCOMPARE(shell.State.LastDialogCode, 67);
        QCOMPARE(shell.Main->CharacterList->topLevelItemCount(), 4);
        QCoreApplication::processEvents();
        const document::Character* added = shell.State.View.CurrentCharacter;
        QVERIFY(added != nullptr);
        QCOMPARE(added->Index, 67);
        QCOMPARE(added->Source, (document::Rect64{30, 40, 0, 0}));
        QCOMPARE(shell.Main->CharacterCode.Glyph->text(), QStringLiteral("C"));
        QVERIFY(CurrentTypeface(shell.State)->Modified);
    }

    void WheelResizesBothViews() {
        Editor editor;
        Shell& shell = *editor.TheShell;
        ShowSampleDocument(shell);
        shell.State.View.CharacterZoom = 8;
        Click(shell.Main->CharacterList, 1);   // B, 10 x 12
        Click(shell.Main->KerningPairList, 0); // A-V, advances 11, amount -3, heights 16
        emit shell.Character->Canvas->wheeled(1);
        QCOMPARE(shell.State.View.CharacterZoom, 16);
        QCOMPARE(shell.Character->size(), QSize((10 + 8) * 16, (12 + 8) * 16));
        QCOMPARE(shell.KerningPair->size(), QSize((11 + 11 - 3 + 8) * 16, (16 + 8) * 16));
        emit shell.KerningPair->Canvas->wheeled(-1);
        QCOMPARE(shell.Character->size(), QSize((10 + 8) * 8, (12 + 8) * 8));
    }

    void DeepZoomKeepsBothViewsOnTheScreen() {
        Editor editor;
        Shell& shell = *editor.TheShell;
        ShowSampleDocument(shell);
        Click(shell.Main->CharacterList, 1);
        Click(shell.Main->KerningPairList, 0);
        for (int notch = 0; notch < 6; ++notch) {
            emit shell.Character->Canvas->wheeled(1);
        }
        const QSize room = shell.Character->screen()->availableGeometry().size();
        for (QWidget* window :
             {static_cast<QWidget*>(shell.Character), static_cast<QWidget*>(shell.KerningPair)}) {
            QVERIFY(window->isVisible());
            QVERIFY(window->width() <= room.width() && window->height() <= room.height());
        }
    }

    void DeleteHidesTheCharacterWindow() {
        Editor editor;
        Shell& shell = *editor.TheShell;
        ShowSampleDocument(shell);
        Click(shell.Main->CharacterList, 0);
        QVERIFY(shell.Character->isVisible());
        shell.Main->CharacterDeleteButton->click();
        QVERIFY(!shell.Character->isVisible());
        QCOMPARE(shell.Main->CharacterList->topLevelItemCount(), 2);
        QCOMPARE(shell.State.View.CurrentCharacter, nullptr);
        QCOMPARE(document::FindCharacter(*CurrentTypeface(shell.State), 'A'), nullptr);
    }
};

GLYFORA_QTEST(EditingShellTests);

} // namespace glyfora::app::testing

#include "EditingShellTests.moc"
