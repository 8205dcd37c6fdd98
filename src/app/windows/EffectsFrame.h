#pragma once

#include "document/ImportOptions.h"

#include <QGroupBox>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QSpinBox;

namespace glyfora::app {

class ColourButton;

// The import window's "Effects" frame: outline, shadow (or glow), fill colour or gradient, and
// the distance field that excludes them. Show and Read move the effects to and from the controls.
class EffectsFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit EffectsFrame(QWidget* parent);

    // Puts effects into the controls, clamped to their ranges, without reporting a change.
    void Show(const document::GlyphEffects& effects);
    [[nodiscard]] document::GlyphEffects Read() const;

    QDoubleSpinBox* OutlineWidthField = nullptr;
    ColourButton* OutlineColourButton = nullptr;
    QComboBox* OutlineJoinList = nullptr; // "Round", "Sharp"
    QCheckBox* ShadowBox = nullptr;
    QSpinBox* ShadowXField = nullptr;
    QSpinBox* ShadowYField = nullptr;
    QDoubleSpinBox* ShadowBlurField = nullptr;
    ColourButton* ShadowColourButton = nullptr;
    ColourButton* FillColourButton = nullptr;
    QCheckBox* GradientBox = nullptr;
    ColourButton* GradientTopButton = nullptr;
    ColourButton* GradientBottomButton = nullptr;
    QCheckBox* DistanceFieldBox = nullptr;
    QSpinBox* SpreadField = nullptr;

signals:
    // Any of the controls changed what the glyphs look like.
    void EffectsChanged();

private:
    void AddOutlineAndShadow();
    void AddFillAndField();
    // Greys out what does not apply: the shadow's values without a shadow, the gradient's colours
    // without a gradient, the fill's colour with one, the spread without a distance field.
    void ShowChoices();
};

} // namespace glyfora::app
