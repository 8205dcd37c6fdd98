#include "ImportWindowTests.h"

#include "QtTestRegistry.h"
#include "ScratchFolder.h"
#include "ShellFixture.h"
#include "app/editing/FontImport.h"
#include "app/shell/Configuration.h"
#include "app/shell/Settings.h"
#include "app/windows/ColourButton.h"
#include "app/windows/EffectsFrame.h"
#include "app/windows/ImportWindow.h"
#include "app/windows/MainWindow.h"
#include "import/FontMatching.h"
#include "import/FontServices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTest>
#include <QTextEdit>
#include <QTreeWidget>
#include <functional>

// A change a user makes to one control of the import window.
using ImportControlChange = std::function<void(glyfora::app::ImportWindow&)>;
Q_DECLARE_METATYPE(ImportControlChange)
Q_DECLARE_METATYPE(glyfora::fontimport::ImportOptions)

namespace glyfora::app::testing {
namespace {

ImportWindow& Window(Editor& editor) {
    return *editor.TheShell->Import;
}

QGroupBox* Frame(ImportWindow& window, const QString& caption) {
    for (QGroupBox* frame : window.findChildren<QGroupBox*>()) {
        // The title doubles "&" so that it shows as itself, not as a shortcut mark.
        if (frame->title() == QString(caption).replace(u'&', QStringLiteral("&&"))) {
            return frame;
        }
    }
    return nullptr;
}

QStringList Entries(const QComboBox& list) {
    QStringList entries;
    for (int i = 0; i < list.count(); ++i) {
        entries << list.itemText(i);
    }
    return entries;
}

int CountInkPixels(const QImage& picture, QRect area) {
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGray(picture.pixel(x, y)) < 128) {
                ++ink;
            }
        }
    }
    return ink;
}

// Imports through the window's button with DejaVu Sans, counting the progress
// reports.
struct ImportRun {
    int Reports = 0;
    bool CancelAtFirstReport = false;
};

void ClickCreate(Editor& editor, ImportRun& run) {
    editor.TheShell->ImportProgressHook = [&run](std::int64_t /*done*/, std::int64_t /*total*/) {
        ++run.Reports;
        return !run.CancelAtFirstReport;
    };
    QTest::mouseClick(Window(editor).CreateButton, Qt::LeftButton);
}

void UseDejaVu(ImportWindow& window) {
    window.FamilyList->setCurrentText(QStringLiteral("DejaVu Sans"));
}

} // namespace

void ImportWindowTests::framesHaveTheirCaptionsAndPlaces_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("family") << QStringLiteral("FontFamily") << QRect(10, 10, 220, 50);
    QTest::newRow("size") << QStringLiteral("Size") << QRect(240, 10, 100, 50);
    QTest::newRow("hint") << QStringLiteral("Text-Antialias-Mode") << QRect(10, 70, 200, 50);
    QTest::newRow("quality") << QStringLiteral("Compositing-Quality") << QRect(10, 130, 200, 50);
    QTest::newRow("style") << QStringLiteral("Style") << QRect(10, 190, 120, 150);
    QTest::newRow("space") << QStringLiteral("Space & Padding") << QRect(140, 190, 200, 150);
    QTest::newRow("layout") << QStringLiteral("Layout") << QRect(10, 385, 330, 50);
    QTest::newRow("characters") << QStringLiteral("Characters") << QRect(10, 445, 330, 50);
    QTest::newRow("fallbacks") << QStringLiteral("Fallbacks") << QRect(10, 505, 330, 50);
    QTest::newRow("font file") << QStringLiteral("Font File") << QRect(350, 320, 240, 70);
}

void ImportWindowTests::framesHaveTheirCaptionsAndPlaces() {
    QFETCH(QString, caption);
    QFETCH(QRect, geometry);
    Editor editor;
    ImportWindow& window = Window(editor);
    QCOMPARE(window.windowTitle(), QStringLiteral("Import TTF"));
    // Grown below the original 385 for the new frames and the status line, and to the right of
    // the original 350 for the effects.
    QCOMPARE(window.size(), QSize(600, 610));
    QGroupBox* frame = Frame(window, caption);
    QVERIFY(frame != nullptr);
    QCOMPARE(frame->geometry(), geometry);
}

void ImportWindowTests::numericFieldsHaveTheirRangesDefaultsAndPlaces_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("frame");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("value");
    QTest::addColumn<QRect>("geometry");
    const QString space = QStringLiteral("Space & Padding");
    QTest::newRow("size") << QStringLiteral("SizeField") << QStringLiteral("Size") << 0 << 128 << 24
                          << QRect(10, 20, 80, 20);
    QTest::newRow("letter space") << QStringLiteral("LetterSpaceField") << space << -100 << 100 << 0
                                  << QRect(90, 20, 80, 20);
    QTest::newRow("top") << QStringLiteral("PaddingTopField") << space << -100 << 100 << 0
                         << QRect(90, 50, 50, 20);
    QTest::newRow("left") << QStringLiteral("PaddingLeftField") << space << -100 << 100 << 0
                          << QRect(65, 70, 50, 20);
    QTest::newRow("right") << QStringLiteral("PaddingRightField") << space << -100 << 100 << 0
                           << QRect(115, 70, 50, 20);
    QTest::newRow("bottom") << QStringLiteral("PaddingBottomField") << space << -100 << 100 << 0
                            << QRect(90, 90, 50, 20);
    QTest::newRow("max width") << QStringLiteral("MaxWidthField") << space << 0 << 16384 << 512
                               << QRect(80, 120, 60, 20);
    QTest::newRow("gutter") << QStringLiteral("GutterField") << QStringLiteral("Layout") << 0 << 64
                            << 1 << QRect(155, 20, 50, 20);
}

