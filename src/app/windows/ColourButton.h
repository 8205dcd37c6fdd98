#pragma once

#include <QPushButton>
#include <QString>
#include <cstdint>

namespace glyfora::app {

// A button that shows a colour (with its opacity) and, when pressed, lets the user choose
// another in a colour dialog. Colours are the pictures' 0xAABBGGRR.
class ColourButton : public QPushButton {
    Q_OBJECT
public:
    // title: the colour dialog's title ("Outline colour").
    ColourButton(const QString& title, QWidget* parent);

    // Shows colour without reporting a change.
    void SetColour(std::uint32_t colour);
    [[nodiscard]] std::uint32_t Colour() const { return colour_; }

signals:
    // The user chose a colour in the dialog.
    void ColourChanged();

private:
    void Choose();

    QString title_;
    std::uint32_t colour_ = 0xFF000000;
};

} // namespace glyfora::app
