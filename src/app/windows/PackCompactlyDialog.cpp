#include "app/windows/PackCompactlyDialog.h"

#include "app/windows/FormDialog.h"
#include "document/ImportOptions.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>

namespace glyfora::app {
namespace {

constexpr std::int64_t UsualTextureWidth = 4096;

QSpinBox* MakeRangeField(const QString& name, document::OptionRange range, std::int64_t value) {
    return MakeFormField(name, static_cast<int>(range.Min), static_cast<int>(range.Max),
                         static_cast<int>(std::clamp(value, range.Min, range.Max)));
}

} // namespace

PackCompactlyDialog::PackCompactlyDialog(const document::PackingRules& rules, QWidget* parent)
    : QDialog(parent), GutterField(MakeRangeField(QStringLiteral("PackGutterField"),
                                                  document::GutterOption.Range, rules.Gutter)),
      MaxWidthField(MakeRangeField(QStringLiteral("PackMaxWidthField"),
                                   document::MaxWidthOption.Range, rules.MaxWidth)),
      PowerOfTwoBox(new QCheckBox(QStringLiteral("Power of two"))),
      OkButton(new QPushButton(QStringLiteral("OK"))) {
    setObjectName(QStringLiteral("PackCompactlyDialog"));
    setWindowTitle(QStringLiteral("Pack compactly"));
    setMinimumWidth(260); // room for the whole title in the window manager's frame
    MaxWidthField->setSpecialValueText(QStringLiteral("near-square"));
    PowerOfTwoBox->setObjectName(QStringLiteral("PackPowerOfTwoBox"));
    PowerOfTwoBox->setChecked(rules.PowerOfTwo);
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Gutter:"), GutterField);
    form->addRow(QStringLiteral("max width:"), MaxWidthField);
    form->addRow(QString(), PowerOfTwoBox);
    // A typeface holds one picture; the page size gets its row here once it can hold several.
    AddOkCancelRow(*this, *form, OkButton);
}

document::PackingRules PackCompactlyDialog::Rules() const {
    document::PackingRules rules;
    rules.Gutter = GutterField->value();
    rules.MaxWidth = MaxWidthField->value();
    rules.PowerOfTwo = PowerOfTwoBox->isChecked();
    return rules;
}

document::PackingRules DefaultPackingRules(std::int64_t importedWidth) {
    document::PackingRules rules;
    rules.MaxWidth = importedWidth > 0 ? importedWidth : UsualTextureWidth;
    return rules;
}

} // namespace glyfora::app
