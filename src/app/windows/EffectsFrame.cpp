#include "app/windows/EffectsFrame.h"

#include "app/windows/ColourButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace glyfora::app {

namespace {

void AddLabel(QWidget* frame, const QString& text, QRect geometry) {
    auto* label = new QLabel(text, frame);
    label->setGeometry(geometry);
    label->setWordWrap(true);
}

template <typename Widget> Widget* Add(QWidget* frame, const QString& name, QRect geometry) {
    auto* widget = new Widget(frame);
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    return widget;
}

QDoubleSpinBox* AddRealField(QWidget* frame, const QString& name, double max, QRect geometry) {
    auto* field = Add<QDoubleSpinBox>(frame, name, geometry);
    field->setRange(0.0, max);
    field->setDecimals(2);
    field->setSingleStep(0.5);
    return field;
}

QSpinBox* AddWholeField(QWidget* frame, const QString& name, std::int64_t min, std::int64_t max,
                        QRect geometry) {
    auto* field = Add<QSpinBox>(frame, name, geometry);
    field->setRange(static_cast<int>(min), static_cast<int>(max));
    return field;
}

ColourButton* AddColourButton(QWidget* frame, const QString& name, const QString& title,
                              QRect geometry) {
    auto* button = new ColourButton(title, frame);
    button->setObjectName(name);
    button->setGeometry(geometry);
    return button;
}

QCheckBox* AddCheckBox(QWidget* frame, const QString& name, const QString& text, QRect geometry) {
    auto* box = Add<QCheckBox>(frame, name, geometry);
    box->setText(text);
    return box;
}

} // namespace

EffectsFrame::EffectsFrame(QWidget* parent) : QGroupBox(QStringLiteral("Effects"), parent) {
    setObjectName(QStringLiteral("EffectsFrame"));
    AddOutlineAndShadow();
    AddFillAndField();
    for (QCheckBox* box : {ShadowBox, GradientBox, DistanceFieldBox}) {
        connect(box, &QCheckBox::toggled, this, &EffectsFrame::ShowChoices);
        connect(box, &QCheckBox::toggled, this, &EffectsFrame::EffectsChanged);
    }
    for (QDoubleSpinBox* field : {OutlineWidthField, ShadowBlurField}) {
        connect(field, &QDoubleSpinBox::valueChanged, this, &EffectsFrame::EffectsChanged);
    }
    for (QSpinBox* field : {ShadowXField, ShadowYField, SpreadField}) {
        connect(field, &QSpinBox::valueChanged, this, &EffectsFrame::EffectsChanged);
    }
    for (ColourButton* button : {OutlineColourButton, ShadowColourButton, FillColourButton,
                                 GradientTopButton, GradientBottomButton}) {
        connect(button, &ColourButton::ColourChanged, this, &EffectsFrame::EffectsChanged);
    }
    connect(OutlineJoinList, &QComboBox::currentIndexChanged, this, &EffectsFrame::EffectsChanged);
    Show({});
}

void EffectsFrame::AddOutlineAndShadow() {
    AddLabel(this, QStringLiteral("Outline:"), {10, 23, 50, 16});
    OutlineWidthField = AddRealField(this, QStringLiteral("OutlineWidthField"),
                                     document::OutlineWidthOption.Max, {60, 20, 55, 20});
    OutlineColourButton = AddColourButton(this, QStringLiteral("OutlineColourButton"),
                                          QStringLiteral("Outline colour"), {120, 19, 45, 22});
    OutlineJoinList = Add<QComboBox>(this, QStringLiteral("OutlineJoinList"), {170, 20, 60, 20});
    OutlineJoinList->addItems({QStringLiteral("Round"), QStringLiteral("Sharp")});

    ShadowBox =
        AddCheckBox(this, QStringLiteral("ShadowBox"), QStringLiteral("Shadow"), {10, 55, 100, 20});
    ShadowColourButton = AddColourButton(this, QStringLiteral("ShadowColourButton"),
                                         QStringLiteral("Shadow colour"), {120, 54, 45, 22});
    const document::OptionRange offset = document::ShadowOffsetRange;
    AddLabel(this, QStringLiteral("X:"), {10, 83, 15, 16});
    ShadowXField = AddWholeField(this, QStringLiteral("ShadowXField"), offset.Min, offset.Max,
                                 {25, 80, 45, 20});
    AddLabel(this, QStringLiteral("Y:"), {75, 83, 15, 16});
    ShadowYField = AddWholeField(this, QStringLiteral("ShadowYField"), offset.Min, offset.Max,
                                 {90, 80, 45, 20});
    AddLabel(this, QStringLiteral("Blur:"), {140, 83, 30, 16});
    ShadowBlurField = AddRealField(this, QStringLiteral("ShadowBlurField"),
                                   document::ShadowBlurOption.Max, {170, 80, 60, 20});
    AddLabel(this, QStringLiteral("A glow is a shadow with offset 0 and a blur."),
             {10, 105, 220, 30});
}

