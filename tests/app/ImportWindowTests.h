#pragma once

#include <QObject>

namespace glyfora::app::testing {

class ImportWindowTests : public QObject {
    Q_OBJECT
private slots:
    void framesHaveTheirCaptionsAndPlaces_data();
    void framesHaveTheirCaptionsAndPlaces();
    void numericFieldsHaveTheirRangesDefaultsAndPlaces_data();
    void numericFieldsHaveTheirRangesDefaultsAndPlaces();
    void checkBoxesAreLaidOutUnchecked();
    void renderingListsListTheirEntries();
    void familyListIsEditableAndHoldsTheInstalledFamilies();
    void previewAndButtonSitOutsideTheFrames();
    void gutterAndPowerOfTwoApplyOnlyToTheCompactLayout();
    void pagesChoiceSitsBesideTheButtonForTheCompactLayout();
    void importReportCountsWhatWasMade();
    void statusLineNamesTheFamilyThatStandsIn();
    void previewIsRedrawnByTheControlsThatChangeTheGlyphs_data();
    void previewIsRedrawnByTheControlsThatChangeTheGlyphs();
    void showingOrRestoringDoesNotRedrawThePreview();
    void previewShowsBlackTextOnButtonFace();
    void effectsFrameSitsRightOfTheOtherControls();
    void previewShowsTheOutline();
    void previewDiffersBetweenMonochromeAndAntialiasedHints();
    void optionsRoundTripThroughTheSettings_data();
    void optionsRoundTripThroughTheSettings();
    void restoredValuesAreClampedToTheControls();
    void layoutControlsMakeACompactTypeface();
    void createTypefaceInstallsTheImportedFont();
    void cancelledImportKeepsTheDocument();
    void unsavedChangesAreAskedAboutFirst();
    void failedImportShowsTheReasonAndKeepsTheDocument();
    void typefaceTooTallForTfIsImportedWithAWidthThatFits();
    void textFileCharactersAreAddedToTheList();
    void listedImportTakesTheListAndTellsWhatWasLeftOut();
    void fontFileListsItsFacesForTheImport_data();
    void fontFileListsItsFacesForTheImport();
    void choosingAFamilyGoesBackFromTheFontFile();
    void missingFontFileOfTheSettingsIsReported();
    void createTypefaceDrawsTheChosenFaceOfTheFile();
};

} // namespace glyfora::app::testing
