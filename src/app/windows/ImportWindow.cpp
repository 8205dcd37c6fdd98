#include "app/windows/ImportWindow.h"

#include "app/windows/EffectsFrame.h"
#include "app/windows/ScreenFit.h"
#include "app/windows/ToolWindow.h"
#include "document/FamilyList.h"
#include "document/Image.h"
#include "document/Pixel.h"
#include "import/FontMatching.h"
#include "import/FontServices.h"
#include "import/ImportPreview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <algorithm>
#include <memory>
#include <vector>

namespace glyfora::app {
namespace {

constexpr int PreviewWidth = 120;
constexpr int PreviewHeight = 110;

// An entry of one of the window's lists: its text and the option value it stands for. The list
// index of a value is its entry's place in the table, here and nowhere else.
template <class Value> struct ListEntry {
    const char* Text;
    Value Meaning;
};

constexpr ListEntry<fontimport::TextHint> HintEntries[] = {
    {"SystemDefault", fontimport::TextHint::SystemDefault},
    {"SingleBitPerPixelGridFit", fontimport::TextHint::SingleBitPerPixelGridFit},
    {"SingleBitPerPixel", fontimport::TextHint::SingleBitPerPixel},
    {"AntiAliasGridFit", fontimport::TextHint::AntiAliasGridFit},
    {"AntiAlias", fontimport::TextHint::AntiAlias},
    {"ClearTypeGridFit", fontimport::TextHint::ClearTypeGridFit},
};

constexpr ListEntry<fontimport::DrawingQuality> QualityEntries[] = {
    {"Invalid", fontimport::DrawingQuality::Invalid},
    {"Default", fontimport::DrawingQuality::Default},
    {"HighSpeed", fontimport::DrawingQuality::HighSpeed},
    {"HighQuality", fontimport::DrawingQuality::HighQuality},
    {"GammaCorrected", fontimport::DrawingQuality::GammaCorrected},
    {"AssumeLinear", fontimport::DrawingQuality::AssumeLinear},
};

constexpr ListEntry<fontimport::CellLayout> LayoutListEntries[] = {
    {"Rows", fontimport::CellLayout::Rows},
    {"Compact", fontimport::CellLayout::Compact},
};

template <class Value, std::size_t Count>
QStringList EntryTexts(const ListEntry<Value> (&entries)[Count]) {
    QStringList texts;
    for (const ListEntry<Value>& entry : entries) {
        texts << QString::fromLatin1(entry.Text);
    }
    return texts;
}

// The list index of value; the first entry for a value the list does not have.
template <class Value, std::size_t Count>
int EntryIndex(const ListEntry<Value> (&entries)[Count], Value value) {
    const auto* entry = std::find_if(std::begin(entries), std::end(entries),
                                     [&](const ListEntry<Value>& e) { return e.Meaning == value; });
    return entry == std::end(entries) ? 0 : static_cast<int>(entry - std::begin(entries));
}

template <class Value, std::size_t Count>
Value EntryValue(const ListEntry<Value> (&entries)[Count], int index) {
    return entries[static_cast<std::size_t>(std::clamp(index, 0, static_cast<int>(Count) - 1))]
        .Meaning;
}

QGroupBox* AddFrame(QWidget* window, const QString& caption, QRect geometry) {
    // A lone "&" would mark a shortcut letter ("Space & Padding").
    auto* frame = new QGroupBox(QString(caption).replace(u'&', QStringLiteral("&&")), window);
    frame->setGeometry(geometry);
    return frame;
}

QSpinBox* AddSpinField(QWidget* frame, const QString& name, document::OptionRange range,
                       QRect geometry) {
    auto* field = new QSpinBox(frame);
    field->setObjectName(name);
    field->setRange(static_cast<int>(range.Min), static_cast<int>(range.Max));
    field->setGeometry(geometry);
    return field;
}

QComboBox* AddList(QWidget* frame, const QString& name, const QStringList& entries,
                   QRect geometry) {
    auto* list = new QComboBox(frame);
    list->setObjectName(name);
    list->addItems(entries);
    list->setGeometry(geometry);
    return list;
}

QCheckBox* AddCheckBox(QWidget* frame, const QString& name, const QString& text, int y) {
    auto* box = new QCheckBox(text, frame);
    box->setObjectName(name);
    box->setGeometry(10, y, 100, 20);
    return box;
}

void AddLabel(QWidget* frame, const QString& text, QRect geometry) {
    auto* label = new QLabel(text, frame);
    label->setGeometry(geometry);
}

int ToInt(std::int64_t value, document::OptionRange range) {
    return static_cast<int>(std::clamp(value, range.Min, range.Max));
}

// The compact layout's controls, in a frame of their own below the others so that none of those
// moves.
void AddLayoutFrame(ImportWindow& window) {
    QGroupBox* frame = AddFrame(&window, QStringLiteral("Layout"), {10, 385, 330, 50});
    window.LayoutList =
        AddList(frame, QStringLiteral("LayoutList"), LayoutEntries(), {10, 20, 90, 20});
    AddLabel(frame, QStringLiteral("Gutter:"), {115, 23, 40, 16});
    window.GutterField = AddSpinField(frame, QStringLiteral("GutterField"),
                                      document::GutterOption.Range, {155, 20, 50, 20});
    window.PowerOfTwoBox = new QCheckBox(QStringLiteral("Power of two"), frame);
    window.PowerOfTwoBox->setObjectName(QStringLiteral("PowerOfTwoBox"));
    window.PowerOfTwoBox->setGeometry(220, 20, 100, 20);
}

// The page sizes the window offers: square powers of two, after "None" (one picture).
constexpr std::int64_t PageSides[] = {64, 128, 256, 512, 1024, 2048, 4096, 8192, 16384};

// "Pages" beside "Create Typeface", in room no other control uses, so that none moves. Each entry
// holds its page size as ParsePageSize reads it; "None" holds an empty text.
void AddPagesChoice(ImportWindow& window) {
    AddLabel(&window, QStringLiteral("Pages:"), {10, 355, 40, 16});
    window.PagesList = AddList(&window, QStringLiteral("PagesList"), {}, {50, 352, 100, 20});
    window.PagesList->addItem(QStringLiteral("None"), QString());
    for (const std::int64_t side : PageSides) {
        window.PagesList->addItem(QStringLiteral("%1 × %1").arg(side),
                                  QString::fromStdString(document::PageSizeText({side, side})));
    }
}

// "Font file..." and the chosen file's faces, in the room below the effects, so that no other
// control moves.
void AddFontFileFrame(ImportWindow& window) {
    QGroupBox* frame = AddFrame(&window, QStringLiteral("Font File"), {350, 320, 240, 70});
    window.FontFileButton = new QPushButton(QStringLiteral("Font file..."), frame);
    window.FontFileButton->setObjectName(QStringLiteral("FontFileButton"));
    window.FontFileButton->setGeometry(10, 19, 80, 22);
    window.FontFileName = new QLabel(frame);
    window.FontFileName->setObjectName(QStringLiteral("FontFileName"));
    window.FontFileName->setGeometry(95, 22, 135, 16);
    window.FaceList = AddList(frame, QStringLiteral("FaceList"), {}, {10, 45, 220, 20});
}

// The entry text of a face the settings name, before the file's own names are read.
QString SavedFaceName(std::int64_t faceIndex, const std::string& instance) {
    const QString face = QStringLiteral("Face %1").arg(faceIndex);
    return instance.empty() ? face : face + QStringLiteral(": ") + QString::fromStdString(instance);
}

// The character list and the fallback families, below the layout frame.
void AddCharacterFrames(ImportWindow& window) {
    QGroupBox* frame = AddFrame(&window, QStringLiteral("Characters"), {10, 445, 330, 50});
    window.CharactersField = new QLineEdit(frame);
    window.CharactersField->setObjectName(QStringLiteral("CharactersField"));
    window.CharactersField->setPlaceholderText(QStringLiteral("32-126, 0xA0-0xFF, U+0400-U+04FF"));
    window.CharactersField->setGeometry(10, 20, 220, 20);
    window.AddTextFileButton = new QPushButton(QStringLiteral("Add Text File..."), frame);
    window.AddTextFileButton->setObjectName(QStringLiteral("AddTextFileButton"));
    window.AddTextFileButton->setGeometry(235, 19, 85, 22);

    frame = AddFrame(&window, QStringLiteral("Fallbacks"), {10, 505, 330, 50});
    window.FallbacksField = new QLineEdit(frame);
    window.FallbacksField->setObjectName(QStringLiteral("FallbacksField"));
    window.FallbacksField->setPlaceholderText(QStringLiteral("WenQuanYi Zen Hei, DejaVu Serif"));
    window.FallbacksField->setGeometry(10, 20, 310, 20);

    window.StatusLine = new QLabel(&window);
    window.StatusLine->setObjectName(QStringLiteral("ImportStatusLine"));
    window.StatusLine->setGeometry(10, 560, 330, 44);
    window.StatusLine->setWordWrap(true);
    window.StatusLine->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

} // namespace

ImportPreviewCanvas::ImportPreviewCanvas(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ImportPreview"));
}

void ImportPreviewCanvas::ShowPicture(QImage picture) {
    picture_ = std::move(picture);
    update();
}

void ImportPreviewCanvas::paintEvent(QPaintEvent* /*event*/) {
    if (picture_.isNull()) {
        return; // blank until one of the rendering controls is used
    }
    QPainter painter(this);
    painter.drawImage(0, 0, picture_);
}

QStringList TextAntialiasModeEntries() {
    return EntryTexts(HintEntries);
}

QStringList LayoutEntries() {
    return EntryTexts(LayoutListEntries);
}

QStringList CompositingQualityEntries() {
    return EntryTexts(QualityEntries);
}

ImportWindow::ImportWindow(QWidget* mainWindow) : QWidget(mainWindow, ClosableToolWindowFlags) {
    setObjectName(QStringLiteral("ImportWindow"));
    setWindowTitle(QStringLiteral("Import TTF"));
    // The lower frames and the status line extend the window, the effects widen it; the controls
    // above and left keep their places.
    setFixedSize(600, 610);
    // The layout's 70-pixel labels and 20-pixel fields are made for a small dialog font.
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);

