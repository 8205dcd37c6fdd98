#pragma once

#include <QObject>

namespace glyfora::app::testing {

class LayoutCommandTests : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void copyCommandsFillLowerCase();
    void scalePromptIsAskedAsDescribedAndScales();
    void spacingPromptIsAskedAsDescribedAndSpaces();
    void closedPromptChangesNothingAndSaysNothing();
    void unreadableAnswerOrRefusalIsShown_data();
    void unreadableAnswerOrRefusalIsShown();
    void packCompactlyFollowsTheOtherCommands();
    void packCompactlyRefusalIsShown();
    void packCompactlyAsksForItsRulesAndReportsThePicture_data();
    void packCompactlyAsksForItsRulesAndReportsThePicture();
    void packCompactlyClosedChangesNothing();
};

class CharacterSetPictureTests : public QObject {
    Q_OBJECT
private slots:
    void importAsksAsDescribedAndReplacesThePicture();
    void importOfAnUnreadableFileKeepsThePicture();
    void cancelledImportForgetsThePath();
    void editWithoutPictureSaysSoAndStartsNothing();
    void editorSaveIsReloadedAndShown();
    void twoEditorsExportIntoFoldersOfTheirOwn();
    void addImageAsksForPictureAndCodeAndAddsTheCharacter();
    void addImageCancelledOrUnreadableChangesNothing_data();
    void addImageCancelledOrUnreadableChangesNothing();
};

} // namespace glyfora::app::testing