void ImportWindowTests::numericFieldsHaveTheirRangesDefaultsAndPlaces() {
    QFETCH(QString, name);
    QFETCH(QString, frame);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, value);
    QFETCH(QRect, geometry);
    Editor editor;
    auto* field = Window(editor).findChild<QSpinBox*>(name);
    QVERIFY(field != nullptr);
    QCOMPARE(field->minimum(), minimum);
    QCOMPARE(field->maximum(), maximum);
    QCOMPARE(field->value(), value);
    QCOMPARE(field->geometry(), geometry);
    QCOMPARE(field->parentWidget(), Frame(Window(editor), frame));
}

void ImportWindowTests::checkBoxesAreLaidOutUnchecked() {
    Editor editor;
    ImportWindow& window = Window(editor);
    const QStringList texts{QStringLiteral("Bold"),      QStringLiteral("Italic"),
                            QStringLiteral("Underline"), QStringLiteral("Half-Pixel"),
                            QStringLiteral("Center"),    QStringLiteral("Unicode")};
    const QList<QCheckBox*> boxes{window.BoldBox,      window.ItalicBox, window.UnderlineBox,
                                  window.HalfPixelBox, window.CenterBox, window.UnicodeBox};
    for (int i = 0; i < boxes.size(); ++i) {
        QCOMPARE(boxes[i]->text(), texts[i]);
        QCOMPARE(boxes[i]->geometry(), QRect(10, 20 + 20 * i, 100, 20));
        QCOMPARE(boxes[i]->parentWidget(), Frame(window, QStringLiteral("Style")));
        QVERIFY(!boxes[i]->isChecked());
    }
    struct Label {
        QString Text;
        QRect Geometry;
    };
    for (const Label& expected : {Label{QStringLiteral("Letter Space:"), {10, 23, 70, 16}},
                                  Label{QStringLiteral("Padding:"), {10, 53, 70, 16}},
                                  Label{QStringLiteral("max width:"), {10, 120, 70, 16}}}) {
        bool found = false;
        for (QLabel* label :
             Frame(window, QStringLiteral("Space & Padding"))->findChildren<QLabel*>()) {
            if (label->text() == expected.Text) {
                found = true;
                QCOMPARE(label->geometry(), expected.Geometry);
            }
        }
        QVERIFY2(found, qPrintable(expected.Text));
    }
}

void ImportWindowTests::renderingListsListTheirEntries() {
    Editor editor;
    ImportWindow& window = Window(editor);
    QCOMPARE(
        Entries(*window.HintList),
        (QStringList{QStringLiteral("SystemDefault"), QStringLiteral("SingleBitPerPixelGridFit"),
                     QStringLiteral("SingleBitPerPixel"), QStringLiteral("AntiAliasGridFit"),
                     QStringLiteral("AntiAlias"), QStringLiteral("ClearTypeGridFit")}));
    QCOMPARE(Entries(*window.QualityList),
             (QStringList{QStringLiteral("Invalid"), QStringLiteral("Default"),
                          QStringLiteral("HighSpeed"), QStringLiteral("HighQuality"),
                          QStringLiteral("GammaCorrected"), QStringLiteral("AssumeLinear")}));
    QCOMPARE(window.HintList->currentIndex(), 4);
    QCOMPARE(window.QualityList->currentIndex(), 5);
    QCOMPARE(window.HintList->geometry(), QRect(10, 20, 180, 20));
    QCOMPARE(window.QualityList->geometry(), QRect(10, 20, 180, 20));
}

void ImportWindowTests::familyListIsEditableAndHoldsTheInstalledFamilies() {
    Editor editor;
    ImportWindow& window = Window(editor);
    QVERIFY(window.FamilyList->isEditable());
    QCOMPARE(window.FamilyList->geometry(), QRect(10, 20, 200, 20));
    QCOMPARE(window.FamilyList->currentText(), QStringLiteral("Arial"));
    std::vector<fontimport::FontFamilyEntry> families;
    QVERIFY(fontimport::EnumerateFontFamilies(1, families));
    QStringList expected;
    for (const fontimport::FontFamilyEntry& family : families) {
        expected << QString::fromStdString(family.Name);
    }
    QCOMPARE(Entries(*window.FamilyList), expected);
    QVERIFY(expected.contains(QStringLiteral("DejaVu Sans")));
}

void ImportWindowTests::previewAndButtonSitOutsideTheFrames() {
    Editor editor;
    ImportWindow& window = Window(editor);
    // On the window's page, which scrolls when the screen is too small for it.
    QWidget* page = window.findChild<QWidget*>(QStringLiteral("ImportWindowPage"));
    QVERIFY(page != nullptr);
    QCOMPARE(page->size(), window.size());
    QCOMPARE(window.Preview->parentWidget(), page);
    QCOMPARE(window.Preview->geometry(), QRect(220, 70, 120, 110));
    QCOMPARE(window.CreateButton->parentWidget(), page);
    QCOMPARE(window.CreateButton->text(), QStringLiteral("Create Typeface"));
    QCOMPARE(window.CreateButton->geometry(), QRect(230, 350, 110, 25));
}

void ImportWindowTests::gutterAndPowerOfTwoApplyOnlyToTheCompactLayout() {
    Editor editor;
    ImportWindow& window = Window(editor);
    QCOMPARE(window.LayoutList->currentIndex(), 0);
    QVERIFY(!window.GutterField->isEnabled());
    QVERIFY(!window.PowerOfTwoBox->isEnabled());
    window.LayoutList->setCurrentIndex(1);
    QVERIFY(window.GutterField->isEnabled());
    QVERIFY(window.PowerOfTwoBox->isEnabled());
    fontimport::ImportOptions options;
    window.ShowOptions(options); // restored as rows, without a change signal
    QVERIFY(!window.GutterField->isEnabled());
    QVERIFY(!window.PowerOfTwoBox->isEnabled());
}