    QGroupBox* frame = AddFrame(this, QStringLiteral("FontFamily"), {10, 10, 220, 50});
    FamilyList = new QComboBox(frame);
    FamilyList->setObjectName(QStringLiteral("FamilyList"));
    FamilyList->setEditable(true);
    // Typing a name must not add it to the installed families.
    FamilyList->setInsertPolicy(QComboBox::NoInsert);
    FamilyList->setGeometry(10, 20, 200, 20);

    frame = AddFrame(this, QStringLiteral("Size"), {240, 10, 100, 50});
    SizeField = AddSpinField(frame, QStringLiteral("SizeField"), document::SizeOption.Range,
                             {10, 20, 80, 20});

    frame = AddFrame(this, QStringLiteral("Text-Antialias-Mode"), {10, 70, 200, 50});
    HintList =
        AddList(frame, QStringLiteral("HintList"), TextAntialiasModeEntries(), {10, 20, 180, 20});
    frame = AddFrame(this, QStringLiteral("Compositing-Quality"), {10, 130, 200, 50});
    QualityList = AddList(frame, QStringLiteral("QualityList"), CompositingQualityEntries(),
                          {10, 20, 180, 20});

    frame = AddFrame(this, QStringLiteral("Style"), {10, 190, 120, 150});
    BoldBox = AddCheckBox(frame, QStringLiteral("BoldBox"), QStringLiteral("Bold"), 20);
    ItalicBox = AddCheckBox(frame, QStringLiteral("ItalicBox"), QStringLiteral("Italic"), 40);
    UnderlineBox =
        AddCheckBox(frame, QStringLiteral("UnderlineBox"), QStringLiteral("Underline"), 60);
    HalfPixelBox =
        AddCheckBox(frame, QStringLiteral("HalfPixelBox"), QStringLiteral("Half-Pixel"), 80);
    CenterBox = AddCheckBox(frame, QStringLiteral("CenterBox"), QStringLiteral("Center"), 100);
    UnicodeBox = AddCheckBox(frame, QStringLiteral("UnicodeBox"), QStringLiteral("Unicode"), 120);

