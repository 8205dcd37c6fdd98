#include "app/windows/ColourButton.h"

#include "document/ColourText.h"
#include "document/Pixel.h"

#include <QColor>
#include <QColorDialog>

namespace glyfora::app {

namespace {

QColor ToQColor(std::uint32_t colour) {
    return {static_cast<int>(document::Red(colour)), static_cast<int>(document::Green(colour)),
            static_cast<int>(document::Blue(colour)), static_cast<int>(document::Alpha(colour))};
}

std::uint32_t FromQColor(const QColor& colour) {
    return document::Rgba(
        static_cast<std::uint32_t>(colour.red()), static_cast<std::uint32_t>(colour.green()),
        static_cast<std::uint32_t>(colour.blue()), static_cast<std::uint32_t>(colour.alpha()));
}

} // namespace

ColourButton::ColourButton(const QString& title, QWidget* parent)
    : QPushButton(parent), title_(title) {
    SetColour(colour_);
    connect(this, &QPushButton::clicked, this, &ColourButton::Choose);
}

void ColourButton::SetColour(std::uint32_t colour) {
    colour_ = colour;
    const QColor shown = ToQColor(colour);
    setStyleSheet(QStringLiteral("background-color: rgba(%1, %2, %3, %4);")
                      .arg(shown.red())
                      .arg(shown.green())
                      .arg(shown.blue())
                      .arg(shown.alpha()));
    setToolTip(QString::fromStdString(document::HexColourText(colour)));
}

void ColourButton::Choose() {
    const QColor chosen =
        QColorDialog::getColor(ToQColor(colour_), this, title_, QColorDialog::ShowAlphaChannel);
    if (chosen.isValid()) {
        SetColour(FromQColor(chosen));
        emit ColourChanged();
    }
}

} // namespace glyfora::app