void ImportWindowTests::pagesChoiceSitsBesideTheButtonForTheCompactLayout() {
    Editor editor;
    ImportWindow& window = Window(editor);
    QWidget* page = window.findChild<QWidget*>(QStringLiteral("ImportWindowPage"));
    QCOMPARE(window.PagesList->parentWidget(), page);
    QCOMPARE(window.PagesList->geometry(), QRect(50, 352, 100, 20));
    QCOMPARE(window.PagesList->count(), 10);
    QCOMPARE(window.PagesList->itemText(0), QStringLiteral("None"));
    QCOMPARE(window.PagesList->itemText(6), QStringLiteral("2048 × 2048"));
    // It takes room no other control of the window uses.
    for (QWidget* other : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (other != window.PagesList && other->isVisibleTo(page) &&
            other->geometry().intersects(window.PagesList->geometry())) {
            QFAIL(qPrintable(QStringLiteral("overlaps ") + other->objectName()));
        }
    }
    QVERIFY(!window.PagesList->isEnabled());
    QCOMPARE(window.ReadOptions().Pages, std::optional<document::PageSize>());
    window.LayoutList->setCurrentIndex(1);
    QVERIFY(window.PagesList->isEnabled());
    window.PagesList->setCurrentIndex(6);
    QCOMPARE(window.ReadOptions().Pages, std::optional(document::PageSize{2048, 2048}));
}

void ImportWindowTests::importReportCountsWhatWasMade() {
    document::Typeface typeface;
    QCOMPARE(ImportReport(typeface, {}),
             QStringLiteral("Created 0 characters and 0 kerning pairs in no picture."));
    document::AddCharacter(typeface, 'A');
    document::AddCharacter(typeface, 'B');
    document::AddKerningPair(typeface, 'A', 'B', -1);
    document::SetCharacterSetImage(typeface, document::MakeImage(64, 32));
    QCOMPARE(ImportReport(typeface, {"3 listed codes are in no font: U+0E01, U+0E02, U+0E03."}),
             QStringLiteral("Created 2 characters and 1 kerning pairs in a 64 × 32 picture. 3 "
                            "listed codes are in no font: U+0E01, U+0E02, U+0E03."));
}

void ImportWindowTests::statusLineNamesTheFamilyThatStandsIn() {
    Editor editor;
    ImportWindow& window = Window(editor);
    UseDejaVu(window);
    QCOMPARE(window.StatusLine->text(), QString());
    const std::string missing = "Glyfora No Such Family";
    window.FamilyList->setCurrentText(QString::fromStdString(missing));
    const std::optional<fontimport::FontFile> standIn = fontimport::MatchFontFile(missing, 0);
    QVERIFY(standIn && !standIn->ExactFamily);
    QCOMPARE(window.StatusLine->text(),
             QStringLiteral("\"Glyfora No Such Family\" is not installed; \"%1\" is used instead.")
                 .arg(QString::fromStdString(standIn->Family)));
    // Restored from the settings, too.
    fontimport::ImportOptions options;
    options.Family = "DejaVu Sans";
    window.ShowOptions(options);
    QCOMPARE(window.StatusLine->text(), QString());
}

using ControlChange = ImportControlChange;

void ImportWindowTests::previewIsRedrawnByTheControlsThatChangeTheGlyphs_data() {
    QTest::addColumn<ControlChange>("change");
    QTest::addColumn<int>("redraws");
    const auto click = [](QCheckBox* ImportWindow::*box) {
        return ControlChange([box](ImportWindow& window) {
            // On the indicator: a click beyond a short caption does not hit the box.
            QTest::mouseClick(window.*box, Qt::LeftButton, {}, QPoint(6, 10));
        });
    };
    const auto step = [](QSpinBox* ImportWindow::*field) {
        return ControlChange([field](ImportWindow& window) { (window.*field)->stepUp(); });
    };
    QTest::newRow("family picked") << ControlChange([](ImportWindow& window) {
        window.FamilyList->setCurrentIndex(
            window.FamilyList->findText(QStringLiteral("DejaVu Sans")));
    }) << 1;
    QTest::newRow("family typed") << ControlChange([](ImportWindow& window) {
        window.FamilyList->lineEdit()->clear();
        QTest::keyClicks(window.FamilyList->lineEdit(), QStringLiteral("Dej"));
    }) << 4; // cleared, then one redraw per letter
    QTest::newRow("size") << step(&ImportWindow::SizeField) << 1;
    QTest::newRow("hint") << ControlChange([](ImportWindow& window) {
        window.HintList->setCurrentIndex(1);
    }) << 1;
    QTest::newRow("quality") << ControlChange([](ImportWindow& window) {
        window.QualityList->setCurrentIndex(0);
    }) << 1;
    QTest::newRow("bold") << click(&ImportWindow::BoldBox) << 1;
    QTest::newRow("italic") << click(&ImportWindow::ItalicBox) << 1;
    QTest::newRow("underline") << click(&ImportWindow::UnderlineBox) << 1;
    QTest::newRow("half-pixel") << click(&ImportWindow::HalfPixelBox) << 1;
    QTest::newRow("center") << click(&ImportWindow::CenterBox) << 1;
    QTest::newRow("unicode") << click(&ImportWindow::UnicodeBox) << 0;
    QTest::newRow("letter space") << step(&ImportWindow::LetterSpaceField) << 0;
    QTest::newRow("padding top") << step(&ImportWindow::PaddingTopField) << 0;
    QTest::newRow("padding left") << step(&ImportWindow::PaddingLeftField) << 0;
    QTest::newRow("padding right") << step(&ImportWindow::PaddingRightField) << 0;
    QTest::newRow("padding bottom") << step(&ImportWindow::PaddingBottomField) << 0;
    QTest::newRow("max width") << step(&ImportWindow::MaxWidthField) << 0;
    QTest::newRow("layout") << ControlChange([](ImportWindow& window) {
        window.LayoutList->setCurrentIndex(1);
    }) << 0;
    QTest::newRow("gutter") << step(&ImportWindow::GutterField) << 0;
    QTest::newRow("power of two") << click(&ImportWindow::PowerOfTwoBox) << 0;
    const auto effect = [](auto change) {
        return ControlChange([change](ImportWindow& window) { change(*window.Effects); });
    };
    QTest::newRow("outline width")
        << effect([](EffectsFrame& frame) { frame.OutlineWidthField->stepUp(); }) << 1;
    QTest::newRow("outline join") << effect([](EffectsFrame& frame) {
        frame.OutlineJoinList->setCurrentIndex(1);
    }) << 1;
    QTest::newRow("shadow") << effect([](EffectsFrame& frame) { frame.ShadowBox->click(); }) << 1;
    QTest::newRow("shadow blur") << effect([](EffectsFrame& frame) {
        frame.ShadowBlurField->stepUp();
    }) << 1;
    QTest::newRow("shadow x") << effect([](EffectsFrame& frame) { frame.ShadowXField->stepUp(); })
                              << 1;
    QTest::newRow("gradient") << effect([](EffectsFrame& frame) { frame.GradientBox->click(); })
                              << 1;
    QTest::newRow("distance field")
        << effect([](EffectsFrame& frame) { frame.DistanceFieldBox->click(); }) << 1;
    QTest::newRow("spread") << effect([](EffectsFrame& frame) { frame.SpreadField->stepUp(); })
                            << 1;
}

