#include "QtTestRegistry.h"
#include "ShellFixture.h"
#include "Typing.h"
#include "app/windows/FittingTextDelegate.h"
#include "app/windows/MainWindow.h"
#include "views/ListTexts.h"

#include <QApplication>
#include <QSpinBox>
#include <QStyle>
#include <QTest>
#include <QTreeWidget>

namespace glyfora::app::testing {
namespace {

// The delegate's cell preparation, reachable from the test.
struct DelegateProbe : FittingTextDelegate {
    using FittingTextDelegate::FittingTextDelegate;
    using FittingTextDelegate::initStyleOption;
};

// One character in a picture of the given size, shown and selected as a click would.
document::Character& ShowOneCharacter(Shell& shell, std::int64_t pictureWidth,
                                      std::int64_t pictureHeight, const document::Rect64& source) {
    document::Typeface& typeface = *CurrentTypeface(shell.State);
    document::Character& character = document::AddCharacter(typeface, 'A');
    character.Source = source;
    character.Outlay = {0, 0, source.Width, source.Height};
    document::SetCharacterSetImage(typeface, document::MakeImage(pictureWidth, pictureHeight));
    ShowDocument(shell);
    Click(shell.Main->CharacterList, 0);
    return character;
}

} // namespace

class BigAtlasTests : public QObject {
    Q_OBJECT

private slots:
    void PositionAndSizeFieldsReachAsFarAsThePicture_data() {
        QTest::addColumn<int>("pictureWidth");
        QTest::addColumn<int>("pictureHeight");
        QTest::addColumn<int>("x");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("stored");
        QTest::newRow("small picture keeps the window's range")
            << 512 << 256 << 20 << QStringLiteral("4500") << 4000 << 450;
        QTest::newRow("wide picture")
            << 16384 << 40 << 4030 << QStringLiteral("4500") << 32767 << 4500;
        QTest::newRow("tall picture")
            << 40 << 32767 << 10 << QStringLiteral("30000") << 32767 << 30000;
        QTest::newRow("a cell beyond a small picture")
            << 64 << 64 << 5000 << QStringLiteral("6000") << 32767 << 6000;
    }

    void PositionAndSizeFieldsReachAsFarAsThePicture() {
        QFETCH(int, pictureWidth);
        QFETCH(int, pictureHeight);
        QFETCH(int, x);
        QFETCH(QString, typed);
        QFETCH(int, limit);
        QFETCH(int, stored);
        Editor editor;
        Shell& shell = *editor.TheShell;
        document::Character& character =
            ShowOneCharacter(shell, pictureWidth, pictureHeight, {x, 4, 12, 14});
        QCOMPARE(shell.Main->SourceX->value(), x);
        for (QSpinBox* field : {shell.Main->SourceX, shell.Main->SourceY, shell.Main->SourceWidth,
                                shell.Main->SourceHeight}) {
            QCOMPARE(field->maximum(), limit);
        }
        QCOMPARE(shell.Main->OutlayWidth->maximum(), 4000); // the advance keeps its range
        TypeInto(shell.Main->SourceX, typed);
        QCOMPARE(character.Source.X, stored);
        TypeInto(shell.Main->SourceY, typed);
        QCOMPARE(character.Source.Y, stored);
    }

    void NarrowingTheRangeIsNoEdit() {
        Editor editor;
        Shell& shell = *editor.TheShell;
        document::Typeface& typeface = *CurrentTypeface(shell.State);
        document::AddCharacter(typeface, 'A').Source = {9000, 0, 10, 10};
        document::AddCharacter(typeface, 'B').Source = {30, 0, 10, 10};
        document::SetCharacterSetImage(typeface, document::MakeImage(100, 100));
        ShowDocument(shell);
        Click(shell.Main->CharacterList, 0);
        QCOMPARE(shell.Main->SourceX->value(), 9000);
        Click(shell.Main->CharacterList, 1);
        QCOMPARE(shell.Main->SourceX->maximum(), 4000);
        QCOMPARE(shell.Main->SourceX->value(), 30);
        QCOMPARE(document::FindCharacter(typeface, 'A')->Source.X, 9000);
        QVERIFY(!typeface.Modified);
    }

    void FontToFitShrinksOnlyWhatIsTooWide_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("smaller");
        QTest::newRow("fits") << QStringLiteral("12") << 200 << false;
        QTest::newRow("too wide") << QStringLiteral("32767, 32767") << 40 << true;
    }

    void FontToFitShrinksOnlyWhatIsTooWide() {
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(bool, smaller);
        QFont font = QApplication::font();
        font.setPointSizeF(12);
        const QFont fitted = FontToFit(font, {{text, width}});
        QCOMPARE(fitted.pointSizeF() < 12, smaller);
        if (smaller && fitted.pointSizeF() > 5.5) {
            QVERIFY(QFontMetrics(fitted).horizontalAdvance(text) <= width);
        }
    }

    void FiveDigitPositionsShowWhole() {
        Editor editor;
        Shell& shell = *editor.TheShell;
        ShowOneCharacter(shell, 16384, 8, {16380, 32700, 32767, 10});
        QTreeWidget* list = shell.Main->CharacterList;
        list->resize(list->size()); // laid out as shown
        QVERIFY(qobject_cast<FittingTextDelegate*>(list->itemDelegate()) != nullptr);
        DelegateProbe probe;
        const int margin =
            2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1);
        for (const views::CharacterColumn column :
             {views::CharacterColumn::Position, views::CharacterColumn::Size}) {
            const QModelIndex index = list->model()->index(0, static_cast<int>(column));
            QStyleOptionViewItem option;
            option.initFrom(list);
            option.widget = list;
            option.font = list->font();
            option.fontMetrics = QFontMetrics(list->font());
            option.rect = QRect(0, 0, list->columnWidth(index.column()), 20);
            probe.initStyleOption(&option, index);
            QVERIFY(option.text.startsWith(column == views::CharacterColumn::Position
                                               ? QStringLiteral("16380, 32700")
                                               : QStringLiteral("32767×10")));
            QVERIFY2(QFontMetrics(option.font).horizontalAdvance(option.text) <=
                         option.rect.width() - margin,
                     qPrintable(option.text));
        }
    }
};

GLYFORA_QTEST(BigAtlasTests);

} // namespace glyfora::app::testing

#include "BigAtlasTests.moc"
