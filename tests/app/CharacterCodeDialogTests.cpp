#include "QtTestRegistry.h"
#include "Typing.h"
#include "app/windows/CharacterCodeDialog.h"
#include "app/windows/GlyphSpinBox.h"
#include "app/windows/HexSpinBox.h"

#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>

namespace glyfora::app {
namespace {

using testing::TypeInto;

// Runs Ask while action works on the dialog from inside its modal loop.
std::int64_t AskWhile(std::int64_t code, const std::function<void(CharacterCodeDialog&)>& action) {
    QTimer::singleShot(0, [action] {
        auto* dialog = qobject_cast<CharacterCodeDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        action(*dialog);
    });
    return CharacterCodeDialog::Ask(code);
}

} // namespace

class CharacterCodeDialogTests : public QObject {
    Q_OBJECT

private slots:
    void LooksAsDescribed() {
        CharacterCodeDialog dialog(65);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Character"));
        QCOMPARE(dialog.size(), QSize(200, 125));
        QCOMPARE(dialog.OkButton->text(), QStringLiteral("OK"));
        QStringList frames;
        for (const QGroupBox* frame : dialog.findChildren<QGroupBox*>()) {
            frames << frame->title();
        }
        frames.sort();
        QCOMPARE(frames, (QStringList{QStringLiteral("Character"), QStringLiteral("Index")}));
        QCOMPARE(dialog.DecimalField->mapTo(&dialog, QPoint(0, 0)), QPoint(20, 30));
        QCOMPARE(dialog.HexField->mapTo(&dialog, QPoint(0, 0)), QPoint(20, 50));
        QCOMPARE(dialog.GlyphField->mapTo(&dialog, QPoint(0, 0)), QPoint(120, 30));
        QCOMPARE(dialog.GlyphField->size(), QSize(60, 40));
        QVERIFY(dialog.GlyphField->font().bold());
        QCOMPARE(dialog.GlyphField->font().pointSize(), 18);
        for (const QSpinBox* field : {dialog.DecimalField, static_cast<QSpinBox*>(dialog.HexField),
                                      static_cast<QSpinBox*>(dialog.GlyphField)}) {
            QCOMPARE(field->minimum(), 1);
            QCOMPARE(field->maximum(), 65535);
        }
    }

    void StartsAtTheCodeOrAtAOnFirstUse_data() {
        QTest::addColumn<qint64>("code");
        QTest::addColumn<int>("shown");
        QTest::addColumn<QString>("hex");
        QTest::addColumn<QString>("glyph");
        QTest::newRow("code") << qint64{0x4E00} << 19968 << QStringLiteral("4E00")
                              << QStringLiteral("\u4E00");
        QTest::newRow("highest") << qint64{65535} << 65535 << QStringLiteral("FFFF")
                                 << QStringLiteral("\uFFFF");
        QTest::newRow("first use")
            << qint64{-1} << 65 << QStringLiteral("41") << QStringLiteral("A");
        QTest::newRow("zero") << qint64{0} << 65 << QStringLiteral("41") << QStringLiteral("A");
        QTest::newRow("too large")
            << qint64{65536} << 65 << QStringLiteral("41") << QStringLiteral("A");
    }
    void StartsAtTheCodeOrAtAOnFirstUse() {
        QFETCH(qint64, code);
        QFETCH(int, shown);
        QFETCH(QString, hex);
        QFETCH(QString, glyph);
        CharacterCodeDialog dialog(code);
        QCOMPARE(dialog.DecimalField->value(), shown);
        QCOMPARE(dialog.HexField->text(), hex);
        QCOMPARE(dialog.GlyphField->text(), glyph);
        QCOMPARE(dialog.Code(), shown);
    }

    void DecimalEditMovesTheOthers() {
        CharacterCodeDialog dialog(65);
        dialog.show();
        TypeInto(dialog.DecimalField, QStringLiteral("233"));
        QCOMPARE(dialog.HexField->text(), QStringLiteral("E9"));
        QCOMPARE(dialog.GlyphField->text(), QStringLiteral("\u00E9"));
        QCOMPARE(dialog.Code(), 233);
    }