void ImportWindowTests::previewIsRedrawnByTheControlsThatChangeTheGlyphs() {
    QFETCH(ControlChange, change);
    QFETCH(int, redraws);
    Editor editor;
    ImportWindow& window = Window(editor);
    window.show();
    QCOMPARE(window.PreviewDraws, 1); // drawn once at start
    change(window);
    QCOMPARE(window.PreviewDraws, 1 + redraws);
}

void ImportWindowTests::showingOrRestoringDoesNotRedrawThePreview() {
    Editor editor;
    ImportWindow& window = Window(editor);
    auto* menuItem = editor.TheShell->Main->findChild<QAction*>(QStringLiteral("FileImportTtf"));
    QVERIFY(menuItem != nullptr);
    menuItem->trigger();
    QVERIFY(window.isVisible());
    fontimport::ImportOptions options;
    options.Family = "DejaVu Sans";
    options.Size = 40;
    options.Style = 0x100;
    options.TextAntialiasMode = fontimport::TextHint::SingleBitPerPixelGridFit;
    window.ShowOptions(options);
    // Drawn once at start with the restored options, not again by showing or restoring.
    QCOMPARE(window.PreviewDraws, 1);
    QVERIFY(!window.Preview->Picture().isNull());
}

void ImportWindowTests::previewShowsBlackTextOnButtonFace() {
    Editor editor;
    ImportWindow& window = Window(editor);
    UseDejaVu(window);
    QCOMPARE(window.PreviewDraws, 2);
    const QImage& picture = window.Preview->Picture();
    QCOMPARE(picture.size(), QSize(120, 110));
    const QRgb face = window.palette().color(QPalette::Button).rgba();
    QCOMPARE(picture.pixel(119, 109), face | 0xFF000000u);
    QCOMPARE(picture.pixel(0, 0), face | 0xFF000000u);
    // "ABC" on the first line, "abc" on the second; the gap between them stays
    // empty.
    QVERIFY(CountInkPixels(picture, {5, 5, 60, 30}) > 50);
    QVERIFY(CountInkPixels(picture, {5, 55, 60, 30}) > 50);
    QCOMPARE(CountInkPixels(picture, {70, 0, 50, 110}), 0);
    bool pureBlack = false;
    for (int x = 0; x < 60 && !pureBlack; ++x) {
        for (int y = 5; y < 35 && !pureBlack; ++y) {
            pureBlack = picture.pixel(x, y) == 0xFF000000u;
        }
    }
    QVERIFY(pureBlack);
}

void ImportWindowTests::effectsFrameSitsRightOfTheOtherControls() {
    Editor editor;
    ImportWindow& window = Window(editor);
    QCOMPARE(window.Effects->title(), QStringLiteral("Effects"));
    QCOMPARE(window.Effects->geometry(), QRect(350, 10, 240, 300));
    // Everything else on the window's page stays left of it, but the font file's frame below it.
    QWidget* page = window.findChild<QWidget*>(QStringLiteral("ImportWindowPage"));
    QVERIFY(page != nullptr);
    QCOMPARE(window.Effects->parentWidget(), page);
    const QGroupBox* fontFile = Frame(window, QStringLiteral("Font File"));
    QVERIFY(fontFile != nullptr);
    QVERIFY(fontFile->geometry().top() > window.Effects->geometry().bottom());
    int others = 0;
    for (QWidget* child : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child != window.Effects && child != fontFile) {
            QVERIFY2(child->geometry().right() < 350, qPrintable(child->objectName()));
            ++others;
        }
    }
    QVERIFY(others > 10);
    bool glowSaid = false;
    for (const QLabel* label : window.Effects->findChildren<QLabel*>()) {
        glowSaid = glowSaid || label->text().contains(QStringLiteral("glow is a shadow"));
    }
    QVERIFY(glowSaid);
    // Off by default; the values that only apply when chosen are greyed out.
    QVERIFY(window.ReadOptions().Effects == document::GlyphEffects{});
    QVERIFY(!window.Effects->ShadowBlurField->isEnabled());
    QVERIFY(!window.Effects->GradientTopButton->isEnabled());
    QVERIFY(!window.Effects->SpreadField->isEnabled());
    window.Effects->ShadowBox->click();
    QVERIFY(window.Effects->ShadowBlurField->isEnabled());
    window.Effects->GradientBox->click();
    QVERIFY(window.Effects->GradientTopButton->isEnabled());
    QVERIFY(!window.Effects->FillColourButton->isEnabled());
}

