#pragma once

#include "document/ImageCharacter.h"

#include <QDialog>
#include <cstdint>

class QLabel;
class QPushButton;
class QSpinBox;

namespace glyfora::app {

// The modal "Add Image" question: the character code a picture becomes, its drawing offset from
// the pen and its advance, as "glyfora-cli add-image" takes them (--code, --offset, --advance).
class AddImageDialog : public QDialog {
    Q_OBJECT

public:
    // Starts at code and at an advance of the picture's width, with no offset.
    AddImageDialog(std::int64_t code, std::int64_t pictureWidth, QWidget* parent = nullptr);

    [[nodiscard]] std::int64_t Code() const;
    // The offset and advance chosen; the gutter is the one "Add Image" always keeps.
    [[nodiscard]] document::ImagePlacement Placement() const;

    QSpinBox* const CodeField;
    QLabel* const CodeText; // the code in hexadecimal and the character itself
    QSpinBox* const OffsetXField;
    QSpinBox* const OffsetYField;
    QSpinBox* const AdvanceField;
    QPushButton* const OkButton;

private:
    void ShowCodeText(int code);
};

} // namespace glyfora::app