    frame = AddFrame(this, QStringLiteral("Space & Padding"), {140, 190, 200, 150});
    AddLabel(frame, QStringLiteral("Letter Space:"), {10, 23, 70, 16});
    LetterSpaceField = AddSpinField(frame, QStringLiteral("LetterSpaceField"), document::SpaceRange,
                                    {90, 20, 80, 20});
    AddLabel(frame, QStringLiteral("Padding:"), {10, 53, 70, 16});
    PaddingTopField = AddSpinField(frame, QStringLiteral("PaddingTopField"), document::SpaceRange,
                                   {90, 50, 50, 20});
    PaddingLeftField = AddSpinField(frame, QStringLiteral("PaddingLeftField"), document::SpaceRange,
                                    {65, 70, 50, 20});
    PaddingRightField = AddSpinField(frame, QStringLiteral("PaddingRightField"),
                                     document::SpaceRange, {115, 70, 50, 20});
    PaddingBottomField = AddSpinField(frame, QStringLiteral("PaddingBottomField"),
                                      document::SpaceRange, {90, 90, 50, 20});
    AddLabel(frame, QStringLiteral("max width:"), {10, 120, 70, 16});
    MaxWidthField = AddSpinField(frame, QStringLiteral("MaxWidthField"),
                                 document::MaxWidthOption.Range, {80, 120, 60, 20});