void ImportWindowTests::previewShowsTheOutline() {
    Editor editor;
    ImportWindow& window = Window(editor);
    UseDejaVu(window);
    const auto count = [&window](QRgb colour) {
        const QImage& picture = window.Preview->Picture();
        int found = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                found += picture.pixel(x, y) == colour ? 1 : 0;
            }
        }
        return found;
    };
    QCOMPARE(count(0xFFFFFFFFu), 0); // black glyphs on the button face
    window.Effects->OutlineWidthField->setValue(2.0);
    window.Effects->OutlineColourButton->SetColour(0xFF0000FF); // red, shown at the next change
    window.Effects->OutlineJoinList->setCurrentIndex(1);
    QVERIFY(count(0xFFFFFFFFu) > 50); // the white fill
    QVERIFY(count(0xFFFF0000u) > 50); // the red outline (QRgb is 0xAARRGGBB)
}

void ImportWindowTests::previewDiffersBetweenMonochromeAndAntialiasedHints() {
    Editor editor;
    ImportWindow& window = Window(editor);
    UseDejaVu(window);
    const auto distinctGreys = [](const QImage& picture) {
        QSet<QRgb> colours;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                colours.insert(picture.pixel(x, y));
            }
        }
        return colours.size();
    };
    window.HintList->setCurrentIndex(1); // SingleBitPerPixelGridFit
    const QImage monochrome = window.Preview->Picture();
    window.HintList->setCurrentIndex(4); // AntiAlias
    const QImage antialiased = window.Preview->Picture();
    QCOMPARE(distinctGreys(monochrome), 2); // ink and background only
    QVERIFY(distinctGreys(antialiased) > 10);
}

void ImportWindowTests::optionsRoundTripThroughTheSettings_data() {
    QTest::addColumn<fontimport::ImportOptions>("options");
    QTest::newRow("defaults") << fontimport::ImportOptions{};
    fontimport::ImportOptions changed;
    changed.Family = "DejaVu Serif";
    changed.Size = 37;
    changed.TextAntialiasMode = fontimport::TextHint::SingleBitPerPixelGridFit;
    changed.CompositingQuality = fontimport::DrawingQuality::Invalid;
    changed.Style = 0x100 + 0x200 + 4;
    changed.HalfPixel = true;
    changed.Center = true;
    changed.Unicode = true;
    changed.LetterSpace = -3;
    changed.PaddingTop = 1;
    changed.PaddingBottom = 2;
    changed.PaddingLeft = -4;
    changed.PaddingRight = 5;
    changed.MaxWidth = 16384;
    changed.Layout = fontimport::CellLayout::Compact;
    changed.Gutter = 64;
    changed.PowerOfTwo = true;
    changed.Characters = "32-126, U+0400-U+04FF";
    changed.Fallbacks = {"WenQuanYi Zen Hei", "DejaVu Serif"};
    changed.Effects.OutlineWidth = 2.5;
    changed.Effects.OutlineColour = 0x80123456;
    changed.Effects.Join = document::OutlineJoin::Sharp;
    changed.Effects.Shadow = true;
    changed.Effects.ShadowX = -32;
    changed.Effects.ShadowY = 7;
    changed.Effects.ShadowBlur = 1.25;
    changed.Effects.ShadowColour = 0x11223344;
    changed.Effects.FillColour = 0xFF00FF00;
    changed.Effects.Gradient = true;
    changed.Effects.GradientTop = 0xFFABCDEF;
    changed.Effects.GradientBottom = 0x01020304;
    changed.Effects.DistanceField = true;
    changed.Effects.DistanceSpread = 32;
    changed.Pages = document::PageSize{2048, 2048};
    QTest::newRow("every option changed") << changed;
    fontimport::ImportOptions oblong;
    oblong.Layout = fontimport::CellLayout::Compact;
    oblong.Pages = document::PageSize{256, 4096}; // from the command line's settings, say
    QTest::newRow("pages the list does not offer") << oblong;
    fontimport::ImportOptions italicOnly;
    italicOnly.Style = 0x200;
    italicOnly.Family = "Not An Installed Family";
    QTest::newRow("italic, family not installed") << italicOnly;
}

void ImportWindowTests::optionsRoundTripThroughTheSettings() {
    QFETCH(fontimport::ImportOptions, options);
    Configuration saved;
    {
        Editor editor;
        editor.TheShell->Import->ShowOptions(options);
        saved = CollectSettings(*editor.TheShell);
        QVERIFY(saved.ImportTTF == options);
    }
    Editor restored;
    ApplySettings(*restored.TheShell, saved);
    const fontimport::ImportOptions read = restored.TheShell->Import->ReadOptions();
    QCOMPARE(read.Family, options.Family);
    QVERIFY(read == options);
}

void ImportWindowTests::restoredValuesAreClampedToTheControls() {
    Editor editor;
    ImportWindow& window = Window(editor);
    // As a hand-edited configuration file may hold them.
    const fontimport::ImportOptions options =
        ReadConfiguration("[ImportTTF]\nSize = 9999\nTextAntialiasMode = 17\n"
                          "CompositingQuality = -4\nLetterSpace = -500\n"
                          "MaxWidth = 99999\nGutter = -3\n")
            .ImportTTF;
    window.ShowOptions(options);
    const fontimport::ImportOptions read = window.ReadOptions();
    QCOMPARE(read.Size, 128);
    QCOMPARE(read.TextAntialiasMode, fontimport::TextHint::ClearTypeGridFit);
    QCOMPARE(read.CompositingQuality, fontimport::DrawingQuality::Invalid);
    QCOMPARE(read.LetterSpace, -100);
    QCOMPARE(read.MaxWidth, 16384);
    QCOMPARE(read.Gutter, 0);
}

