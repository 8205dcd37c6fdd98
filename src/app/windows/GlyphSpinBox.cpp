#include "app/windows/GlyphSpinBox.h"

#include <algorithm>

namespace glyfora::app {

GlyphSpinBox::GlyphSpinBox(QWidget* parent) : QSpinBox(parent) {
    setRange(0, 0xFFFF);
}

QString GlyphSpinBox::GlyphText(int code) {
    // Code 0 has no visible character; an empty text stands for it, as typing nothing gives 0.
    if (code <= 0 || code > 0xFFFF) {
        return {};
    }
    return QString(QChar(static_cast<char16_t>(code)));
}

QString GlyphSpinBox::textFromValue(int value) const {
    return GlyphText(value);
}

int GlyphSpinBox::valueFromText(const QString& text) const {
    return text.isEmpty() ? 0 : text.front().unicode();
}

QValidator::State GlyphSpinBox::validate(QString& input, int& position) const {
    if (input.size() > 1) {
        input.truncate(1);
        position = std::min(position, 1);
    }
    const int code = valueFromText(input);
    return code >= minimum() && code <= maximum() ? QValidator::Acceptable
                                                  : QValidator::Intermediate;
}

} // namespace glyfora::app
