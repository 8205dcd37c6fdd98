#include "app/windows/AddImageDialog.h"

#include "app/windows/FormDialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>
#include <cstdint>
#include <limits>

namespace glyfora::app {
namespace {

// What a ".tf" record holds; the CLI takes the same numbers.
constexpr int LowestMetric = std::numeric_limits<std::int16_t>::min();
constexpr int HighestMetric = std::numeric_limits<std::int16_t>::max();

} // namespace

AddImageDialog::AddImageDialog(std::int64_t code, std::int64_t pictureWidth, QWidget* parent)
    : QDialog(parent),
      CodeField(MakeFormField(QStringLiteral("AddImageCodeField"), 0, 0xFFFF,
                              static_cast<int>(std::clamp<std::int64_t>(code, 0, 0xFFFF)))),
      CodeText(new QLabel), OffsetXField(MakeFormField(QStringLiteral("AddImageOffsetXField"),
                                                       LowestMetric, HighestMetric, 0)),
      OffsetYField(
          MakeFormField(QStringLiteral("AddImageOffsetYField"), LowestMetric, HighestMetric, 0)),
      AdvanceField(
          MakeFormField(QStringLiteral("AddImageAdvanceField"), 0, HighestMetric,
                        static_cast<int>(std::min<std::int64_t>(pictureWidth, HighestMetric)))),
      OkButton(new QPushButton(QStringLiteral("OK"))) {
    setObjectName(QStringLiteral("AddImageDialog"));
    setWindowTitle(QStringLiteral("Add Image"));
    CodeText->setObjectName(QStringLiteral("AddImageCodeText"));
    CodeText->setMinimumWidth(
        CodeText->fontMetrics().horizontalAdvance(QStringLiteral("U+WWWW W")));
    auto* codeRow = new QHBoxLayout;
    codeRow->addWidget(CodeField);
    codeRow->addWidget(CodeText);
    auto* offsetRow = new QHBoxLayout;
    offsetRow->addWidget(OffsetXField);
    offsetRow->addWidget(OffsetYField);

    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Code:"), codeRow);
    form->addRow(QStringLiteral("Offset X, Y:"), offsetRow);
    form->addRow(QStringLiteral("Advance:"), AdvanceField);
    AddOkCancelRow(*this, *form, OkButton);
    connect(CodeField, &QSpinBox::valueChanged, this, &AddImageDialog::ShowCodeText);
    ShowCodeText(CodeField->value());
    CodeField->selectAll();
}

std::int64_t AddImageDialog::Code() const {
    return CodeField->value();
}

document::ImagePlacement AddImageDialog::Placement() const {
    document::ImagePlacement placement;
    placement.OffsetX = OffsetXField->value();
    placement.OffsetY = OffsetYField->value();
    placement.Advance = AdvanceField->value();
    return placement;
}

void AddImageDialog::ShowCodeText(int code) {
    const QString hex = QStringLiteral("U+%1").arg(code, 4, 16, QLatin1Char('0')).toUpper();
    // A lone surrogate or a control character shows as nothing rather than as a broken glyph.
    const QChar character(static_cast<char16_t>(code));
    const bool printable = character.isPrint() && !character.isSurrogate();
    CodeText->setText(printable ? hex + u' ' + character : hex);
}

} // namespace glyfora::app