void ImportWindowTests::layoutControlsMakeACompactTypeface() {
    Editor editor;
    Shell& shell = *editor.TheShell;
    ImportWindow& window = Window(editor);
    QCOMPARE(Entries(*window.LayoutList),
             (QStringList{QStringLiteral("Rows"), QStringLiteral("Compact")}));
    QCOMPARE(window.LayoutList->currentIndex(), 0);
    QCOMPARE(window.LayoutList->geometry(), QRect(10, 20, 90, 20));
    QCOMPARE(window.PowerOfTwoBox->text(), QStringLiteral("Power of two"));
    QCOMPARE(window.PowerOfTwoBox->geometry(), QRect(220, 20, 100, 20));
    QVERIFY(!window.PowerOfTwoBox->isChecked());
    QCOMPARE(window.PowerOfTwoBox->parentWidget(), Frame(window, QStringLiteral("Layout")));

    UseDejaVu(window);
    window.LayoutList->setCurrentIndex(1);
    window.MaxWidthField->setValue(300); // a power of two is at most this
    QTest::mouseClick(window.PowerOfTwoBox, Qt::LeftButton, {}, QPoint(6, 10));
    QVERIFY(window.PowerOfTwoBox->isChecked());
    ImportRun run;
    ClickCreate(editor, run);
    const document::Typeface* typeface = CurrentTypeface(shell.State);
    QVERIFY(typeface->Content.Characters.Size() > 150);
    QCOMPARE(typeface->Content.Image->Width, 256);
    QCOMPARE(typeface->Content.Image->Height & (typeface->Content.Image->Height - 1), 0);
    const document::Character* space = document::FindCharacter(*typeface, u' ');
    QVERIFY(space != nullptr && space->Outlay.Width > 0);
    QCOMPARE(space->Source.Width, 0); // no ink, no cell
    QVERIFY(editor.Messages.Messages.empty());
}

void ImportWindowTests::createTypefaceInstallsTheImportedFont() {
    Editor editor;
    Shell& shell = *editor.TheShell;
    UseDejaVu(Window(editor));
    shell.Main->CommentField->setPlainText(QStringLiteral("old document"));
    CurrentTypeface(shell.State)->Modified = false;
    const bool windowShown = Window(editor).isVisible();
    ImportRun run;
    ClickCreate(editor, run);
    QVERIFY(run.Reports > 0);
    QCOMPARE(Window(editor).isVisible(),
             windowShown); // the window stays as it was
    document::Typeface* typeface = document::TypefaceFromId(shell.State.Registry, TypefaceId);
    QVERIFY(typeface != nullptr);
    QCOMPARE(CurrentTypeface(shell.State), typeface);
    // Codes up to 255 only, as "Unicode" is not checked; DejaVu Sans covers the
    // printable ones.
    QVERIFY(typeface->Content.Characters.Size() > 150);
    QVERIFY(document::FindCharacter(*typeface, u'A') != nullptr);
    QVERIFY(typeface->Content.KerningPairs.Size() > 0);
    QVERIFY(typeface->Content.Sprite != nullptr);
    QVERIFY(document::FlippedSprite(typeface->Content) != nullptr);
    QCOMPARE(typeface->Content.Sprite->Width, 512);
    QVERIFY(typeface->Modified);
    QVERIFY(shell.Main->CommentField->toPlainText().isEmpty());
    QCOMPARE(Window(editor).StatusLine->text(),
             QStringLiteral("Created %1 characters and %2 kerning pairs in a 512 × %3 picture.")
                 .arg(typeface->Content.Characters.Size())
                 .arg(typeface->Content.KerningPairs.Size())
                 .arg(typeface->Content.Image->Height));
    // The lists show the new document.
    QCOMPARE(static_cast<std::int64_t>(shell.Main->CharacterList->topLevelItemCount()),
             static_cast<std::int64_t>(typeface->Content.Characters.Size()));
    QCOMPARE(static_cast<std::int64_t>(shell.Main->KerningPairList->topLevelItemCount()),
             static_cast<std::int64_t>(typeface->Content.KerningPairs.Size()));
    QVERIFY(editor.Messages.Messages.empty());
}

void ImportWindowTests::cancelledImportKeepsTheDocument() {
    Editor editor;
    Shell& shell = *editor.TheShell;
    UseDejaVu(Window(editor));
    const document::Typeface* before = CurrentTypeface(shell.State);
    ImportRun run;
    run.CancelAtFirstReport = true;
    ClickCreate(editor, run);
    QCOMPARE(run.Reports, 1);
    QCOMPARE(document::TypefaceFromId(shell.State.Registry, TypefaceId), before);
    QCOMPARE(CurrentTypeface(shell.State), before);
    QCOMPARE(before->Content.Characters.Size(), 0);
    QVERIFY(editor.Messages.Messages.empty());
}

void ImportWindowTests::unsavedChangesAreAskedAboutFirst() {
    Editor editor;
    Shell& shell = *editor.TheShell;
    UseDejaVu(Window(editor));
    shell.Main->CommentField->setPlainText(QStringLiteral("unsaved"));
    QVERIFY(CurrentTypeface(shell.State)->Modified);
    const document::Typeface* before = CurrentTypeface(shell.State);

    editor.Messages.Choices = {SaveChoice::Cancel};
    ImportRun run;
    ClickCreate(editor, run);
    QCOMPARE(editor.Messages.Questions, 1);
    QCOMPARE(run.Reports, 0); // cancelled before any font was read
    QCOMPARE(CurrentTypeface(shell.State), before);

    editor.Messages.Choices = {SaveChoice::Discard};
    ClickCreate(editor, run);
    QCOMPARE(editor.Messages.Questions, 2);
    QVERIFY(run.Reports > 0);
    QVERIFY(CurrentTypeface(shell.State)->Content.Characters.Size() > 0);
}

