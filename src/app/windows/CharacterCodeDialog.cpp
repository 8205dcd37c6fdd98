#include "app/windows/CharacterCodeDialog.h"

#include "app/windows/GlyphSpinBox.h"
#include "app/windows/HexSpinBox.h"

#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

namespace glyfora::app {
namespace {

constexpr int LowestCode = 1;
constexpr int HighestCode = 0xFFFF;

QLabel* MakeLabel(const QString& text, QWidget* parent, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(x, y, 10, 16);
    return label;
}

QFont GlyphFont() {
    QFont font(QStringLiteral("Arial Unicode MS"), 18, QFont::Bold);
    font.setFamilies({QStringLiteral("Arial Unicode MS"), QStringLiteral("sans-serif")});
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace

CharacterCodeDialog::CharacterCodeDialog(std::int64_t code, QWidget* parent)
    : QDialog(parent), DecimalField(new QSpinBox), HexField(new HexSpinBox),
      GlyphField(new GlyphSpinBox), OkButton(new QPushButton(QStringLiteral("OK"), this)) {
    setWindowTitle(QStringLiteral("Character"));
    setFixedSize(200, 125);

    // Positions inside each frame are the window positions less the frame's corner (10, 10) or
    // (110, 10).
    auto* indexFrame = new QGroupBox(QStringLiteral("Index"), this);
    indexFrame->setGeometry(10, 10, 90, 70);
    DecimalField->setParent(indexFrame);
    DecimalField->setGeometry(10, 20, 60, 20);
    MakeLabel(QStringLiteral("d"), indexFrame, 70, 23);
    HexField->setParent(indexFrame);
    HexField->setGeometry(10, 40, 60, 20);
    MakeLabel(QStringLiteral("h"), indexFrame, 70, 43);

    auto* characterFrame = new QGroupBox(QStringLiteral("Character"), this);
    characterFrame->setGeometry(110, 10, 80, 70);
    GlyphField->setParent(characterFrame);
    GlyphField->setGeometry(10, 20, 60, 40);
    GlyphField->setFont(GlyphFont());

    OkButton->setGeometry(50, 90, 100, 25);
    OkButton->setDefault(true);

    const int start =
        code >= LowestCode && code <= HighestCode ? static_cast<int>(code) : FirstCode;
    for (QSpinBox* field :
         {DecimalField, static_cast<QSpinBox*>(HexField), static_cast<QSpinBox*>(GlyphField)}) {
        field->setRange(LowestCode, HighestCode);
        field->setValue(start);
        connect(field, &QSpinBox::valueChanged, this,
                [this, field](int value) { ShowCode(value, field); });
    }
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
}

std::int64_t CharacterCodeDialog::Code() const {
    return DecimalField->value();
}

std::int64_t CharacterCodeDialog::Ask(std::int64_t code) {
    CharacterCodeDialog dialog(code, QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted ? dialog.Code() : -1;
}

void CharacterCodeDialog::ShowCode(int value, const QSpinBox* source) {
    for (QSpinBox* field :
         {DecimalField, static_cast<QSpinBox*>(HexField), static_cast<QSpinBox*>(GlyphField)}) {
        if (field != source) {
            const QSignalBlocker blocker(field);
            field->setValue(value);
        }
    }
}

bool CharacterCodeDialog::eventFilter(QObject* watched, QEvent* event) {
    // Any window that closes while the question is open cancels it.
    if (event->type() == QEvent::Close && watched != this && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->isWindow()) {
        reject();
    }
    return QDialog::eventFilter(watched, event);
}

void CharacterCodeDialog::showEvent(QShowEvent* event) {
    qApp->installEventFilter(this);
    QDialog::showEvent(event);
}

void CharacterCodeDialog::hideEvent(QHideEvent* event) {
    qApp->removeEventFilter(this);
    QDialog::hideEvent(event);
}

} // namespace glyfora::app
