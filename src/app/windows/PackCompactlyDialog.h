#pragma once

#include "document/SkylinePacking.h"

#include <QDialog>

class QCheckBox;
class QPushButton;
class QSpinBox;

namespace glyfora::app {

// The modal "Pack compactly" question: the packing rules, as "glyfora-cli layout --compact" takes
// them (--gutter, --max-width, --power-of-two). A max width of 0 asks for a near-square picture.
class PackCompactlyDialog : public QDialog {
    Q_OBJECT

public:
    explicit PackCompactlyDialog(const document::PackingRules& rules, QWidget* parent = nullptr);

    [[nodiscard]] document::PackingRules Rules() const;

    QSpinBox* const GutterField;
    QSpinBox* const MaxWidthField;
    QCheckBox* const PowerOfTwoBox;
    QPushButton* const OkButton;
};

// The rules the dialog starts with: a 1-pixel gutter and the width the document was imported with
// in this run, or 4096 (what most GPUs take as a texture) for any other document.
[[nodiscard]] document::PackingRules DefaultPackingRules(std::int64_t importedWidth);

} // namespace glyfora::app
