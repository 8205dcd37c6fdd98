#include "app/windows/FormDialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>

namespace glyfora::app {

QSpinBox* MakeFormField(const QString& name, int low, int high, int value) {
    auto* field = new QSpinBox;
    field->setObjectName(name);
    field->setRange(low, high);
    field->setValue(std::clamp(value, low, high));
    return field;
}

void AddOkCancelRow(QDialog& dialog, QFormLayout& form, QPushButton* ok) {
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(ok, QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    ok->setDefault(true);
    form.addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
}

} // namespace glyfora::app