void EffectsFrame::AddFillAndField() {
    AddLabel(this, QStringLiteral("Fill:"), {10, 148, 50, 16});
    FillColourButton = AddColourButton(this, QStringLiteral("FillColourButton"),
                                       QStringLiteral("Fill colour"), {60, 144, 45, 22});
    GradientBox = AddCheckBox(this, QStringLiteral("GradientBox"), QStringLiteral("Gradient"),
                              {10, 175, 100, 20});
    AddLabel(this, QStringLiteral("Top:"), {10, 203, 35, 16});
    GradientTopButton = AddColourButton(this, QStringLiteral("GradientTopButton"),
                                        QStringLiteral("Gradient top"), {45, 199, 45, 22});
    AddLabel(this, QStringLiteral("Bottom:"), {100, 203, 45, 16});
    GradientBottomButton = AddColourButton(this, QStringLiteral("GradientBottomButton"),
                                           QStringLiteral("Gradient bottom"), {145, 199, 45, 22});

    DistanceFieldBox = AddCheckBox(this, QStringLiteral("DistanceFieldBox"),
                                   QStringLiteral("Distance field"), {10, 235, 100, 20});
    AddLabel(this, QStringLiteral("Spread:"), {120, 238, 40, 16});
    SpreadField =
        AddWholeField(this, QStringLiteral("SpreadField"), document::DistanceSpreadOption.Range.Min,
                      document::DistanceSpreadOption.Range.Max, {165, 235, 50, 20});
    AddLabel(this,
             QStringLiteral("Not with the effects above: engines draw outlines and glows from "
                            "the field."),
             {10, 260, 220, 30});
}

void EffectsFrame::ShowChoices() {
    const bool shadow = ShadowBox->isChecked();
    for (QWidget* control : std::initializer_list<QWidget*>{ShadowXField, ShadowYField,
                                                            ShadowBlurField, ShadowColourButton}) {
        control->setEnabled(shadow);
    }
    const bool gradient = GradientBox->isChecked();
    GradientTopButton->setEnabled(gradient);
    GradientBottomButton->setEnabled(gradient);
    FillColourButton->setEnabled(!gradient);
    SpreadField->setEnabled(DistanceFieldBox->isChecked());
}

void EffectsFrame::Show(const document::GlyphEffects& effects) {
    const QList<QWidget*> controls{OutlineWidthField, OutlineJoinList,  ShadowBox,
                                   ShadowXField,      ShadowYField,     ShadowBlurField,
                                   GradientBox,       DistanceFieldBox, SpreadField};
    std::vector<std::unique_ptr<QSignalBlocker>> blockers;
    for (QWidget* control : controls) {
        blockers.push_back(std::make_unique<QSignalBlocker>(control));
    }
    // Spin fields clamp what they are given to their ranges, whole ones only within int.
    const document::OptionRange offset = document::ShadowOffsetRange;
    OutlineWidthField->setValue(std::isnan(effects.OutlineWidth) ? 0.0 : effects.OutlineWidth);
    OutlineColourButton->SetColour(effects.OutlineColour);
    OutlineJoinList->setCurrentIndex(effects.Join == document::OutlineJoin::Sharp ? 1 : 0);
    ShadowBox->setChecked(effects.Shadow);
    ShadowXField->setValue(static_cast<int>(std::clamp(effects.ShadowX, offset.Min, offset.Max)));
    ShadowYField->setValue(static_cast<int>(std::clamp(effects.ShadowY, offset.Min, offset.Max)));
    ShadowBlurField->setValue(std::isnan(effects.ShadowBlur) ? 0.0 : effects.ShadowBlur);
    ShadowColourButton->SetColour(effects.ShadowColour);
    FillColourButton->SetColour(effects.FillColour);
    GradientBox->setChecked(effects.Gradient);
    GradientTopButton->SetColour(effects.GradientTop);
    GradientBottomButton->SetColour(effects.GradientBottom);
    DistanceFieldBox->setChecked(effects.DistanceField);
    const document::OptionRange spread = document::DistanceSpreadOption.Range;
    SpreadField->setValue(
        static_cast<int>(std::clamp(effects.DistanceSpread, spread.Min, spread.Max)));
    ShowChoices();
}

document::GlyphEffects EffectsFrame::Read() const {
    document::GlyphEffects effects;
    effects.OutlineWidth = OutlineWidthField->value();
    effects.OutlineColour = OutlineColourButton->Colour();
    effects.Join = OutlineJoinList->currentIndex() == 1 ? document::OutlineJoin::Sharp
                                                        : document::OutlineJoin::Round;
    effects.Shadow = ShadowBox->isChecked();
    effects.ShadowX = ShadowXField->value();
    effects.ShadowY = ShadowYField->value();
    effects.ShadowBlur = ShadowBlurField->value();
    effects.ShadowColour = ShadowColourButton->Colour();
    effects.FillColour = FillColourButton->Colour();
    effects.Gradient = GradientBox->isChecked();
    effects.GradientTop = GradientTopButton->Colour();
    effects.GradientBottom = GradientBottomButton->Colour();
    effects.DistanceField = DistanceFieldBox->isChecked();
    effects.DistanceSpread = SpreadField->value();
    return effects;
}

} // namespace glyfora::app