void ImportWindowTests::failedImportShowsTheReasonAndKeepsTheDocument() {
    Editor editor;
    Shell& shell = *editor.TheShell;
    UseDejaVu(Window(editor));
    // Size 0 makes no font at all, so nothing can be measured.
    Window(editor).SizeField->setValue(0);
    const document::Typeface* before = CurrentTypeface(shell.State);
    ImportRun run;
    ClickCreate(editor, run);
    QCOMPARE(CurrentTypeface(shell.State), before);
    QCOMPARE(editor.Messages.Messages.size(), std::size_t{1});
    QCOMPARE(editor.Messages.Messages.front().Kind, QStringLiteral("error"));
    QCOMPARE(editor.Messages.Messages.front().Title, QStringLiteral("Import TTF"));
    QVERIFY(editor.Messages.Messages.front().Text.contains(QStringLiteral("DejaVu Sans")));
}

void ImportWindowTests::textFileCharactersAreAddedToTheList() {
    const testsupport::ScratchFolder folder;
    folder.Write("menu.txt", "Ab\nBye \xD0\x96\r\n");
    folder.Write("latin1.txt", "Gr\xFC\xDF");
    Editor editor;
    ImportWindow& window = Window(editor);
    window.CharactersField->setText(QStringLiteral("48-50"));
    editor.Files.Answers.push_back({QString::fromStdString(folder.File("menu.txt")), 0});
    QVERIFY(AddTextFileCharacters(*editor.TheShell));
    QCOMPARE(window.CharactersField->text(),
             QStringLiteral("U+0020, U+0030-U+0032, U+0041-U+0042, U+0062, U+0065, U+0079, "
                            "U+0416"));
    // Not UTF-8, cancelled, and a list that cannot be read: the list stays as it is.
    const QString before = window.CharactersField->text();
    editor.Files.Answers.push_back({QString::fromStdString(folder.File("latin1.txt")), 0});
    QVERIFY(!AddTextFileCharacters(*editor.TheShell));
    QVERIFY(!AddTextFileCharacters(*editor.TheShell));
    QCOMPARE(window.CharactersField->text(), before);
    window.CharactersField->setText(QStringLiteral("12-"));
    editor.Files.Answers.push_back({QString::fromStdString(folder.File("menu.txt")), 0});
    QVERIFY(!AddTextFileCharacters(*editor.TheShell));
    QCOMPARE(window.CharactersField->text(), QStringLiteral("12-"));
    QCOMPARE(editor.Messages.Messages.size(), std::size_t{2});
    QVERIFY(editor.Messages.Messages[0].Text.contains(QStringLiteral("not UTF-8")));
    QVERIFY(editor.Messages.Messages[1].Text.contains(QStringLiteral("character list")));
}

void ImportWindowTests::listedImportTakesTheListAndTellsWhatWasLeftOut() {
    Editor editor;
    Shell& shell = *editor.TheShell;
    ImportWindow& window = Window(editor);
    UseDejaVu(window);
    window.CharactersField->setText(QStringLiteral("65-67, U+4E2D, 0x1F600"));
    window.FallbacksField->setText(QStringLiteral("WenQuanYi Zen Hei"));
    ImportRun run;
    ClickCreate(editor, run);
    const document::Typeface* typeface = CurrentTypeface(shell.State);
    QCOMPARE(typeface->Content.Characters.Size(), std::size_t{4});
    QVERIFY(document::FindCharacter(*typeface, 0x4E2D) != nullptr);
    QCOMPARE(editor.Messages.Messages.size(), std::size_t{1});
    QCOMPARE(editor.Messages.Messages.front().Kind, QStringLiteral("warning"));
    QVERIFY(editor.Messages.Messages.front().Text.contains(QStringLiteral("U+1F600")));
}

void ImportWindowTests::typefaceTooTallForTfIsImportedWithAWidthThatFits() {
    Editor editor;
    Shell& shell = *editor.TheShell;
    ImportWindow& window = Window(editor);
    UseDejaVu(window);
    // A cell of its own per character, each over 300 pixels tall: rows far beyond 32767.
    window.SizeField->setValue(128);
    window.PaddingTopField->setValue(100);
    window.PaddingBottomField->setValue(100);
    window.MaxWidthField->setValue(1);
    ImportRun run;
    ClickCreate(editor, run);
    QVERIFY(CurrentTypeface(shell.State)->Content.Characters.Size() > 150); // still imported
    QCOMPARE(editor.Messages.Messages.size(), std::size_t{1});
    const auto& shown = editor.Messages.Messages.front();
    QCOMPARE(shown.Kind, QStringLiteral("warning"));
    QCOMPARE(shown.Title, QStringLiteral("Import TTF"));
    QVERIFY2(shown.Text.startsWith(QStringLiteral("The new typeface cannot be saved as .tf: ")),
             qPrintable(shown.Text));
    const QRegularExpressionMatch width =
        QRegularExpression(QStringLiteral("Set \"max width:\" to (\\d+) ")).match(shown.Text);
    QVERIFY2(width.hasMatch(), qPrintable(shown.Text));

    // The suggested width fits, and it is the narrowest that does.
    for (const int offset : {-1, 0}) {
        editor.Messages.Messages.clear();
        CurrentTypeface(shell.State)->Modified = false; // no question about the last import
        window.MaxWidthField->setValue(width.captured(1).toInt() + offset);
        ClickCreate(editor, run);
        QCOMPARE(editor.Messages.Messages.size(), std::size_t{offset < 0 ? 1U : 0U});
    }
}

namespace {

const QString DejaVuFile = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
const QString ZenHeiFile = QStringLiteral("/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc");

// Answers the "Font file..." dialog with path and picks the face entry at pick.
bool ChooseFile(Editor& editor, const QString& path, int pick) {
    if (!path.isEmpty()) {
        editor.Files.Answers.push_back({path, 0});
    }
    const bool chosen = ChooseFontFile(*editor.TheShell);
    Window(editor).FaceList->setCurrentIndex(pick);
    return chosen;
}

} // namespace

