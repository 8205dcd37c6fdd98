#include "app/windows/HexSpinBox.h"

namespace glyfora::app {

HexSpinBox::HexSpinBox(QWidget* parent) : QSpinBox(parent) {
    setDisplayIntegerBase(16);
}

QString HexSpinBox::textFromValue(int value) const {
    return QString::number(value, 16).toUpper();
}

} // namespace glyfora::app
