#pragma once

#include <QSpinBox>

namespace glyfora::app {

// A spin field whose text is the character of its value (one UTF-16 unit) rather than digits.
// Typing sets the value to the code of the first character and cuts the text down to it; an empty
// text means 0 where the range allows it. Steps show the next or previous character.
class GlyphSpinBox : public QSpinBox {
    Q_OBJECT

public:
    explicit GlyphSpinBox(QWidget* parent = nullptr);

    [[nodiscard]] static QString GlyphText(int code);

protected:
    [[nodiscard]] QString textFromValue(int value) const override;
    [[nodiscard]] int valueFromText(const QString& text) const override;
    [[nodiscard]] QValidator::State validate(QString& input, int& position) const override;
};

} // namespace glyfora::app