void ImportWindowTests::fontFileListsItsFacesForTheImport_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("pick");
    QTest::addColumn<QStringList>("faces"); // empty: the file is refused
    QTest::addColumn<std::int64_t>("faceIndex");
    QTest::newRow("single face") << DejaVuFile << 0
                                 << QStringList{QStringLiteral("DejaVu Sans Book")}
                                 << std::int64_t{0};
    QTest::newRow("collection, third face")
        << ZenHeiFile << 2
        << QStringList{QStringLiteral("WenQuanYi Zen Hei"),
                       QStringLiteral("WenQuanYi Zen Hei Mono"),
                       QStringLiteral("WenQuanYi Zen Hei Sharp")}
        << std::int64_t{2};
    QTest::newRow("no font") << QStringLiteral("menu.txt") << 0 << QStringList{} << std::int64_t{0};
    QTest::newRow("cancelled") << QString() << 0 << QStringList{} << std::int64_t{0};
}

void ImportWindowTests::fontFileListsItsFacesForTheImport() {
    QFETCH(QString, file);
    QFETCH(int, pick);
    QFETCH(QStringList, faces);
    QFETCH(std::int64_t, faceIndex);
    const testsupport::ScratchFolder folder;
    folder.Write("menu.txt", "Ab\n");
    if (file == QStringLiteral("menu.txt")) {
        file = QString::fromStdString(folder.File("menu.txt"));
    }
    Editor editor;
    ImportWindow& window = Window(editor);
    UseDejaVu(window);
    QCOMPARE(ChooseFile(editor, file, pick), !faces.isEmpty());
    QCOMPARE(editor.Files.Calls.size(), std::size_t{1});
    QVERIFY(editor.Files.Calls.front().Filters.front().contains(QStringLiteral("*.woff2")));
    QCOMPARE(Entries(*window.FaceList), faces);
    const fontimport::ImportOptions options = window.ReadOptions();
    QCOMPARE(QString::fromStdString(options.FontFile), faces.isEmpty() ? QString() : file);
    QCOMPARE(options.FaceIndex, faceIndex);
    QCOMPARE(window.FaceList->isEnabled(), !faces.isEmpty());
    // A file that is no font is named in a warning; a cancelled dialog says nothing.
    const bool refused = faces.isEmpty() && !file.isEmpty();
    QCOMPARE(editor.Messages.Messages.size(), std::size_t{refused ? 1u : 0u});
    if (refused) {
        QVERIFY(editor.Messages.Messages.front().Text.contains(file));
    }
}

void ImportWindowTests::choosingAFamilyGoesBackFromTheFontFile() {
    Editor editor;
    ImportWindow& window = Window(editor);
    UseDejaVu(window);
    QVERIFY(ChooseFile(editor, ZenHeiFile, 1));
    QCOMPARE(window.FontFileName->text(), QStringLiteral("wqy-zenhei.ttc"));
    window.FamilyList->setCurrentText(QStringLiteral("DejaVu Serif"));
    const fontimport::ImportOptions options = window.ReadOptions();
    QCOMPARE(options.FontFile, std::string());
    QCOMPARE(options.FaceIndex, std::int64_t{0});
    QCOMPARE(options.Family, std::string("DejaVu Serif"));
    QCOMPARE(window.FaceList->count(), 0);
    QCOMPARE(window.FontFileName->text(), QString());
}

void ImportWindowTests::missingFontFileOfTheSettingsIsReported() {
    const testsupport::ScratchFolder folder;
    const std::string gone = folder.File("Gone.ttf");
    Editor editor;
    ImportWindow& window = Window(editor);
    fontimport::ImportOptions saved;
    saved.Family = "DejaVu Sans";
    saved.FontFile = gone;
    saved.FaceIndex = 1;
    saved.Instance = "Bold";
    saved.Axes = {"wght=650"};
    window.ShowOptions(saved);
    QVERIFY(window.StatusLine->text().contains(QString::fromStdString(gone)));
    QVERIFY(window.StatusLine->text().contains(QStringLiteral("missing")));
    // The import still asks for the file, so it fails naming it instead of using the family.
    const fontimport::ImportOptions options = window.ReadOptions();
    QCOMPARE(options.FontFile, gone);
    QCOMPARE(options.FaceIndex, std::int64_t{1});
    QCOMPARE(options.Instance, std::string("Bold"));
    QCOMPARE(options.Axes, std::vector<std::string>{"wght=650"});
    ImportRun run;
    ClickCreate(editor, run);
    QCOMPARE(editor.Messages.Messages.size(), std::size_t{1});
    QVERIFY(editor.Messages.Messages.front().Text.contains(QStringLiteral("Gone.ttf")));
    // A file that exists leaves the status line to the import.
    saved.FontFile = DejaVuFile.toStdString();
    saved.FaceIndex = 0;
    saved.Instance.clear();
    saved.Axes.clear();
    window.ShowOptions(saved);
    QCOMPARE(window.StatusLine->text(), QString());
}

void ImportWindowTests::createTypefaceDrawsTheChosenFaceOfTheFile() {
    Editor editor;
    Shell& shell = *editor.TheShell;
    ImportWindow& window = Window(editor);
    window.FamilyList->setCurrentText(QStringLiteral("DejaVu Serif"));
    window.CharactersField->setText(QStringLiteral("65-67"));
    QVERIFY(ChooseFile(editor, ZenHeiFile, 1));
    ImportRun run;
    ClickCreate(editor, run);
    document::Typeface* typeface = CurrentTypeface(shell.State);
    QVERIFY(typeface != nullptr);
    QCOMPARE(typeface->Content.Characters.Size(), std::size_t{3});
    QCOMPARE(document::PropertyValue(*typeface, "Face"), std::string("WenQuanYi Zen Hei Mono"));
    QCOMPARE(document::PropertyValue(*typeface, "FontFile"), std::string("wqy-zenhei.ttc"));
}

GLYFORA_QTEST(ImportWindowTests);

} // namespace glyfora::app::testing
