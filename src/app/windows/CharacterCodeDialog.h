#pragma once

#include <QDialog>
#include <cstdint>

class QPushButton;
class QSpinBox;

namespace glyfora::app {

class GlyphSpinBox;
class HexSpinBox;

// The modal "Character" window that asks for a character code: the code in decimal and in
// hexadecimal and the character itself, three fields kept in step, and "OK".
class CharacterCodeDialog : public QDialog {
    Q_OBJECT

public:
    // The code shown first when the one passed in lies outside 1..65535 (the first use).
    static constexpr int FirstCode = 65;

    explicit CharacterCodeDialog(std::int64_t code, QWidget* parent = nullptr);

    // The decimal field's value.
    [[nodiscard]] std::int64_t Code() const;

    // Asks modally, owned by and centred on the active window when there is one, else centred on
    // the screen. The chosen code after "OK"; -1 when the dialog or any other window was closed.
    [[nodiscard]] static std::int64_t Ask(std::int64_t code);

    QSpinBox* const DecimalField;
    HexSpinBox* const HexField;
    GlyphSpinBox* const GlyphField;
    QPushButton* const OkButton;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Puts value into every field but source, without raising their change signals.
    void ShowCode(int value, const QSpinBox* source);
};

} // namespace glyfora::app
