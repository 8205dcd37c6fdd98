#pragma once

#include <QObject>

namespace glyfora::app::testing {

// The views on the real canvases: what they paint, how the mouse and the wheel drive them, and how
// the character and pair windows follow the view state.
class CanvasTests : public QObject {
    Q_OBJECT
private slots:
    void characterSetCanvasPaintsTheView();
    void characterSetWheelZoomsAndRedraws_data();
    void characterSetWheelZoomsAndRedraws();
    void middleDragPansWithMarkers();
    void leftDragMarksSelectionRightPressSetsCorner();
    void resizeRedrawsAtTheNewSize();
    void characterWindowFollowsTheCurrentCharacter();
    void kerningPairWindowFollowsTheCurrentPair();
    void characterWheelResizesBothWindows();
    void commandLineFileShowsItsPicture();
    void createTypefaceRedrawsEveryView();
    void exampleRepaintsOnChangeOnly();
    void exampleShowsTheTypefaceText();
    void exampleViewMenuScalesAndColoursTheBackground();
};

} // namespace glyfora::app::testing
