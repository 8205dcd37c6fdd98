#pragma once

#include "document/Typeface.h"
#include "import/FontFiles.h"
#include "import/ImportOptions.h"

#include <QImage>
#include <QStringList>
#include <QWidget>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace glyfora::platform {
struct GraphicsLibrary;
}

namespace glyfora::app {

class EffectsFrame;

// The preview of the import window: shows the last picture drawn into it, blank
// before that.
class ImportPreviewCanvas : public QWidget {
    Q_OBJECT
public:
    explicit ImportPreviewCanvas(QWidget* parent = nullptr);

    void ShowPicture(QImage picture);
    [[nodiscard]] const QImage& Picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

// The entries of the two rendering lists, in list order.
[[nodiscard]] QStringList TextAntialiasModeEntries();
[[nodiscard]] QStringList CompositingQualityEntries();

// "Import TTF": the font-import options and "Create Typeface". Closing it only
// hides it. The options live in the controls; ReadOptions and ShowOptions move
// them to and from the record.
class ImportWindow : public QWidget {
    Q_OBJECT
public:
    explicit ImportWindow(QWidget* mainWindow);

    // Replaces the family list's entries, keeping the text it shows.
    void SetFamilies(const QStringList& families);

    // Puts options into the controls without any control reporting a change (no
    // preview redraw). Values outside a control's range are clamped to it.
    void ShowOptions(const fontimport::ImportOptions& options);
    [[nodiscard]] fontimport::ImportOptions ReadOptions() const;

    QComboBox* FamilyList = nullptr;
    QSpinBox* SizeField = nullptr;
    QComboBox* HintList = nullptr;
    QComboBox* QualityList = nullptr;
    QCheckBox* BoldBox = nullptr;
    QCheckBox* ItalicBox = nullptr;
    QCheckBox* UnderlineBox = nullptr;
    QCheckBox* HalfPixelBox = nullptr;
    QCheckBox* CenterBox = nullptr;
    QCheckBox* UnicodeBox = nullptr;
    QSpinBox* LetterSpaceField = nullptr;
    QSpinBox* PaddingTopField = nullptr;
    QSpinBox* PaddingLeftField = nullptr;
    QSpinBox* PaddingRightField = nullptr;
    QSpinBox* PaddingBottomField = nullptr;
    QSpinBox* MaxWidthField = nullptr;
    QComboBox* LayoutList = nullptr; // "Rows", "Compact"
    QSpinBox* GutterField = nullptr;
    QCheckBox* PowerOfTwoBox = nullptr;
    QComboBox* PagesList = nullptr; // "None" or a square page size; for the compact layout
    ImportPreviewCanvas* Preview = nullptr;
    QPushButton* CreateButton = nullptr;
    QLineEdit* CharactersField = nullptr; // a character list; when it names codes, not Unicode
    QPushButton* AddTextFileButton = nullptr;
    QLineEdit* FallbacksField = nullptr; // families separated by commas
    EffectsFrame* Effects = nullptr;     // right of the other controls
    QPushButton* FontFileButton = nullptr;
    QLabel* FontFileName = nullptr; // the chosen font file's name; empty while a family is used
    QComboBox* FaceList = nullptr;  // the chosen file's faces and named instances
    // Below everything: whether the family is installed, and what the last import made.
    QLabel* StatusLine = nullptr;
    int PreviewDraws = 0; // how often the preview was drawn (tests count redraws)

    // Says in the status line what the last "Create Typeface" made (empty: nothing yet).
    void ShowImportReport(const QString& report);

    // Uses the font file at path instead of the family, listing its faces; the first is chosen.
    void ShowFontFile(const QString& path, const std::vector<fontimport::FileFace>& faces);

private:
    // Choosing a family goes back from a font file to the family list.
    void UseFamily();
    // The file's and face's controls for the file in use (none: the family is used).
    void ShowFaces(const QString& path, const std::vector<fontimport::FileFace>& faces);
    // The family's line of the status: which family draws when the chosen one is not installed.
    void ShowFamilyNote();
    // "Gutter" and "Power of two" only apply to the compact layout.
    void ShowLayoutChoice();

    QString fontFile_;              // empty: the family list names the font
    std::vector<std::string> axes_; // the axis values the settings gave for the file
    QString familyNote_;
    QString importReport_;
};

// What "Create Typeface" made, for the status line: characters, kerning pairs, the picture's size
// and, when codes were left out, what the import said about them.
[[nodiscard]] QString ImportReport(const document::Typeface& typeface,
                                   const std::vector<std::string>& leftOut);

// Draws "ABC" and "abc" with the window's current options on the button-face
// colour into the preview. Nothing changes when the text rasteriser is not
// ready.
void DrawImportPreview(ImportWindow& window, const platform::GraphicsLibrary& graphics);

// The entries of the layout list, in the order of fontimport::CellLayout.
[[nodiscard]] QStringList LayoutEntries();

// Fills the family list once from the installed families, sorted by name; the
// list stays empty when they cannot be listed.
void FillFamilyList(ImportWindow& window);

} // namespace glyfora::app
