#pragma once

#include <QSpinBox>

namespace glyfora::app {

// A spin field that shows its value in upper-case hexadecimal digits without prefix or leading
// zeros and reads typed digits (either case) as hexadecimal.
class HexSpinBox : public QSpinBox {
    Q_OBJECT

public:
    explicit HexSpinBox(QWidget* parent = nullptr);

protected:
    [[nodiscard]] QString textFromValue(int value) const override;
};

} // namespace glyfora::app