    void HexEditIsReadAsHexadecimal() {
        CharacterCodeDialog dialog(65);
        dialog.show();
        TypeInto(dialog.HexField, QStringLiteral("4e00"));
        QCOMPARE(dialog.DecimalField->value(), 0x4E00);
        QCOMPARE(dialog.GlyphField->text(), QStringLiteral("\u4E00"));
        dialog.HexField->stepBy(1);
        QCOMPARE(dialog.HexField->text(), QStringLiteral("4E01"));
        QCOMPARE(dialog.DecimalField->value(), 0x4E01);
    }

    void GlyphEditTakesTheFirstCharacter() {
        CharacterCodeDialog dialog(65);
        dialog.show();
        TypeInto(dialog.GlyphField, QStringLiteral("xyz"));
        QCOMPARE(dialog.GlyphField->text(), QStringLiteral("x"));
        QCOMPARE(dialog.DecimalField->value(), int{u'x'});
        QCOMPARE(dialog.HexField->text(), QStringLiteral("78"));
        dialog.GlyphField->stepBy(-1);
        QCOMPARE(dialog.GlyphField->text(), QStringLiteral("w"));
        QCOMPARE(dialog.DecimalField->value(), int{u'w'});
    }

    void KeepingInStepRaisesNoFurtherChanges() {
        CharacterCodeDialog dialog(65);
        QSignalSpy decimal(dialog.DecimalField, &QSpinBox::valueChanged);
        QSignalSpy hex(dialog.HexField, &QSpinBox::valueChanged);
        QSignalSpy glyph(dialog.GlyphField, &QSpinBox::valueChanged);
        dialog.GlyphField->setValue(66);
        QCOMPARE(glyph.count(), 1);
        QCOMPARE(decimal.count(), 0);
        QCOMPARE(hex.count(), 0);
        QCOMPARE(dialog.Code(), 66);
    }

    void OkReturnsTheDecimalValue() {
        const std::int64_t code = AskWhile(-1, [](CharacterCodeDialog& dialog) {
            TypeInto(dialog.HexField, QStringLiteral("FF21"));
            QTest::mouseClick(dialog.OkButton, Qt::LeftButton);
        });
        QCOMPARE(code, std::int64_t{0xFF21});
    }

    void ClosingReturnsMinusOne() {
        const std::int64_t code = AskWhile(66, [](CharacterCodeDialog& dialog) {
            TypeInto(dialog.DecimalField, QStringLiteral("70"));
            dialog.close();
        });
        QCOMPARE(code, std::int64_t{-1});
    }

    void EscapeReturnsMinusOne() {
        const std::int64_t code = AskWhile(
            66, [](CharacterCodeDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
        QCOMPARE(code, std::int64_t{-1});
    }

    void AnotherWindowClosingCancels() {
        QWidget other;
        other.show();
        const std::int64_t code = AskWhile(66, [&other](CharacterCodeDialog&) { other.close(); });
        QCOMPARE(code, std::int64_t{-1});
    }

    void IsOwnedByTheActiveWindow() {
        QWidget owner;
        owner.setGeometry(100, 100, 600, 400);
        owner.show();
        QApplication::setActiveWindow(&owner);
        QVERIFY(QTest::qWaitForWindowActive(&owner));
        QWidget* parent = nullptr;
        const std::int64_t code = AskWhile(66, [&parent](CharacterCodeDialog& dialog) {
            parent = dialog.parentWidget();
            dialog.OkButton->click();
        });
        QCOMPARE(code, std::int64_t{66});
        QCOMPARE(parent, &owner);
    }
};

class GlyphSpinBoxTests : public QObject {
    Q_OBJECT

private slots:
    void EmptyTextMeansZeroWhereTheRangeAllowsIt() {
        GlyphSpinBox field;
        field.setValue(32);
        QCOMPARE(field.text(), QStringLiteral(" "));
        field.show();
        TypeInto(&field, QStringLiteral("A"));
        QCOMPARE(field.value(), 65);
        TypeInto(&field, QString());
        QCOMPARE(field.value(), 0);
        QCOMPARE(field.text(), QString());
    }

    void CodeOfASurrogateIsTheUnitItself() {
        GlyphSpinBox field;
        field.show();
        TypeInto(&field, QStringLiteral("\U0001F600"));
        QCOMPARE(field.value(), 0xD83D);
        QCOMPARE(field.text().size(), 1);
    }
};

GLYFORA_QTEST(CharacterCodeDialogTests);
GLYFORA_QTEST(GlyphSpinBoxTests);

} // namespace glyfora::app

#include "CharacterCodeDialogTests.moc"