    Preview = new ImportPreviewCanvas(this);
    Preview->setGeometry(220, 70, PreviewWidth, PreviewHeight);

    CreateButton = new QPushButton(QStringLiteral("Create Typeface"), this);
    CreateButton->setObjectName(QStringLiteral("CreateTypefaceButton"));
    CreateButton->setGeometry(230, 350, 110, 25);
    AddLayoutFrame(*this);
    AddPagesChoice(*this);

    AddCharacterFrames(*this);
    Effects = new EffectsFrame(this);
    Effects->setGeometry(350, 10, 240, 300);
    AddFontFileFrame(*this);
    connect(LayoutList, &QComboBox::currentIndexChanged, this, &ImportWindow::ShowLayoutChoice);
    connect(FamilyList, &QComboBox::currentTextChanged, this, &ImportWindow::UseFamily);

    ShowOptions(fontimport::ImportOptions{});
    MakeScrollable(*this);
}

void ImportWindow::ShowLayoutChoice() {
    const bool compact = EntryValue(LayoutListEntries, LayoutList->currentIndex()) ==
                         fontimport::CellLayout::Compact;
    GutterField->setEnabled(compact);
    PowerOfTwoBox->setEnabled(compact);
    PagesList->setEnabled(compact);
}

void ImportWindow::UseFamily() {
    if (!fontFile_.isEmpty()) {
        ShowFaces({}, {});
    }
    ShowFamilyNote();
}

void ImportWindow::ShowFontFile(const QString& path,
                                const std::vector<fontimport::FileFace>& faces) {
    ShowFaces(path, faces);
    axes_.clear();
    ShowFamilyNote();
}

void ImportWindow::ShowFaces(const QString& path, const std::vector<fontimport::FileFace>& faces) {
    fontFile_ = path;
    const QSignalBlocker blocker(FaceList);
    FaceList->clear();
    for (const fontimport::FileFace& face : faces) {
        FaceList->addItem(
            QString::fromStdString(face.Name),
            QStringList{QString::number(face.FaceIndex), QString::fromStdString(face.Instance)});
    }
    FaceList->setEnabled(!path.isEmpty());
    FontFileName->setText(QFileInfo(path).fileName());
    FontFileName->setToolTip(path);
}

void ImportWindow::ShowFamilyNote() {
    if (!fontFile_.isEmpty()) {
        // A file the settings name but that is gone is said, not replaced by the family.
        familyNote_ = QFileInfo::exists(fontFile_)
                          ? QString()
                          : QStringLiteral("The font file \"%1\" is missing; choose it again with "
                                           "\"Font file...\" or pick a family.")
                                .arg(fontFile_);
        ShowImportReport(importReport_);
        return;
    }
    const std::string family = FamilyList->currentText().trimmed().toStdString();
    const std::optional<fontimport::FontFile> match =
        family.empty() ? std::nullopt : fontimport::MatchFontFile(family, 0);
    if (family.empty() || (match && match->ExactFamily)) {
        familyNote_.clear();
    } else if (match) {
        familyNote_ =
            QStringLiteral("\"%1\" is not installed; \"%2\" is used instead.")
                .arg(QString::fromStdString(family), QString::fromStdString(match->Family));
    } else {
        familyNote_ = QStringLiteral("\"%1\" is not installed, and no other font can stand in.")
                          .arg(QString::fromStdString(family));
    }
    ShowImportReport(importReport_);
}

void ImportWindow::ShowImportReport(const QString& report) {
    importReport_ = report;
    QStringList lines;
    for (const QString& line : {familyNote_, importReport_}) {
        if (!line.isEmpty()) {
            lines << line;
        }
    }
    StatusLine->setText(lines.join(u'\n'));
}

QString ImportReport(const document::Typeface& typeface, const std::vector<std::string>& leftOut) {
    const document::TypefaceContent& content = typeface.Content;
    const QString picture = content.Image ? QStringLiteral("a %1 × %2 picture")
                                                .arg(content.Image->Width)
                                                .arg(content.Image->Height)
                                          : QStringLiteral("no picture");
    QString report = QStringLiteral("Created %1 characters and %2 kerning pairs in %3.")
                         .arg(content.Characters.Size())
                         .arg(content.KerningPairs.Size())
                         .arg(picture);
    for (const std::string& line : leftOut) {
        report += u' ' + QString::fromStdString(line);
    }
    return report;
}

void ImportWindow::SetFamilies(const QStringList& families) {
    const QSignalBlocker blocker(FamilyList);
    const QString shown = FamilyList->currentText();
    FamilyList->clear();
    FamilyList->addItems(families);
    FamilyList->setCurrentText(shown);
}

void ImportWindow::ShowOptions(const fontimport::ImportOptions& options) {
    // Restoring is no user event: the preview stays as it is.
    const QList<QWidget*> controls{
        FamilyList,       SizeField,       HintList,         QualityList,       BoldBox,
        ItalicBox,        UnderlineBox,    HalfPixelBox,     CenterBox,         UnicodeBox,
        LetterSpaceField, PaddingTopField, PaddingLeftField, PaddingRightField, PaddingBottomField,
        MaxWidthField,    LayoutList,      GutterField,      PowerOfTwoBox,     PagesList};
    std::vector<std::unique_ptr<QSignalBlocker>> blockers;
    for (QWidget* control : controls) {
        blockers.push_back(std::make_unique<QSignalBlocker>(control));
    }
    const int familyIndex = FamilyList->findText(QString::fromStdString(options.Family));
    if (familyIndex >= 0) {
        FamilyList->setCurrentIndex(familyIndex);
    }
    // A family that is not installed still shows: the import falls back and says
    // so in the rasteriser, and the user sees what was asked for.
    FamilyList->setCurrentText(QString::fromStdString(options.Family));
    SizeField->setValue(ToInt(options.Size, document::SizeOption.Range));
    HintList->setCurrentIndex(EntryIndex(HintEntries, options.TextAntialiasMode));
    QualityList->setCurrentIndex(EntryIndex(QualityEntries, options.CompositingQuality));
    BoldBox->setChecked((options.Style & fontimport::StyleBold) != 0);
    ItalicBox->setChecked((options.Style & fontimport::StyleItalic) != 0);
    UnderlineBox->setChecked((options.Style & fontimport::StyleUnderline) != 0);
    HalfPixelBox->setChecked(options.HalfPixel);
    CenterBox->setChecked(options.Center);
    UnicodeBox->setChecked(options.Unicode);
    LetterSpaceField->setValue(ToInt(options.LetterSpace, document::SpaceRange));
    PaddingTopField->setValue(ToInt(options.PaddingTop, document::SpaceRange));
    PaddingBottomField->setValue(ToInt(options.PaddingBottom, document::SpaceRange));
    PaddingLeftField->setValue(ToInt(options.PaddingLeft, document::SpaceRange));
    PaddingRightField->setValue(ToInt(options.PaddingRight, document::SpaceRange));
    MaxWidthField->setValue(ToInt(options.MaxWidth, document::MaxWidthOption.Range));
    LayoutList->setCurrentIndex(EntryIndex(LayoutListEntries, options.Layout));
    GutterField->setValue(ToInt(options.Gutter, document::GutterOption.Range));
    PowerOfTwoBox->setChecked(options.PowerOfTwo);
    const QString pages =
        options.Pages ? QString::fromStdString(document::PageSizeText(*options.Pages)) : QString();
    if (PagesList->findData(pages) < 0) { // a size the settings hold but the list does not offer
        PagesList->addItem(QString(pages).replace(u'x', QStringLiteral(" × ")), pages);
    }
    PagesList->setCurrentIndex(PagesList->findData(pages));
    ShowLayoutChoice();
    CharactersField->setText(QString::fromStdString(options.Characters));
    FallbacksField->setText(QString::fromStdString(document::JoinFamilyList(options.Fallbacks)));
    Effects->Show(options.Effects);
    const QString file = QString::fromStdString(options.FontFile);
    ShowFaces(file, file.isEmpty()
                        ? std::vector<fontimport::FileFace>{}
                        : std::vector<fontimport::FileFace>{
                              {options.FaceIndex, options.Instance,
                               SavedFaceName(options.FaceIndex, options.Instance).toStdString()}});
    axes_ = options.Axes;
    ShowFamilyNote();
}

fontimport::ImportOptions ImportWindow::ReadOptions() const {
    fontimport::ImportOptions options;
    options.Family = FamilyList->currentText().toStdString();
    options.Size = SizeField->value();
    options.TextAntialiasMode = EntryValue(HintEntries, HintList->currentIndex());
    options.CompositingQuality = EntryValue(QualityEntries, QualityList->currentIndex());
    options.Style = (BoldBox->isChecked() ? fontimport::StyleBold : 0) +
                    (ItalicBox->isChecked() ? fontimport::StyleItalic : 0) +
                    (UnderlineBox->isChecked() ? fontimport::StyleUnderline : 0);
    options.HalfPixel = HalfPixelBox->isChecked();
    options.Center = CenterBox->isChecked();
    options.Unicode = UnicodeBox->isChecked();
    options.LetterSpace = LetterSpaceField->value();
    options.PaddingTop = PaddingTopField->value();
    options.PaddingBottom = PaddingBottomField->value();
    options.PaddingLeft = PaddingLeftField->value();
    options.PaddingRight = PaddingRightField->value();
    options.MaxWidth = MaxWidthField->value();
    options.Layout = EntryValue(LayoutListEntries, LayoutList->currentIndex());
    options.Gutter = GutterField->value();
    options.PowerOfTwo = PowerOfTwoBox->isChecked();
    options.Pages = document::ParsePageSize(PagesList->currentData().toString().toStdString());
    options.Characters = CharactersField->text().toStdString();
    options.Fallbacks = document::SplitFamilyList(FallbacksField->text().toStdString());
    options.Effects = Effects->Read();
    if (!fontFile_.isEmpty()) {
        const QStringList face = FaceList->currentData().toStringList();
        options.FontFile = fontFile_.toStdString();
        options.FaceIndex = face.value(0).toLongLong();
        options.Instance = face.value(1).toStdString();
        options.Axes = axes_;
    }
    return options;
}

void DrawImportPreview(ImportWindow& window, const platform::GraphicsLibrary& graphics) {
    std::optional<document::Image> canvas = document::MakeImage(PreviewWidth, PreviewHeight);
    if (!canvas) {
        return;
    }
    const QColor face = window.palette().color(QPalette::Button);
    const fontimport::ColourRGBA background = document::Rgba(
        static_cast<std::uint32_t>(face.red()), static_cast<std::uint32_t>(face.green()),
        static_cast<std::uint32_t>(face.blue()), 255);
    if (!fontimport::DrawImportPreview(graphics, *canvas, window.ReadOptions(), background)) {
        return;
    }
    ++window.PreviewDraws;
    const QImage wrapped(reinterpret_cast<const uchar*>(canvas->Pixels.data()),
                         static_cast<int>(canvas->Width), static_cast<int>(canvas->Height),
                         static_cast<qsizetype>(canvas->Width * 4), QImage::Format_RGBA8888);
    window.Preview->ShowPicture(wrapped.copy());
}

void FillFamilyList(ImportWindow& window) {
    std::vector<fontimport::FontFamilyEntry> families;
    if (!fontimport::EnumerateFontFamilies(1, families)) {
        return;
    }
    QStringList names;
    names.reserve(static_cast<qsizetype>(families.size()));
    for (const fontimport::FontFamilyEntry& family : families) {
        names << QString::fromStdString(family.Name);
    }
    window.SetFamilies(names);
}

} // namespace glyfora::app
