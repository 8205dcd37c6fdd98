#include "CanvasTests.h"

#include "QtTestRegistry.h"
#include "ScratchFolder.h"
#include "ShellFixture.h"
#include "app/shell/ShellViews.h"
#include "app/surfaces/ExampleScreen.h"
#include "app/windows/CharacterSetWindow.h"
#include "app/windows/CharacterWindow.h"
#include "app/windows/ExampleWindow.h"
#include "app/windows/ImportWindow.h"
#include "app/windows/KerningPairWindow.h"
#include "app/windows/MainWindow.h"
#include "formats/TypefaceIo.h"
#include "views/CharacterSetView.h"
#include "views/CharacterView.h"
#include "views/KerningPairView.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <QWheelEvent>
#include <cstring>

namespace glyfora::app::testing {
namespace {

constexpr std::int64_t PictureWidth = 600;
constexpr std::int64_t PictureHeight = 500;

// A picture larger than the character-set canvas whose every pixel differs from its neighbours, two
// characters A (10 x 12 at 20, 30) and V (8 x 12 at 40, 30) and the pair A V of -3, written as a
// ".tf" file.
std::string WriteTestTypeface(const testsupport::ScratchFolder& folder) {
    document::TypefaceRegistry registry;
    document::Typeface& typeface = *document::CreateTypeface(registry, TypefaceId);
    document::Image picture = *document::MakeImage(PictureWidth, PictureHeight);
    for (std::int64_t y = 0; y < PictureHeight; ++y) {
        for (std::int64_t x = 0; x < PictureWidth; ++x) {
            const auto alpha = static_cast<std::uint32_t>(x % 3 == 0 ? 255 : 128);
            picture.At(x, y) =
                alpha << 24 | static_cast<std::uint32_t>((x * 7 + y * 3) % 256) << 16 |
                static_cast<std::uint32_t>(y % 256) << 8 | static_cast<std::uint32_t>(x % 256);
        }
    }
    document::SetCharacterSetImage(typeface, std::move(picture));
    document::Character& a = document::AddCharacter(typeface, 'A');
    a.Source = {20, 30, 10, 12};
    a.Outlay = {-1, 2, 11, 16};
    document::Character& v = document::AddCharacter(typeface, 'V');
    v.Source = {40, 30, 8, 12};
    v.Outlay = {0, 2, 9, 16};
    document::Character& space = document::AddCharacter(typeface, ' ');
    space.Source = {100, 100, 4, 4};
    space.Outlay = {0, 0, 5, 18};
    (void)document::AddKerningPair(typeface, 'A', 'V', -3);
    const std::string path = folder.File("test.tf");
    const base::Result<base::Done> saved =
        formats::SaveTypeface(registry, TypefaceId, path, formats::FileFormatId::Tf);
    if (!saved.Ok()) {
        qFatal("the test typeface could not be written: %s", saved.Error.c_str());
    }
    return path;
}

// The canvas as it shows on screen, as an RGBA picture.
document::Image Painted(QWidget& widget) {
    const QImage shown = widget.grab().toImage().convertToFormat(QImage::Format_RGBA8888);
    document::Image picture = *document::MakeImage(shown.width(), shown.height());
    for (int y = 0; y < shown.height(); ++y) {
        std::memcpy(&picture.At(0, y), shown.constScanLine(y),
                    static_cast<std::size_t>(shown.width()) * 4);
    }
    return picture;
}

// The first pixel where the two pictures differ, or a note on their sizes; empty when equal.
QByteArray FirstDifference(const document::Image& shown, const document::Image& expected) {
    if (shown.Width != expected.Width || shown.Height != expected.Height) {
        return QStringLiteral("size %1 x %2, expected %3 x %4")
            .arg(shown.Width)
            .arg(shown.Height)
            .arg(expected.Width)
            .arg(expected.Height)
            .toUtf8();
    }
    for (std::int64_t y = 0; y < shown.Height; ++y) {
        for (std::int64_t x = 0; x < shown.Width; ++x) {
            if (shown.At(x, y) != expected.At(x, y)) {
                return QStringLiteral("pixel %1, %2 is %3, expected %4")
                    .arg(x)
                    .arg(y)
                    .arg(shown.At(x, y), 8, 16)
                    .arg(expected.At(x, y), 8, 16)
                    .toUtf8();
            }
        }
    }
    return {};
}

document::Image ExpectedCharacterSet(Shell& shell, bool marks) {
    const QWidget& canvas = *shell.CharacterSet->Canvas;
    document::Image expected;
    views::DrawCharacterSetView(expected, canvas.width(), canvas.height(),
                                document::TypefaceFromId(shell.State.Registry, TypefaceId),
                                shell.State.View, marks);
    return expected;
}

void SendWheel(QWidget& widget, int angle) {
    const QPointF inside(widget.width() / 2.0, widget.height() / 2.0);
    QWheelEvent wheel(inside, widget.mapToGlobal(inside), QPoint(), QPoint(0, angle), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&widget, &wheel);
}

// Mouse events straight to the widget, held buttons included, as a grabbing window delivers them
// (positions may lie outside the widget).
void SendMouse(QWidget& widget, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held,
               QPoint at) {
    QMouseEvent event(type, QPointF(at), widget.mapToGlobal(QPointF(at)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

// Selects the list row whose column shows text (none for an empty text), as a click would.
void SelectRow(QTreeWidget& list, int column, const QString& text) {
    list.clearSelection();
    for (int row = 0; row < list.topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = list.topLevelItem(row);
        if (!text.isEmpty() && item->text(column) == text) {
            list.setCurrentItem(item);
            item->setSelected(true);
        }
    }
}

// Makes the character current the way the character list does; while the list shows no rows, in the
// view state alone.
void SelectCharacter(Shell& shell, document::Character* character) {
    shell.State.View.CurrentCharacter = character;
    SelectRow(*shell.Main->CharacterList, 0,
              character != nullptr ? QString::number(character->Index) : QString());
}

void SelectPair(Shell& shell, document::KerningPair* pair) {
    shell.State.View.CurrentPair = pair;
    SelectRow(*shell.Main->KerningPairList, 1,
              pair != nullptr ? QString(QChar(static_cast<char16_t>(document::PairLeft(*pair)))) +
                                    QChar(static_cast<char16_t>(document::PairRight(*pair)))
                              : QString());
}

struct OpenEditor {
    OpenEditor() : Path(WriteTestTypeface(Folder)), TheEditor(WithFile(Path)) {}

    static StartOptions WithFile(const std::string& path) {
        StartOptions options = Editor::NoCheck();
        options.FilePath = path;
        return options;
    }

    Shell& TheShell() { return *TheEditor.TheShell; }
    document::Typeface& Document() {
        return *document::TypefaceFromId(TheEditor.State.Registry, TypefaceId);
    }

    testsupport::ScratchFolder Folder;
    std::string Path;
    Editor TheEditor;
};

} // namespace

void CanvasTests::characterSetCanvasPaintsTheView() {
    OpenEditor editor;
    Shell& shell = editor.TheShell();
    QVERIFY(editor.Document().Content.Image != nullptr);
    shell.State.View.Selection = {5, 6, 30, 20};
    shell.State.View.CharacterSetZoom = 2;
    DrawCharacterSetView(shell, false);
    const document::Image shown = Painted(*shell.CharacterSet->Canvas);
    QVERIFY(shown.Width > 100 && shown.Height > 100);
    QVERIFY2(FirstDifference(shown, ExpectedCharacterSet(shell, false)).isEmpty(),
             FirstDifference(shown, ExpectedCharacterSet(shell, false)).constData());
    // The picture, not the placeholder background: image pixel (0, 0) fills canvas (0..1, 0..1).
    QVERIFY(shown.At(0, 0) != 0xFF404040U);
    QCOMPARE(shown.At(0, 0), shown.At(1, 1));
    QCOMPARE(shell.CharacterSet->Canvas->cursor().shape(), Qt::CrossCursor);
}

void CanvasTests::characterSetWheelZoomsAndRedraws_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("angle");
    QTest::addColumn<int>("zoom");
    QTest::newRow("away doubles") << 1 << 120 << 2;
    QTest::newRow("towards halves") << 8 << -120 << 4;
    QTest::newRow("towards stops at 1") << 1 << -120 << 1;
    QTest::newRow("capped") << 64 << 120 << 64;
}

void CanvasTests::characterSetWheelZoomsAndRedraws() {
    QFETCH(int, start);
    QFETCH(int, angle);
    QFETCH(int, zoom);
    OpenEditor editor;
    Shell& shell = editor.TheShell();
    shell.State.View.CharacterSetZoom = start;
    SendWheel(*shell.CharacterSet->Canvas, angle);
    QCOMPARE(shell.State.View.CharacterSetZoom, std::int64_t{zoom});
    QCOMPARE(shell.State.View.CharacterZoom, std::int64_t{8});
    const document::Image shown = Painted(*shell.CharacterSet->Canvas);
    QVERIFY2(FirstDifference(shown, ExpectedCharacterSet(shell, false)).isEmpty(),
             FirstDifference(shown, ExpectedCharacterSet(shell, false)).constData());
}

void CanvasTests::middleDragPansWithMarkers() {
    OpenEditor editor;
    Shell& shell = editor.TheShell();
    CharacterSetCanvas& canvas = *shell.CharacterSet->Canvas;
    const std::int64_t width = canvas.width();
    const std::int64_t height = canvas.height();
    QVERIFY(width < PictureWidth && height < PictureHeight);

    SendMouse(canvas, QEvent::MouseButtonPress, Qt::MiddleButton, Qt::MiddleButton, {200, 200});
    QVERIFY(shell.State.View.Panning);
    QCOMPARE(shell.State.View.PanAnchorX, std::int64_t{200});
    QCOMPARE(canvas.cursor().shape(), Qt::SizeAllCursor);

    SendMouse(canvas, QEvent::MouseMove, Qt::NoButton, Qt::MiddleButton, {150, 120});
    QCOMPARE(shell.State.View.ScrollX, std::int64_t{50});
    QCOMPARE(shell.State.View.ScrollY, std::int64_t{80});
    document::Image shown = Painted(canvas);
    QVERIFY2(FirstDifference(shown, ExpectedCharacterSet(shell, true)).isEmpty(),
             FirstDifference(shown, ExpectedCharacterSet(shell, true)).constData());
    QVERIFY(!FirstDifference(shown, ExpectedCharacterSet(shell, false)).isEmpty()); // markers

    // Far outside the canvas the scroll stops at the picture's far edge.
    SendMouse(canvas, QEvent::MouseMove, Qt::NoButton, Qt::MiddleButton, {-5000, -5000});
    QCOMPARE(shell.State.View.ScrollX, PictureWidth - width);
    QCOMPARE(shell.State.View.ScrollY, PictureHeight - height);

    SendMouse(canvas, QEvent::MouseButtonRelease, Qt::MiddleButton, Qt::NoButton, {-5000, -5000});
    QVERIFY(!shell.State.View.Panning);
    QCOMPARE(canvas.cursor().shape(), Qt::CrossCursor);
    shown = Painted(canvas);
    QVERIFY2(FirstDifference(shown, ExpectedCharacterSet(shell, false)).isEmpty(),
             FirstDifference(shown, ExpectedCharacterSet(shell, false)).constData());
}

void CanvasTests::leftDragMarksSelectionRightPressSetsCorner() {
    OpenEditor editor;
    Shell& shell = editor.TheShell();
    CharacterSetCanvas& canvas = *shell.CharacterSet->Canvas;
    shell.State.View.CharacterSetZoom = 2;
    shell.State.View.ScrollX = 10;

    SendMouse(canvas, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {21, 41});
    QVERIFY(shell.State.View.Selecting);
    QCOMPARE(shell.State.View.Selection, (document::Rect64{20, 20, 0, 0}));
    // Two image pixels right and down are not yet a drag.
    SendMouse(canvas, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {25, 45});
    QCOMPARE(shell.State.View.Selection, (document::Rect64{20, 20, 0, 0}));
    SendMouse(canvas, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {61, 39});
    QCOMPARE(shell.State.View.Selection, (document::Rect64{20, 20, 20, -1}));
    SendMouse(canvas, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {61, 39});
    QVERIFY(!shell.State.View.Selecting);
    document::Image shown = Painted(canvas);
    QVERIFY2(FirstDifference(shown, ExpectedCharacterSet(shell, false)).isEmpty(),
             FirstDifference(shown, ExpectedCharacterSet(shell, false)).constData());

    SendMouse(canvas, QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, {1, 3});
    QCOMPARE(shell.State.View.Selection, (document::Rect64{20, 20, -10, -19}));
    SendMouse(canvas, QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, {1, 3});
    shown = Painted(canvas);
    QVERIFY2(FirstDifference(shown, ExpectedCharacterSet(shell, false)).isEmpty(),
             FirstDifference(shown, ExpectedCharacterSet(shell, false)).constData());
}

void CanvasTests::resizeRedrawsAtTheNewSize() {
    OpenEditor editor;
    Shell& shell = editor.TheShell();
    shell.CharacterSet->resize(520, 470);
    CharacterSetCanvas& canvas = *shell.CharacterSet->Canvas;
    QTRY_COMPARE(canvas.width(), 520);
    QTRY_COMPARE(canvas.Picture.Width, std::int64_t{canvas.width()});
    QCOMPARE(canvas.Picture.Height, std::int64_t{canvas.height()});
    const document::Image shown = Painted(canvas);
    QVERIFY2(FirstDifference(shown, ExpectedCharacterSet(shell, false)).isEmpty(),
             FirstDifference(shown, ExpectedCharacterSet(shell, false)).constData());
}

void CanvasTests::characterWindowFollowsTheCurrentCharacter() {
    OpenEditor editor;
    Shell& shell = editor.TheShell();
    // The command-line open redrew the view without a selection: hidden.
    QVERIFY(!shell.Character->isVisible());
    QWidget* active = QApplication::activeWindow();

    SelectCharacter(shell, document::FindCharacter(editor.Document(), 'A'));
    DrawCharacterView(shell);
    QVERIFY(shell.Character->isVisible());
    QVERIFY(shell.Character->testAttribute(Qt::WA_ShowWithoutActivating));
    QCOMPARE(QApplication::activeWindow(), active);
    // 10 x 12 cell at zoom 8 with 4 units of margin on every side.
    QCOMPARE(shell.Character->size(), QSize(144, 160));
    QCOMPARE(shell.Character->minimumSize(), shell.Character->maximumSize());
    QCOMPARE(shell.Character->Canvas->geometry(), QRect(0, 0, 144, 160));
    const views::ViewPicture expected =
        views::DrawCharacterView(&editor.Document(), shell.State.View);
    const document::Image shown = Painted(*shell.Character->Canvas);
    QVERIFY2(FirstDifference(shown, expected.Picture).isEmpty(),
             FirstDifference(shown, expected.Picture).constData());

    SelectCharacter(shell, nullptr);
    DrawCharacterView(shell);
    QVERIFY(!shell.Character->isVisible());
}

void CanvasTests::kerningPairWindowFollowsTheCurrentPair() {
    OpenEditor editor;
    Shell& shell = editor.TheShell();
    QVERIFY(!shell.KerningPair->isVisible());
    document::KerningPair& pair = *editor.Document().Content.KerningPairs.begin();
    SelectPair(shell, &pair);
    DrawKerningPairView(shell);
    QVERIFY(shell.KerningPair->isVisible());
    // (11 + 9 - 3 + 8) x (16 + 8) units of 8 pixels.
    QCOMPARE(shell.KerningPair->size(), QSize(200, 192));
    const views::ViewPicture expected =
        views::DrawKerningPairView(&editor.Document(), shell.State.View);
    const document::Image shown = Painted(*shell.KerningPair->Canvas);
    QVERIFY2(FirstDifference(shown, expected.Picture).isEmpty(),
             FirstDifference(shown, expected.Picture).constData());

    // A pair whose right character is missing hides the window.
    pair.PairKey = document::MakePairKey('A', 'Z');
    DrawKerningPairView(shell);
    QVERIFY(!shell.KerningPair->isVisible());
}

void CanvasTests::characterWheelResizesBothWindows() {
    OpenEditor editor;
    Shell& shell = editor.TheShell();
    SelectCharacter(shell, document::FindCharacter(editor.Document(), 'A'));
    SelectPair(shell, &*editor.Document().Content.KerningPairs.begin());
    DrawCharacterView(shell);
    DrawKerningPairView(shell);
    SendWheel(*shell.KerningPair->Canvas, -120);
    QCOMPARE(shell.State.View.CharacterZoom, std::int64_t{4});
    QCOMPARE(shell.Character->size(), QSize(72, 80));
    QCOMPARE(shell.KerningPair->size(), QSize(100, 96));
    SendWheel(*shell.Character->Canvas, 120);
    SendWheel(*shell.Character->Canvas, 120);
    QCOMPARE(shell.State.View.CharacterZoom, std::int64_t{16});
    QCOMPARE(shell.Character->size(), QSize(288, 320));
    QCOMPARE(shell.KerningPair->Canvas->size(), QSize(400, 384));
}

void CanvasTests::commandLineFileShowsItsPicture() {
    OpenEditor editor;
    Shell& shell = editor.TheShell();
    const CharacterSetCanvas& canvas = *shell.CharacterSet->Canvas;
    QCOMPARE(canvas.Picture.Width, std::int64_t{canvas.width()});
    QVERIFY(canvas.Picture.At(0, 0) != 0xFF404040U);

    SelectCharacter(shell, document::FindCharacter(editor.Document(), 'A'));
    DrawCharacterView(shell);
    QVERIFY(shell.Character->Canvas->Picture.Width > 0);

    // "New" shows the empty document: the background only, the mark of the old document's
    // selection cleared. The character window stays as it is, but no longer shows the freed
    // character.
    editor.Document().Modified = false;
    shell.State.View.Selection = {};
    shell.State.View.ScrollX = 0;
    NewDocument(shell.State);
    ShowDocument(shell);
    QCOMPARE(canvas.Picture.At(0, 0), 0xFF404040U);
    QCOMPARE(canvas.Picture.At(5, 5), 0xFF404040U);
    QVERIFY(!shell.State.View.SelectionShown);
    QVERIFY(shell.Character->isVisible());
    QCOMPARE(shell.Character->Canvas->Picture.Width, std::int64_t{0});
    const QImage blank = shell.Character->Canvas->grab().toImage();
    QCOMPARE(blank.pixel(blank.width() / 2, blank.height() / 2), 0xFF404040U);
}

void CanvasTests::createTypefaceRedrawsEveryView() {
    OpenEditor editor;
    Shell& shell = editor.TheShell();
    SelectCharacter(shell, document::FindCharacter(editor.Document(), 'A'));
    SelectPair(shell, &*editor.Document().Content.KerningPairs.begin());
    DrawCharacterView(shell);
    DrawKerningPairView(shell);
    QVERIFY(shell.Character->isVisible() && shell.KerningPair->isVisible());
    const std::int64_t frames = shell.Example->ExampleScreen->FramesDrawn();
    editor.Document().Modified = false;

    shell.Import->FamilyList->setCurrentText(QStringLiteral("DejaVu Sans"));
    shell.ImportProgressHook = [](std::int64_t, std::int64_t) { return true; };
    QTest::mouseClick(shell.Import->CreateButton, Qt::LeftButton);
    const document::Typeface& imported = editor.Document();
    QVERIFY(imported.Content.Image != nullptr);
    QVERIFY(imported.Content.Image->Width != PictureWidth);
    // Nothing is selected in the new document: both windows hide.
    QVERIFY(!shell.Character->isVisible());
    QVERIFY(!shell.KerningPair->isVisible());
    const document::Image shown = Painted(*shell.CharacterSet->Canvas);
    QVERIFY2(FirstDifference(shown, ExpectedCharacterSet(shell, false)).isEmpty(),
             FirstDifference(shown, ExpectedCharacterSet(shell, false)).constData());
    if (shell.Example->isVisible()) {
        QTRY_VERIFY(shell.Example->ExampleScreen->FramesDrawn() > frames);
    }
}

void CanvasTests::exampleRepaintsOnChangeOnly() {
    OpenEditor editor;
    Shell& shell = editor.TheShell();
    const ExampleScreen& screen = *shell.Example->ExampleScreen;
    QVERIFY(QTest::qWaitForWindowExposed(shell.Example));
    QTRY_VERIFY(screen.FramesDrawn() > 0);
    QTest::qWait(50);
    std::int64_t before = screen.FramesDrawn();
    QTest::qWait(200);
    QCOMPARE(screen.FramesDrawn(), before);

    shell.Example->ExampleTextField->setText(QStringLiteral("VA"));
    QTRY_VERIFY(screen.FramesDrawn() > before);
    QTest::qWait(50);
    before = screen.FramesDrawn();
    RequestExampleFrame(shell); // the picture changed
    QTRY_VERIFY(screen.FramesDrawn() > before);
}

void CanvasTests::exampleViewMenuScalesAndColoursTheBackground() {
    OpenEditor editor;
    Shell& shell = editor.TheShell();
    ExampleWindow& window = *shell.Example;
    window.resize(800, 300);
    ExampleScreen& screen = *window.ExampleScreen;
    QCOMPARE(window.ViewMenu->title(), QStringLiteral("Ansicht"));
    QStringList texts;
    for (const QAction* action : window.ViewMenu->actions()) {
        texts << action->text();
    }
    QCOMPARE(texts,
             (QStringList{QStringLiteral("1×"), QStringLiteral("2×"), QStringLiteral("4×"),
                          QStringLiteral("8×"), QString(), QStringLiteral("Hintergrundfarbe…")}));
    QCOMPARE(screen.Widget()->contextMenuPolicy(), Qt::CustomContextMenu);
    QVERIFY(window.ViewScale1->isChecked());

    window.ExampleTextField->setText(QString());
    const QImage empty = screen.GrabFrame().convertToFormat(QImage::Format_RGB32);
    window.ExampleTextField->setText(QStringLiteral("A"));
    // A's cell (10 × 12 at offset (-1, 2)) drawn at each scale from the origin (10, 10).
    const struct {
        QAction* Action;
        float Scale;
    } scales[] = {{window.ViewScale8, 8.0F}, {window.ViewScale2, 2.0F}, {window.ViewScale1, 1.0F}};
    for (const auto& step : scales) {
        step.Action->trigger();
        QCOMPARE(shell.State.View.ExampleScale, step.Scale);
        QVERIFY(step.Action->isChecked());
        const auto scale = static_cast<int>(step.Scale);
        const QImage text = screen.GrabFrame().convertToFormat(QImage::Format_RGB32);
        int changed = 0;
        for (int y = 0; y < text.height(); ++y) {
            for (int x = 0; x < text.width(); ++x) {
                changed += text.pixel(x, y) != empty.pixel(x, y) ? 1 : 0;
            }
        }
        QCOMPARE(changed, 10 * 12 * scale * scale);
        QVERIFY(text.pixel(10 - scale, 10 + 2 * scale) != empty.pixel(10 - scale, 10 + 2 * scale));
        QCOMPARE(text.pixel(10 + 10 * scale, 10), empty.pixel(10 + 10 * scale, 10));
    }
    // The text's controls keep their places.
    QCOMPARE(window.ExampleTextField->geometry(), QRect(0, 0, window.width(), 20));
    QCOMPARE(screen.Widget()->geometry().topLeft(), QPoint(0, 20));

    shell.State.View.ExampleBackground = 0xFF20C0E0U; // what the colour dialog's answer sets
    RequestExampleFrame(shell);
    const QImage coloured = screen.GrabFrame().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(coloured.pixel(400, 200), qRgb(0xE0, 0xC0, 0x20));
}

void CanvasTests::exampleShowsTheTypefaceText() {
    OpenEditor editor;
    Shell& shell = editor.TheShell();
    ExampleScreen& screen = *shell.Example->ExampleScreen;
    shell.Example->ExampleTextField->setText(QString());
    const QImage empty = screen.GrabFrame().convertToFormat(QImage::Format_RGB32);
    shell.Example->ExampleTextField->setText(QStringLiteral("AV"));
    const QImage text = screen.GrabFrame().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(empty.pixel(12, 15), qRgb(64, 64, 64));
    // A is drawn at the origin (10, 10) plus its offset (-1, 2): its cell covers (9..18, 12..23).
    int changed = 0;
    for (int y = 12; y < 24; ++y) {
        for (int x = 9; x < 19; ++x) {
            changed += text.pixel(x, y) != empty.pixel(x, y) ? 1 : 0;
        }
    }
    QCOMPARE(changed, 10 * 12);
    // OpenGL wherever the platform offers it (under Xvfb), the software surface elsewhere.
    QCOMPARE(screen.UsesOpenGl(), OpenGlScreenAvailable());
    // Kerning is on because the typeface has a pair.
    QCOMPARE(editor.Document().Settings.KerningEnabled, std::int64_t{1});
}

GLYFORA_QTEST(CanvasTests);

} // namespace glyfora::app::testing
