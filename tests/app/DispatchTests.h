#pragma once

#include <QObject>

namespace glyfora::app::testing {

class DispatchTests : public QObject {
    Q_OBJECT
private slots:
    void tableNamesExistingObjectsOfTheRightKind();
    void everyMenuCommandHasARow();
    void newAsksBeforeDiscardingChanges_data();
    void newAsksBeforeDiscardingChanges();
    void openDialogIsAskedAsDescribed();
    void openFailureKeepsDocumentAndTellsWhy();
    void partlyReadFileOpensWithItsWarnings();
    void saveOverAPartlyReadFileAsksFirst_data();
    void saveOverAPartlyReadFileAsksFirst();
    void saveWithoutUsablePathAsksForOne_data();
    void saveWithoutUsablePathAsksForOne();
    void saveTakesTheExtensionInAnyLetterCase();
    void saveOfAnUnchangedDocumentWritesNothing();
    void saveFailureKeepsPathAndTellsWhy();
    void saveAsAddsTheChosenExtensionAndOpensAgain();
    void saveAsXmlWritesTheDescriptionAndWarns();
    void bmFontSaveKeepsTheVariantItWasOpenedAs();
    void saveAfterNewNeverOverwritesTheOpenedFile();
    void saveChoiceInTheQuestionSavesFirst();
    void commentFieldWritesTheProperty();
    void closingMainWindowAsksAndEnds();
    void importWindowShowsAndHides();
    void toolWindowsWithoutCloseBoxStayOpen();
    void wheelZoomsCharacterViews_data();
    void wheelZoomsCharacterViews();
    void exampleRedrawsOnlyWhenItChanges();
    void exampleResizeKeepsTextFieldOnTop();
};

} // namespace glyfora::app::testing
